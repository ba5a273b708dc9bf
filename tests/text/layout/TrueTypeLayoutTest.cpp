// TrueType layouts against the metrics of DejaVu Sans (fonts-dejavu-core):
// 2048 units to the em, Windows ascent 1901 and descent 483 (a cell of 2384
// units), "H" 1493 units tall and 1138 wide, advancing 1540.
#include <gtest/gtest.h>

#include <cmath>

#include "document/path/PathListHelpers.h"
#include "tests/text/layout/TextTestSupport.h"
#include "text/layout/TrueTypeTextLayout.h"
#include "values/ShellValues.h"

namespace {

class TrueTypeLayout : public ::testing::Test {
 protected:
  void SetUp() override {
    oldX_ = PixelsPerMmX;
    oldY_ = PixelsPerMmY;
    PixelsPerMmX = 4;
    PixelsPerMmY = 4;
    rig_.S().flags = TEXT_TRUETYPE;
    rig_.S().font.faceName = "DejaVu Sans";
    rig_.S().charHeight = 7.2f;  // outline units to millimetres: 0.1
    rig_.S().position = CDoublePoint(10, 20);
  }
  void TearDown() override {
    PixelsPerMmX = oldX_;
    PixelsPerMmY = oldY_;
  }
  // 400 pixels of 100 x 4 px/mm at 96 dpi: a cell of 533 pixels.
  static double Mm(double fontUnits) { return fontUnits * 533.0 / 2384.0 / 4.0 * 0.1; }
  TextRig rig_;
  double oldX_ = 0;
  double oldY_ = 0;
};

TEST_F(TrueTypeLayout, CellHeightIsAscentPlusDescentAndLinesHangFromThePosition) {
  rig_.Layout("H");
  const CDoubleRect b = GetPointArrayBoundRect(rig_.Points());
  EXPECT_NEAR(b.Height(), Mm(1493), 2e-3);
  EXPECT_NEAR(b.Width(), Mm(1138), 2e-3);
  EXPECT_NEAR(b.left, 10, 1e-9);
  EXPECT_NEAR(b.top, 20, 1e-9);
  // One group of two contours is the outline of an H? No: one closed contour.
  ASSERT_EQ(rig_.Text().GetPathData().GetGroupCount(), 1);
  EXPECT_EQ(rig_.Text().GetPathData().GetGroupAt(0)->GetCount(), 1);
}

TEST_F(TrueTypeLayout, PenAdvancesByTheWholePixelWidthAndTheSpacing) {
  rig_.Layout("HH");
  ASSERT_EQ(rig_.Text().GetPathData().GetGroupCount(), 2);
  const double first = rig_.Text().GetPathData().GetGroupAt(0)->GetBoundRect().left;
  const double second = rig_.Text().GetPathData().GetGroupAt(1)->GetBoundRect().left;
  // 1540 units are 344 whole pixels: 86 outline units.
  EXPECT_NEAR(second - first, 8.6, 1e-5);

  rig_.S().charSpacing = 1;  // trunc(1 x 4 x 100 / 7.2) = 55 pixels more
  rig_.Layout("HH");
  const double spaced = rig_.Text().GetPathData().GetGroupAt(1)->GetBoundRect().left -
                        rig_.Text().GetPathData().GetGroupAt(0)->GetBoundRect().left;
  EXPECT_NEAR(spaced, (344 + 55) / 4.0 * 0.1, 1e-5);

  rig_.S().charSpacing = 150;  // outside (-100, 100): reset and kept
  rig_.Layout("HH");
  EXPECT_EQ(rig_.S().charSpacing, 0);
}

TEST_F(TrueTypeLayout, TheStarTokenAdvancesByExactlyTheCharHeight) {
  rig_.S().starMode = 1;
  rig_.Layout("H");
  ASSERT_EQ(rig_.Text().GetPathData().GetGroupCount(), 3);
  const double star = rig_.Text().GetPathData().GetGroupAt(0)->GetBoundRect().left;
  const double h = rig_.Text().GetPathData().GetGroupAt(1)->GetBoundRect().left;
  // The star's outline starts 1.762 units into its 72; H's bearing is 201 font units.
  EXPECT_NEAR((h - Mm(201)) - (star - 1.762 * 0.1), 7.2, 0.03);
}

TEST_F(TrueTypeLayout, DoubleByteTextTakesItsOutlinesFromAFaceThatHasThem) {
  rig_.Layout("\xd6\xd0\xce\xc4");  // 中文
  EXPECT_EQ(rig_.Text().GetLayoutReport().glyphsMissing, 0);
  EXPECT_EQ(rig_.Text().GetPathData().GetGroupCount(), 2);
}

TEST_F(TrueTypeLayout, DotKindOneMakesOrderedDotsExactlyTheCharHeightTall) {
  rig_.S().flags = TEXT_DOT_FONT;
  rig_.S().dotKind = DOT_KIND_TRUETYPE;
  rig_.S().arcRadius = 5;
  rig_.S().rotation = 30;
  rig_.Layout("HI");
  EXPECT_EQ(rig_.S().arcRadius, 0);     // cleared and kept
  EXPECT_FLOAT_EQ(rig_.S().rotation, 30);  // restored after the outlines
  EXPECT_EQ(rig_.S().gridDone, 1);
  const CPointList& p = rig_.Points();
  ASSERT_GT(p.GetSize(), 8);
  int last = 0;
  for (int i = 0; i < p.GetSize(); ++i) {
    EXPECT_TRUE(p[i].flag == 0 || p[i].flag == PT_CHAR_LAST) << i;
    if (p[i].flag == PT_CHAR_LAST) ++last;
  }
  EXPECT_EQ(last, 2);
  EXPECT_EQ(rig_.Text().GetPathData().GetGroupCount(), 2);
  EXPECT_EQ(rig_.Text().GetPathData().GetGroupAt(0)->kind, GROUP_KIND_DOTS);
  // Turned by the rotation: the upright text was exactly the char height tall.
  CPointList upright(p);
  RotatePointsDeg(upright, rig_.S().anchor, -30);
  EXPECT_NEAR(GetPointArrayBoundRect(upright).Height(), 7.2, 1e-4);
}

// Slanted like any TrueType text: the H's top runs tan(slant) x height further
// right than its foot, so the dots span that much more.
TEST_F(TrueTypeLayout, DotKindOneIsSlanted) {
  rig_.S().flags = TEXT_DOT_FONT;
  rig_.S().dotKind = DOT_KIND_TRUETYPE;
  rig_.Layout("H");
  const double upright = GetPointArrayBoundRect(rig_.Points()).Width();
  rig_.S().slant = 30;
  rig_.Layout("H");
  const CDoubleRect slanted = GetPointArrayBoundRect(rig_.Points());
  EXPECT_NEAR(slanted.Height(), 7.2, 1e-4);
  EXPECT_NEAR(slanted.Width() - upright, std::tan(30 * DEG_TO_RAD) * 7.2, 1e-3);
}

// DejaVu Sans in a cell of 533 pixels (0.2236 pixels to the unit, 0.025 mm to
// the pixel here): the PostScript underline 40 units below the base line, 90
// thick (9 and 20 pixels); the OS/2 strike-out 530 above it, 102 thick (118
// and 23 pixels). Each stroke runs the character's advance, 344 pixels.
struct LineCase {
  bool underline;
  bool strikeOut;
  double below;  // mm the strokes reach below the base line
  int strokes;   // rectangles drawn with the H
};

class TrueTypeLines : public TrueTypeLayout, public ::testing::WithParamInterface<LineCase> {};

TEST_P(TrueTypeLines, AreDrawnUnderAndThroughEachCharacter) {
  const LineCase& c = GetParam();
  rig_.Layout("H");
  const int plain = rig_.Points().GetSize();
  rig_.S().font.underline = c.underline;
  rig_.S().font.strikeOut = c.strikeOut;
  rig_.Layout("H");
  ASSERT_EQ(rig_.Points().GetSize(), plain + 5 * c.strokes);
  ASSERT_EQ(rig_.Text().GetPathData().GetGroupCount(), 1);  // part of the character
  const CDoubleRect b = GetPointArrayBoundRect(rig_.Points());
  EXPECT_NEAR(b.top, 20, 1e-9);
  EXPECT_NEAR(b.Height(), Mm(1493) + c.below, 2e-3);
  EXPECT_NEAR(b.Width(), c.strokes > 0 ? 344 * 0.025 : Mm(1138), 2e-3);
  const double base = 20 - Mm(1493);
  if (c.strikeOut) {
    // The last figure: the strike-out, a closed rectangle.
    const CPointList& p = rig_.Points();
    const int n = p.GetSize();
    EXPECT_EQ(p[n - 5].flag, 0);
    EXPECT_NEAR(p[n - 5].x, p[n - 1].x, 1e-9);
    EXPECT_NEAR(p[n - 5].y, p[n - 1].y, 1e-9);
    EXPECT_NEAR(std::max(p[n - 5].y, p[n - 3].y) - base, 118 * 0.025, 2e-3);
    EXPECT_NEAR(std::min(p[n - 5].y, p[n - 3].y) - base, 95 * 0.025, 2e-3);
  }
  // A space is not outlined: no strokes under it.
  rig_.Layout("H H");
  EXPECT_EQ(rig_.Points().GetSize(), 2 * (plain + 5 * c.strokes));
}

INSTANTIATE_TEST_SUITE_P(Fonts, TrueTypeLines,
                         ::testing::Values(LineCase{false, false, 0, 0}, LineCase{true, false, 29 * 0.025, 1},
                                           LineCase{false, true, 0, 1}, LineCase{true, true, 29 * 0.025, 2}));

TEST_F(TrueTypeLayout, APositionBeyondAnyScreenStaysFinite) {
  rig_.S().position = CDoublePoint(1e300, -1e300);
  rig_.S().charSpacing = 99;
  rig_.S().charHeight = 1e-30f;
  rig_.Layout("HH");
  for (int i = 0; i < rig_.Points().GetSize(); ++i) EXPECT_TRUE(std::isfinite(rig_.Points()[i].x)) << i;
}

TEST_F(TrueTypeLayout, OutlinesBendOntoAnArcAroundThePosition) {
  rig_.S().arcRadius = 30;
  rig_.Layout("H H");
  EXPECT_EQ(rig_.Text().GetPathData().GetGroupCount(), 2);
  // Two characters and a space measured along the arc, in degrees.
  EXPECT_GT(rig_.S().arcSize, 0);
  // Every outline point lies between the radius and the top corners of an H
  // standing on it.
  for (int i = 0; i < rig_.Points().GetSize(); ++i) {
    const double r = std::hypot(rig_.Points()[i].x - 10, rig_.Points()[i].y - 20);
    EXPECT_GE(r, 30 - 1e-6) << i;
    EXPECT_LE(r, std::hypot(30 + Mm(1493), Mm(1138) / 2) + 1e-3) << i;
  }
}

TEST(FlattenBezier, SamplesAtQuarterSteps) {
  CPointList out;
  out.Add(CDoublePoint(0, 0, 0));
  const double px[4] = {0, 0, 4, 4};
  const double py[4] = {0, 4, 4, 0};
  FlattenBezier(px, py, out);
  ASSERT_EQ(out.GetSize(), 5);  // t = 0 repeats the last point and is left out
  EXPECT_POINT(out, 1, 4 * (3 * 0.25 * 0.75 * 0.75 * 0 + 3 * 0.0625 * 0.75 + 0.015625), 4 * (3 * 0.25 * 0.5625 + 3 * 0.0625 * 0.75), PT_JOINED);
  EXPECT_POINT(out, 2, 2, 3, PT_JOINED);
  EXPECT_POINT(out, 4, 4, 0, PT_JOINED);
}

}  // namespace
