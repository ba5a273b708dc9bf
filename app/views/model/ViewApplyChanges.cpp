// The receiving side of the property pages: each change message carries a
// record (control id, the value the page held, the object) that the handler
// of its message applies. Shared steps and the attribute pages live here; the
// work area's pages in ViewApplyMachine.cpp, the shapes in ViewApplyGeometry.cpp.
#include "app/views/model/CVendrikViewModel.h"
#include "document/doc/CVendrikDoc.h"
#include "document/geometry/SharedHelpers.h"
#include "document/objects/CObjDotCollect.h"
#include "document/objects/CObjElement.h"
#include "properties/framework/PropChange.h"
#include "text/objects/CObjBarCode.h"
#include "values/PropertyMessages.h"
#include "values/ShellValues.h"

namespace {
// Mark property page.
constexpr int kStartDelay = 1014;
constexpr int kChangeDelay = 1015;
constexpr int kTimes = 1016;
constexpr int kEmptySpeed = 1017;
constexpr int kLineSpeed = 1018;
constexpr int kMarkCheck = 1048;
constexpr int kDataSource = 1052;
constexpr int kSpreadsheetSource = 1;  // "Excel file" of "Data From"
constexpr int kExcelColumn = 1053;
constexpr int kClassShare = 1116;
constexpr int kLayer = 1162;
constexpr int kKeyNone = 1165;
constexpr int kKeySub = 1167;
constexpr int kColor = 1172;
constexpr int kDefaultColor = 1173;
// Fill page.
constexpr int kFillAngle = 1014;
constexpr int kFillSpacing = 1015;
constexpr int kFillOn = 1114;
constexpr int kDiscardBorder = 1115;
// Dot image page.
constexpr int kDotHorizontal = 1012;
constexpr int kDotVertical = 1013;
constexpr int kDefaultGrid = 1041;
}  // namespace

bool CVendrikViewModel::OnApplyChangesMessage(const platform::Message& message) {
  using Handler = void (CVendrikViewModel::*)(const PROPCHANGE&);
  Handler handler = nullptr;
  switch (message.msg) {
    case WM_UPDATE_DRAWSIZE: handler = &CVendrikViewModel::OnUpdateDrawSize; break;
    case WM_UPDATE_PRINTPARAMETER: handler = &CVendrikViewModel::OnUpdatePrintParameter; break;
    case WM_UPDATE_PRINTSETUP: handler = &CVendrikViewModel::OnUpdatePrintSetup; break;
    case WM_UPDATE_ROATESET: handler = &CVendrikViewModel::OnUpdateRoateSet; break;
    case WM_LIST_SELECTED: handler = &CVendrikViewModel::OnListSelected; break;
    case WM_UPDATE_OBJLINE: handler = &CVendrikViewModel::OnUpdateObjLine; break;
    case WM_UPDATE_OBJNAME: handler = &CVendrikViewModel::OnUpdateObjName; break;
    case WM_UPDATE_PRINTPROPERITY: handler = &CVendrikViewModel::OnUpdatePrintProperity; break;
    case WM_UPDATE_FILLOBJ: handler = &CVendrikViewModel::OnUpdateFillObj; break;
    case WM_UPDATE_POLYLINE: handler = &CVendrikViewModel::OnUpdatePolyline; break;
    case WM_UPDATE_OBJRECT: handler = &CVendrikViewModel::OnUpdateObjRect; break;
    case WM_UPDATE_MBORDER: handler = &CVendrikViewModel::OnUpdateMBorder; break;
    case WM_UPDATE_OBJARC: handler = &CVendrikViewModel::OnUpdateObjArc; break;
    case WM_UPDATE_DOTMATRIX: handler = &CVendrikViewModel::OnUpdateDotMatrix; break;
    case WM_UPDATE_OBJIMAGESIZE: handler = &CVendrikViewModel::OnUpdateObjImageSize; break;
    case WM_UPDATE_PLTDIVIDE: handler = &CVendrikViewModel::OnUpdatePltDivide; break;
    default: return false;
  }
  // The record is the message's payload: it is freed with the message, on
  // every path through the handler. A message without one is dropped.
  std::shared_ptr<PROPCHANGE> record = PropChangeOf(message);
  if (!record) return true;
  if (!IsChangeTargetAlive(*record)) return true;
  (this->*handler)(*record);
  return true;
}

bool CVendrikViewModel::IsChangeTargetAlive(const PROPCHANGE& change) const {
  // A change that arrives after its object was deleted (an edit, then a quick
  // delete, undo, New or Open) has nothing left to change.
  if (change.object == nullptr) return true;
  const bool parameterRecord = m_pDocument != nullptr && m_pDocument->Objects().GetSize() > 0 &&
                               m_pDocument->Objects().GetAt(0) == change.object;
  return parameterRecord || IsInDocument(change.object);
}

void CVendrikViewModel::TakeChangeSnapshot() { PushHistory(); }

void CVendrikViewModel::FinishObjectChange(CObjElement* element) {
  if (element != nullptr) {
    m_pPropView->RefreshSheet(element, static_cast<int>(m_selection.size()));
    element->UpdateBoundRect();
  }
  UpdateSelectionBounds();
  if (m_pWindow != nullptr) m_pWindow->Invalidate();
  MarkModified(1);
}

void CVendrikViewModel::OnUpdateObjName(const PROPCHANGE& change) {
  if (change.object != nullptr) RenameObject(change.object, PropToText(change.value));
}

void CVendrikViewModel::OnUpdatePrintProperity(const PROPCHANGE& change) {
  CObjElement* element = change.object;
  bool redraw = false;
  auto write = [&](auto apply) {
    TakeChangeSnapshot();
    apply();
  };
  if (element != nullptr) {
    const PropValue& v = change.value;
    switch (change.id) {
      case kStartDelay: write([&] { element->penDownDelay = PropToInt(v); }); break;
      case kChangeDelay: write([&] { element->penChangeDelay = PropToInt(v); }); break;
      case kTimes: write([&] { element->markCount = PropToInt(v); }); break;
      case kEmptySpeed: write([&] { element->emptySpeed = PropToFloat(v); }); break;
      case kLineSpeed: write([&] { element->lineSpeed = PropToFloat(v); }); break;
      case kMarkCheck:
        write([&] { element->SetMarkEnabled(PropToInt(v)); });
        redraw = true;
        break;
      case kDataSource:
        write([&] { element->dataSource = PropToInt(v); });
        FillFromSpreadsheetSource(element);
        redraw = true;
        break;
      case kExcelColumn:
        write([&] { element->excelColumn = PropToInt(v); });
        FillFromSpreadsheetSource(element);
        redraw = true;
        break;
      case kClassShare:
      case kClassShare + 1:
      case kClassShare + 2: write([&] { element->id = PropToInt(v); }); break;
      case kLayer:
        write([&] { element->layer = PropToInt(v); });
        redraw = true;
        break;
      case kKeyNone:
      case kKeyNone + 1:
      case kKeySub: write([&] { element->queryKey = PropToInt(v); }); break;
      case kColor:
        write([&] { element->color = PropToInt(v); });
        redraw = true;
        break;
      case kDefaultColor: write([&] { SetDefaultColor(PropToInt(v)); }); break;
      default: break;
    }
  }
  if (redraw && m_pWindow != nullptr) m_pWindow->Invalidate();
  MarkModified(1);
}

void CVendrikViewModel::FillFromSpreadsheetSource(CObjElement* element) {
  // The text takes its cell of the current row at once; a text whose source
  // is its own keeps what it shows.
  if (element->dataSource == kSpreadsheetSource) FillFromSpreadsheetRow(element);
}

void CVendrikViewModel::OnUpdateFillObj(const PROPCHANGE& change) {
  CObjElement* element = change.object;
  if (element == nullptr) return;
  bool known = true;
  switch (change.id) {
    case kFillAngle:
      TakeChangeSnapshot();
      element->fillAngle = PropToFloat(change.value);
      break;
    case kFillSpacing:
      TakeChangeSnapshot();
      element->fillSpacing = PropToFloat(change.value);
      break;
    case kFillOn:
      TakeChangeSnapshot();
      element->SetFillOn(PropToInt(change.value));
      break;
    case kDiscardBorder:
      TakeChangeSnapshot();
      element->SetDiscardBorder(PropToInt(change.value));
      break;
    default: known = false; break;
  }
  // A code keeps its dots and rebuilds only its shown text with the new fill;
  // every other object rebuilds its path and fill.
  if (element->type != OBJ_BARCODE) {
    element->RefreshTypeObject();
  } else if (auto* code = element->GetObjectAs<CObjBarCode>(); code != nullptr && known) {
    code->AddTextPath();
  }
  if (known) FinishObjectChange(element);
}

void CVendrikViewModel::OnUpdateDotMatrix(const PROPCHANGE& change) {
  auto* dots = change.object != nullptr ? change.object->GetObjectAs<CObjDotCollect>() : nullptr;
  switch (change.id) {
    case kDotHorizontal:
      if (dots != nullptr) {
        TakeChangeSnapshot();
        m_dotPitchX = PropToFloat(change.value);
        dots->SetCellSize(PropToFloat(change.value), dots->GetCellHeight());
        // The spacing is saved with the layout: New and close must ask.
        MarkModified(1);
      }
      break;
    case kDotVertical:
      if (dots != nullptr) {
        TakeChangeSnapshot();
        m_dotPitchY = PropToFloat(change.value);
        dots->SetCellSize(dots->GetCellWidth(), PropToFloat(change.value));
        MarkModified(1);
      }
      break;
    case kDefaultGrid: {
      const FloatPair grid = PropToFloatPair(change.value);
      m_dotPitchX = g_distanceHor = grid.x;
      m_dotPitchY = g_distanceVer = grid.y;
      break;
    }
    default: break;
  }
  if (m_pWindow != nullptr) m_pWindow->Invalidate();
}
