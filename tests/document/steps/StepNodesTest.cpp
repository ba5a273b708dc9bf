#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "app/shell/MachineSetRecord.h"
#include "document/geometry/CDoubleRect.h"
#include "document/params/CDrawProperity.h"
#include "document/path/CPathData.h"
#include "document/path/CStrokeGroup.h"
#include "document/path/CStrokePath.h"
#include "document/path/StepNodes.h"

namespace {

MachineSetRecord ZeroRecord() {
  MachineSetRecord r;
  std::memset(&r, 0, sizeof r);
  return r;
}

struct NodeList {
  StepNode* head = nullptr;
  ~NodeList() { FreeStepNodes(head); }
  std::vector<StepNode> Nodes() const {
    std::vector<StepNode> v;
    for (StepNode* n = head; n; n = n->next) v.push_back(*n);
    return v;
  }
  // Signed sums of the moves.
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
  bool first = true;
  for (auto [x, y] : pts) {
    list.Add(CDoublePoint(x, y, first ? 0 : PT_JOINED));
    first = false;
  }
  if (closed) list.Add(CDoublePoint(list[0].x, list[0].y, PT_JOINED));
  return list;
}

// Rotary switches are process-wide; every test leaves them off.
class StepNodesTest : public ::testing::Test {
 protected:
  void SetUp() override { SetSwitches(0, 0, 0, 0); }
  void TearDown() override { SetSwitches(0, 0, 0, 0); }
  static void SetSwitches(int rotate, int yReplacesZ, int threeAxis, int noSeek) {
    RotateMark = rotate;
    YReplacesZ = yReplacesZ;
    ThreeAxisRotate = threeAxis;
    NoSeekOriginXY = noSeek;
  }
  MachineSetRecord record_ = ZeroRecord();
  CDrawProperity prop_{record_, false};  // step lengths 4 um
};

}  // namespace

TEST_F(StepNodesTest, AddStepNodeSignsFlagsAndCarries) {
  StepNode* tail = nullptr;
  double cx = 0, cy = 0;
  ASSERT_EQ(AddStepNode(tail, -3.6, 2.2, cx, cy, 4, 4, SN_CALL_DRAWN | SN_CALL_DOT), 1);
  std::unique_ptr<StepNode> first(tail);
  EXPECT_EQ(tail->stepsX, 4);
  EXPECT_EQ(tail->stepsY, 2);
  EXPECT_EQ(tail->flags, SN_X_NEGATIVE | SN_Y_POSITIVE | SN_TOOL_DOWN | SN_NEEDLE_DOT);
  EXPECT_NEAR(cx, 0.4 * 4, 1e-9);
  EXPECT_NEAR(cy, 0.2 * 4, 1e-9);

  // A move that rounds to nothing appends nothing but keeps its fraction.
  StepNode* before = tail;
  EXPECT_EQ(AddStepNode(tail, 0.05, -0.1, cx, cy, 4, 4, 0), 0);
  EXPECT_EQ(tail, before);
  EXPECT_EQ(before->next, nullptr);
  EXPECT_NEAR(cx, 0.45 * 4, 1e-9);
  EXPECT_NEAR(cy, 0.1 * 4, 1e-9);

  ASSERT_EQ(AddStepNode(tail, 0.1, -2.0, cx, cy, 4, 4, 0), 1);
  std::unique_ptr<StepNode> second(tail);
  EXPECT_EQ(before->next, tail);
  EXPECT_EQ(tail->flags, 0);  // y negative: no 0x10; no tool
  EXPECT_EQ(tail->stepsX, 1);  // the carried 0.45 steps come out now

  // Moves too large for the counters are clamped, never undefined.
  StepNode* big = nullptr;
  double bx = 0, by = 0;
  ASSERT_EQ(AddStepNode(big, -1e30, 1e30, bx, by, 4, 4, 0), 1);
  std::unique_ptr<StepNode> third(big);
  EXPECT_GT(big->stepsX, 0);
  EXPECT_GT(big->stepsY, 0);
}

TEST_F(StepNodesTest, LongRunsOfSmallMovesEndAtTheRightAbsoluteCount) {
  // 1000 points 0.3 steps apart: 300 steps, not the 444 that counting each
  // dropped fraction twice would give.
  CPointList run;
  for (int i = 0; i <= 1000; ++i) run.Add(CDoublePoint(i * 0.0012, -i * 0.0012, i ? PT_JOINED : 0));
  CPathData path;
  path.GetGroupArray().Add(NewStrokeGroup(run).release());
  NodeList list;
  CDoublePoint current(0, 0);
  int count = 0;
  path.BuildGroupStepNodes(list.head, prop_, current, count, 1);
  EXPECT_EQ(list.SumX(), 300);
  EXPECT_EQ(list.SumY(), -300);
  EXPECT_EQ(count, static_cast<int>(list.Nodes().size()));
  EXPECT_NEAR(current.x, 1.2, 1e-9);

  // A point that is not a number is skipped without losing the move around it.
  CPointList broken = Stroke({{0, 0}, {1, 0}, {NAN, 5}, {2, 0}});
  CPathData brokenPath;
  brokenPath.GetGroupArray().Add(NewStrokeGroup(broken).release());
  NodeList brokenList;
  CDoublePoint at(0, 0);
  int brokenCount = 0;
  brokenPath.BuildGroupStepNodes(brokenList.head, prop_, at, brokenCount, 1);
  EXPECT_EQ(brokenList.SumX(), 500);
  EXPECT_EQ(brokenList.SumY(), 0);
  EXPECT_EQ(at.x, 2);

  // A random walk over several paths, objects and both axes: the head ends
  // where the steps say, and the current point says the same.
  std::mt19937 rng(3);
  std::uniform_real_distribution<double> move(-0.01, 0.012);
  CDoublePoint head(0, 0);
  NodeList all;
  int total = 0;
  double x = 0, y = 0;
  for (int object = 0; object < 20; ++object) {
    CPathData obj;
    for (int g = 0; g < 3; ++g) {
      CPointList pts;
      for (int i = 0; i < 200; ++i) {
        x += move(rng);
        y += move(rng);
        pts.Add(CDoublePoint(x, y, i ? PT_JOINED : 0));
      }
      obj.GetGroupArray().Add(NewStrokeGroup(pts).release());
    }
    obj.BuildGroupStepNodes(all.head, prop_, head, total, 1);
  }
  EXPECT_NEAR(all.SumX(), x * 1000 / 4, 0.5 + 1e-9);
  EXPECT_NEAR(all.SumY(), y * 1000 / 4, 0.5 + 1e-9);
  EXPECT_NEAR(head.x, all.SumX() * 4 / 1000.0, 1e-9);
  EXPECT_NEAR(head.y, all.SumY() * 4 / 1000.0, 1e-9);
}

TEST_F(StepNodesTest, ToolAndNeedleFlagsFollowPointsAndGroupKinds) {
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

  NodeList list;
  CDoublePoint current(0, 0);
  int count = 0;
  path.BuildGroupStepNodes(list.head, prop_, current, count, 1);
  std::vector<int> flags;
  for (const StepNode& n : list.Nodes()) flags.push_back(n.flags);
  // Fill of the line group (up, drawn), its contour (up, drawn), the dot
  // group's fill (a plain move) and its two dots, nearest first from (7, 7).
  const std::vector<int> expected = {SN_Y_POSITIVE, SN_TOOL_DOWN, 0, SN_TOOL_DOWN, SN_Y_POSITIVE,
                                     SN_X_NEGATIVE | SN_NEEDLE_DOT, SN_X_NEGATIVE | SN_NEEDLE_DOT};
  EXPECT_EQ(flags, expected);
  EXPECT_EQ(list.Nodes()[5].stepsX, 250);  // (6, 5) before (5, 5)
  EXPECT_EQ(count, 7);
}

TEST_F(StepNodesTest, ClosedContoursStartAtTheNearestVertexAndOpenStrokesMayRunBackwards) {
  // Square contour; its third corner (10, 10) is nearest to the head.
  CStrokePath square(Stroke({{0, 0}, {10, 0}, {10, 10}, {0, 10}}, true));
  CStrokePath far(Stroke({{100, 100}, {101, 100}}));
  std::vector<CStrokePath*> remaining = {&far, &square};
  CPointList out;
  ASSERT_TRUE(PickNearestPath(remaining, CDoublePoint(12, 12), out));
  ASSERT_EQ(remaining.size(), 1u);
  EXPECT_EQ(remaining[0], &far);
  ASSERT_EQ(out.GetSize(), 5);
  const double xs[] = {10, 0, 0, 10, 10}, ys[] = {10, 10, 0, 0, 10};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(out[i].x, xs[i]);
    EXPECT_EQ(out[i].y, ys[i]);
    EXPECT_EQ(out[i].flag & PT_JOINED, i == 0 ? 0 : PT_JOINED);
  }

  // An open stroke reached at its last point is marked backwards.
  CPointList strokePts = Stroke({{0, 0}, {1, 0}, {2, 0}});
  strokePts[1].flag = 0;  // a pen lift inside the stroke
  CStrokePath open(strokePts);
  std::vector<CStrokePath*> one = {&open};
  ASSERT_TRUE(PickNearestPath(one, CDoublePoint(3, 0), out));
  ASSERT_EQ(out.GetSize(), 3);
  EXPECT_EQ(out[0].x, 2);
  EXPECT_EQ(out[0].flag & PT_JOINED, 0);
  EXPECT_EQ(out[2].x, 0);
  EXPECT_EQ(out[2].flag & PT_JOINED, PT_JOINED);

  // Paths without points are never chosen.
  CStrokePath empty;
  std::vector<CStrokePath*> none = {&empty};
  EXPECT_FALSE(PickNearestPath(none, CDoublePoint(0, 0), out));
  EXPECT_TRUE(none.empty());

  // Through the path: one tool-up move to the corner, then four drawn sides.
  CPathData path;
  path.GetGroupArray().Add(NewStrokeGroup(square.points).release());
  NodeList list;
  CDoublePoint current(12, 12);
  int count = 0;
  path.BuildGroupStepNodes(list.head, prop_, current, count, 1);
  const auto nodes = list.Nodes();
  ASSERT_EQ(nodes.size(), 5u);
  EXPECT_EQ(nodes[0].flags & SN_TOOL_DOWN, 0);
  EXPECT_EQ(nodes[0].stepsX, 500);
  for (std::size_t i = 1; i < 5; ++i) EXPECT_EQ(nodes[i].flags & SN_TOOL_DOWN, SN_TOOL_DOWN);
  EXPECT_EQ(current.x, 10);
  EXPECT_EQ(current.y, 10);
}

TEST_F(StepNodesTest, GroupOrderByModeAndPathsWithoutGroups) {
  CPathData path;
  path.GetGroupArray().Add(NewStrokeGroup(Stroke({{1, 0}})).release());
  path.GetGroupArray().Add(NewStrokeGroup(Stroke({{0, 2}})).release());
  for (int mode : {1, 2}) {
    NodeList list;
    CDoublePoint current(0, 0);
    int count = 0;
    path.BuildStepNodes(list.head, prop_, current, count, *std::make_unique<bool>(false), CDoubleRect(), mode);
    const auto nodes = list.Nodes();
    ASSERT_EQ(nodes.size(), 2u);
    EXPECT_EQ(nodes[0].stepsX, mode == 1 ? 250 : 0) << mode;
    EXPECT_EQ(nodes[0].stepsY, mode == 1 ? 0 : 500) << mode;
  }
  CPathData empty;
  empty.points.Add(CDoublePoint(5, 5));  // the main list is not marked
  NodeList list;
  CDoublePoint current(0, 0);
  int count = 0;
  empty.BuildGroupStepNodes(list.head, prop_, current, count, 1);
  EXPECT_EQ(list.head, nullptr);
  EXPECT_EQ(count, 0);
}

TEST_F(StepNodesTest, ManyPathsAreTakenInThePlainNearestFirstOrder) {
  // One millimetre per step and whole-millimetre points: every node is exactly
  // the move between two chosen points, so the lists must match node for node.
  MachineSetRecord r = ZeroRecord();
  CDrawProperity prop(r, false);
  prop.SetStepLengthX(1000);
  prop.SetStepLengthY(1000);
  std::mt19937 rng(11);
  std::uniform_int_distribution<int> coord(-15, 15);
  for (int round = 0; round < 10; ++round) {
    std::vector<std::unique_ptr<CStrokePath>> owned;
    auto group = std::make_unique<CStrokeGroup>(CPointList());
    group->RemoveAllLists();
    const int n = 50 + round * 40;
    for (int i = 0; i < n; ++i) {
      CPointList pts;
      const int len = 1 + static_cast<int>(rng() % 3);
      for (int k = 0; k < len; ++k) pts.Add(CDoublePoint(coord(rng), coord(rng), k ? PT_JOINED : 0));
      if (round % 3 == 0 && len == 3) pts.Add(CDoublePoint(pts[0].x, pts[0].y, PT_JOINED));  // closed
      group->AddPointList(pts);
      owned.push_back(std::make_unique<CStrokePath>(pts));
    }
    CPathData path;
    path.GetGroupArray().Add(group.release());
    NodeList built;
    CDoublePoint current(0.0, 0.0);
    int count = 0;
    path.BuildGroupStepNodes(built.head, prop, current, count, 1);

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
  // One group: a horizontal stroke from (0, 0) to (10, 0), bounds centre (5, 0).
  CPathData path;
  path.GetGroupArray().Add(NewStrokeGroup(Stroke({{0, 0}, {10, 0}})).release());
  const CDoubleRect objectBounds(0, 0, 10, 0);
  const double perMm = 1000 * prop_.GetRotaryFactor() / prop_.GetWorkDiameter();

  // Two-axis rotary, X stands in for Z, first object of the job.
  SetSwitches(1, 0, 0, 0);
  {
    NodeList list;
    CDoublePoint current(0, 0);
    int count = 0;
    bool firstObject = true;
    path.BuildStepNodes(list.head, prop_, current, count, firstObject, objectBounds, 0);
    const auto nodes = list.Nodes();
    ASSERT_EQ(nodes.size(), 3u);
    EXPECT_FALSE(firstObject);
    EXPECT_EQ(nodes[0].flags, SN_ROTARY_2AXIS | SN_POSITIONING);  // seek by the ordinary axes
    EXPECT_EQ(nodes[0].stepsX, 1250);                            // 5 mm at 4 um
    EXPECT_EQ(nodes[1].flags, SN_ROTARY_2AXIS | SN_X_NEGATIVE);  // back to (0, 0) on the rotary drive
    EXPECT_EQ(nodes[1].stepsX, static_cast<int>(std::lround(5 * perMm)));
    EXPECT_EQ(nodes[2].flags, SN_ROTARY_2AXIS | SN_TOOL_DOWN);
    EXPECT_EQ(nodes[2].stepsX, static_cast<int>(std::lround(10 * perMm)));
    EXPECT_EQ(LastRotaryPoint.x, 5);
  }
  // The next object: the seek runs on the rotary drive too.
  {
    NodeList list;
    CDoublePoint current(20, 0);
    int count = 0;
    bool firstObject = false;
    path.BuildStepNodes(list.head, prop_, current, count, firstObject, objectBounds, 0);
    const auto nodes = list.Nodes();
    ASSERT_EQ(nodes.size(), 3u);
    EXPECT_EQ(nodes[0].flags, SN_ROTARY_2AXIS | SN_X_NEGATIVE);
    EXPECT_EQ(nodes[0].stepsX, static_cast<int>(std::lround(15 * perMm)));
  }
  // Three-axis rotary: plain conversions, 0x02 on later seeks, a closing positioning move.
  SetSwitches(1, 0, 1, 0);
  {
    NodeList list;
    CDoublePoint current(20, 0);
    int count = 0;
    bool firstObject = false;
    path.BuildStepNodes(list.head, prop_, current, count, firstObject, objectBounds, 0);
    std::vector<int> flags;
    for (const StepNode& n : list.Nodes()) flags.push_back(n.flags);
    const std::vector<int> expected = {SN_ROTARY_3AXIS | SN_X_NEGATIVE, SN_X_NEGATIVE, SN_TOOL_DOWN,
                                       SN_POSITIONING | SN_X_NEGATIVE};
    EXPECT_EQ(flags, expected);
    EXPECT_EQ(list.Nodes()[1].stepsX, 1250);
  }
  // Rotary marking off in mode 0: contour nodes still carry 0x01 in two-axis mode.
  SetSwitches(0, 0, 0, 0);
  {
    NodeList list;
    CDoublePoint current(0, 0);
    int count = 0;
    bool firstObject = true;
    path.BuildStepNodes(list.head, prop_, current, count, firstObject, objectBounds, 0);
    const auto nodes = list.Nodes();
    ASSERT_EQ(nodes.size(), 1u);  // already at (0, 0): only the drawn move
    EXPECT_EQ(nodes[0].flags, SN_ROTARY_2AXIS | SN_TOOL_DOWN);
    EXPECT_EQ(nodes[0].stepsX, 2500);
    EXPECT_TRUE(firstObject);
  }
  // Rotate for line, Y stands in for Z: the seek goes to the mother line, the
  // last node back to the object centre on the rotary axis.
  prop_.SetRotateForLine(1);
  prop_.SetMachineDouble1(3);
  SetSwitches(1, 1, 0, 0);
  {
    NodeList list;
    CDoublePoint current(0, 0);
    int count = 0;
    bool firstObject = true;
    path.BuildStepNodes(list.head, prop_, current, count, firstObject, objectBounds, 0);
    const auto nodes = list.Nodes();
    ASSERT_GE(nodes.size(), 3u);
    EXPECT_EQ(nodes[0].flags, SN_ROTARY_2AXIS | SN_POSITIONING | SN_Y_POSITIVE);
    EXPECT_EQ(nodes[0].stepsX, 1250);
    EXPECT_EQ(nodes[0].stepsY, 750);  // mother line at 3 mm
    EXPECT_EQ(LastRotaryPoint.x, 5);
    EXPECT_EQ(LastRotaryPoint.y, 0);
    EXPECT_EQ(count, static_cast<int>(nodes.size()));
  }
}
