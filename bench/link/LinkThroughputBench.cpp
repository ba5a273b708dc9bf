// Move records per second through the whole link (controller commands,
// property view, writer and reader threads, a pty) to the simulated board
// pacing its bytes at 19200 baud. Stop-and-wait caps plain moves at 320 a
// second (5 bytes out, 1 back, 10 bits a byte) and framed ones at 192
// (6 out, 4 back).
//
// The rest of a record's time is the hand-overs between threads and across
// the pty. On a virtual machine whose processors are idle each one wakes a
// halted processor (some tens of microseconds); with every processor busy the
// same road costs a third of that, so compare figures taken alike. Short busy
// waits before blocking (writer, request waiter, simulator reader) were
// measured and made both figures worse: a spinning thread holds a processor
// the woken threads would have run on, and the guest packs its threads.
#include <filesystem>
#include <memory>

#include <benchmark/benchmark.h>

#include "document/geometry/SharedState.h"
#include "marking/link/CControllerLink.h"
#include "marking/link/LinkMessages.h"
#include "platform/Prompt.h"
#include "properties/link/CProperityView.h"
#include "tests/marking/link/LinkTestSupport.h"
#include "tools/boardsim/BoardSimRunner.h"
#include "tools/boardsim/BoardSimulator.h"

namespace {

void MoveStream(benchmark::State& state, boardsim::Variant variant, bool pace, double cap) {
  boardsim::BoardSimulator board(boardsim::BoardConfig{variant});
  boardsim::BoardSimRunner runner(board);
  if (!runner.Start({}, pace)) {
    state.SkipWithError("no pseudo-terminal");
    return;
  }
  UiThread ui;
  CProperityView::Options options;
  options.discovery = std::make_shared<platform::serial::FixedSerialDiscovery>(
      std::vector<platform::serial::SerialCandidate>{{1, runner.DevicePath()}});
  options.boardType = [] { return 1; };
  options.dataFolder = std::filesystem::temp_directory_path().string();
  CProperityView view(std::move(options));
  UiThread::Window viewWindow(ui, [&](const platform::Message& m) { view.HandleMessage(m); });
  view.SetSelfTarget(&viewWindow);
  std::unique_ptr<CControllerLink> controller;
  UiThread::Window controllerWindow(ui, [&](const platform::Message& m) {
    if (m.msg == WM_COM_REQUEST) controller->OnComReply(m);
  });
  controller = std::make_unique<CControllerLink>(&view, &controllerWindow);
  ui.Invoke([&] { view.OnInitialUpdate(nullptr); });
  for (int i = 0; i < 500 && view.GetProtocolVariant() < 0; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  // Let the framed board's set-up reply finish before the stream starts.
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  if (view.GetProtocolVariant() < 0 || !controller->SendMarkBegin()) {
    state.SkipWithError("the board did not answer");
    return;
  }
  std::int64_t records = 0;
  for (auto _ : state) {
    for (int i = 0; i < 64; ++i) {
      if (!controller->SendMove(static_cast<std::uint16_t>(i + 1), 2, 0x80)) {
        state.SkipWithError("a move failed");
        break;
      }
    }
    records += 64;
  }
  state.SetItemsProcessed(records);
  state.counters["records_per_s"] = benchmark::Counter(static_cast<double>(records), benchmark::Counter::kIsRate);
  if (cap > 0) state.counters["of_line_cap"] = benchmark::Counter(static_cast<double>(records) / cap, benchmark::Counter::kIsRate);
  controller->SendStreamEnd();
  ui.Invoke([&] { view.OnDestroy(); });
  ui.Stop();
  runner.Stop();
}

void BM_PlainMovesAtLineRate(benchmark::State& state) { MoveStream(state, boardsim::Variant::Plain, true, 320.0); }
void BM_FramedMovesAtLineRate(benchmark::State& state) { MoveStream(state, boardsim::Variant::Framed, true, 192.0); }
void BM_PlainMovesUnpaced(benchmark::State& state) { MoveStream(state, boardsim::Variant::Plain, false, 0); }

}  // namespace

BENCHMARK(BM_PlainMovesAtLineRate)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();
BENCHMARK(BM_FramedMovesAtLineRate)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();
BENCHMARK(BM_PlainMovesUnpaced)->Unit(benchmark::kMillisecond)->MinTime(1.0)->UseRealTime();

BENCHMARK_MAIN();
