// Motion card libraries on the simulated card: the register writes of a long
// interpolated path, and a one-metre move in user units with its pulses
// counted exactly.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

#include "libs/qm318/AxisPara.h"
#include "libs/qm318/LibraryState.h"
#include "libs/qm318/MotionLayer.h"
#include "libs/qm318/sim/SimulatedMotionBus.h"

namespace {

constexpr int kSegments = 10000;

std::shared_ptr<qm318::sim::SimulatedMotionBus> StartCard() {
  auto bus = std::make_shared<qm318::sim::SimulatedMotionBus>();
  bus->AddCard({1, 4, 0}, 0xE000);
  platform::SetPortSpace(bus);
  qm318::SetPciConfigSpace(bus);
  qm318::TheChipLayer().qm318_initial();
  bus->SetRecording(false);
  return bus;
}

// A zig-zag of short segments; runPulses lets the chip drive each one to its
// end before the next is sent, otherwise only the register writes count.
void InterpolatedPath(benchmark::State& state, bool runPulses) {
  auto bus = StartCard();
  qm318::ChipLayer& chip = qm318::TheChipLayer();
  chip.set_range(0, 1, 8000000);
  chip.set_startv(0, 1, 8000);
  chip.set_speed(0, 1, 8000);
  for (auto _ : state) {
    for (int n = 0; n < kSegments; ++n) {
      chip.inp_move2(0, 1, 7 + n % 5, (n % 2 ? 1 : -1) * (3 + n % 7));
      if (runPulses) bus->RunUntilIdle();
    }
  }
  state.SetItemsProcessed(state.iterations() * kSegments);
  state.counters["segments/s"] = benchmark::Counter(static_cast<double>(state.iterations()) * kSegments,
                                                     benchmark::Counter::kIsRate);
}

void BM_InterpolatedPathRegisterWrites(benchmark::State& state) { InterpolatedPath(state, false); }
void BM_InterpolatedPathWithPulses(benchmark::State& state) { InterpolatedPath(state, true); }

// work_move1 over 1000 units at 160 pulses per unit must give exactly 160000 pulses.
void BM_OneMetreMoveInUserUnits(benchmark::State& state) {
  const auto folder = std::filesystem::temp_directory_path() / "qm318-bench";
  std::filesystem::create_directories(folder);
  ::setenv("VENDRIK_QM318_DIR", folder.c_str(), 1);
  _AXIS_PARA para = qm318::DefaultAxisPara();
  para.multiplier[0] = 20;
  para.start_speed0[0] = para.drive_speed0[0] = 1000.0f;
  std::ofstream(folder / "hx417.dat", std::ios::binary).write(reinterpret_cast<const char*>(&para), sizeof para);
  auto bus = std::make_shared<qm318::sim::SimulatedMotionBus>();
  qm318::sim::SimulatedCard& card = bus->AddCard({1, 4, 0}, 0xE000);
  platform::SetPortSpace(bus);
  qm318::SetPciConfigSpace(bus);
  bus->SetRecording(false);
  bus->SetAccessCostNs(10'000);
  qm318::MotionLayer& motion = qm318::TheMotionLayer();
  if (motion.qm318_init_board() != 1) state.SkipWithError("no board");
  float direction = 1000.0f;
  for (auto _ : state) {
    const std::uint64_t before = card.Axis(1).pulsesPlus + card.Axis(1).pulsesMinus;
    if (motion.WorkMove({{1, direction}}, 0, 0, nullptr) != 1) state.SkipWithError("move failed");
    const std::uint64_t pulses = card.Axis(1).pulsesPlus + card.Axis(1).pulsesMinus - before;
    if (pulses != 160000) state.SkipWithError("not 160000 pulses");
    state.counters["pulses"] = static_cast<double>(pulses);
    direction = -direction;
  }
  std::filesystem::remove_all(folder);
}

BENCHMARK(BM_InterpolatedPathRegisterWrites)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InterpolatedPathWithPulses)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OneMetreMoveInUserUnits)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
