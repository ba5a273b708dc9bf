#pragma once
// "Config printer": margins, line width and scale of the paper print.
#include <QDialog>

#include "app/views/model/ViewSettingsFiles.h"

class QComboBox;
class QLineEdit;

class CPrinterConfigDlg : public QDialog {
 public:
  static constexpr int IDD = 181;
  static constexpr int IDC_LINE_WIDTH = 1042;
  static constexpr int IDC_SCALE = 1043;
  static constexpr int IDC_EDGE_X = 1044;
  static constexpr int IDC_EDGE_Y = 1045;
  static constexpr int IDC_CUSTOM_SCALE = 1046;

  explicit CPrinterConfigDlg(QWidget* parent = nullptr);

  // The record edited; OK writes the five values back into it.
  PaperPrintSet m_record;

  int DoModal();
  void OnInitDialog();
  // The scale list's selection enables the custom scale at once.
  void OnScaleChange();
  void accept() override;
  QWidget* GetDlgItem(int id) const;

 private:
  QLineEdit* edgeX_ = nullptr;
  QLineEdit* edgeY_ = nullptr;
  QComboBox* lineWidth_ = nullptr;
  QComboBox* scale_ = nullptr;
  QLineEdit* customScale_ = nullptr;
};
