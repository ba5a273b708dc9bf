#include "libs/vendrikdll/CVendrikDll.h"

#include "libs/drunvel/Drunvel.h"

namespace {

constexpr int kPortA = 0;
constexpr int kPortB = 1;
constexpr int kPortC = 2;
constexpr int kControl = 3;
// Mode 0 for both groups: port A out, port B in, both halves of port C out.
constexpr std::uint8_t kModeWord = 0x82;

int WritePort(const CVendrikDll& board, int offset, std::uint8_t value) {
  return CH365mWriteIoByte(board.deviceIndex, board.ioBase + offset, value);
}

}  // namespace

CVendrikDll::CVendrikDll() : ioBase(0), deviceIndex(0), opened(0) {}

CVendrikDll::~CVendrikDll() { CloseBoard(); }

CVendrikDll& CVendrikDll::operator=(const CVendrikDll& other) {
  ioBase = other.ioBase;
  deviceIndex = other.deviceIndex;
  opened = other.opened;
  return *this;
}

int CVendrikDll::InitialBoard() {
  opened = 0;
  if (CH365mOpenDevice(deviceIndex, 1, 1) == CH365_INVALID_HANDLE) return 0;
  std::uint32_t base = 0;
  if (!CH365mGetIoBaseAddr(deviceIndex, &base)) return 0;
  ioBase = base;
  opened = WritePort(*this, kControl, kModeWord);
  return opened;
}

void CVendrikDll::CloseBoard() { CH365mCloseDevice(deviceIndex); }

int CVendrikDll::WriteByte(int offset, std::uint8_t value) { return opened ? WritePort(*this, offset, value) : 0; }

void CVendrikDll::OutPortValue_PA(std::uint8_t value) {
  if (opened) WritePort(*this, kPortA, value);
}

void CVendrikDll::OutPortValue_PC(std::uint8_t value) {
  if (opened) WritePort(*this, kPortC, value);
}

std::uint8_t CVendrikDll::ReadPort_PB() {
  std::uint8_t value = 0;
  if (opened && !CH365mReadIoByte(deviceIndex, ioBase + kPortB, &value)) value = 0;
  return value;
}

int nVendrikDll = 0;

int fnVendrikDll() { return 42; }
