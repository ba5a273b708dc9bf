#include "libs/qm318/PortDriver.h"

namespace qm318 {
namespace {

BYTE AccessSize(BYTE size) { return size == 1 || size == 2 ? size : 4; }

}  // namespace

int open_port_driver() { return platform::CurrentPortSpace().Initialize() ? 0 : -1; }

bool PortValRead(WORD port, DWORD* value, BYTE size) {
  DWORD v = 0;
  platform::CurrentPortSpace().Read(port, v, AccessSize(size));
  if (value) *value = v;
  return true;
}

bool PortValWrite(WORD port, DWORD value, BYTE size) {
  platform::CurrentPortSpace().Write(port, value, AccessSize(size));
  return true;
}

}  // namespace qm318
