#include "values/ShellValues.h"

std::string InstallFolder;
// A 96 dpi screen and the nanosecond steady clock until start-up measures them,
// so code run without the shell (tools, tests) never divides by zero.
double PixelsPerMmX = 96.0 / 25.4;
double PixelsPerMmY = 96.0 / 25.4;
double TicksPerMicrosecond = 1000.0;
std::atomic<int> SoftType{SOFT_TYPE_BIG_PORT_BOARD};
MachineSetRecord MachineSettings = DefaultMachineSetRecord();
int MachineSettingsLoaded = 0;
int CurrentDefaultColor = 0;
float DistanceHor = 1.0f;
float DistanceVer = 1.0f;
