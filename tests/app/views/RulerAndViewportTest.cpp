// The rulers' millimetre scale, and the viewport filter between the layout
// and the painter with the paths drawn through it.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "app/core/RulerScale.h"
#include "app/views/model/ViewportDeviceContext.h"
#include "document/path/CPathData.h"
#include "document/path/CStrokeGroup.h"
#include "values/ShellValues.h"

TEST(RulerScale, TicksRunBothWaysFromTheZero) {
  // 4 px/mm: a tick every 10 pixels; zero at 100 of a 300-pixel band.
  const auto ticks = RulerTicks(300, 100, 4, 1.0f, false);
  int after = 0;
  int before = 0;
  for (const RulerTick& t : ticks) {
    EXPECT_GT(t.position, 3);
    EXPECT_LT(t.position, 300);
    (t.position >= 100 ? after : before)++;
  }
  EXPECT_EQ(after, 20);   // 100, 110, ... 290
  EXPECT_EQ(before, 9);   // 90 .. 10
  EXPECT_EQ(ticks[0].length, 12);
  EXPECT_EQ(ticks[1].length, 4);
  EXPECT_EQ(ticks[2].length, 8);
  EXPECT_EQ(ticks[4].label, "-1.0");
  EXPECT_TRUE(ticks[4].longMark == false && ticks[8].longMark);
}

TEST(RulerScale, LabelsFollowTheScaleAndTheSide) {
  for (const bool top : {false, true}) {
    const auto ticks = RulerTicks(400, 200, 4, 2.0f, top);
    std::string past, short_of;
    for (const RulerTick& t : ticks) {
      if (t.position == 240) past = t.label;
      if (t.position == 160) short_of = t.label;
    }
    // Tick 4 at scale 2 reads 0.5: "-" below the left ruler's zero, "+" right of the top's.
    EXPECT_EQ(past, top ? "+0.5" : "-0.5");
    EXPECT_EQ(short_of, top ? "-0.5" : "+0.5");
  }
}

TEST(RulerScale, AZeroFarOutsideTheBandDrawsOnlyTheBandsTicks) {
  const auto ticks = RulerTicks(200, -1000000, 4, 1.0f, true);
  EXPECT_EQ(ticks.size(), 19u);  // 10, 20, ... 190
  EXPECT_TRUE(RulerTicks(200, 50, 0, 1.0f, true).empty());
  EXPECT_TRUE(RulerTicks(200, 50, 4, 0.0f, true).empty());
}

TEST(ViewportDeviceContext, DropsSegmentsBeyondOneEdgeAndKeepsThePath) {
  platform::RecordingDeviceContext target;
  ViewportDeviceContext dc(target, 100, 100, 0);
  dc.MoveTo(-50, 10);
  dc.LineTo(-10, 20);  // left of the viewport
  dc.LineTo(50, 50);   // comes in: drawn from (-10, 20)
  dc.LineTo(50, 50);   // a dot
  dc.LineTo(50, 50);   // the same dot again
  dc.LineTo(500, 50);  // leaves: drawn
  dc.LineTo(600, 900); // beyond the right edge
  EXPECT_TRUE(target.Ops().empty());  // the run goes over at once, when it ends
  dc.Flush();
  std::vector<std::vector<int>> ops;
  for (const auto& op : target.Ops()) ops.push_back(op.args);
  // One move to where the path comes in, then the drawn segments; the dots
  // fall on the pixel the segment ended on.
  EXPECT_EQ(ops, (std::vector<std::vector<int>>{{-10, 20}, {50, 50}, {500, 50}}));
  ASSERT_FALSE(target.Ops().empty());
  EXPECT_EQ(target.Ops()[0].kind, platform::DcOp::MoveTo);
  EXPECT_EQ(dc.Dropped(), 4);
  EXPECT_EQ(dc.GetCurrentPosition(), (platform::DcPoint{600, 900}));
}

// ---- Paths through the viewport filter ----

namespace {

CPointList PointsOf(std::initializer_list<std::pair<double, double>> xy, bool firstJoined = false) {
  CPointList list;
  bool first = true;
  for (auto [x, y] : xy) {
    list.Add(CDoublePoint(x, y, first && !firstJoined ? 0 : PT_JOINED));
    first = false;
  }
  return list;
}

std::unique_ptr<CStrokeGroup> Group(int kind, std::initializer_list<CPointList> lists) {
  auto group = std::make_unique<CStrokeGroup>(CPointList{});
  group->RemoveAllLists();
  for (const CPointList& list : lists) group->AddPointList(list);
  group->kind = kind;
  return group;
}

// What reaches the painter: every drawing call with the pen and brush in
// force; the selections themselves are left out (a path passed over makes
// none, and leaves the painter's pens as they were).
std::vector<std::string> Drawn(const platform::RecordingDeviceContext& target) {
  std::vector<std::string> out;
  for (const platform::DcOp& op : target.Ops()) {
    if (op.kind == platform::DcOp::SelectPen || op.kind == platform::DcOp::SelectBrush) continue;
    std::string s = std::to_string(op.kind) + " pen " + std::to_string(op.pen.color) + "/" + std::to_string(op.pen.width) +
                    " brush " + std::to_string(op.brush.color) + (op.brush.hollow ? "h" : "") + " colour " +
                    std::to_string(op.color) + ":";
    for (int a : op.args) s += " " + std::to_string(a);
    out.push_back(s);
  }
  return out;
}

struct Drawing {
  std::vector<std::string> ops;
  std::size_t ofThePath = 0;  // drawing calls the path made
  CDoublePoint first, last;
  platform::DcPoint position;
};

// The path drawn at a scroll offset into a 100 x 80 viewport, then a short
// path that starts with a line from wherever the first one left off.
Drawing DrawAt(const CPathData& path, const CDoubleRect& bounds, int originX, int originY, bool cull) {
  platform::RecordingDeviceContext target;
  ViewportDeviceContext dc(target, 100, 80);
  dc.SelectPen({platform::PS_SOLID, 1, RGB(1, 2, 3)});
  const platform::DcRect visible = dc.Visible();
  Drawing d;
  d.first = CDoublePoint(-1, -1, 7);
  d.last = CDoublePoint(-2, -2, 7);
  PathDrawContext ctx;
  ctx.dc = &dc;
  ctx.originX = originX;
  ctx.originY = originY;
  ctx.zoom = 2;
  ctx.firstPoint = &d.first;
  ctx.lastPoint = &d.last;
  ctx.visible = cull ? &visible : nullptr;
  ctx.bounds = bounds;
  path.DrawGroups(ctx);
  d.position = dc.GetCurrentPosition();
  dc.Flush();
  d.ofThePath = Drawn(target).size();
  CPathData probe;
  probe.GetGroupArray().Add(Group(GROUP_KIND_LINES, {PointsOf({{1, 1}, {2, -1}}, true)}));
  PathDrawContext next = ctx;
  CDoublePoint ignored;
  next.firstPoint = next.lastPoint = &ignored;
  next.visible = nullptr;
  next.originX = 50;
  next.originY = 40;
  probe.DrawGroups(next);
  dc.Flush();
  d.ops = Drawn(target);
  return d;
}

// The shared pixel sizes and machine record as a test found them, given back
// when it ends (the tests of this program run in any order).
class KeptViewSettings {
 public:
  KeptViewSettings() : pxX_(PixelsPerMmX), pxY_(PixelsPerMmY), machine_(MachineSettings) {}
  ~KeptViewSettings() {
    PixelsPerMmX = pxX_;
    PixelsPerMmY = pxY_;
    MachineSettings = machine_;
  }
  KeptViewSettings(const KeptViewSettings&) = delete;
  KeptViewSettings& operator=(const KeptViewSettings&) = delete;

 private:
  double pxX_, pxY_;
  MachineSetRecord machine_;
};

}  // namespace

// A path wholly outside the viewport is not walked: what it leaves behind
// (its first and last points, the current position a following path starts
// from) and what reaches the painter must be as if it had been drawn. Lines
// and fill, a path starting with a line, big dots (outlined and filled) and
// small ones near the edges, a path clipped to the working area, a fill whose
// contours were dropped, and bounds left behind.
TEST(ViewportDeviceContext, PathsPassedOverLeaveWhatDrawingThemLeaves) {
  const KeptViewSettings kept;
  PixelsPerMmX = PixelsPerMmY = 4;
  MachineSettings.rangeX = 60;
  MachineSettings.rangeY = 40;
  struct Shape {
    const char* name;
    std::function<void(CPathData&)> build;
    bool staleBounds = false;
  };
  const Shape shapes[] = {
      {"lines and fill", [](CPathData& p) {
         auto g = Group(GROUP_KIND_LINES, {PointsOf({{0, 0}, {6, 0}, {6, 4}, {0, 4}, {0, 0}}), PointsOf({{1, 1}, {3, 3}}, true)});
         g->HatchFill(0, 0.7f);
         p.GetGroupArray().Add(std::move(g));
       }},
      {"big dots", [](CPathData& p) {
         auto g = Group(GROUP_KIND_DOTS, {PointsOf({{0, 0}, {3, 1}}), PointsOf({{5, 5}})});
         g->dotSize = 2.5f;
         p.GetGroupArray().Add(std::move(g));
       }},
      {"small dots and lines", [](CPathData& p) {
         auto g = Group(GROUP_KIND_DOTS, {PointsOf({{0, 0}, {4, 2}})});
         g->dotSize = 0.1f;
         p.GetGroupArray().Add(std::move(g));
         p.GetGroupArray().Add(Group(GROUP_KIND_LINES, {PointsOf({{1, 0}, {2, 6}})}));
         p.GetGroupArray().Add(Group(GROUP_KIND_HIDDEN, {PointsOf({{-9, -9}, {9, 9}})}));
       }},
      {"clipped to the working area", [](CPathData& p) {
         p.GetGroupArray().Add(Group(GROUP_KIND_LINES, {PointsOf({{-40, 0}, {0, 2}, {3, 3}, {40, 5}})}));
         p.flag = 1;
       }},
      {"fill without contours", [](CPathData& p) {
         auto g = Group(GROUP_KIND_LINES, {PointsOf({{0, 0}, {8, 0}, {8, 5}, {0, 5}})});
         g->HatchFill(0, 0.9f);
         g->RemoveAllLists();
         p.GetGroupArray().Add(std::move(g));
       }},
      {"bounds left behind", [](CPathData& p) {
         p.GetGroupArray().Add(Group(GROUP_KIND_LINES, {PointsOf({{0, 0}, {5, 5}})}));
       },
       true},
  };
  int passed = 0;
  for (const Shape& shape : shapes) {
    CPathData path;
    shape.build(path);
    const CDoubleRect bounds = shape.staleBounds ? CDoubleRect(500, 510, 520, 500) : path.GetBoundRect();
    // Far out, then pixel by pixel across the right and the bottom edge.
    std::vector<std::pair<int, int>> at;
    for (int x : {-900, -110, -75, -40, -12, 0, 30, 60, 95, 120, 131, 200, 1000})
      for (int y : {-700, -60, -20, 0, 40, 80, 96, 101, 140, 900}) at.push_back({x, y});
    for (int k = 0; k < 40; ++k) {
      at.push_back({90 + k, 40});
      at.push_back({30, 70 + k});
    }
    for (const auto& [x, y] : at) {
      {
        const Drawing culled = DrawAt(path, bounds, x, y, true);
        const Drawing drawn = DrawAt(path, bounds, x, y, false);
        const std::string where = std::string(shape.name) + " at " + std::to_string(x) + ", " + std::to_string(y);
        EXPECT_EQ(culled.ops, drawn.ops) << where;
        EXPECT_EQ(culled.position, drawn.position) << where;
        EXPECT_TRUE(culled.first.x == drawn.first.x && culled.first.y == drawn.first.y &&
                    culled.first.flag == drawn.first.flag)
            << where;
        EXPECT_TRUE(culled.last.x == drawn.last.x && culled.last.y == drawn.last.y && culled.last.flag == drawn.last.flag)
            << where;
        if (drawn.ofThePath == 0) ++passed;  // nothing of the path showed
      }
    }
  }
  EXPECT_GT(passed, 100) << "most placements lie outside";
}

// Points are turned into pixels in batches; each must land where the point
// by point conversion puts it: fractions either side of a pixel, points far
// out (pinned), not numbers, zero of either sign.
TEST(ViewportDeviceContext, PathsHandedOverInBatchesDrawAsPointByPoint) {
  const KeptViewSettings kept;
  PixelsPerMmX = 4;
  PixelsPerMmY = 3.5;
  std::vector<std::pair<double, double>> xy;
  unsigned seed = 17;
  auto next = [&seed] {
    seed = seed * 1103515245u + 12345u;
    return static_cast<double>((seed >> 8) % 20000) / 997.0 - 10.0;
  };
  for (int i = 0; i < 700; ++i) xy.emplace_back(next(), next());
  const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
  for (auto p : {std::pair{nan, 1.0}, {1.0, nan}, {inf, -inf}, {1e12, -1e12}, {-0.0, 0.0}, {0.125, -0.125},
                 {2.4999999999, 7.25}, {-3.75, 11.0}})
    xy.insert(xy.begin() + static_cast<long>(xy.size() / 2), p);
  CPointList list;
  for (std::size_t i = 0; i < xy.size(); ++i)
    list.Add(CDoublePoint(xy[i].first, xy[i].second, i % 97 == 0 ? 0 : PT_JOINED));
  CPathData path;
  path.GetGroupArray().Add(Group(GROUP_KIND_LINES, {list}));
  for (double zoom : {0.25, 1.0, 2.5, 24.0}) {
    platform::RecordingDeviceContext batched, single;
    {
      ViewportDeviceContext dc(batched, 120, 90);
      PathDrawContext ctx;
      ctx.dc = &dc;
      ctx.originX = 60;
      ctx.originY = 45;
      ctx.zoom = zoom;
      ctx.offsetX = 0.3;
      ctx.offsetY = -0.2;
      path.DrawGroups(ctx);
    }
    {
      // The conversion point by point, as drawing did it.
      ViewportDeviceContext dc(single, 120, 90);
      auto trunc = [](double v) {
        if (std::isnan(v)) return 0;
        if (v > 1e9) return 1000000000;
        if (v < -1e9) return -1000000000;
        return static_cast<int>(v);
      };
      for (int i = 0; i < list.GetSize(); ++i) {
        const CDoublePoint& p = list[i];
        const int x = 60 + trunc((p.x + 0.3) * zoom * PixelsPerMmX), y = 45 - trunc((p.y - 0.2) * zoom * PixelsPerMmY);
        if (p.flag & PT_JOINED)
          dc.LineTo(x, y);
        else
          dc.MoveTo(x, y);
      }
    }
    EXPECT_EQ(Drawn(batched), Drawn(single)) << "zoom " << zoom;
    EXPECT_FALSE(Drawn(single).empty());
  }
}
