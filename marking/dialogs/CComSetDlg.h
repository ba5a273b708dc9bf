#pragma once
// "Com setting": the text port's serial settings. The dialog only edits its
// members; the caller copies the settings in before and out after OK.
// Without exec(): set the members, OnInitDialog(), work the controls,
// accept(), read the members.
#include <QDialog>
#include <QString>

class QButtonGroup;
class QCheckBox;
class QComboBox;

class CComSetDlg : public QDialog {
 public:
  static constexpr int IDD = 204;
  static constexpr int IDC_PORT = 1060;
  static constexpr int IDC_BAUD = 1075;
  static constexpr int IDC_PARITY = 1076;
  static constexpr int IDC_DATABITS = 1077;
  static constexpr int IDC_STOPBITS = 1078;
  static constexpr int IDC_RS232_OPEN = 1089;
  static constexpr int IDC_MODE_USB = 1058;
  static constexpr int IDC_MODE_RS232 = 1059;
  static constexpr int kMaxPortIndex = 100;

  explicit CComSetDlg(QWidget* parent = nullptr);
  ~CComSetDlg() override;

  // The members, bound to the controls (indexes into the lists).
  int m_portIndex = 0;
  QString m_portText;
  int m_baudIndex = 0;
  QString m_baudText;
  int m_parityIndex = 0;
  QString m_parityText;
  int m_dataBitsIndex = 0;
  QString m_dataBitsText;
  int m_stopBitsIndex = 0;
  QString m_stopBitsText;
  int m_rs232Open = 0;
  int m_mode = -1;  // 0 USB, 1 RS232; both buttons are hidden

  // OnInitDialog, then the modal loop.
  int DoModal();
  void OnInitDialog();
  void OnPortChange();
  void OnBaudChange();
  void OnParityChange();
  void OnDataBitsChange();
  void OnStopBitsChange();
  void OnModeClick();
  // Reads the controls into the members and closes with OK.
  void accept() override;

  // Members to controls (false) or controls to members (true).
  bool UpdateData(bool save);
  QWidget* GetDlgItem(int id) const;

 private:
  void BuildControls();
  // A list's choice into its index and text members, then back to the controls.
  void OnListChange(const QComboBox* list, int& index, QString& text);

  QComboBox* port_ = nullptr;
  QComboBox* baud_ = nullptr;
  QComboBox* parity_ = nullptr;
  QComboBox* dataBits_ = nullptr;
  QComboBox* stopBits_ = nullptr;
  QCheckBox* open_ = nullptr;
  QButtonGroup* mode_ = nullptr;
};
