// The ruler: tick positions and lengths, labels (decimals, values, the up
// and down numbering), the odd middle tick, straight or arc, and a zero
// big-tick interval.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <vector>

#include "document/path/PathListHelpers.h"
#include "tests/text/layout/TextTestSupport.h"
#include "text/fonts/shx/ShxFontCache.h"
#include "text/objects/CObjTextRuler.h"

namespace {

struct TickSeen {
  double x0, y0, x1, y1;
};

// The two-point strokes of the main list.
std::vector<TickSeen> Strokes(const CObjTextRuler& ruler) {
  std::vector<TickSeen> out;
  const CPointList& p = ruler.GetPathData().points;
  for (int i = 0; i + 1 < p.GetSize(); ++i) {
    if (!(p[i].flag & PT_JOINED) && (p[i + 1].flag & PT_JOINED) && (i + 2 >= p.GetSize() || !(p[i + 2].flag & PT_JOINED)))
      out.push_back({p[i].x, p[i].y, p[i + 1].x, p[i + 1].y});
  }
  return out;
}

// A ruler at the origin without labels' fonts: only ticks and base line.
std::unique_ptr<CObjTextRuler> MakeRuler() {
  auto r = std::make_unique<CObjTextRuler>(CDoublePoint(0, 0));
  r->Settings().strokeFontPair = "none+none";
  return r;
}

TEST(Ruler, DefaultsGiveSixtyOneTicksAndABaseLine) {
  auto owned = MakeRuler();
  CObjTextRuler& r = *owned;
  r.CreatePoints(CDoublePoint(0, 0), false);
  const auto strokes = Strokes(r);
  ASSERT_EQ(strokes.size(), 62u);
  for (int i = 0; i <= 60; ++i) {
    SCOPED_TRACE(i);
    const TickSeen& t = strokes[static_cast<std::size_t>(i)];
    EXPECT_DOUBLE_EQ(t.x0, i);
    EXPECT_DOUBLE_EQ(t.y0, 0);
    const double length = i % 10 == 0 ? 5.0 : i % 10 == 5 ? 3.5 : 2.5;
    EXPECT_NEAR(t.y1, length, 1e-9);
  }
  EXPECT_DOUBLE_EQ(strokes.back().x0, 60);
  EXPECT_DOUBLE_EQ(strokes.back().x1, 0);
  // Ticks inwards.
  r.Ruler().dir = 1;
  r.CreatePoints(CDoublePoint(0, 0), false);
  EXPECT_NEAR(Strokes(r)[0].y1, -5, 1e-9);
}

struct OddCase {
  int units;
  int bigUnits;
  std::vector<double> ticks;
};

class RulerOddInterval : public ::testing::TestWithParam<OddCase> {};

// The unit below the middle of an odd interval gets a middle tick half a
// unit further, the last unit of the ruler too.
TEST_P(RulerOddInterval, HasAMiddleTickBetweenUnits) {
  const OddCase& c = GetParam();
  auto owned = MakeRuler();
  CObjTextRuler& r = *owned;
  r.Ruler().units = c.units;
  r.Ruler().bigUnits = c.bigUnits;
  r.Ruler().edge = 0;
  r.CreatePoints(CDoublePoint(0, 0), false);
  std::vector<double> xs;
  for (const TickSeen& t : Strokes(r)) xs.push_back(t.x0);
  EXPECT_EQ(xs, c.ticks);
  for (const TickSeen& t : Strokes(r)) {
    if (t.x0 != std::floor(t.x0)) { EXPECT_NEAR(t.y1, 3.5, 1e-9) << t.x0; }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RulerOddInterval,
    ::testing::Values(OddCase{10, 5, {0, 1, 2, 2.5, 3, 4, 5, 6, 7, 7.5, 8, 9, 10}},
                      OddCase{7, 5, {0, 1, 2, 2.5, 3, 4, 5, 6, 7, 7.5}},
                      OddCase{4, 3, {0, 1, 1.5, 2, 3, 4, 4.5}},
                      OddCase{1, 1, {0, 0.5, 1, 1.5}},
                      OddCase{4, 4, {0, 1, 2, 3, 4}}));

// As one unit per big tick: big ticks on the units, middle ones between.
TEST(Ruler, AZeroBigIntervalCountsAsOneInsteadOfDividingByZero) {
  auto owned = MakeRuler();
  CObjTextRuler& r = *owned;
  r.Ruler().units = 4;
  r.Ruler().bigUnits = 0;
  r.Ruler().edge = 0;
  r.CreatePoints(CDoublePoint(0, 0), false);
  const auto strokes = Strokes(r);
  ASSERT_EQ(strokes.size(), 10u);  // 0, 0.5, ..., 4, 4.5
  for (const TickSeen& t : strokes) EXPECT_NEAR(t.y1, std::fmod(t.x0, 1.0) == 0 ? 5 : 3.5, 1e-9);
}

struct LabelCase {
  int textMode, zero, reverse, units;
  float uv, sv;
  std::vector<std::string> labels;  // big (and middle) ticks in order
};

class RulerLabels : public ::testing::TestWithParam<LabelCase> {};

// The labels as a ruler numbers them, read from the value rule.
TEST_P(RulerLabels, NumberTheTicks) {
  const LabelCase& c = GetParam();
  auto owned = MakeRuler();
  CObjTextRuler& r = *owned;
  r.Ruler().textMode = c.textMode;
  r.Ruler().zero = c.zero;
  r.Ruler().reverse = c.reverse;
  r.Ruler().units = c.units;
  r.Ruler().uv = c.uv;
  r.Ruler().sv = c.sv;
  std::vector<std::string> seen;
  for (const CObjTextRuler::Tick& t : r.Ticks())
    if (t.labelled) seen.push_back(r.LabelText(t.value));
  EXPECT_EQ(seen, c.labels);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RulerLabels,
    ::testing::Values(LabelCase{1, 1, 0, 30, 0.5f, 0, {"0.0", "5.0", "10.0", "15.0"}},
                      LabelCase{1, 0, 1, 30, 1, 0, {"0", "10", "0", "10"}},
                      LabelCase{2, 0, 0, 20, 1, 0, {"0", "5", "10", "15", "20"}},
                      LabelCase{1, 2, 0, 20, 1, 0.25f, {"0.25", "10.25", "20.25"}},
                      LabelCase{3, 0, 0, 20, 1, -15, {"15", "5", "5"}},
                      LabelCase{1, 7, 0, 10, 1, 0, {"0.0000", "10.0000"}},
                      LabelCase{0, 0, 0, 20, 1, 0, {}}));

TEST(Ruler, ARadiusOfTwoIsStillStraightAndAboveItAnArc) {
  auto owned = MakeRuler();
  CObjTextRuler& r = *owned;
  r.Ruler().units = 4;
  r.Ruler().edge = 0;
  r.Ruler().ur = 2;
  r.CreatePoints(CDoublePoint(0, 0), false);
  EXPECT_DOUBLE_EQ(Strokes(r)[4].x0, 4);
  // On a circle of 20 mm, centred on top: ticks at radius 20, 1 mm apart.
  r.Ruler().ur = 20;
  r.CreatePoints(CDoublePoint(0, 0), false);
  EXPECT_NEAR(r.Ruler().arcW, 2.8648, 1e-4);
  EXPECT_NEAR(r.Ruler().sAngle, 4 * 2.8648 * 0.5 + 90, 1e-3);
  const auto strokes = Strokes(r);
  ASSERT_EQ(strokes.size(), 5u);
  for (std::size_t i = 0; i < strokes.size(); ++i) {
    EXPECT_NEAR(std::hypot(strokes[i].x0, strokes[i].y0), 20, 1e-6);
    EXPECT_NEAR(std::hypot(strokes[i].x1, strokes[i].y1), i == 0 ? 25 : 22.5, 1e-6);
  }
  // Symmetric about the top: the middle tick stands straight up.
  EXPECT_NEAR(strokes[2].x0, 0, 1e-3);
  // (within what the stored degree factor leaves at angles past a full turn)
  EXPECT_NEAR(strokes[0].x0, -strokes[4].x0, 5e-3);
  r.Ruler().lineW = 2;
  r.UpdateArcAngle();
  EXPECT_NEAR(r.Ruler().arcW, 5.7296, 1e-4);
}

}  // namespace

namespace {

TEST(Ruler, TurningKeepsTheRotationWithinATurnAndResizingScalesTheGraduation) {
  auto owned = MakeRuler();
  CObjTextRuler& r = *owned;
  r.Ruler().units = 10;
  r.CreatePoints(CDoublePoint(0, 0), false);
  r.Settings().rotation = 350;
  r.Rotate(20 * DEG_TO_RAD, CDoublePoint(0, 0));
  EXPECT_NEAR(r.Settings().rotation, 10, 1e-3);
  r.Rotate(-10 * DEG_TO_RAD, CDoublePoint(0, 0));
  EXPECT_FLOAT_EQ(r.Settings().rotation, 0);

  auto other = MakeRuler();
  CObjTextRuler& s = *other;
  s.Ruler().units = 10;
  s.CreatePoints(CDoublePoint(0, 0), false);
  CDoubleRect oldRect = s.GetPathData().GetBoundRect();
  CDoubleRect newRect(oldRect.left, oldRect.bottom + 2 * oldRect.Height(), oldRect.left + 2 * oldRect.Width(),
                      oldRect.bottom);
  s.ResizeToRect(oldRect, newRect, 2);  // top-right handle: both directions doubled
  EXPECT_NEAR(s.Ruler().lineW, 2, 1e-6);
  EXPECT_NEAR(s.Ruler().rHeight, 10, 1e-6);
}

// Labels of the ruler's own fonts; a missing one is named in the ruler's report.
TEST(Ruler, LabelsDrawWithTheRulerFontsAndNameTheMissingOnes) {
  TextRig rig;  // the installation folder with its fonts
  const Bytes stem = {2, 0x44, 1, 0x4C, 2, 0x20, 0};
  rig.Folder().AddFont("digits.shx", Shapes86Font({{'0', stem}, {'1', stem}, {'2', stem}}));
  auto ruler = std::make_unique<CObjTextRuler>(CDoublePoint(0, 0));
  ruler->Ruler().units = 20;
  ruler->Ruler().textMode = 1;
  ruler->Ruler().edge = 0;
  ruler->Settings().strokeFontPair = "digits+nobig";
  ruler->CreatePoints(CDoublePoint(0, 0), false);
  // 21 ticks of two points, labels "0", "10" and "20" of four strokes' points each.
  EXPECT_GT(ruler->GetPathData().points.GetSize(), 2 * 21 + 3);
  EXPECT_TRUE(ruler->GetLayoutReport().missingFonts.empty());
  ruler->Settings().strokeFontPair = "absent+nobig";
  ruler->CreatePoints(CDoublePoint(0, 0), false);
  EXPECT_EQ(ruler->GetLayoutReport().missingFonts, std::vector<std::string>{"absent.shx"});
  EXPECT_EQ(ruler->GetPathData().points.GetSize(), 2 * 21);
}

// What the ruler's labels do: texts sharing a cache read each font file once,
// so the second draws from the file the first opened.
TEST(Ruler, TextsSharingStrokeFontsReadEachFileOnce) {
  TextRig rig;
  ShxFontCache fonts(rig.Folder().Path());
  CObjText first;
  first.CopyFrom(rig.Text());
  first.ShareStrokeFonts(&fonts);
  first.SetText("LL", CDoublePoint(10, 50), false);
  std::filesystem::remove_all(rig.Folder().Path() + "/Fonts");
  CObjText second;
  second.CopyFrom(rig.Text());
  second.ShareStrokeFonts(&fonts);
  second.SetText("LL", CDoublePoint(10, 50), false);
  ASSERT_GT(first.GetPathData().points.GetSize(), 0);
  EXPECT_EQ(second.GetPathData().points.GetSize(), first.GetPathData().points.GetSize());
  EXPECT_TRUE(second.GetLayoutReport().missingFonts.empty());
}

}  // namespace
