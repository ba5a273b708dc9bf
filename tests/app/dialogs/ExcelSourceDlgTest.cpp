// Dialog 183 worked through its controls: the file chooser, the switches,
// the sheet list, OK and Cancel, and a path the link record cannot hold.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/dialogs/CExcelSourceDlg.h"
#include "platform/FileDialog.h"
#include "platform/Prompt.h"

namespace {

class ExcelSourceDlgTest : public ::testing::Test {
 protected:
  void SetUp() override {
    files_ = std::make_shared<platform::ScriptedFileDialog>();
    platform::SetFileDialog(files_);
    prompt_ = std::make_shared<platform::ScriptedPrompt>();
    platform::SetPrompt(prompt_);
  }
  template <class T>
  static T* Item(CExcelSourceDlg& dialog, int id) {
    return dynamic_cast<T*>(dialog.GetDlgItem(id));
  }
  static void Click(QAbstractButton* button) {
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(6, button->height() / 2));
  }
  static void PickSheet(QComboBox* combo, int index) {
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Home);
    for (int i = 0; i < index; ++i) QTest::keyClick(combo, Qt::Key_Down);
  }

  std::shared_ptr<platform::ScriptedFileDialog> files_;
  std::shared_ptr<platform::ScriptedPrompt> prompt_;
};

}  // namespace

TEST_F(ExcelSourceDlgTest, ShowsTheRecordAndReturnsWhatTheUserSet) {
  ExcelSourceValues values{2, 0, 1, 0, "/data/old.xls"};
  files_->QueuePath("/data/new parts.xls");
  const bool ok = EditExcelSource(values, [&](QDialog& d) {
    auto& dialog = static_cast<CExcelSourceDlg&>(d);
    dialog.show();
    EXPECT_EQ(Item<QLabel>(dialog, 1050)->text(), "/data/old.xls");
    EXPECT_EQ(Item<QComboBox>(dialog, 1054)->currentIndex(), 2);
    EXPECT_EQ(Item<QComboBox>(dialog, 1054)->count(), 16);
    EXPECT_TRUE(Item<QCheckBox>(dialog, 1185)->isChecked());
    QTest::mouseClick(Item<QPushButton>(dialog, 1047), Qt::LeftButton);
    Click(Item<QCheckBox>(dialog, 1184));
    Click(Item<QCheckBox>(dialog, 1055));
    PickSheet(Item<QComboBox>(dialog, 1054), 5);
    dialog.accept();
    return dialog.result();
  });
  ASSERT_TRUE(ok);
  EXPECT_EQ(values.path, "/data/new parts.xls");
  EXPECT_EQ(values.sheetIndex, 5);
  EXPECT_EQ(values.visible, 1);
  EXPECT_EQ(values.userControl, 1);
  EXPECT_EQ(values.fixedRow, 1);
  ASSERT_EQ(files_->Requests().size(), 1u);
  EXPECT_EQ(files_->Requests()[0].filter, "Excel (*.xls;*.xlsx;*.xlsm)|*.xls;*.xlsx;*.xlsm||");
  EXPECT_EQ(files_->Requests()[0].defaultExt, ".xls");
  EXPECT_FALSE(files_->Requests()[0].save);
}

TEST_F(ExcelSourceDlgTest, CancelledChooserAndCancelKeepTheValues) {
  ExcelSourceValues values{1, 1, 0, 1, "/data/old.xls"};
  files_->QueueCancel();
  const bool ok = EditExcelSource(values, [&](QDialog& d) {
    auto& dialog = static_cast<CExcelSourceDlg&>(d);
    QTest::mouseClick(Item<QPushButton>(dialog, 1047), Qt::LeftButton);
    EXPECT_EQ(Item<QLabel>(dialog, 1050)->text(), "/data/old.xls");
    Click(Item<QCheckBox>(dialog, 1184));
    dialog.reject();
    return dialog.result();
  });
  EXPECT_FALSE(ok);
  EXPECT_EQ(values.visible, 1);
  EXPECT_EQ(values.path, "/data/old.xls");
}

TEST_F(ExcelSourceDlgTest, PathTooLongForTheRecordKeepsTheDialogOpen) {
  ExcelSourceValues values{0, 0, 0, 0, "/data/old.xls"};
  files_->QueuePath("/" + std::string(kExcelPathMax, 'x'));
  CExcelSourceDlg dialog(values);
  dialog.show();
  QTest::mouseClick(Item<QPushButton>(dialog, 1047), Qt::LeftButton);
  dialog.accept();
  EXPECT_TRUE(dialog.isVisible());
  ASSERT_EQ(prompt_->Texts().size(), 1u);
  EXPECT_EQ(prompt_->Texts()[0], kExcelPathTooLong);
  EXPECT_EQ(dialog.Values().path, "/data/old.xls");
}
