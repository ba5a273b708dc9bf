#pragma once
// The machine and marking parameter record of one document: step lengths,
// marking range, speeds, start and reset paths, delays, repeat counts, the
// rotary-axis constants and eight option switches. Always the object of
// element 0; written into every project file as its own class block.
//
// Values that the marking divides by (step lengths, diameters, step angle) or
// turns into steps (ranges, paths) are guarded where they are set: a setter
// refuses a value that is not finite or would divide by zero, and keeps the old
// one; the take-over of the machine settings replaces such values by the
// defaults.
#include <cstdint>

#include "values/MachineSetRecord.h"
#include "document/geometry/CDoublePoint.h"
#include "document/objects/CObjBase.h"

class MrkLineWriter;
struct MrkValue;

// Option byte bits.
constexpr std::uint8_t OPT_START_BACK_ROAD = 0x01;
constexpr std::uint8_t OPT_PAUSE_AT_START = 0x02;
constexpr std::uint8_t OPT_ROTATE_MARK = 0x04;
constexpr std::uint8_t OPT_THREE_AXIS_ROTATE = 0x08;
constexpr std::uint8_t OPT_Y_REPLACES_Z = 0x10;
constexpr std::uint8_t OPT_BACK_Z_TO_ORIGIN = 0x20;
constexpr std::uint8_t OPT_NO_SEEK_ORIGIN_XY = 0x40;
constexpr std::uint8_t OPT_ROTATE_FOR_LINE = 0x80;

// Element 0 owns the record through the common object base.
class CDrawProperity : public CObjBase {
 public:
  // Defaults, then the take-over of the shell's machine settings when their
  // file was read at start-up.
  CDrawProperity();
  // The same against a given record; settingsLoaded says whether to take it over.
  CDrawProperity(MachineSetRecord& record, bool settingsLoaded);
  CDrawProperity(const CDrawProperity&) = default;
  CDrawProperity& operator=(const CDrawProperity&) = default;
  ~CDrawProperity() override;

  // Takes over the machine settings record; out-of-range values are corrected
  // in the record too.
  void LoadFromSettings();
  void LoadFromSettings(MachineSetRecord& record);

  // Writes the class block.
  void WriteToMrk(MrkLineWriter& out) const;
  // The reader's setter: keys 39, 40, 41, 45..58 (doubles) and 160..168 (ints).
  // Speeds and option bytes are written but never read back: they come from
  // the machine settings. Unknown keys and values of the wrong kind are ignored.
  void SetByKey(int key, const MrkValue& value);

  // Rotary-axis factor: steps of the rotary drive per millimetre of surface
  // (before division by the work-piece diameter).
  double GetRotaryFactor() const;

  // Option switches.
  int IsStartBackRoad() const { return HasOption(OPT_START_BACK_ROAD); }
  int IsPauseAtStart() const { return HasOption(OPT_PAUSE_AT_START); }
  int IsRotateMark() const { return HasOption(OPT_ROTATE_MARK); }
  int IsThreeAxisRotate() const { return HasOption(OPT_THREE_AXIS_ROTATE); }
  int IsYReplacesZ() const { return HasOption(OPT_Y_REPLACES_Z); }
  int IsXReplacesZ() const { return !HasOption(OPT_Y_REPLACES_Z); }
  int IsBackZToOrigin() const { return HasOption(OPT_BACK_Z_TO_ORIGIN); }
  int IsNoSeekOriginXY() const { return HasOption(OPT_NO_SEEK_ORIGIN_XY); }
  int IsRotateForLine() const { return HasOption(OPT_ROTATE_FOR_LINE); }
  void SetStartBackRoad(int on) { SetOption(OPT_START_BACK_ROAD, on); }
  void SetPauseAtStart(int on) { SetOption(OPT_PAUSE_AT_START, on); }
  void SetRotateMark(int on) { SetOption(OPT_ROTATE_MARK, on); }
  void SetThreeAxisRotate(int on) { SetOption(OPT_THREE_AXIS_ROTATE, on); }
  void SetYReplacesZ(int on) { SetOption(OPT_Y_REPLACES_Z, on); }
  void SetBackZToOrigin(int on) { SetOption(OPT_BACK_Z_TO_ORIGIN, on); }
  void SetNoSeekOriginXY(int on) { SetOption(OPT_NO_SEEK_ORIGIN_XY, on); }
  void SetRotateForLine(int on) { SetOption(OPT_ROTATE_FOR_LINE, on); }

  std::uint8_t GetOptionByte() const { return option_; }
  void SetOptionByte(std::uint8_t v) { option_ = v; }
  std::uint8_t GetSecondOptionByte() const { return option2_; }
  void SetSecondOptionByte(std::uint8_t v) { option2_ = v; }

  // Marking range in mm; kept within 10..3000.
  double GetRangeX() const { return rangeX_; }
  double GetRangeY() const { return rangeY_; }
  // A project keeps the range it was saved with; only the machine settings are clamped.
  bool SetRangeX(double v) { return SetPositive(rangeX_, v); }
  bool SetRangeY(double v) { return SetPositive(rangeY_, v); }

  // Speeds.
  double GetResetSpeed() const { return resetSpeed_; }
  double GetPenUpSpeed() const { return penUpSpeed_; }
  double GetPenUpSpeed2() const { return penUpSpeed2_; }
  double GetPenDownSpeed() const { return penDownSpeed_; }
  float GetAuxSpeed() const { return auxSpeed_; }
  bool SetResetSpeed(double v) { return SetFinite(resetSpeed_, v); }
  bool SetPenUpSpeed(double v) { return SetFinite(penUpSpeed_, v); }
  bool SetPenUpSpeed2(double v) { return SetFinite(penUpSpeed2_, v); }
  bool SetPenDownSpeed(double v) { return SetFinite(penDownSpeed_, v); }
  bool SetAuxSpeed(float v);
  // Raises pen-up speed 2 to the pen-up speed when smaller (after a file is read).
  void RaisePenUpSpeed2();

  int GetAcceleration() const { return acceleration_; }
  void SetAcceleration(int v) { acceleration_ = v; }
  int GetLaserValue() const { return laser_; }
  void SetLaserValue(int v) { laser_ = v; }

  // Micrometres per motor step; must be finite and above 0.
  double GetStepLengthX() const { return stepX_; }
  double GetStepLengthY() const { return stepY_; }
  bool SetStepLengthX(double v) { return SetPositive(stepX_, v); }
  bool SetStepLengthY(double v) { return SetPositive(stepY_, v); }

  // Rotary-axis constants.
  double GetTransmissionConstant() const { return transConst_; }
  double GetMotorDiameter() const { return motorDiameter_; }
  double GetTransmissionCorrection() const { return correction_; }
  double GetStepAngle() const { return stepAngle_; }
  double GetWorkDiameter() const { return workDiameter_; }
  bool SetTransmissionConstant(double v) { return SetPositive(transConst_, v); }
  bool SetMotorDiameter(double v) { return SetPositive(motorDiameter_, v); }
  bool SetTransmissionCorrection(double v) { return SetFinite(correction_, v); }
  bool SetStepAngle(double v) { return SetPositive(stepAngle_, v); }
  bool SetWorkDiameter(double v) { return SetPositive(workDiameter_, v); }
  int GetMicrostepExponent() const { return microstep_; }
  void SetMicrostepExponent(int v) { microstep_ = v; }

  // Rotary seek x (mother line position); defaults to half the Y range.
  double GetMachineDouble1() const { return machineDouble1_; }
  bool SetMachineDouble1(double v) { return SetFinite(machineDouble1_, v); }

  // Start and reset paths, two points each (index 0 or 1).
  const CDoublePoint& GetStartPath(int i) const { return startPath_[i & 1]; }
  const CDoublePoint& GetResetPath(int i) const { return resetPath_[i & 1]; }
  bool SetStartPath(int i, double x, double y) { return SetPoint(startPath_[i & 1], x, y); }
  bool SetResetPath(int i, double x, double y) { return SetPoint(resetPath_[i & 1], x, y); }

  // Delays and counts.
  int GetClassPause() const { return classPause_; }
  void SetClassPause(int v) { classPause_ = v; }
  int GetAuxSpeedSwitch() const { return auxSpeedSwitch_; }
  void SetAuxSpeedSwitch(int v) { auxSpeedSwitch_ = v; }
  int GetStartDelay() const { return startDelay_; }
  void SetStartDelay(int v) { startDelay_ = v; }
  int GetNormalDelay() const { return normalDelay_; }
  void SetNormalDelay(int v) { normalDelay_ = v; }
  int GetStrokeEndDelay() const { return strokeEndDelay_; }
  void SetStrokeEndDelay(int v) { strokeEndDelay_ = v; }
  int GetContinuousCount() const { return continuousCount_; }
  void SetContinuousCount(int v) { continuousCount_ = v; }
  int GetRestTime() const { return restTime_; }
  void SetRestTime(int v) { restTime_ = v; }
  int GetResetAfterN() const { return resetAfterN_; }
  void SetResetAfterN(int v) { resetAfterN_ = v; }
  int GetDotTime() const { return dotTime_; }
  void SetDotTime(int v) { dotTime_ = v; }
  int GetNeedleDelayBefore() const { return needleDelayBefore_; }
  void SetNeedleDelayBefore(int v) { needleDelayBefore_ = v; }
  int GetNeedleDelayAfter() const { return needleDelayAfter_; }
  void SetNeedleDelayAfter(int v) { needleDelayAfter_ = v; }
  int GetObjectEndDelay() const { return objectEndDelay_; }
  void SetObjectEndDelay(int v) { objectEndDelay_ = v; }
  int GetRepeatLimit() const { return repeatLimit_; }
  void SetRepeatLimit(int v) { repeatLimit_ = v; }
  int GetMachineType() const { return machineType_; }
  void SetMachineType(int v) { machineType_ = v; }

 private:
  int HasOption(std::uint8_t bit) const { return (option_ & bit) ? 1 : 0; }
  void SetOption(std::uint8_t bit, int on) {
    option_ = static_cast<std::uint8_t>(on ? (option_ | bit) : (option_ & ~bit));
  }
  static bool SetFinite(double& field, double v);
  static bool SetPositive(double& field, double v);
  static bool SetPoint(CDoublePoint& p, double x, double y);

  std::uint8_t option_ = 0x18;
  std::uint8_t option2_ = 0;
  double rangeX_ = 120;
  double rangeY_ = 100;
  double resetSpeed_ = 45;
  double penUpSpeed_ = 32;
  double penUpSpeed2_ = 100;
  double penDownSpeed_ = 25;
  int acceleration_ = 500;
  int laser_ = 0;
  float auxSpeed_ = 20;
  double stepX_ = 4;
  double stepY_ = 4;
  double transConst_ = 48;
  double motorDiameter_ = 16;
  double correction_ = 0;
  double stepAngle_ = static_cast<double>(1.8f);  // held as a float: 1.7999999523162842
  double workDiameter_ = 20;
  double machineDouble1_ = 50;  // half the default Y range
  CDoublePoint startPath_[2] = {CDoublePoint(-60, 50), CDoublePoint(-60, 50)};
  CDoublePoint resetPath_[2] = {CDoublePoint(-60, 50), CDoublePoint(-60, 50)};
  int classPause_ = 0;
  int auxSpeedSwitch_ = 0;
  int microstep_ = 6;
  int startDelay_ = 0;
  int normalDelay_ = 0;
  int strokeEndDelay_ = 0;
  int continuousCount_ = 1;
  int restTime_ = 0;
  int resetAfterN_ = 1;
  int dotTime_ = 0;
  int needleDelayBefore_ = 0;
  int needleDelayAfter_ = 0;
  int objectEndDelay_ = 0;
  int repeatLimit_ = 0;
  int machineType_ = 0;
};
