// The default stroke fonts converted from the Hershey data, "KelTxt2.shx"
// (new texts) and "GOLD.shx" (new VINs): every printable ASCII character is
// there, and "H" comes out as the simplex data draws it: "G]KFK[ RYFY[ RKPYP",
// extents -11 and 11, stems at -7 and 7 from 12 above the base line (at 9)
// down to it, the bar at -2; capitals one text height tall. A new VIN draws
// its characters with them.
#include <gtest/gtest.h>

#include <fstream>

#include "document/objects/CObjElement.h"
#include "document/objects/ObjTypeOps.h"
#include "tests/text/fonts/shx/ShxTestFonts.h"
#include "text/fonts/shx/ShxTextToStrokes.h"
#include "text/objects/CObjTextVin.h"
#include "values/ShellValues.h"

namespace {

Bytes DefaultFont(const std::string& name) {
  std::ifstream in(std::string(VENDRIK_DEFAULT_FONTS_DIR) + "/" + name, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

class HersheyFont : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override { folder_.AddFont(GetParam(), DefaultFont(GetParam())); }
  TestInstallFolder folder_;
};

TEST_P(HersheyFont, CoversPrintableAscii) {
  std::string all;
  for (int c = 32; c < 127; ++c) all += static_cast<char>(c);
  const ShxRun run = RunShx(folder_, all, GetParam(), "Xc18.shx");
  EXPECT_EQ(run.status & ~SHX_NO_BIG_FONT, 0);
  EXPECT_GT(run.Points(), 500);
  EXPECT_TRUE(run.canariesIntact);
}

TEST_P(HersheyFont, CapitalHIsAsTallAsTheText) {
  ShxParams p;
  p.height = 21;  // one Hershey unit to the millimetre
  const ShxRun run = RunShx(folder_, "H", GetParam(), "Xc18.shx", p);
  const double expected[][3] = {{0, 0, 0},  {4, 21, 0},  {4, 0, 3},   {18, 21, 0},
                                {18, 0, 1}, {4, 11, 0}, {18, 11, 1}, {22, 0, 0}};
  ASSERT_EQ(run.Points(), 8);
  for (int i = 0; i < 8; ++i) {
    EXPECT_NEAR(run.X(i), expected[i][0], 1e-9) << i;
    EXPECT_NEAR(run.Y(i), expected[i][1], 1e-9) << i;
    EXPECT_EQ(run.flags[static_cast<std::size_t>(i)], expected[i][2]) << i;
  }
}

INSTANTIATE_TEST_SUITE_P(DefaultFonts, HersheyFont, ::testing::Values("KelTxt2.shx", "GOLD.shx"));

// With the fonts installed as the run script installs them, a new VIN draws
// its seventeen characters between its two stars and names no missing font.
TEST(DefaultFonts, ANewVinDrawsItsCharacters) {
  TestInstallFolder folder;
  folder.AddFont("GOLD.shx", DefaultFont("GOLD.shx"));
  const std::string oldInstall = InstallFolder;
  InstallFolder = folder.Path();
  RegisterObjTypeOps(ObjClassId::TextVin, &TextVinTypeOps());
  auto* vin = new CObjTextVin(TextCreateRecord{CDoublePoint(10, 20), ""});
  CObjElement element(CObjCreateRecord{"VIN", OBJ_VIN, vin, static_cast<int>(sizeof(CObjTextVin)), {}});
  vin->SetVinText(CDoublePoint(10, 20), "LM13KTNM720923456");
  vin->RecalcPath();
  InstallFolder = oldInstall;
  EXPECT_TRUE(vin->GetLayoutReport().missingFonts.empty());
  // Two stars and one group per character that has strokes (all of them).
  EXPECT_EQ(vin->GetPathData().GetGroupCount(), 2 + 17);
}

}  // namespace
