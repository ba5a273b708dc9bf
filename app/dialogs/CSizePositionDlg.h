#pragma once
// Dialog 186 "Size and position": width, height and the left-top corner of
// the selection. "XY same factor" sets the edit not typed in last in
// proportion to the selection's own size.
#include <string>

#include "app/dialogs/CFormDialog.h"
#include "app/views/model/ViewDialogHost.h"

class CSizePositionDlg : public CFormDialog {
 public:
  CSizePositionDlg(const SizePositionTexts& texts, QWidget* parent = nullptr);
  SizePositionTexts Texts() const;
  // The other side's text for a typed side, in proportion to the original
  // width w0 and height h0; nothing when the divisor is 0 or the text no number.
  static std::string ProportionalText(const std::string& typed, double typedOriginal, double otherOriginal,
                                      bool& ok);
  void OnSameFactor();

 private:
  double width0_;
  double height0_;
  bool widthTypedLast_ = true;
  QLineEdit* width_;
  QLineEdit* height_;
  QLineEdit* left_;
  QLineEdit* top_;
};
