#include "marking/dialogs/CSoftTypeDlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>

#include "marking/dialogs/DialogControls.h"

using machine_dialogs::Named;

CSoftTypeDlg::CSoftTypeDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Soft type(USB or LPT)"));
  BuildControls();
}

CSoftTypeDlg::~CSoftTypeDlg() = default;

void CSoftTypeDlg::BuildControls() {
  auto* big = Named(new QRadioButton(QStringLiteral("LPT Big board"), this), "lptBigRadio", IDC_LPT_BIG);
  auto* usb = Named(new QRadioButton(QStringLiteral("USB board(USB+LPT)"), this), "usbBoardRadio", IDC_USB_BOARD);
  auto* small =
      Named(new QRadioButton(QStringLiteral("LPT small board(USB+LPT)"), this), "lptSmallRadio", IDC_LPT_SMALL);
  board_ = new QButtonGroup(this);
  board_->addButton(big, 0);
  board_->addButton(usb, 1);
  board_->addButton(small, 2);

  pciLpt_ = Named(new QCheckBox(QStringLiteral("Apply PCI-LPT card"), this), "pciLptCheck", IDC_PCI_LPT);
  pciLpt_->setEnabled(false);
  baseAddr_ = Named(new QLineEdit(this), "baseAddrEdit", IDC_BASE_ADDR);
  baseAddr_->setEnabled(false);
  accessCode_ = Named(new QLineEdit(this), "accessCodeEdit", IDC_ACCESS_CODE);
  accessCode_->setEchoMode(QLineEdit::Password);
  freeMode_ = Named(new QCheckBox(QStringLiteral("Free mode(not working)"), this), "freeModeCheck", IDC_FREE_MODE);
  update_ = Named(new QCheckBox(QStringLiteral("Update frequent"), this), "updateCheck", IDC_UPDATE);

  auto* grid = new QGridLayout;
  grid->addWidget(big, 0, 0);
  grid->addWidget(new QLabel(QStringLiteral("Note:J11-USB,disable LPT link line"), this), 0, 1);
  grid->addWidget(usb, 1, 0);
  grid->addWidget(new QLabel(QStringLiteral("Note:J11-DB25,disable USB link line"), this), 1, 1);
  grid->addWidget(small, 2, 0);
  grid->addWidget(pciLpt_, 3, 0);
  grid->addWidget(new QLabel(QStringLiteral("Card base addr:"), this), 4, 0);
  grid->addWidget(baseAddr_, 4, 1);
  grid->addWidget(new QLabel(QStringLiteral("Passward:"), this), 5, 0);
  grid->addWidget(accessCode_, 5, 1);
  grid->addWidget(freeMode_, 6, 0);
  grid->addWidget(update_, 7, 0);
  grid->addWidget(new QLabel(QStringLiteral("Note:requare repeat start software"), this), 8, 0, 1, 2);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &CSoftTypeDlg::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &CSoftTypeDlg::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(buttons);

  connect(accessCode_, &QLineEdit::textChanged, this, [this] { OnAccessCodeChange(); });
}

int CSoftTypeDlg::DoModal() {
  OnInitDialog();
  return exec();
}

void CSoftTypeDlg::OnInitDialog() { UpdateData(false); }

bool CSoftTypeDlg::UpdateData(bool save) {
  if (save) {
    if (!machine_dialogs::CheckMaxChars(baseAddr_, baseAddr_->text(), kBaseAddrMaxChars)) return false;
    // No board chosen keeps the member rather than storing -1.
    if (board_->checkedId() >= 0) m_boardType = board_->checkedId();
    m_pciLptCard = pciLpt_->isChecked() ? 1 : 0;
    m_baseAddr = baseAddr_->text();
    m_accessCode = accessCode_->text();
    m_freeMode = freeMode_->isChecked() ? 1 : 0;
    m_update = update_->isChecked() ? 1 : 0;
    return true;
  }
  machine_dialogs::CheckButton(board_, m_boardType);
  pciLpt_->setChecked(m_pciLptCard != 0);
  // Typing stops at the limit; a longer stored text is shown whole (and then
  // refused by OK) rather than cut without a word.
  baseAddr_->setMaxLength(32767);
  baseAddr_->setText(m_baseAddr);
  baseAddr_->setMaxLength(std::max<int>(kBaseAddrMaxChars, baseAddr_->text().size()));
  {
    // Showing the stored code is not the operator typing it.
    const QSignalBlocker quiet(accessCode_);
    accessCode_->setText(m_accessCode);
  }
  freeMode_->setChecked(m_freeMode != 0);
  update_->setChecked(m_update != 0);
  return true;
}

bool CSoftTypeDlg::IsAccessCode(const QString& lowerCaseText) {
  return lowerCaseText == QLatin1String("quenmart") || lowerCaseText == QLatin1String("vessolin");
}

void CSoftTypeDlg::OnAccessCodeChange() {
  // Only the code is read here: a base address that is still too long must
  // not raise the length message at every key.
  m_accessCode = accessCode_->text().toLower();
  if (!IsAccessCode(m_accessCode)) return;
  baseAddr_->setEnabled(true);
  pciLpt_->setEnabled(true);
  accessCode_->setEnabled(false);
}

void CSoftTypeDlg::accept() {
  if (!UpdateData(true)) return;
  QDialog::accept();
}

QWidget* CSoftTypeDlg::GetDlgItem(int id) const { return machine_dialogs::FindControl(this, id); }
