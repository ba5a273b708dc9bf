#include "document/curves/CDxfSegment.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "document/curves/CircleThroughPoints.h"
#include "document/geometry/CSegment2D.h"
#include "platform/NumberText.h"

namespace {

// Angle of p about c on a circle of radius d, 0 .. 2pi.
double AngleAbout(const CDoublePoint& p, const CDoublePoint& c, double d) {
  // Rounding can put the sine a hair outside [-1, 1].
  const double s = std::asin(std::clamp((p.y - c.y) / d, -1.0, 1.0));
  if (p.x < c.x) return 3.1415926 - s;
  return s < 0 ? s + 6.2831852 : s;
}

void Line(std::FILE* f, const char* text) { std::fprintf(f, "%s\n", text); }
void Number(std::FILE* f, double v) { Line(f, platform::FormatC("%f", v).c_str()); }

// Group 0 with the entity type, then its common and its own subclass markers.
void EntityHead(std::FILE* f, const char* type, const char* subclass) {
  Line(f, " 0");
  Line(f, type);
  Line(f, "100");
  Line(f, "AcDbEntity");
  Line(f, "100");
  Line(f, subclass);
}

// A point in the drawing plane: x, y and a zero z under the given group codes.
void PlanePoint(std::FILE* f, const char* xCode, const char* yCode, const char* zCode, const CDoublePoint& p) {
  Line(f, xCode);
  Number(f, p.x);
  Line(f, yCode);
  Number(f, p.y);
  Line(f, zCode);
  Number(f, 0);
}

}  // namespace

CDxfSegment::~CDxfSegment() = default;

void CDxfSegment::SetLine(const CDoublePoint& from, const CDoublePoint& to) {
  isLine = 1;
  startPoint = from;
  endPoint = to;
}

int CDxfSegment::FromThreePointsSimple(const CDoublePoint& p1, const CDoublePoint& p2, const CDoublePoint& p3) {
  isLine = 1;
  CDoublePoint c;
  if (!CircleCentre(p1, p2, p3, c)) {
    SetLine(p1, p3);
    return 1;
  }
  centre = c;
  radius = PointDistance(p2, c);
  if ((PointDistance(p1, p2) + PointDistance(p2, p3)) / radius <= 0.0005) {
    SetLine(p1, p3);
    return 1;
  }
  return 0;
}

int CDxfSegment::FromThreePoints(const CDoublePoint& p1, const CDoublePoint& p2, const CDoublePoint& p3,
                                 double runLength, bool lineTest) {
  isLine = 0;
  CDoublePoint c;
  if (!CircleCentre(p1, p2, p3, c)) {
    SetLine(p1, p3);
    return 0;
  }
  const double d = PointDistance(p2, c);
  if (lineTest && d > 0.2 && runLength / d <= 0.0001) {
    SetLine(p1, p3);
    return 0;
  }
  if (!(static_cast<float>(d) >= 0.2f) || !std::isfinite(d)) {
    SetLine(p1, p3);
    return 0;
  }
  const double h = AngleAbout(p1, c, d);
  const double f = AngleAbout(p3, c, d);
  double first = h;
  double second = f;
  // The counter-clockwise sweep from first to second stays below half a turn.
  const bool swap = h <= f ? f - h >= 3.1415926 : h - f < 3.1415926;
  if (swap) std::swap(first, second);
  startAngle = first * 57.295779;
  endAngle = second * 57.295779;
  if (endAngle < startAngle) startAngle -= 360;
  radius = d;
  centre = c;
  startPoint = p1;
  endPoint = p3;
  return 1;
}

void CDxfSegment::WriteDxf(std::FILE* f) const {
  if (!f) return;
  if (isLine) {
    EntityHead(f, "LINE", "AcDbLine");
    PlanePoint(f, " 10", " 20", " 30", startPoint);
    PlanePoint(f, " 11", " 21", " 31", endPoint);
    return;
  }
  EntityHead(f, "ARC", "AcDbCircle");
  PlanePoint(f, " 10", " 20", " 30", centre);
  Line(f, " 40");
  Number(f, radius);
  Line(f, "100");
  Line(f, "AcDbArc");
  Line(f, " 50");
  Number(f, startAngle);
  Line(f, " 51");
  Number(f, endAngle);
}

double CornerAngle(const CDoublePoint& p1, const CDoublePoint& p2, const CDoublePoint& p3) {
  return CSegment2D(p2, p1).AngleDeg(CSegment2D(p2, p3));
}

double DirectionAngle(const CDoublePoint& a, const CDoublePoint& b) {
  const double len = PointDistance(a, b);
  if (len <= 1e-20) return 0;
  const CDoublePoint east(a.x + len, a.y);
  const double c = CVector2D::FromPoints(a, b).AngleTo(CVector2D::FromPoints(a, east));
  const double rad = b.y >= a.y ? c : 6.2831852 - std::fabs(c);
  return rad * 57.295779;
}

namespace {

// True for a left turn: the direction back to the earlier point lies in the
// half turn counter-clockwise from the direction back from the later one.
bool TurnsLeft(double a, double b) {
  if (a + 180 >= 359.9) {
    const bool right = b >= a + 180 - 359.9 && b <= a;
    return !right;
  }
  return b >= a && b <= a + 180;
}

}  // namespace

bool TurnsAgree(const CDoublePoint& p1, const CDoublePoint& p2, const CDoublePoint& p3, const CDoublePoint& p4) {
  const bool first = TurnsLeft(DirectionAngle(p3, p2), DirectionAngle(p2, p1));
  const bool second = TurnsLeft(DirectionAngle(p4, p3), DirectionAngle(p3, p2));
  return first == second;
}
