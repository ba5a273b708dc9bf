#pragma once
// "Machine origin": which corner of the work area the machine's origin is in.
// Without exec(): set m_corner, OnInitDialog(), check a radio, accept().
#include <QDialog>

class QButtonGroup;

class CMachineOriginDlg : public QDialog {
 public:
  static constexpr int IDD = 193;
  static constexpr int IDC_LEFT_TOP = 1164;  // 1164..1167: left-top, left-bottom, right-top, right-bottom

  explicit CMachineOriginDlg(QWidget* parent = nullptr);

  int m_corner = 0;  // 0..3

  void OnInitDialog();
  void accept() override;
  QWidget* GetDlgItem(int id) const;

 private:
  QButtonGroup* corners_ = nullptr;
};
