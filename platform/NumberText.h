#pragma once
// Numbers as text in the C locale, whatever the process locale is. Every
// writer and reader of files, settings and protocol text goes through here.
#include <string>
#include <string_view>

namespace platform {

// printf-style formatting with the "C" numeric locale (decimal point '.').
std::string FormatC(const char* format, ...) __attribute__((format(printf, 1, 2)));

// strtod/strtol in the "C" locale. Leading white space is skipped; parsing stops
// at the first character that does not belong to the number, like atof/atoi.
// ok (when given) is set to whether any digits were read.
double ParseDoubleC(std::string_view text, bool* ok = nullptr);
long long ParseIntC(std::string_view text, bool* ok = nullptr);

}  // namespace platform
