// The framing runs once per received byte on the user-interface thread: a
// frame's cost grows with the bytes waiting in the buffer.
#include <string>

#include <benchmark/benchmark.h>

#include "marking/textport/Rs232Text.h"

namespace {

void Feed(benchmark::State& state, const std::string& stream) {
  Rs232TextBuffer buffer;
  std::string text;
  std::size_t found = 0;
  for (auto _ : state) {
    for (unsigned char b : stream) {
      buffer.Append(b);
      if (buffer.Extract(text)) ++found;
    }
  }
  benchmark::DoNotOptimize(found);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * stream.size()));
}

// A typical short text: a lot number with its frame.
void BM_ShortFrames(benchmark::State& state) { Feed(state, "$$LOT-2026-000123##"); }
BENCHMARK(BM_ShortFrames);

// The worst case: a frame that never ends, scanned again for every byte until
// the buffer is emptied at 1023 bytes.
void BM_UnendedFrame(benchmark::State& state) {
  Feed(state, "$$" + std::string(Rs232TextBuffer::kDropAt - 2, 'x'));
}
BENCHMARK(BM_UnendedFrame);

}  // namespace

BENCHMARK_MAIN();
