// Variable texts: the texts whose data source is the spreadsheet take the
// cell of their column in the current row.
#include "app/views/model/CVendrikViewModel.h"
#include "document/doc/CVendrikDoc.h"
#include "document/objects/CObjElement.h"
#include "text/objects/CObjBarCode.h"
#include "text/objects/CObjText.h"
#include "text/objects/CObjTextVin.h"

namespace {
constexpr int kColumnCount = 26;  // "A".."Z"
}

void CVendrikViewModel::FillFromSpreadsheetRow(CObjElement* element) {
  if (element == nullptr || !IsSheetOpen()) return;
  // A damaged column number names no cell rather than a character past "Z".
  if (element->excelColumn < 0 || element->excelColumn >= kColumnCount) return;
  const char column = static_cast<char>('A' + element->excelColumn);
  const std::string cell = m_excel.GetCellData(m_excelRowIndex, column);
  if (cell.empty()) return;
  switch (element->type) {
    case OBJ_TEXT:
    case OBJ_DATE:
    case OBJ_SERIAL: {
      auto* text = element->GetObjectAs<CObjText>();
      if (text == nullptr) return;
      text->GetPathData().SetOwner(element);
      text->SetText(cell, text->GetFixedPoint(element->boundRect), true);
      text->RecalcPath();
      break;
    }
    case OBJ_VIN: {
      auto* vin = element->GetObjectAs<CObjTextVin>();
      if (vin == nullptr) return;
      vin->GetPathData().SetOwner(element);
      // A cell that is no valid number (of any length) is reported; the
      // object keeps the number it had.
      vin->SetVinTextFromRow(vin->GetFixedPoint(element->boundRect), cell);
      break;
    }
    case OBJ_BARCODE: {
      auto* code = element->GetObjectAs<CObjBarCode>();
      if (code == nullptr) return;
      PushHistory();
      code->GetPathData().SetOwner(element);
      // The code is held by its modules, not by its text.
      CDoubleRect modules = element->boundRect;
      code->GetPathData().GetKind2BoundRect(modules);
      code->SetCodeText(code->GetFixedPoint(modules), cell, 1, 1);
      element->UpdateBoundRect();
      code->AddTextPath();
      break;
    }
    default:
      // Other types take no text.
      return;
  }
  m_pPropView->RefreshSheet(element, static_cast<int>(m_selection.size()));
  element->UpdateBoundRect();
  GetSelectionBounds(m_selBounds);
}

void CVendrikViewModel::FillAllFromSpreadsheetRow() {
  if (m_pDocument != nullptr) {
    std::lock_guard<std::recursive_mutex> lock(m_viewLock);
    CObjPtrArray& objects = m_pDocument->Objects();
    for (int i = 1; i < objects.GetSize(); ++i) {
      CObjElement* element = objects.GetAt(i);
      if (element != nullptr && element->IsTextType(1)) FillFromSpreadsheetRow(element);
    }
  }
  m_bMemValid = false;
  if (m_pWindow != nullptr) m_pWindow->Invalidate();
}
