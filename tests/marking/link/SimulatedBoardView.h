#pragma once
// The property view the link and job tests run against the simulated board:
// the board's pseudo-terminal is the only adapter (number 1) and the board
// type is 1.
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "LinkTestSupport.h"
#include "marking/link/WireProtocol.h"
#include "properties/link/CProperityView.h"
#include "tests/support/WaitFor.h"

inline CProperityView::Options SimulatedBoardViewOptions(const std::string& devicePath) {
  CProperityView::Options options;
  options.discovery = std::make_shared<platform::serial::FixedSerialDiscovery>(
      std::vector<platform::serial::SerialCandidate>{{1, devicePath}});
  options.boardType = [] { return 1; };
  options.dataFolder = std::filesystem::temp_directory_path().string();
  return options;
}

// Waits until the view has chosen the board's protocol variant and, on a
// framed board, until the set-up frame that follows has its answer (so what
// the test sends next, and the faults it queues, meet an idle board), then
// until the UI thread is idle; false when no variant was chosen in time.
inline bool WaitForProtocolVariant(CProperityView& view, UiThread& ui,
                                   std::chrono::milliseconds timeout = kEventBound) {
  if (!WaitUntil([&] { return view.GetProtocolVariant() >= 0; }, timeout)) return false;
  ui.Idle();
  CComRequest* request = view.GetComRequest();
  WaitUntil([&] { return request->GetType() != COM_SETUP || request->GetReplyLength() > 0; }, timeout);
  ui.Idle();
  return view.GetProtocolVariant() >= 0;
}
