#include "document/params/CDrawProperity.h"

#include <cmath>

#include "values/ShellValues.h"
#include "document/mrk/MrkKeys.h"
#include "document/mrk/MrkLineWriter.h"

namespace {

// Key lines of the class block (code page 936 bytes).
constexpr char kKeyOption[] = "190;\xb1\xea\xbc\xc7\xca\xf4\xd0\xd4";  // 190;标记属性
constexpr char kKeyOption2[] = "191;New";  // 191;New
constexpr char kKeyRangeX[] = "40;X\xb7\xbd\xcf\xf2\xb5\xc4\xb1\xea\xbc\xc7\xb7\xb6\xce\xa7";  // 40;X方向的标记范围
constexpr char kKeyRangeY[] = "41;Y\xb7\xbd\xcf\xf2\xb5\xc4\xb1\xea\xbc\xc7\xb7\xb6\xce\xa7";  // 41;Y方向的标记范围
constexpr char kKeyResetSpeed[] = "42;\xb8\xb4\xce\xbb\xcb\xd9\xb6\xc8";  // 42;复位速度
constexpr char kKeyPenUpSpeed[] = "43;\xcc\xa7\xb1\xca\xcb\xd9\xb6\xc8";  // 43;抬笔速度
constexpr char kKeyPenUpSpeed2[] = "38;\xcc\xa7" "2";  // 38;抬2
constexpr char kKeyPenDownSpeed[] = "44;\xc2\xe4\xb1\xca\xcb\xd9\xb6\xc8";  // 44;落笔速度
constexpr char kKeyAccel[] = "167;Accel";  // 167;Accel
constexpr char kKeyLaser[] = "168;Laser";  // 168;Laser
constexpr char kKeyStepX[] = "45;\xb2\xbd\xb3\xa4X";  // 45;步长X
constexpr char kKeyStepY[] = "39;\xb2\xbd\xb3\xa4Y";  // 39;步长Y
constexpr char kKeyTransConst[] = "46;\xd7\xaa\xb6\xaf\xb1\xea\xbc\xc7\xb5\xc4\xb4\xab\xb6\xaf\xb3\xa3\xc1\xbf";  // 46;转动标记的传动常量
constexpr char kKeyMotorDiameter[] = "47;\xd7\xaa\xb6\xaf\xb5\xe7\xbb\xfa\xd6\xb1\xbe\xb6";  // 47;转动电机直径
constexpr char kKeyCorrection[] = "48;\xb4\xab\xb6\xaf\xb3\xa3\xc1\xbf\xd0\xa3\xd5\xfd\xce\xf3\xb2\xee\xb2\xb9\xb3\xa5";  // 48;传动常量校正误差补偿
constexpr char kKeyStepAngle[] = "49;\xb5\xe7\xbb\xfa\xb2\xbd\xbe\xe0\xbd\xc7\xb6\xc8";  // 49;电机步距角度
constexpr char kKeyWorkDiameter[] = "50;\xb1\xea\xbc\xc7\xb6\xd4\xcf\xf3\xb9\xa4\xbc\xfe\xd6\xb1\xbe\xb6";  // 50;标记对象工件直径
constexpr char kKeyStart0X[] = "51;\xbf\xaa\xca\xbc\xc2\xb7\xbe\xb6[0].x";  // 51;开始路径[0].x
constexpr char kKeyStart0Y[] = "52;\xbf\xaa\xca\xbc\xc2\xb7\xbe\xb6[0].y";  // 52;开始路径[0].y
constexpr char kKeyStart1X[] = "53;\xbf\xaa\xca\xbc\xc2\xb7\xbe\xb6[1].x";  // 53;开始路径[1].x
constexpr char kKeyStart1Y[] = "54;\xbf\xaa\xca\xbc\xc2\xb7\xbe\xb6[1].y";  // 54;开始路径[1].y
constexpr char kKeyReset0X[] = "55;\xb8\xb4\xce\xbb\xc2\xb7\xbe\xb6[0].x";  // 55;复位路径[0].x
constexpr char kKeyReset0Y[] = "56;\xb8\xb4\xce\xbb\xc2\xb7\xbe\xb6[0].y";  // 56;复位路径[0].y
constexpr char kKeyReset1X[] = "57;\xb8\xb4\xce\xbb\xc2\xb7\xbe\xb6[1].x";  // 57;复位路径[1].x
constexpr char kKeyReset1Y[] = "58;\xb8\xb4\xce\xbb\xc2\xb7\xbe\xb6[1].y";  // 58;复位路径[1].y
constexpr char kKeyMicrostep[] = "160;\xc7\xfd\xb6\xaf\xc6\xf7\xcf\xb8\xb7\xd6\xb1\xb6\xca\xfd";  // 160;驱动器细分倍数
constexpr char kKeyStartDelay[] = "161;\xbf\xaa\xca\xbc\xd1\xd3\xca\xb1";  // 161;开始延时
constexpr char kKeyNormalDelay[] = "162;\xd5\xfd\xb3\xa3\xd1\xd3\xca\xb1";  // 162;正常延时
constexpr char kKeyContinuous[] = "163;\xc1\xac\xd0\xf8\xb4\xf2\xb1\xea\xb4\xce\xca\xfd";  // 163;连续打标次数
constexpr char kKeyRestTime[] = "164;\xbe\xb2\xd6\xb9\xca\xb1\xbc\xe4";  // 164;静止时间
constexpr char kKeyResetAfterN[] = "165;\xb1\xea\xbc\xc7n\xb4\xce\xba\xf3\xb8\xb4\xce\xbb";  // 165;标记n次后复位
constexpr char kKeyDotTime[] = "166;\xb4\xf2\xb5\xe3\xca\xb1\xbc\xe4";  // 166;打点时间

constexpr char kClassName[] = "CDrawProperity";
constexpr double kRangeMin = 10.0;
constexpr double kRangeMax = 3000.0;

bool IsPositiveFinite(double v) { return std::isfinite(v) && v > 0.0; }

// Replaces a settings value that is not finite by the fallback, in the record too.
template <typename T>
double FiniteOr(T& recordValue, double fallback) {
  if (!std::isfinite(static_cast<double>(recordValue))) recordValue = static_cast<T>(fallback);
  return static_cast<double>(recordValue);
}

// The same for values that are divided by: they must also be above 0.
template <typename T>
double PositiveOr(T& recordValue, double fallback) {
  if (!IsPositiveFinite(static_cast<double>(recordValue))) recordValue = static_cast<T>(fallback);
  return static_cast<double>(recordValue);
}

// Inclusive range test that also fails for NaN.
template <typename T>
bool Within(T v, double lo, double hi) {
  return static_cast<double>(v) >= lo && static_cast<double>(v) <= hi;
}

}  // namespace

CDrawProperity::CDrawProperity() : CDrawProperity(MachineSettings, MachineSettingsLoaded != 0) {}

CDrawProperity::CDrawProperity(MachineSetRecord& record, bool settingsLoaded) {
  // The pulse output of the small board takes these two as they stand.
  if (record.pulseFrequency < 1) record.pulseFrequency = 1;
  if (record.pulseFrequency > 500) record.pulseFrequency = 500;
  if (!(record.pulseDuty >= 0.0)) record.pulseDuty = 0.0;
  if (record.pulseDuty > 100.0) record.pulseDuty = 100.0;
  if (settingsLoaded) LoadFromSettings(record);
  continuousCount_ = 1;
  resetAfterN_ = 1;
  restTime_ = 0;
}

CDrawProperity::~CDrawProperity() = default;

void CDrawProperity::LoadFromSettings() { LoadFromSettings(MachineSettings); }

void CDrawProperity::LoadFromSettings(MachineSetRecord& r) {
  for (float* range : {&r.rangeX, &r.rangeY}) {
    if (!(*range >= kRangeMin)) *range = static_cast<float>(kRangeMin);
    if (*range > kRangeMax) *range = static_cast<float>(kRangeMax);
  }
  rangeX_ = r.rangeX;
  rangeY_ = r.rangeY;
  if (!(std::isfinite(r.auxiliarySpeed) && r.auxiliarySpeed >= 1.0f)) r.auxiliarySpeed = 1.0f;
  auxSpeed_ = r.auxiliarySpeed;
  auxSpeedSwitch_ = r.auxiliarySpeedSwitch;
  machineType_ = r.machineType;
  penUpSpeed_ = FiniteOr(r.penUpSpeed, penUpSpeed_);
  penUpSpeed2_ = FiniteOr(r.maxSpeed, penUpSpeed2_);
  penDownSpeed_ = FiniteOr(r.penDownSpeed, penDownSpeed_);
  resetSpeed_ = FiniteOr(r.resetSpeed, resetSpeed_);
  startDelay_ = r.startDelay;
  dotTime_ = r.dotTime;
  normalDelay_ = r.normalDelay;
  acceleration_ = r.acceleration;
  laser_ = r.laserValue;
  option_ = r.optionByte;
  option2_ = r.secondOptionByte;
  workDiameter_ = PositiveOr(r.workpieceDiameter, 20.0);
  classPause_ = r.classPause;
  repeatLimit_ = r.repeatLimit;
  stepX_ = PositiveOr(r.stepX, 4.0);
  stepY_ = PositiveOr(r.stepY, 4.0);
  strokeEndDelay_ = r.strokeEndDelay;
  if (!Within(r.motorDiameter, 1, 800)) r.motorDiameter = 16.0f;
  motorDiameter_ = r.motorDiameter;
  machineDouble1_ = FiniteOr(r.machineDouble1, rangeY_ / 2);
  if (!Within(r.transmissionCorrection, -100, 100)) r.transmissionCorrection = 0.0;
  correction_ = r.transmissionCorrection;
  stepAngle_ = static_cast<double>(1.8f);
  if (static_cast<std::uint32_t>(r.microstepExponent) > 8u) r.microstepExponent = 6;
  microstep_ = r.microstepExponent;
  if (!Within(r.transmissionConstant, 1, 800)) r.transmissionConstant = 48.0f;
  transConst_ = r.transmissionConstant;
  for (int i = 0; i < 2; ++i) {
    startPath_[i].x = FiniteOr(r.startPath[2 * i], startPath_[i].x);
    startPath_[i].y = FiniteOr(r.startPath[2 * i + 1], startPath_[i].y);
    resetPath_[i].x = FiniteOr(r.resetPath[2 * i], resetPath_[i].x);
    resetPath_[i].y = FiniteOr(r.resetPath[2 * i + 1], resetPath_[i].y);
  }
  if (!Within(r.needleDelayBefore, 0, 10000)) r.needleDelayBefore = 0;
  needleDelayBefore_ = r.needleDelayBefore;
  if (!Within(r.needleDelayAfter, 0, 10000)) r.needleDelayAfter = 0;
  needleDelayAfter_ = r.needleDelayAfter;
  if (!Within(r.objectEndDelay, 0, 60000)) r.objectEndDelay = 0;
  objectEndDelay_ = r.objectEndDelay;
}

void CDrawProperity::WriteToMrk(MrkLineWriter& out) const {
  out.WriteClassBegin(kClassName);
  out.WriteInt(kKeyOption, option_);
  out.WriteInt(kKeyOption2, option2_);
  out.WriteDouble(kKeyStepY, stepY_);
  out.WriteDouble(kKeyRangeX, rangeX_);
  out.WriteDouble(kKeyRangeY, rangeY_);
  out.WriteDouble(kKeyResetSpeed, resetSpeed_);
  out.WriteDouble(kKeyPenUpSpeed, penUpSpeed_);
  out.WriteDouble(kKeyPenUpSpeed2, penUpSpeed2_);
  out.WriteDouble(kKeyPenDownSpeed, penDownSpeed_);
  out.WriteDouble(kKeyStepX, stepX_);
  out.WriteDouble(kKeyTransConst, transConst_, 6);
  out.WriteDouble(kKeyMotorDiameter, motorDiameter_);
  out.WriteDouble(kKeyCorrection, correction_, 6);
  out.WriteDouble(kKeyStepAngle, stepAngle_);
  out.WriteDouble(kKeyWorkDiameter, workDiameter_);
  out.WriteDouble(kKeyStart0X, startPath_[0].x);
  out.WriteDouble(kKeyStart0Y, startPath_[0].y);
  out.WriteDouble(kKeyStart1X, startPath_[1].x);
  out.WriteDouble(kKeyStart1Y, startPath_[1].y);
  out.WriteDouble(kKeyReset0X, resetPath_[0].x);
  out.WriteDouble(kKeyReset0Y, resetPath_[0].y);
  out.WriteDouble(kKeyReset1X, resetPath_[1].x);
  out.WriteDouble(kKeyReset1Y, resetPath_[1].y);
  out.WriteInt(kKeyMicrostep, microstep_);
  out.WriteInt(kKeyStartDelay, startDelay_);
  out.WriteInt(kKeyNormalDelay, normalDelay_);
  out.WriteInt(kKeyContinuous, continuousCount_);
  out.WriteInt(kKeyRestTime, restTime_);
  out.WriteInt(kKeyResetAfterN, resetAfterN_);
  out.WriteInt(kKeyDotTime, dotTime_);
  out.WriteInt(kKeyAccel, acceleration_);
  out.WriteInt(kKeyLaser, laser_);
  out.WriteClassEnd();
}

void CDrawProperity::SetByKey(int key, const MrkValue& value) {
  if (value.kind == MrkKeyKind::Double) {
    const double d = value.d;
    switch (key) {
      case 39: SetStepLengthY(d); break;
      case 40: SetRangeX(d); break;
      case 41: SetRangeY(d); break;
      case 45: SetStepLengthX(d); break;
      case 46: SetTransmissionConstant(d); break;
      case 47: SetMotorDiameter(d); break;
      case 48: SetTransmissionCorrection(d); break;
      case 49: SetStepAngle(d); break;
      case 50: SetWorkDiameter(d); break;
      case 51: SetFinite(startPath_[0].x, d); break;
      case 52: SetFinite(startPath_[0].y, d); break;
      case 53: SetFinite(startPath_[1].x, d); break;
      case 54: SetFinite(startPath_[1].y, d); break;
      case 55: SetFinite(resetPath_[0].x, d); break;
      case 56: SetFinite(resetPath_[0].y, d); break;
      case 57: SetFinite(resetPath_[1].x, d); break;
      case 58: SetFinite(resetPath_[1].y, d); break;
      default: break;  // 38, 42, 43, 44: speeds come from the machine settings
    }
  } else if (value.kind == MrkKeyKind::Int) {
    const int i = value.i;
    switch (key) {
      case 160: microstep_ = i; break;
      case 161: startDelay_ = i; break;
      case 162: normalDelay_ = i; break;
      case 163: continuousCount_ = i; break;
      case 164: restTime_ = i; break;
      case 165: resetAfterN_ = i; break;
      case 166: dotTime_ = i; break;
      case 167: acceleration_ = i; break;
      case 168: laser_ = i; break;
      default: break;
    }
  }
}

double CDrawProperity::GetRotaryFactor() const {
  const double m = (microstep_ < 0 || microstep_ > 10) ? 64.0 : static_cast<double>(1 << microstep_);
  // 3141.5926 as the machine has always computed it, not 1000 pi.
  return m * transConst_ * 360.0 / (stepAngle_ * motorDiameter_ * 3141.5926) + correction_;
}

bool CDrawProperity::SetAuxSpeed(float v) {
  if (!std::isfinite(v)) return false;
  auxSpeed_ = v;
  return true;
}

void CDrawProperity::RaisePenUpSpeed2() {
  if (penUpSpeed2_ < penUpSpeed_) penUpSpeed2_ = penUpSpeed_;
}

bool CDrawProperity::SetFinite(double& field, double v) {
  if (!std::isfinite(v)) return false;
  field = v;
  return true;
}

bool CDrawProperity::SetPositive(double& field, double v) {
  if (!IsPositiveFinite(v)) return false;
  field = v;
  return true;
}

bool CDrawProperity::SetPoint(CDoublePoint& p, double x, double y) {
  if (!std::isfinite(x) || !std::isfinite(y)) return false;
  p.x = x;
  p.y = y;
  return true;
}
