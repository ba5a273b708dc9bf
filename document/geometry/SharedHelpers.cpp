#include "document/geometry/SharedHelpers.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "document/geometry/SharedState.h"
#include "platform/NumberText.h"
#include "platform/PortIo.h"
#include "platform/SettingsStore.h"

namespace {

double SnapCoordinate(double v, double s) {
  if (!(s > 0) || !std::isfinite(s) || !std::isfinite(v)) return v;
  double d = std::trunc(2 * v / s);  // whole half steps
  if (!std::isfinite(d)) return v;   // a step too fine for the value: no grid to snap to
  double e = s * d / 2 - v;
  double f = 0;
  if (std::fabs(e) >= s / 2) {  // only through rounding
    f = e > 0 ? -1 : 1;
    d += f;
  }
  if (std::fmod(d, 2) == 0) {
    if (f != 0)
      d -= f;
    else if (e > 0)
      d -= 1;
    else
      d += 1;
  }
  return s * d / 2;
}

int ClampToInt(double v) {
  if (std::isnan(v)) return 0;
  if (v >= static_cast<double>(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
  if (v <= static_cast<double>(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
  return static_cast<int>(v);
}

constexpr std::size_t kFloatValueSize = 64;

}  // namespace

void SnapPointToGrid(CDoublePoint& point, double xStep, double yStep) {
  point.x = SnapCoordinate(point.x, xStep);
  point.y = SnapCoordinate(point.y, yStep);
}

void FormatFloat1(float value, std::string& out) { out = platform::FormatC("%.1f", static_cast<double>(value)); }

void RoundFloat1(float& value) {
  value = static_cast<float>(platform::ParseDoubleC(platform::FormatC("%.1f", static_cast<double>(value))));
}

void RoundFloat3(float& value) {
  value = static_cast<float>(platform::ParseDoubleC(platform::FormatC("%.3f", static_cast<double>(value))));
}

void RoundDouble3(double& value) { value = platform::ParseDoubleC(platform::FormatC("%.3f", value)); }

int QuantizeSteps(double distance, double& carry, double stepLength) {
  if (!std::isfinite(distance)) return 0;
  if (!(stepLength > 0) || !std::isfinite(stepLength) || !std::isfinite(carry)) {
    // No usable step length: nothing to carry, just the nearest whole step.
    return ClampToInt(std::round(distance));
  }
  double total = distance + carry / stepLength;
  double steps = std::round(total);  // halves away from zero
  carry = (total - steps) * stepLength;
  return ClampToInt(steps);
}

int FilterStopKey(UINT message, WPARAM key) {
  if (!(MarkStatusWord.load() & MSW_MARKING)) return 0;
  if (message != WM_KEYDOWN) return 0;
  if (key != 13 && key != 27 && key != 32) return 0;
  MarkStatusWord.fetch_or(MSW_STOP_REQUEST);
  return 1;
}

int ReadRegDword(DWORD& value, const std::string& name) {
  return platform::Settings().ReadDword(platform::kRegistryKey, name, value) ? 1 : 0;
}

int WriteRegDword(DWORD value, const std::string& name) {
  return platform::Settings().WriteDword(platform::kRegistryKey, name, value) ? 1 : 0;
}

int ReadRegFloat(float& value, const std::string& name) {
  std::vector<BYTE> bytes;
  if (!platform::Settings().ReadBinary(platform::kRegistryKey, name, bytes)) return 0;
  if (bytes.size() > kFloatValueSize) return 0;
  char text[kFloatValueSize + 1] = {};
  if (!bytes.empty()) std::memcpy(text, bytes.data(), bytes.size());
  bool ok = false;
  double parsed = platform::ParseDoubleC(text, &ok);
  if (!ok) return 0;
  value = static_cast<float>(parsed);
  return 1;
}

int WriteRegFloat(float value, const std::string& name) {
  std::string text = platform::FormatC("%f", static_cast<double>(value));
  std::vector<BYTE> bytes(kFloatValueSize, 0);
  std::memcpy(bytes.data(), text.data(), std::min(text.size(), kFloatValueSize - 1));
  return platform::Settings().WriteBinary(platform::kRegistryKey, name, bytes) ? 1 : 0;
}

int ReadRegDword(const std::string& name, int& value) {
  DWORD v = 0;
  if (!ReadRegDword(v, name)) return 0;
  value = static_cast<int>(v);
  return 1;
}

int WriteRegDword(const std::string& name, int value) { return WriteRegDword(static_cast<DWORD>(value), name); }
int ReadRegFloat(const std::string& name, float& value) { return ReadRegFloat(value, name); }
int WriteRegFloat(const std::string& name, float value) { return WriteRegFloat(value, name); }

void WriteOutPort(BYTE value) { SetPortVal(OutPortAddress.load(), value, 1); }

void WriteCtrlPort(BYTE value) { SetPortVal(CtrlPortAddress.load(), value, 1); }

void ClearCtrlPortBit0() {
  int v = ControlShadow.fetch_and(~0x01) & ~0x01;
  WriteCtrlPort(static_cast<BYTE>(v & 0xFF));
}

void ApplyCtrlPortBit0() {
  int v = ControlBit0Switch.load() != 0 ? (ControlShadow.fetch_or(0x01) | 0x01) : (ControlShadow.fetch_and(~0x01) & ~0x01);
  WriteCtrlPort(static_cast<BYTE>(v & 0xFF));
}

BYTE ReadInPort() {
  DWORD value = 0;
  GetPortVal(InPortAddress.load(), &value, 1);
  return static_cast<BYTE>(value & 0xFF);
}

namespace {

void SetAxis(int dirBit, int pulseBit, int axis, int direction, int pulse) {
  bool dirOn = (direction != 0) != ((MarkStatusWord.load() & MSW_INVERT_DIR) != 0);
  int levels = PulseLevels.load();
  bool pulseOn = pulse != 0 ? (levels & PULSE_LEVEL_ACTIVE) != 0 : (levels & PULSE_LEVEL_REST) != 0;
  int bits = (dirOn ? dirBit : 0) | (pulseOn ? pulseBit : 0);
  int old = OutputShadow.load();
  while (!OutputShadow.compare_exchange_weak(old, (old & ~(dirBit | pulseBit)) | bits)) {
  }
  if (pulse == 1) AxisStepCounters[axis].fetch_add(direction == 0 ? 1 : -1);
}

}  // namespace

void SetAxisXDirection(int direction, int pulse) { SetAxis(OUT_X_DIR, OUT_X_PULSE, AXIS_X, direction, pulse); }
void SetAxisYDirection(int direction, int pulse) { SetAxis(OUT_Y_DIR, OUT_Y_PULSE, AXIS_Y, direction, pulse); }
void SetAxisZDirection(int direction, int pulse) { SetAxis(OUT_Z_DIR, OUT_Z_PULSE, AXIS_Z, direction, pulse); }
