#include "app/core/RulerScale.h"

#include <cmath>

#include "platform/NumberText.h"

namespace {

RulerTick MakeTick(int i, double position, float scale, const char* sign) {
  RulerTick tick;
  tick.position = static_cast<int>(position);
  tick.length = i % 4 == 0 ? 12 : (i % 2 == 0 ? 8 : 4);
  tick.longMark = i % 8 == 0;
  if (i % 4 == 0) tick.label = sign + platform::FormatC("%.1f", static_cast<double>(i / 4) / scale);
  return tick;
}

}  // namespace

std::vector<RulerTick> RulerTicks(int bandLength, int zero, double pxPerMm, float scale, bool positiveAfter) {
  std::vector<RulerTick> ticks;
  const double step = 2.5 * pxPerMm;
  if (!(step > 0) || !std::isfinite(step) || !(scale > 0) || bandLength <= 0) return ticks;
  const char* after = positiveAfter ? "+" : "-";
  const char* before = positiveAfter ? "-" : "+";
  // Past the zero, from i = 0, while inside the band; ticks before the band
  // are skipped without drawing.
  int i = 0;
  if (zero < 0) i = static_cast<int>(std::floor(-zero / step));
  for (;; ++i) {
    const double at = zero + i * step;
    if (at >= bandLength) break;
    if (at > 3) ticks.push_back(MakeTick(i, at, scale, after));
  }
  // Before the zero, from i = 1, while above 1.
  i = 1;
  if (zero > bandLength) i = static_cast<int>(std::floor((zero - bandLength) / step));
  if (i < 1) i = 1;
  for (;; ++i) {
    const double at = zero - i * step;
    if (at <= 1) break;
    if (at > 3 && at < bandLength) ticks.push_back(MakeTick(i, at, scale, before));
  }
  return ticks;
}
