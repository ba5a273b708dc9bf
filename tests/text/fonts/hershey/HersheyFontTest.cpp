// The default main font converted from the Hershey simplex data: every
// printable ASCII character is there, and "H" comes out as the data draws it:
// "G]KFK[ RYFY[ RKPYP", extents -11 and 11, stems at -7 and 7 from 12 above
// the base line (at 9) down to it, the bar at -2; capitals one text height tall.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/text/fonts/shx/ShxTestFonts.h"
#include "text/fonts/shx/ShxTextToStrokes.h"

namespace {

Bytes DefaultFont() {
  std::ifstream in(VENDRIK_DEFAULT_FONT, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST(HersheyFont, CoversPrintableAscii) {
  TestInstallFolder folder;
  folder.AddFont("KelTxt2.shx", DefaultFont());
  std::string all;
  for (int c = 32; c < 127; ++c) all += static_cast<char>(c);
  const ShxRun run = RunShx(folder, all, "KelTxt2.shx", "Xc18.shx");
  EXPECT_EQ(run.status & ~SHX_NO_BIG_FONT, 0);
  EXPECT_GT(run.Points(), 500);
  EXPECT_TRUE(run.canariesIntact);
}

TEST(HersheyFont, CapitalHIsAsTallAsTheText) {
  TestInstallFolder folder;
  folder.AddFont("KelTxt2.shx", DefaultFont());
  ShxParams p;
  p.height = 21;  // one Hershey unit to the millimetre
  const ShxRun run = RunShx(folder, "H", "KelTxt2.shx", "Xc18.shx", p);
  const double expected[][3] = {{0, 0, 0},  {4, 21, 0},  {4, 0, 3},   {18, 21, 0},
                                {18, 0, 1}, {4, 11, 0}, {18, 11, 1}, {22, 0, 0}};
  ASSERT_EQ(run.Points(), 8);
  for (int i = 0; i < 8; ++i) {
    EXPECT_NEAR(run.X(i), expected[i][0], 1e-9) << i;
    EXPECT_NEAR(run.Y(i), expected[i][1], 1e-9) << i;
    EXPECT_EQ(run.flags[static_cast<std::size_t>(i)], expected[i][2]) << i;
  }
}

}  // namespace
