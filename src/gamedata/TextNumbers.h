#pragma once

#include <string_view>

// Numbers read from the front of a text the way the C library's atof and atoi
// read them, but independent of the locale: leading white space is skipped,
// the longest numeric prefix taken, and 0 returned when there is none.
namespace TextNumbers
{

double LeadingNumber(std::string_view text);

// Decimal integer; values beyond the int range are clamped to it.
int LeadingInt(std::string_view text);

} // namespace TextNumbers
