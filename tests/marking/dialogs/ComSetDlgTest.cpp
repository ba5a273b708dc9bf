#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <cstdlib>

#include "marking/dialogs/CComSetDlg.h"

namespace {

QComboBox* ListOf(CComSetDlg& dlg, int id) { return qobject_cast<QComboBox*>(dlg.GetDlgItem(id)); }
QCheckBox* OpenCheck(CComSetDlg& dlg) { return qobject_cast<QCheckBox*>(dlg.GetDlgItem(CComSetDlg::IDC_RS232_OPEN)); }

// The operator picks an entry; the list notifies the dialog.
void Choose(CComSetDlg& dlg, int id, int index, void (CComSetDlg::*onChange)()) {
  ListOf(dlg, id)->setCurrentIndex(index);
  (dlg.*onChange)();
}

// The values the caller fills in from the serial settings.
void Fill(CComSetDlg& dlg, int port, int baud, int parity, int data, int stop, int open) {
  dlg.m_portIndex = port;
  dlg.m_baudIndex = baud;
  dlg.m_parityIndex = parity;
  dlg.m_dataBitsIndex = data;
  dlg.m_stopBitsIndex = stop;
  dlg.m_rs232Open = open;
}

TEST(ComSetDialog, ListsHoldTheSettingsTextsInIndexOrder) {
  CComSetDlg dlg;
  EXPECT_EQ(dlg.windowTitle(), "Com setting");
  QComboBox* port = ListOf(dlg, CComSetDlg::IDC_PORT);
  ASSERT_NE(port, nullptr);
  ASSERT_EQ(port->count(), 20);
  EXPECT_EQ(port->itemText(0), "COM1");
  EXPECT_EQ(port->itemText(19), "COM20");
  // Each entry names the device the text port opens for it.
  ::setenv("VENDRIK_COM3", "/dev/ttyUSB7", 1);
  CComSetDlg mapped;
  ::unsetenv("VENDRIK_COM3");
  EXPECT_EQ(ListOf(mapped, CComSetDlg::IDC_PORT)->itemData(2, Qt::ToolTipRole).toString(), "/dev/ttyUSB7");
  EXPECT_EQ(ListOf(mapped, CComSetDlg::IDC_PORT)->itemData(3, Qt::ToolTipRole).toString(), "/dev/ttyS3");
  QComboBox* baud = ListOf(dlg, CComSetDlg::IDC_BAUD);
  ASSERT_EQ(baud->count(), 8);
  EXPECT_EQ(baud->itemText(3), "9600");
  EXPECT_EQ(baud->itemText(7), "115200");
  QComboBox* parity = ListOf(dlg, CComSetDlg::IDC_PARITY);
  ASSERT_EQ(parity->count(), 3);
  EXPECT_EQ(parity->itemText(0), QStringLiteral("无效验位"));
  EXPECT_EQ(parity->itemText(1), QStringLiteral("奇效验"));
  EXPECT_EQ(parity->itemText(2), QStringLiteral("偶效验"));
  QComboBox* data = ListOf(dlg, CComSetDlg::IDC_DATABITS);
  EXPECT_EQ(data->itemText(0), "8");
  EXPECT_EQ(data->itemText(2), "6");
  QComboBox* stop = ListOf(dlg, CComSetDlg::IDC_STOPBITS);
  EXPECT_EQ(stop->itemText(1), "2");
  QCheckBox* open = OpenCheck(dlg);
  ASSERT_NE(open, nullptr);
  EXPECT_EQ(open->text(), "Open (RS232)");
}

TEST(ComSetDialog, ValuesInAreShownAndComeBackUnchangedOnOk) {
  CComSetDlg dlg;
  Fill(dlg, 4, 6, 2, 1, 0, 1);
  dlg.OnInitDialog();
  EXPECT_EQ(ListOf(dlg, CComSetDlg::IDC_PORT)->currentText(), "COM5");
  EXPECT_EQ(dlg.m_portText, "COM5");
  EXPECT_EQ(dlg.m_baudText, "57600");
  EXPECT_EQ(dlg.m_parityText, QStringLiteral("偶效验"));
  EXPECT_EQ(dlg.m_dataBitsText, "7");
  EXPECT_EQ(dlg.m_stopBitsText, "1");
  EXPECT_TRUE(OpenCheck(dlg)->isChecked());

  dlg.accept();
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  EXPECT_EQ(dlg.m_portIndex, 4);
  EXPECT_EQ(dlg.m_baudIndex, 6);
  EXPECT_EQ(dlg.m_parityIndex, 2);
  EXPECT_EQ(dlg.m_dataBitsIndex, 1);
  EXPECT_EQ(dlg.m_stopBitsIndex, 0);
  EXPECT_EQ(dlg.m_rs232Open, 1);
}

TEST(ComSetDialog, OperatorChoicesReachTheMembers) {
  CComSetDlg dlg;
  Fill(dlg, 0, 3, 0, 0, 1, 0);
  dlg.OnInitDialog();

  Choose(dlg, CComSetDlg::IDC_BAUD, 7, &CComSetDlg::OnBaudChange);
  EXPECT_EQ(dlg.m_baudIndex, 7);
  EXPECT_EQ(dlg.m_baudText, "115200");
  Choose(dlg, CComSetDlg::IDC_PARITY, 1, &CComSetDlg::OnParityChange);
  EXPECT_EQ(dlg.m_parityText, QStringLiteral("奇效验"));
  Choose(dlg, CComSetDlg::IDC_DATABITS, 2, &CComSetDlg::OnDataBitsChange);
  EXPECT_EQ(dlg.m_dataBitsText, "6");
  Choose(dlg, CComSetDlg::IDC_STOPBITS, 0, &CComSetDlg::OnStopBitsChange);
  EXPECT_EQ(dlg.m_stopBitsText, "1");
  // The port list takes the index only; its text stays the opening one.
  Choose(dlg, CComSetDlg::IDC_PORT, 11, &CComSetDlg::OnPortChange);
  EXPECT_EQ(dlg.m_portIndex, 11);
  EXPECT_EQ(dlg.m_portText, "COM1");
  OpenCheck(dlg)->setChecked(true);

  dlg.accept();
  EXPECT_EQ(dlg.m_portIndex, 11);
  EXPECT_EQ(dlg.m_baudIndex, 7);
  EXPECT_EQ(dlg.m_parityIndex, 1);
  EXPECT_EQ(dlg.m_dataBitsIndex, 2);
  EXPECT_EQ(dlg.m_stopBitsIndex, 0);
  EXPECT_EQ(dlg.m_rs232Open, 1);
}

TEST(ComSetDialog, PortIndexOutsideTheListShowsNothingAndOkDoesNotLoseIt) {
  CComSetDlg high;
  Fill(high, 120, 3, 0, 0, 1, 1);
  high.OnInitDialog();
  EXPECT_EQ(high.m_portIndex, 100);
  EXPECT_EQ(ListOf(high, CComSetDlg::IDC_PORT)->currentIndex(), -1);
  EXPECT_TRUE(high.m_portText.isEmpty());
  high.accept();
  EXPECT_EQ(high.m_portIndex, 100);  // not -1, which would close the port unasked

  CComSetDlg inRange;
  Fill(inRange, 25, 3, 0, 0, 1, 1);  // COM26: valid for the port, not in the list
  inRange.OnInitDialog();
  inRange.accept();
  EXPECT_EQ(inRange.m_portIndex, 25);

  CComSetDlg negative;
  Fill(negative, -3, 3, 0, 0, 1, 0);
  negative.OnInitDialog();
  EXPECT_EQ(negative.m_portIndex, 0);
  EXPECT_EQ(negative.m_portText, "COM1");
}

TEST(ComSetDialog, PortListFollowsTheModeButtonsWhichAreHidden) {
  CComSetDlg dlg;
  dlg.OnInitDialog();
  auto* usb = qobject_cast<QRadioButton*>(dlg.GetDlgItem(CComSetDlg::IDC_MODE_USB));
  auto* rs232 = qobject_cast<QRadioButton*>(dlg.GetDlgItem(CComSetDlg::IDC_MODE_RS232));
  ASSERT_NE(usb, nullptr);
  ASSERT_NE(rs232, nullptr);
  EXPECT_TRUE(usb->isHidden());
  EXPECT_FALSE(rs232->isEnabled());
  EXPECT_EQ(dlg.m_mode, -1);
  EXPECT_TRUE(ListOf(dlg, CComSetDlg::IDC_PORT)->isEnabled());

  usb->setChecked(true);
  dlg.OnModeClick();
  EXPECT_EQ(dlg.m_mode, 0);
  EXPECT_FALSE(ListOf(dlg, CComSetDlg::IDC_PORT)->isEnabled());
  rs232->setChecked(true);
  dlg.OnModeClick();
  EXPECT_EQ(dlg.m_mode, 1);
  EXPECT_TRUE(ListOf(dlg, CComSetDlg::IDC_PORT)->isEnabled());
}

}  // namespace
