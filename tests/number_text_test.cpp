// Typed numbers and the program's texts do not depend on the locale: the Qt window runs in the
// user's, whose decimal point may not be a full stop. CTest runs these again in the locales
// that TORVEX_TEST_LOCALE names, German and Pashto. How the conversions follow the C library is for
// the number fuzzer, which compares them with strtoll and strtod on arbitrary texts.

#include "editor/number_text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

// A locale named but not made fails here rather than pass in "C".
class NumberText : public ::testing::Test {
    void SetUp() override {
        if (const char* name = std::getenv("TORVEX_TEST_LOCALE")) {
            ASSERT_NE(std::setlocale(LC_ALL, name), nullptr) << name;
            EXPECT_STRNE(std::localeconv()->decimal_point, ".") << name;
        }
    }
};

TEST_F(NumberText, ReadsAndWritesAFullStopInEveryLocale) {
    const std::pair<const char*, double> cases[] = {
        {"0.1", 0.1}, {"  +1.25x", 1.25}, {"2E-2", 0.02}, {"12,5", 12.0}, {"0x10", 0.0},
        {"inf", 0.0}, {"1e", 1.0},        {"-.e1", 0.0},  {".5", 0.5},    {"-.25", -0.25},
    };
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(ParseDouble(text), value) << '"' << text << '"';
    }
    EXPECT_EQ(ParseInt("  -2147483649"), -2147483647 - 1);
    EXPECT_EQ(ParseLong("12abc"), 12);
    EXPECT_EQ(Format("%s: %f", "2,5", -2.5), "2,5: -2.500000");  // only the number's point
    const std::string longest = Format("Unknown %d: %f", 35, 1e300);
    EXPECT_EQ(longest.size(), std::strlen("Unknown 35: ") + 301 + 7);  // past any small buffer
}

// Found by the number fuzzer: a sign without a number gave -0.0, whose bytes differ from the
// runtime's 0.0, and a tiny number with a positive exponent overflowed instead of vanishing.
TEST_F(NumberText, ZeroHasNoSignWithoutANumberAndTinyNumbersVanish) {
    for (const char* text : {"-", "-x", " -\n"}) {
        EXPECT_FALSE(std::signbit(ParseDouble(text))) << '"' << text << '"';
    }
    EXPECT_EQ(ParseDouble("0." + std::string(400, '0') + "1e5"), 0.0);
    EXPECT_TRUE(std::isinf(ParseDouble("0.001e99999999999999999999")));
}

}  // namespace
