// vendrikdll-board: opens the port board on bridge 0 through VendrikDll and
// shows port B; the object's destruction closes the bridge again.
#include <cstdio>

#include "libs/vendrikdll/CVendrikDll.h"

int main() {
  CVendrikDll board;
  if (board.InitialBoard() != 1) {
    std::printf("No port board found.\n");
    return 0;
  }
  std::printf("Port board on bridge 0: I/O base 0x%04X, port B 0x%02X\n", board.ioBase, board.ReadPort_PB());
  return 0;
}
