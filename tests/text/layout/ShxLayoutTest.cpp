// Stroke-font layouts of a text object with a font whose units are
// millimetres: lines, alignment, spacing, slant, mirroring, fixed width,
// ratios and arcs, checked against points worked out by hand.
#include <gtest/gtest.h>

#include <cmath>

#include "document/path/PathListHelpers.h"
#include "tests/text/layout/TextTestSupport.h"
#include "text/layout/MissingFontNotices.h"
#include "text/layout/TextLines.h"

namespace {

constexpr std::uint8_t J = PT_JOINED;
constexpr std::uint8_t M = PT_JOINED | PT_TEXT_MARK;

// "L" at origin (ox, oy): the engine's origin point, the stem top, the
// stem foot (first drawn point), the foot's end and the advance.
void ExpectL(const CPointList& p, int from, double ox, double oy, bool originPoint = true) {
  int i = from;
  if (originPoint) EXPECT_POINT(p, i++, ox, oy, 0);
  EXPECT_POINT(p, i++, ox, oy + 4, 0);
  EXPECT_POINT(p, i++, ox, oy, M);
  EXPECT_POINT(p, i++, ox + 3, oy, J);
  EXPECT_POINT(p, i, ox + 4, oy, 0);
}

TEST(ShxLayout, LinesStartAtThePositionLessTheCharHeightAndStackDown) {
  TextRig rig;
  rig.Layout("LL\r\nL");
  const CPointList& p = rig.Points();
  ASSERT_EQ(p.GetSize(), 9 + 5);
  ExpectL(p, 0, 10, 22);
  ExpectL(p, 5, 14, 22, false);
  // Second line: 5 mm line spacing plus the 28 mm char height lower.
  ExpectL(p, 9, 10, 22 - 33);
  // One group per character, holding the character's drawn strokes.
  ASSERT_EQ(rig.Text().GetPathData().GetGroupCount(), 3);
  EXPECT_EQ(rig.Text().GetPathData().GetGroupAt(1)->GetCount(), 1);
  EXPECT_EQ(rig.Text().GetPathData().GetGroupAt(1)->GetAt(0)->points.GetSize(), 3);
  EXPECT_EQ(rig.Element().GetBoundRect(), CDoubleRect(10, 26, 18, -11));
}

TEST(ShxLayout, FixedCornerLandsOnTheAnchor) {
  struct Case {
    int corner;
    double dx, dy;  // move of the unaligned text
  };
  // Bounds of "LL" unaligned: left 10, top 26, right 18, bottom 22.
  const Case cases[] = {{0, -10, -26}, {2, -18, -26}, {4, -18, -22}, {6, -10, -22}, {8, -14, -24}, {9, 0, 0}};
  for (const Case& c : cases) {
    TextRig rig;
    rig.S().fixedCorner = c.corner;
    rig.Text().SetText("LL", CDoublePoint(0, 0), true);
    ExpectL(rig.Points(), 0, 10 + c.dx, 22 + c.dy);
    EXPECT_NEAR(rig.S().position.x, 10 + c.dx, 1e-9) << c.corner;
    EXPECT_NEAR(rig.S().position.y, 50 + c.dy, 1e-9) << c.corner;
  }
}

TEST(ShxLayout, CharSpacingSlantAndRotationComeFromTheEngine) {
  TextRig rig;
  rig.S().charSpacing = 1;
  rig.Layout("LL");
  const CPointList& p = rig.Points();
  // The engine adds a pen-up point at every advance with spacing.
  EXPECT_POINT(p, 4, 14, 22, 0);
  EXPECT_POINT(p, 5, 15, 22, 0);
  EXPECT_POINT(p, 7, 15, 22, M);

  TextRig slanted;
  slanted.S().slant = 45;
  slanted.Layout("L");
  const double t = std::tan(45 * 0.0174532);
  EXPECT_NEAR(slanted.Points()[1].x, 10 + 4 * t, 1e-9);
  EXPECT_NEAR(slanted.Points()[1].y, 26, 1e-9);

  TextRig turned;
  turned.S().rotation = 90;
  turned.Layout("L");
  const double c = std::cos(90 * 0.0174532);
  const double s = std::sin(90 * 0.0174532);
  EXPECT_NEAR(turned.Points()[3].x, 10 + 3 * c, 1e-9);  // the foot's end, turned about the origin
  EXPECT_NEAR(turned.Points()[3].y, 22 + 3 * s, 1e-9);
}

TEST(ShxLayout, MirrorFlagsReflectAboutTheBoundsCentreAndTwiceRestore) {
  TextRig rig;
  rig.S().flags |= TEXT_MIRROR_X;
  rig.Layout("LL");
  // About x = 14: the first foot runs from 18 to 15.
  EXPECT_POINT(rig.Points(), 2, 18, 22, M);
  EXPECT_POINT(rig.Points(), 3, 15, 22, J);
  rig.S().flags = TEXT_MIRROR_Y;
  rig.Layout("LL");
  EXPECT_POINT(rig.Points(), 1, 10, 22, 0);  // about y = 24
  EXPECT_POINT(rig.Points(), 2, 10, 26, M);

  // Mirroring the object twice about one line restores flags, points and position.
  TextRig twice;
  twice.Layout("LL");
  CPointList before(twice.Points());
  const TextSettings saved = twice.S();
  for (int k = 0; k < 2; ++k) twice.Element().MirrorX(3.5);
  for (int k = 0; k < 2; ++k) twice.Element().MirrorY(-7);
  EXPECT_EQ(twice.S().flags, saved.flags);
  EXPECT_NEAR(twice.S().position.x, saved.position.x, 1e-9);
  EXPECT_NEAR(twice.S().position.y, saved.position.y, 1e-9);
  for (int i = 0; i < before.GetSize(); ++i) EXPECT_POINT(twice.Points(), i, before[i].x, before[i].y, before[i].flag);
}

TEST(ShxLayout, FixedCharWidthStretchesFromTheFirstPointAndSkipsTextsWithoutWidth) {
  TextRig rig;
  rig.S().fixedCharWidth = 5;
  rig.Layout("LL");
  // Span 8 mm becomes 2 x 5: every x from 10 is stretched by 10 / 8.
  EXPECT_POINT(rig.Points(), 3, 13.75, 22, J);
  EXPECT_POINT(rig.Points(), 8, 20, 22, 0);

  TextRig narrow;  // "I" has no width: nothing to divide by
  narrow.S().fixedCharWidth = 5;
  narrow.Layout("I");
  for (int i = 0; i < narrow.Points().GetSize(); ++i) EXPECT_TRUE(std::isfinite(narrow.Points()[i].x));
  EXPECT_NEAR(narrow.Points()[1].x, 10, 1e-9);
}

TEST(ShxLayout, RatiosScaleAboutThePosition) {
  TextRig rig;
  rig.S().aspectRatio = 2;
  rig.S().heightRatio = 0.5;
  rig.Layout("L");
  EXPECT_POINT(rig.Points(), 3, 10 + 2 * 3, 50 - 0.5 * 28, J);
}

TEST(ShxLayout, MissingFontsLeaveAnEmptyPathAndReportIt) {
  TextRig rig;
  rig.S().strokeFontPair = "absent+absent";
  rig.Layout("LL");
  EXPECT_EQ(rig.Points().GetSize(), 0);
  EXPECT_TRUE(rig.Text().GetLayoutReport().strokeStatus & 0x40);
  EXPECT_EQ(rig.Text().GetPathData().GetGroupCount(), 0);
}

struct MissingCase {
  const char* pair;
  int starMode;
  const char* text;
  std::vector<std::string> missing;
};

class ShxMissingFonts : public ::testing::TestWithParam<MissingCase> {};

// The report names the font files the text needed and did not find, each
// once; the program's notices hand each name out once however often it is met.
TEST_P(ShxMissingFonts, AreNamedInTheReportAndNoticedOnce) {
  const MissingCase& c = GetParam();
  auto notices = std::make_shared<MissingFontNotices>();
  SetFontNotices(notices);
  TextRig rig;
  rig.S().strokeFontPair = c.pair;
  rig.S().starMode = c.starMode;
  rig.Layout(c.text);
  EXPECT_EQ(rig.Text().GetLayoutReport().missingFonts, c.missing);
  EXPECT_EQ(rig.Text().GetLayoutReport().fontMissing, !c.missing.empty());
  rig.Layout(c.text);
  EXPECT_EQ(notices->TakeNew(), c.missing);
  rig.Layout(c.text);
  EXPECT_TRUE(notices->TakeNew().empty());
  SetFontNotices(std::make_shared<MissingFontNotices>());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ShxMissingFonts,
    ::testing::Values(MissingCase{"mm+nobig", 0, "L", {}},
                      MissingCase{"GOLD+Xc18", 1, "L", {"GOLD.shx"}},
                      MissingCase{"GOLD+Xc18", 1, "", {}},
                      MissingCase{"mm+nobig", 0, "L\xB0\xA1\r\nL", {"nobig.shx"}},
                      MissingCase{"absent+nobig", 0, "L\r\n\xB0\xA1", {"absent.shx", "nobig.shx"}},
                      MissingCase{"absent", 0, "L", {"absent.shx"}}));

TEST(ShxLayout, AFailingGlyphIsLeftOutAndTheRestIsDrawnAndReported) {
  TextRig rig;
  // 'X' draws a stroke and then meets a scale factor of 0.
  rig.Folder().AddFont("bad.shx",
                       Shapes86Font({{'L', {2, 0x44, 1, 0x4C, 0x30, 2, 0x10, 0}}, {'X', {1, 0x44, 3, 0, 0}}}));
  rig.S().strokeFontPair = "bad+none";
  rig.Layout("LXL");
  ASSERT_EQ(rig.Points().GetSize(), 9);
  ExpectL(rig.Points(), 0, 10, 22);
  ExpectL(rig.Points(), 5, 14, 22, false);  // X takes no room
  EXPECT_EQ(rig.Text().GetLayoutReport().glyphsFailed, 1);
  EXPECT_EQ(rig.Text().GetPathData().GetGroupCount(), 2);
}

TEST(ShxLayout, FontNamesMatchWithoutRegardToCase) {
  TextRig rig;
  rig.S().strokeFontPair = "MM+none";
  rig.Layout("L");
  ExpectL(rig.Points(), 0, 10, 22);
}

TEST(ShxLayout, ACharacterOnAnArcStandsRadiallyAtItsAngle) {
  TextRig rig;
  rig.S().arcRadius = 40;
  rig.S().deflection = 90;
  rig.Layout("L");
  // One character 3 mm wide: the arc spans 3 mm, its centre stands half its
  // width clockwise of the deflection, 42 mm out (centre height 24 + radius 40
  // - bottom 22), its stem pointing away from the centre.
  EXPECT_NEAR(rig.S().arcSize, 3 / 40.0 * 57.296083239749734, 1e-4);
  const double a = 90 - 1.5 * 57.295779 / 40;
  const CDoubleRect b = GetPointArrayBoundRect(rig.Points());
  const CPointList& p = rig.Points();
  ASSERT_EQ(p.GetSize(), 3);
  const double cx = (p[0].x + p[2].x) / 2;  // stem top and foot end: the character's corners
  const double cy = (p[0].y + p[2].y) / 2;
  EXPECT_NEAR(cx, 10 + 42 * std::cos(a * 0.0174532), 1e-6);
  EXPECT_NEAR(cy, 50 + 42 * std::sin(a * 0.0174532), 1e-6);
  const double stem = std::atan2(p[0].y - p[1].y, p[0].x - p[1].x) * 57.295779;
  EXPECT_NEAR(stem, a, 1e-3);
  EXPECT_GT(b.Width(), 0);

  // Radius 2 is not an arc, 2.5 is.
  TextRig flat;
  flat.S().arcRadius = 2;
  flat.Layout("L");
  EXPECT_EQ(flat.Points().GetSize(), 5);
  flat.S().arcRadius = 2.5f;
  flat.Layout("L");
  EXPECT_EQ(flat.Points().GetSize(), 3);
}

TEST(ShxLayout, SpacesOnAnArcTakeRoomButDrawNothing) {
  TextRig rig;
  rig.S().arcRadius = -30;
  rig.Layout("L L");
  // Two drawn characters of three points each; the space is placed, not drawn.
  EXPECT_EQ(rig.Points().GetSize(), 6);
  EXPECT_GT(rig.S().arcSize, 0);
  // A font that is missing leaves nothing to place.
  TextRig none;
  none.S().arcRadius = 30;
  none.S().strokeFontPair = "absent+absent";
  none.Layout("L L");
  EXPECT_LE(none.Points().GetSize(), 1);
}

struct LineCase {
  std::string text;
  int starMode;
  bool twoLines;
  bool splitAfterNine;
  std::vector<std::string> lines;
};

class TextLinesTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(TextLinesTest, DecoratesAndSplits) {
  const LineCase& c = GetParam();
  TextSettings s;
  s.text = c.text;
  s.starMode = c.starMode;
  s.flags = c.twoLines ? TEXT_TWO_LINES : 0;
  s.splitAfterNine = c.splitAfterNine;
  EXPECT_EQ(SplitTextLines(DecorateText(s)), c.lines);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TextLinesTest,
    ::testing::Values(LineCase{"", 0, false, false, {}},
                      LineCase{"AB\r\nC\n\rD\rE\nF", 0, false, false, {"AB", "C", "D", "E", "F"}},
                      LineCase{"AB\n\nC", 0, false, false, {"AB", "", "C"}},
                      LineCase{"AB", 1, false, false, {"%%*AB%%*"}},
                      LineCase{"AB", 2, false, false, {"*AB*"}},
                      LineCase{"1G1JC5444R7252367", 0, true, false, {"1G1JC5444", "R7252367"}},
                      LineCase{"1G1JC5444R7252367", 0, true, true, {"1G1JC5444", "R7252367"}},
                      LineCase{"ABCDEFGHIJKLMNOP", 0, true, false, {"ABCDEFGH", "IJKLMNOP"}},
                      LineCase{"ABCDEFGHIJKLMNOP", 0, true, true, {"ABCDEFGHI", "JKLMNOP"}},
                      LineCase{"ABCDEFGHIJ", 2, true, false, {"*ABCDEFGHI", "J*"}},
                      LineCase{"A", 0, true, false, {"A"}}));

TEST(TextLines, LongRunsContinueOnTheNextLine) {
  const auto lines = SplitTextLines(std::string(1500, 'x'));
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].size(), 1024u);
  EXPECT_EQ(lines[1].size(), 476u);
  // A double-byte character that would straddle the limit starts the next line.
  std::string mixed = std::string(1023, 'x') + "\xd6\xd0" + "y";
  const auto cut = SplitTextLines(mixed);
  ASSERT_EQ(cut.size(), 2u);
  EXPECT_EQ(cut[0], std::string(1023, 'x'));
  EXPECT_EQ(cut[1], "\xd6\xd0y");
}

}  // namespace
