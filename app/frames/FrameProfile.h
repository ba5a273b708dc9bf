#pragma once
// The frame's profile (the framework's settings of the main window): the bar
// state and the recent-file list, in the configuration folder.
#include <QString>

#include "platform/InstallDir.h"

inline constexpr const char* kRecentFileSection = "Recent File List";

inline QString FrameProfilePath() { return QString::fromStdString(platform::DefaultConfigFolder() + "/Vendrik.ini"); }
