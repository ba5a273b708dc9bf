#include "app/views/CViewSettingsHost.h"

#include <QDialog>
#include <chrono>
#include <thread>

#include "app/views/CVendrikView.h"
#include "document/doc/CVendrikDoc.h"
#include "document/objects/CObjElement.h"
#include "document/params/CDrawProperity.h"

void CViewSettingsHost::StopButtonWatch() { view_.Model().StopButtonWatch(); }

void CViewSettingsHost::CloseUsbLink() {
  if (CProperityView* link = CProperityView::LinkOwner()) link->CloseUsbLink();
}

void CViewSettingsHost::OpenUsbLink() {
  if (CProperityView* link = CProperityView::LinkOwner()) link->OpenUsbLink();
}

void CViewSettingsHost::InitHardware(int) { view_.Model().InitHardware(); }

void CViewSettingsHost::WaitMilliseconds(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

void CViewSettingsHost::ReloadParameterRecord() {
  CVendrikDoc* document = view_.GetDocument();
  CObjElement* first = document != nullptr ? document->Objects().GetAt(0) : nullptr;
  CDrawProperity* record = first != nullptr ? first->GetObjectAs<CDrawProperity>() : nullptr;
  if (record == nullptr) return;
  record->LoadFromSettings();
  view_.Model().m_pPropView->ReloadPages(first);
}

void CViewSettingsHost::InvalidateView() { view_.Invalidate(); }

const ComSettings* CViewSettingsHost::CurrentComSettings() {
  CProperityView* link = CProperityView::LinkOwner();
  return link != nullptr ? &link->GetComSettings() : nullptr;
}

std::string CViewSettingsHost::ComSettingsPath() {
  CProperityView* link = CProperityView::LinkOwner();
  return link != nullptr ? link->ComSettingsPath() : std::string();
}

bool CViewSettingsHost::ReopenRs232Port() {
  CProperityView* link = CProperityView::LinkOwner();
  if (link == nullptr) return false;
  link->LoadComSettings();
  return link->OpenRs232Port() != 0;
}

int CViewSettingsHost::RunModal(QDialog& dialog) { return dialog.exec(); }
