// Rendering of stroke groups on a recording device context.
#include <gtest/gtest.h>

#include <cstdlib>
#include <limits>
#include <memory>

#include "values/ShellValues.h"
#include "document/path/CPathData.h"

using platform::DcOp;

namespace {

class PathRender : public ::testing::Test {
 protected:
  void SetUp() override {
    PixelsPerMmX = 4;
    PixelsPerMmY = 4;
    MachineSettings.rangeX = 20;
    MachineSettings.rangeY = 20;
    ctx.dc = &dc;
    ctx.originX = 100;
    ctx.originY = 200;
    ctx.zoom = 1;
    ctx.firstPoint = &first;
    ctx.lastPoint = &last;
  }

  CStrokeGroup* AddGroup(std::initializer_list<CDoublePoint> pts, int kind = GROUP_KIND_LINES) {
    CPointList list;
    for (const CDoublePoint& p : pts) list.Add(p);
    auto g = std::make_unique<CStrokeGroup>(list);
    g->kind = kind;
    CStrokeGroup* raw = g.get();
    path.GetGroupArray().Add(std::move(g));
    return raw;
  }

  std::vector<DcOp> OpsOf(DcOp::Kind kind) const {
    std::vector<DcOp> out;
    for (const DcOp& op : dc.Ops())
      if (op.kind == kind) out.push_back(op);
    return out;
  }

  platform::RecordingDeviceContext dc;
  PathDrawContext ctx;
  CDoublePoint first{-1, -1};
  CDoublePoint last{-1, -1};
  CPathData path;
};

std::vector<int> Args(const DcOp& op) { return op.args; }

}  // namespace

TEST_F(PathRender, LineGroupsMapTruncateAndReportEnds) {
  CStrokeGroup* g = AddGroup({{1.9, -0.9, 0}, {-1.9, 2.0, 1}});
  g->fill.Add({0, 0, 0});
  g->fill.Add({3, 0, 1});
  ctx.offsetX = 0.5;
  path.DrawGroups(ctx);

  const auto& ops = dc.Ops();
  ASSERT_EQ(ops.size(), 4u);
  // (2.4, -0.9) -> x 100 + trunc(9.6), y 200 - trunc(-3.6): truncation towards zero.
  EXPECT_EQ(ops[0].kind, DcOp::MoveTo);
  EXPECT_EQ(Args(ops[0]), (std::vector<int>{109, 203}));
  EXPECT_EQ(ops[1].kind, DcOp::LineTo);
  EXPECT_EQ(Args(ops[1]), (std::vector<int>{95, 192}));
  // The fill strokes follow the contours.
  EXPECT_EQ(ops[2].kind, DcOp::MoveTo);
  EXPECT_EQ(Args(ops[2]), (std::vector<int>{102, 200}));
  EXPECT_EQ(ops[3].kind, DcOp::LineTo);
  EXPECT_EQ(Args(ops[3]), (std::vector<int>{114, 200}));
  // Ends are reported without the offset.
  EXPECT_DOUBLE_EQ(first.x, 1.9);
  EXPECT_DOUBLE_EQ(last.x, 3);
}

TEST_F(PathRender, HighlightPenOnlyForFlaggedContoursAndRestored) {
  CStrokeGroup* g = AddGroup({{0, 0}, {1, 0, 1}});
  g->AddPointList([] {
    CPointList l;
    l.Add({0, 1});
    l.Add({1, 1, 1});
    return l;
  }());
  g->GetAt(1)->flag = 1;
  g->fill.Add({0, 2});
  g->fill.Add({1, 2, 1});
  const platform::DcPen objectPen{platform::PS_SOLID, 1, RGB(0, 0, 255)};
  const platform::DcPen highlight{platform::PS_DOT, 1, RGB(255, 0, 0)};
  dc.SelectPen(objectPen);
  dc.Clear();

  path.DrawGroups(ctx);  // no highlight pen given: flags are ignored
  EXPECT_TRUE(OpsOf(DcOp::SelectPen).empty());

  dc.Clear();
  ctx.highlightPen = &highlight;
  path.DrawGroups(ctx);
  const auto lines = OpsOf(DcOp::LineTo);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].pen, objectPen);
  EXPECT_EQ(lines[1].pen, highlight);
  EXPECT_EQ(lines[2].pen, objectPen);  // the fill is never highlighted
  EXPECT_EQ(dc.CurrentPen(), objectPen);
}

TEST_F(PathRender, DotSizesFollowZoom) {
  AddGroup({{1, 1}}, GROUP_KIND_DOTS)->fill.Add({5, 5});  // a dot group's fill is not drawn
  const platform::DcPen objectPen{platform::PS_SOLID, 2, RGB(0, 128, 0)};
  dc.SelectPen(objectPen);
  dc.Clear();

  // d = trunc(0.5 * 0.4761905 * 4 * 1) + 1 = 1: a 2 x 2 black square.
  path.DrawGroups(ctx);
  auto px = OpsOf(DcOp::SetPixel);
  ASSERT_EQ(px.size(), 4u);
  EXPECT_EQ(Args(px[0]), (std::vector<int>{104, 196}));
  EXPECT_EQ(Args(px[2]), (std::vector<int>{105, 197}));
  for (const DcOp& op : px) EXPECT_EQ(op.color, RGB(0, 0, 0));
  EXPECT_EQ(dc.CurrentPen(), objectPen);  // pen and brush restored

  // Zoom 10: d = 10, a red centre with eight black neighbours.
  dc.Clear();
  ctx.zoom = 10;
  path.DrawGroups(ctx);
  px = OpsOf(DcOp::SetPixel);
  ASSERT_EQ(px.size(), 9u);
  EXPECT_EQ(Args(px[0]), (std::vector<int>{140, 160}));
  EXPECT_EQ(px[0].color, RGB(255, 0, 0));
  for (size_t i = 1; i < px.size(); ++i) {
    EXPECT_EQ(px[i].color, RGB(0, 0, 0));
    EXPECT_LE(std::abs(px[i].args[0] - 140), 1);
    EXPECT_LE(std::abs(px[i].args[1] - 160), 1);
  }

  // Zoom 20: d = 20, a black circle filled from its centre.
  dc.Clear();
  ctx.zoom = 20;
  path.DrawGroups(ctx);
  const auto arcs = OpsOf(DcOp::Arc);
  ASSERT_EQ(arcs.size(), 1u);
  EXPECT_EQ(Args(arcs[0]), (std::vector<int>{171, 111, 191, 131, 191, 120, 191, 120}));
  EXPECT_EQ(arcs[0].pen, (platform::DcPen{platform::PS_SOLID, 1, 0}));
  const auto fills = OpsOf(DcOp::FloodFill);
  ASSERT_EQ(fills.size(), 1u);
  EXPECT_EQ(Args(fills[0]), (std::vector<int>{180, 120}));
  EXPECT_EQ(fills[0].brush, (platform::DcBrush{false, 0}));
  EXPECT_TRUE(OpsOf(DcOp::SetPixel).empty());
}

TEST_F(PathRender, HiddenGroupsDrawNothingAndFirstPointComesOnce) {
  AddGroup({{7, 7}, {8, 8, 1}}, GROUP_KIND_HIDDEN);
  AddGroup({{1, 2}}, GROUP_KIND_DOTS);
  AddGroup({{3, 4}, {5, 6, 1}});
  path.DrawGroups(ctx);
  EXPECT_DOUBLE_EQ(first.x, 1);  // from the dot list, the first one drawn
  EXPECT_DOUBLE_EQ(first.y, 2);
  EXPECT_DOUBLE_EQ(last.x, 5);
  for (const DcOp& op : dc.Ops()) {
    if (op.kind == DcOp::MoveTo || op.kind == DcOp::LineTo) {
      EXPECT_LT(op.args[0], 100 + 28);  // nothing of the hidden group at x 7..8 mm
    }
  }
}

TEST_F(PathRender, ClipModeBreaksStrokesAtTheWorkingArea) {
  // Working area 20 x 20 mm centred on the origin.
  AddGroup({{0, 0, 0}, {5, 0, 1}, {15, 0, 1}, {6, 1, 1}, {7, 1, 1}, {9.99, 0, 1}, {10, 0, 1}});
  path.flag = 1;
  path.DrawGroups(ctx);
  const auto& ops = dc.Ops();
  ASSERT_EQ(ops.size(), 5u);
  EXPECT_EQ(ops[0].kind, DcOp::MoveTo);
  EXPECT_EQ(ops[1].kind, DcOp::LineTo);
  EXPECT_EQ(ops[2].kind, DcOp::MoveTo);  // back inside: no line across the edge
  EXPECT_EQ(Args(ops[2]), (std::vector<int>{124, 196}));
  EXPECT_EQ(ops[3].kind, DcOp::LineTo);
  EXPECT_EQ(ops[4].kind, DcOp::LineTo);  // 9.99 is inside, 10 on the edge is not
  // Ends are not reported in clip mode.
  EXPECT_DOUBLE_EQ(first.x, -1);
  EXPECT_DOUBLE_EQ(last.x, -1);
}

TEST_F(PathRender, FarAwayPointsDoNotOverflowDeviceCoordinates) {
  AddGroup({{1e12, -1e12}, {std::numeric_limits<double>::quiet_NaN(), 0, 1}});
  ctx.zoom = 1e6;
  path.DrawGroups(ctx);
  const auto& ops = dc.Ops();
  ASSERT_EQ(ops.size(), 2u);
  EXPECT_GT(ops[0].args[0], 0);
  EXPECT_GT(ops[0].args[1], 0);
  EXPECT_EQ(ops[1].args[0], 100);
}
