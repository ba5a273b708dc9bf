#pragma once
// The windows the layout view's marking and machine commands open: the jog
// window, the hardware test, the dithering values, the origin corner and the
// pointed position. The widget runs them on the user-interface thread; tests
// hand in a double that answers at once.
#include <atomic>
#include <cstdint>

#include "platform/Event.h"

// 1 while the hand-positioning window is to be shown.
extern std::atomic<std::uint8_t> g_jogWindowOpen;
// Byte 6 of the board's last "TT" status reply (the machine inputs).
extern std::atomic<std::uint8_t> g_machineInputByte;

struct DitheringValues {
  int stableTime = 0;  // ms
  int applyDithering = 0;
  float rotateFactor = 0.0f;
};

class IViewMarkDialogs {
 public:
  virtual ~IViewMarkDialogs() = default;
  // The jog window: whether it exists as a window, make and show it, end it
  // (keep 0: it tells the view with its closing code first), and keep its two
  // radio choices.
  virtual bool HasJogWindow() = 0;
  virtual void CreateJogWindow() = 0;
  virtual void EndJog(int keep) = 0;
  virtual void SaveJogSelection() = 0;
  // The hardware test, modal.
  virtual void RunMotorTest() = 0;
  // Modal editors; false on Cancel.
  virtual bool EditDithering(DitheringValues& values) = 0;
  virtual bool EditOriginCorner(int& corner) = 0;
};
