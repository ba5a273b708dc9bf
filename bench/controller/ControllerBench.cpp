// Speed of the marking controller: a whole USB job of 10k step nodes against
// the simulated board without line pacing, the object order of a pass
// (nearest-next and plain, 1000 to 64000 objects, nearest-next also with
// most objects crowded in a corner, beside the list scan that
// took them before, up to 16000 as it is quadratic, and a plain sort of as
// many points as a floor), and port
// stepping of 1M steps with the waits taken out.
#include <algorithm>
#include <chrono>
#include <memory>
#include <random>
#include <thread>

#include <benchmark/benchmark.h>

#include "values/ShellValues.h"
#include "marking/controller/CMarkControlWnd.h"
#include "marking/controller/CStepOutput.h"
#include "marking/controller/MarkOrder.h"
#include "marking/link/CPreciseDelay.h"
#include "properties/link/CProperityView.h"
#include "tests/marking/controller/ControllerTestSupport.h"
#include "tests/marking/controller/JobTestSupport.h"
#include "tests/marking/link/LinkTestSupport.h"
#include "tests/marking/link/SimulatedBoardView.h"
#include "tools/boardsim/BoardSimRunner.h"
#include "tools/boardsim/BoardSimulator.h"

namespace {

// A clock whose waits return at once: the stepping loop alone is measured.
class NoWaitClock : public platform::Clock {
 public:
  std::int64_t QueryCounter() override { return ++ticks_; }
  std::int64_t CounterFrequency() override { return 1000000000; }
  void BusyWaitMicros(double) override {}
  void SleepMicros(double) override {}

 private:
  std::int64_t ticks_ = 0;
};

void BM_UsbJobOf10kNodes(benchmark::State& state) {
  PortBench bench;
  // The link keeps its reply time on the process clock: let it run.
  platform::SetClock(std::make_shared<platform::SteadyClock>());
  SoftType = SOFT_TYPE_USB;
  MachineSettings = DefaultMachineSetRecord();
  boardsim::BoardSimulator board(boardsim::BoardConfig{boardsim::Variant::Plain});
  boardsim::BoardSimRunner runner(board);
  if (!runner.Start({}, false)) {
    state.SkipWithError("no pseudo-terminal");
    return;
  }
  UiThread ui;
  CProperityView propertyView(SimulatedBoardViewOptions(runner.DevicePath()));
  UiThread::Window viewWindow(ui, [&](const platform::Message& m) { propertyView.HandleMessage(m); });
  propertyView.SetSelfTarget(&viewWindow);
  ui.Invoke([&] { propertyView.OnInitialUpdate(nullptr); });
  for (int i = 0; i < 500 && propertyView.GetProtocolVariant() < 0; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));

  CMarkControlWnd ctl;
  UiThread::Window controllerWindow(ui, [&](const platform::Message& m) { ctl.HandleMessage(m); });
  TestFrame frame;
  TestView view;
  TestDisplay display;
  view.linkHost = &propertyView;
  ctl.Create(&frame.queue, 1119);
  ctl.SetSelfTarget(&controllerWindow);
  ctl.SetFrame(&frame);
  ctl.SetPump([] { std::this_thread::sleep_for(std::chrono::microseconds(200)); });

  // One polyline of 10k vertices: a zigzag inside the work area, 0.1 mm apart.
  TestDocument doc;
  std::vector<CDoublePoint> points;
  for (int i = 0; i < 10000; ++i) points.emplace_back(-50 + (i % 1000) * 0.1, 40 - (i / 1000) * 8.0 - (i % 2) * 0.1, 0);
  doc.AddPolyline(points);

  std::int64_t nodes = 0;
  std::size_t ends = 0;
  for (auto _ : state) {
    board.ClearRecords();
    MarkStatusWord = MSW_MARKING;
    ctl.StartMarking(&doc, &display, &view);
    for (;;) {
      const auto finished = frame.Finished();
      if (finished.size() > ends) {
        if (finished[ends] != 1) state.SkipWithError("the job failed");
        ++ends;
        break;
      }
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    ctl.WaitForJob();
    nodes += static_cast<std::int64_t>(board.Moves().size());
    MarkStatusWord = 0;
  }
  state.counters["nodes_per_s"] = benchmark::Counter(static_cast<double>(nodes), benchmark::Counter::kIsRate);
  ui.Invoke([&] { propertyView.OnDestroy(); });
  ui.Stop();
  runner.Stop();
  SoftType = 0;
}

// Objects with random start and end points over a 120 x 100 mm area.
std::vector<CObjElement*> RandomObjects(TestDocument& doc, int n) {
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> x(-60, 60), y(-50, 50);
  std::vector<CObjElement*> objects;
  for (int i = 0; i < n; ++i) {
    CObjElement* e = doc.AddLine({0, 0}, {1, 1});
    e->startPoint = CDoublePoint(x(rng), y(rng), 0);
    e->endPoint = CDoublePoint(x(rng), y(rng), 0);
    objects.push_back(e);
  }
  return objects;
}

// Nine objects in ten within a 10 x 10 mm corner of a 1000 x 1000 mm area,
// the rest spread over it: a few cells of an even grid would hold thousands.
std::vector<CObjElement*> ClusteredObjects(TestDocument& doc, int n) {
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> spread(-500, 500), corner(-500, -490);
  std::vector<CObjElement*> objects;
  for (int i = 0; i < n; ++i) {
    auto& range = i % 10 == 0 ? spread : corner;
    CObjElement* e = doc.AddLine({0, 0}, {1, 1});
    e->startPoint = CDoublePoint(range(rng), range(rng), 0);
    e->endPoint = CDoublePoint(range(rng), range(rng), 0);
    objects.push_back(e);
  }
  return objects;
}

// A pass's nearest-next order as MarkPass takes it.
void TimeNearestOrder(benchmark::State& state, const std::vector<CObjElement*>& objects, CDoublePoint start) {
  for (auto _ : state) {
    MarkOrder order(objects);
    CDoublePoint at = start;
    int direction = 0;
    while (CObjElement* e = order.TakeNearest(at, direction)) at = direction < 0 ? e->startPoint : e->endPoint;
    benchmark::DoNotOptimize(at);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_NearestOrder(benchmark::State& state) {
  TestDocument doc;
  TimeNearestOrder(state, RandomObjects(doc, static_cast<int>(state.range(0))), CDoublePoint(-60, 50, 0));
}

void BM_NearestOrderClustered(benchmark::State& state) {
  TestDocument doc;
  TimeNearestOrder(state, ClusteredObjects(doc, static_cast<int>(state.range(0))), CDoublePoint(-500, 500, 0));
}

// The same order by scanning the list for every object, as passes took it before.
void BM_NearestOrderByListScan(benchmark::State& state) {
  TestDocument doc;
  const std::vector<CObjElement*> objects = RandomObjects(doc, static_cast<int>(state.range(0)));
  for (auto _ : state) {
    std::vector<CObjElement*> list = objects;
    CDoublePoint at(-60, 50, 0);
    while (!list.empty()) {
      int direction = 0;
      CObjElement* e = CMarkControlWnd::PickNearestObject(list, at, direction);
      at = direction < 0 ? e->startPoint : e->endPoint;
    }
    benchmark::DoNotOptimize(at);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The plain order: the objects as listed.
void BM_PlainOrder(benchmark::State& state) {
  TestDocument doc;
  const std::vector<CObjElement*> objects = RandomObjects(doc, static_cast<int>(state.range(0)));
  for (auto _ : state) {
    MarkOrder order(objects);
    while (CObjElement* e = order.TakeFirst()) benchmark::DoNotOptimize(e);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The plain order as passes took it before: the first object erased from the list each time.
void BM_PlainOrderByErasing(benchmark::State& state) {
  TestDocument doc;
  const std::vector<CObjElement*> objects = RandomObjects(doc, static_cast<int>(state.range(0)));
  for (auto _ : state) {
    std::vector<CObjElement*> list = objects;
    while (!list.empty()) {
      benchmark::DoNotOptimize(list.front());
      list.erase(list.begin());
    }
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The floor: sorting as many start points by x.
void BM_SortOfAsManyPoints(benchmark::State& state) {
  TestDocument doc;
  const std::vector<CObjElement*> objects = RandomObjects(doc, static_cast<int>(state.range(0)));
  for (auto _ : state) {
    std::vector<CDoublePoint> points;
    points.reserve(objects.size());
    for (const CObjElement* e : objects) points.push_back(e->startPoint);
    std::sort(points.begin(), points.end(), [](const CDoublePoint& a, const CDoublePoint& b) { return a.x < b.x; });
    benchmark::DoNotOptimize(points.data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_PortSteppingOf1MSteps(benchmark::State& state) {
  PortBench bench;
  bench.ports->SetRecording(false);
  NoWaitClock clock;
  CPreciseDelay delay(&clock);
  delay.SetTicksPer10us(10000);
  CStepOutput out(&clock, &delay);
  out.SetBoardTypeSource([] { return 0; });
  CDrawProperity record = DefaultRecord();
  out.ComputeSpeedTable(record.GetPenUpSpeed(), record.GetPenUpSpeed2(), record.GetPenDownSpeed(), record);
  out.BeginJob();
  ObjectDelays delays;
  out.BeginObject(delays);
  // Strokes and ramped jumps on both axes, 1M major steps in all.
  StepNode nodes[4];
  nodes[0].flags = SN_TOOL_DOWN;
  nodes[0].stepsX = 250000;
  nodes[0].stepsY = 100000;
  nodes[1].flags = SN_X_NEGATIVE;
  nodes[1].stepsX = 250000;
  nodes[1].stepsY = 3;
  nodes[2].flags = SN_TOOL_DOWN | SN_Y_POSITIVE;
  nodes[2].stepsX = 7;
  nodes[2].stepsY = 250000;
  nodes[3].flags = 0;
  nodes[3].stepsX = 0;
  nodes[3].stepsY = 250000;
  std::int64_t steps = 0;
  for (auto _ : state) {
    for (const StepNode& n : nodes) {
      out.OutputNode(n, 1, record);
      steps += std::max(n.stepsX, n.stepsY);
    }
  }
  state.counters["steps_per_s"] = benchmark::Counter(static_cast<double>(steps), benchmark::Counter::kIsRate);
}

}  // namespace

BENCHMARK(BM_UsbJobOf10kNodes)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_NearestOrder)->ArgName("objects")->Arg(1000)->Arg(4000)->Arg(16000)->Arg(64000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NearestOrderClustered)->ArgName("objects")->Arg(16000)->Arg(64000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NearestOrderByListScan)->ArgName("objects")->Arg(1000)->Arg(4000)->Arg(16000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainOrder)->ArgName("objects")->Arg(1000)->Arg(16000)->Arg(64000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainOrderByErasing)->ArgName("objects")->Arg(1000)->Arg(16000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortOfAsManyPoints)->ArgName("objects")->Arg(1000)->Arg(16000)->Arg(64000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PortSteppingOf1MSteps)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
