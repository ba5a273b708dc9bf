// Damaged and hostile drawings: no crash, no hang, no wild allocation, and
// never a point beyond the room the caller gave.
#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

#include "tests/text/exchange/dxf/DxfTestFiles.h"
#include "tests/text/fonts/shx/ShxTestFonts.h"
#include "platform/NumberText.h"
#include "text/exchange/dxf/DxfImport.h"
#include "text/exchange/dxf/DxfLineReader.h"

namespace {

const Bytes kL = {2, 0x84, 1, 0x8C, 0x50, 2, 0x10, 0};

class DxfHostile : public ::testing::Test {
 protected:
  DxfHostile() { folder_.AddFont("main.shx", Shapes86Font({{'L', kL}})); }
  DxfRead Read(const std::string& bytes) {
    DxfRead r = ReadDxfBothPasses(WriteDxfFile("hostile.dxf", bytes), folder_.Path());
    EXPECT_TRUE(r.canariesIntact);
    EXPECT_EQ(r.stored, r.counted);
    EXPECT_EQ(r.status, kDxfStatusRead);
    return r;
  }
  TestInstallFolder folder_;
};

TEST_F(DxfHostile, EveryTruncationOfAFixtureReadsToItsEnd) {
  std::ifstream in(DxfFixture("entities-ac1015.dxf"), std::ios::binary);
  const std::string whole((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_GT(whole.size(), 1000u);
  int previous = 0;
  for (std::size_t length = 0; length <= whole.size(); length += 7) {
    const DxfRead r = Read(whole.substr(0, length));
    EXPECT_GE(r.counted, previous) << length;  // a longer prefix never yields fewer points
    previous = r.counted;
  }
  EXPECT_EQ(previous, 144);
}

TEST_F(DxfHostile, LinesAcrossTheReadersBlocksStayWhole) {
  // Far more than one read block, lines of every offset against its edges.
  std::vector<std::pair<int, std::string>> groups;
  for (int i = 0; i < 6000; ++i) {
    groups.push_back({0, "POINT"});
    groups.push_back({8, std::string(static_cast<std::size_t>(i % 13), ' ') + "layer"});
    groups.push_back({10, std::to_string(i) + ".25"});
    groups.push_back({20, "-" + std::to_string(i % 97) + ".5"});
  }
  const DxfRead r = Read(DxfEntities(groups));
  ASSERT_EQ(r.Points(), 6000);
  for (int i = 0; i < 6000; ++i) {
    ASSERT_EQ(r.X(i), i + 0.25) << i;
    ASSERT_EQ(r.Y(i), -(i % 97) - 0.5) << i;
  }
}

TEST_F(DxfHostile, HugeCountsAndAnglesStayBounded) {
  // A polyline claiming two thousand million vertices and giving two; a spline
  // claiming as many control points; a vertex count that is negative.
  DxfRead r = Read(DxfEntities({{0, "LWPOLYLINE"}, {90, "2000000000"}, {10, "1"}, {20, "1"}, {10, "2"}, {20, "2"},
                                {0, "SPLINE"},     {100, "AcDbSpline"}, {73, "2000000000"}, {40, "0"}, {10, "1"},
                                {20, "1"},         {30, "0"},          {0, "LWPOLYLINE"}, {90, "-5"}, {10, "1"},
                                {20, "1"}}));
  EXPECT_EQ(r.counted, 0);
  // Arcs whose angles lie far outside one turn, a radius beyond any work area,
  // an ellipse of a vast axis: each a bounded run of points.
  r = Read(DxfEntities({{0, "ARC"}, {10, "0"}, {20, "0"}, {40, "5"}, {50, "-1e300"}, {51, "1e300"},
                        {0, "ARC"}, {10, "0"}, {20, "0"}, {40, "1e300"}, {50, "0"}, {51, "1e15"},
                        {0, "ELLIPSE"}, {10, "0"}, {20, "0"}, {11, "1e200"}, {21, "1e200"}, {40, "1"},
                        {41, "-1e18"}, {42, "1e18"}}));
  EXPECT_GT(r.counted, 0);
  EXPECT_LT(r.counted, 2 * 3 * (2 * 542 + 2));

  // Circles, and one polyline of half circles, naming about twice the values
  // a drawing may hold: the count stops just past the limit rather than
  // running through the whole file.
  std::vector<std::pair<int, std::string>> circles;
  for (int i = 0; i < 16000; ++i) {
    for (auto g : std::vector<std::pair<int, std::string>>{{0, "CIRCLE"}, {10, "0"}, {20, "0"}, {40, "100"}})
      circles.push_back(g);
  }
  std::vector<std::pair<int, std::string>> polyline = {{0, "LWPOLYLINE"}, {90, "60000"}};
  for (int i = 0; i < 60000; ++i) {
    for (auto g : std::vector<std::pair<int, std::string>>{{10, std::to_string(i % 2 * 100)}, {20, "0"}, {42, "1"}})
      polyline.push_back(g);
  }
  for (const auto& groups : {circles, polyline}) {
    int count = 0, read = 0, status = 0;
    ImportDxfFile(WriteDxfFile("many.dxf", DxfEntities(groups)), nullptr, nullptr, &count, &read, &status,
                  folder_.Path());
    EXPECT_GT(count, kDxfMaxValues);
    EXPECT_LE(count, kDxfMaxValues + 2 * 544);
  }
}

TEST_F(DxfHostile, NonNumbersAndOverlongLinesKeepTheGroupsPaired) {
  const std::string longValue(1000, 'X');
  const DxfRead r = Read(DxfEntities({
      {0, "LINE"}, {8, longValue}, {10, "abc"}, {20, "nan"}, {30, "0"}, {11, "1e999"}, {21, "inf"}, {31, "0"},
      {0, "CIRCLE"}, {10, "1"}, {20, "1"}, {40, "-3"},  // a negative radius: the least number of points
      {0, "POINT"}, {10, "4"}, {20, "5"}}));
  // The line takes 0 for the values that are not numbers; the circle 11 points.
  ASSERT_EQ(r.Points(), 2 + 11 + 1);
  EXPECT_EQ(r.X(0), 0);
  EXPECT_EQ(r.Y(1), 0);
  EXPECT_EQ(r.X(13), 4);
  EXPECT_EQ(r.Flag(13), kDxfDot);

  // Plain decimals take a short road; every value reads as the general parser reads it.
  for (const char* text : {"0.1", "123456.789012", "-0.000001", "1e3", "12abc", "9007199254740993", "+7.",
                           "0.30000000000000004", "1234567890123456789", "-0", "0.0000000000000000000000001"}) {
    double value = -1;
    EXPECT_TRUE(ParseDxfReal(text, value)) << text;
    EXPECT_EQ(value, platform::ParseDoubleC(text)) << text;
  }
  double none = 0;
  EXPECT_FALSE(ParseDxfReal(".", none));
  EXPECT_FALSE(ParseDxfReal("", none));

  // A group code line that is not a number, and values with plain line feeds.
  const DxfRead junk = Read("  0\nSECTION\n  2\nENTITIES\nzz\nLINE\n  0\nPOINT\n 10\n2\n 20\n3\n");
  ASSERT_EQ(junk.Points(), 1);
  EXPECT_EQ(junk.X(0), 2);
}

TEST_F(DxfHostile, MissingSectionsAndBrokenTablesDrawNothingWrong) {
  // Entities outside any section are not drawn; a text in an unclosed record
  // and a style table without fonts draw nothing; an empty file reads to its end.
  EXPECT_EQ(Read(DxfGroups({{0, "LINE"}, {10, "0"}, {20, "0"}, {30, "0"}, {11, "1"}, {21, "1"}, {31, "0"}})).counted,
            0);
  EXPECT_EQ(Read(DxfGroups({{0, "SECTION"}, {2, "TABLES"}, {100, "AcDbTextStyleTableRecord"}, {3, "main"},
                            {4, "x"}, {0, "ENDSEC"}}) +
                 DxfEntities({{0, "TEXT"}, {100, "AcDbText"}, {1, "L"}, {7, ""}, {0, "TEXT"}, {100, "AcDbText"},
                              {1, "L"}, {7, "STANDARD"}, {100, "AcDbText"}}))
                .counted,
            0);
  EXPECT_EQ(Read("").counted, 0);
  // A font file that does not exist draws no glyph, and the reading goes on.
  const DxfRead r = Read(DxfGroups({{0, "SECTION"}, {2, "TABLES"}, {100, "AcDbTextStyleTableRecord"},
                                    {2, "STANDARD"}, {3, "nofont"}, {4, ""}, {0, "ENDSEC"}}) +
                         DxfEntities({{0, "TEXT"}, {100, "AcDbText"}, {1, "L"}, {100, "AcDbText"}, {0, "POINT"},
                                      {10, "1"}, {20, "1"}}));
  ASSERT_GE(r.Points(), 1);
  EXPECT_LE(r.Points(), 2);
  EXPECT_EQ(r.Flag(r.Points() - 1), kDxfDot);
}

}  // namespace
