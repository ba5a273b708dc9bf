#pragma once
// The layout view's settings commands: board type and port address, serial
// settings of the text port, physical screen size, the paper print record,
// and the marking-record database (look, clear behind the password).
#include <cstdint>
#include <string>

#include "app/views/model/ViewSettingsFiles.h"

class ISettingsCommandHost;

namespace marking {
struct MarkDatabaseLocation;
struct MarkTime;
}  // namespace marking

// What the board-type dialog gives back.
struct SoftTypeChoice {
  int boardType = 0;
  int checkPciBoard = 0;
  std::string addressText;  // hexadecimal, any case
  int freeMode = 0;         // machine settings byte 212
  int boardOption = 0;      // machine settings int 216
};

// "Soft type and PCI-board": the dialog on the current values, then on OK the
// sequence below. Returns whether OK was chosen.
bool OnSoftTypeCommand(ISettingsCommandHost& host);
// After OK: stop the button watcher and the link, store the board type, the
// check-PCI switch and the port base, bring the hardware and the link up
// again, reload the machine settings with the dialog's two options and save.
void ApplySoftTypeChoice(ISettingsCommandHost& host, const SoftTypeChoice& choice);

// "RS232 setting": the serial settings dialog on the text port's six values;
// on OK they are written to "COMSET_EX.DAT" and the port is reopened ("Update
// data from rs232 err!" when that fails). Nothing without a property view.
bool OnRs232SettingCommand(ISettingsCommandHost& host);

// "Physics screen size".
bool OnScreenSizeCommand(ISettingsCommandHost& host, int screenPixelWidth, int screenPixelHeight);

// "Print edge seting": the print record edited and written to the folder's
// "PaperPrintSet.DAT" on OK.
bool OnPrintEdgeSettingCommand(ISettingsCommandHost& host, PaperPrintSet& record, const std::string& folder);

// "Look database information".
void OnLookDatabaseCommand(ISettingsCommandHost& host, const marking::MarkDatabaseLocation& location);
// "Clear database data": the password, the question, then the records are
// copied to a dated backup and cleared. Nothing is cleared without a backup;
// when it cannot be made the operator is told why. Returns whether cleared.
bool OnClearDatabaseCommand(ISettingsCommandHost& host, const marking::MarkDatabaseLocation& location,
                            const marking::MarkTime& now);
