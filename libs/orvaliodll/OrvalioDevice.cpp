// Opening, initialising and identifying the card's bridge.
#include <cstdio>

#include "libs/orvaliodll/OrvalioState.h"
#include "libs/orvaliodll/Orvaliodll.h"
#include "platform/Prompt.h"

namespace orvalio {

State& TheState() {
  static State state;
  return state;
}

void ShowError(const std::string& text) { platform::MessageBox(text, "提示", MB_OK | MB_ICONERROR); }

namespace {

constexpr char kNoIoBase[] = "获得I/O基址失败！";
constexpr char kNoIntLine[] = "获得中断号失败！";
constexpr char kNoVersion[] = "未能成功获得DLL版本号！";

// Speed register byte of Orvalio_SetSpeed's modes.
std::uint8_t SpeedByte(std::uint32_t mode) {
  switch (mode) {
    case 0: return 0;
    case 1: return 0x12;
    default: return 7;
  }
}

int InitWithSpeed(std::uint32_t index, std::uint8_t speed) {
  std::uint32_t base = 0;
  if (!CH365mGetIoBaseAddr(index, &base)) {
    ShowError(kNoIoBase);
    return 0;
  }
  TheState().ioBase = base;
  return CH365mWriteIoByte(index, base + ch365::kRegSpeed, speed);
}

}  // namespace
}  // namespace orvalio

using orvalio::TheState;

extern "C" {

CH365_HANDLE OrvalioOpenDevice(int enableMemory, int enableInterrupt, std::uint32_t index) {
  TheState().openedIndex = index;
  return CH365mOpenDevice(index, enableMemory, enableInterrupt);
}

int OrvalioCloseDevice(std::uint32_t /*unused*/) { return CH365mCloseDevice(TheState().openedIndex); }

int Orvalio_InitDevice(std::uint32_t index) { return orvalio::InitWithSpeed(index, 7); }

int Orvalio_SetSpeed(std::uint32_t mode, std::uint32_t index) {
  return orvalio::InitWithSpeed(index, orvalio::SpeedByte(mode));
}

int OrvalioAddrRefresh(std::uint32_t index) {
  std::uint32_t value = 0;
  if (!CH365mGetIntLine(index, &value)) orvalio::ShowError(orvalio::kNoIntLine);
  if (CH365mGetIoBaseAddr(index, &value)) {
    TheState().ioBase = value;
  } else {
    orvalio::ShowError(orvalio::kNoIoBase);
  }
  if (CH365mGetMemBaseAddr(0, &value)) TheState().memBase = value;
  return 1;
}

int OrvalioGetDllVersion(char* text) {
  if (text == nullptr) return 0;
  std::snprintf(text, 9, "%x", CH365GetVersion());
  if (text[0] == '\0') {
    orvalio::ShowError(orvalio::kNoVersion);
    return 0;
  }
  return 1;
}

int OrvalioSetA15_A8(std::uint8_t value, std::uint32_t index) { return CH365mSetA15_A8(index, value); }

std::uint32_t OrvalioGetDrvVersion() { return CH365GetDrvVersion(); }

std::uint16_t SetBaseAddr(std::uint16_t port) {
  TheState().cardBase = port;
  return port;
}

}  // extern "C"
