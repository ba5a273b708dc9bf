// Shape codes of stroke-font glyphs: counting and writing, transforms,
// vectors, moves, scale, position stack, skip flag and arcs. The main font is
// an "AutoCAD-86 shapes" font at a text height of 28 mm, so one font unit is 1 mm.
#include <gtest/gtest.h>

#include <cmath>

#include "tests/text/fonts/shx/ShxExpect.h"
#include "text/fonts/shx/ShxTextToStrokes.h"

namespace {

constexpr std::uint8_t kNeg2 = 0xFE;  // -2 as a signed operand byte

// 'L': pen up to (0,8), draw down to (0,0) and right to (5,0), pen up to (6,0).
const Bytes kL = {2, 0x84, 1, 0x8C, 0x50, 2, 0x10, 0};
const Bytes kQuestion = {1, 0x14, 0x10, 0};

class ShxShapes : public ::testing::Test {
 protected:
  // Draws one glyph 'G' (alone or in a text) from a font that also has 'L' and '?'.
  ShxRun Glyph(const Bytes& shape, const std::string& text = "G", const ShxParams& params = {}) {
    folder_.AddFont("main.shx", Shapes86Font({{'G', shape}, {'L', kL}, {'?', kQuestion}}));
    folder_.AddFont("big.shx", BigFont({{0xB0A1, {1, 0x40, 0}}}, 28));
    ShxRun run = RunShx(folder_, text, "main.shx", "big.shx", params);
    EXPECT_TRUE(run.canariesIntact);
    return run;
  }
  TestInstallFolder folder_;
};

TEST_F(ShxShapes, CountingAndWritingAgreeAndNeverOverrunTheCapacity) {
  ShxRun run = Glyph(kL, "L");
  EXPECT_EQ(run.counted, 10);
  EXPECT_EQ(run.returned, 10);
  EXPECT_EQ(run.status, 0);
  ExpectPoint(run, 0, 0, 0, 0);  // the origin comes first
  ExpectPoint(run, 1, 0, 8, 0);
  ExpectPoint(run, 2, 0, 0, SHX_PEN_DOWN | SHX_CHAR_FIRST);
  ExpectPoint(run, 3, 5, 0, SHX_PEN_DOWN);
  ExpectPoint(run, 4, 6, 0, 0);

  // The spacing writes a point at the advanced position with the pen as it is.
  ShxParams spaced;
  spaced.spacing = 0.5;
  run = Glyph(kL, "LL", spaced);
  ASSERT_EQ(run.Points(), 11);
  ExpectPoint(run, 5, 6.5, 0, 0);
  ExpectPoint(run, 6, 6.5, 8, 0);
  ExpectPoint(run, 7, 6.5, 0, SHX_PEN_DOWN | SHX_CHAR_FIRST);
  ExpectPoint(run, 10, 13, 0, 0);

  // A capacity too small for the text: what fits is written, nothing beyond.
  folder_.AddFont("main.shx", Shapes86Font({{'L', kL}}));
  run = RunShx(folder_, "LL", "main.shx", "big.shx", {}, 7);
  EXPECT_EQ(run.returned, 6);
  EXPECT_TRUE(run.canariesIntact);

  // A text of any length is drawn whole; without a counter nothing is done.
  EXPECT_EQ(Glyph(kL, std::string(3000, 'L')).returned, 2 + 3000 * 8);
  EXPECT_EQ(ShxTextToStrokes("L", folder_.Path(), "main.shx", "big.shx", 0, 0, 28, 0, 0, 1, 0, 1, 0, nullptr, nullptr,
                             nullptr, nullptr),
            0);

  // An empty text draws "?"; control characters are skipped and reported.
  ShxRun empty = Glyph(kL, "");
  ShxRun question = Glyph(kL, "?");
  EXPECT_EQ(empty.xy, question.xy);
  EXPECT_EQ(empty.returned, 6);
  ShxRun control = Glyph(kL, "\tL\n");
  EXPECT_EQ(control.status, SHX_CONTROL_CHARACTER);
  EXPECT_EQ(control.xy, Glyph(kL, "L").xy);
}

TEST_F(ShxShapes, PointsAreRotatedSlantedAndStretchedAboutTheOrigin) {
  ShxParams p;
  p.originX = 10;
  p.originY = 20;
  p.rotation = 90;
  ShxRun run = Glyph(kL, "L", p);
  ExpectPoint(run, 0, 10, 20, 0);
  ExpectPoint(run, 1, 2, 20, 0, 1e-4);   // 8 up turns into 8 left
  ExpectPoint(run, 3, 10, 25, SHX_PEN_DOWN, 1e-4);

  p.rotation = 0;
  p.slant = 45;
  run = Glyph(kL, "L", p);
  ExpectPoint(run, 1, 18, 28, 0, 1e-4);  // leans right by its height above the base line
  ExpectPoint(run, 3, 15, 20, SHX_PEN_DOWN, 1e-4);

  p.slant = 0;
  p.mainWidth = 0.5;
  run = Glyph(kL, "LL", p);
  ExpectPoint(run, 3, 12.5, 20, SHX_PEN_DOWN);
  ExpectPoint(run, 5, 13, 28, 0);  // the second 'L' starts 3 mm on
}

TEST_F(ShxShapes, VectorsMovesAndScaleCodes) {
  // Sixteen directions of length 2, then a vector of length 0 that still writes.
  Bytes all = {1};
  for (int d = 0; d < 16; ++d) all.push_back(static_cast<std::uint8_t>(0x20 | d));
  all.push_back(0x0F);  // length 0
  all.push_back(0);
  ShxRun run = Glyph(all);
  const double dirs[16][2] = {{1, 0},  {1, 0.5},   {1, 1},   {0.5, 1},   {0, 1},  {-0.5, 1}, {-1, 1}, {-1, 0.5},
                              {-1, 0}, {-1, -0.5}, {-1, -1}, {-0.5, -1}, {0, -1}, {0.5, -1}, {1, -1}, {1, -0.5}};
  ASSERT_EQ(run.Points(), 18);
  for (int d = 0; d < 16; ++d) {
    EXPECT_NEAR(run.X(d + 1) - run.X(d), 2 * dirs[d][0], 1e-9) << d;
    EXPECT_NEAR(run.Y(d + 1) - run.Y(d), 2 * dirs[d][1], 1e-9) << d;
  }
  EXPECT_EQ(run.X(17), run.X(16));
  EXPECT_EQ(run.Y(17), run.Y(16));

  // Code 8 and code 9 with signed operands; code 9 ends at its (0,0) pair.
  run = Glyph({1, 8, 3, kNeg2, 9, 1, 1, 2, 0, 0, 0, 0x10, 0});
  ASSERT_EQ(run.Points(), 5);
  ExpectPoint(run, 1, 3, -2, SHX_PEN_DOWN | SHX_CHAR_FIRST);
  ExpectPoint(run, 2, 4, -1, SHX_PEN_DOWN);
  ExpectPoint(run, 3, 6, -1, SHX_PEN_DOWN);
  ExpectPoint(run, 4, 7, -1, SHX_PEN_DOWN);

  // Scale: times 2, then divided by 4.
  run = Glyph({1, 4, 2, 0x10, 3, 4, 0x10, 0});
  ExpectPoint(run, 1, 2, 0, SHX_PEN_DOWN | SHX_CHAR_FIRST);
  ExpectPoint(run, 2, 2.5, 0, SHX_PEN_DOWN);
  // ... and back to 1 for the next character.
  run = Glyph({4, 2, 0}, "GL");
  ExpectPoint(run, 1, 0, 8, 0);

  // A factor of 0 abandons the text.
  run = Glyph({3, 0, 0x10, 0}, "LG");
  EXPECT_EQ(run.returned, 0);
  EXPECT_EQ(run.status, SHX_ZERO_SCALE | SHX_GLYPH_FAILED);
  EXPECT_EQ(run.countStatus, SHX_ZERO_SCALE | SHX_GLYPH_FAILED);
}

TEST_F(ShxShapes, PositionStackHoldsTwoPositions) {
  // Pop writes the saved output point with the pen up and returns there.
  ShxRun run = Glyph({2, 0x30, 5, 1, 0x34, 6, 0x10, 0});
  ASSERT_EQ(run.Points(), 5);
  ExpectPoint(run, 1, 3, 0, 0);
  ExpectPoint(run, 2, 3, 3, SHX_PEN_DOWN | SHX_CHAR_FIRST);
  ExpectPoint(run, 3, 3, 0, 0);
  ExpectPoint(run, 4, 4, 0, SHX_PEN_DOWN);

  run = Glyph({5, 5, 6, 6, 0});
  EXPECT_EQ(run.status, 0);
  run = Glyph({5, 5, 5, 0});
  EXPECT_EQ(run.returned, 0);
  EXPECT_EQ(run.status, SHX_STACK_FAULT | SHX_GLYPH_FAILED);
  run = Glyph({6, 0});
  EXPECT_EQ(run.status, SHX_STACK_FAULT | SHX_GLYPH_FAILED);
  // The stack is emptied for every call: a push left over does not count.
  Glyph({5, 5, 0});
  EXPECT_EQ(Glyph({5, 5, 0}).status, 0);
}

TEST_F(ShxShapes, SkipFlagPassesOverTheNextConditionalCode) {
  ShxRun run = Glyph({14, 0x10, 1, 0x14, 0});
  ASSERT_EQ(run.Points(), 2);
  ExpectPoint(run, 1, 0, 1, SHX_PEN_DOWN | SHX_CHAR_FIRST);

  // A skipped code 8 lifts the pen.
  run = Glyph({1, 14, 8, 5, 5, 0x10, 0});
  ASSERT_EQ(run.Points(), 2);
  ExpectPoint(run, 1, 1, 0, 0);

  // A skipped code 9 passes its pairs and terminator; the pen stays down.
  run = Glyph({1, 14, 9, 1, 0, 2, 0, 0, 0, 0x10, 0});
  ASSERT_EQ(run.Points(), 2);
  ExpectPoint(run, 1, 1, 0, SHX_PEN_DOWN | SHX_CHAR_FIRST);

  // A skipped code 13 passes its triples and terminator.
  run = Glyph({14, 13, 4, 0, 0, 0, 0, 0x10, 0});
  ASSERT_EQ(run.Points(), 2);
  ExpectPoint(run, 1, 1, 0, 0);

  // An arc ignores the flag and leaves it for the next conditional code.
  run = Glyph({14, 12, 4, 0, 0, 0x14, 0x10, 0});
  ExpectPoint(run, run.Points() - 2, 4, 0, SHX_PEN_DOWN);
  ExpectPoint(run, run.Points() - 1, 5, 0, 0);
}

class ShxArcs : public ShxShapes {
 protected:
  // Every point of the glyph's arc lies on the circle.
  static void ExpectOnCircle(const ShxRun& run, int from, int to, double cx, double cy, double r) {
    for (int i = from; i <= to; ++i) {
      EXPECT_NEAR(std::hypot(run.X(i) - cx, run.Y(i) - cy), r, 1e-3) << "point " << i;
    }
  }
};

TEST_F(ShxArcs, OctantArcsRunFromTheCurrentPositionRoundTheirCentre) {
  ShxRun run = Glyph({1, 10, 5, 0x04, 0});  // half circle, counter-clockwise from octant 0
  const int last = run.Points() - 1;
  ASSERT_GT(last, 4);
  ExpectPoint(run, 1, 0, 0, 0, 1e-3);
  ExpectPoint(run, last, -10, 0, SHX_PEN_DOWN, 1e-3);
  ExpectOnCircle(run, 1, last, -5, 0, 5);
  for (int i = 1; i <= last; ++i) EXPECT_GE(run.Y(i), -1e-3);
  EXPECT_EQ(run.flags[2], SHX_PEN_DOWN | SHX_CHAR_FIRST);

  run = Glyph({1, 10, 5, 0x84, 0});  // clockwise: under the base line
  for (int i = 1; i < run.Points(); ++i) EXPECT_LE(run.Y(i), 1e-3);
  ExpectPoint(run, run.Points() - 1, -10, 0, SHX_PEN_DOWN, 1e-3);

  // A full circle is two half circles, each starting with the pen up.
  run = Glyph({10, 5, 0x00, 0});
  int starts = 0;
  for (int i = 1; i < run.Points(); ++i) starts += run.flags[i] == 0;
  EXPECT_EQ(starts, 2);
  ExpectOnCircle(run, 1, run.Points() - 1, -5, 0, 5);
  ExpectPoint(run, run.Points() - 1, 0, 0, SHX_PEN_DOWN, 1e-3);

  // Radii take no width factor.
  ShxParams narrow;
  narrow.mainWidth = 0.5;
  run = Glyph({1, 10, 5, 0x04, 0}, "G", narrow);
  ExpectPoint(run, run.Points() - 1, -10, 0, SHX_PEN_DOWN, 1e-3);
}

TEST_F(ShxArcs, FractionalArcsStartAndEndAtWholeDegreeOffsets) {
  ShxRun run = Glyph({11, 0, 0, 0, 5, 0x02, 0});  // 0 to 90 degrees, radius 5
  ExpectPoint(run, run.Points() - 1, -5, 5, SHX_PEN_DOWN, 1e-3);
  ExpectOnCircle(run, 1, run.Points() - 1, -5, 0, 5);

  // A start offset of 128/256 of an octant is 22.5 degrees, taken as 22.
  run = Glyph({11, 128, 0, 0, 5, 0x02, 0});
  const double a = 22 * 0.0174532;
  const double cx = -5 * std::cos(a), cy = -5 * std::sin(a);
  ExpectPoint(run, 1, 0, 0, 0, 1e-3);
  ExpectPoint(run, run.Points() - 1, cx, cy + 5, SHX_PEN_DOWN, 1e-3);
  ExpectOnCircle(run, 1, run.Points() - 1, cx, cy, 5);
}

TEST_F(ShxArcs, BulgeArcsBendToTheRightForAPositiveBulge) {
  ShxRun run = Glyph({1, 12, 10, 0, 127, 0});
  const int last = run.Points() - 1;
  ExpectPoint(run, 1, 0, 0, 0, 1e-3);
  ExpectPoint(run, last, 10, 0, SHX_PEN_DOWN, 1e-3);
  ExpectOnCircle(run, 1, last, 5, 0, 5);
  for (int i = 1; i <= last; ++i) EXPECT_LE(run.Y(i), 1e-3);

  run = Glyph({1, 12, 10, 0, 0x81, 0});  // -127: over the chord
  for (int i = 1; i < run.Points(); ++i) EXPECT_GE(run.Y(i), -1e-3);

  // Bulge 0 is a straight line, divided every 0.5 mm; the chord takes the width.
  ShxParams narrow;
  narrow.mainWidth = 0.5;
  run = Glyph({12, 10, 0, 0, 0}, "G", narrow);
  ASSERT_EQ(run.Points(), 12);
  ExpectPoint(run, 11, 5, 0, SHX_PEN_DOWN, 1e-9);

  // Code 13: the arcs after the first join the one before.
  run = Glyph({13, 10, 0, 127, 10, 0, 0x81, 0, 0, 0});
  int starts = 0;
  for (int i = 1; i < run.Points(); ++i) starts += run.flags[i] == 0;
  EXPECT_EQ(starts, 1);
  ExpectPoint(run, run.Points() - 1, 20, 0, SHX_PEN_DOWN, 1e-3);
}

}  // namespace
