#include "editor/number_text.h"

#include <algorithm>
#include <charconv>
#include <clocale>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <limits>
#ifndef _WIN32
#include <locale.h>
#endif

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

// from_chars rounds correctly on every platform and reads no locale. Out of range it says only
// that, and the runtime gives HUGE_VAL or 0 there, which strtod tells: it reads the locale's
// decimal point, but the number holds nothing else, so its full stop can become that point.
double DecimalToDouble(std::string_view number) {
    double value = 0.0;
    if (std::from_chars(number.data(), number.data() + number.size(), value).ec == std::errc()) {
        return value;
    }
    std::string text(number);
    const std::size_t point = text.find('.');
    if (point != std::string::npos) {
        text.replace(point, 1, std::localeconv()->decimal_point);
    }
    return std::strtod(text.c_str(), nullptr);
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
    const double value = DecimalToDouble(text.substr(0, end));  // HUGE_VAL or 0 out of range
    return negative ? -value : value;
}

std::string Format(const char* format, ...) {
    // printf puts the locale's decimal point into a number, and the program's texts have a full
    // stop in every locale: print in the C locale whatever the process's is.
#ifndef _WIN32
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t{});
    const locale_t userLocale = uselocale(cLocale);
#endif
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    char buffer[256];  // a tree item's text fits, so most texts are printed once
    const int length = std::max(std::vsnprintf(buffer, sizeof buffer, format, args), 0);
    std::string text(buffer, std::min<std::size_t>(length, sizeof buffer - 1));
    if (static_cast<std::size_t>(length) >= sizeof buffer) {
        text.resize(length);
        std::vsnprintf(text.data(), text.size() + 1, format, again);  // onto the terminator
    }
    va_end(again);
    va_end(args);
#ifndef _WIN32
    uselocale(userLocale);
#endif
    return text;
}
