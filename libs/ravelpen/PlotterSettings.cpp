#include "libs/ravelpen/PlotterSettings.h"

#include <cmath>
#include <cstring>
#include <vector>

#include "platform/NumberText.h"
#include "platform/SettingsStore.h"

namespace ravelpen {
namespace {

// The library keeps its own readers of the two value kinds: DWORDs, and
// floats as "%f" text in a binary value of up to 64 bytes.
bool ReadDword(const char* name, int& value) {
  DWORD stored = 0;
  if (!platform::Settings().ReadDword(platform::kRegistryKey, name, stored)) return false;
  value = static_cast<int>(stored);
  return true;
}

bool ReadFloat(const char* name, double& value) {
  std::vector<BYTE> bytes;
  if (!platform::Settings().ReadBinary(platform::kRegistryKey, name, bytes) || bytes.size() > 64) return false;
  char text[65] = {};
  if (!bytes.empty()) std::memcpy(text, bytes.data(), bytes.size());
  bool ok = false;
  const double parsed = platform::ParseDoubleC(text, &ok);
  if (!ok || !std::isfinite(parsed)) return false;
  value = static_cast<float>(parsed);
  return true;
}

}  // namespace

PlotterSettings& Settings() {
  static PlotterSettings settings;
  return settings;
}

void ReadRegistryValues() {
  PlotterSettings& s = Settings();
  RegistryValues r;
  ReadDword("BackSpeed", r.backSpeed);
  ReadDword("EmptySpeed", r.emptySpeed);
  ReadDword("LineSpeed", r.lineSpeed);
  ReadDword("ImageSizeMode", r.imageSizeMode);
  ReadFloat("MachineRx", r.machineRx);
  ReadFloat("MachineRy", r.machineRy);
  ReadFloat("FixedWidth", r.fixedWidth);
  ReadFloat("FixedHeight", r.fixedHeight);
  ReadFloat("MarkPosX", r.markPosX);
  ReadFloat("MarkPosY", r.markPosY);
  s.registry = r;
  s.rangeX = r.machineRx;
  s.rangeY = r.machineRy;
  const RegistryValues defaults;
  s.backSpeed = r.backSpeed > 0 ? r.backSpeed : defaults.backSpeed;
  s.emptySpeed = r.emptySpeed > 0 ? r.emptySpeed : defaults.emptySpeed;
  s.lineSpeed = r.lineSpeed > 0 ? r.lineSpeed : defaults.lineSpeed;
}

int StepPeriodTicks(int speed) {
  if (speed <= 0) return 50000;
  const int period = 50000 / speed;
  return period > 0 ? period : 1;
}

}  // namespace ravelpen
