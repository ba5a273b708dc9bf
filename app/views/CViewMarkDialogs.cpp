#include "app/views/CViewMarkDialogs.h"

#include "app/core/MachineSetFile.h"
#include "app/dialogs/CMachineOriginDlg.h"
#include "marking/handtools/CDitheringDlg.h"
#include "marking/handtools/CJogPositionDlg.h"
#include "marking/handtools/CMotorTestDlg.h"

CViewMarkDialogs::CViewMarkDialogs(QWidget* owner, platform::MessageTarget* view,
                                   std::function<ILinkHost*()> linkHost)
    : owner_(owner), view_(view), linkHost_(std::move(linkHost)) {}

CViewMarkDialogs::~CViewMarkDialogs() = default;

bool CViewMarkDialogs::HasJogWindow() { return jog_ && jog_->isVisible() && !jog_->IsClosed(); }

void CViewMarkDialogs::CreateJogWindow() {
  if (!jog_) {
    CJogPositionDlg::Options options;
    options.saveMachineSet = [] { SaveMachineSet(); };
    jog_ = std::make_unique<CJogPositionDlg>(view_, owner_, std::move(options));
  }
  jog_->Create();
  // Its own client area and 30 pixels more height, at its stored place.
  jog_->resize(jog_->sizeHint().width(), jog_->sizeHint().height() + 30);
}

void CViewMarkDialogs::EndJog(int keep) {
  if (jog_) jog_->EndJog(keep);
}

void CViewMarkDialogs::SaveJogSelection() {
  if (jog_) jog_->SaveSelection();
}

void CViewMarkDialogs::RunMotorTest() {
  CMotorTestDlg::Options options;
  options.saveMachineSet = [] { SaveMachineSet(); };
  CMotorTestDlg::RunModal(linkHost_ ? linkHost_() : nullptr, owner_, std::move(options));
}

bool CViewMarkDialogs::EditDithering(DitheringValues& values) {
  CDitheringDlg::Values v{values.stableTime, values.applyDithering, values.rotateFactor};
  if (CDitheringDlg::RunModal(v, owner_) != QDialog::Accepted) return false;
  values = DitheringValues{v.stableTime, v.applyDithering, v.rotateFactor};
  return true;
}

bool CViewMarkDialogs::EditOriginCorner(int& corner) {
  CMachineOriginDlg dialog(owner_);
  dialog.m_corner = corner;
  dialog.OnInitDialog();
  if (dialog.exec() != QDialog::Accepted) return false;
  corner = dialog.m_corner;
  return true;
}
