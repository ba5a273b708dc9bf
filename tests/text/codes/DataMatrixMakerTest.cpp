// DataMatrix symbols: sizes chosen or refused, schemes, the dot layout, and a
// read-back of the dots through libdmtx's decoder.
#include <dmtx.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/geometry/CPointList.h"
#include "text/codes/CDataMatrixMaker.h"

namespace {

// Paints the dots (module size 1, top-left at the origin) into an 8-bit image
// with a quiet zone and decodes it.
std::string DecodeDots(const CDataMatrixMaker& dm) {
  CPointList dots;
  dm.EmitDots(CDoublePoint(0, 0), &dots, 1.0f);
  const int pixels = 6;
  const int quiet = 4;
  const int width = (dm.GetColumns() + 2 * quiet) * pixels;
  const int height = (dm.GetRows() + 2 * quiet) * pixels;
  std::vector<unsigned char> image(static_cast<std::size_t>(width * height), 255);
  for (int k = 0; k < dots.GetSize(); ++k) {
    const int column = static_cast<int>(dots[k].x);
    const int row = static_cast<int>(-dots[k].y);
    for (int a = 0; a < pixels; ++a)
      for (int b = 0; b < pixels; ++b)
        image[static_cast<std::size_t>(((row + quiet) * pixels + a) * width + (column + quiet) * pixels + b)] = 0;
  }
  DmtxImage* img = dmtxImageCreate(image.data(), width, height, DmtxPack8bppK);
  dmtxImageSetProp(img, DmtxPropImageFlip, DmtxFlipNone);
  DmtxDecode* dec = dmtxDecodeCreate(img, 1);
  std::string text = "<not found>";
  DmtxTime timeout = dmtxTimeAdd(dmtxTimeNow(), 5000);
  if (DmtxRegion* region = dmtxRegionFindNext(dec, &timeout)) {
    if (DmtxMessage* message = dmtxDecodeMatrixRegion(dec, region, DmtxUndefined)) {
      text.assign(reinterpret_cast<const char*>(message->output), static_cast<std::size_t>(message->outputIdx));
      dmtxMessageDestroy(&message);
    }
    dmtxRegionDestroy(&region);
  }
  dmtxDecodeDestroy(&dec);
  dmtxImageDestroy(&img);
  return text;
}

}  // namespace

TEST(DataMatrixMaker, SymbolSizes) {
  CDataMatrixMaker dm;
  // Nine ASCII digits make five codewords: the smallest square is 12x12.
  ASSERT_EQ(1, dm.Encode("123456789", 0, 1));
  EXPECT_EQ(12, dm.GetRows());
  EXPECT_EQ(12, dm.GetColumns());
  ASSERT_EQ(1, dm.Encode("123456789", 0, 0));
  EXPECT_LT(dm.GetRows(), dm.GetColumns());
  ASSERT_EQ(1, dm.Encode("123456789", 0, 6));  // the barcode's default size
  EXPECT_EQ(16, dm.GetRows());

  const int squares[] = {10, 12, 14, 16, 18, 20, 22, 24, 26, 32, 36, 40, 44, 48, 52, 64, 72, 80, 88, 96, 104, 120, 132, 144};
  for (int k = 0; k < 24; ++k) {
    ASSERT_EQ(1, dm.Encode("1", 0, 3 + k)) << k;
    EXPECT_EQ(squares[k], dm.GetRows());
    EXPECT_EQ(squares[k], dm.GetColumns());
  }
  const int rectangles[6][2] = {{8, 18}, {8, 32}, {12, 26}, {12, 36}, {16, 36}, {16, 48}};
  for (int k = 0; k < 6; ++k) {
    ASSERT_EQ(1, dm.Encode("1", 0, 27 + k)) << k;
    EXPECT_EQ(rectangles[k][0], dm.GetRows());
    EXPECT_EQ(rectangles[k][1], dm.GetColumns());
  }

  // Refusals leave no symbol behind.
  EXPECT_EQ(0, dm.Encode("123456789", 0, 3));  // 10x10 holds three codewords
  EXPECT_FALSE(dm.HasSymbol());
  EXPECT_EQ(0, dm.Encode("123456789", 0, 2));
  EXPECT_EQ(0, dm.Encode("123456789", 0, 33));
  EXPECT_EQ(0, dm.Encode("123456789", 0, -1));
  EXPECT_EQ(0, dm.Encode("", 0, 1));
  EXPECT_EQ(0, dm.Encode(std::string(256, 'A'), 0, 1));
  EXPECT_EQ(1, dm.Encode(std::string(255, 'A'), 0, 1));
  CPointList none;
  dm.Release();
  dm.EmitDots(CDoublePoint(0, 0), &none, 1.0f);
  EXPECT_EQ(0, none.GetSize());
}

TEST(DataMatrixMaker, SchemesAndRoundTrip) {
  CDataMatrixMaker dm;
  struct Case {
    const char* text;
    int scheme;
    int size;
  };
  const Case cases[] = {
      {"123456789", 0, 1},         {"ABCDEF123456", 1, 1},  {"serial no 42", 2, 1},     {"ABC*123>XYZ", 3, 1},
      {"EDIFACT:12/34", 4, 1},     {"\x01\xff bytes", 5, 1}, {"Auto Best 2026-12", 6, 0}, {"SN-000123", 9, 6},
      {"RECT 16x48 SYMBOL", 1, 32}, {"VIN1HGCM82633A004352", 0, 1},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(1, dm.Encode(c.text, c.scheme, c.size)) << c.text;
    EXPECT_EQ(c.text, DecodeDots(dm)) << "scheme " << c.scheme;
  }
  // Schemes differ in density: C40 packs capitals tighter than ASCII.
  ASSERT_EQ(1, dm.Encode("ABCDEFGHIJKLMNOPQRSTUVWX", 0, 1));
  const int asciiRows = dm.GetRows();
  ASSERT_EQ(1, dm.Encode("ABCDEFGHIJKLMNOPQRSTUVWX", 1, 1));
  EXPECT_LT(dm.GetRows(), asciiRows);
  // X12 and EDIFACT cannot hold lower case; the fast automatic scheme is refused.
  EXPECT_EQ(0, dm.Encode("abc", 3, 1));
  EXPECT_EQ(0, dm.Encode("abc~", 4, 1));
  EXPECT_EQ(0, dm.Encode("123456789", 7, 1));
}

TEST(DataMatrixMaker, DotsHangFromTheTopLeftPoint) {
  CDataMatrixMaker dm;
  ASSERT_EQ(1, dm.Encode("SN-000123", 0, 6));
  ASSERT_EQ(16, dm.GetRows());
  // Solid finder on the left and at the bottom, clock track along the top.
  for (int k = 0; k < 16; ++k) {
    EXPECT_TRUE(dm.IsDark(k, 0));
    EXPECT_TRUE(dm.IsDark(15, k));
    EXPECT_EQ(k % 2 == 0, dm.IsDark(0, k));
  }
  CPointList dots;
  const float s = 0.4f;
  dm.EmitDots(CDoublePoint(20, 30), &dots, s);
  int dark = 0;
  for (int r = 0; r < 16; ++r)
    for (int c = 0; c < 16; ++c) dark += dm.IsDark(r, c);
  ASSERT_EQ(dark, dots.GetSize());
  // Top row first, left to right.
  EXPECT_DOUBLE_EQ(20 + s / 2.0, dots[0].x);
  EXPECT_DOUBLE_EQ(30 - s / 2.0, dots[0].y);
  EXPECT_EQ(0, dots[0].flag);
  const CDoublePoint& bottomRight = dots[dots.GetSize() - 1];
  EXPECT_DOUBLE_EQ(20 + s / 2.0 + 15 * static_cast<double>(s), bottomRight.x);
  EXPECT_DOUBLE_EQ(30 - s / 2.0 - 15 * static_cast<double>(s), bottomRight.y);
  // The bottom-left dot opens the last row.
  EXPECT_DOUBLE_EQ(20 + s / 2.0, dots[dots.GetSize() - 16].x);
  EXPECT_DOUBLE_EQ(30 - s / 2.0 - 15 * static_cast<double>(s), dots[dots.GetSize() - 16].y);
}
