#pragma once
// Process-wide values the start-up sets besides the shell values: whether
// port access was gained, the check-PCI-board switch and the physical screen
// size the pixel scale was taken from.
#include <atomic>

extern std::atomic<int> g_winIoReady;     // port access gained at start-up
extern std::atomic<int> g_checkPciBoard;  // registry value CheckPCIBoard
extern double g_physScreenWidthMm;
extern double g_physScreenHeightMm;

// Port base when no valid address is configured: 0x378, the first parallel port.
constexpr unsigned short kDefaultPortBase = 888;
