// Dot layouts: ".dot" fonts and sparse GB2312 bitmap fonts written for the
// test, with dots, order, flags and advances worked out by hand.
#include <gtest/gtest.h>

#include <cmath>

#include "tests/text/layout/TextTestSupport.h"
#include "text/fonts/dot/DotFontFile.h"
#include "text/fonts/hzk/HzkFont.h"

namespace {

constexpr std::uint8_t L = PT_CHAR_LAST;
constexpr double kPitch6 = 6 * static_cast<double>(0.16666667f);  // char height 6: 1 mm

class DotLayout : public ::testing::Test {
 protected:
  void SetUp() override {
    // 'A': five dots over three columns; '1': a single dot.
    rig_.Folder().AddFont("Dot5x7Font.dot",
                          DotFontBytes({{'A', {{0, 0}, {0, 1}, {1, 2}, {2, 1}, {2, 0}}}, {'1', {{3, 5}}}}));
    rig_.S().flags = TEXT_DOT_FONT;
    rig_.S().dotKind = DOT_KIND_DOT_FONT;
    rig_.S().charHeight = 6;
    rig_.S().position = CDoublePoint(0, 10);
  }
  TextRig rig_;
};

TEST_F(DotLayout, CapitalsTakeTheirDotsNearestFirstAndAdvanceByTheirColumns) {
  rig_.Layout("AA");
  const CPointList& p = rig_.Points();
  ASSERT_EQ(p.GetSize(), 10);
  const double q = kPitch6;
  // From the pen's start (0, 4): up the left column, over the top, down the right.
  EXPECT_POINT(p, 0, 0, 4, 0);
  EXPECT_POINT(p, 1, 0, 4 + q, 0);
  EXPECT_POINT(p, 2, q, 4 + 2 * q, 0);
  EXPECT_POINT(p, 3, 2 * q, 4 + q, 0);
  EXPECT_POINT(p, 4, 2 * q, 4, L);
  // Three columns and one pitch of gap.
  EXPECT_POINT(p, 5, 4 * q, 4, 0);
  EXPECT_POINT(p, 9, 6 * q, 4, L);
  // One dot group per character, dots one sixth of the char height.
  ASSERT_EQ(rig_.Text().GetPathData().GetGroupCount(), 2);
  EXPECT_EQ(rig_.Text().GetPathData().GetGroupAt(0)->kind, GROUP_KIND_DOTS);
  EXPECT_FLOAT_EQ(rig_.Text().GetPathData().GetGroupAt(0)->dotSize, 1.0f);
}

TEST_F(DotLayout, OtherBytesLeaveGapsAndSpacingFollowsEveryCharacter) {
  rig_.S().charSpacing = 0.5f;
  rig_.Layout("a-A");
  const CPointList& p = rig_.Points();
  ASSERT_EQ(p.GetSize(), 5);
  const double u = 6 * 0.7142857142857142;
  EXPECT_NEAR(p[0].x, 2 * (u + 0.5), 1e-9);
}

TEST_F(DotLayout, ASingleDotCharacterHasNoLastDotMark) {
  rig_.Layout("1A");
  const CPointList& p = rig_.Points();
  ASSERT_EQ(p.GetSize(), 6);
  EXPECT_POINT(p, 0, 0, 4 + 5 * kPitch6, 0);
  // The single dot joins the next character's group.
  EXPECT_EQ(rig_.Text().GetPathData().GetGroupCount(), 1);
  // Its advance: one column and a gap.
  double left = p[1].x;
  for (int i = 1; i < p.GetSize(); ++i) left = std::min(left, p[i].x);
  EXPECT_NEAR(left, 2 * kPitch6, 1e-9);
}

TEST_F(DotLayout, AMissingFileOrCharacterDrawsNothingAndTakesNoWidth) {
  rig_.Layout("B");
  EXPECT_EQ(rig_.Points().GetSize(), 0);
  EXPECT_EQ(rig_.Text().GetLayoutReport().glyphsMissing, 1);
  rig_.S().dotFontFile = "absent.dot";
  rig_.Layout("AA");
  EXPECT_EQ(rig_.Points().GetSize(), 0);
  EXPECT_TRUE(rig_.Text().GetLayoutReport().fontMissing);
}

TEST_F(DotLayout, ANegativeRadiusTurnsTheTextBeforeBendingIt) {
  rig_.S().arcRadius = -20;
  rig_.Layout("A");
  ASSERT_EQ(rig_.Points().GetSize(), 5);
  // Every dot lies between 20 and 20 + 2 pitches from the centre, the position.
  for (int i = 0; i < 5; ++i) {
    const double r = std::hypot(rig_.Points()[i].x - 0, rig_.Points()[i].y - 10);
    EXPECT_GE(r, 20 - 1e-4);  // the stored degree factor turns by almost 180
    EXPECT_LE(r, 20 + 2 * kPitch6 + 1e-4);
  }
}

TEST(DotFontFile, RecordsAreNeverReadPastTheirEndOrTheFile) {
  Bytes bytes = DotFontBytes({{'A', {{0, 0}}}, {'B', {{1, 1}}}});
  DotFontFile font;
  const auto view = [](const Bytes& b) { return std::string_view(reinterpret_cast<const char*>(b.data()), b.size()); };
  font.Parse(view(bytes));
  ASSERT_NE(font.Find('B'), nullptr);
  // A count beyond the file ends the records; a negative one too.
  Bytes longer = bytes;
  PutU32(longer, 296 + 4, 1000);
  font.Parse(view(longer));
  EXPECT_EQ(font.Find('A'), nullptr);
  EXPECT_EQ(font.RecordCount(), 0);
  PutU32(longer, 296 + 4, 0xFFFFFFFF);
  font.Parse(view(longer));
  EXPECT_EQ(font.RecordCount(), 0);
  // The file cut inside a record.
  font.Parse(view(bytes).substr(0, bytes.size() - 1));
  EXPECT_NE(font.Find('A'), nullptr);
  EXPECT_EQ(font.Find('B'), nullptr);
  // Only the first 36 records count.
  std::vector<DotRecord> many;
  for (int k = 0; k < 40; ++k) many.push_back({static_cast<std::uint8_t>('0' + k), {{0, 0}}});
  font.Parse(view(DotFontBytes(many)));
  EXPECT_NE(font.Find('0' + 35), nullptr);
  EXPECT_EQ(font.Find('0' + 36), nullptr);
}

TEST(HzkFont, GlyphOffsetsFollowTheCodeOrder) {
  EXPECT_EQ(HzkGlyphOffset(*HzkGeometryOf(DOT_KIND_HZK16), 0xB0, 0xA1), 45120);
  EXPECT_EQ(HzkGlyphOffset(*HzkGeometryOf(DOT_KIND_HZK12), 0xA1, 0xA1), 0);
  EXPECT_EQ(HzkGeometryOf(1), nullptr);
  EXPECT_EQ(HzkGeometryOf(6), nullptr);
}

class HzkLayout : public ::testing::Test {
 protected:
  void SetUp() override {
    // 0xB0A1 in HZK16: the top row's outer dots and the bottom row's first.
    std::vector<std::uint8_t> glyph(32, 0);
    glyph[0] = 0x80;
    glyph[1] = 0x01;
    glyph[30] = 0x80;
    WriteHzkFile(rig_.Folder().Path() + "/Fonts/HZK16", 32, {{0xB0A1, glyph}});
    std::vector<std::uint8_t> small(24, 0);
    small[0] = 0x80;
    WriteHzkFile(rig_.Folder().Path() + "/Fonts/hzk12", 24, {{0xB0A1, small}});
    rig_.S().flags = TEXT_DOT_FONT;
    rig_.S().dotKind = DOT_KIND_HZK16;
    rig_.S().charHeight = 15;  // pitch 1 mm
    rig_.S().position = CDoublePoint(0, 15);
  }
  TextRig rig_;
};

TEST_F(HzkLayout, BitsBecomeDotsFromTheTopRowDown) {
  rig_.Layout("\xb0\xa1");
  const CPointList& p = rig_.Points();
  ASSERT_EQ(p.GetSize(), 3);
  // Base line 0: the top row stands 15 pitches up; nearest-first from (0, 0).
  EXPECT_POINT(p, 0, 0, 0, 0);
  EXPECT_POINT(p, 1, 0, 15, 0);
  EXPECT_POINT(p, 2, 15, 15, L);
}

TEST_F(HzkLayout, AdvanceDependsOnWhetherAnAsciiCharacterFollows) {
  rig_.Layout("\xb0\xa1\xb0\xa1");
  EXPECT_NEAR(rig_.Points()[3].x, 18, 1e-9);
  rig_.Layout("\xb0\xa1-\xb0\xa1");
  EXPECT_NEAR(rig_.Points()[3].x, 19 + 15 * 0.7142857142857142, 1e-9);
  rig_.S().dotKind = DOT_KIND_HZK12;
  rig_.S().charHeight = 11;
  rig_.Layout("\xb0\xa1\xb0\xa1");
  EXPECT_NEAR(rig_.Points()[1].x, 14, 1e-9);
  rig_.Layout("\xb0\xa1\x31\xb0\xa1");
  // The digit is looked up in the dot font, which this folder lacks: no width.
  EXPECT_NEAR(rig_.Points()[1].x, 16, 1e-9);
}

TEST_F(HzkLayout, CodesOutsideTheFileOrBelowA1HaveNoDots) {
  rig_.Layout("\xfe\xfe\xa0\xa1\xb0");
  EXPECT_EQ(rig_.Points().GetSize(), 0);
  EXPECT_EQ(rig_.Text().GetLayoutReport().glyphsMissing, 1);
  rig_.S().dotKind = DOT_KIND_HZK24Z;  // no file
  rig_.Layout("\xb0\xa1");
  EXPECT_EQ(rig_.Points().GetSize(), 0);
  EXPECT_TRUE(rig_.Text().GetLayoutReport().fontMissing);
}

}  // namespace
