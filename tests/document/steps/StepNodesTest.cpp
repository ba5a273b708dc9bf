#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "values/MachineSetRecord.h"
#include "document/geometry/CDoubleRect.h"
#include "document/params/CDrawProperity.h"
#include "document/path/CPathData.h"
#include "document/path/CStrokeGroup.h"
#include "document/path/CStrokePath.h"
#include "document/path/StepNodes.h"

namespace {

struct NodeList {
  StepNode* head = nullptr;
  NodeList() = default;
  NodeList(NodeList&& o) noexcept : head(o.head) { o.head = nullptr; }
  ~NodeList() { FreeStepNodes(head); }
  std::vector<StepNode> Nodes() const {
    std::vector<StepNode> v;
    for (StepNode* n = head; n; n = n->next) v.push_back(*n);
    return v;
  }
  std::vector<int> Flags() const {
    std::vector<int> v;
    for (StepNode* n = head; n; n = n->next) v.push_back(n->flags);
    return v;
  }
  long long SumX() const {
    long long s = 0;
    for (StepNode* n = head; n; n = n->next) s += (n->flags & SN_X_NEGATIVE) ? -n->stepsX : n->stepsX;
    return s;
  }
  long long SumY() const {
    long long s = 0;
    for (StepNode* n = head; n; n = n->next) s += (n->flags & SN_Y_POSITIVE) ? n->stepsY : -n->stepsY;
    return s;
  }
};

CPointList Stroke(std::initializer_list<std::pair<double, double>> pts, bool closed = false) {
  CPointList list;
  for (auto [x, y] : pts) list.Add(CDoublePoint(x, y, list.GetSize() ? PT_JOINED : 0));
  if (closed) list.Add(CDoublePoint(list[0].x, list[0].y, PT_JOINED));
  return list;
}

MachineSetRecord ZeroRecord() {
  MachineSetRecord r;
  std::memset(&r, 0, sizeof r);
  return r;
}

// Rotary switches are process-wide; every test leaves them off.
class StepNodesTest : public ::testing::Test {
 protected:
  void TearDown() override { SetSwitches(0, 0, 0); }
  static void SetSwitches(int rotate, int yReplacesZ, int threeAxis) {
    RotateMark = rotate;
    YReplacesZ = yReplacesZ;
    ThreeAxisRotate = threeAxis;
    NoSeekOriginXY = 0;
  }
  NodeList Build(const CPathData& path, CDoublePoint& current, int mode, bool firstObject = false,
                 const CDoubleRect& bounds = CDoubleRect()) {
    NodeList list;
    int count = 0;
    path.BuildStepNodes(list.head, prop_, current, count, firstObject, bounds, mode);
    EXPECT_EQ(count, static_cast<int>(list.Nodes().size()));
    firstObjectAfter_ = firstObject;
    return list;
  }
  MachineSetRecord record_ = ZeroRecord();
  CDrawProperity prop_{record_, false};  // step lengths 4 um
  bool firstObjectAfter_ = false;
};

}  // namespace

TEST_F(StepNodesTest, AddStepNodeSignsFlagsAndCarries) {
  NodeList list;
  StepNode* tail = nullptr;
  double cx = 0, cy = 0;
  ASSERT_EQ(AddStepNode(tail, -3.6, 2.2, cx, cy, 4, 4, SN_CALL_DRAWN | SN_CALL_DOT), 1);
  list.head = tail;
  EXPECT_EQ(tail->stepsX, 4);
  EXPECT_EQ(tail->stepsY, 2);
  EXPECT_EQ(tail->flags, SN_X_NEGATIVE | SN_Y_POSITIVE | SN_TOOL_DOWN | SN_NEEDLE_DOT);
  EXPECT_NEAR(cx, 0.4 * 4, 1e-9);
  EXPECT_NEAR(cy, 0.2 * 4, 1e-9);
  // A move that rounds to nothing appends nothing but keeps its fraction,
  // which comes out with the next move.
  EXPECT_EQ(AddStepNode(tail, 0.05, -0.1, cx, cy, 4, 4, 0), 0);
  EXPECT_EQ(tail, list.head);
  ASSERT_EQ(AddStepNode(tail, 0.1, -2.0, cx, cy, 4, 4, 0), 1);
  EXPECT_EQ(list.head->next, tail);
  EXPECT_EQ(tail->flags, 0);
  EXPECT_EQ(tail->stepsX, 1);
  // Moves too large for the counters are clamped, never undefined.
  ASSERT_EQ(AddStepNode(tail, -1e30, 1e30, cx, cy, 4, 4, 0), 1);
  EXPECT_GT(tail->stepsX, 0);
}

TEST_F(StepNodesTest, LongRunsOfSmallMovesEndAtTheRightAbsoluteCount) {
  // 1000 points 0.3 steps apart: 300 steps, not the 444 that counting each
  // dropped fraction twice gives.
  CPointList run;
  for (int i = 0; i <= 1000; ++i) run.Add(CDoublePoint(i * 0.0012, -i * 0.0012, i ? PT_JOINED : 0));
  CPathData path;
  path.GetGroupArray().Add(NewStrokeGroup(run).release());
  CDoublePoint current(0, 0);
  NodeList list = Build(path, current, 1);
  EXPECT_EQ(list.SumX(), 300);
  EXPECT_EQ(list.SumY(), -300);
  EXPECT_NEAR(current.x, 1.2, 1e-9);

  // A point that is not a number is skipped without losing the move around it.
  CPathData broken;
  broken.GetGroupArray().Add(NewStrokeGroup(Stroke({{0, 0}, {1, 0}, {NAN, 5}, {2, 0}})).release());
  CDoublePoint at(0, 0);
  EXPECT_EQ(Build(broken, at, 1).SumX(), 500);

  // A random walk over many paths and objects: the head ends where the steps
  // say, and the current point agrees with them.
  std::mt19937 rng(3);
  std::uniform_real_distribution<double> move(-0.01, 0.012);
  CDoublePoint head(0, 0);
  long long sumX = 0, sumY = 0;
  double x = 0, y = 0;
  for (int object = 0; object < 20; ++object) {
    CPathData obj;
    for (int g = 0; g < 3; ++g) {
      CPointList pts;
      for (int i = 0; i < 200; ++i) pts.Add(CDoublePoint(x += move(rng), y += move(rng), i ? PT_JOINED : 0));
      obj.GetGroupArray().Add(NewStrokeGroup(pts).release());
    }
    NodeList nodes = Build(obj, head, 1);
    sumX += nodes.SumX();
    sumY += nodes.SumY();
  }
  EXPECT_NEAR(sumX, x * 1000 / 4, 0.5 + 1e-9);
  EXPECT_NEAR(sumY, y * 1000 / 4, 0.5 + 1e-9);
  EXPECT_NEAR(head.x, sumX * 4 / 1000.0, 1e-9);
}

TEST_F(StepNodesTest, ToolAndNeedleFlagsAndGroupOrder) {
  CPathData path;
  auto lines = NewStrokeGroup(Stroke({{1, 0}, {2, 0}}));
  lines->GetFillList().Add(CDoublePoint(0, 1, 0));
  lines->GetFillList().Add(CDoublePoint(1, 1, PT_JOINED));
  auto dots = NewStrokeGroup(Stroke({{5, 5}}));
  dots->AddPointList(Stroke({{6, 5}}));
  dots->kind = GROUP_KIND_DOTS;
  dots->GetFillList().Add(CDoublePoint(7, 7, 0));
  path.GetGroupArray().Add(lines.release());
  path.GetGroupArray().Add(dots.release());
  CDoublePoint current(0, 0);
  NodeList list = Build(path, current, 1);
  // Fill of the line group (up, drawn), its contour (up, drawn), the dot
  // group's fill (a plain move) and its two dots, nearest first from (7, 7).
  const std::vector<int> expected = {SN_Y_POSITIVE, SN_TOOL_DOWN, 0, SN_TOOL_DOWN, SN_Y_POSITIVE,
                                     SN_X_NEGATIVE | SN_NEEDLE_DOT, SN_X_NEGATIVE | SN_NEEDLE_DOT};
  EXPECT_EQ(list.Flags(), expected);
  EXPECT_EQ(list.Nodes()[5].stepsX, 250);  // (6, 5) before (5, 5)

  // Mode 2 takes the groups last to first; the main list is never marked.
  current = CDoublePoint(0, 0);
  EXPECT_EQ(Build(path, current, 2).Nodes()[0].stepsY, 1750);  // to (7, 7) first
  CPathData noGroups;
  noGroups.points.Add(CDoublePoint(5, 5));
  EXPECT_EQ(Build(noGroups, current, 1).head, nullptr);
}

TEST_F(StepNodesTest, ClosedContoursStartAtTheNearestVertexAndOpenStrokesMayRunBackwards) {
  CStrokePath square(Stroke({{0, 0}, {10, 0}, {10, 10}, {0, 10}}, true));
  CStrokePath far(Stroke({{100, 100}, {101, 100}}));
  std::vector<CStrokePath*> remaining = {&far, &square};
  CPointList out;
  ASSERT_TRUE(PickNearestPath(remaining, CDoublePoint(12, 12), out));  // third corner nearest
  ASSERT_EQ(remaining.size(), 1u);
  ASSERT_EQ(out.GetSize(), 5);
  const double xs[] = {10, 0, 0, 10, 10}, ys[] = {10, 10, 0, 0, 10};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(out[i].x, xs[i]);
    EXPECT_EQ(out[i].y, ys[i]);
    EXPECT_EQ(out[i].flag & PT_JOINED, i == 0 ? 0 : PT_JOINED);
  }
  CPointList pts = Stroke({{0, 0}, {1, 0}, {2, 0}});
  pts[1].flag = 0;  // a pen lift inside the stroke
  CStrokePath open(pts);
  std::vector<CStrokePath*> one = {&open};
  ASSERT_TRUE(PickNearestPath(one, CDoublePoint(3, 0), out));
  EXPECT_EQ(out[0].x, 2);
  EXPECT_EQ(out[0].flag & PT_JOINED, 0);
  EXPECT_EQ(out[2].flag & PT_JOINED, PT_JOINED);
  CStrokePath empty;
  std::vector<CStrokePath*> none = {&empty};
  EXPECT_FALSE(PickNearestPath(none, CDoublePoint(0, 0), out));
}

TEST_F(StepNodesTest, ManyPathsAreTakenInThePlainNearestFirstOrder) {
  // One millimetre per step and whole-millimetre points: every node is exactly
  // the move between two chosen points, so both lists must match node for node.
  prop_.SetStepLengthX(1000);
  prop_.SetStepLengthY(1000);
  std::mt19937 rng(11);
  std::uniform_int_distribution<int> coord(-15, 15);
  for (int round = 0; round < 10; ++round) {
    std::vector<std::unique_ptr<CStrokePath>> owned;
    auto group = std::make_unique<CStrokeGroup>(CPointList());
    group->RemoveAllLists();
    for (int i = 0; i < 50 + round * 40; ++i) {
      CPointList pts;
      const int len = 1 + static_cast<int>(rng() % 3);
      for (int k = 0; k < len; ++k) pts.Add(CDoublePoint(coord(rng), coord(rng), k ? PT_JOINED : 0));
      if (round % 3 == 0 && len == 3) pts.Add(CDoublePoint(pts[0].x, pts[0].y, PT_JOINED));  // closed
      group->AddPointList(pts);
      owned.push_back(std::make_unique<CStrokePath>(pts));
    }
    CPathData path;
    path.GetGroupArray().Add(group.release());
    CDoublePoint current(0.0, 0.0);
    const NodeList built = Build(path, current, 1);

    NodeList expected;
    StepNode* tail = nullptr;
    double cx = 0, cy = 0;
    CDoublePoint at(0.0, 0.0);
    std::vector<CStrokePath*> remaining;
    for (auto& p : owned) remaining.push_back(p.get());
    CPointList out;
    while (PickNearestPath(remaining, at, out)) {
      for (int i = 0; i < out.GetSize(); ++i) {
        if (AddStepNode(tail, out[i].x - at.x, out[i].y - at.y, cx, cy, 1000, 1000, out[i].flag & PT_JOINED) &&
            !expected.head)
          expected.head = tail;
        at = out[i];
      }
    }
    const auto a = built.Nodes(), b = expected.Nodes();
    ASSERT_EQ(a.size(), b.size()) << round;
    for (std::size_t i = 0; i < a.size(); ++i) {
      ASSERT_EQ(a[i].flags, b[i].flags) << round << " node " << i;
      ASSERT_EQ(a[i].stepsX, b[i].stepsX) << round << " node " << i;
      ASSERT_EQ(a[i].stepsY, b[i].stepsY) << round << " node " << i;
    }
  }
}

TEST_F(StepNodesTest, RotaryOrderSeekNodesAndRotaryKinds) {
  // One group: a stroke from (0, 0) to (10, 0), bounds centre (5, 0).
  CPathData path;
  path.GetGroupArray().Add(NewStrokeGroup(Stroke({{0, 0}, {10, 0}})).release());
  const CDoubleRect bounds(0, 0, 10, 0);
  const int rotarySteps5mm = static_cast<int>(std::lround(5 * 1000 * prop_.GetRotaryFactor() / prop_.GetWorkDiameter()));

  // Two-axis rotary, X stands in for Z, first object of the job: the seek
  // runs on the ordinary axes, the drawing on the rotary drive.
  SetSwitches(1, 0, 0);
  CDoublePoint current(0, 0);
  NodeList first = Build(path, current, 0, true, bounds);
  EXPECT_EQ(first.Flags(), (std::vector<int>{SN_ROTARY_2AXIS | SN_POSITIONING, SN_ROTARY_2AXIS | SN_X_NEGATIVE,
                                             SN_ROTARY_2AXIS | SN_TOOL_DOWN}));
  EXPECT_FALSE(firstObjectAfter_);
  EXPECT_EQ(first.Nodes()[0].stepsX, 1250);
  EXPECT_EQ(first.Nodes()[1].stepsX, rotarySteps5mm);
  EXPECT_EQ(LastRotaryPoint.x, 5);
  // A later object: the seek runs on the rotary drive too.
  current = CDoublePoint(10, 0);
  EXPECT_EQ(Build(path, current, 0, false, bounds).Nodes()[0].stepsX, rotarySteps5mm);

  // Three-axis rotary: plain conversions, 0x02 on later seeks, a closing positioning move.
  SetSwitches(1, 0, 1);
  current = CDoublePoint(20, 0);
  NodeList three = Build(path, current, 0, false, bounds);
  EXPECT_EQ(three.Flags(), (std::vector<int>{SN_ROTARY_3AXIS | SN_X_NEGATIVE, SN_X_NEGATIVE, SN_TOOL_DOWN,
                                             SN_POSITIONING | SN_X_NEGATIVE}));

  // Rotary marking off: contour nodes still carry 0x01 in two-axis mode.
  SetSwitches(0, 0, 0);
  current = CDoublePoint(0, 0);
  EXPECT_EQ(Build(path, current, 0, true, bounds).Flags(), (std::vector<int>{SN_ROTARY_2AXIS | SN_TOOL_DOWN}));

  // Rotate for line with Y standing in for Z: the first seek goes to the mother line.
  prop_.SetRotateForLine(1);
  prop_.SetMachineDouble1(3);
  SetSwitches(1, 1, 0);
  current = CDoublePoint(0, 0);
  NodeList line = Build(path, current, 0, true, bounds);
  EXPECT_EQ(line.Nodes()[0].flags, SN_ROTARY_2AXIS | SN_POSITIONING | SN_Y_POSITIVE);
  EXPECT_EQ(line.Nodes()[0].stepsY, 750);
  EXPECT_EQ(LastRotaryPoint.y, 0);
}

TEST_F(StepNodesTest, RotateForLineSeeksTheMotherLineAndReturnsToTheObjectCentre) {
  CPathData path;
  path.GetGroupArray().Add(NewStrokeGroup(Stroke({{0, 0}, {10, 0}})).release());
  const CDoubleRect bounds(0, 0, 10, 0);
  const double perMm = 1000 * prop_.GetRotaryFactor() / prop_.GetWorkDiameter();
  prop_.SetRotateForLine(1);
  prop_.SetMachineDouble1(3);
  prop_.SetStepLengthY(5);

  // X stands in for Z, two-axis: the first seek runs to the mother line by the
  // y step length and lands on the object centre; the drawing turns the
  // work piece; a last rotary move brings the centre back under the needle.
  SetSwitches(1, 0, 0);
  CDoublePoint current(0, 0);
  NodeList list = Build(path, current, 0, true, bounds);
  const auto nodes = list.Nodes();
  ASSERT_EQ(nodes.size(), 4u);
  EXPECT_EQ(list.Flags(), (std::vector<int>{SN_ROTARY_2AXIS | SN_POSITIONING, SN_ROTARY_2AXIS | SN_X_NEGATIVE,
                                            SN_ROTARY_2AXIS | SN_TOOL_DOWN, SN_ROTARY_2AXIS | SN_X_NEGATIVE}));
  EXPECT_EQ(nodes[0].stepsX, 600);  // 3 mm by the y step length
  EXPECT_EQ(nodes[0].stepsY, 0);
  EXPECT_EQ(nodes[1].stepsX, static_cast<int>(std::lround(5 * perMm)));
  EXPECT_EQ(list.SumX(), 600);  // out, across and back: the drawing nets out
  EXPECT_EQ(LastRotaryPoint.x, 5);
  EXPECT_EQ(current.x, 5);

  // A later object of three-axis mode: only the first group seeks, on the
  // rotary drive (0x02); no closing positioning moves; the last move keeps
  // the needle-dot bit of a dot group and gets no 0x01.
  auto dots = NewStrokeGroup(Stroke({{2, 0}}));
  dots->AddPointList(Stroke({{8, 0}}));
  dots->kind = GROUP_KIND_DOTS;
  path.GetGroupArray().Add(dots.release());
  SetSwitches(1, 0, 1);
  current = CDoublePoint(20, 0);
  NodeList later = Build(path, current, 0, false, bounds);
  const std::vector<int> flags = later.Flags();
  ASSERT_EQ(flags.size(), 6u);
  EXPECT_EQ(flags.front(), SN_ROTARY_3AXIS | SN_X_NEGATIVE);
  EXPECT_EQ(later.Nodes().front().stepsX, static_cast<int>(std::lround(15 * perMm)));
  EXPECT_EQ(flags[4], SN_NEEDLE_DOT);  // (8, 0): plain conversion in three-axis mode
  EXPECT_EQ(flags.back(), SN_NEEDLE_DOT | SN_X_NEGATIVE);  // back to x = 5
  EXPECT_EQ(later.Nodes().back().stepsX, 750);
}

TEST_F(StepNodesTest, NoSeekOriginLeavesTheSubstitutedAxisOnTheFirstSeek) {
  CPathData path;
  path.GetGroupArray().Add(NewStrokeGroup(Stroke({{0, 4}, {10, 4}})).release());
  const CDoubleRect bounds(0, 4, 10, 4);
  prop_.SetStepLengthY(5);
  SetSwitches(1, 1, 0);
  NoSeekOriginXY = 1;
  CDoublePoint current(0, 0);
  NodeList list = Build(path, current, 0, true, bounds);
  ASSERT_FALSE(list.Nodes().empty());
  const StepNode seek = list.Nodes()[0];
  EXPECT_EQ(seek.flags, SN_ROTARY_2AXIS | SN_POSITIONING);
  EXPECT_EQ(seek.stepsX, 1250);
  EXPECT_EQ(seek.stepsY, 0);  // Y stands in for Z: no y seek
  EXPECT_EQ(LastRotaryPoint.y, 4);

  // Three-axis mode: the first seek loses 0x02 for 0x04.
  SetSwitches(1, 0, 1);
  NoSeekOriginXY = 1;
  current = CDoublePoint(0, 0);
  bool first = true;
  NodeList three;
  int count = 0;
  path.BuildStepNodes(three.head, prop_, current, count, first, bounds, 0);
  ASSERT_NE(three.head, nullptr);
  EXPECT_EQ(three.head->flags, SN_POSITIONING | SN_Y_POSITIVE);
  EXPECT_EQ(three.head->stepsX, 0);  // X stands in for Z: no x seek
  EXPECT_EQ(three.head->stepsY, 800);
  EXPECT_FALSE(first);
}
