#pragma once
// How the work area's pages change the parameter record: per control id, the
// record field it writes and, where the machine settings file keeps a copy,
// the byte offset and width of that copy. The option switches copy the whole
// option byte. One table per change message.
#include <cstddef>
#include <vector>

#include "properties/framework/PropChange.h"
#include "values/MachineSetRecord.h"

class CDrawProperity;

enum class SettingWidth { None, Int32, Float, Double, Byte };

struct MachineParamRule {
  int id = 0;
  // Writes the page's value into the record.
  void (*apply)(CDrawProperity& record, const PropValue& value) = nullptr;
  // The settings record's copy: offset (kNoSetting: none) and width; `read`
  // gives the record's value after the change.
  int offset = -1;
  SettingWidth width = SettingWidth::None;
  double (*read)(const CDrawProperity& record) = nullptr;
  bool redraw = false;
};

constexpr int kNoSetting = -1;

const std::vector<MachineParamRule>& DrawSizeRules();
const std::vector<MachineParamRule>& PrintParameterRules();
const std::vector<MachineParamRule>& PrintSetupRules();
const std::vector<MachineParamRule>& RoateSetRules();
// The rule of `id` in `rules`, or null.
const MachineParamRule* FindMachineRule(const std::vector<MachineParamRule>& rules, int id);
// Copies the record's value into the settings record at the rule's offset
// (doubles kept as floats are rounded to float there).
void StoreMachineSetting(const MachineParamRule& rule, const CDrawProperity& prop, MachineSetRecord& settings);
