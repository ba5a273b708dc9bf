// SHX texts rendered for the plotter head from fonts built byte by byte.
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "libs/ravelpen/CAutoCadDxfFileFormat.h"
#include "tests/libs/ravelpen/PlotterFixture.h"
#include "tests/text/fonts/shx/ShxTestFonts.h"

namespace {

using ravelpen::TextPoint;

// "L": pen up, 8 north; pen down, 8 south, 5 east; pen up, 1 east.
const Bytes kL = {2, 0x84, 1, 0x8C, 0x50, 2, 0x10, 0};
// A big-font character: 4 east with the pen down, then back with it up.
const Bytes kWide = {1, 0x40, 2, 0x48, 0};

class PlotterText : public PlotterTest {
 protected:
  void SetUp() override {
    PlotterTest::SetUp();
    setenv("VENDRIK_MARKFONTS_DIR", folder_.Path().c_str(), 1);
    folder_.AddFont("ROMANS.SHX", Shapes86Font({{'L', kL}}));
    folder_.AddFont("Hzfs.shx", BigFont({{0xB0A1, kWide}}, 10));
  }
  void TearDown() override {
    unsetenv("VENDRIK_MARKFONTS_DIR");
    PlotterTest::TearDown();
  }
  std::vector<TextPoint> Render(const char* text, double height = 28, double angle = 0, double width = 1) {
    std::vector<TextPoint> points;
    last_ = ravelpen::BuildTextMoves(points, 1, 2, height, angle, width, text, 0);
    return points;
  }
  TestInstallFolder folder_;
  int last_ = 0;
};

TEST_F(PlotterText, ShapesFontVectorsScaleByHeightAndFontSize) {
  // Height 28 in a shapes font: one vector unit is 28 * 0.1 * 10 / 28 = 1 mm.
  const auto points = Render("L");
  ASSERT_EQ(last_, 1);
  ASSERT_EQ(points.size(), 5u);
  EXPECT_EQ(points[0].flags, 0);
  EXPECT_DOUBLE_EQ(points[0].x, 1);
  EXPECT_NEAR(points[1].y, 2 + 8, 1e-5);
  EXPECT_EQ(points[1].flags, 0);
  EXPECT_NEAR(points[2].y, 2, 1e-5);
  EXPECT_EQ(points[2].flags, ravelpen::kTextPenDown);
  EXPECT_NEAR(points[3].x, 1 + 5, 1e-5);
  EXPECT_NEAR(points[4].x, 1 + 6, 1e-5);
  EXPECT_EQ(points[4].flags, 0);
}

TEST_F(PlotterText, AngleTurnsAboutTheStartAndWidthStretchesOnlyX) {
  const auto turned = Render("L", 28, 90);
  EXPECT_NEAR(turned[3].x, 1, 1e-5) << "drawn to the right becomes drawn upward";
  EXPECT_NEAR(turned[3].y, 2 + 5, 1e-5);
  const auto wide = Render("L", 28, 0, 2);
  EXPECT_NEAR(wide[3].x, 1 + 10, 1e-5);
  EXPECT_NEAR(wide[1].y, 2 + 8, 1e-5);
}

TEST_F(PlotterText, BigFontCharactersAndTheirAbsence) {
  // Big font height 10: scale 1.1 of a 10-unit text; height 10 gives k 1.
  auto points = Render("L\xB0\xA1", 10);
  ASSERT_EQ(last_, 1);
  const double unit = 10 * 0.1 * 10.0 / 28;
  const double afterL = 1 + 6 * unit;
  EXPECT_NEAR(points[5].x, afterL + 4 * 1.1, 1e-4);
  EXPECT_EQ(points[5].flags, ravelpen::kTextPenDown);

  std::filesystem::remove(folder_.Path() + "/Fonts/Hzfs.shx");
  points = Render("L\xB0\xA1", 10);
  EXPECT_EQ(last_, 1);
  EXPECT_EQ(points.size(), 5u) << "only the L";
  points = Render("\x01\x02\x1F");
  EXPECT_EQ(points.size(), 1u) << "control characters leave the start point alone";
}

TEST_F(PlotterText, CharactersStartAgainOnTheBaseLine) {
  folder_.AddFont("ROMANS.SHX", Shapes86Font({{'A', {1, 0x12, 0}}}));
  const auto points = Render("AA");
  ASSERT_EQ(points.size(), 3u);
  EXPECT_NEAR(points[2].y, 2 + 1, 1e-5) << "the second A starts at y 2 again";
  EXPECT_NEAR(points[2].x, 1 + 2, 1e-5) << "and where the first one ended in x";
}

TEST_F(PlotterText, DamagedGlyphsStopTheTextWithTheirMessage) {
  folder_.AddFont("ROMANS.SHX", Shapes86Font({{'P', {5, 5, 5, 5, 5, 0}}, {'D', {3, 0, 0}}, {'U', {6, 0}}}));
  Render("P");
  EXPECT_EQ(last_, 0);
  Render("D");
  EXPECT_EQ(last_, 0);
  Render("U");
  EXPECT_EQ(last_, 0);
  EXPECT_EQ(prompt_->Texts(), (std::vector<std::string>{"栈上溢!!!", "字体文件错误!!!", "栈下溢!!!"}));
}

TEST_F(PlotterText, SubshapesAreBoundedAndMissingOnesAreSkipped) {
  // A big-font character that calls a missing subshape, then draws; one that
  // calls itself for ever; one whose subshape calls itself eight times over,
  // which would run for ages and tell the operator at every call.
  Bytes fanOut;
  for (int k = 0; k < 8; ++k) fanOut.insert(fanOut.end(), {7, 0x45});
  fanOut.push_back(0);
  folder_.AddFont("Hzfs.shx", BigFont({{0xB0A1, {7, 0x33, 1, 0x40, 0}},
                                       {0x0044, {7, 0x44, 0}},
                                       {0xB0A2, {7, 0x44, 0}},
                                       {0x0045, fanOut},
                                       {0xB0A3, {7, 0x45, 0}}},
                                      10));
  auto points = Render("\xB0\xA1", 10);
  EXPECT_EQ(last_, 1);
  EXPECT_EQ(prompt_->Texts().front(), "字型调用出错!!!");
  EXPECT_EQ(points.size(), 2u) << "the rest of the glyph is drawn";
  for (const char* runaway : {"\xB0\xA2", "\xB0\xA3"}) {
    prompt_->Clear();
    Render(runaway, 10);
    EXPECT_EQ(last_, 0) << "the glyph fails";
    EXPECT_EQ(prompt_->Texts(), std::vector<std::string>{"字型调用出错!!!"}) << "told once";
  }
}

TEST_F(PlotterText, ATextOfMorePointsThanAnyMarkingNeedsFailsOnce) {
  // Each glyph draws 500 x 900 single steps through a subshape; five of them
  // would be 2.25 million points.
  Bytes steps(900, 0x10);
  steps.push_back(0);
  Bytes glyph;
  for (int k = 0; k < 500; ++k) glyph.insert(glyph.end(), {7, 0x46});
  glyph.push_back(0);
  folder_.AddFont("Hzfs.shx", BigFont({{0x0046, steps}, {0xB0A4, glyph}}, 10));
  const auto points = Render("\xB0\xA4\xB0\xA4\xB0\xA4\xB0\xA4\xB0\xA4", 10);
  EXPECT_EQ(last_, 0);
  // The move to the start, then the points a text may have.
  EXPECT_EQ(points.size(), 1 + ravelpen::CAutoCadDxfFileFormat::kTextPointsMax);
  EXPECT_EQ(prompt_->Texts(), std::vector<std::string>{"内存不够"});
}

TEST_F(PlotterText, PrinterTextAppendsTheRenderedMoves) {
  SetTextPara(28, 0, 1);
  ASSERT_EQ(PrinterText(-40, 30, "L", 0), 1);
  EXPECT_EQ(ravelpen::Moves().Size(), 5u);
  ravelpen::Moves().Clear();
  std::filesystem::remove(folder_.Path() + "/Fonts/ROMANS.SHX");
  std::filesystem::remove(folder_.Path() + "/Fonts/Hzfs.shx");
  EXPECT_EQ(PrinterText(-40, 30, "L", 0), 0) << "no font at all";
  EXPECT_TRUE(ravelpen::Moves().Empty());
}

TEST_F(PlotterText, DamagedFontFilesAreRefusedNotRead) {
  Bytes font = Shapes86Font({{'L', kL}});
  for (std::size_t cut : {std::size_t{10}, std::size_t{31}, font.size() - 3}) {
    folder_.AddFont("ROMANS.SHX", Bytes(font.begin(), font.begin() + static_cast<long>(cut)));
    Render("LLL");  // must neither crash nor read past the file
  }
  Bytes big = BigFont({{0xB0A1, kWide}}, 10);
  PutU32(big, 35 + 8 + 4, 0xFFFFFFF0u);  // the character's record lies past the end
  folder_.AddFont("Hzfs.shx", big);
  const auto points = Render("\xB0\xA1", 10);
  EXPECT_EQ(points.size(), 1u);
}

// Font folders of 1 to 4 characters: only the root "/" ends in its own
// separator; any other folder, however short, gets one before "Fonts".
struct FontFolderCase {
  const char* relative;
  const char* absolute;  // as long as the relative one
  const char* absolutePath;
};

class FontFolderLength : public PlotterTest, public ::testing::WithParamInterface<FontFolderCase> {};

TEST_P(FontFolderLength, AbsoluteFolderPathsKeepTheirSeparator) {
  EXPECT_EQ(ravelpen::MarkFontPath(GetParam().absolute, "ROMANS.SHX"), GetParam().absolutePath);
}

TEST_P(FontFolderLength, PrinterTextFindsTheFontsOfARelativeFolder) {
  TestInstallFolder base;
  const std::string folder = GetParam().relative;
  std::filesystem::create_directories(base.Path() + "/" + folder + "/Fonts");
  const Bytes font = Shapes86Font({{'L', kL}});
  std::ofstream(base.Path() + "/" + folder + "/Fonts/ROMANS.SHX", std::ios::binary)
      .write(reinterpret_cast<const char*>(font.data()), static_cast<std::streamsize>(font.size()));
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(base.Path());
  setenv("VENDRIK_MARKFONTS_DIR", folder.c_str(), 1);
  SetTextPara(28, 0, 1);
  const int printed = PrinterText(-40, 30, "L", 0);
  unsetenv("VENDRIK_MARKFONTS_DIR");
  std::filesystem::current_path(previous);
  EXPECT_EQ(printed, 1) << folder;
  EXPECT_EQ(ravelpen::Moves().Size(), 5u);
}

INSTANTIATE_TEST_SUITE_P(OneToFourCharacters, FontFolderLength,
                         ::testing::Values(FontFolderCase{"a", "/", "/Fonts/ROMANS.SHX"},
                                           FontFolderCase{"ab", "/a", "/a/Fonts/ROMANS.SHX"},
                                           FontFolderCase{"abc", "/ab", "/ab/Fonts/ROMANS.SHX"},
                                           FontFolderCase{"abcd", "/abc", "/abc/Fonts/ROMANS.SHX"}),
                         [](const auto& info) { return std::to_string(std::strlen(info.param.relative)); });

}  // namespace
