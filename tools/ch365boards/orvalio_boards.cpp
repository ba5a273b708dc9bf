// orvalio-boards: lists the Orvalio I/O cards orvaliodll can open, with the
// card's digital inputs and the library version.
#include <cstdio>

#include "libs/orvaliodll/Orvaliodll.h"

int main() {
  int found = 0;
  for (std::uint32_t index = 0; index < ch365::kMaxDevices; ++index) {
    if (OrvalioOpenDevice(0, 0, index) == CH365_INVALID_HANDLE) break;
    std::uint32_t io = 0;
    CH365mGetIoBaseAddr(index, &io);
    std::printf("Card %u: bridge I/O base 0x%04X, digital inputs 0x%02X\n", index, io, Get_Di_Byte(index));
    OrvalioCloseDevice(index);
    ++found;
  }
  if (found == 0) std::printf("No Orvalio card found.\n");
  char version[16] = {};
  if (OrvalioGetDllVersion(version)) std::printf("Library version %s\n", version);
  return 0;
}
