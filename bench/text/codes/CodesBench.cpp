// Encoding speed of the two-dimensional codes as a barcode rebuild uses them:
// a fresh encoder per rebuild, automatic version and mask.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "document/geometry/CPointList.h"
#include "text/codes/CDataMatrixMaker.h"
#include "text/codes/CQrEncoder.h"

namespace {

void QrEncodeAndEmit(benchmark::State& state, const std::string& text, int level) {
  auto qr = std::make_unique<CQrEncoder>();
  for (auto _ : state) {
    CPointList dots;
    if (!qr->Encode(level, 0, 1, -1, text.c_str(), 0)) state.SkipWithError("encode failed");
    qr->EmitDots(CDoublePoint(0, 0), &dots, 0.5f);
    benchmark::DoNotOptimize(dots.GetSize());
  }
  state.counters["version"] = qr->GetVersion();
}

void BM_QrSerialNumber(benchmark::State& state) { QrEncodeAndEmit(state, "SN-2026-000123", 1); }
void BM_QrUrlLevelH(benchmark::State& state) {
  QrEncodeAndEmit(state, "https://example.com/parts/lot/42?item=000123&line=7", 3);
}
void BM_QrVersion40Mixed(benchmark::State& state) {
  std::string text;
  for (int k = 0; k < 1400; ++k) text += (k % 7 == 0) ? "a" : "1A";
  QrEncodeAndEmit(state, text.substr(0, 2900), 0);
}

void DataMatrixEncodeAndEmit(benchmark::State& state, const std::string& text, int scheme, int size) {
  for (auto _ : state) {
    CDataMatrixMaker dm;
    CPointList dots;
    if (!dm.Encode(text, scheme, size)) state.SkipWithError("encode failed");
    dm.EmitDots(CDoublePoint(0, 0), &dots, 0.5f);
    benchmark::DoNotOptimize(dots.GetSize());
  }
}

void BM_DataMatrixSerialAscii(benchmark::State& state) { DataMatrixEncodeAndEmit(state, "SN-2026-000123", 0, 6); }
void BM_DataMatrixAutoBest(benchmark::State& state) {
  DataMatrixEncodeAndEmit(state, "VIN 1HGCM82633A004352 LOT 42 LINE 7", 6, 1);
}
void BM_DataMatrix255Bytes(benchmark::State& state) { DataMatrixEncodeAndEmit(state, std::string(255, 'Q'), 1, 1); }

}  // namespace

BENCHMARK(BM_QrSerialNumber);
BENCHMARK(BM_QrUrlLevelH);
BENCHMARK(BM_QrVersion40Mixed);
BENCHMARK(BM_DataMatrixSerialAscii);
BENCHMARK(BM_DataMatrixAutoBest);
BENCHMARK(BM_DataMatrix255Bytes);
BENCHMARK_MAIN();
