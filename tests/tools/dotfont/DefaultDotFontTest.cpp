// The dot fonts the build makes, installed as the run script installs them
// and drawn by a new text in each dot kind: every character has dots, stands
// on the base line within the char height and ends before the next one
// starts, and the codes find their own glyphs.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "document/path/CStrokeGroup.h"
#include "tests/text/layout/TextTestSupport.h"

namespace {

Bytes DefaultFont(const std::string& name) {
  std::ifstream in(std::string(VENDRIK_DEFAULT_FONTS_DIR) + "/" + name, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool Made(const std::string& name) {
  std::stringstream list(VENDRIK_DOT_FONTS_MADE);
  for (std::string made; std::getline(list, made, '|');) {
    if (made == name) return true;
  }
  return false;
}

struct DotKindCase {
  int kind;
  const char* font;
  double charHeight;  // one dot pitch to the millimetre
  double advance;     // pitches from one Chinese character to the next
};

std::ostream& operator<<(std::ostream& out, const DotKindCase& c) { return out << c.font; }

const std::string kChinese = "\xB0\xA1\xC4\xE3\xBA\xC3";  // 啊你好
const std::string kYi = "\xD2\xBB";                       // 一, one horizontal stroke
const std::string kGun = "\xD8\xAD";                      // 丨, one vertical stroke

// A new text in the dot kind, with the font installed; it names the dot
// font itself.
class DefaultDotFont : public ::testing::Test {
 protected:
  void Install(const DotKindCase& c) {
    if (!Made(c.font)) GTEST_SKIP() << c.font << " is not made: its source package is not installed";
    const Bytes font = DefaultFont(c.font);
    ASSERT_FALSE(font.empty()) << c.font << " was to be made";
    rig_.Folder().AddFont(c.font, font);
    rig_.S().flags = TEXT_DOT_FONT;
    rig_.S().dotKind = c.kind;
    rig_.S().charHeight = static_cast<float>(c.charHeight);
    rig_.S().position = CDoublePoint(0, c.charHeight);  // base line y = 0
  }

  // Lays the text out; every character has dots and a group of its own,
  // between the base line and the char height.
  void Draw(const std::string& text, int characters) {
    rig_.Layout(text);
    const TextLayoutReport& report = rig_.Text().GetLayoutReport();
    EXPECT_TRUE(report.missingFonts.empty());
    EXPECT_FALSE(report.fontMissing);
    EXPECT_EQ(report.glyphsMissing, 0);
    ASSERT_EQ(rig_.Text().GetPathData().GetGroupCount(), characters);
    const CPointList& p = rig_.Points();
    for (int i = 0; i < p.GetSize(); ++i) {
      EXPECT_GE(p[i].y, -1e-6) << "dot " << i << " below the base line";
      EXPECT_LE(p[i].y, rig_.S().charHeight + 1e-6) << "dot " << i << " above the char height";
    }
  }
  CDoubleRect Bounds(int group) { return rig_.Text().GetPathData().GetGroupAt(group)->GetBoundRect(); }

  TextRig rig_;
};

TEST_F(DefaultDotFont, DigitsAndCapitalsAreFiveBySevenDots) {
  Install({DOT_KIND_DOT_FONT, "Dot5x7Font.dot", 6, 0});
  if (IsSkipped() || HasFatalFailure()) return;
  const std::string all = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  Draw(all, static_cast<int>(all.size()));
  if (HasFatalFailure()) return;
  double top = 0;
  for (int i = 0; i < static_cast<int>(all.size()); ++i) {
    SCOPED_TRACE(std::string(1, all[static_cast<std::size_t>(i)]));
    const CDoubleRect r = Bounds(i);
    EXPECT_LE(r.right - r.left, 4 + 1e-6);
    top = std::max(top, r.top);
    if (i > 0) {
      EXPECT_GE(r.left - Bounds(i - 1).right, 1 - 1e-6);
    }
  }
  EXPECT_NEAR(top, 6, 1e-6) << "seven rows span the char height";
}

class DefaultHzkFont : public DefaultDotFont, public ::testing::WithParamInterface<DotKindCase> {
 protected:
  void SetUp() override { Install(GetParam()); }
};

TEST_P(DefaultHzkFont, ChineseCharactersFillTheirCellsAndKeepAGap) {
  const double h = GetParam().charHeight;
  Draw(kChinese, 3);
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE("character " + std::to_string(i));
    const CDoubleRect r = Bounds(i);
    const double pen = i * GetParam().advance;
    EXPECT_GE(r.left, pen - 1e-6);
    EXPECT_LE(r.right, pen + GetParam().advance - 2 + 1e-6) << "at least one free pitch before the next";
    EXPECT_GT(r.top - r.bottom, 0.65 * h);
    EXPECT_GT(r.right - r.left, 0.6 * h);
  }
}

TEST_P(DefaultHzkFont, EachCodeFindsItsOwnGlyph) {
  const double h = GetParam().charHeight;
  Draw(kYi, 1);
  CDoubleRect r = Bounds(0);
  EXPECT_LE(r.top - r.bottom, 2 + 1e-6) << "a row, with a serif or a brush's swell";
  EXPECT_GT(r.right - r.left, 0.6 * h);
  Draw(kGun, 1);
  r = Bounds(0);
  EXPECT_LE(r.right - r.left, 2 + 1e-6) << "a column, a brush's lean at most";
  EXPECT_GT(r.top - r.bottom, 0.6 * h);
}

INSTANTIATE_TEST_SUITE_P(MadeByTheBuild, DefaultHzkFont,
                         ::testing::Values(DotKindCase{DOT_KIND_HZK12, "HZK12", 11, 14},
                                           DotKindCase{DOT_KIND_HZK16, "HZK16", 15, 18},
                                           DotKindCase{DOT_KIND_HZK24F, "HZK24F", 23, 27},
                                           DotKindCase{DOT_KIND_HZK24Z, "HZK24Z", 23, 19}),
                         [](const auto& info) { return std::string(info.param.font); });

}  // namespace
