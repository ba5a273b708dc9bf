#pragma once
// What the lamp panel reads of the machine: the board type, the hardware
// test's last board status byte, the input port and the origin levels, and
// what it writes back to the hardware test.
#include "platform/WinTypes.h"

class IoStatusSource {
 public:
  virtual ~IoStatusSource() = default;
  virtual int BoardType() = 0;     // SoftType: 1 USB board, others port boards
  virtual BYTE BoardStatus() = 0;  // status byte of the hardware test's last reply
  virtual BYTE ReadInputPort() = 0;
  virtual BYTE OriginLevels() = 0;  // bit 0 X origin level, bit 1 Y origin level
  // The ANDed input reading of a port board; the hardware test reads it.
  virtual void StoreLastInput(BYTE value) = 0;
  // An axis found at its origin on the USB board: the hardware test's step
  // counter of that axis (0 X, 1 Y) starts again from 0.
  virtual void ZeroStepCounter(int axis) = 0;
};
