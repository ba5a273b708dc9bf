#pragma once
// "Password": guards clearing the marking records. OK is enabled once the
// text is one of the access codes and stays enabled; there is no Cancel
// button (closing the window or Esc cancels).
#include <QDialog>

class QLineEdit;
class QPushButton;

class CPasswordDlg : public QDialog {
 public:
  static constexpr int IDD = 198;
  static constexpr int IDC_PASSWORD = 1014;
  static constexpr int IDOK_BUTTON = 1;

  explicit CPasswordDlg(QWidget* parent = nullptr);

  int DoModal() { return exec(); }
  // Text change of the password edit.
  void OnChangePassword();
  QWidget* GetDlgItem(int id) const;

 private:
  QLineEdit* password_ = nullptr;
  QPushButton* ok_ = nullptr;
};
