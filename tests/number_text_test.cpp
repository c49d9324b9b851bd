#include "editor/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <string>

#include "tests/support/user_locale.h"

namespace {

// The program's texts and typed numbers do not depend on the locale: the Qt window runs in the
// user's, whose decimal point may not be a full stop.
void InEveryLocale(const std::function<void()>& checks) {
    {
        SCOPED_TRACE("C locale");
        checks();
    }
    for (const char* name : {testing_support::kGermanLocale, testing_support::kPashtoLocale}) {
        SCOPED_TRACE(name);
        testing_support::UserLocale locale(name);
        checks();
    }
}

TEST(NumberText, IntegersFollowTheRuntimesRules) {
    const std::pair<const char*, std::int32_t> cases[] = {
        {"24", 24},
        {"-1", -1},
        {"+7", 7},
        {"  \t\n42", 42},
        {"12abc", 12},
        {"abc", 0},
        {"", 0},
        {"-", 0},
        {"+-3", 0},
        {"0x1F", 0},
        {"1e3", 1},
        {"3.9", 3},
        {" - 4", 0},
        {"2147483648", 2147483647},
        {"-99999999999", -2147483647 - 1},
    };
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(ParseInt(text), value) << '"' << text << '"';
        EXPECT_EQ(ParseLong(text), value) << '"' << text << '"';
    }
}

TEST(NumberText, FloatsFollowTheRuntimesRulesDecimalOnly) {
    const std::pair<const char*, double> cases[] = {
        {"0.1", 0.1},       {"1e3", 1000.0}, {"-2.5", -2.5},  {".5", 0.5},    {"5.", 5.0},
        {"  +1.25x", 1.25}, {"1e", 1.0},     {"1e+", 1.0},    {"2E-2", 0.02}, {"abc", 0.0},
        {"", 0.0},          {".", 0.0},      {"-.e1", 0.0},   {"0x10", 0.0},  {"inf", 0.0},
        {"nan", 0.0},       {"12,5", 12.0},  {"1e-400", 0.0},
    };
    InEveryLocale([&] {
        for (const auto& [text, value] : cases) {
            EXPECT_EQ(ParseDouble(text), value) << '"' << text << '"';
        }
    });
    EXPECT_TRUE(std::isinf(ParseDouble("1e999")));
    EXPECT_LT(ParseDouble("-1e999"), 0.0);
    EXPECT_TRUE(std::signbit(ParseDouble("-0")));
}

// Found by the number fuzzer: a sign without a number gave -0.0, whose bytes differ from the
// runtime's 0.0, and a tiny number with a positive exponent overflowed instead of vanishing.
TEST(NumberText, ZeroHasNoSignWithoutANumberAndTinyNumbersVanish) {
    for (const char* text : {"-", "-x", "-.", "-e5", " -\n"}) {
        EXPECT_FALSE(std::signbit(ParseDouble(text))) << '"' << text << '"';
    }
    const std::string tiny = "0." + std::string(400, '0') + "1";
    EXPECT_EQ(ParseDouble(tiny), 0.0);
    EXPECT_EQ(ParseDouble(tiny + "e5"), 0.0);
    EXPECT_EQ(ParseDouble("-" + tiny + "e-5"), 0.0);
    EXPECT_TRUE(std::isinf(ParseDouble("0.001e99999999999999999999")));
    EXPECT_TRUE(std::isinf(ParseDouble(std::string(400, '9'))));
}

TEST(NumberText, FormatsAsPrintfDoesInTheCLocale) {
    InEveryLocale([] {
        EXPECT_EQ(Format("%X", 0xE26100EDu), "E26100ED");
        EXPECT_EQ(Format("%s: %f", "2,5", -2.5), "2,5: -2.500000");  // only the number's point
        EXPECT_EQ(Format("Unknown %d: %d", 3, -2147483647 - 1), "Unknown 3: -2147483648");
        const std::string longest = Format("Unknown %d: %f", 35, 1e300);
        EXPECT_EQ(longest.size(), std::strlen("Unknown 35: ") + 301 + 7);  // past any small buffer
    });
}

}  // namespace
