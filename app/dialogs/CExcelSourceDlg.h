#pragma once
// Dialog 183 "Excel data auto marking": the spreadsheet file, its sheet, the
// application's visibility switches and the fixed-row switch of the link.
#include <QDialog>
#include <functional>

#include "app/views/model/ExcelLinkRecord.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

class CExcelSourceDlg : public QDialog {
 public:
  static constexpr int IDD = 183;
  static constexpr int IDC_PATH = 1050;
  static constexpr int IDC_BROWSE = 1047;
  static constexpr int IDC_VISIBLE = 1184;
  static constexpr int IDC_USER_CONTROL = 1185;
  static constexpr int IDC_SHEET = 1054;
  static constexpr int IDC_FIXED_ROW = 1055;
  static constexpr int kSheetChoices = 16;

  explicit CExcelSourceDlg(const ExcelSourceValues& values, QWidget* parent = nullptr);

  // The values as the dialog holds them (after OK: as the user left them).
  const ExcelSourceValues& Values() const { return values_; }
  QWidget* GetDlgItem(int id) const;
  // Reads the controls; a path the link record cannot hold is refused with
  // its message and the dialog stays open.
  void accept() override;

 private:
  void OnBrowse();

  ExcelSourceValues values_;
  QLabel* path_ = nullptr;
  QCheckBox* visible_ = nullptr;
  QCheckBox* userControl_ = nullptr;
  QComboBox* sheet_ = nullptr;
  QCheckBox* fixedRow_ = nullptr;
  QPushButton* browse_ = nullptr;
};

// Runs the dialog over the values through `runModal` (QDialog::exec, or a
// test's driver); true and the values changed on OK.
bool EditExcelSource(ExcelSourceValues& values, const std::function<int(QDialog&)>& runModal);
