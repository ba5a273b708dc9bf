// Font files of every kind: headers and their scales, big-font characters and
// subshapes, the built-in diameter sign and star, point-list fonts, and
// damaged or hostile files that must neither crash, hang nor run away.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "tests/text/fonts/shx/ShxExpect.h"
#include "text/fonts/shx/ShxFontCache.h"
#include "text/fonts/shx/ShxTextToStrokes.h"

namespace {

const Bytes kL = {2, 0x84, 1, 0x8C, 0x50, 2, 0x10, 0};
const Bytes kQuestion = {1, 0x14, 0x10, 0};
// A big-font character: 4 right, then back to the start with the pen up.
const Bytes kWide = {1, 0x40, 2, 0x48, 0};
const std::string kHan = "\xB0\xA1";

class ShxFonts : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_.AddFont("main.shx", Shapes86Font({{'L', kL}, {'?', kQuestion}, {'%', {0x10, 0}}}));
    folder_.AddFont("pl.fnt", PointListFont({{'L', {{0, 0, 0}, {1, 1, 1}}}}));
    folder_.AddFont("big.shx", BigFont({{0xB0A1, kWide}}, 28));
  }
  ShxRun Run(const std::string& text, const ShxParams& params = {}, const std::string& main = "main.shx",
             const std::string& big = "big.shx") {
    ShxRun run = RunShx(folder_, text, main, big, params);
    EXPECT_TRUE(run.canariesIntact);
    if (run.returned > 0) {
      EXPECT_EQ(run.returned, run.counted);
    }
    return run;
  }
  TestInstallFolder folder_;
};

TEST_F(ShxFonts, EveryHeaderKindSetsItsOwnScale) {
  // One unit up is the height times a tenth times the font's scale.
  const double unit86 = 28 * 0.1 * 10 / 28;
  EXPECT_NEAR(Run("L").Y(1), 8 * unit86, 1e-9);

  folder_.AddFont("uni.shx", UnifontFont({{'L', kL}}, 20));
  EXPECT_NEAR(Run("L", {}, "uni.shx").Y(1), 8 * 28 * 0.1 * 0.5, 1e-9);
  for (const char* signature : {"AutoCAD-88 shapes 1.0", "AutoCAD-90 shapes 1.0"}) {
    folder_.AddFont("s88.shx", Shapes88Font({{'L', kL}, {'?', kQuestion}}, signature));
    EXPECT_NEAR(Run("L", {}, "s88.shx").Y(1), 8 * 28 * 0.1 * 0.21295, 1e-9) << signature;
  }
  folder_.AddFont("s89.shx", Shapes88Font({{'?', kQuestion}, {'L', kL}}, "AutoCAD-89 shapes 1.0"));
  ShxRun run = Run("L", {}, "s89.shx");
  EXPECT_NEAR(run.Y(1), 8 * 28 * 0.1 * 0.106475, 1e-9);
  EXPECT_EQ(run.status, 0);

  // An unknown signature, and a unifont of height 0, find no character.
  Bytes unknown = Shapes86Font({{'L', kL}});
  unknown[9] = '7';
  folder_.AddFont("unknown.shx", unknown);
  run = Run("L", {}, "unknown.shx");
  EXPECT_EQ(run.Points(), 1);
  EXPECT_EQ(run.status, SHX_GLYPH_MISSING);
  folder_.AddFont("flat.shx", UnifontFont({{'L', kL}}, 0));
  run = Run("L", {}, "flat.shx");
  EXPECT_EQ(run.Points(), 1);
  EXPECT_EQ(run.status, SHX_GLYPH_MISSING);

  // A big font whose header does not carry the 8 finds no character either.
  Bytes bad = BigFont({{0xB0A1, kWide}}, 28);
  PutU16(bad, 25, 9);
  folder_.AddFont("badbig.shx", bad);
  EXPECT_EQ(Run(kHan, {}, "main.shx", "badbig.shx").status, SHX_GLYPH_MISSING);
  folder_.AddFont("flatbig.shx", BigFont({{0xB0A1, kWide}}, 0));
  EXPECT_EQ(Run(kHan, {}, "main.shx", "flatbig.shx").status, SHX_GLYPH_MISSING);
}

TEST_F(ShxFonts, BigFontCharactersAdvanceFromTheirRightmostPoint) {
  ShxParams p;
  p.spacing = 1;
  ShxRun run = Run(kHan + kHan + "L", p);
  EXPECT_EQ(run.status, 0);
  ExpectPoint(run, 1, 4, 0, SHX_PEN_DOWN | SHX_CHAR_FIRST);
  ExpectPoint(run, 2, 0, 0, 0);
  ExpectPoint(run, 3, 5, 0, 0);  // rightmost 4 plus the spacing
  ExpectPoint(run, 4, 9, 0, SHX_PEN_DOWN | SHX_CHAR_FIRST);
  ExpectPoint(run, 6, 10, 0, 0);
  ExpectPoint(run, 7, 10, 8, 0);  // then 'L' from there

  ShxParams wide;
  wide.bigWidth = 0.5;
  wide.mainWidth = 3;
  EXPECT_NEAR(Run(kHan, wide).X(1), 2, 1e-9);

  EXPECT_EQ(Run("\xB0\xA2").status, SHX_GLYPH_MISSING);

  // Without a big font, double-byte characters show as "??" from the main font,
  // a lone lead byte at the end too.
  run = Run("L" + kHan, {}, "main.shx", "none.shx");
  EXPECT_EQ(run.status, SHX_NO_BIG_FONT);
  EXPECT_EQ(run.xy, Run("L??", {}, "main.shx", "none.shx").xy);
  EXPECT_EQ(Run("L\xB0", {}, "main.shx", "none.shx").xy, run.xy);
  // A folder is no font.
  EXPECT_EQ(Run("L", {}, "main.shx", "").status, SHX_NO_BIG_FONT);

  // Without a main font only double-byte characters draw.
  run = Run("L" + kHan, {}, "none.shx");
  EXPECT_EQ(run.status, SHX_NO_MAIN_FONT);
  EXPECT_EQ(run.Points(), 3);
}

TEST_F(ShxFonts, SubshapesComeFromTheBigFontWithTheirOwnPen) {
  // Main glyph: draw 1, subshape 5, draw 1. Subshape: up 1 with the pen up,
  // then draw 1 to the right with the big-font width.
  folder_.AddFont("main.shx", Shapes86Font({{'M', {1, 0x10, 7, 5, 0x10, 0}}, {'N', {1, 7, 9, 0x10, 0}}}));
  folder_.AddFont("big.shx", BigFont({{5, {0x14, 1, 0x10, 0}}}, 28));
  ShxParams p;
  p.bigWidth = 2;
  ShxRun run = Run("M", p);
  EXPECT_EQ(run.status, 0);
  ASSERT_EQ(run.Points(), 5);
  ExpectPoint(run, 1, 1, 0, SHX_PEN_DOWN | SHX_CHAR_FIRST);
  ExpectPoint(run, 2, 1, 1, 0);
  ExpectPoint(run, 3, 3, 1, SHX_PEN_DOWN);
  ExpectPoint(run, 4, 4, 1, SHX_PEN_DOWN);  // the caller's pen is still down

  // A missing subshape is reported and the glyph goes on.
  run = Run("N");
  EXPECT_EQ(run.status, SHX_SUBSHAPE_MISSING | SHX_GLYPH_MISSING);
  ExpectPoint(run, 1, 1, 0, SHX_PEN_DOWN | SHX_CHAR_FIRST);

  // A subshape calling itself fails the text.
  folder_.AddFont("big.shx", BigFont({{5, {7, 5, 0}}}, 28));
  folder_.AddFont("main.shx", Shapes86Font({{'M', {7, 5, 0}}, {'L', kL}}));
  run = Run("LM");
  EXPECT_EQ(run.returned, 0);
  EXPECT_EQ(run.status & SHX_GLYPH_FAILED, SHX_GLYPH_FAILED);

  // So does a shallow tree of subshapes that fans out to billions of calls:
  // subshape k calls subshape k + 1 four times, down to 15.
  std::vector<TestGlyph> tree;
  for (std::uint8_t k = 1; k < 15; ++k) {
    const std::uint8_t c = k + 1;
    tree.push_back({k, {7, c, 7, c, 7, c, 7, c, 0}});
  }
  tree.push_back({15, {2, 0}});
  folder_.AddFont("big.shx", BigFont(tree, 28));
  folder_.AddFont("main.shx", Shapes86Font({{'X', {7, 1, 0}}}));
  run = Run(std::string(200, 'X'));
  EXPECT_EQ(run.status & SHX_GLYPH_FAILED, SHX_GLYPH_FAILED);
}

TEST_F(ShxFonts, PercentSequencesDrawTheDiameterSignAndTheStar) {
  // The diameter sign's 6 units make the text height, whatever the font kind.
  const double u = 28 * 0.1 * 1.6666666666667;
  ShxRun run = Run("%%cL");
  ExpectPoint(run, 1, 0, 4 * u, 0, 1e-9);
  ExpectPoint(run, 2, u, 5 * u, SHX_PEN_DOWN | SHX_CHAR_FIRST, 1e-9);
  const int afterSign = run.Points() - 4;  // 'L' follows 6 units on
  ExpectPoint(run, afterSign, 6 * u, 8, 0, 1e-9);
  folder_.AddFont("uni.shx", UnifontFont({{'L', kL}}, 28));
  ShxRun uni = Run("%%C", {}, "uni.shx");
  ASSERT_EQ(uni.Points(), run.Points() - 4);
  ExpectPoint(uni, 2, u, 5 * u, SHX_PEN_DOWN | SHX_CHAR_FIRST, 1e-9);

  // The star: eleven points in hundredths of the height, then a 120 advance.
  ShxParams p;
  p.spacing = 1;
  run = Run("%%*L", p);
  const double s = 28 * 0.01;
  ExpectPoint(run, 1, 50 * s, 97.7233 * s, 0, 1e-9);
  ExpectPoint(run, 2, 38.213016 * s, 61.446692 * s, SHX_PEN_DOWN | SHX_CHAR_FIRST, 1e-9);
  ExpectPoint(run, 11, 50 * s, 97.7233 * s, SHX_PEN_DOWN, 1e-9);
  ExpectPoint(run, 12, 120 * s, 0, 0, 1e-9);
  ExpectPoint(run, 13, 120 * s + 1, 8, 0, 1e-9);

  // Anything else after two percent signs: the signs are characters.
  run = Run("%%x");
  EXPECT_EQ(run.status, SHX_GLYPH_MISSING);
  ASSERT_EQ(run.Points(), 3);
  ExpectPoint(run, 2, 2, 0, 0);
  EXPECT_EQ(Run("%%").Points(), 3);
}

TEST_F(ShxFonts, PointListFontsStandInForMissingShapeFonts) {
  folder_.AddFont("pl.fnt", PointListFont({{'A', {{0, 0, 0}, {1, 1, 1}}}}));  // in place of the fixture's
  ShxParams p;
  p.height = 10;
  ShxRun run = Run("A AZ", p, "pl.shx");
  EXPECT_EQ(run.status, 0);  // 'Z' is not in the table: nothing drawn, no fault
  ASSERT_EQ(run.Points(), 5);
  ExpectPoint(run, 1, 0, 0, 0);
  ExpectPoint(run, 2, 2, 2, SHX_PEN_DOWN | SHX_CHAR_FIRST);
  ExpectPoint(run, 3, 9.6, 0, 0);  // after the last x, a space of 0.76 of the height
  ExpectPoint(run, 4, 11.6, 2, SHX_PEN_DOWN | SHX_CHAR_FIRST);

  p.rotation = 90;
  run = Run("A", p, "pl.shx");
  ExpectPoint(run, 2, -2, 2, SHX_PEN_DOWN | SHX_CHAR_FIRST, 1e-4);

  // A name without ".shx" falls back to the file named ".fnt".
  folder_.AddFont(".fnt", PointListFont({{'A', {{0, 0, 0}}}}));
  EXPECT_EQ(Run("A", p, "plain").Points(), 2);

  // A glyph claiming more points than its file holds counts only those there.
  Bytes lying = PointListFont({{'A', {{0, 0, 0}, {1, 1, 1}}}});
  PutU32(lying, 9352, 0x7FFFFFFF);
  folder_.AddFont("lying.fnt", lying);
  run = Run("AA", {}, "lying.shx");
  EXPECT_EQ(run.counted, 10);
}

// Every prefix of a good font file: no crash, no write beyond the capacity,
// and both passes agree.
TEST_F(ShxFonts, TruncatedFilesRenderWhatTheyHold) {
  const std::vector<TestGlyph> glyphs = {{'L', kL}, {'A', {1, 10, 3, 0x04, 12, 4, 4, 40, 0}}, {'?', kQuestion}};
  const std::vector<std::pair<std::string, Bytes>> fonts = {
      {"main.shx", Shapes86Font(glyphs)},
      {"main.shx", Shapes88Font(glyphs)},
      {"main.shx", UnifontFont(glyphs, 10)},
      {"big.shx", BigFont({{0xB0A1, kWide}, {0xB0A2, {1, 7, 3, 0x10, 0}}, {3, {0x14, 0}}}, 10)},
      {"main.fnt", PointListFont({{'L', {{0, 0, 0}, {1, 0, 1}, {1, 1, 1}}}})},
  };
  for (const auto& [name, bytes] : fonts) {
    SetUp();
    const bool pointList = name == "main.fnt";
    for (std::size_t cut = 0; cut < bytes.size(); cut += (cut < 300 || cut + 300 > bytes.size() ? 1 : 97)) {
      const Bytes part(bytes.begin(), bytes.begin() + static_cast<long>(cut));
      folder_.AddFont(pointList ? "none.fnt" : name, part);
      ShxRun run = Run("LA?" + kHan + "\xB0\xA2", {}, pointList ? "none.shx" : "main.shx");
      ASSERT_TRUE(run.canariesIntact) << name << " cut at " << cut;
      if (HasFailure()) FAIL() << name << " cut at " << cut;
    }
  }
}

TEST_F(ShxFonts, HostileFontsAreBounded) {
  // A scale blown up beyond any number: abandoned, never an infinite point.
  Bytes huge;
  for (int i = 0; i < 200; ++i) huge.insert(huge.end(), {4, 255});
  huge.insert(huge.end(), {1, 0x10, 0});
  folder_.AddFont("main.shx", Shapes86Font({{'H', huge}}));
  ShxRun run = Run("H");
  EXPECT_EQ(run.returned, 0);
  EXPECT_EQ(run.status, SHX_GLYPH_FAILED);

  // An arc of the largest radius at a large height still ends.
  folder_.AddFont("main.shx", Shapes86Font({{'R', {4, 255, 11, 0, 0, 255, 255, 0x04, 0}}}));
  ShxParams tall;
  tall.height = 1000;
  run = Run("RR", tall);
  for (double v : run.xy) EXPECT_TRUE(std::isfinite(v));

  // A text whose points pass the bound of one call is abandoned.
  Bytes many(10000, 0x10);
  many.push_back(0);
  folder_.AddFont("main.shx", Shapes86Font({{'V', many}}));
  run = Run(std::string(300, 'V'));
  EXPECT_EQ(run.returned, 0);
  EXPECT_EQ(run.status, SHX_GLYPH_FAILED);
  EXPECT_LE(run.counted, kShxMaxOutputDoubles);

  // Index lengths and counts far beyond the file.
  Bytes liar = Shapes86Font({{'L', kL}});
  PutU16(liar, 40, 0xFFFF);
  folder_.AddFont("main.shx", liar);
  run = Run("L");
  EXPECT_EQ(run.status, 0);
  Bytes counted = Shapes88Font({{'L', kL}});
  PutU16(counted, 28, 0xFFFF);
  folder_.AddFont("main.shx", counted);
  EXPECT_EQ(Run("L").status, SHX_GLYPH_MISSING);
  Bytes bigLiar = BigFont({{0xB0A1, kWide}}, 28);
  PutU16(bigLiar, 27, 0xFFFF);
  PutU16(bigLiar, 29, 0xFFFF);
  folder_.AddFont("big.shx", bigLiar);
  Run(kHan);
}

}  // namespace

namespace {

// Both passes over fonts a cache keeps: the points, and which fonts the text lacked.
struct CachedRun {
  std::vector<double> xy;
  int status = 0;
  ShxFontsLacking lacking;
};

CachedRun RunCached(ShxFontCache& fonts, const std::string& text, const std::string& main, const std::string& big) {
  CachedRun run;
  ShxLayout layout;
  layout.height = 28;
  int count = 0;
  ShxTextToStrokesWith(fonts, text, main, big, layout, false, nullptr, nullptr, &count, &run.status, &run.lacking);
  run.xy.assign(static_cast<std::size_t>(count), 0);
  std::vector<std::uint8_t> flags(static_cast<std::size_t>(count / 2 + 1));
  int room = count;
  const int written =
      ShxTextToStrokesWith(fonts, text, main, big, layout, false, run.xy.data(), flags.data(), &room, &run.status);
  run.xy.resize(static_cast<std::size_t>(written));
  return run;
}

TEST_F(ShxFonts, ACacheReadsEachFileOnceForAllItsCalls) {
  ShxFontCache fonts(folder_.Path());
  const CachedRun first = RunCached(fonts, "L" + kHan, "main.shx", "big.shx");
  EXPECT_EQ(first.xy, Run("L" + kHan).xy);
  // Gone from the folder, the fonts still draw from the files the cache holds.
  std::filesystem::remove_all(folder_.Path() + "/Fonts");
  const CachedRun again = RunCached(fonts, "L" + kHan, "main.shx", "big.shx");
  EXPECT_EQ(again.xy, first.xy);
  EXPECT_EQ(again.status, 0);
  EXPECT_EQ(fonts.FilesLookedFor(), 2);
  // A name that did not open is not looked for again either.
  RunCached(fonts, "L", "absent.shx", "big.shx");
  RunCached(fonts, "L", "absent.shx", "big.shx");
  EXPECT_EQ(fonts.FilesLookedFor(), 4);  // absent.shx and its stand-in absent.fnt
}

struct LackingCase {
  const char* text;
  const char* main;
  const char* big;
  bool mainLacking;
  bool bigLacking;
};

class ShxLacking : public ShxFonts, public ::testing::WithParamInterface<LackingCase> {};

// A font counts as lacking only where a character of the text needed it.
TEST_P(ShxLacking, NamesOnlyTheFontsTheTextNeeded) {
  const LackingCase& c = GetParam();
  ShxFontCache fonts(folder_.Path());
  const CachedRun run = RunCached(fonts, c.text, c.main, c.big);
  EXPECT_EQ(run.lacking.main, c.mainLacking);
  EXPECT_EQ(run.lacking.big, c.bigLacking);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ShxLacking,
    ::testing::Values(LackingCase{"L", "main.shx", "absent.shx", false, false},
                      LackingCase{"L", "absent.shx", "big.shx", true, false},
                      LackingCase{"\xB0\xA1", "absent.shx", "big.shx", false, false},
                      LackingCase{"L\xB0\xA1", "main.shx", "absent.shx", false, true},
                      // Without a big font the character falls back on the main font: both lack.
                      LackingCase{"\xB0\xA1", "absent.shx", "absent.shx", true, true},
                      // The star and the diameter sign are the engine's own.
                      LackingCase{"%%*%%c", "absent.shx", "absent.shx", false, false},
                      LackingCase{"L", "pl.shx", "absent.shx", false, false}));

}  // namespace
