// The program's number conversions against a model built another way: the C library's own
// strtoll and strtod in the "C" locale, fed only what the program's rules accept, namely
// decimal numbers (no hexadecimal, no "inf" or "nan"). Integers must agree exactly, after the
// 32-bit saturation; doubles bit for bit, the sign of zero included.

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "editor/number_text.h"
#include "fuzz/fuzz_support.h"

namespace {

// isspace of the "C" locale, which is also where strtoll and strtod stop skipping.
bool IsCSpace(char c) {
    return std::strchr(" \t\n\v\f\r", c) != nullptr && c != '\0';
}

std::int32_t IntegerModel(const std::string& text) {
    const long long value = std::strtoll(text.c_str(), nullptr, 10);
    return value > INT32_MAX   ? INT32_MAX
           : value < INT32_MIN ? INT32_MIN
                               : static_cast<std::int32_t>(value);
}

double DoubleModel(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && IsCSpace(text[i])) {
        ++i;
    }
    const std::size_t signAt = i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    const bool negative = signAt < i && text[signAt] == '-';
    auto digitAt = [&](std::size_t k) {
        return k < text.size() && text[k] >= '0' && text[k] <= '9';
    };
    // Only a digit, or a point and a digit, start a decimal number; anything else is no number,
    // which converts to 0.
    if (!digitAt(i) && !(i < text.size() && text[i] == '.' && digitAt(i + 1))) {
        return 0.0;
    }
    // "0x..." would be hexadecimal to strtod; the rules read the "0" and stop at the "x".
    if (text[i] == '0' && i + 1 < text.size() && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        return negative ? -0.0 : 0.0;
    }
    // From here strtod's own grammar finds the longest decimal number and rounds it.
    return std::strtod(text.c_str(), nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    // The C functions stop at a zero byte; so do the program's, at the first non-number byte.
    const std::string cText(text.c_str());
    if (ParseInt(text) != IntegerModel(cText) || ParseLong(text) != IntegerModel(cText)) {
        fuzz::Fail("integer of \"" + text + "\" is not the model's");
    }
    const double parsed = ParseDouble(text);
    const double model = DoubleModel(cText);
    if (std::memcmp(&parsed, &model, sizeof parsed) != 0) {
        char message[160];
        std::snprintf(message, sizeof message, "%a, the model %a", parsed, model);
        fuzz::Fail("double of \"" + text + "\": " + message);
    }
    return 0;
}
