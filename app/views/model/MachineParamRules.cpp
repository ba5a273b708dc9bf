#include "app/views/model/MachineParamRules.h"

#include <cstring>

#include "document/params/CDrawProperity.h"

namespace {

using P = CDrawProperity;
using V = const PropValue&;
constexpr auto I = SettingWidth::Int32;
constexpr auto F = SettingWidth::Float;
constexpr auto D = SettingWidth::Double;
constexpr auto B = SettingWidth::Byte;
constexpr auto N = SettingWidth::None;

#define AT(field) static_cast<int>(offsetof(MachineSetRecord, field))

double OptionByte(const P& p) { return p.GetOptionByte(); }

// A path coordinate: point `i` of the start (or reset) path, x or y.
template <bool start, int i, bool isX>
void SetPath(P& p, V v) {
  const CDoublePoint old = start ? p.GetStartPath(i) : p.GetResetPath(i);
  const double x = isX ? PropToDouble(v) : old.x;
  const double y = isX ? old.y : PropToDouble(v);
  if (start) {
    p.SetStartPath(i, x, y);
  } else {
    p.SetResetPath(i, x, y);
  }
}
template <bool start, int i, bool isX>
double GetPath(const P& p) {
  const CDoublePoint pt = start ? p.GetStartPath(i) : p.GetResetPath(i);
  return isX ? pt.x : pt.y;
}

}  // namespace

const std::vector<MachineParamRule>& DrawSizeRules() {
  static const std::vector<MachineParamRule> rules = {
      {1010, [](P& p, V v) { p.SetRangeX(PropToDouble(v)); }, AT(rangeX), F, [](const P& p) { return p.GetRangeX(); }, true},
      {1011, [](P& p, V v) { p.SetRangeY(PropToDouble(v)); }, AT(rangeY), F, [](const P& p) { return p.GetRangeY(); }, true},
  };
  return rules;
}

const std::vector<MachineParamRule>& PrintParameterRules() {
  static const std::vector<MachineParamRule> rules = {
      {1003, [](P& p, V v) { p.SetAcceleration(PropToInt(v)); }, AT(acceleration), I,
       [](const P& p) { return double(p.GetAcceleration()); }},
      {1004, [](P& p, V v) { p.SetLaserValue(PropToInt(v)); }, AT(laserValue), I,
       [](const P& p) { return double(p.GetLaserValue()); }},
      {1014, [](P& p, V v) { p.SetResetSpeed(PropToDouble(v)); }, AT(resetSpeed), F,
       [](const P& p) { return p.GetResetSpeed(); }},
      {1015, [](P& p, V v) { p.SetPenUpSpeed(PropToDouble(v)); }, AT(penUpSpeed), F,
       [](const P& p) { return p.GetPenUpSpeed(); }},
      {1016, [](P& p, V v) { p.SetPenDownSpeed(PropToDouble(v)); }, AT(penDownSpeed), F,
       [](const P& p) { return p.GetPenDownSpeed(); }},
      {1017, [](P& p, V v) { p.SetStartDelay(PropToInt(v)); }, AT(startDelay), I,
       [](const P& p) { return double(p.GetStartDelay()); }},
      {1018, [](P& p, V v) { p.SetNormalDelay(PropToInt(v)); }, AT(normalDelay), I,
       [](const P& p) { return double(p.GetNormalDelay()); }},
      {1028, [](P& p, V v) { p.SetStrokeEndDelay(PropToInt(v)); }, AT(strokeEndDelay), I,
       [](const P& p) { return double(p.GetStrokeEndDelay()); }},
      {1019, [](P& p, V v) { p.SetStepLengthX(PropToDouble(v)); }, AT(stepX), F,
       [](const P& p) { return p.GetStepLengthX(); }},
      {1033, [](P& p, V v) { p.SetStepLengthY(PropToDouble(v)); }, AT(stepY), D,
       [](const P& p) { return p.GetStepLengthY(); }},
      {1022, [](P& p, V v) { p.SetTransmissionCorrection(PropToDouble(v)); }, AT(transmissionCorrection), D,
       [](const P& p) { return p.GetTransmissionCorrection(); }},
      {1023, [](P& p, V v) { p.SetTransmissionConstant(PropToDouble(v)); }, AT(transmissionConstant), F,
       [](const P& p) { return p.GetTransmissionConstant(); }},
      {1024, [](P& p, V v) { p.SetMotorDiameter(PropToDouble(v)); }, AT(motorDiameter), F,
       [](const P& p) { return p.GetMotorDiameter(); }},
      {1025, [](P& p, V v) { p.SetMicrostepExponent(PropToInt(v)); }, AT(microstepExponent), I,
       [](const P& p) { return double(p.GetMicrostepExponent()); }},
      {1027, [](P& p, V v) { p.SetStepAngle(PropToDouble(v)); }, AT(stepAngle), F,
       [](const P& p) { return p.GetStepAngle(); }},
      {1035, [](P& p, V v) { p.SetDotTime(PropToInt(v)); }, AT(dotTime), I,
       [](const P& p) { return double(p.GetDotTime()); }},
      {1038, [](P& p, V v) { p.SetPenUpSpeed2(PropToDouble(v)); }, AT(maxSpeed), D,
       [](const P& p) { return p.GetPenUpSpeed2(); }},
      {1041, [](P& p, V v) { p.SetNeedleDelayBefore(PropToInt(v)); }, AT(needleDelayBefore), I,
       [](const P& p) { return double(p.GetNeedleDelayBefore()); }},
      {1042, [](P& p, V v) { p.SetNeedleDelayAfter(PropToInt(v)); }, AT(needleDelayAfter), I,
       [](const P& p) { return double(p.GetNeedleDelayAfter()); }},
      {1043, [](P& p, V v) { p.SetObjectEndDelay(PropToInt(v)); }, AT(objectEndDelay), I,
       [](const P& p) { return double(p.GetObjectEndDelay()); }},
      {1114, [](P& p, V v) { p.SetMachineType(PropToInt(v)); }, AT(machineType), I,
       [](const P& p) { return double(p.GetMachineType()); }},
  };
  return rules;
}

const std::vector<MachineParamRule>& PrintSetupRules() {
  static const std::vector<MachineParamRule> rules = {
      {1014, [](P& p, V v) { p.SetContinuousCount(PropToInt(v)); }, kNoSetting, N, nullptr},
      {1015, [](P& p, V v) { p.SetRestTime(PropToInt(v)); }, kNoSetting, N, nullptr},
      {1016, [](P& p, V v) { p.SetResetAfterN(PropToInt(v)); }, kNoSetting, N, nullptr},
      {1017, SetPath<true, 0, true>, AT(startPath[0]), F, GetPath<true, 0, true>, true},
      {1018, SetPath<true, 0, false>, AT(startPath[1]), F, GetPath<true, 0, false>, true},
      {1019, SetPath<true, 1, true>, AT(startPath[2]), F, GetPath<true, 1, true>, true},
      {1020, SetPath<true, 1, false>, AT(startPath[3]), F, GetPath<true, 1, false>, true},
      {1021, SetPath<false, 0, true>, AT(resetPath[0]), F, GetPath<false, 0, true>, true},
      {1022, SetPath<false, 0, false>, AT(resetPath[1]), F, GetPath<false, 0, false>, true},
      {1023, SetPath<false, 1, true>, AT(resetPath[2]), F, GetPath<false, 1, true>, true},
      {1024, SetPath<false, 1, false>, AT(resetPath[3]), F, GetPath<false, 1, false>, true},
      {1025, [](P& p, V v) { p.SetRepeatLimit(PropToInt(v)); }, AT(repeatLimit), I,
       [](const P& p) { return double(p.GetRepeatLimit()); }},
      {1038, [](P& p, V v) { p.SetPauseAtStart(PropToInt(v) == 1); }, AT(optionByte), B, OptionByte},
      {1039, [](P& p, V v) { p.SetPauseAtStart(PropToInt(v) == 1); }, AT(optionByte), B, OptionByte},
      {1040, [](P& p, V v) { p.SetStartBackRoad(PropToInt(v)); }, AT(optionByte), B, OptionByte, true},
      {1163, [](P& p, V v) { p.SetClassPause(PropToInt(v)); }, AT(classPause), I,
       [](const P& p) { return double(p.GetClassPause()); }},
  };
  return rules;
}

const std::vector<MachineParamRule>& RoateSetRules() {
  static const std::vector<MachineParamRule> rules = {
      {1014, [](P& p, V v) { p.SetWorkDiameter(PropToDouble(v)); }, AT(workpieceDiameter), F,
       [](const P& p) { return p.GetWorkDiameter(); }},
      {1015, [](P& p, V v) { p.SetMachineDouble1(PropToDouble(v)); }, AT(machineDouble1), F,
       [](const P& p) { return p.GetMachineDouble1(); }, true},
      {1016, [](P& p, V v) { p.SetAuxSpeed(PropToFloat(v)); }, AT(auxiliarySpeed), F,
       [](const P& p) { return double(p.GetAuxSpeed()); }},
      {1042, [](P& p, V v) { p.SetRotateMark(PropToInt(v)); }, AT(optionByte), B, OptionByte, true},
      {1043, [](P& p, V v) { p.SetThreeAxisRotate(PropToInt(v) == 0); }, AT(optionByte), B, OptionByte},
      {1044, [](P& p, V v) { p.SetThreeAxisRotate(PropToInt(v) == 0); }, AT(optionByte), B, OptionByte},
      {1045, [](P& p, V v) { p.SetYReplacesZ(PropToInt(v) == 0); }, AT(optionByte), B, OptionByte, true},
      {1046, [](P& p, V v) { p.SetYReplacesZ(PropToInt(v) == 0); }, AT(optionByte), B, OptionByte, true},
      {1160, [](P& p, V v) { p.SetBackZToOrigin(PropToInt(v)); }, AT(optionByte), B, OptionByte},
      {1161, [](P& p, V v) { p.SetNoSeekOriginXY(PropToInt(v)); }, AT(optionByte), B, OptionByte},
      {1179, [](P& p, V v) { p.SetAuxSpeedSwitch(PropToInt(v)); }, AT(auxiliarySpeedSwitch), I,
       [](const P& p) { return double(p.GetAuxSpeedSwitch()); }},
      {1181, [](P& p, V v) { p.SetRotateForLine(PropToInt(v)); }, AT(optionByte), B, OptionByte, true},
  };
  return rules;
}

#undef AT

const MachineParamRule* FindMachineRule(const std::vector<MachineParamRule>& rules, int id) {
  for (const MachineParamRule& rule : rules)
    if (rule.id == id) return &rule;
  return nullptr;
}

void StoreMachineSetting(const MachineParamRule& rule, const CDrawProperity& prop, MachineSetRecord& settings) {
  if (rule.offset == kNoSetting || rule.read == nullptr) return;
  const double value = rule.read(prop);
  auto* at = reinterpret_cast<unsigned char*>(&settings) + rule.offset;
  switch (rule.width) {
    case SettingWidth::Int32: {
      const std::int32_t v = static_cast<std::int32_t>(value);
      std::memcpy(at, &v, sizeof v);
      break;
    }
    case SettingWidth::Float: {
      const float v = static_cast<float>(value);
      std::memcpy(at, &v, sizeof v);
      break;
    }
    case SettingWidth::Double: std::memcpy(at, &value, sizeof value); break;
    case SettingWidth::Byte: *at = static_cast<unsigned char>(value); break;
    case SettingWidth::None: break;
  }
}
