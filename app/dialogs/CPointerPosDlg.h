#pragma once
// "Pointer position": the work position in millimetres. No range check here;
// the marking controller keeps the point inside the work area.
#include <QDialog>

class QLineEdit;

class CPointerPosDlg : public QDialog {
 public:
  static constexpr int IDD = 196;
  static constexpr int IDC_POS_X = 1169;
  static constexpr int IDC_POS_Y = 1170;

  explicit CPointerPosDlg(QWidget* parent = nullptr);

  double m_x = 0.0;
  double m_y = 0.0;

  void OnInitDialog();
  // A text that is no number keeps the dialog open after its message.
  void accept() override;
  QWidget* GetDlgItem(int id) const;

 private:
  QLineEdit* x_ = nullptr;
  QLineEdit* y_ = nullptr;
};
