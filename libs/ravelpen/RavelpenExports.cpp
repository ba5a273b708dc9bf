// The library's exported functions, each a thin call into the parts.
#include "libs/ravelpen/Ravelpen.h"

#include <vector>

#include "libs/ravelpen/CAutoCadDxfFileFormat.h"
#include "libs/ravelpen/CDibImage.h"
#include "libs/ravelpen/MoveList.h"
#include "libs/ravelpen/Playback.h"
#include "libs/ravelpen/PlotterHead.h"
#include "libs/ravelpen/PlotterSettings.h"
#include "libs/ravelpen/ShapeBuilders.h"

using namespace ravelpen;

namespace {

bool Running() { return Player().State() != 0; }

// Three status reads, each followed by a 2-tick wait; false when a read failed.
bool ReadThree(std::uint8_t (&r)[3]) {
  PlotterHead& head = Head();
  head.ClearReadFailed();
  for (std::uint8_t& value : r) {
    value = head.ReadStatus();
    head.WaitTicks(2);
  }
  return !head.ReadFailed();
}

}  // namespace

extern "C" {

int OnOpenPort(void) {
  OnUpdateMachinePara();
  PlotterSettings& s = Settings();
  s.config = static_cast<std::uint8_t>((s.config | kConfigXZeroLevel | kConfigXDirection | kConfigYDirection) &
                                       ~kConfigYZeroLevel);
  return Head().Open() ? 1 : 0;
}

void OnShutDownPort(void) {
  if (Running()) {
    PrinterEnd();
    Player().Join();
  }
  Head().Close();
}

void OnUpdateMachinePara(void) { ReadRegistryValues(); }

void InitialPrinter(int emptySpeed, int lineSpeed, int backSpeed) {
  PlotterSettings& s = Settings();
  if (!Running()) {
    Head().SetBits(kPenDown, false);
    Head().WriteShadow();
  }
  Head().MeasureTick();
  s.emptySpeed = emptySpeed >= 100 && emptySpeed <= 20000 ? emptySpeed : 3000;
  s.lineSpeed = lineSpeed >= 100 && lineSpeed <= 20000 ? lineSpeed : 2000;
  s.backSpeed = backSpeed >= 100 && backSpeed <= 20000 ? backSpeed : 8000;
}

void InitialRange(double width, double height) {
  PlotterSettings& s = Settings();
  s.rangeX = width >= 10 && width <= 800 ? width : 120;
  s.rangeY = height >= 10 && height <= 800 ? height : 100;
}

void OnSetStepLength(double micrometres) {
  double& step = Settings().stepLength;
  step = micrometres;
  if (step > 16) step = 8.929;
  if (!(step >= 1)) step = 3.98;  // also a length that is no number
}

void OnSetMachineOrigin(int corner) { Settings().originCorner = corner >= 0 && corner <= 4 ? corner : 0; }

void SetTextPara(double height, double angle, double widthFactor) {
  PlotterSettings& s = Settings();
  s.textHeight = height;
  s.textAngle = angle;
  s.textWidthFactor = widthFactor;
}

int MoveToXY(double x, double y) { return Moves().Append(x, y, false); }
int LineToXY(double x, double y) { return Moves().Append(x, y, true); }

int PrintArc(double cx, double cy, double radius, double startAngle, double endAngle) {
  return AppendArc(cx, cy, radius, startAngle, endAngle);
}
int PrinterLine(double x, double y, double length, double angle) { return AppendLine(x, y, length, angle); }
int PrinterTriangle(double x, double y, double radius, double angle) { return AppendTriangle(x, y, radius, angle); }
int PrinterWeldHole(double x, double y, double radius, double angle) { return AppendWeldHole(x, y, radius, angle); }
int PrinterGlideHole(double x, double y, double length, double radius, double angle) {
  return AppendGlideHole(x, y, length, radius, angle);
}

int PrinterText(double x, double y, const char* text, int unused) {
  const PlotterSettings& s = Settings();
  std::vector<TextPoint> points;
  if (!BuildTextMoves(points, x, y, s.textHeight, s.textAngle, s.textWidthFactor, text, unused)) return 0;
  for (const TextPoint& p : points)
    if (!Moves().Append(p.x, p.y, (p.flags & kTextPenDown) != 0)) return 0;
  return 1;
}

int PrintBmp(const char* path) {
  if (Running()) return 4;
  PlotterSettings& s = Settings();
  RegistryValues& r = s.registry;
  auto within = [](double v, double low, double high) { return v >= low && v <= high; };
  if (!within(r.fixedWidth, 0, 1000) || !within(r.fixedHeight, 0, 1000) || !within(r.markPosX, 0, 1000) ||
      !within(r.markPosY, 0, 1000) || !within(r.machineRx, 20, 1000) || !within(r.machineRy, 10, 1000))
    return 2;
  if (r.imageSizeMode < 0 || r.imageSizeMode > 2) r.imageSizeMode = 0;
  CDibImage image;
  if (path == nullptr || !image.LoadFile(path)) return 1;
  TracePolylineArray polylines;
  const int traced = image.TraceToPolylines(polylines);
  for (const TracePolyline& polyline : polylines) {
    for (std::size_t i = 0; i < polyline.size(); ++i)
      Moves().Append(r.markPosX + polyline[i].x + r.machineRx / 2, r.markPosY + polyline[i].y + r.machineRy / 2,
                     i != 0);
  }
  PrinterStart();
  return traced;
}

int PrinterStart(void) { return Player().Start(); }
void PrinterEnd(void) { Player().RequestStop(); }
int GetPrinterState(void) { return Player().State(); }

void SetPointer(int on) {
  if (Running()) return;  // the playback thread owns the port while a job runs
  Head().SetBits(kPenDown, on != 0);
  Head().WriteShadow();
}

void MoveX(double, int away) {
  if (!Running()) Head().Jog(Axis::X, away != 0);
}

void MoveY(double, int away) {
  if (!Running()) Head().Jog(Axis::Y, away != 0);
}

void RotateArixZ(long steps, long speed) {
  if (!Running()) Head().RotateZ(steps, speed);
}

int IsArixZeroX(void) {
  std::uint8_t r[3];
  const PlotterHead& head = Head();
  return ReadThree(r) && head.XAtZero(r[0], r[1], r[2]) ? 1 : 0;
}

int IsArixZeroY(void) {
  std::uint8_t r[3];
  const PlotterHead& head = Head();
  return ReadThree(r) && head.YAtZero(r[0], r[1], r[2]) ? 1 : 0;
}

int IsOriginXY(void) {
  std::uint8_t r[3];
  const PlotterHead& head = Head();
  return ReadThree(r) && head.XAtZero(r[0], r[1], r[2]) && head.YAtZero(r[0], r[1], r[2]) ? 1 : 0;
}

bool ReadKeyValue(void) {
  PlotterHead& head = Head();
  head.ClearReadFailed();
  const std::uint8_t first = head.ReadStatus();
  const std::uint8_t second = head.ReadStatus();
  return !head.ReadFailed() && (first & kKeyInput) && (second & kKeyInput);
}

}  // extern "C"
