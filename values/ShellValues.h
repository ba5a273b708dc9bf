#pragma once
// Values the shell holds for the whole run and the document and marking code
// read: installation folder, screen scale, timer scale, board type, machine
// settings record, the layout view's dot spacing and the default colour of new
// objects.
#include <atomic>
#include <string>

#include "values/MachineSetRecord.h"

// May end in a backslash (a drive root); join with platform::JoinInstallPath.
extern std::string InstallFolder;
// Screen pixels per millimetre; set at start-up before the first layout.
extern double PixelsPerMmX;
extern double PixelsPerMmY;
// Clock ticks per microsecond for the busy waits.
extern double TicksPerMicrosecond;

constexpr int SOFT_TYPE_BIG_PORT_BOARD = 0;
constexpr int SOFT_TYPE_USB = 1;
constexpr int SOFT_TYPE_SMALL_PORT_BOARD = 2;
// Board type from "Zephyne.dat"; read by the marking worker too.
extern std::atomic<int> SoftType;

// The machine settings record, and whether the shell has set it up at
// start-up (from its file, or a fresh install's defaults); from then on each
// new document's parameter record takes it over.
extern MachineSetRecord MachineSettings;
extern int MachineSettingsLoaded;

// Colour every new object takes.
extern int CurrentDefaultColor;

// The layout view's dot spacing in mm (registry floats "DistanceHor" and
// "DistanceVer", default 1): the view's grid, the cell of every new dot
// image and the grid a picture's dots are put on.
extern float DistanceHor;
extern float DistanceVer;

// Names the shell's own code uses for the same values.
inline std::string& g_installDir = InstallFolder;
inline double& g_pxPerMmX = PixelsPerMmX;
inline double& g_pxPerMmY = PixelsPerMmY;
inline double& g_ticksPerMicrosecond = TicksPerMicrosecond;
inline std::atomic<int>& g_softType = SoftType;
inline MachineSetRecord& g_machineSet = MachineSettings;
inline float& g_distanceHor = DistanceHor;
inline float& g_distanceVer = DistanceVer;
