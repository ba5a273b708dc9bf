#pragma once
// A comb as one closed outline: teeth of the given width at the given pitch
// standing on a 1 mm spine below y = 0. Every scan line across the teeth
// crosses each tooth twice, so its fill makes one stroke per tooth per line:
// 200 teeth 200 mm tall at the finest spacing ask for 1.3 million strokes.
#include "document/geometry/CPointList.h"

inline CPointList CombOutline(int teeth, double width = 0.5, double pitch = 1.0, double height = 200.0) {
  CPointList list;
  const double right = (teeth - 1) * pitch + width;
  list.Add(CDoublePoint(0, -1, 0));
  list.Add(CDoublePoint(right, -1, PT_JOINED));
  for (int i = teeth - 1; i >= 0; --i) {
    const double x = i * pitch;
    list.Add(CDoublePoint(x + width, height, PT_JOINED));
    list.Add(CDoublePoint(x, height, PT_JOINED));
    list.Add(CDoublePoint(x, 0, PT_JOINED));
    if (i > 0) list.Add(CDoublePoint(x - pitch + width, 0, PT_JOINED));
  }
  return list;
}
