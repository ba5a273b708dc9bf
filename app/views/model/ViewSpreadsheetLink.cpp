// The spreadsheet link commands: switching the link on and off, dialog 183
// ("Excel data auto marking") over the link record, and stepping through the
// rows (the tool bar's buttons, the record edit and the marking job's "next
// record" after each piece).
#include <climits>

#include "app/core/CommandIds.h"
#include "app/core/MachineSetFile.h"
#include "app/views/model/CVendrikViewModel.h"
#include "app/views/model/ExcelLinkRecord.h"
#include "document/geometry/SharedHelpers.h"
#include "platform/Prompt.h"
#include "values/ShellMessages.h"
#include "values/ShellValues.h"

void CVendrikViewModel::RegisterSpreadsheetLinkCommands() {
  AddCommand(cmd::ID_BAND_EXCEL, [this] { OnBandExcel(); }, {}, [this] { return m_autoLinkExcel == 1; });
  AddCommand(cmd::ID_CONFIG_EXCEL, [this] { OnConfigExcel(); });
  AddCommand(cmd::ID_PRE_RECORD, [this] { OnPreRecord(); }, [this] { return IsSheetOpen(); });
  AddCommand(cmd::ID_NEXT_RECORD, [this] { OnNextRecord(); }, [this] { return IsSheetOpen(); });
}

bool CVendrikViewModel::IsSheetOpen() const { return m_excel.opened != 0; }

int CVendrikViewModel::LastSheetRow() const { return m_excel.firstRow + m_excel.rowCount - 1; }

void CVendrikViewModel::ReportExcelOpenResult(int result) {
  const std::string file(m_excelPara.filePath);
  switch (result) {
    case CTabrion::kCannotOpenFile: platform::MessageBox(file + " File can not open!"); break;
    case CTabrion::kNoServer: platform::MessageBox("Start Excel service error! \n Check Excel is installed!"); break;
    case CTabrion::kNoData: platform::MessageBox(file + " no data!"); break;
    default: break;
  }
}

void CVendrikViewModel::OpenSpreadsheetLink() {
  const int result = m_excel.InitialExcelDataBase(m_excelPara);
  ReportExcelOpenResult(result);
  // The texts show the current row at once, so the first piece marked carries it.
  if (result == CTabrion::kOpen) {
    if (m_excelRowIndex < m_excel.firstRow || m_excelRowIndex > LastSheetRow()) m_excelRowIndex = m_excel.firstRow;
    if (m_pMainFrame != nullptr) m_pMainFrame->SetRecordText(m_excelRowIndex);
    FillAllFromSpreadsheetRow();
  }
}

void CVendrikViewModel::OnBandExcel() {
  m_autoLinkExcel = m_autoLinkExcel != 0 ? 0 : 1;
  WriteRegDword("AutoLinkExcel", m_autoLinkExcel);
  if (m_autoLinkExcel == 1) {
    OpenSpreadsheetLink();
  } else {
    m_excel.DeleteExcelOleFun();
  }
}

void CVendrikViewModel::OnConfigExcel() {
  if (!m_editExcelSource) return;
  ExcelSourceValues values = ExcelSourceValuesOf(m_excelPara);
  const ExcelSourceValues old = values;
  if (!m_editExcelSource(values)) return;
  // A path the record cannot hold is refused whole: the link keeps its old file.
  _EXCEL_FILE_PARA next = m_excelPara;
  if (!StoreExcelPath(next, values.path)) {
    platform::MessageBox(kExcelPathTooLong);
    return;
  }
  next.sheetIndex = values.sheetIndex;
  next.visible = values.visible;
  next.userControl = values.userControl;
  next.fixedRow = values.fixedRow;
  m_excelPara = next;
  if (values.path != old.path || values.sheetIndex != old.sheetIndex) {
    m_excel.DeleteExcelOleFun();
    if (m_autoLinkExcel == 1) OpenSpreadsheetLink();
  }
  // A folder that cannot take the file leaves the record in memory only.
  if (!SaveExcelMarkPara(g_installDir, m_excelPara)) platform::MessageBox(kSaveParameterError);
}

bool CVendrikViewModel::CanStepRecords() const {
  return IsSheetOpen() && m_excelPara.fixedRow == 0 && m_pMainFrame != nullptr;
}

void CVendrikViewModel::ShowRecordAndFill() {
  if (m_pMainFrame != nullptr) m_pMainFrame->SetRecordText(m_excelRowIndex);
  FillAllFromSpreadsheetRow();
}

void CVendrikViewModel::OnPreRecord() {
  if (!CanStepRecords() || m_excelRowIndex <= m_excel.firstRow) return;
  --m_excelRowIndex;
  ShowRecordAndFill();
}

void CVendrikViewModel::OnNextRecord() {
  if (!CanStepRecords() || m_excelRowIndex >= LastSheetRow()) return;
  ++m_excelRowIndex;
  ShowRecordAndFill();
}

bool CVendrikViewModel::SetRecordIndex(WPARAM row) {
  // A typed row outside the sheet would fill every text with nothing: refuse
  // it and show the current row again.
  bool inside = row >= 1 && row <= static_cast<WPARAM>(INT_MAX);
  if (inside && IsSheetOpen())
    inside = static_cast<long long>(row) >= m_excel.firstRow && static_cast<long long>(row) <= LastSheetRow();
  if (!inside) {
    if (m_pMainFrame != nullptr) m_pMainFrame->SetRecordText(m_excelRowIndex);
    return false;
  }
  m_excelRowIndex = static_cast<int>(row);
  FillAllFromSpreadsheetRow();
  return true;
}

bool CVendrikViewModel::OnSpreadsheetLinkMessage(const platform::Message& message) {
  if (message.msg != WM_NEXT_RECORD) return false;
  SetRecordIndex(message.wParam);
  return true;
}
