// The default big font "Xc18.shx" the build makes: the engine reads it, it
// draws every GB2312 character the outline face has, a Chinese character
// stands in a square of the text height on the base line beside the main
// font's capitals, and the build makes the same file every time.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "document/path/CStrokeGroup.h"
#include "tests/text/layout/TextTestSupport.h"
#include "text/fonts/shx/ShxTextToStrokes.h"
#include "tools/bigfont/BigFontConverter.h"

namespace {

Bytes DefaultFont(const std::string& name) {
  std::ifstream in(std::string(VENDRIK_DEFAULT_FONTS_DIR) + "/" + name, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Code page 936 bytes of the character.
std::string Gbk(std::uint16_t code) { return {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)}; }

const std::string kNi = "\xC4\xE3";   // 你
const std::string kHao = "\xBA\xC3";  // 好

TEST(DefaultBigFont, DrawsEveryCharacterOfTheRangeTheFaceHas) {
  TestInstallFolder folder;
  folder.AddFont("Xc18.shx", DefaultFont("Xc18.shx"));
  std::vector<std::string> texts(1);
  int characters = 0;
  for (const Gb2312Character& c : Gb2312Characters()) {
    // A call takes at most 1023 bytes.
    if (texts.back().size() >= 1000) texts.emplace_back();
    texts.back() += Gbk(c.code);
    ++characters;
  }
  int drawn = 0, missing = 0;
  for (const std::string& text : texts) {
    const ShxRun run = RunShx(folder, text, "KelTxt2.shx", "Xc18.shx");
    EXPECT_EQ(run.status & ~(SHX_NO_MAIN_FONT | SHX_GLYPH_MISSING), 0);
    if (run.status & SHX_GLYPH_MISSING) ++missing;
    drawn += static_cast<int>(std::count_if(run.flags.begin(), run.flags.end(),
                                            [](std::uint8_t f) { return (f & SHX_CHAR_FIRST) != 0; }));
  }
  EXPECT_EQ(missing, 0);
  // All but the ideographic space.
  EXPECT_EQ(drawn, characters - 1);
}

// A text laid out as a new text is, with the default fonts installed.
class DefaultFontsText : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"KelTxt2.shx", "Xc18.shx"}) rig_.Folder().AddFont(name, DefaultFont(name));
    rig_.S().strokeFontPair = "KelTxt2+Xc18";
    rig_.S().charHeight = kHeight;
  }
  CDoubleRect GroupBounds(int i) { return rig_.Text().GetPathData().GetGroupAt(i)->GetBoundRect(); }

  static constexpr double kHeight = 10;
  TextRig rig_;  // the text's first line stands on y = 50 - kHeight from x = 10
};

constexpr double kLeft = 10;
constexpr double kBase = 40;

TEST_F(DefaultFontsText, ChineseCharactersStandInSquaresOfTheTextHeight) {
  rig_.Layout(kNi + kHao);
  EXPECT_TRUE(rig_.Text().GetLayoutReport().missingFonts.empty());
  ASSERT_EQ(rig_.Text().GetPathData().GetGroupCount(), 2);
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE("character " + std::to_string(i));
    const CDoubleRect r = GroupBounds(i);
    const double cellLeft = kLeft + i * kHeight;
    EXPECT_GE(r.left, cellLeft);
    EXPECT_LE(r.right, cellLeft + kHeight);
    EXPECT_GT(r.right - r.left, 0.8 * kHeight);
    EXPECT_GE(r.bottom, kBase - 0.05 * kHeight);
    EXPECT_LE(r.top, kBase + kHeight);
    EXPECT_GT(r.top - r.bottom, 0.85 * kHeight) << "as tall as a capital, near enough";
  }
}

TEST_F(DefaultFontsText, AsciiAmongChineseKeepsTheMainFont) {
  rig_.Layout("H");
  const CDoubleRect capital = GroupBounds(0);
  EXPECT_NEAR(capital.top - capital.bottom, kHeight, 1e-9);
  const CPointList western = rig_.Points();
  const double advance = western[western.GetSize() - 1].x;

  rig_.Layout("H" + kNi + "H");
  EXPECT_TRUE(rig_.Text().GetLayoutReport().missingFonts.empty());
  ASSERT_EQ(rig_.Text().GetPathData().GetGroupCount(), 3);
  // The H comes out as it does alone, from the main font.
  for (int i = 0; i < western.GetSize(); ++i) {
    EXPECT_DOUBLE_EQ(rig_.Points()[i].x, western[i].x) << i;
    EXPECT_DOUBLE_EQ(rig_.Points()[i].y, western[i].y) << i;
  }
  const CDoubleRect chinese = GroupBounds(1);
  EXPECT_GE(chinese.left, advance);
  EXPECT_LE(chinese.right, advance + kHeight);
  EXPECT_NEAR(chinese.top, capital.top, 0.1 * kHeight) << "tops near the capitals'";
  const CDoubleRect after = GroupBounds(2);
  EXPECT_GE(after.left, advance + kHeight) << "the H after it starts a square further";
  EXPECT_NEAR(after.top - after.bottom, kHeight, 1e-9);
}

TEST(DefaultBigFont, TheBuildMakesWhatTheConverterMakesEveryTime) {
  // The build's faces: file and face index, each followed by "|".
  std::vector<OutlineFaceSource> faces;
  std::stringstream list(VENDRIK_BIG_FONT_FACES);
  for (std::string path, index; std::getline(list, path, '|') && std::getline(list, index, '|');)
    faces.push_back({path, std::stoi(index)});
  Bytes first, second;
  BigFontReport report;
  std::string error;
  ASSERT_TRUE(ConvertToBigFont(faces, Gb2312Characters(), BigFontSettings{}, first, report, error)) << error;
  ASSERT_TRUE(ConvertToBigFont(faces, Gb2312Characters(), BigFontSettings{}, second, report, error)) << error;
  EXPECT_TRUE(first == second);
  EXPECT_TRUE(first == DefaultFont("Xc18.shx"));
  // A few megabytes at most.
  EXPECT_LT(first.size(), 3u << 20);
}

}  // namespace
