#pragma once
// The steps of the program's start-up that need no window: ending other
// copies, port access, registry values, the counter and the screen scale.
// The application object runs them in order.
#include <memory>
#include <string>

#include "app/core/CProcessKiller.h"
#include "platform/PortIo.h"

// Step 1: ends the other running copies of this executable.
int EndOtherCopies(ProcessTable& table, int ownPid, const std::string& ownExePath);

// The port board's access when one is configured ($VENDRIK_PORT_BACKEND=linux),
// else null: the program then works on a simulated port space.
std::shared_ptr<platform::PortSpace> ConfiguredPortBoard();

// Step 2: port access. A configured board that cannot be reached (no
// privileges, another processor) shows "Initial port error!" and the program
// goes on with the simulated port space, so layouts can still be edited and
// the USB board still works. Sets g_winIoReady; false only when not even the
// simulated space opens.
bool OpenPortAccess(std::shared_ptr<platform::PortSpace> board);

// Step 3: the port base from PCI9865Base, else 888 (0x378).
void ReadPortBase();

// Step 4: the installation folder from FontPath, else the data folder; a
// trailing separator is cut when the text is longer than 3 characters.
// Creates the configuration key when it is missing. The file dialogs start
// in that folder's "Projects" when there is one.
std::string TrimInstallFolder(std::string folder);
void ReadInstallFolder();

// Step 5: ticks per microsecond of the process clock; false (after the
// message "System don't support high frequent counter!") without a counter.
bool CalibrateCounter();

// Step 7: pixels per millimetre from the screen resolution and its physical
// size: the registry sizes PhyScreenWidth / PhyScreenHeight when they are
// usable (positive, finite), else the size the display reports, else 96 dpi.
struct ScreenMetrics {
  int horzRes = 0;
  int vertRes = 0;
  double horzSizeMm = 0;  // as the display reports it; 0 when unknown
  double vertSizeMm = 0;
};
void SetScreenScale(const ScreenMetrics& screen);
