// Construction with the view's registry values, the initial update (settings
// files, hardware, scroll extents, the parameter record, the spreadsheet
// link) and the destroy handler.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "app/views/model/CVendrikViewModel.h"
#include "app/views/model/CutFillNotice.h"
#include "document/doc/CVendrikDoc.h"
#include "document/geometry/SharedHelpers.h"
#include "document/geometry/SharedState.h"
#include "document/mrk/MrkFile.h"
#include "document/objects/CObjElement.h"
#include "document/params/CDrawProperity.h"
#include "marking/controller/CMarkControlWnd.h"
#include "platform/NumberText.h"
#include "platform/Prompt.h"
#include "values/ShellMessages.h"
#include "values/ShellValues.h"

namespace {

std::unique_ptr<CObjElement> NewParameterElement() {
  return std::make_unique<CObjElement>(
      CObjCreateRecord{"", OBJ_PROPERITY, new CDrawProperity(), static_cast<int>(sizeof(CDrawProperity)), {}});
}

}  // namespace

CVendrikViewModel::CVendrikViewModel() {
  m_pPropView = &m_nullPropView;
  m_selection.SetList(m_pPropView);
  ReadRegFloat("DistanceVer", g_distanceVer);
  ReadRegFloat("DistanceHor", g_distanceHor);
  ReadRegDword("AutoLinkExcel", m_autoLinkExcel);
  ReadRegDword("PaperPrinter", m_paperPrinter);
  ReadRegDword("ExcelRowIndex", m_excelRowIndex);
  m_dotPitchX = g_distanceHor;
  m_dotPitchY = g_distanceVer;
  RegisterMarkingCommands();
  RegisterMachineCommands();
  RegisterSpreadsheetLinkCommands();
  RegisterImportCommands(); RegisterTransformCommands(); RegisterClipboardCommands(); RegisterNeedleCommands(); RegisterZoomCommands(); RegisterListMessageCommands();
  RegisterHistoryCommands();
  RegisterOpenNewCommands();
  RegisterToolCommands();
}

CVendrikViewModel::~CVendrikViewModel() {
  StopButtonWatch();
  WriteRegFloat("DistanceVer", g_distanceVer);
  WriteRegFloat("DistanceHor", g_distanceHor);
  WriteRegDword("PaperPrinter", m_paperPrinter);
  WriteRegDword("ExcelRowIndex", m_excelRowIndex);
}

void CVendrikViewModel::SetPropertyView(CProperityViewCalls* calls) {
  m_pPropView = calls != nullptr ? calls : &m_nullPropView;
  m_selection.SetList(m_pPropView);
}

void CVendrikViewModel::LoadSettingsFiles() {
  m_arcInfo = LoadArcPointedInfo(g_installDir);
  if (m_arcInfo.arcOn && m_arcInfo.arcBuilt) BuildReferenceArc(1, 1);  // the arc taught before
  // Without its record the spreadsheet link stays off until the program ends.
  if (!LoadExcelMarkPara(g_installDir, m_excelPara)) m_autoLinkExcel = 0;
}

int CVendrikViewModel::ScrollExtent(double rangeMm, double pxPerMm, double zoom, int clientSize) {
  const double pixels = rangeMm * pxPerMm * zoom;
  // A damaged range must not give a negative or overflowing extent.
  const long extent = std::isfinite(pixels) ? static_cast<long>(std::clamp(pixels, 0.0, 1.0e9)) + 50 : 50;
  return extent < clientSize ? clientSize + 100 : static_cast<int>(extent);
}

void CVendrikViewModel::UpdateScrollExtents() {
  const int clientW = m_pWindow != nullptr ? m_pWindow->ClientWidth() : 0;
  const int clientH = m_pWindow != nullptr ? m_pWindow->ClientHeight() : 0;
  m_scrollWidth = ScrollExtent(g_machineSet.rangeX, g_pxPerMmX, m_zoom, clientW);
  m_scrollHeight = ScrollExtent(g_machineSet.rangeY, g_pxPerMmY, m_zoom, clientH);
  m_centreX = m_scrollWidth / 2;
  m_centreY = m_scrollHeight / 2;
  m_bMemValid = false;
  if (m_pWindow == nullptr) return;
  m_pWindow->SetScrollSizes(m_scrollWidth, m_scrollHeight);
  m_pWindow->ScrollToPosition(m_scrollWidth / 2 - clientW / 2, m_scrollHeight / 2 - clientH / 2);
  if (m_pChildFrame != nullptr) {
    m_pChildFrame->SetRulerOrigin(m_centreX, m_centreY);
    m_pChildFrame->InvalidateRulers(m_zoom);
  }
}

void CVendrikViewModel::OnInitialUpdate() {
  // 1. Settings files.
  LoadSettingsFiles();
  // 2. The frames are bound by their setters; the document template shows
  // the window maximised.
  // 3. Ports and the start button.
  InitHardware();
  // 5. before 4: building the parameter record corrects the machine
  // settings' ranges, which the extents are taken from.
  if (m_pDocument != nullptr) {
    std::unique_ptr<CObjElement> element = NewParameterElement();
    CObjElement* record = element.get();
    m_pDocument->Objects().Add(std::move(element));
    m_pPropView->AddObject(record, 0);
    m_pPropView->FillObjectList(m_pDocument->Objects());
  }
  // 4. Scroll extents, centred.
  UpdateScrollExtents();
  // 6. The head position and the marked total in the status bar.
  if (m_pMainFrame != nullptr && m_pMarkControl != nullptr) {
    m_pMainFrame->ShowCursorPos(m_pMarkControl->workPosition.x, m_pMarkControl->workPosition.y);
    if (platform::MessageTarget* frame = m_pMainFrame->GetFrameTarget()) {
      frame->PostMessage(WM_SHOW_MARK_COUNT, static_cast<WPARAM>(m_pMarkControl->successCount.load()), 0);
    }
  }
  // 7. Paper print settings and the spreadsheet link.
  m_paperPrintSet = LoadPaperPrintSet(g_installDir);
  if (m_autoLinkExcel != 0) {
    ReportExcelOpenResult(m_excel.InitialExcelDataBase(m_excelPara));
  }
  // 8. The record number, and the hand-positioning window when the machine
  // settings ask for it at start (shown as "Orign by hand" shows it, so its
  // check mark and closing follow).
  if (m_pMainFrame != nullptr) m_pMainFrame->SetRecordText(m_excelRowIndex);
  if (g_machineSet.openJogAtStart != 0) {
    g_jogWindowOpen = 1;
    ApplyJogWindow();
  }
  if (m_pWindow != nullptr) m_pWindow->Invalidate();
  m_initialUpdateDone = true;
}

void CVendrikViewModel::EnsureParameterRecord() {
  if (m_pDocument == nullptr) return;
  CObjPtrArray& objects = m_pDocument->Objects();
  const CObjElement* first = objects.GetAt(0);
  if (first == nullptr || first->type != OBJ_PROPERITY || first->GetObjectAs<CDrawProperity>() == nullptr) {
    objects.InsertAt(0, NewParameterElement());
  }
}

bool CVendrikViewModel::OnLoadMrkFile(const std::string& path) {
  if (m_pDocument == nullptr || IsMarkingBusy()) return false;
  // Read into an array of its own: a refused file changes nothing.
  CObjPtrArray read;
  // The whole path goes to the reader: a path cut to a fixed buffer would
  // name another file.
  std::vector<std::string> leftEmpty;
  if (ReadMrkFile(path, read, &leftEmpty) == 0) return false;
  {
    std::lock_guard<std::recursive_mutex> lock(m_viewLock);
    // Whatever the file held, the layout keeps its parameter record at index 0.
    const CObjElement* first = read.GetAt(0);
    if (first == nullptr || first->type != OBJ_PROPERITY || first->GetObjectAs<CDrawProperity>() == nullptr) {
      read.InsertAt(0, NewParameterElement());
    }
    ReplaceContent(read);
    // Undo never reaches back into the project before.
    StartNewHistory();
  }
  m_pDocument->SetFilePath(path);
  m_pDocument->SetSavedState(0);
  m_pDocument->SetTitle(path);
  if (m_onContentReplaced) m_onContentReplaced();
  if (!leftEmpty.empty()) platform::MessageBox(LeftEmptyNotice(leftEmpty));
  TellCutFills();
  return true;
}

void CVendrikViewModel::TellCutFills() {
  if (m_pDocument == nullptr || IsMarkingBusy()) return;
  const std::string cut = TakeCutFillNotice(m_pDocument->Objects());
  if (!cut.empty()) platform::MessageBox(cut);
}

void CVendrikViewModel::OnDestroy() {
  if (g_softType.load() != SOFT_TYPE_USB) {
    // Control bit 7 follows data bit 3 when the view goes.
    int control = ControlShadow.load() & ~0x80;
    if (OutputShadow.load() & 0x08) control |= 0x80;
    ControlShadow = control;
    WriteCtrlPort(static_cast<BYTE>(control & 0xFF));
  }
  StopButtonWatch();
}
