#pragma once
// Puts flattened contours on the whole-unit grid of the big font's shape
// bytes and thins them: points that lie within the tolerance of the line
// through their neighbours go (Douglas-Peucker), and contours too small to
// be seen at marking sizes are dropped.
#include <vector>

#include "tools/bigfont/OutlineFace.h"

struct GridStep {
  int x;
  int y;
  bool operator==(const GridStep&) const = default;
};

using GridContour = std::vector<GridStep>;  // closed; the first point is not repeated at the end

class ContourSimplifier {
 public:
  // tolerance: grid units a dropped point may lie off the kept outline;
  // smallest: contours whose width and height are both below it are dropped.
  ContourSimplifier(double tolerance, int smallest) : tolerance_(tolerance), smallest_(smallest) {}

  std::vector<GridContour> Simplify(const std::vector<Contour>& contours) const;

 private:
  GridContour Thin(const GridContour& points) const;
  bool TooSmall(const GridContour& points) const;

  double tolerance_;
  int smallest_;
};
