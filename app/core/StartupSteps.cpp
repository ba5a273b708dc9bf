#include "app/core/StartupSteps.h"

#include <cmath>
#include <cstdlib>

#include "app/core/StartupValues.h"
#include "values/ShellValues.h"
#include "document/geometry/SharedHelpers.h"
#include "document/geometry/SharedState.h"
#include "platform/Clock.h"
#include "platform/FileDialogFolders.h"
#include "platform/InstallDir.h"
#include "platform/Prompt.h"
#include "platform/SettingsStore.h"

std::atomic<int> g_winIoReady{0};
std::atomic<int> g_checkPciBoard{0};
double g_physScreenWidthMm = 0;
double g_physScreenHeightMm = 0;

namespace {

constexpr double kFallbackDpi = 96.0;

// Millimetres across the screen: a usable registry size first, then the
// reported size, then what the resolution measures at 96 dpi.
double PhysicalSizeMm(const char* valueName, double reportedMm, int resolution) {
  float stored = 0;
  if (ReadRegFloat(valueName, stored) && std::isfinite(stored) && stored > 0.0f) return stored;
  if (std::isfinite(reportedMm) && reportedMm > 0) return reportedMm;
  return resolution * 25.4 / kFallbackDpi;
}

double PixelsPerMm(int resolution, double sizeMm) {
  if (resolution <= 0 || !(sizeMm > 0)) return kFallbackDpi / 25.4;
  return resolution / sizeMm;
}

}  // namespace

int EndOtherCopies(ProcessTable& table, int ownPid, const std::string& ownExePath) {
  CProcessKiller killer(table);
  return killer.KillProcessesByName(ownPid, ownExePath);
}

std::shared_ptr<platform::PortSpace> ConfiguredPortBoard() {
  const char* backend = std::getenv("VENDRIK_PORT_BACKEND");
  if (backend != nullptr && std::string(backend) == "linux") return platform::MakeLinuxPortSpace();
  return nullptr;
}

bool OpenPortAccess(std::shared_ptr<platform::PortSpace> board) {
  if (board) {
    platform::SetPortSpace(board);
    if (InitializeWinIo()) {
      g_winIoReady = 1;
      return true;
    }
    platform::MessageBox("Initial port error!");
  }
  platform::SetPortSpace(std::make_shared<platform::SimulatedPortSpace>());
  g_winIoReady = InitializeWinIo() ? 1 : 0;
  return g_winIoReady != 0;
}

void ReadPortBase() {
  int base = kDefaultPortBase;
  ReadRegDword("PCI9865Base", base);
  SetPortAddresses(static_cast<WORD>(base));
}

std::string TrimInstallFolder(std::string folder) {
  if (folder.size() > 3 && (folder.back() == '/' || folder.back() == '\\')) folder.pop_back();
  return folder;
}

void ReadInstallFolder() {
  platform::SettingsStore& settings = platform::Settings();
  if (!settings.KeyExists(platform::kRegistryKey)) settings.CreateKey(platform::kRegistryKey);
  std::string folder;
  if (!settings.ReadString(platform::kRegistryKey, "FontPath", folder) || folder.empty()) {
    folder = platform::DefaultDataFolder();
  }
  g_installDir = TrimInstallFolder(folder);
  platform::SetFileDialogDataFolder(g_installDir);
}

bool CalibrateCounter() {
  const std::int64_t frequency = platform::CurrentClock().CounterFrequency();
  if (frequency <= 0) {
    platform::MessageBox("System don't support high frequent counter!");
    return false;
  }
  g_ticksPerMicrosecond = static_cast<double>(frequency) * 1e-6;
  return true;
}

void SetScreenScale(const ScreenMetrics& screen) {
  g_physScreenWidthMm = PhysicalSizeMm("PhyScreenWidth", screen.horzSizeMm, screen.horzRes);
  g_pxPerMmX = PixelsPerMm(screen.horzRes, g_physScreenWidthMm);
  g_physScreenHeightMm = PhysicalSizeMm("PhyScreenHeight", screen.vertSizeMm, screen.vertRes);
  g_pxPerMmY = PixelsPerMm(screen.vertRes, g_physScreenHeightMm);
}
