// Costs of the platform calls that sit on hot paths: number text in files and
// protocol lines, label conversion at the UI edge, and port writes while
// stepping motors through the simulated port space.
#include <benchmark/benchmark.h>

#include "platform/Clock.h"
#include "platform/Cp936.h"
#include "platform/NumberText.h"
#include "platform/PortIo.h"
#include "platform/SettingsStore.h"

namespace {

void BM_FormatC(benchmark::State& state) {
  double v = 12.345678;
  for (auto _ : state) {
    benchmark::DoNotOptimize(platform::FormatC("%.3f,%.3f", v, -v));
    v += 0.001;
  }
}
BENCHMARK(BM_FormatC);

void BM_ParseDoubleC(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(platform::ParseDoubleC("  -1234.5678"));
}
BENCHMARK(BM_ParseDoubleC);

void BM_Cp936RoundTrip(benchmark::State& state) {
  const std::string label = "标记属性 Serial No. 序列号 0001";
  for (auto _ : state) benchmark::DoNotOptimize(platform::Cp936ToUtf8(platform::Utf8ToCp936(label)));
}
BENCHMARK(BM_Cp936RoundTrip);

void BM_SimulatedPortWrite(benchmark::State& state) {
  auto ports = std::make_shared<platform::SimulatedPortSpace>();
  ports->SetRecording(state.range(0) != 0);
  platform::SetPortSpace(ports);
  DWORD v = 0;
  for (auto _ : state) {
    SetPortVal(0x378, v++ & 0xFF, 1);
    if (state.range(0) && (v & 0xFFFF) == 0) ports->ClearAccesses();
  }
}
BENCHMARK(BM_SimulatedPortWrite)->Arg(0)->Arg(1);

void BM_SteadyBusyWait10us(benchmark::State& state) {
  platform::SteadyClock clock;
  platform::SetPumpHook([] {}, std::chrono::milliseconds(10));
  for (auto _ : state) clock.BusyWaitMicros(10);
  platform::SetPumpHook(nullptr);
}
BENCHMARK(BM_SteadyBusyWait10us);

void BM_SettingsMemoryReadDword(benchmark::State& state) {
  auto store = platform::MakeMemorySettingsStore();
  store->CreateKey(platform::kRegistryKey);
  store->WriteDword(platform::kRegistryKey, "OptimizeSpeed", 1);
  DWORD d = 0;
  for (auto _ : state) benchmark::DoNotOptimize(store->ReadDword(platform::kRegistryKey, "OptimizeSpeed", d));
}
BENCHMARK(BM_SettingsMemoryReadDword);

}  // namespace

BENCHMARK_MAIN();
