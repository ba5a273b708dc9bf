#include "marking/dialogs/CComSetDlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

#include "marking/dialogs/DialogControls.h"
#include "marking/textport/CSerialPort.h"

using machine_dialogs::Named;

namespace {

QComboBox* List(QWidget* parent, const char* name, int id, const QStringList& entries) {
  auto* list = Named(new QComboBox(parent), name, id);
  list->addItems(entries);
  return list;
}

// Selects the entry, or nothing when the list does not hold the index.
void Select(QComboBox* list, int index) {
  list->setCurrentIndex(index >= 0 && index < list->count() ? index : -1);
}

// The list's selection; a list with nothing selected keeps the member, so an
// OK without a choice does not turn a setting into -1.
void Take(const QComboBox* list, int& index) {
  if (list->currentIndex() >= 0) index = list->currentIndex();
}

}  // namespace

CComSetDlg::CComSetDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Com setting"));
  BuildControls();
}

CComSetDlg::~CComSetDlg() = default;

void CComSetDlg::BuildControls() {
  QStringList ports;
  for (int i = 1; i <= 20; ++i) ports << QStringLiteral("COM%1").arg(i);
  port_ = List(this, "portList", IDC_PORT, ports);
  // Each entry tells which device of this system it opens.
  for (int i = 0; i < port_->count(); ++i)
    port_->setItemData(i, QString::fromStdString(ComDevicePath(i + 1)), Qt::ToolTipRole);
  baud_ = List(this, "baudList", IDC_BAUD,
               {"1200", "2400", "4800", "9600", "19200", "38400", "57600", "115200"});
  parity_ = List(this, "parityList", IDC_PARITY,
                 {QStringLiteral("无效验位"), QStringLiteral("奇效验"), QStringLiteral("偶效验")});
  dataBits_ = List(this, "dataBitsList", IDC_DATABITS, {"8", "7", "6"});
  stopBits_ = List(this, "stopBitsList", IDC_STOPBITS, {"1", "2"});

  open_ = Named(new QCheckBox(QStringLiteral("Open (RS232)"), this), "rs232OpenCheck", IDC_RS232_OPEN);
  auto* usb = Named(new QRadioButton(QStringLiteral("USB mode"), this), "usbModeRadio", IDC_MODE_USB);
  auto* rs232 = Named(new QRadioButton(QStringLiteral("RS232 mode"), this), "rs232ModeRadio", IDC_MODE_RS232);
  mode_ = new QButtonGroup(this);
  mode_->addButton(usb, 0);
  mode_->addButton(rs232, 1);
  for (QAbstractButton* button : mode_->buttons()) {
    button->setVisible(false);
    button->setEnabled(false);
  }

  auto* grid = new QGridLayout;
  const QString labels[] = {QStringLiteral("Com Port"), QStringLiteral("Baud:"), QStringLiteral("Verify bit:"),
                            QStringLiteral("data bit:"), QStringLiteral("stop bit:")};
  QComboBox* lists[] = {port_, baud_, parity_, dataBits_, stopBits_};
  for (int row = 0; row < 5; ++row) {
    grid->addWidget(new QLabel(labels[row], this), row, 0);
    grid->addWidget(lists[row], row, 1);
  }
  grid->addWidget(open_, 5, 1);
  grid->addWidget(usb, 6, 0);
  grid->addWidget(rs232, 6, 1);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &CComSetDlg::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &CComSetDlg::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(buttons);

  // Only the operator's choices notify, as a list's selection change does.
  connect(port_, &QComboBox::activated, this, [this] { OnPortChange(); });
  connect(baud_, &QComboBox::activated, this, [this] { OnBaudChange(); });
  connect(parity_, &QComboBox::activated, this, [this] { OnParityChange(); });
  connect(dataBits_, &QComboBox::activated, this, [this] { OnDataBitsChange(); });
  connect(stopBits_, &QComboBox::activated, this, [this] { OnStopBitsChange(); });
  connect(mode_, &QButtonGroup::idClicked, this, [this] { OnModeClick(); });
}

int CComSetDlg::DoModal() {
  OnInitDialog();
  return exec();
}

void CComSetDlg::OnInitDialog() {
  m_portIndex = std::clamp(m_portIndex, 0, kMaxPortIndex);
  UpdateData(false);
  m_portText = port_->currentText();
  m_baudText = baud_->currentText();
  m_parityText = parity_->currentText();
  m_dataBitsText = dataBits_->currentText();
  m_stopBitsText = stopBits_->currentText();
}

bool CComSetDlg::UpdateData(bool save) {
  if (save) {
    Take(port_, m_portIndex);
    Take(baud_, m_baudIndex);
    Take(parity_, m_parityIndex);
    Take(dataBits_, m_dataBitsIndex);
    Take(stopBits_, m_stopBitsIndex);
    m_rs232Open = open_->isChecked() ? 1 : 0;
    if (mode_->checkedId() >= 0) m_mode = mode_->checkedId();
    return true;
  }
  Select(port_, m_portIndex);
  Select(baud_, m_baudIndex);
  Select(parity_, m_parityIndex);
  Select(dataBits_, m_dataBitsIndex);
  Select(stopBits_, m_stopBitsIndex);
  open_->setChecked(m_rs232Open != 0);
  machine_dialogs::CheckButton(mode_, m_mode);
  return true;
}

// The port list only records the index; its text member keeps the text read
// when the dialog opened.
void CComSetDlg::OnPortChange() { Take(port_, m_portIndex); }

void CComSetDlg::OnListChange(const QComboBox* list, int& index, QString& text) {
  Take(list, index);
  text = list->currentText();
  UpdateData(false);
}

void CComSetDlg::OnBaudChange() { OnListChange(baud_, m_baudIndex, m_baudText); }
void CComSetDlg::OnParityChange() { OnListChange(parity_, m_parityIndex, m_parityText); }
void CComSetDlg::OnDataBitsChange() { OnListChange(dataBits_, m_dataBitsIndex, m_dataBitsText); }
void CComSetDlg::OnStopBitsChange() { OnListChange(stopBits_, m_stopBitsIndex, m_stopBitsText); }

void CComSetDlg::OnModeClick() {
  UpdateData(true);
  port_->setEnabled(m_mode == 1);
}

void CComSetDlg::accept() {
  if (!UpdateData(true)) return;
  QDialog::accept();
}

QWidget* CComSetDlg::GetDlgItem(int id) const { return machine_dialogs::FindControl(this, id); }
