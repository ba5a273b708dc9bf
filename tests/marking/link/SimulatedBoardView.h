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
#include "properties/link/CProperityView.h"

inline CProperityView::Options SimulatedBoardViewOptions(const std::string& devicePath) {
  CProperityView::Options options;
  options.discovery = std::make_shared<platform::serial::FixedSerialDiscovery>(
      std::vector<platform::serial::SerialCandidate>{{1, devicePath}});
  options.boardType = [] { return 1; };
  options.dataFolder = std::filesystem::temp_directory_path().string();
  return options;
}

// Waits until the view has chosen the board's protocol variant, then until
// the UI thread is idle; false when no variant was chosen in time.
inline bool WaitForProtocolVariant(CProperityView& view, UiThread& ui,
                                   std::chrono::milliseconds timeout = std::chrono::seconds(5)) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (view.GetProtocolVariant() < 0 && std::chrono::steady_clock::now() < end)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  ui.Idle();
  return view.GetProtocolVariant() >= 0;
}
