#pragma once
// 32-bit words sent over three lines of the control port (a clock and two
// data lines): how the small port board's pulse-frequency generator is set.
// Line levels come from bits 4-7 of the port polarity mask; the control port
// byte is kept in ControlShadow.
#include <atomic>
#include <cstdint>

#include "platform/WinTypes.h"

namespace platform {
class Clock;
}

class CPortSerialWriter {
 public:
  // mask: the port polarity mask, shared with the rest of the port code.
  explicit CPortSerialWriter(std::atomic<int>& mask, platform::Clock* clock = nullptr);

  // Shadow := 0; mask bits 5 and 6 cleared, bits 4 and 7 set.
  void ResetPortShadow();
  // Writes the shadow to the control port and waits 10 microseconds.
  void PortDelayTick();
  void SendPortStart();
  void SendPortStop();
  // Only a length of 4 is sent; the port argument is not used.
  void SendPortWord(int port, const BYTE* data, int length);
  // Preamble, 50 microseconds, then divider and on-time. Returns 2.
  int SendPulseFrequency(int port, int frequency, double duty);

 private:
  void SetClock(int maskBit);
  void SetData(int bit1MaskBit, int bit2MaskBit);
  int MaskBit(int bit) const { return (mask_.load() >> bit) & 1; }
  platform::Clock& ClockRef() const;

  std::atomic<int>& mask_;
  platform::Clock* clock_;
};
