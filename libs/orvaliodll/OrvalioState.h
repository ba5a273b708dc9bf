#pragma once
// The library's process-wide state, shared by its source files.
#include <atomic>
#include <cstdint>
#include <string>

namespace orvalio {

struct State {
  std::atomic<std::uint32_t> openedIndex{0};  // index given to the last open
  std::atomic<std::uint32_t> ioBase{0};       // bridge I/O base
  std::atomic<std::uint32_t> memBase{0};      // memory base of bridge 0
  std::atomic<std::uint16_t> cardBase{0};     // card-local base of the ports
  std::atomic<std::uint8_t> doShadow{0};      // outputs as last set bit by bit
};

State& TheState();

// Port offsets from the card base.
constexpr std::uint32_t kDigitalPort = 0;
constexpr std::uint32_t kDaHighByte = 1;
constexpr std::uint32_t kTimerCounter0 = 4;
constexpr std::uint32_t kTimerCounter1 = 5;
constexpr std::uint32_t kTimerControl = 7;
// Above this card base the bit calls refuse to run.
constexpr std::uint16_t kMaxCardBase = 1023;

// Message box with the library's caption and error icon.
void ShowError(const std::string& text);

}  // namespace orvalio
