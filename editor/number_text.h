#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The program's own number conversions and formats. Typed numbers follow the runtime's
// atoi/atol/atof rules: leading white space, an optional sign, the longest decimal number,
// the rest ignored, 0 when there is none. Decimal only: no hexadecimal, no "inf" or "nan".

std::int32_t ParseInt(std::string_view text);   // atoi; saturates outside 32 bits
std::int32_t ParseLong(std::string_view text);  // atol; the same on this program's platforms
double ParseDouble(std::string_view text);      // atof; ±HUGE_VAL on overflow

// printf into a string of any length, in the C locale's terms whatever locale the process has:
// the same text in every locale. Arguments are int, unsigned, double and text only, so no
// length modifiers and no "*".
std::string Format(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;
