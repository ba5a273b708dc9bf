#include "text/exchange/hpgl/PltToken.h"

#include <cmath>

#include "platform/NumberText.h"

bool ParsePltNumber(const std::string& text, double& value) {
  bool ok = false;
  value = platform::ParseDoubleC(text, &ok);
  return ok && std::isfinite(value);
}
