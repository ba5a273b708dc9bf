// drunvel-boards: lists the CH365 bridges Drunvel can open, with their
// windows, interrupt line and driver version. Opens each without asking for
// memory or an interrupt, so nothing on the bridge is changed.
#include <cstdio>

#include "libs/drunvel/Drunvel.h"

int main() {
  int found = 0;
  for (std::uint32_t index = 0; index < ch365::kMaxDevices; ++index) {
    if (CH365mOpenDevice(index, 0, 0) == CH365_INVALID_HANDLE) break;
    std::uint32_t io = 0, mem = 0, line = 0;
    CH365mGetIoBaseAddr(index, &io);
    CH365mGetMemBaseAddr(index, &mem);
    CH365mGetIntLine(index, &line);
    std::printf("Bridge %u: I/O base 0x%04X, memory base 0x%08X, interrupt line %u, driver version %u\n", index, io,
                mem, line, CH365GetDrvVersion());
    CH365mCloseDevice(index);
    ++found;
  }
  if (found == 0) std::printf("No CH365 board found.\n");
  std::printf("Library version %u\n", CH365GetVersion());
  return 0;
}
