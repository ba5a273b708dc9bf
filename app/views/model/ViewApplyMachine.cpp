// The work area's pages: values written into the parameter record and, where
// the machine settings file keeps a copy, into that record and the file.
#include "app/core/MachineSetFile.h"
#include "app/views/model/CVendrikViewModel.h"
#include "app/views/model/MachineParamRules.h"
#include "document/doc/CVendrikDoc.h"
#include "document/geometry/SharedHelpers.h"
#include "document/objects/CObjElement.h"
#include "document/params/CDrawProperity.h"
#include "marking/controller/CMarkControlWnd.h"
#include "platform/Prompt.h"
#include "properties/framework/PropChange.h"
#include "values/ShellMessages.h"
#include "values/ShellValues.h"

namespace {

constexpr int kGridX = 1040;
constexpr int kGridY = 1016;
constexpr int kContinueTimes = 1014;
constexpr int kClearCounter = 1169;
constexpr int kTestMotherLine = 1182;
constexpr const char* kClearCounterText = "Are you clear the current marked counter?";
constexpr const char* kUsbNoMotherLineText = "USB mode can not support this function!";

CDrawProperity* ParameterRecordOf(const PROPCHANGE& change) {
  if (change.object == nullptr || change.object->type != OBJ_PROPERITY) return nullptr;
  return change.object->GetObjectAs<CDrawProperity>();
}

}  // namespace

// Writes one parameter by its rule: record, settings copy and file. No undo
// snapshot: the machine settings file is written at once and Undo leaves the
// parameter record as it stands (ViewHistory.cpp), so the record and the
// file never disagree.
static void ApplyMachineRule(const MachineParamRule& rule, CDrawProperity& prop, const PROPCHANGE& change) {
  rule.apply(prop, change.value);
  if (rule.offset == kNoSetting) return;
  StoreMachineSetting(rule, prop, g_machineSet);
  SaveMachineSet();
}

void CVendrikViewModel::OnUpdateDrawSize(const PROPCHANGE& change) {
  if (CDrawProperity* prop = ParameterRecordOf(change)) {
    if (const MachineParamRule* rule = FindMachineRule(DrawSizeRules(), change.id)) {
      ApplyMachineRule(*rule, *prop, change);
      // The board must hear of the new range before the next run.
      if (m_pMarkControl != nullptr) m_pMarkControl->SetLinkReady(0);
    } else if (change.id == kGridX) {
      m_dotPitchX = g_distanceHor = PropToFloat(change.value);
    } else if (change.id == kGridY) {
      m_dotPitchY = g_distanceVer = PropToFloat(change.value);
    }
  }
  if (m_pWindow != nullptr) m_pWindow->Invalidate();
  MarkModified(1);
}

void CVendrikViewModel::OnUpdatePrintParameter(const PROPCHANGE& change) {
  CDrawProperity* prop = ParameterRecordOf(change);
  const MachineParamRule* rule = FindMachineRule(PrintParameterRules(), change.id);
  if (prop != nullptr && rule != nullptr) ApplyMachineRule(*rule, *prop, change);
  MarkModified(1);
}

void CVendrikViewModel::OnUpdatePrintSetup(const PROPCHANGE& change) {
  bool redraw = false;
  if (CDrawProperity* prop = ParameterRecordOf(change)) {
    if (const MachineParamRule* rule = FindMachineRule(PrintSetupRules(), change.id)) {
      ApplyMachineRule(*rule, *prop, change);
      redraw = rule->redraw;
      if (change.id == kContinueTimes && m_pMainFrame != nullptr && m_pMainFrame->GetFrameTarget() != nullptr)
        m_pMainFrame->GetFrameTarget()->PostMessage(WM_SHOW_MARK_STATUS,
                                                    static_cast<WPARAM>(prop->GetContinuousCount()), 0);
    } else if (change.id == kClearCounter) {
      if (platform::MessageBox(kClearCounterText, "Vendrik", MB_YESNO | MB_ICONQUESTION) == IDYES &&
          m_pMarkControl != nullptr) {
        m_pMarkControl->successCount = 0;
        WriteRegDword("SuccessedNum", 0);
        if (m_pMainFrame != nullptr && m_pMainFrame->GetFrameTarget() != nullptr)
          m_pMainFrame->GetFrameTarget()->PostMessage(WM_SHOW_MARK_COUNT, 0, 0);
      }
    } else {
      redraw = true;
    }
  }
  MarkModified(1);
  if (redraw && m_pWindow != nullptr) m_pWindow->Invalidate();
}

void CVendrikViewModel::OnUpdateRoateSet(const PROPCHANGE& change) {
  bool redraw = false;
  if (CDrawProperity* prop = ParameterRecordOf(change)) {
    if (const MachineParamRule* rule = FindMachineRule(RoateSetRules(), change.id)) {
      ApplyMachineRule(*rule, *prop, change);
      redraw = rule->redraw;
    } else if (change.id == kTestMotherLine) {
      TestMotherLine();
    }
  }
  MarkModified(1);
  if (redraw && m_pWindow != nullptr) m_pWindow->Invalidate();
}

void CVendrikViewModel::TestMotherLine() {
  if (g_softType.load() == SOFT_TYPE_USB) {
    platform::MessageBox(kUsbNoMotherLineText);
    return;
  }
  if (m_pMarkControl == nullptr) return;
  m_pMarkControl->PortBackToOrigin(MarkDocument(), nullptr, this);
}
