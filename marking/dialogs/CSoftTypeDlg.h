#pragma once
// "Soft type(USB or LPT)": the board type and the port-board options. The
// dialog only edits its members; the caller copies them in before and out
// after OK. Without exec(): set the members, OnInitDialog(), work the
// controls, accept(), read result() and the members.
#include <QDialog>
#include <QString>

class QButtonGroup;
class QCheckBox;
class QLineEdit;

class CSoftTypeDlg : public QDialog {
 public:
  static constexpr int IDD = 210;
  static constexpr int IDC_LPT_BIG = 1067;
  static constexpr int IDC_USB_BOARD = 1068;
  static constexpr int IDC_LPT_SMALL = 1069;
  static constexpr int IDC_PCI_LPT = 1071;
  static constexpr int IDC_BASE_ADDR = 1072;
  static constexpr int IDC_ACCESS_CODE = 1073;
  static constexpr int IDC_FREE_MODE = 1109;
  static constexpr int IDC_UPDATE = 1115;
  static constexpr int kBaseAddrMaxChars = 4;

  explicit CSoftTypeDlg(QWidget* parent = nullptr);
  ~CSoftTypeDlg() override;

  // The members, bound to the controls.
  int m_boardType = -1;       // 0 big port board, 1 USB board, 2 small port board
  int m_pciLptCard = 0;       // CheckPCIBoard
  QString m_baseAddr;         // PCI9865Base in hexadecimal, parsed by the caller
  QString m_accessCode;
  int m_freeMode = 0;         // ControlBit0Switch
  int m_update = 0;

  // OnInitDialog, then the modal loop.
  int DoModal();
  void OnInitDialog();
  // Text change of the access code: the right code unlocks the base address.
  void OnAccessCodeChange();
  // Reads the controls into the members and closes with OK, unless the base
  // address is too long (the message is shown, the dialog stays open).
  void accept() override;

  // Members to controls (false) or controls to members (true); false when a
  // value fails its check.
  bool UpdateData(bool save);
  QWidget* GetDlgItem(int id) const;

  static bool IsAccessCode(const QString& lowerCaseText);

 private:
  void BuildControls();

  QButtonGroup* board_ = nullptr;
  QCheckBox* pciLpt_ = nullptr;
  QLineEdit* baseAddr_ = nullptr;
  QLineEdit* accessCode_ = nullptr;
  QCheckBox* freeMode_ = nullptr;
  QCheckBox* update_ = nullptr;
};
