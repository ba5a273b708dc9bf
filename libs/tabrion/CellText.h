#pragma once
// Number texts as a spreadsheet shows them in the General format.
#include <string>

namespace tabrion {

// 15 significant digits, no trailing zeros, upper-case exponent ("1E+20").
std::string GeneralNumberText(double value);

}  // namespace tabrion
