// Requests of the object list (delete, combine), the layer filters, the
// repaint command and the start-back path switch of the parameter record.
#include <algorithm>

#include "app/core/MachineSetFile.h"
#include "app/views/model/CVendrikViewModel.h"
#include "document/doc/CVendrikDoc.h"
#include "document/objects/CObjDotCollect.h"
#include "document/objects/CObjElement.h"
#include "document/objects/CObjPolyLine.h"
#include "document/params/CDrawProperity.h"
#include "properties/framework/PropChange.h"
#include "values/PropertyMessages.h"
#include "values/ShellMessages.h"
#include "values/ShellValues.h"

namespace {

constexpr int ID_FRESH_VIEW = 32810;
constexpr int ID_LAYER_FIRST = 32850;
constexpr int ID_APPLY_START_BACK_PATH = 32824;
constexpr std::uint8_t kStartBackPathBit = 0x01;
constexpr int kSplitStrokes = 1167;
constexpr int kDeleteStrokes = 1168;

}  // namespace

void CVendrikViewModel::RegisterListMessageCommands() {
  AddCommand(ID_FRESH_VIEW, [this] {
    m_bMemValid = false;
    if (m_pWindow != nullptr) m_pWindow->Invalidate();
  });
  for (int layer = 0; layer < 4; ++layer) {
    AddCommand(
        ID_LAYER_FIRST + layer,
        [this, layer] {
          m_layerOn[layer] = m_layerOn[layer] ? 0 : 1;
          m_bMemValid = false;
          if (m_pWindow != nullptr) m_pWindow->Invalidate();
        },
        [this, layer] { return IsLayerUsed(layer); }, [this, layer] { return m_layerOn[layer] == 1; });
  }
  AddCommand(ID_APPLY_START_BACK_PATH, [this] { OnApplyStartBackPath(); }, {}, [this] {
    const CDrawProperity* record = GetParameterRecord();
    return record != nullptr && (record->GetOptionByte() & kStartBackPathBit) != 0;
  });
}

bool CVendrikViewModel::OnListMessage(const platform::Message& message) {
  switch (message.msg) {
    case WM_LIST_DELETE:
      if (IsMarkingBusy()) return true;  // the job holds the elements
      DeleteSelection();
      SetLayoutModified();
      return true;
    case WM_LIST_COMBINE:
      CombineSelection();
      return true;
    case WM_IMPORT_FILE:  // posted by the import command to the view itself
      OnImportFileMessage();
      return true;
    default:
      return false;
  }
}

bool CVendrikViewModel::IsLayerUsed(int layer) const {
  if (m_pDocument == nullptr) return false;
  const CObjPtrArray& objects = m_pDocument->Objects();
  for (int i = 1; i < objects.GetSize(); ++i) {
    if (objects.GetAt(i)->layer == layer) return true;
  }
  return false;
}

void CVendrikViewModel::CombineSelection() {
  // A running job holds the parts; the reference arc is no part of the layout.
  if (IsMarkingBusy() || !HasLayoutSelection()) return;
  // Pictures hold no dots: they stay as they are, outside the combination.
  std::vector<CObjElement*> combined;
  for (CObjElement* element : m_selection) {
    if (element->type != OBJ_PICTURE) combined.push_back(element);
  }
  if (combined.empty()) return;
  bool allDots = true;
  CPointList points;
  for (const CObjElement* element : combined) {
    if (element->type != OBJ_DOTIMAGE) allDots = false;
    element->CollectDots(points);
  }
  if (points.GetSize() == 0) return;
  // One snapshot for the whole combine: one undo brings the parts back.
  PushHistory();
  SelectElements(combined);
  DeleteSelection(false);
  std::unique_ptr<CObjElement> element;
  if (allDots) {
    auto* dots = new CObjDotCollect(points);
    dots->RebuildFill();
    const CDoubleRect bounds = dots->GetBoundRect();
    element = std::make_unique<CObjElement>(
        CObjCreateRecord{DefaultName(OBJ_DOTIMAGE), OBJ_DOTIMAGE, dots, static_cast<int>(sizeof(CObjDotCollect)), bounds});
  } else {
    auto* poly = new CObjPolyLine(points, 0, 1);
    poly->SetSplitFlagAll();
    element = std::make_unique<CObjElement>(
        CObjCreateRecord{DefaultName(OBJ_HPGL), OBJ_HPGL, poly, static_cast<int>(sizeof(CObjPolyLine)), {}});
  }
  element->RefreshTypeObject();
  element->UpdateBoundRect();
  AddElement(std::move(element), 1);
  SetLayoutModified();
  m_bMemValid = false;
  if (m_pWindow != nullptr) m_pWindow->Invalidate();
}

CDrawProperity* CVendrikViewModel::GetParameterRecord() const {
  if (m_pDocument == nullptr) return nullptr;
  const CObjElement* first = m_pDocument->Objects().GetAt(0);
  return first != nullptr ? first->GetObjectAs<CDrawProperity>() : nullptr;
}

void CVendrikViewModel::OnApplyStartBackPath() {
  CDrawProperity* record = GetParameterRecord();
  if (record == nullptr) return;
  const std::uint8_t option = static_cast<std::uint8_t>(record->GetOptionByte() ^ kStartBackPathBit);
  record->SetOptionByte(option);
  g_machineSet.optionByte = option;
  m_pPropView->RefreshSheet(m_pDocument->Objects().GetAt(0), 1);
  SaveMachineSet();
  m_bMemValid = false;
  if (m_pWindow != nullptr) m_pWindow->Invalidate();
}
