#include "libs/tabrion/CellText.h"

#include <cmath>

#include "platform/NumberText.h"

namespace tabrion {

std::string GeneralNumberText(double value) {
  if (!std::isfinite(value)) return "#NUM!";
  if (value == 0) return "0";  // not "-0"
  // %G keeps exponents of at least two digits, as the spreadsheet shows them.
  return platform::FormatC("%.15G", value);
}

}  // namespace tabrion
