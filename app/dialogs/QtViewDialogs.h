#pragma once
// The layout view's dialogs on Qt.
#include "app/views/model/ViewDialogHost.h"

class QWidget;

class QtViewDialogs : public IViewDialogs {
 public:
  explicit QtViewDialogs(QWidget* parent) : parent_(parent) {}
  bool AskRotateAngle(float& degrees) override;
  bool AskMatrixCopy(MatrixCopyValues& values) override;
  bool AskOffset(float& x, float& y) override;
  bool AskSizeAndPosition(SizePositionTexts& texts) override;
  bool AskFillFile(float& angle, float& distance) override;
  bool AskMarkOrder(std::vector<CObjElement*>& order) override;
  bool AskReferenceArc(ReferenceArcValues& values) override;
  bool AskPltLibrary(CPointList& points) override;

 private:
  QWidget* parent_;
};
