// Shape bytes of a big-font character, read back by the stroke-font engine:
// every contour is drawn closed through its points, long steps are cut on
// their line, and the character advances to its width. Steps a vector can
// make take one byte.
#include "tools/bigfont/ShapeEncoder.h"

#include <gtest/gtest.h>

#include <cmath>

#include "tests/text/fonts/shx/ShxTestFonts.h"
#include "text/fonts/shx/ShxTextToStrokes.h"
#include "tools/bigfont/BigFontFile.h"

namespace {

using Strokes = std::vector<std::vector<GridStep>>;

// The shape as the one character 0xB0A1 of a big font whose units are
// millimetres, drawn by the engine.
ShxRun Render(const Bytes& shape) {
  Bytes file;
  std::string error;
  EXPECT_TRUE(BigFontBytes("test", 100, {{0x81, 0xFE}}, {{0xB0A1, shape}}, file, error)) << error;
  TestInstallFolder folder;
  folder.AddFont("big.shx", file);
  ShxParams params;
  params.height = 100;  // a big font 100 units high: one unit to the millimetre
  return RunShx(folder, "\xB0\xA1", "none.shx", "big.shx", params);
}

// The drawn strokes: each from a pen-up point through the joined points after it.
Strokes DrawnStrokes(const ShxRun& run) {
  Strokes strokes;
  for (int i = 0; i < run.Points(); ++i) {
    const GridStep p{static_cast<int>(std::lround(run.X(i))), static_cast<int>(std::lround(run.Y(i)))};
    EXPECT_NEAR(run.X(i), p.x, 1e-9);
    EXPECT_NEAR(run.Y(i), p.y, 1e-9);
    if ((run.flags[static_cast<std::size_t>(i)] & SHX_PEN_DOWN) == 0 || strokes.empty()) strokes.emplace_back();
    strokes.back().push_back(p);
  }
  std::erase_if(strokes, [](const auto& s) { return s.size() < 2; });
  return strokes;
}

double DistanceToSegment(const GridStep& p, const GridStep& a, const GridStep& b) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double t = std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
  return std::hypot(p.x - a.x - t * dx, p.y - a.y - t * dy);
}

// The stroke runs through the contour's points in order and back to its
// first; points between them (where a long step was cut) lie on the way.
void ExpectDrawsContour(const std::vector<GridStep>& stroke, const GridContour& contour) {
  GridContour closed = contour;
  closed.push_back(contour.front());
  ASSERT_FALSE(stroke.empty());
  EXPECT_EQ(stroke.front(), closed.front());
  std::size_t next = 1;
  for (std::size_t k = 1; k < stroke.size(); ++k) {
    ASSERT_LT(next, closed.size()) << "stroke goes on past the contour";
    if (stroke[k] == closed[next]) {
      ++next;
      continue;
    }
    EXPECT_LE(DistanceToSegment(stroke[k], closed[next - 1], closed[next]), 0.71)
        << "point " << k << " off the step " << next;
  }
  EXPECT_EQ(next, closed.size()) << "contour not drawn to its end";
}

struct ShapeCase {
  const char* name;
  std::vector<GridContour> contours;
  int advance;
};

void PrintTo(const ShapeCase& c, std::ostream* out) { *out << c.name; }

class EncodedShape : public ::testing::TestWithParam<ShapeCase> {};

TEST_P(EncodedShape, DrawsEachContourClosedAndAdvancesToTheWidth) {
  const ShapeCase& c = GetParam();
  const ShxRun run = Render(EncodeShape(c.contours, c.advance));
  EXPECT_EQ(run.status & ~SHX_NO_MAIN_FONT, 0);
  const Strokes strokes = DrawnStrokes(run);
  ASSERT_EQ(strokes.size(), c.contours.size());
  for (std::size_t k = 0; k < strokes.size(); ++k) {
    SCOPED_TRACE("contour " + std::to_string(k));
    ExpectDrawsContour(strokes[k], c.contours[k]);
  }
  // The last point is the pen-up move to the advance on the base line.
  ASSERT_GT(run.Points(), 0);
  EXPECT_DOUBLE_EQ(run.X(run.Points() - 1), c.advance);
  EXPECT_DOUBLE_EQ(run.Y(run.Points() - 1), 0);
  EXPECT_EQ(run.flags.back() & SHX_PEN_DOWN, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, EncodedShape,
    ::testing::Values(
        ShapeCase{"Square", {{{5, 5}, {25, 5}, {25, 25}, {5, 25}}}, 30},
        ShapeCase{"SlopedTriangle", {{{3, 7}, {40, 12}, {20, 60}}}, 64},
        ShapeCase{"HalfDirections", {{{0, 0}, {4, 2}, {6, 6}, {5, 8}, {-1, 5}}}, 10},
        ShapeCase{"BelowTheBaseLine", {{{10, -12}, {50, -12}, {30, 20}}}, 60},
        ShapeCase{"StepsLongerThanAByte", {{{0, 0}, {250, 3}, {250, 200}, {-30, 190}}}, 256},
        ShapeCase{"TwoContours", {{{2, 2}, {90, 2}, {90, 90}, {2, 90}}, {{20, 20}, {33, 71}, {70, 20}}}, 100},
        ShapeCase{"ManyUnevenSteps",
                  {{{0, 0}, {3, 1}, {7, 4}, {12, 9}, {14, 17}, {14, 18}, {13, 25}, {9, 31}, {2, 33}, {-5, 30},
                    {-9, 23}, {-8, 12}, {-4, 4}}},
                  40},
        ShapeCase{"NothingDrawn", {}, 128}),
    [](const auto& info) { return std::string(info.param.name); });

// A square of axis steps is one vector byte a side: the pen-up move, the pen
// down, four sides, the pen up, the move to the advance and the end.
TEST(ShapeEncoder, StepsAVectorCanMakeTakeOneByte) {
  const Bytes shape = EncodeShape({{{5, 5}, {15, 5}, {15, 15}, {5, 15}}}, 10);
  EXPECT_EQ(shape.size(), 1u + 1 + 4 + 1 + 1 + 1);
}

// Uneven steps in a row share one code 9 (2 bytes a step and 3 for the run)
// rather than a code 8 each (3 bytes a step).
TEST(ShapeEncoder, UnevenStepsInARowShareOneRun) {
  GridContour contour;
  for (int k = 0; k < 12; ++k) contour.push_back({static_cast<int>(40 * std::cos(k * 0.5)), static_cast<int>(40 * std::sin(k * 0.5))});
  const Bytes shape = EncodeShape({contour}, 100);
  EXPECT_LE(shape.size(), 3u + 1 + (3 + 2 * 12) + 1 + 3 + 1);
}

struct VectorCase {
  int dx, dy;
  std::uint8_t byte;
};

TEST(ShapeEncoder, VectorBytesMakeTheirStepExactlyOrAreNotUsed) {
  const VectorCase cases[] = {{1, 0, 0x10},   {15, 0, 0xF0},  {16, 0, 0},     {0, 0, 0},     {2, 1, 0x21},
                              {1, 2, 0x23},   {-1, 2, 0x25},  {-4, -2, 0x49}, {0, -15, 0xFC}, {15, -15, 0xFE},
                              {6, -3, 0x6F},  {3, 1, 0},      {5, 2, 0},      {7, 7, 0x72},   {-7, 7, 0x76}};
  for (const VectorCase& c : cases) EXPECT_EQ(VectorByte(c.dx, c.dy), c.byte) << c.dx << ", " << c.dy;
}

// A record longer than the index's 16-bit length cannot be written.
TEST(BigFontFile, RefusesARecordTooLongForTheIndex) {
  Bytes out;
  std::string error;
  EXPECT_FALSE(BigFontBytes("test", 100, {{0x81, 0xFE}}, {{0xB0A1, Bytes(70000, 0x10)}}, out, error));
  EXPECT_FALSE(error.empty());
}

}  // namespace
