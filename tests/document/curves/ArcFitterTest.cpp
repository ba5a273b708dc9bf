// The arc fitter and the LINE and ARC entities of its diagnostic drawing file.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "document/curves/CArcFitter.h"
#include "document/curves/CDxfSegment.h"
#include "document/curves/SplineToPolyline.h"

namespace {

std::string TestFile(const std::string& name) {
  const char* dir = std::getenv("VENDRIK_DATA_DIR");
  std::filesystem::path base = dir ? dir : std::filesystem::temp_directory_path().string();
  std::filesystem::create_directories(base);
  const std::string path = (base / name).string();
  std::filesystem::remove(path);
  return path;
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> out;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t nl = text.find('\n', at);
    out.push_back(text.substr(at, nl - at));
    at = nl == std::string::npos ? text.size() : nl + 1;
  }
  return out;
}

struct Entity {
  std::string kind;
  std::vector<double> values;  // the numbers in file order
};

// The entities between the section header and its end.
std::vector<Entity> Entities(const std::string& text) {
  const std::vector<std::string> lines = Lines(text);
  std::vector<Entity> out;
  for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
    if (lines[i] == " 0") {
      out.push_back({lines[i + 1], {}});
    } else if (!out.empty() && lines[i][0] == ' ' && lines[i] != " 0") {
      out.back().values.push_back(std::stod(lines[i + 1]));
    }
  }
  return out;
}

CPointList ArcPoints(double cx, double cy, double r, double fromDeg, double toDeg, int n) {
  CPointList list;
  for (int i = 0; i < n; ++i) {
    const double a = (fromDeg + (toDeg - fromDeg) * i / (n - 1)) * 3.14159265358979 / 180;
    list.Add(CDoublePoint(cx + r * std::cos(a), cy + r * std::sin(a)));
  }
  return list;
}

TEST(DxfSegment, CollinearPointsMakeALineAndArcsTakeTheShortWayRound) {
  CDxfSegment line;
  EXPECT_EQ(line.FromThreePoints(CDoublePoint(0, 0), CDoublePoint(1, 1), CDoublePoint(3, 3), 4.2, true), 0);
  EXPECT_EQ(line.isLine, 1);
  EXPECT_EQ(line.endPoint.x, 3);

  CDxfSegment simple;
  EXPECT_EQ(simple.FromThreePointsSimple(CDoublePoint(0, 0), CDoublePoint(1, 1), CDoublePoint(3, 3)), 1);
  EXPECT_EQ(simple.FromThreePointsSimple(CDoublePoint(0, 0), CDoublePoint(1, 1e-7), CDoublePoint(2, 0)), 1);
  EXPECT_EQ(simple.FromThreePointsSimple(CDoublePoint(0, 0), CDoublePoint(1, 0.5), CDoublePoint(2, 0)), 0);
  EXPECT_EQ(simple.isLine, 1);  // the flag stays set; only the circle is known

  // 350 to 10 degrees, given either way round: start -10, end 10.
  const CPointList pts = ArcPoints(5, 5, 20, 350, 370, 3);
  for (bool reversed : {false, true}) {
    CDxfSegment arc;
    const CDoublePoint& a = reversed ? pts[2] : pts[0];
    const CDoublePoint& c = reversed ? pts[0] : pts[2];
    ASSERT_EQ(arc.FromThreePoints(a, pts[1], c, 7, true), 1);
    EXPECT_EQ(arc.isLine, 0);
    EXPECT_NEAR(arc.startAngle, -10, 1e-4);
    EXPECT_NEAR(arc.endAngle, 10, 1e-4);
    EXPECT_NEAR(arc.radius, 20, 1e-9);
    EXPECT_NEAR(arc.centre.x, 5, 1e-9);
  }

  // Circles under 0.2 mm are lines; so are huge ones against a short run.
  CDxfSegment tiny;
  EXPECT_EQ(tiny.FromThreePoints(CDoublePoint(0.1, 0), CDoublePoint(0, 0.1), CDoublePoint(-0.1, 0), 0.3, false), 0);
  CDxfSegment flat;
  const CPointList wide = ArcPoints(0, 0, 1e6, 89.9999, 90.0001, 3);
  EXPECT_EQ(flat.FromThreePoints(wide[0], wide[1], wide[2], 3.5, true), 0);
  EXPECT_EQ(flat.FromThreePoints(wide[0], wide[1], wide[2], 3.5, false), 1);
}

TEST(DxfSegment, TurnsAndDirections) {
  EXPECT_NEAR(DirectionAngle(CDoublePoint(0, 0), CDoublePoint(0, 5)), 90, 1e-4);
  EXPECT_NEAR(DirectionAngle(CDoublePoint(0, 0), CDoublePoint(0, -5)), 270, 1e-4);
  EXPECT_EQ(DirectionAngle(CDoublePoint(1, 1), CDoublePoint(1, 1)), 0);
  EXPECT_NEAR(CornerAngle(CDoublePoint(0, 0), CDoublePoint(1, 0), CDoublePoint(1, 1)), 90, 1e-4);

  const CPointList ccw = ArcPoints(0, 0, 10, 0, 30, 4);
  EXPECT_TRUE(TurnsAgree(ccw[0], ccw[1], ccw[2], ccw[3]));
  // An S bend turns left, then right.
  EXPECT_FALSE(TurnsAgree(CDoublePoint(0, 0), CDoublePoint(5, 0), CDoublePoint(10, 1), CDoublePoint(15, 1)));
}

TEST(ArcFitter, FileHoldsOneSectionOfEntitiesWithLeadingSpaceGroupCodes) {
  const std::string path = TestFile("fit-line.dxf");
  {
    CArcFitter fitter(path);
    CPointList pts;
    for (int i = 0; i < 3; ++i) pts.Add(CDoublePoint(i, 2 * i));
    fitter.FitArcs(pts);
  }
  const std::string expected =
      "0\nSECTION\n2\nENTITIES\n"
      " 0\nLINE\n100\nAcDbEntity\n100\nAcDbLine\n"
      " 10\n0.000000\n 20\n0.000000\n 30\n0.000000\n"
      " 11\n2.000000\n 21\n4.000000\n 31\n0.000000\n"
      "0\nENDSEC\n0\nEOF\n";
  EXPECT_EQ(ReadText(path), expected);
}

TEST(ArcFitter, NothingWrittenLeavesNoFileAndAnUnwritablePathIsSkipped) {
  const std::string path = TestFile("fit-none.dxf");
  {
    CArcFitter fitter(path);
    CPointList one;
    one.Add(CDoublePoint(1, 1));
    fitter.FitArcs(one);
    fitter.CloseFile();
  }
  EXPECT_FALSE(std::filesystem::exists(path));

  CArcFitter nowhere(TestFile("no-such-folder") + "/sub/test.dxf");
  nowhere.FitArcs(ArcPoints(0, 0, 5, 0, 90, 20));  // must not write to a missing stream
  nowhere.CloseFile();

  // The default file lies in the data folder.
  EXPECT_EQ(std::filesystem::path(CArcFitter::DefaultPath()).filename(), "test.dxf");
}

TEST(ArcFitter, ArcsAreMaximalAndBreakAtCornersAndTurnChanges) {
  const std::string path = TestFile("fit-shapes.dxf");
  {
    CArcFitter fitter(path);
    // A quarter circle sampled finely, then a straight leg after a sharp corner.
    CPointList pts = ArcPoints(0, 0, 20, 0, 90, 40);
    for (int i = 1; i <= 5; ++i) pts.Add(CDoublePoint(-5.0 * i, 20));
    pts.Add(CDoublePoint(-25, 40));  // 90 degree corner
    fitter.FitArcs(pts);
  }
  const std::vector<Entity> e = Entities(ReadText(path));
  ASSERT_GE(e.size(), 3u);
  EXPECT_EQ(e[0].kind, "ARC");
  // centre x, y, z, radius, start, end
  ASSERT_EQ(e[0].values.size(), 6u);
  EXPECT_NEAR(e[0].values[3], 20, 0.01);
  EXPECT_NEAR(e[0].values[4], 0, 0.05);
  EXPECT_NEAR(e[0].values[5], 90, 0.05);
  // The tangent leg is straight up to the corner, then the last leg.
  EXPECT_EQ(e[e.size() - 1].kind, "LINE");
  EXPECT_EQ(e[e.size() - 1].values[3], -25);
  EXPECT_EQ(e[e.size() - 1].values[4], 40);
  ASSERT_EQ(e.size(), 3u);
  EXPECT_EQ(e[1].kind, "LINE");
  EXPECT_NEAR(e[1].values[0], 0, 1e-6);  // from the arc's end
  EXPECT_NEAR(e[1].values[3], -25, 1e-9);

  // An S curve: two arcs of opposite turn, split where the turn changes.
  const std::string sPath = TestFile("fit-s.dxf");
  {
    CArcFitter fitter(sPath);
    CPointList s = ArcPoints(0, 0, 10, 180, 90, 30);
    const CPointList second = ArcPoints(0, 20, 10, 270, 360, 30);
    for (int i = 1; i < second.GetSize(); ++i) s.Add(second[i]);
    fitter.FitArcs(s);
  }
  const std::vector<Entity> se = Entities(ReadText(sPath));
  int arcs = 0;
  for (const Entity& x : se) arcs += x.kind == "ARC";
  EXPECT_EQ(arcs, 2);
  ASSERT_EQ(se.size(), 2u);
  EXPECT_NEAR(se[0].values[1], 0, 0.01);   // first centre (0, 0)
  EXPECT_NEAR(se[1].values[1], 20, 0.01);  // second centre (0, 20)
}

TEST(ArcFitter, SplineSpansAreHandedToTheFitter) {
  const std::string path = TestFile("fit-spline.dxf");
  CSplineRecord s;
  for (const CDoublePoint& p : {CDoublePoint(0, 0), CDoublePoint(10, 0), CDoublePoint(10, 10), CDoublePoint(20, 10)}) {
    s.controlPoints.Add(p);
  }
  s.knots = {0, 0, 0, 0, 1, 1, 1, 1};
  {
    CArcFitter fitter(path);
    int counter = 0;
    int fill = 1;
    std::vector<double> coords(100);
    std::vector<std::uint8_t> flags(50);
    EXPECT_EQ(SplineToPolyline(s, coords.data(), flags.data(), counter, &fill, &fitter), counter);
  }
  const std::vector<Entity> e = Entities(ReadText(path));
  ASSERT_FALSE(e.empty());
  // The entities run from the spline's start to its end.
  EXPECT_EQ(e.front().kind == "LINE" ? e.front().values[0] : 0.0, 0.0);
  const Entity& last = e.back();
  if (last.kind == "LINE") {
    EXPECT_NEAR(last.values[3], 20, 1e-6);
    EXPECT_NEAR(last.values[4], 10, 1e-6);
  }
}

}  // namespace
