// Port set-up of the view and its start-button watcher.
#include <chrono>
#include <thread>

#include "app/core/StartupValues.h"
#include "app/views/model/CVendrikViewModel.h"
#include "document/geometry/SharedHelpers.h"
#include "document/geometry/SharedState.h"
#include "marking/controller/ControllerState.h"
#include "marking/link/PortSerialWriter.h"
#include "platform/Prompt.h"
#include "values/ShellValues.h"

namespace {

constexpr WORD kParallelPortBase = 888;  // 0x378

void SetLowByte(std::atomic<int>& value, int low) { value = (value.load() & ~0xFF) | (low & 0xFF); }

// Control bit 6 and, in bit 7, data bit 3.
int ControlByte(int control, int data, bool bit6) {
  control &= ~0xC0;
  if (bit6) control |= 0x40;
  if (data & 0x08) control |= 0x80;
  return control;
}

}  // namespace

void CVendrikViewModel::InitHardware() {
  // 1. The parallel port unless a PCI board is configured.
  int base = kParallelPortBase;
  if (g_checkPciBoard.load() != 0) ReadRegDword("PCI9865Base", base);
  SetPortAddresses(static_cast<WORD>(base));
  // 2. Shadows.
  SetLowByte(PulseLevels, 2);
  SetLowByte(OutputShadow, 4);
  ControlShadow = 0;
  MarkStatusWord = MarkStatusWord.load() & ~0xFFu;

  const int softType = g_softType.load();
  if (softType == SOFT_TYPE_USB) {
    // 3. The USB board needs only its control byte; it has no start button here.
    ControlShadow = ControlByte(ControlShadow.load(), OutputShadow.load(), true);
    WriteCtrlPort(static_cast<BYTE>(ControlShadow.load() & 0xFF));
    return;
  }
  // 4. Port boards.
  const bool small = softType == SOFT_TYPE_SMALL_PORT_BOARD;
  if (small) {
    MarkStatusWord.fetch_and(~MSW_INVERT_DIR);
  } else {
    MarkStatusWord.fetch_or(MSW_INVERT_DIR);
  }
  SetLowByte(OutputShadow, small ? 5 : 6);
  ControlShadow = ControlByte(ControlShadow.load(), OutputShadow.load(), false);
  WriteOutPort(static_cast<BYTE>(OutputShadow.load() & 0xFF));
  WriteCtrlPort(static_cast<BYTE>(ControlShadow.load() & 0xFF));
  CPortSerialWriter writer(PortLevelByte);
  writer.ResetPortShadow();
  ApplyCtrlPortBit0();
  if (small) {
    writer.SendPortStop();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    writer.SendPulseFrequency(0, g_machineSet.pulseFrequency, g_machineSet.pulseDuty);
  }
  // 5. The start button.
  if (!StartButtonWatch()) platform::MessageBox("Hard mark button initial error!");
}

void CVendrikViewModel::SetButtonWatchTiming(platform::Clock* clock, std::chrono::milliseconds period) {
  m_watchClock = clock;
  m_watchPeriod = period;
}

bool CVendrikViewModel::StartButtonWatch() { return m_buttonWatch.Start(m_pTarget, m_watchClock, m_watchPeriod); }

void CVendrikViewModel::StopButtonWatch() { m_buttonWatch.Stop(); }
