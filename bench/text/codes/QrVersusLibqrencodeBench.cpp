// Our QR encoder and the reference C library libqrencode side by side on the
// same inputs: version 40, level H, automatic mask, filled to capacity in each
// mode. Both must build the same matrix; the run stops with an error if not.
#include <benchmark/benchmark.h>

#include <qrencode.h>

#include <memory>
#include <string>

#include "text/codes/CQrEncoder.h"

namespace {

// Version 40-H holds 3057 digits, 1852 alphanumeric characters or 1273 bytes.
std::string Digits() {
  std::string s;
  for (int i = 0; i < 3057; ++i) s += static_cast<char>('0' + (i * 7 + i / 13) % 10);
  return s;
}
std::string Alphanumeric() {
  static const char kSet[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ $%*+-./:";
  std::string s;
  for (int i = 0; i < 1852; ++i) s += kSet[(i * 11 + i / 7) % 45];
  return s;
}
std::string Bytes() {
  std::string s;
  for (int i = 0; i < 1273; ++i) s += static_cast<char>('a' + (i * 5 + i / 3) % 26);
  return s;
}

// Its string encoder splits the text into mode runs as ours does.
QRcode* EncodeWithLibqrencode(const std::string& text) {
  return QRcode_encodeString(text.c_str(), 40, QR_ECLEVEL_H, QR_MODE_8, 1);
}

bool SameMatrix(const CQrEncoder& ours, const QRcode* theirs) {
  if (!theirs || theirs->width != ours.GetSymbolSize()) return false;
  for (int y = 0; y < theirs->width; ++y)
    for (int x = 0; x < theirs->width; ++x)
      if (((theirs->data[y * theirs->width + x] & 1) != 0) != ours.IsDark(x, y)) return false;
  return true;
}

void Ours(benchmark::State& state, const std::string& text) {
  auto qr = std::make_unique<CQrEncoder>();
  qr->Encode(3, 40, 0, -1, text.data(), static_cast<int>(text.size()));
  QRcode* reference = EncodeWithLibqrencode(text);
  const bool same = SameMatrix(*qr, reference);
  QRcode_free(reference);
  if (!same) {
    state.SkipWithError("the matrices differ");
    return;
  }
  for (auto _ : state) {
    benchmark::DoNotOptimize(qr->Encode(3, 40, 0, -1, text.data(), static_cast<int>(text.size())));
    benchmark::ClobberMemory();
  }
  state.counters["mask"] = qr->GetMask();
}

void Libqrencode(benchmark::State& state, const std::string& text) {
  for (auto _ : state) {
    QRcode* code = EncodeWithLibqrencode(text);
    benchmark::DoNotOptimize(code);
    QRcode_free(code);
  }
}

}  // namespace

BENCHMARK_CAPTURE(Ours, Version40H_3057Digits, Digits())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Libqrencode, Version40H_3057Digits, Digits())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Ours, Version40H_1852Alphanumeric, Alphanumeric())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Libqrencode, Version40H_1852Alphanumeric, Alphanumeric())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Ours, Version40H_1273Bytes, Bytes())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Libqrencode, Version40H_1273Bytes, Bytes())->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
