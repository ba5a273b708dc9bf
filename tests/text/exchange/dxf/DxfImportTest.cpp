// Entities of DXF drawings read into points with pen flags, in two passes.
#include <algorithm>
#include <cmath>

#include <gtest/gtest.h>

#include "tests/text/exchange/dxf/DxfTestFiles.h"
#include "tests/text/fonts/shx/ShxTestFonts.h"
#include "text/exchange/dxf/DxfImport.h"
#include "text/exchange/dxf/DxfTextStyles.h"
#include "values/ShellValues.h"

namespace {

// 'L' of a font whose unit is 1 mm at a height of 28: (0,0), up to (0,8),
// drawn down to (0,0) and on to (5,0), then on to (6,0): five points.
const Bytes kL = {2, 0x84, 1, 0x8C, 0x50, 2, 0x10, 0};

class DxfImport : public ::testing::Test {
 protected:
  DxfImport() { folder_.AddFont("main.shx", Shapes86Font({{'L', kL}})); }

  void ExpectPoint(const DxfRead& r, int i, double x, double y, int flag) {
    ASSERT_LT(i, r.Points());
    EXPECT_NEAR(r.X(i), x, 1e-4) << "point " << i;
    EXPECT_NEAR(r.Y(i), y, 1e-4) << "point " << i;
    EXPECT_EQ(r.Flag(i), flag) << "point " << i;
  }

  TestInstallFolder folder_;
};

TEST_F(DxfImport, EveryEntityOfAnR2000DrawingBecomesPointsUntilTheObjectsSection) {
  const DxfRead r = ReadDxfBothPasses(DxfFixture("entities-ac1015.dxf"), folder_.Path());
  // line 2, closed polyline 5, circle 11, arc 4, point 1, ellipse 26, text 5, spline 18
  EXPECT_EQ(r.countResult, kDxfResultNone);
  EXPECT_EQ(r.countStatus, kDxfStatusRead);
  EXPECT_EQ(r.counted, 2 * 72);
  EXPECT_EQ(r.fillResult, kDxfResultFilled);
  EXPECT_EQ(r.status, kDxfStatusRead);
  EXPECT_EQ(r.stored, r.counted);
  EXPECT_EQ(r.capacityAfter, r.counted + 100);
  EXPECT_TRUE(r.canariesIntact);

  int i = 0;
  ExpectPoint(r, i++, 1.5, 2.0, kDxfPenUp);  // LINE
  ExpectPoint(r, i++, 11.5, -3.25, kDxfPenDown);

  ExpectPoint(r, i++, 0, 0, kDxfPenUp);  // closed LWPOLYLINE: back to the first vertex
  ExpectPoint(r, i++, 10, 0, kDxfPenDown);
  ExpectPoint(r, i++, 10, 5, kDxfPenDown);
  ExpectPoint(r, i++, 0, 5, kDxfPenDown);
  ExpectPoint(r, i++, 0, 0, kDxfPenDown);

  // CIRCLE of radius 1 about (20,30): 8 points from 45 degrees round, the
  // 0-degree point, again 0 degrees, and 45 degrees to close.
  const double c45 = std::cos(45 * 0.0174532), s45 = std::sin(45 * 0.0174532);
  ExpectPoint(r, i, 20 + c45, 30 + s45, kDxfPenUp);
  ExpectPoint(r, i + 2, 20 + std::cos(135 * 0.0174532), 30 + std::sin(135 * 0.0174532), kDxfPenDown);
  ExpectPoint(r, i + 8, 21, 30, kDxfPenDown);
  ExpectPoint(r, i + 9, 21, 30, kDxfPenDown);
  ExpectPoint(r, i + 10, 20 + c45, 30 + s45, kDxfPenDown);
  i += 11;

  // ARC of radius 2 from 350 to 10 degrees wraps through 0.
  ExpectPoint(r, i++, 2 * std::cos(350 * 0.0174532), 2 * std::sin(350 * 0.0174532), kDxfPenUp);
  ExpectPoint(r, i++, 2, 0, kDxfPenDown);
  ExpectPoint(r, i++, 2, 0, kDxfPenDown);
  ExpectPoint(r, i++, 2 * std::cos(10 * 0.0174532), 2 * std::sin(10 * 0.0174532), kDxfPenDown);

  ExpectPoint(r, i++, 7, 8, kDxfDot);  // POINT

  // ELLIPSE about (5,5), major axis 4 along x, ratio 0.5, a whole turn.
  ExpectPoint(r, i, 9, 5, kDxfPenUp);
  ExpectPoint(r, i + 6, 5 + 4 * std::cos(6 * 0.261798), 5 + 2 * std::sin(6 * 0.261798), kDxfPenDown);
  ExpectPoint(r, i + 25, 9, 5, kDxfPenDown);
  i += 26;

  // TEXT "L" at (100,50), height 0 in a style without heights: 5 mm.
  const double k = 5.0 / 28;
  ExpectPoint(r, i + 1, 100, 50 + 8 * k, 0);
  EXPECT_NEAR(r.X(i + 3), 100 + 5 * k, 1e-9);
  EXPECT_EQ(r.Flag(i + 2) & 1, 1);
  i += 5;

  // SPLINE: a clamped cubic from its first to its last control point.
  ExpectPoint(r, i, 0, 0, kDxfPenUp);
  ExpectPoint(r, i + 17, 30, 0, kDxfPenDown);
  EXPECT_GT(r.Y(i + 8), 10);
  EXPECT_EQ(i + 18, r.Points());
}

TEST_F(DxfImport, BlocksAndUnreadEntitiesOfAnR14DrawingWithoutEndOfFile) {
  const DxfRead r = ReadDxfBothPasses(DxfFixture("blocks-ac1014.dxf"), folder_.Path());
  // The block's POINT at its block coordinates, a circle of radius 10 (75 per
  // turn: 78 points), the INSERT not expanded, the HATCH's radius-like value
  // not taken for another circle, and the line on the layer called "OBJECTS".
  EXPECT_EQ(r.counted, 2 * (1 + 78 + 2));
  EXPECT_EQ(r.stored, r.counted);
  EXPECT_EQ(r.fillResult, kDxfResultFilled);
  EXPECT_EQ(r.status, kDxfStatusRead);
  ExpectPoint(r, 0, 1, 2, kDxfDot);
  ExpectPoint(r, 1, 10 * std::cos(45 * 0.0174532), 10 * std::sin(45 * 0.0174532), kDxfPenUp);
  ExpectPoint(r, 79, 0, 0, kDxfPenUp);
  ExpectPoint(r, 80, 1, 0, kDxfPenDown);
}

TEST_F(DxfImport, TextHeightAndFontsComeFromTheNamedStyle) {
  auto text = [](const std::string& style, const std::string& height) {
    return std::vector<std::pair<int, std::string>>{
        {0, "TEXT"}, {100, "AcDbEntity"}, {100, "AcDbText"}, {10, "0"}, {20, "0"}, {40, height},
        {1, "L"},    {7, style},          {100, "AcDbText"}};
  };
  const std::string tables = DxfGroups({{0, "SECTION"}, {2, "TABLES"}, {0, "STYLE"},
                                        {100, "AcDbTextStyleTableRecord"}, {2, "Tall"}, {40, "56"}, {42, "0"},
                                        {3, "Main"}, {4, ""}, {0, "STYLE"}, {100, "AcDbTextStyleTableRecord"},
                                        {2, "LAST"}, {40, "56"}, {42, "14"}, {3, "main.SHX"}, {4, "nobig"},
                                        // A second style of the same name: the first one counts.
                                        {0, "STYLE"}, {100, "AcDbTextStyleTableRecord"}, {2, "TALL"}, {40, "99"},
                                        {42, "0"}, {3, "Main"}, {4, ""}, {0, "ENDTAB"}, {0, "ENDSEC"}});
  auto heightOf = [&](const std::string& style, const std::string& height) {
    const DxfRead r = ReadDxfBothPasses(WriteDxfFile("style.dxf", tables + DxfEntities(text(style, height))),
                                        folder_.Path());
    EXPECT_TRUE(r.canariesIntact);
    return r.Points() == 5 ? r.Y(1) / 8 * 28 : -1.0;
  };
  EXPECT_NEAR(heightOf("TALL", "0"), 56, 1e-9);   // the style's fixed height
  EXPECT_NEAR(heightOf("tall", "7"), 7, 1e-9);    // the text's own
  EXPECT_NEAR(heightOf("Last", "0"), 14, 1e-9);   // last height used before the fixed one
  EXPECT_EQ(heightOf("NOSUCH", "7"), -1.0);       // a style the file lacks: no fonts, no strokes

  DxfTextStyle style;
  style.fontFile = "RomanS";
  EXPECT_EQ(DxfMainFontFile(style), "romans.shx");
  EXPECT_EQ(DxfBigFontFile(style), "XC18.shx");
  style.fontFile = "Arial.TTF";
  style.bigFontFile = "GBCBIG.SHX";
  EXPECT_EQ(DxfMainFontFile(style), "arial.ttf.shx");
  EXPECT_EQ(DxfBigFontFile(style), "gbcbig.shx");
}

TEST_F(DxfImport, TheFillingPassNeverWritesBeyondItsRoom) {
  const std::string path = DxfFixture("entities-ac1015.dxf");
  // Rooms that end inside the polyline, the circle, the text and the spline.
  for (int room : {4, 9, 20, 120, 131, 140}) {
    const DxfRead r = FillDxf(path, folder_.Path(), room);
    EXPECT_TRUE(r.canariesIntact) << room;
    EXPECT_LE(r.stored, room);
    EXPECT_EQ(r.stored % 2, 0);
    EXPECT_EQ(r.capacityAfter, 144) << "the caller learns what the file holds";
  }
  // The stored points are the leading run of the whole drawing.
  const DxfRead whole = FillDxf(path, folder_.Path(), 144);
  const DxfRead part = FillDxf(path, folder_.Path(), 131);
  ASSERT_EQ(whole.capacityAfter, 144);
  for (int i = 0; i < part.Points(); ++i) {
    EXPECT_EQ(part.X(i), whole.X(i));
    EXPECT_EQ(part.Flag(i), whole.Flag(i));
  }
  EXPECT_EQ(part.stored, 2 * (72 - 5 - 18) + 10);  // up to the text, and the text whole

  // A missing file, and a drawing of too few points.
  int capacity = 7, count = 0, status = 0;
  EXPECT_EQ(ImportDxfFile(DxfFixture("missing.dxf"), nullptr, nullptr, &capacity, &count, &status, folder_.Path()), 0);
  EXPECT_EQ(status, kDxfStatusNoFile);
  EXPECT_EQ(capacity, 0);
  const DxfRead dot =
      ReadDxfBothPasses(WriteDxfFile("dot.dxf", DxfEntities({{0, "POINT"}, {10, "1"}, {20, "1"}})), folder_.Path());
  EXPECT_EQ(dot.counted, 2);
  EXPECT_EQ(dot.stored, 2);
  EXPECT_EQ(dot.fillResult, kDxfResultNone);
  EXPECT_EQ(dot.status, kDxfStatusRead);
}

// Faults of earlier versions, each once a drawing that came in wrong.
TEST_F(DxfImport, ATableEntryNamedObjectsDoesNotEndTheReading) {
  const std::string tables = DxfGroups({{0, "SECTION"}, {2, "TABLES"}, {0, "TABLE"}, {2, "LAYER"}, {0, "LAYER"},
                                        {2, "OBJECTS"}, {70, "0"}, {0, "LAYER"}, {2, "ENTITIES"}, {0, "ENDTAB"},
                                        {0, "ENDSEC"}});
  const DxfRead r = ReadDxfBothPasses(
      WriteDxfFile("layers.dxf", tables + DxfEntities({{0, "LINE"}, {8, "OBJECTS"}, {10, "1"}, {20, "2"}, {30, "0"},
                                                       {11, "3"}, {21, "4"}, {31, "0"}})),
      folder_.Path());
  ASSERT_EQ(r.Points(), 2);
  ExpectPoint(r, 1, 3, 4, kDxfPenDown);
  // A section of that name still ends it.
  const DxfRead cut = ReadDxfBothPasses(
      WriteDxfFile("objects.dxf", DxfGroups({{0, "SECTION"}, {2, "OBJECTS"}, {0, "ENDSEC"}}) +
                                      DxfEntities({{0, "POINT"}, {10, "1"}, {20, "2"}})),
      folder_.Path());
  EXPECT_EQ(cut.counted, 0);
}

TEST_F(DxfImport, ALineWithoutZGroupsIsDrawn) {
  const DxfRead r = ReadDxfBothPasses(
      WriteDxfFile("noz.dxf", DxfEntities({{0, "LINE"}, {10, "1"}, {20, "2"}, {11, "3"}, {21, "4"}, {0, "POINT"},
                                          {10, "9"}, {20, "9"}})),
      folder_.Path());
  ASSERT_EQ(r.Points(), 2 + 1);
  ExpectPoint(r, 0, 1, 2, kDxfPenUp);
  ExpectPoint(r, 1, 3, 4, kDxfPenDown);
  ExpectPoint(r, 2, 9, 9, kDxfDot);
}

TEST_F(DxfImport, APolylineWithFlagBitsBesideClosedIsClosed) {
  // 129: closed and plinegen.
  const DxfRead r = ReadDxfBothPasses(
      WriteDxfFile("closed.dxf", DxfEntities({{0, "LWPOLYLINE"}, {90, "3"}, {70, "129"}, {10, "0"}, {20, "0"},
                                             {10, "4"}, {20, "0"}, {10, "4"}, {20, "3"}})),
      folder_.Path());
  ASSERT_EQ(r.Points(), 4);
  ExpectPoint(r, 0, 0, 0, kDxfPenUp);
  ExpectPoint(r, 3, 0, 0, kDxfPenDown);  // back to the first vertex
}

TEST_F(DxfImport, PolylineBulgesAreDrawnAsArcs) {
  // (0,0) to (2,0) with bulge 1: the half circle about (1,0) below the chord;
  // closing (2,0) to (0,0) with bulge 0.5: the arc about (1,-0.75) of radius
  // 1.25 above it.
  const DxfRead r = ReadDxfBothPasses(
      WriteDxfFile("bulge.dxf", DxfEntities({{0, "LWPOLYLINE"}, {90, "2"}, {70, "1"}, {10, "0"}, {20, "0"},
                                            {42, "1"}, {10, "2"}, {20, "0"}, {42, "0.5"}, {0, "POINT"},
                                            {10, "9"}, {20, "9"}})),
      folder_.Path());
  ASSERT_GT(r.Points(), 8);
  ExpectPoint(r, 0, 0, 0, kDxfPenUp);
  ExpectPoint(r, r.Points() - 2, 0, 0, kDxfPenDown);
  ExpectPoint(r, r.Points() - 1, 9, 9, kDxfDot);
  double lowest = 0, highest = 0;
  for (int i = 1; i < r.Points() - 1; ++i) {
    EXPECT_EQ(r.Flag(i), kDxfPenDown);
    if (r.Y(i) <= 0) {
      EXPECT_NEAR(std::hypot(r.X(i) - 1, r.Y(i)), 1, 1e-9) << i;
    } else {
      EXPECT_NEAR(std::hypot(r.X(i) - 1, r.Y(i) + 0.75), 1.25, 1e-9) << i;
    }
    lowest = std::min(lowest, r.Y(i));
    highest = std::max(highest, r.Y(i));
  }
  EXPECT_LT(lowest, -0.9);  // the half circle reaches down to (1,-1)
  EXPECT_GT(highest, 0.4);  // the sagitta of bulge 0.5 over a chord of 2 is 0.5
}

TEST_F(DxfImport, CirclesAndArcsWithADownwardExtrusionAreMirrored) {
  const DxfRead r = ReadDxfBothPasses(
      WriteDxfFile("mirror.dxf", DxfEntities({{0, "CIRCLE"}, {10, "10"}, {20, "5"}, {40, "1"}, {210, "0"},
                                             {220, "0"}, {230, "-1.0"}, {0, "ARC"}, {10, "10"}, {20, "0"},
                                             {40, "2"}, {210, "0"}, {220, "0"}, {230, "-1"}, {100, "AcDbArc"},
                                             {50, "0"}, {51, "90"}, {0, "CIRCLE"}, {10, "10"}, {20, "5"},
                                             {40, "1"}, {210, "0"}, {220, "0"}, {230, "1"}})),
      folder_.Path());
  const double c45 = std::cos(45 * 0.0174532), s45 = std::sin(45 * 0.0174532);
  ASSERT_EQ(r.Points(), 11 + 5 + 11);
  ExpectPoint(r, 0, -10 - c45, 5 + s45, kDxfPenUp);
  ExpectPoint(r, 8, -11, 5, kDxfPenDown);
  ExpectPoint(r, 11, -12, 0, kDxfPenUp);  // the arc from 0 to 90 degrees, seen from below
  ExpectPoint(r, 15, -10 - 2 * std::cos(90 * 0.0174532), 2 * std::sin(90 * 0.0174532), kDxfPenDown);
  ExpectPoint(r, 16, 10 + c45, 5 + s45, kDxfPenUp);  // extrusion up: as written
}

TEST_F(DxfImport, TextsOfAc1021AndLaterAreUtf8) {
  folder_.AddFont("big.shx", BigFont({{0xD6D0, kL}}, 28));
  auto drawing = [](const char* version, const std::string& text) {
    return DxfGroups({{0, "SECTION"}, {2, "HEADER"}, {9, "$ACADVER"}, {1, version}, {0, "ENDSEC"},
                      {0, "SECTION"}, {2, "TABLES"}, {0, "STYLE"}, {100, "AcDbTextStyleTableRecord"},
                      {2, "STANDARD"}, {3, "main"}, {4, "big"}, {0, "ENDSEC"}}) +
           DxfEntities({{0, "TEXT"}, {100, "AcDbText"}, {10, "0"}, {20, "0"}, {40, "28"}, {1, text},
                        {100, "AcDbText"}});
  };
  const std::string zhongGbk = "\xd6\xd0", zhongUtf8 = "\xe4\xb8\xad";
  const DxfRead gbk = ReadDxfBothPasses(WriteDxfFile("r2000.dxf", drawing("AC1015", zhongGbk)), folder_.Path());
  ASSERT_EQ(gbk.Points(), 5);
  for (const char* version : {"AC1021", "AC1024", "AC1032"}) {
    const DxfRead utf8 = ReadDxfBothPasses(WriteDxfFile("r2007.dxf", drawing(version, zhongUtf8)), folder_.Path());
    ASSERT_EQ(utf8.Points(), gbk.Points()) << version;
    for (int i = 0; i < gbk.Points(); ++i) {
      EXPECT_EQ(utf8.X(i), gbk.X(i)) << version;
      EXPECT_EQ(utf8.Y(i), gbk.Y(i)) << version;
    }
  }
}

struct MissingFontCase {
  const char* mainFont;  // of the style
  const char* bigFont;
  std::vector<std::string> texts;
  std::vector<std::string> missing;
};

class DxfMissingFonts : public DxfImport, public ::testing::WithParamInterface<MissingFontCase> {};

// Each font a TEXT needed and did not find is named once, as the style names it.
TEST_P(DxfMissingFonts, AreNamedInTheReport) {
  const MissingFontCase& c = GetParam();
  std::vector<std::pair<int, std::string>> entities;
  for (const std::string& t : c.texts) {
    for (const auto& g : std::vector<std::pair<int, std::string>>{
             {0, "TEXT"}, {100, "AcDbText"}, {10, "0"}, {20, "0"}, {40, "28"}, {1, t}, {100, "AcDbText"}})
      entities.push_back(g);
  }
  entities.push_back({0, "LINE"});
  for (const auto& g : std::vector<std::pair<int, std::string>>{{10, "0"}, {20, "0"}, {30, "0"}, {11, "1"},
                                                                 {21, "0"}, {31, "0"}})
    entities.push_back(g);
  const std::string path =
      WriteDxfFile("fonts.dxf", DxfGroups({{0, "SECTION"}, {2, "TABLES"}, {0, "STYLE"},
                                           {100, "AcDbTextStyleTableRecord"}, {2, "STANDARD"}, {3, c.mainFont},
                                           {4, c.bigFont}, {0, "ENDSEC"}}) +
                                    DxfEntities(entities));
  for (bool counting : {true, false}) {
    std::vector<double> values(400);
    std::vector<std::uint8_t> flags(200);
    int capacity = counting ? 0 : 400, count = 0, status = 0;
    DxfImportReport report;
    report.missingFonts = {"left over"};
    ImportDxfFile(path, values.data(), flags.data(), &capacity, &count, &status, folder_.Path(), &report);
    EXPECT_EQ(report.missingFonts, c.missing) << (counting ? "counting" : "filling");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DxfMissingFonts,
    ::testing::Values(MissingFontCase{"main", "", {"L"}, {}},
                      MissingFontCase{"romans", "", {"L", "LL"}, {"romans.shx"}},
                      MissingFontCase{"main", "", {"L\xB0\xA1"}, {"XC18.shx"}},
                      MissingFontCase{"Gold", "gbcbig", {"\xB0\xA1", "L"}, {"gold.shx", "gbcbig.shx"}},
                      MissingFontCase{"romans", "", {}, {}}));

// Without a folder of the caller's, texts take their fonts from where the
// program's texts do: the installation folder of FontPath.
TEST_F(DxfImport, TextFontsComeFromTheInstallationFolder) {
  const std::string old = InstallFolder;
  InstallFolder = folder_.Path();
  const std::string path = WriteDxfFile(
      "installed.dxf", DxfGroups({{0, "SECTION"}, {2, "TABLES"}, {0, "STYLE"}, {100, "AcDbTextStyleTableRecord"},
                                  {2, "STANDARD"}, {3, "main"}, {4, ""}, {0, "ENDSEC"}}) +
                           DxfEntities({{0, "TEXT"}, {100, "AcDbText"}, {10, "0"}, {20, "0"}, {40, "28"}, {1, "L"},
                                        {100, "AcDbText"}}));
  int capacity = 0, count = 0, status = 0;
  ImportDxfFile(path, nullptr, nullptr, &capacity, &count, &status);
  InstallFolder = old;
  EXPECT_EQ(capacity, 2 * 5);  // the text's five points, not the engine's origin alone
}

}  // namespace

namespace {

using Groups = std::vector<std::pair<int, std::string>>;

struct LeftOutCase {
  const char* name;
  Groups entities;
  std::vector<std::pair<std::string, int>> leftOut;
};

void PrintTo(const LeftOutCase& c, std::ostream* out) { *out << c.name; }

Groups Concat(std::initializer_list<Groups> parts) {
  Groups all;
  for (const Groups& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

const Groups kFitSpline = {{0, "SPLINE"}, {100, "AcDbEntity"}, {100, "AcDbSpline"}, {70, "8"}, {71, "3"},
                           {72, "0"},     {73, "0"},          {74, "3"},          {11, "0"}, {21, "0"},
                           {31, "0"},     {11, "5"},          {21, "5"},          {31, "0"}, {11, "10"},
                           {21, "0"},     {31, "0"}};
const Groups kControlSpline = {{0, "SPLINE"}, {100, "AcDbSpline"}, {71, "3"}, {72, "8"}, {73, "4"},
                               {40, "0"},     {40, "0"},           {40, "0"}, {40, "0"}, {40, "1"},
                               {40, "1"},     {40, "1"},           {40, "1"}, {10, "0"}, {20, "0"},
                               {30, "0"},     {10, "10"},          {20, "10"}, {30, "0"}, {10, "20"},
                               {20, "10"},    {30, "0"},           {10, "30"}, {20, "0"}, {30, "0"}};
const Groups kLine = {{0, "LINE"}, {10, "0"}, {20, "0"}, {30, "0"}, {11, "1"}, {21, "0"}, {31, "0"}};
const Groups kHatch = {{0, "HATCH"}, {100, "AcDbEntity"}, {10, "0"}, {20, "0"}, {30, "0"}};
const Groups kR12Text = {{0, "TEXT"}, {10, "0"}, {20, "0"}, {40, "5"}, {1, "AB"}};
const Groups kUnstyledText = {{0, "TEXT"}, {100, "AcDbText"}, {10, "0"}, {20, "0"}, {40, "5"},
                              {1, "AB"},   {7, "NOSUCH"},     {100, "AcDbText"}};

class DxfLeftOutTest : public DxfImport, public ::testing::WithParamInterface<LeftOutCase> {};

}  // namespace

// What the drawing leaves out is counted by kind, in both passes alike;
// what it draws is not.
TEST_P(DxfLeftOutTest, IsCountedByKindInTheReport) {
  const std::string path = WriteDxfFile("left.dxf", DxfEntities(GetParam().entities));
  for (bool counting : {true, false}) {
    std::vector<double> values(1000);
    std::vector<std::uint8_t> flags(500);
    int capacity = counting ? 0 : 1000, count = 0, status = 0;
    DxfImportReport report;
    ImportDxfFile(path, values.data(), flags.data(), &capacity, &count, &status, folder_.Path(), &report);
    std::vector<std::pair<std::string, int>> got;
    for (const DxfLeftOut& kind : report.leftOut) got.emplace_back(kind.what, kind.count);
    EXPECT_EQ(got, GetParam().leftOut) << (counting ? "counting" : "filling");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Drawings, DxfLeftOutTest,
    ::testing::Values(LeftOutCase{"Drawn", Concat({kLine, kControlSpline}), {}},
                      LeftOutCase{"FitPointSplines",
                                  Concat({kFitSpline, kLine, kControlSpline, kFitSpline}),
                                  {{"SPLINE (fit points only)", 2}}},
                      LeftOutCase{"UnreadKinds", Concat({kHatch, kLine, kHatch, {{0, "INSERT"}, {2, "B"}}}),
                                  {{"HATCH", 2}, {"INSERT", 1}}},
                      LeftOutCase{"Texts", Concat({kR12Text, kUnstyledText}),
                                  {{"TEXT", 1}, {"TEXT (style not defined)", 1}}},
                      LeftOutCase{"NoEntityName", Concat({{{0, "hatch me"}}, kLine}), {{"other entities", 1}}}),
    [](const auto& info) { return std::string(info.param.name); });

// A drawing of many unread kinds names the first sixteen and counts the
// rest together.
TEST_F(DxfImport, LeftOutKindsPastSixteenAreCountedTogether) {
  Groups entities;
  for (int i = 0; i < 20; ++i) entities.push_back({0, "KIND" + std::to_string(i)});
  entities.push_back({0, "KIND0"});
  const std::string path = WriteDxfFile("kinds.dxf", DxfEntities(entities));
  int capacity = 0, count = 0, status = 0;
  DxfImportReport report;
  ImportDxfFile(path, nullptr, nullptr, &capacity, &count, &status, folder_.Path(), &report);
  ASSERT_EQ(report.leftOut.size(), 17u);
  EXPECT_EQ(report.leftOut.front().what, "KIND0");
  EXPECT_EQ(report.leftOut.front().count, 2);
  EXPECT_EQ(report.leftOut.back().what, "other entities");
  EXPECT_EQ(report.leftOut.back().count, 4);
}
