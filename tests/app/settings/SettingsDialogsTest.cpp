#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app/core/StartupValues.h"
#include "app/settings/CPasswordDlg.h"
#include "app/settings/CPrinterConfigDlg.h"
#include "app/settings/CScreenSizeDlg.h"
#include "document/geometry/SharedHelpers.h"
#include "tests/app/start/TestFolder.h"
#include "values/ShellValues.h"

namespace {

template <typename T, typename D>
T* Item(D& dialog, int id) {
  T* item = qobject_cast<T*>(dialog.GetDlgItem(id));
  EXPECT_NE(item, nullptr) << id;
  return item;
}

TEST(PasswordDialog, OnlyAnExactAccessCodeEnablesOkAndItStaysEnabled) {
  CPasswordDlg dialog;
  auto* edit = Item<QLineEdit>(dialog, CPasswordDlg::IDC_PASSWORD);
  auto* ok = Item<QPushButton>(dialog, CPasswordDlg::IDOK_BUTTON);
  EXPECT_EQ(edit->echoMode(), QLineEdit::Password);
  EXPECT_FALSE(ok->isEnabled());
  for (const char* wrong : {"quenmar", "QUENMART", "quenmart ", "vessolinx", ""}) {
    edit->setText(QString::fromLatin1(wrong));
    EXPECT_FALSE(ok->isEnabled()) << wrong;
  }
  edit->clear();
  QTest::keyClicks(edit, "vessolin");
  EXPECT_TRUE(ok->isEnabled());
  QTest::keyClick(edit, Qt::Key_Backspace);
  EXPECT_TRUE(ok->isEnabled()) << "OK stays enabled once unlocked";
  ok->click();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST(PrinterConfigDialog, CustomScaleFollowsTheScaleChoiceAndOkStoresTheValues) {
  CPrinterConfigDlg dialog;
  dialog.m_record.edgeX = 1.5f;
  dialog.m_record.edgeY = 2.0f;
  dialog.m_record.customScale = 100.0f;
  dialog.m_record.lineWidthIndex = 10;  // "12-线宽"
  dialog.m_record.scaleMode = 0;
  dialog.OnInitDialog();
  auto* scale = Item<QComboBox>(dialog, CPrinterConfigDlg::IDC_SCALE);
  auto* width = Item<QComboBox>(dialog, CPrinterConfigDlg::IDC_LINE_WIDTH);
  auto* custom = Item<QLineEdit>(dialog, CPrinterConfigDlg::IDC_CUSTOM_SCALE);
  EXPECT_EQ(width->count(), 15);
  EXPECT_EQ(width->currentText(), QStringLiteral("12-线宽"));
  EXPECT_FALSE(custom->isEnabled());
  scale->setCurrentIndex(2);
  EXPECT_TRUE(custom->isEnabled());
  scale->setCurrentIndex(1);
  EXPECT_FALSE(custom->isEnabled());
  scale->setCurrentIndex(2);
  custom->setText("250");
  Item<QLineEdit>(dialog, CPrinterConfigDlg::IDC_EDGE_X)->setText("3.25");
  width->setCurrentIndex(0);
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_FLOAT_EQ(dialog.m_record.edgeX, 3.25f);
  EXPECT_FLOAT_EQ(dialog.m_record.edgeY, 2.0f);
  EXPECT_FLOAT_EQ(dialog.m_record.customScale, 250.0f);
  EXPECT_EQ(dialog.m_record.scaleMode, 2);
  EXPECT_EQ(dialog.m_record.lineWidthIndex, 0);
}

TEST(ScreenSizeDialog, TextThatIsNoNumberKeepsTheDialogOpen) {
  auto prompt = FreshPrompt();
  CScreenSizeDlg dialog;
  dialog.m_width = 340.0f;
  dialog.m_height = 270.0f;
  dialog.OnInitDialog();
  EXPECT_EQ(Item<QLineEdit>(dialog, CScreenSizeDlg::IDC_WIDTH)->text(), "340");
  for (const char* bad : {"12abc", "", "-", "nan", "inf"}) {
    Item<QLineEdit>(dialog, CScreenSizeDlg::IDC_HEIGHT)->setText(QString::fromLatin1(bad));
    dialog.accept();
    EXPECT_NE(dialog.result(), QDialog::Accepted) << bad;
  }
  EXPECT_EQ(prompt->Texts(), std::vector<std::string>(5, "Please enter a number."));
  EXPECT_FLOAT_EQ(dialog.m_height, 270.0f);
  Item<QLineEdit>(dialog, CScreenSizeDlg::IDC_HEIGHT)->setText(" 20.5 ");
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_FLOAT_EQ(dialog.m_height, 20.5f);
}

TEST(ScreenSize, SmallSizesAreRaisedAndTheScalesAndSettingsFollow) {
  FreshSettings();
  ApplyPhysicalScreenSize(20.0f, 10.0f, 1000, 800);
  EXPECT_DOUBLE_EQ(g_physScreenWidthMm, 50.0);
  EXPECT_DOUBLE_EQ(g_physScreenHeightMm, 40.0);
  EXPECT_DOUBLE_EQ(g_pxPerMmX, 20.0);
  EXPECT_DOUBLE_EQ(g_pxPerMmY, 20.0);
  float stored = 0.0f;
  ASSERT_EQ(ReadRegFloat("PhyScreenWidth", stored), 1);
  EXPECT_FLOAT_EQ(stored, 50.0f);
  ApplyPhysicalScreenSize(400.0f, 250.0f, 1600, 1000);
  EXPECT_DOUBLE_EQ(g_pxPerMmX, 4.0);
  ReadRegFloat("PhyScreenHeight", stored);
  EXPECT_FLOAT_EQ(stored, 250.0f);
}

}  // namespace
