// The arc fitter and the LINE and ARC entities of its diagnostic drawing file.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "document/curves/CArcFitter.h"
#include "document/curves/CDxfSegment.h"

namespace {

std::string TestFile(const std::string& name) {
  const char* dir = std::getenv("VENDRIK_DATA_DIR");
  const std::filesystem::path base = dir ? dir : std::filesystem::temp_directory_path();
  std::filesystem::create_directories(base);
  std::filesystem::remove(base / name);
  return (base / name).string();
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Each entity: its kind, then the numbers of its space-led group codes in order.
std::vector<std::pair<std::string, std::vector<double>>> Entities(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> lines;
  for (std::string l; std::getline(in, l);) lines.push_back(l);
  std::vector<std::pair<std::string, std::vector<double>>> out;
  for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
    if (lines[i] == " 0") {
      out.push_back({lines[i + 1], {}});
    } else if (!out.empty() && lines[i][0] == ' ') {
      out.back().second.push_back(std::stod(lines[i + 1]));
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

TEST(DxfSegment, ArcsTakeTheShortWayRoundAndFlatOrTinyCirclesAreLines) {
  const CPointList pts = ArcPoints(5, 5, 20, 350, 370, 3);
  for (bool reversed : {false, true}) {
    CDxfSegment arc;
    ASSERT_EQ(arc.FromThreePoints(pts[reversed ? 2 : 0], pts[1], pts[reversed ? 0 : 2], 7, true), 1);
    EXPECT_NEAR(arc.startAngle, -10, 1e-4);
    EXPECT_NEAR(arc.endAngle, 10, 1e-4);
    EXPECT_NEAR(arc.radius, 20, 1e-9);
  }
  CDxfSegment line;
  EXPECT_EQ(line.FromThreePoints(CDoublePoint(0, 0), CDoublePoint(1, 1), CDoublePoint(3, 3), 4.2, true), 0);
  EXPECT_EQ(line.isLine, 1);
  EXPECT_EQ(line.FromThreePoints(CDoublePoint(0.1, 0), CDoublePoint(0, 0.1), CDoublePoint(-0.1, 0), 0.3, false), 0);
  const CPointList wide = ArcPoints(0, 0, 1e6, 89.9999, 90.0001, 3);
  EXPECT_EQ(line.FromThreePoints(wide[0], wide[1], wide[2], 3.5, true), 0);
  EXPECT_EQ(line.FromThreePoints(wide[0], wide[1], wide[2], 3.5, false), 1);
  EXPECT_EQ(line.FromThreePointsSimple(CDoublePoint(0, 0), CDoublePoint(1, 1e-7), CDoublePoint(2, 0)), 1);
  EXPECT_EQ(line.FromThreePointsSimple(CDoublePoint(0, 0), CDoublePoint(1, 0.5), CDoublePoint(2, 0)), 0);
}

TEST(ArcFitter, FileHoldsOneSectionOfEntitiesWithLeadingSpaceGroupCodes) {
  const std::string path = TestFile("fit-line.dxf");
  {
    CArcFitter fitter(path);
    CPointList pts;
    pts.Add(CDoublePoint(1, 1));
    fitter.FitArcs(pts);  // a single point writes nothing
    pts.RemoveAll();
    for (int i = 0; i < 3; ++i) pts.Add(CDoublePoint(i, 2 * i));
    fitter.FitArcs(pts);
  }
  EXPECT_EQ(ReadText(path),
            "0\nSECTION\n2\nENTITIES\n"
            " 0\nLINE\n100\nAcDbEntity\n100\nAcDbLine\n"
            " 10\n0.000000\n 20\n0.000000\n 30\n0.000000\n"
            " 11\n2.000000\n 21\n4.000000\n 31\n0.000000\n"
            "0\nENDSEC\n0\nEOF\n");
}

TEST(ArcFitter, NothingWrittenLeavesNoFileAndAnUnwritablePathIsSkipped) {
  const std::string path = TestFile("fit-none.dxf");
  {
    CArcFitter fitter(path);
    fitter.CloseFile();
  }
  EXPECT_FALSE(std::filesystem::exists(path));
  CArcFitter nowhere(TestFile("no-such-folder") + "/sub/test.dxf");
  nowhere.FitArcs(ArcPoints(0, 0, 5, 0, 90, 20));
  nowhere.CloseFile();
  EXPECT_EQ(std::filesystem::path(CArcFitter::DefaultPath()).filename(), "test.dxf");
}

TEST(ArcFitter, ArcsAreMaximalAndBreakAtCornersAndTurnChanges) {
  const std::string path = TestFile("fit-shapes.dxf");
  {
    CArcFitter fitter(path);
    CPointList pts = ArcPoints(0, 0, 20, 0, 90, 40);  // quarter circle
    for (int i = 1; i <= 5; ++i) pts.Add(CDoublePoint(-5.0 * i, 20));  // tangent leg
    pts.Add(CDoublePoint(-25, 40));  // after a right-angle corner
    fitter.FitArcs(pts);
  }
  const auto e = Entities(ReadText(path));
  ASSERT_EQ(e.size(), 3u);
  EXPECT_EQ(e[0].first, "ARC");  // centre x, y, z, radius, start, end
  EXPECT_NEAR(e[0].second[3], 20, 0.01);
  EXPECT_NEAR(e[0].second[4], 0, 0.05);
  EXPECT_NEAR(e[0].second[5], 90, 0.05);
  EXPECT_EQ(e[1].first, "LINE");
  EXPECT_NEAR(e[1].second[0], 0, 1e-6);
  EXPECT_EQ(e[1].second[3], -25);
  EXPECT_EQ(e[2].first, "LINE");
  EXPECT_EQ(e[2].second[4], 40);

  // Three quarters of a circle: arcs below half a turn each, which together
  // sweep the whole run (an arc entity always takes the shorter way round).
  const std::string wPath = TestFile("fit-wide.dxf");
  {
    CArcFitter fitter(wPath);
    fitter.FitArcs(ArcPoints(0, 0, 10, 0, 270, 91));
  }
  double sweep = 0;
  for (const auto& [kind, v] : Entities(ReadText(wPath))) {
    ASSERT_EQ(kind, "ARC");
    EXPECT_LT(v[5] - v[4], 180);
    sweep += v[5] - v[4];
  }
  EXPECT_NEAR(sweep, 270, 0.01);

  const std::string sPath = TestFile("fit-s.dxf");
  {
    CArcFitter fitter(sPath);
    CPointList s = ArcPoints(0, 0, 10, 180, 90, 30);
    const CPointList second = ArcPoints(0, 20, 10, 270, 360, 30);
    for (int i = 1; i < second.GetSize(); ++i) s.Add(second[i]);
    fitter.FitArcs(s);
  }
  const auto se = Entities(ReadText(sPath));
  ASSERT_EQ(se.size(), 2u);  // split where the turn changes
  EXPECT_EQ(se[0].first, "ARC");
  EXPECT_NEAR(se[0].second[1], 0, 0.01);
  EXPECT_EQ(se[1].first, "ARC");
  EXPECT_NEAR(se[1].second[1], 20, 0.01);
}

}  // namespace
