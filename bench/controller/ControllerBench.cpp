// Speed of the marking controller: a whole USB job of 10k step nodes against
// the simulated board without line pacing, the nearest-next object order of
// 1000 objects, and port stepping of 1M steps with the waits taken out.
#include <chrono>
#include <memory>
#include <random>
#include <thread>

#include <benchmark/benchmark.h>

#include "values/ShellValues.h"
#include "marking/controller/CMarkControlWnd.h"
#include "marking/controller/CStepOutput.h"
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

void BM_NearestOrderOf1000Objects(benchmark::State& state) {
  TestDocument doc;
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> coord(-50, 50);
  std::vector<CObjElement*> objects;
  for (int i = 0; i < 1000; ++i) {
    CObjElement* e = doc.AddLine({0, 0}, {1, 1});
    e->startPoint = CDoublePoint(coord(rng), coord(rng), 0);
    e->endPoint = CDoublePoint(coord(rng), coord(rng), 0);
    objects.push_back(e);
  }
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
  state.counters["objects_per_s"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * 1000, benchmark::Counter::kIsRate);
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
BENCHMARK(BM_NearestOrderOf1000Objects)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PortSteppingOf1MSteps)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
