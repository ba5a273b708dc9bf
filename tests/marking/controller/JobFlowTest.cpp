// Jobs on a port board, run on the calling thread: passes and repeats,
// classes, stops, range errors with their clean-up, and the head moves of
// the view and the main frame.
#include <algorithm>
#include <functional>
#include <limits>
#include <random>

#include <gtest/gtest.h>

#include "ControllerTestSupport.h"
#include "JobTestSupport.h"
#include "values/ShellValues.h"
#include "document/geometry/SharedHelpers.h"
#include "marking/controller/CMarkControlWnd.h"
#include "marking/controller/MarkOrder.h"
#include "platform/Event.h"
#include "platform/SettingsStore.h"

namespace {

class PortJobTest : public ::testing::Test {
 protected:
  PortJobTest() {
    // Registry values of a started program: the key exists, nothing else.
    auto settings = platform::MakeMemorySettingsStore();
    settings->CreateKey(platform::kRegistryKey);
    platform::SetSettingsStore(settings);
    SoftType = SOFT_TYPE_BIG_PORT_BOARD;
    MachineSettings = DefaultMachineSetRecord();
    bench.ports->SetIdleInput(kInPort, 0x00);  // both origin switches closed
    ctl = std::make_unique<CMarkControlWnd>(bench.clock.get());
    ctl->Create(&frame.queue, 1119);
    ctl->SetFrame(&frame);
    ctl->SetRecorder(recorder);
    ctl->SetPump([] {});
  }
  ~PortJobTest() override {
    platform::SetPumpHook(nullptr);
    RotateMark = 0;
  }
  void Mark(int air = 1) {
    MarkStatusWord = MSW_MARKING | (air ? MSW_AIR_ON : 0);
    ctl->StartMarking(&doc, &display, &view);
  }
  // The stop key goes down at the given call of the pump hook, while the job steps.
  void PressStopAtPump(int n) {
    platform::SetPumpHook(
        [this, n] {
          if (++pumps_ == n) MarkStatusWord.fetch_or(MSW_STOP_REQUEST);
        },
        std::chrono::microseconds(0));
  }
  int InputReads() const {
    int n = 0;
    for (const auto& a : bench.ports->Accesses())
      if (!a.write && a.port == kInPort) ++n;
    return n;
  }
  std::vector<LPARAM> StatusPosts() {
    std::vector<LPARAM> out;
    for (const auto& m : frame.Take())
      if (m.msg == WM_SHOW_MARK_STATUS) out.push_back(m.lParam);
    return out;
  }

  PortBench bench;
  TestDocument doc;
  TestView view;
  TestFrame frame;
  TestDisplay display;
  std::shared_ptr<TestRecorder> recorder = std::make_shared<TestRecorder>();
  std::unique_ptr<CMarkControlWnd> ctl;

 private:
  int pumps_ = 0;
};

}  // namespace

TEST_F(PortJobTest, RepeatedPassesMarkEveryClassAndEndAtTheCornerInset) {
  doc.AddLine({-20, 10}, {20, 10}, 0);
  doc.AddPolyline({{-10, -10}, {10, -10}, {10, -20}}, 2);
  doc.AddLine({0, 0}, {5, 0}, 5);                     // layer 5: never marked
  doc.AddLine({0, 0}, {5, 5}, 1)->SetMarkEnabled(0);  // switched off
  doc.Record().SetContinuousCount(2);
  doc.Record().SetResetAfterN(2);
  Mark();
  EXPECT_EQ(frame.Finished(), std::vector<WPARAM>{1});
  EXPECT_EQ(ctl->JobCount(), 0) << "class lists are emptied after the job";
  EXPECT_EQ(view.Count(WM_MARK_OBJECT_DONE), 4);
  EXPECT_EQ(StatusPosts(), (std::vector<LPARAM>{0, 1, 2}));
  EXPECT_EQ(view.Count(WM_COMMAND, ID_NEXT_RECORD), 2);
  EXPECT_EQ(recorder->opens, 1);
  EXPECT_EQ(recorder->inserts, 2);
  EXPECT_EQ(recorder->closes, 1);
  // Home at the left-top corner, then 5 mm in: 1250 steps on each axis.
  EXPECT_EQ(AxisStepCounters[AXIS_X].load(), 1250);
  EXPECT_EQ(AxisStepCounters[AXIS_Y].load(), 1250);
  EXPECT_EQ(ctl->successCount, 2);
  EXPECT_FALSE(frame.overall.empty());
  EXPECT_EQ(frame.overall.back(), 100);

  ctl->EndMarking(1);
  EXPECT_EQ(MarkStatusWord.load() & MSW_MARKING, 0u);
  EXPECT_EQ(AxisStepCounters[AXIS_X].load(), 0) << "back at the origin";
  EXPECT_GE(doc.saves.load(), 3);
}

TEST_F(PortJobTest, WithoutAirNothingIsRecordedOrAdvanced) {
  doc.AddLine({-20, 10}, {20, 10});
  Mark(0);
  EXPECT_EQ(frame.Finished(), std::vector<WPARAM>{1});
  EXPECT_EQ(view.Count(WM_MARK_OBJECT_DONE), 0);
  EXPECT_EQ(recorder->inserts, 0);
  EXPECT_TRUE(StatusPosts().empty());
  for (const auto& w : bench.OutWrites()) EXPECT_EQ(w.value & OUT_NEEDLE, 0) << "the needle never goes down";
}

TEST_F(PortJobTest, RangeErrorsEndTheJobAndCleanUp) {
  struct Case {
    CDoublePoint a, b;
    const char* text;
  };
  const Case cases[] = {{{0, 0}, {60, 0}, "Right out of range!"},
                        {{-60, 0}, {0, 0}, "Left out of range!"},
                        {{0, -50}, {0, 0}, "Bottom out of range!"},
                        {{0, 0}, {0, 50}, "Top out of range!"},
                        {{61, 0}, {-61, 60}, "Right out of range!"}};
  ctl->showPreview = 1;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    TestDocument bad;
    bad.AddLine(c.a, c.b);
    bench.prompt->Clear();
    display.shows.clear();
    ctl->markMode = MARK_MODE_BORDER;  // border objects are made first and must be freed
    MarkStatusWord = MSW_MARKING | MSW_AIR_ON;
    ctl->StartMarking(&bad, &display, &view);
    EXPECT_EQ(bench.prompt->Texts(), std::vector<std::string>{c.text});
    EXPECT_EQ(frame.Finished().back(), 0u);
    EXPECT_EQ(ctl->TemporaryObjectCount(), 0);
    EXPECT_EQ(display.shows, (std::vector<bool>{true, false})) << "the display is hidden again";
    EXPECT_EQ(MarkStatusWord.load() & (MSW_STOP_REQUEST | MSW_STOP_CONFIRMED), 0u);
    ctl->EndMarking(0);
  }
  EXPECT_EQ(frame.Finished().size(), std::size(cases));
  EXPECT_EQ(recorder->opens, 0);
}

TEST_F(PortJobTest, RotaryDriveOnXLiftsTheXLimitsOnly) {
  doc.AddLine({0, 0}, {70, 0});
  doc.Record().SetRotateMark(1);
  doc.Record().SetYReplacesZ(0);
  Mark(0);
  EXPECT_EQ(frame.Finished(), std::vector<WPARAM>{1});
  EXPECT_TRUE(bench.prompt->Texts().empty());
  ctl->EndMarking(1);
  doc.AddLine({0, 0}, {0, 60});
  Mark(0);
  EXPECT_EQ(bench.prompt->Texts(), std::vector<std::string>{"Top out of range!"});
}

TEST_F(PortJobTest, RotaryReturnWindsTheRotaryAxisBackOnEitherAxis) {
  ctl->SetContext(&doc, &display, &view);
  RotateMark = 1;
  for (int onY : {0, 1}) {
    for (int start : {300, -120}) {
      SCOPED_TRACE(onY * 1000 + start);
      YReplacesZ = onY;
      AxisStepCounters[AXIS_Z] = start;
      OutputShadow = 0;
      bench.ports->ClearAccesses();
      CDoublePoint from(0, 0, 0);
      ctl->RotaryReturn(from, CDoublePoint(onY ? 2 : 0, onY ? 0 : -2, 0), doc.Record(), 1);
      EXPECT_EQ(AxisStepCounters[AXIS_Z].load(), 0);
      int zPulses = 0, last = 0;
      for (const auto& w : bench.OutWrites()) {
        if ((w.value & OUT_Z_PULSE) && !last) ++zPulses;
        last = w.value & OUT_Z_PULSE;
      }
      EXPECT_EQ(zPulses, std::abs(start));
      // The ordinary axis makes the other part of the move: 2 mm.
      EXPECT_EQ(std::abs(AxisStepCounters[onY ? AXIS_X : AXIS_Y].exchange(0)), 500);
    }
  }
  YReplacesZ = 0;
}

TEST_F(PortJobTest, StopDuringAnObjectAsksAndYesFailsTheJob) {
  doc.AddLine({-40, 0}, {40, 0});
  doc.AddLine({-40, -10}, {40, -10});
  // The stop key arrives while the first line is stepped.
  PressStopAtPump(40);
  bench.prompt->QueueAnswer(IDYES);
  Mark();
  EXPECT_EQ(bench.prompt->Texts(), std::vector<std::string>{"Are you terminated marking"});
  EXPECT_EQ(frame.Finished(), std::vector<WPARAM>{0});
  EXPECT_EQ(view.Count(WM_MARK_OBJECT_DONE), 0);
  EXPECT_EQ(recorder->inserts, 0);
  EXPECT_EQ(MarkStatusWord.load() & (MSW_STOP_REQUEST | MSW_STOP_CONFIRMED), 0u);
  ctl->EndMarking(0);
  EXPECT_EQ(view.Log().back(), "refresh 0");
}

TEST_F(PortJobTest, StopAnsweredNoGoesOn) {
  doc.AddLine({-40, 0}, {40, 0});
  PressStopAtPump(40);
  bench.prompt->QueueAnswer(IDNO);
  Mark();
  EXPECT_EQ(bench.prompt->Texts(), std::vector<std::string>{"Are you terminated marking"});
  EXPECT_EQ(frame.Finished(), std::vector<WPARAM>{1});
  EXPECT_EQ(view.Count(WM_MARK_OBJECT_DONE), 1);
}

// Every wait of a job counts its seconds down on the view, a second at a time
// on the job's clock, and "Jump waiting..." ends it at the next second.
struct CountdownCase {
  const char* name;
  int classPause, continuous, resetAfter, rest;
  const char* jumpAt;  // the countdown call at which the operator jumps, or null
  std::vector<std::string> log;
};

void PrintTo(const CountdownCase& c, std::ostream* os) { *os << c.name; }

class CountdownTest : public PortJobTest, public ::testing::WithParamInterface<CountdownCase> {};

TEST_P(CountdownTest, WaitsCountDownOnTheViewSecondBySecond) {
  const CountdownCase& c = GetParam();
  doc.AddLine({-20, 10}, {20, 10}, 0);
  doc.AddLine({-20, 0}, {20, 0}, 3);
  doc.Record().SetClassPause(c.classPause);
  doc.Record().SetContinuousCount(c.continuous);
  doc.Record().SetResetAfterN(c.resetAfter);
  doc.Record().SetRestTime(c.rest);
  view.onCountdown = [&c](const std::string& call) {
    if (c.jumpAt != nullptr && call == c.jumpAt) MarkStatusWord.fetch_or(MSW_END_PAUSE);
  };
  Mark();
  EXPECT_EQ(view.Log(), c.log);
  EXPECT_EQ(frame.Finished(), std::vector<WPARAM>{1});
  EXPECT_EQ(view.Count(WM_MARK_OBJECT_DONE), 2 * c.continuous);
  const auto updates = std::count_if(c.log.begin(), c.log.end(), [](const std::string& s) { return s.rfind("update", 0) == 0; });
  const auto waits = bench.clock->Waits();
  EXPECT_EQ(std::count(waits.begin(), waits.end(), 1e6), updates) << "one second of the clock per count";
}

INSTANTIATE_TEST_SUITE_P(
    Waits, CountdownTest,
    ::testing::Values(
        CountdownCase{"BetweenClasses", 2, 1, 1, 0, nullptr, {"start 2", "update 1", "update 0", "end"}},
        CountdownCase{"RestInsideABlock", 0, 2, 2, 3, nullptr, {"start 3", "update 2", "update 1", "update 0", "end"}},
        CountdownCase{"RestBetweenBlocks", 0, 3, 1, 2, nullptr,
                      {"start 2", "update 1", "update 0", "end", "start 2", "update 1", "update 0", "end"}},
        CountdownCase{"NoRestNoWait", 0, 2, 1, 0, nullptr, {}},
        CountdownCase{"JumpWaiting", 0, 2, 2, 5, "update 4", {"start 5", "update 4", "end"}}),
    [](const ::testing::TestParamInfo<CountdownCase>& info) { return std::string(info.param.name); });

TEST_F(PortJobTest, MissingProgressBarsRefuseTheJob) {
  doc.AddLine({-20, 10}, {20, 10});
  frame.refuseBars = true;
  Mark();
  EXPECT_TRUE(frame.Finished().empty());
  EXPECT_EQ(MarkStatusWord.load() & MSW_MARKING, 0u);
  EXPECT_TRUE(bench.OutWrites().empty());
}

TEST_F(PortJobTest, MaximumBorderMarksOneOutlineAroundEverything) {
  doc.AddLine({-20, 10}, {20, 10});
  doc.AddLine({-5, -30}, {5, -30});
  ctl->markMode = MARK_MODE_MAX_BORDER;
  Mark(0);
  EXPECT_EQ(frame.Finished(), std::vector<WPARAM>{1});
  EXPECT_EQ(ctl->JobBounds(), CDoubleRect(-20, 10, 20, -30));
  EXPECT_EQ(ctl->TemporaryObjectCount(), 0);
}

TEST(NearestObject, PicksByStartOrEndAndKeepsTheFirstOfEqualDistances) {
  TestDocument doc;
  CObjElement* a = doc.AddLine({0, 0}, {10, 0});
  CObjElement* b = doc.AddLine({0, 0}, {10, 0});
  CObjElement* c = doc.AddLine({0, 0}, {10, 0});
  a->startPoint = CDoublePoint(50, 0, 0);
  a->endPoint = CDoublePoint(5, 0, 0);
  b->startPoint = CDoublePoint(5, 0, 0);
  b->endPoint = CDoublePoint(90, 0, 0);
  c->startPoint = CDoublePoint(1, 0, 0);
  c->endPoint = CDoublePoint(1, 0, 0);
  std::vector<CObjElement*> list{a, b, c};
  int direction = 0;
  EXPECT_EQ(CMarkControlWnd::PickNearestObject(list, CDoublePoint(0, 0, 0), direction), c);
  EXPECT_EQ(direction, 1) << "start and end equally near: the start wins";
  EXPECT_EQ(CMarkControlWnd::PickNearestObject(list, CDoublePoint(0, 0, 0), direction), a);
  EXPECT_EQ(direction, -1) << "a's end and b's start tie: the first in the list wins";
  EXPECT_EQ(CMarkControlWnd::PickNearestObject(list, CDoublePoint(0, 0, 0), direction), b);
  EXPECT_TRUE(list.empty());
  EXPECT_EQ(CMarkControlWnd::PickNearestObject(list, CDoublePoint(0, 0, 0), direction), nullptr);
}

// A pass takes its objects through MarkOrder; it must take exactly what the
// list scan takes, object for object, nearest or first, on spread-out
// objects, on a lattice full of equal distances, on objects all in one
// place and where points or the head are not numbers.
TEST(NearestObject, MarkOrderTakesWhatTheListScanTakes) {
  struct Layout {
    const char* name;
    std::function<CDoublePoint(std::mt19937&, int)> point;
  };
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const Layout layouts[] = {
      {"spread", [](std::mt19937& rng, int) {
         return CDoublePoint(std::uniform_real_distribution<double>(-60, 60)(rng),
                             std::uniform_real_distribution<double>(-50, 50)(rng), 0);
       }},
      {"lattice", [](std::mt19937& rng, int) {
         return CDoublePoint(static_cast<int>(rng() % 12) * 2.5, static_cast<int>(rng() % 9) * 2.5, 0);
       }},
      {"one place", [](std::mt19937&, int) { return CDoublePoint(3, -4, 0); }},
      {"a point not a number", [nan](std::mt19937& rng, int i) {
         return i == 7 ? CDoublePoint(nan, 1, 0) : CDoublePoint(static_cast<int>(rng() % 20), 0, 0);
       }},
  };
  for (const Layout& layout : layouts) {
    std::mt19937 rng(11);
    TestDocument doc;
    std::vector<CObjElement*> objects;
    for (int i = 0; i < 400; ++i) {
      CObjElement* e = doc.AddLine({0, 0}, {1, 1});
      e->startPoint = layout.point(rng, i);
      e->endPoint = layout.point(rng, i + 1000);
      objects.push_back(e);
    }
    std::vector<CObjElement*> list = objects;
    MarkOrder order(objects);
    CDoublePoint at(-70, 55, 0);
    for (int k = 0; !list.empty(); ++k) {
      // Now and then the first one, as a pass without the nearest order takes
      // it; once from a head position that is not a number.
      const bool first = k % 17 == 5;
      const CDoublePoint from = k == 30 ? CDoublePoint(nan, 0, 0) : at;
      int expectedDirection = 0, direction = 0;
      CObjElement* expected = first ? list.front() : CMarkControlWnd::PickNearestObject(list, from, expectedDirection);
      if (first) list.erase(list.begin());
      CObjElement* got = first ? order.TakeFirst() : order.TakeNearest(from, direction);
      ASSERT_EQ(got, expected) << layout.name << " pick " << k;
      ASSERT_EQ(direction, expectedDirection) << layout.name << " pick " << k;
      at = direction < 0 ? got->startPoint : got->endPoint;
    }
    EXPECT_TRUE(order.Empty()) << layout.name;
    EXPECT_EQ(order.TakeFirst(), nullptr) << layout.name;
  }
}

// The operator's "Apply optimize speed": each object of a class is marked
// from the head's place on, nearest first, and one nearer by its end is
// marked from its end.
TEST_F(PortJobTest, OptimizedSpeedMarksTheNearestObjectNext) {
  const double xs[] = {20, -40, 40, -20, 0};
  std::vector<CObjElement*> byX(5);
  for (int i = 0; i < 5; ++i) {
    // The line at x = 0 runs right to left: its end lies nearer.
    const bool backwards = xs[i] == 0;
    const CDoublePoint a(xs[i] + (backwards ? 5 : 0), 40), b(xs[i] + (backwards ? 0 : 5), 40);
    CObjElement* e = doc.AddLine(a, b);
    e->startPoint = CDoublePoint(a.x, a.y, 0);
    e->endPoint = CDoublePoint(b.x, b.y, 1);
    byX[static_cast<std::size_t>((xs[i] + 40) / 20)] = e;
  }
  auto marked = [&] {
    std::vector<CObjElement*> out;
    for (const auto& m : view.Messages())
      if (m.msg == WM_MARK_OBJECT_DONE) out.push_back(reinterpret_cast<CObjElement*>(m.wParam));
    return out;
  };
  ctl->nearestOrder = 1;
  Mark();
  EXPECT_EQ(frame.Finished(), std::vector<WPARAM>{1});
  EXPECT_EQ(marked(), byX) << "from the left-top corner, left to right";
  ctl->EndMarking(1);
}

TEST_F(PortJobTest, HeadPositionFollowsTheOriginCorner) {
  const CDrawProperity& r = doc.Record();  // 120 x 100 mm, 4 um steps
  AxisStepCounters[AXIS_X] = 250;
  AxisStepCounters[AXIS_Y] = 500;
  const std::pair<double, double> expected[] = {{-59, 48}, {-59, -52}, {61, 48}, {61, -52}};
  for (int corner = 0; corner < 4; ++corner) {
    MachineSettings.originCorner = corner;
    ctl->SetContext(&doc, &display, &view);
    const CDoublePoint p = ctl->GetHeadPosition(r, 0, 1);
    EXPECT_DOUBLE_EQ(p.x, expected[corner].first) << corner;
    EXPECT_DOUBLE_EQ(p.y, expected[corner].second) << corner;
  }
  ctl->workPosition = CDoublePoint(3, 4, 0);
  const CDoublePoint rel = ctl->GetHeadPosition(r, 1, 0);
  EXPECT_DOUBLE_EQ(rel.x, 4);
  EXPECT_DOUBLE_EQ(rel.y, 2);
  float stored = 0;
  ASSERT_EQ(ReadRegFloat("MarkPositionY", stored), 1);
  EXPECT_FLOAT_EQ(stored, 2);
}

TEST_F(PortJobTest, JogsMoveRelativeAndLeaveTheCountersAtZero) {
  platform::Event done(true);
  EXPECT_EQ(ctl->MoveBy(&doc, &display, &view, CDoublePoint(0.0005, -0.0005, 0), &done), 1);
  EXPECT_TRUE(done.IsSet());
  EXPECT_TRUE(bench.OutWrites().empty()) << "nothing moves";
  done.Reset();
  EXPECT_EQ(ctl->MoveBy(&doc, &display, &view, CDoublePoint(1, -2, 0), &done), 1);
  EXPECT_TRUE(done.IsSet());
  const auto writes = bench.OutWrites();
  int xPulses = 0, last = 0;
  for (const auto& w : writes) {
    if ((w.value & OUT_X_PULSE) && !last) ++xPulses;
    last = w.value & OUT_X_PULSE;
  }
  EXPECT_EQ(xPulses, 250);
  EXPECT_EQ(AxisStepCounters[AXIS_X].load(), 0);
  EXPECT_EQ(AxisStepCounters[AXIS_Y].load(), 0);
  const CDoublePoint p = ctl->GetHeadPosition(doc.Record(), 0, 1);
  EXPECT_DOUBLE_EQ(p.x, -60);
  EXPECT_DOUBLE_EQ(p.y, 50);
}

TEST_F(PortJobTest, WorkPositionIsClampedBeforeTheHeadGoesThere) {
  ctl->workPosition = CDoublePoint(100, -20, 0);  // x outside the 120 mm area
  ctl->GoWorkPosition(&doc, &display, &view, 0);
  EXPECT_EQ(ctl->atWorkPosition.load(), 1);
  EXPECT_DOUBLE_EQ(ctl->workPosition.x, 0);
  EXPECT_DOUBLE_EQ(ctl->workPosition.y, -20);
  ASSERT_FALSE(frame.cursor.empty());
  EXPECT_EQ(frame.cursor.back(), (std::pair<double, double>{0, -20}));
  // Going again without force only drops the flag.
  bench.ports->ClearAccesses();
  ctl->GoWorkPosition(&doc, &display, &view, 0);
  EXPECT_EQ(ctl->atWorkPosition.load(), 0);
  EXPECT_TRUE(bench.OutWrites().empty());

  // The typed position is pulled 5 mm inside the area and kept.
  view.editX = -100;
  view.editY = 80;
  ctl->EditWorkPosition(&doc);
  EXPECT_DOUBLE_EQ(ctl->workPosition.x, -55);
  EXPECT_DOUBLE_EQ(ctl->workPosition.y, 45);
  float stored = 0;
  ASSERT_EQ(ReadRegFloat("MarkPositionX", stored), 1);
  EXPECT_FLOAT_EQ(stored, -55);
}

TEST_F(PortJobTest, WorkPositionModeStartsThereAndReturnsThereAfterAGoodJob) {
  doc.AddLine({-20, 10}, {20, 10});
  ctl->workPosition = CDoublePoint(10, 10, 0);
  ctl->GoWorkPosition(&doc, &display, &view, 0);
  ASSERT_EQ(ctl->atWorkPosition.load(), 1);
  Mark();
  EXPECT_EQ(frame.Finished(), std::vector<WPARAM>{1});
  ctl->EndMarking(1);
  EXPECT_EQ(ctl->atWorkPosition.load(), 1);
  // The job counts from the work position (no home return): back there, the
  // counters are where the job started.
  EXPECT_EQ(AxisStepCounters[AXIS_X].load(), 0);
  EXPECT_EQ(AxisStepCounters[AXIS_Y].load(), 0);
  EXPECT_NEAR(ctl->currentPosition.x, 10, 1e-9);
  EXPECT_NEAR(ctl->currentPosition.y, 10, 1e-9);
}

TEST_F(PortJobTest, PreviewDrawsTheStrokesScaledIntoTheDisplay) {
  PixelsPerMmX = 4;
  PixelsPerMmY = 4;
  doc.AddLine({-20, 10}, {20, 10});
  ctl->showPreview = 1;
  Mark(0);
  EXPECT_EQ(display.shows, (std::vector<bool>{true, false}));
  // 40 mm wide into 400 usable pixels at 4 pixels a millimetre: scale 2.5,
  // centred on the 410 x 310 display.
  std::vector<std::vector<int>> lines;
  for (const auto& op : display.dc.Ops())
    if (op.kind == platform::DcOp::LineTo) {
      lines.push_back(op.args);
      EXPECT_EQ(op.pen.color, 0x0064FF00u);
    }
  EXPECT_EQ(lines, (std::vector<std::vector<int>>{{405, 155}}));
}

TEST_F(PortJobTest, HomeCommandReportsTheStepsAndAJobWithoutOriginFails) {
  auto loop = [&](DWORD v) {
    for (int i = 0; i < 3; ++i) bench.ports->QueueInput(kInPort, v);
  };
  loop(0xFF);
  loop(0xFF);
  loop(0xDF);  // Y home
  loop(0xDF);
  loop(0x00);
  ctl->PortBackToOrigin(&doc, &display, &view);
  EXPECT_EQ(bench.prompt->Texts(), std::vector<std::string>{"Position:X=-59.984 , Y=49.992"});

  // The X switch never closes: every one of the three tries says so, and the
  // job ends without marking.
  bench.prompt->Clear();
  bench.ports->SetIdleInput(kInPort, 0xDF);
  doc.Record().SetRangeX(10);
  doc.AddLine({-2, 1}, {2, 1});
  ctl->passCount = 5;
  Mark();
  EXPECT_EQ(bench.prompt->Texts(), std::vector<std::string>(3, "Axis(x) back to origin error!!!"));
  EXPECT_EQ(frame.Finished(), std::vector<WPARAM>{0});
  EXPECT_EQ(ctl->passCount, 0);
  EXPECT_EQ(view.Count(WM_MARK_OBJECT_DONE), 0);
}

// Settings of the machine record that a job reads directly: the rotary
// lead-in (work-area page switch and value), the pulse-frequency generator
// (board-type dialog value), and the start at a handle of the job bounds
// (jog window open and its position choice).
TEST_F(PortJobTest, RotaryLeadInTurnsThereAndBackBeforeTheFirstPass) {
  doc.Record().SetRotateMark(1);
  doc.Record().SetYReplacesZ(0);
  MachineSettings.eliminateSpaceSwitch = 1;
  MachineSettings.eliminateSpaceValue = 2;
  Mark(0);
  EXPECT_EQ(frame.Finished(), std::vector<WPARAM>{1});
  const CDrawProperity& r = doc.Record();
  const int n = static_cast<int>(2 * 1000.0 * r.GetRotaryFactor() / r.GetWorkDiameter());
  ASSERT_GT(n, 100);
  int zPulses = 0, last = 0;
  std::vector<int> directions;
  for (const auto& w : bench.OutWrites()) {
    if ((w.value & OUT_Z_PULSE) && !last) {
      ++zPulses;
      const int dir = (w.value & OUT_Z_DIR) ? 1 : 0;
      if (directions.empty() || directions.back() != dir) directions.push_back(dir);
    }
    last = w.value & OUT_Z_PULSE;
  }
  EXPECT_EQ(zPulses, 2 * n);
  EXPECT_EQ(directions.size(), 2u) << "one way, then the other";
  EXPECT_EQ(AxisStepCounters[AXIS_Z].load(), 0);

  // Switched off: the rotary drive does not move.
  ctl->EndMarking(1);
  MachineSettings.eliminateSpaceSwitch = 0;
  bench.ports->ClearAccesses();
  Mark(0);
  // (the Z pulse line keeps the level it was left at)
  for (const auto& w : bench.OutWrites()) EXPECT_EQ(w.value & OUT_Z_PULSE, OutputShadow.load() & OUT_Z_PULSE);
}

TEST_F(PortJobTest, FrequencyGeneratorIsProgrammedOnTheSmallBoardOnly) {
  const WORD controlPort = kPortBase + 2;
  doc.AddLine({-20, 10}, {20, 10});
  MachineSettings.pulseFrequency = 100;
  MachineSettings.pulseDuty = 50;
  MachineSettings.boardOption = 1;
  SoftType = SOFT_TYPE_SMALL_PORT_BOARD;
  Mark(0);
  EXPECT_EQ(frame.Finished(), std::vector<WPARAM>{1});
  // Two 32-bit words, three clock ticks a bit.
  EXPECT_GE(bench.ports->Writes(controlPort).size(), 2u * 32u * 3u);
  ctl->EndMarking(1);

  for (int type : {SOFT_TYPE_SMALL_PORT_BOARD, SOFT_TYPE_BIG_PORT_BOARD}) {
    SCOPED_TRACE(type);
    SoftType = type;
    MachineSettings.boardOption = type == SOFT_TYPE_SMALL_PORT_BOARD ? 0 : 1;
    bench.ports->ClearAccesses();
    Mark(0);
    EXPECT_LE(bench.ports->Writes(controlPort).size(), 2u) << "only control bit 0";
    ctl->EndMarking(1);
  }
  SoftType = SOFT_TYPE_BIG_PORT_BOARD;
}

TEST_F(PortJobTest, StartAtAHandleOfTheBoundsMarksFromThereWithoutHoming) {
  doc.AddLine({-20, 10}, {20, 10});
  MachineSettings.openJogAtStart = 1;
  MachineSettings.jogPositionIndex = 0;  // left-top handle
  Mark();
  EXPECT_EQ(frame.Finished(), std::vector<WPARAM>{1});
  EXPECT_EQ(InputReads(), 0) << "no origin seek";
  EXPECT_EQ(ctl->workPosition.x, -20);
  EXPECT_EQ(ctl->workPosition.y, 10);
  // Counted from the handle: the line's 40 mm and no corner inset after it.
  EXPECT_EQ(AxisStepCounters[AXIS_X].load(), 10000);
  EXPECT_EQ(AxisStepCounters[AXIS_Y].load(), 0);
  ctl->EndMarking(1);
  EXPECT_EQ(AxisStepCounters[AXIS_X].load(), 0) << "back at the handle";

  // Position choice 9 ("no effect"): an ordinary job from the origin.
  MachineSettings.jogPositionIndex = 9;
  Mark();
  EXPECT_GT(InputReads(), 0);
  ctl->EndMarking(1);
}

// The head is at the origin corner after a home return, whichever corner the
// machine has: the work position is reached from there.
TEST_F(PortJobTest, WorkPositionIsReachedFromTheOriginCornerOfTheMachine) {
  MachineSettings.originCorner = 1;  // left-bottom
  ctl->workPosition = CDoublePoint(10, 10, 0);
  ctl->GoWorkPosition(&doc, &display, &view, 0);
  ASSERT_EQ(ctl->atWorkPosition.load(), 1);
  EXPECT_NEAR(ctl->workPosition.x, 10, 1e-9);
  EXPECT_NEAR(ctl->workPosition.y, 10, 1e-9);
  EXPECT_EQ(AxisStepCounters[AXIS_X].load(), 70 * 250);
  EXPECT_EQ(AxisStepCounters[AXIS_Y].load(), -60 * 250);
  // Forced off: the head is home, and that corner is the work position.
  ctl->GoWorkPosition(&doc, &display, &view, 1);
  EXPECT_EQ(ctl->atWorkPosition.load(), 0);
  EXPECT_EQ(ctl->workPosition.x, -60);
  EXPECT_EQ(ctl->workPosition.y, -50);
}

TEST_F(PortJobTest, NoSeekLeavesTheRotaryAxisForTheHomeCommandOnly) {
  doc.Record().SetRangeX(10);
  RotateMark = 1;
  YReplacesZ = 0;  // the rotary drive carries X
  ThreeAxisRotate = 0;
  NoSeekOriginXY = 1;
  bench.ports->SetIdleInput(kInPort, 0x80);  // X switch open, Y home
  AxisStepCounters[AXIS_X] = 77;
  ctl->PortBackToOrigin(&doc, &display, &view);
  EXPECT_EQ(bench.prompt->Texts(), std::vector<std::string>{"Position:X=-5.000 , Y=50.000"});
  EXPECT_EQ(AxisStepCounters[AXIS_X].load(), 0);
  for (const auto& w : bench.OutWrites()) EXPECT_EQ(w.value & OUT_X_PULSE, 0) << "X is not stepped";

  // A job's home return seeks X all the same.
  bench.prompt->Clear();
  EXPECT_EQ(ctl->PortSeekOrigin(), 0);
  EXPECT_EQ(bench.prompt->Texts(), std::vector<std::string>(3, "Axis(x) back to origin error!!!"));
  NoSeekOriginXY = 0;
  ThreeAxisRotate = 0;
}
