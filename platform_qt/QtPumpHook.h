#pragma once
// Lets busy waits keep the window alive: installs the platform pump hook so
// that waits on the UI thread process pending Qt events. Waits on other
// threads call the hook too and it does nothing there.
#include <chrono>

namespace platform_qt {

// Needs a QCoreApplication; returns false without one.
bool InstallQtPumpHook(std::chrono::microseconds minInterval = std::chrono::milliseconds(10));

}  // namespace platform_qt
