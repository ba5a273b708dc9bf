#pragma once
// Number texts as a spreadsheet shows them in the General format, fitted into
// the width of their column.
#include <string>
#include <string_view>

namespace tabrion {

// No column to fit into: General still shows at most 11 characters.
inline constexpr int kAnyWidth = -1;

// General: up to 15 significant digits and at most 11 characters besides the
// sign, with as many decimals as fit into textPixels (the width that a cell of
// the column holds); a number whose integer digits do not fit, or a small one
// whose decimals do not all fit, turns scientific with as many mantissa digits
// as fit ("1.23457E+11"); where not even "1E+11" fits, '#' fills the column.
std::string GeneralNumberText(double value, int textPixels = kAnyWidth);

// What a cell shows when its number does not fit: '#' across the column
// ("########" in a standard one, also when the width is not known).
std::string HashFill(int textPixels);

// Width of a number text in pixels of the default font.
int NumberTextPixels(std::string_view text);

// The decimal digits of value (>= 0) rounded half away from zero to 'places'
// decimals, after rounding to the 15 significant digits a spreadsheet keeps:
// the integer digits without leading zeros (empty for 0) and the fraction.
void DecimalDigits(double value, int places, std::string& integer, std::string& fraction);

}  // namespace tabrion
