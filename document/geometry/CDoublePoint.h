#pragma once
// A point in millimetres, y up, with its kind flags. Arrays of points use a
// stride of 24 bytes (two doubles, the flag and 7 bytes of padding), which is
// also how point arrays are stored raw in files.
#include <cmath>
#include <cstdint>
#include <type_traits>
#include <utility>

// Point flag bits.
constexpr std::uint8_t PT_JOINED = 0x01;      // reached from the previous point with the tool down
constexpr std::uint8_t PT_CHAR_FIRST = 0x02;  // first drawn point of a character (stroke fonts)
constexpr std::uint8_t PT_CHAR_LAST = 0x20;   // last dot of a character (dot layouts)
constexpr std::uint8_t PT_TEXT_MARK = 0x40;   // text marker / first joined point of a character
constexpr std::uint8_t PT_SELECTED = 0x80;    // belongs to a selected path

struct CDoublePoint {
  double x = 0;
  double y = 0;
  std::uint8_t flag = 0;

  CDoublePoint() = default;
  CDoublePoint(double px, double py, std::uint8_t f = 0) : x(px), y(py), flag(f) {}
  CDoublePoint(const CDoublePoint&) = default;
  CDoublePoint operator=(const CDoublePoint& other) {
    x = other.x;
    y = other.y;
    flag = other.flag;
    return *this;
  }
  // Offsets in place by (dx, dy), keeps the flag, returns a copy of the moved point.
  CDoublePoint operator+=(const std::pair<double, double>& d) {
    x += d.first;
    y += d.second;
    return *this;
  }
};

static_assert(sizeof(CDoublePoint) == 24, "point arrays use a 24-byte stride");
static_assert(std::is_standard_layout_v<CDoublePoint>);

inline double PointDistance(const CDoublePoint& a, const CDoublePoint& b) {
  return std::sqrt((b.x - a.x) * (b.x - a.x) + (b.y - a.y) * (b.y - a.y));
}
