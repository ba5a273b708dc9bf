#include "marking/link/PortSerialWriter.h"

#include "document/geometry/SharedHelpers.h"
#include "document/geometry/SharedState.h"
#include "marking/link/WireProtocol.h"
#include "platform/Clock.h"

namespace {
constexpr int kClockLine = 0x08;
constexpr int kDataLine1 = 0x02;
constexpr int kDataLine2 = 0x04;
}  // namespace

CPortSerialWriter::CPortSerialWriter(std::atomic<int>& mask, platform::Clock* clock) : mask_(mask), clock_(clock) {}

platform::Clock& CPortSerialWriter::ClockRef() const { return clock_ ? *clock_ : platform::CurrentClock(); }

void CPortSerialWriter::ResetPortShadow() {
  ControlShadow = 0;
  mask_ = (mask_.load() & 0x1F) | 0x10 | 0x80;
}

void CPortSerialWriter::PortDelayTick() {
  WriteCtrlPort(static_cast<BYTE>(ControlShadow.load() & 0xFF));
  ClockRef().BusyWaitMicros(10);
}

void CPortSerialWriter::SetClock(int maskBit) {
  int shadow = ControlShadow.load() & ~kClockLine;
  if (MaskBit(maskBit)) shadow |= kClockLine;
  ControlShadow = shadow;
}

void CPortSerialWriter::SetData(int bit1MaskBit, int bit2MaskBit) {
  int shadow = ControlShadow.load() & ~(kDataLine1 | kDataLine2);
  if (MaskBit(bit1MaskBit)) shadow |= kDataLine1;
  if (MaskBit(bit2MaskBit)) shadow |= kDataLine2;
  ControlShadow = shadow;
}

void CPortSerialWriter::SendPortStart() {
  SetClock(7);
  PortDelayTick();
  SetData(7, 5);
  PortDelayTick();
  SetClock(6);
  PortDelayTick();
}

void CPortSerialWriter::SendPortStop() {
  SetClock(7);
  PortDelayTick();
  SetData(6, 4);
  PortDelayTick();
  SetClock(6);
  PortDelayTick();
}

void CPortSerialWriter::SendPortWord(int /*port*/, const BYTE* data, int length) {
  if (length != 4 || !data) return;
  SendPortStart();
  for (int i = 0; i < 4; ++i) {
    for (int bit = 7; bit >= 0; --bit) {
      SetClock(7);
      PortDelayTick();
      if ((data[i] >> bit) & 1) SetData(7, 4);
      else SetData(6, 5);
      PortDelayTick();
      SetClock(6);
      PortDelayTick();
    }
  }
  SendPortStop();
}

int CPortSerialWriter::SendPulseFrequency(int port, int frequency, double duty) {
  static constexpr BYTE kPreamble[4] = {0x01, 0x5A, 0x00, 0x79};
  SendPortWord(port, kPreamble, 4);
  ClockRef().BusyWaitMicros(50);
  const auto block = BuildSpeedBlock(frequency, duty);
  SendPortWord(port, block.data(), 4);
  return 2;
}
