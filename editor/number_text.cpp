#include "editor/number_text.h"

#include <algorithm>
#include <charconv>
#include <clocale>
#include <cstdarg>
#include <cstdio>
#include <cstring>
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

// One conversion of a format, printed on its own.
template <class Value>
void Append(std::string& text, const std::string& conversion, Value value) {
    constexpr int kGuess = 64;
    const std::size_t at = text.size();
    text.resize(at + kGuess);
    const int length = std::max(std::snprintf(&text[at], kGuess, conversion.c_str(), value), 0);
    text.resize(at + length);
    if (length >= kGuess) {
        std::snprintf(&text[at], length + 1, conversion.c_str(), value);  // onto the terminator
    }
}

// printf puts the locale's decimal point into a number, and a toolkit may have set the user's
// locale (QApplication does, from the environment), a German one with a comma. The program's
// texts have a full stop in every locale.
void AppendNumber(std::string& text, const std::string& conversion, double value) {
    const std::size_t at = text.size();
    Append(text, conversion, value);
    const std::string_view point = std::localeconv()->decimal_point;
    const std::size_t found = text.find(point, at);
    if (point != "." && found != std::string::npos) {
        text[found] = '.';
        text.erase(found + 1, point.size() - 1);
    }
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
    va_list args;
    va_start(args, format);
    std::string text;
    text.reserve(128);  // most texts fit, so they grow without moving
    for (const char* at = format; *at != '\0';) {
        if (*at != '%') {
            text += *at++;
            continue;
        }
        const char* letter = at + 1 + std::strcspn(at + 1, "%csdiouxXeEfFgGaA");
        if (*letter == '\0') {
            break;
        }
        const std::string conversion(at, letter + 1);
        at = letter + 1;
        if (*letter == '%') {
            text += '%';
        } else if (*letter == 's') {
            Append(text, conversion, va_arg(args, const char*));
        } else if (std::strchr("cdi", *letter) != nullptr) {
            Append(text, conversion, va_arg(args, int));
        } else if (std::strchr("ouxX", *letter) != nullptr) {
            Append(text, conversion, va_arg(args, unsigned));
        } else {
            AppendNumber(text, conversion, va_arg(args, double));
        }
    }
    va_end(args);
    return text;
}
