#pragma once
// The port board: an 8255-style interface behind a CH365 bridge, port A and
// port C outputs, port B input. The program keeps one object for its whole
// run; destroying it closes bridge device 0.
#include <cstdint>

#define VENDRIKDLL_API __attribute__((visibility("default")))

class VENDRIKDLL_API CVendrikDll {
 public:
  CVendrikDll();
  ~CVendrikDll();
  CVendrikDll(const CVendrikDll& other) = default;
  CVendrikDll& operator=(const CVendrikDll& other);

  // Opens the bridge and sets the ports' directions; 1 when ready.
  int InitialBoard();
  void CloseBoard();
  // Writes a byte at ioBase + offset; 0 (nothing written) while not ready.
  int WriteByte(int offset, std::uint8_t value);
  void OutPortValue_PA(std::uint8_t value);
  void OutPortValue_PC(std::uint8_t value);
  // Port B, or 0 while not ready or when the read fails.
  std::uint8_t ReadPort_PB();

  std::uint32_t ioBase;
  int deviceIndex;
  int opened;
};

extern "C" {
VENDRIKDLL_API int fnVendrikDll();
VENDRIKDLL_API extern int nVendrikDll;
}
