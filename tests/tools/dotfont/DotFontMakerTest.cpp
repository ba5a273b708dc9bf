// The dot font maker: where a face's pixels land in a ".dot" record and in
// the cell of an HZK file (code order, rows top first, bit 7 leftmost), how
// a face's glyphs are placed in the cell, and what is left out or refused.
#include <gtest/gtest.h>

#include <bitset>
#include <numeric>
#include <string_view>

#include "text/fonts/dot/DotFontFile.h"
#include "tools/dotfont/DotFontMaker.h"
#include "tools/dotfont/HzkFontMaker.h"

namespace {

constexpr int kHzk12 = 2;  // dot kinds
constexpr int kHzk16 = 3;

InkGlyph Ink(std::initializer_list<InkPixel> pixels) { return InkGlyph{pixels}; }

int SetBits(const std::vector<std::uint8_t>& bytes) {
  return std::accumulate(bytes.begin(), bytes.end(), 0,
                         [](int n, std::uint8_t b) { return n + static_cast<int>(std::bitset<8>(b).count()); });
}

TEST(HzkFontMaker, PixelsLandInTheirCodesCellTopRowFirstLeftmostInBitSeven) {
  // HZK16: 16 rows of two bytes. The character's ink fills the cell, so its
  // top left pixel (0, 15) is the cell's first dot.
  const std::vector<std::pair<std::uint16_t, InkGlyph>> glyphs = {
      {0xA1A2, Ink({{0, 15}})},
      {0xB0A1, Ink({{0, 15}, {9, 15}, {15, 0}, {3, 8}})},
  };
  const std::vector<std::uint8_t> bytes = MakeHzkFont(*HzkGeometryOf(kHzk16), glyphs);
  // Whole rows of 94 cells up to the row of 0xB0.
  ASSERT_EQ(bytes.size(), 16u * 94 * 32);
  EXPECT_EQ(bytes[32], 0x80) << "0xA1A2 is the second cell";
  const std::size_t at = 45120;  // 0xB0A1: (0xB0 - 0xA1) x 94 cells of 32 bytes
  EXPECT_EQ(bytes[at], 0x80);
  EXPECT_EQ(bytes[at + 1], 0x40) << "the tenth column is the second byte's bit 6";
  EXPECT_EQ(bytes[at + 2 * 7], 0x10) << "eight rows above the base line is the eighth row from the top";
  EXPECT_EQ(bytes[at + 31], 0x01) << "the bottom row is the last";
  EXPECT_EQ(SetBits(bytes), 5);
}

TEST(HzkFontMaker, InkOutsideTheCellIsCutOff) {
  // HZK12: twelve columns of the sixteen bits of a row. The 13th column of
  // the box would set bit 3 of the row's second byte.
  const std::vector<std::pair<std::uint16_t, InkGlyph>> glyphs = {{0xB0A1, Ink({{0, 10}, {12, -1}, {11, -1}})}};
  const std::vector<std::uint8_t> bytes = MakeHzkFont(*HzkGeometryOf(kHzk12), glyphs);
  const std::size_t at = 15 * 94 * 24;
  EXPECT_EQ(bytes[at], 0x80);
  EXPECT_EQ(bytes[at + 2 * 11 + 1], 0x10) << "the twelfth column stays";
  EXPECT_EQ(SetBits(bytes), 2);
}

TEST(HzkFontMaker, TheChineseCharactersBoxStandsLeftAndHalfwayDownTheCell) {
  struct Case {
    const char* what;
    std::vector<std::pair<std::uint16_t, InkGlyph>> glyphs;
    int rows;
    HzkPlacement expected;
  };
  const Case cases[] = {
      {"11 by 11 in 12 rows: a spare row below", {{0xB0A1, Ink({{0, 9}, {10, -1}})}}, 12, {0, 9}},
      {"two spare rows: one above, one below", {{0xB0A1, Ink({{1, 9}, {4, 0}})}}, 12, {1, 10}},
      {"symbols do not move the characters",
       {{0xA3C1, Ink({{-2, 14}})}, {0xB0A1, Ink({{0, 9}})}, {0xB0A2, Ink({{10, -1}})}},
       12,
       {0, 9}},
      {"a face without characters: its symbols", {{0xA3C1, Ink({{2, 13}, {3, -2}})}}, 16, {2, 13}},
      {"too tall: cut alike at top and bottom", {{0xB0A1, Ink({{0, 22}, {0, -3}})}}, 24, {0, 21}},
      {"nothing inked", {{0xB0A1, Ink({})}}, 16, {0, 15}},
  };
  for (const Case& c : cases) {
    const HzkPlacement at = PlaceInHzkCell(c.glyphs, c.rows);
    EXPECT_EQ(at.left, c.expected.left) << c.what;
    EXPECT_EQ(at.top, c.expected.top) << c.what;
  }
}

std::string_view View(const std::vector<std::uint8_t>& b) {
  return {reinterpret_cast<const char*>(b.data()), b.size()};
}

TEST(DotFontMaker, RecordsHoldEachPixelAsColumnAndRowAboveTheBaseLine) {
  // 'Q' with its tail below the base line; 'I' reaches one column further left.
  const std::vector<std::pair<std::uint8_t, InkGlyph>> glyphs = {
      {'Q', Ink({{1, 0}, {1, 6}, {5, 6}, {4, -1}})},
      {'I', Ink({{0, 3}})},
  };
  std::vector<std::uint8_t> bytes;
  std::string error;
  ASSERT_TRUE(MakeDotFont(glyphs, bytes, error)) << error;
  DotFontFile font;
  font.Parse(View(bytes));
  EXPECT_EQ(font.RecordCount(), 2);
  const std::vector<std::uint8_t>* q = font.Find('Q');
  ASSERT_NE(q, nullptr);
  std::vector<std::pair<int, int>> dots;
  for (std::uint8_t b : *q) dots.emplace_back(DotColumn(b), DotRow(b));
  const std::vector<std::pair<int, int>> expected = {{1, 0}, {1, 6}, {5, 6}};
  EXPECT_EQ(dots, expected) << "the tail is left out";
  ASSERT_NE(font.Find('I'), nullptr);
  EXPECT_EQ(DotColumn(font.Find('I')->at(0)), 0);
}

TEST(DotFontMaker, RefusesWhatTheRecordsCannotHold) {
  std::vector<std::uint8_t> bytes;
  std::string error;
  EXPECT_FALSE(MakeDotFont({{'M', Ink({{0, 0}, {8, 0}})}}, bytes, error));
  EXPECT_NE(error.find("'M'"), std::string::npos) << error;
  EXPECT_FALSE(MakeDotFont({{'M', Ink({{0, 16}})}}, bytes, error));
  std::vector<std::pair<std::uint8_t, InkGlyph>> many;
  for (int k = 0; k < 37; ++k) many.emplace_back(static_cast<std::uint8_t>('0' + k), Ink({{0, 0}}));
  EXPECT_FALSE(MakeDotFont(many, bytes, error));
  many.pop_back();
  EXPECT_TRUE(MakeDotFont(many, bytes, error)) << error;
}

}  // namespace
