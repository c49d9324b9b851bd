#include "editor/number_text.h"

#include <algorithm>
#include <charconv>
#include <cstdarg>
#include <cstdio>
#include <limits>

namespace {

bool IsSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Skips leading white space and takes the sign; returns true for a minus.
bool TakeSign(std::string_view& text) {
    std::size_t i = 0;
    while (i < text.size() && IsSpace(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    text.remove_prefix(i);
    return negative;
}

std::size_t CountDigits(std::string_view text, std::size_t from) {
    std::size_t i = from;
    while (i < text.size() && IsDigit(text[i])) {
        ++i;
    }
    return i - from;
}

// The power of ten of a decimal number's first nonzero digit, its exponent included, saturated
// far beyond any double's range. Only called for numbers with a nonzero digit.
long long DecimalMagnitude(std::string_view number, std::size_t intDigits, std::size_t fracDigits) {
    constexpr long long kFar = 1'000'000'000;
    long long magnitude = 0;
    const std::size_t intFirst = number.find_first_not_of('0');
    if (intFirst < intDigits) {
        magnitude = static_cast<long long>(intDigits - intFirst) - 1;
    } else {
        const std::size_t fracFirst =
            number.substr(intDigits + 1, fracDigits).find_first_not_of('0');
        if (fracFirst == std::string_view::npos) {
            return -kFar;  // all zeros
        }
        magnitude = -static_cast<long long>(fracFirst) - 1;
    }
    const std::size_t ePos = number.find_first_of("eE");
    if (ePos != std::string_view::npos) {
        std::size_t i = ePos + 1;
        const bool negative = number[i] == '-';
        i += number[i] == '-' || number[i] == '+';
        long long exponent = 0;
        for (; i < number.size(); ++i) {
            exponent = std::min(exponent * 10 + (number[i] - '0'), kFar);
        }
        magnitude += negative ? -exponent : exponent;
    }
    return magnitude;
}

}  // namespace

std::int32_t ParseInt(std::string_view text) {
    const bool negative = TakeSign(text);
    std::int64_t value = 0;
    constexpr std::int64_t kLimit = std::int64_t{1} << 31;
    for (char c : text) {
        if (!IsDigit(c)) {
            break;
        }
        value = value * 10 + (c - '0');
        if (value > kLimit) {
            value = kLimit;  // saturate, as the runtime does on overflow
        }
    }
    value = negative ? -value : value;
    if (value > std::numeric_limits<std::int32_t>::max()) {
        value = std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(value);
}

std::int32_t ParseLong(std::string_view text) {
    return ParseInt(text);
}

double ParseDouble(std::string_view text) {
    const bool negative = TakeSign(text);
    const std::size_t intDigits = CountDigits(text, 0);
    std::size_t end = intDigits;
    std::size_t fracDigits = 0;
    if (end < text.size() && text[end] == '.') {
        fracDigits = CountDigits(text, end + 1);
        if (intDigits + fracDigits > 0) {
            end += 1 + fracDigits;
        }
    }
    if (intDigits + fracDigits == 0) {
        return 0.0;  // no number: the sign alone converts nothing, so not even to -0.0
    }
    // An exponent counts only with at least one digit.
    if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
        std::size_t e = end + 1;
        if (e < text.size() && (text[e] == '+' || text[e] == '-')) {
            ++e;
        }
        const std::size_t expDigits = CountDigits(text, e);
        if (expDigits > 0) {
            end = e + expDigits;
        }
    }
    const std::string_view number = text.substr(0, end);
    double value = 0.0;
    const auto [ptr, ec] = std::from_chars(number.data(), number.data() + number.size(), value,
                                           std::chars_format::general);
    (void)ptr;
    if (ec == std::errc::result_out_of_range) {
        // Too large or too small for a double: the runtime gives HUGE_VAL or 0. The number's
        // decimal magnitude tells which, not the exponent's sign: 0.000...1e5 is tiny.
        value = DecimalMagnitude(number, intDigits, fracDigits) >= 0
                    ? std::numeric_limits<double>::infinity()
                    : 0.0;
    }
    return negative ? -value : value;
}

std::string Format(const char* format, ...) {
    char small[128];
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(small, sizeof small, format, args);
    va_end(args);
    std::string result;
    if (length < 0) {
        va_end(again);
        return result;
    }
    if (static_cast<std::size_t>(length) < sizeof small) {
        result.assign(small, static_cast<std::size_t>(length));
    } else {
        result.resize(static_cast<std::size_t>(length) + 1);
        std::vsnprintf(result.data(), result.size(), format, again);
        result.resize(static_cast<std::size_t>(length));
    }
    va_end(again);
    return result;
}
