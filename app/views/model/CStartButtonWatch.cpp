#include "app/views/model/CStartButtonWatch.h"

#include "document/geometry/SharedState.h"
#include "marking/link/LinkMessages.h"
#include "platform/Clock.h"
#include "platform/PortIo.h"

CStartButtonWatch::~CStartButtonWatch() { Stop(); }

bool CStartButtonWatch::Start(platform::MessageTarget* view, platform::Clock* clock,
                              std::chrono::milliseconds period) {
  Stop();
  view_ = view;
  clock_ = clock;
  period_ = period;
  run_ = true;
  try {
    thread_ = std::thread([this] { Run(); });
  } catch (const std::system_error&) {
    run_ = false;
    return false;
  }
  return true;
}

void CStartButtonWatch::Stop() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    run_ = false;
  }
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
}

bool CStartButtonWatch::Wait() {
  std::unique_lock<std::mutex> lock(mutex_);
  wake_.wait_for(lock, period_, [this] { return !run_.load(); });
  return run_.load();
}

bool CStartButtonWatch::ReadInput(std::uint8_t& input) {
  platform::Clock& clock = clock_ != nullptr ? *clock_ : platform::CurrentClock();
  DWORD combined = 0xFF;
  for (int i = 0; i < 3; ++i) {
    if (i > 0) clock.BusyWaitMicros(1.0);
    DWORD value = 0;
    if (!GetPortVal(InPortAddress.load(), &value, 1)) return false;
    combined &= value;
  }
  input = static_cast<std::uint8_t>(combined & 0xFF);
  lastInput_ = input;
  ++polls_;
  return true;
}

void CStartButtonWatch::Run() {
  MarkStatusWord.fetch_and(~MSW_STOP_CONFIRMED);
  int ignore = kIgnorePolls;
  while (Wait()) {
    std::uint8_t input = 0xFF;
    const bool read = ReadInput(input);
    if (ignore > 0) --ignore;
    if (!read || (input & kButtonBit) != 0 || ignore != 0) continue;
    // Pressed: act once it is released (a failed read leaves it pressed).
    bool released = false;
    while (Wait()) {
      if (ReadInput(input) && (input & kButtonBit) != 0) {
        released = true;
        break;
      }
    }
    if (!released) return;  // stopped while held
    if (MarkStatusWord.load() & MSW_MARKING) {
      MarkStatusWord.fetch_or(MSW_STOP_REQUEST | MSW_STOP_CONFIRMED);
    } else {
      if (view_ != nullptr) view_->PostMessage(WM_HARD_START);
      ignore = kIgnorePolls;
    }
  }
}
