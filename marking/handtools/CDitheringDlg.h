#pragma once
// "Dithering control": the stable time, the rotate factor and the switch that
// applies them. The dialog only edits its members; the caller copies them in
// before and out after OK. Without exec(): set the members, OnInitDialog(),
// work the controls, accept(), read result() and the members.
#include <QDialog>

class QCheckBox;
class QLineEdit;

class CDitheringDlg : public QDialog {
 public:
  static constexpr int IDD = 190;
  static constexpr int IDC_STABLE_TIME = 1000;
  static constexpr int IDC_APPLY_DITHERING = 1001;
  static constexpr int IDC_ROTATE_FACTOR = 1002;
  static constexpr int kStableTimeMax = 65535;
  static constexpr double kRotateFactorMin = 0.001;
  static constexpr double kRotateFactorMax = 100.0;

  explicit CDitheringDlg(QWidget* parent = nullptr);
  ~CDitheringDlg() override;

  int m_stableTime = 0;       // ms
  int m_applyDithering = 0;
  float m_rotateFactor = 0.0f;

  int DoModal();
  void OnInitDialog();
  // Reads the controls; a value out of its range keeps the dialog open after
  // the framework's message.
  void accept() override;
  bool UpdateData(bool save);
  QWidget* GetDlgItem(int id) const;

  // The members in and out around a modal run on the user-interface thread,
  // from whichever thread asks. Returns the dialog's result.
  struct Values {
    int stableTime = 0;
    int applyDithering = 0;
    float rotateFactor = 0.0f;
  };
  static int RunModal(Values& values, QWidget* parent = nullptr);

 private:
  QLineEdit* stableTime_ = nullptr;
  QCheckBox* apply_ = nullptr;
  QLineEdit* rotateFactor_ = nullptr;
};
