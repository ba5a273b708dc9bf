#include "text/exchange/hpgl/PltToken.h"

#include <cmath>

#include "platform/NumberText.h"

namespace {

// Plot coordinates are almost always plain integers; those up to 15 digits
// convert exactly without the general parser.
bool ParsePlainInteger(const std::string& text, double& value) {
  const bool sign = !text.empty() && (text[0] == '-' || text[0] == '+');
  std::size_t i = sign ? 1 : 0;
  const std::size_t digits = text.size() - i;
  if (digits == 0 || digits > 15) return false;
  long long v = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
  }
  value = text[0] == '-' ? -static_cast<double>(v) : static_cast<double>(v);
  return true;
}

}  // namespace

double ParsePltValue(const std::string& text) {
  double value = 0;
  if (ParsePlainInteger(text, value)) return value;
  return platform::ParseDoubleC(text);
}

bool ParsePltNumber(const std::string& text, double& value) {
  if (ParsePlainInteger(text, value)) return true;
  bool ok = false;
  value = platform::ParseDoubleC(text, &ok);
  return ok && std::isfinite(value);
}
