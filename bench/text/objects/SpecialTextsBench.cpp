// What a marking pass costs the special texts: rebuilding a version 40-L QR
// Code object into ordered dots (encoding and nearest-first order), and
// stepping serial numbers.
#include <benchmark/benchmark.h>

#include <string>

#include "text/objects/CObjBarCode.h"
#include "text/objects/CObjTextAutoUpdate.h"

namespace {

// 2953 bytes fill a version 40-L symbol in 8-bit mode.
std::string FullVersion40Text() {
  std::string s;
  for (int i = 0; s.size() < 2953; ++i) s += static_cast<char>('a' + i % 26);
  return s;
}

void BM_RebuildQr40LNearestFirst(benchmark::State& state) {
  CObjBarCode code(CDoublePoint(0, 0), "", "", "");
  code.Code().codeType = BARCODE_QR;
  code.Code().qrLevel = 0;
  code.Code().qrVersion = 40;
  code.Code().dotOrder = 3;
  code.Code().inputMode = 1;
  code.Code().fixedText = FullVersion40Text();
  for (auto _ : state) {
    code.Rebuild(CDoublePoint(0, 0), 0, 0, 0);
    benchmark::DoNotOptimize(code.GetDotCount());
  }
  state.counters["dots"] = code.GetDotCount();
}
BENCHMARK(BM_RebuildQr40LNearestFirst)->Unit(benchmark::kMillisecond);

void BM_RebuildQr40LColumns(benchmark::State& state) {
  CObjBarCode code(CDoublePoint(0, 0), "", "", "");
  code.Code().codeType = BARCODE_QR;
  code.Code().qrLevel = 0;
  code.Code().qrVersion = 40;
  code.Code().dotOrder = 1;
  code.Code().inputMode = 1;
  code.Code().fixedText = FullVersion40Text();
  for (auto _ : state) {
    code.Rebuild(CDoublePoint(0, 0), 0, 0, 0);
    benchmark::DoNotOptimize(code.GetDotCount());
  }
}
BENCHMARK(BM_RebuildQr40LColumns)->Unit(benchmark::kMillisecond);

// 10 000 advances of a serial number (composition, no layout: no fonts).
void BM_Advance10kSerials(benchmark::State& state) {
  for (auto _ : state) {
    CObjTextAutoUpdate serial(CDoublePoint(0, 0), "SN-", "000000", "-A");
    serial.Settings().strokeFontPair = "none+none";
    for (int i = 0; i < 10000; ++i) serial.AdvanceAfterMark(CDoublePoint(0, 0));
    benchmark::DoNotOptimize(serial.GetSerial());
  }
}
BENCHMARK(BM_Advance10kSerials)->Unit(benchmark::kMillisecond);

// The stepping rule alone.
void BM_IncrementAlnum10k(benchmark::State& state) {
  for (auto _ : state) {
    std::string s = "AB0000000";
    for (int i = 0; i < 10000; ++i) CObjTextAutoUpdate::IncrementAlnumString(s, 1);
    benchmark::DoNotOptimize(s);
  }
}
BENCHMARK(BM_IncrementAlnum10k)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
