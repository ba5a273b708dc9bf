#include "app/dialogs/CSizePositionDlg.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <cmath>

#include "platform/NumberText.h"

CSizePositionDlg::CSizePositionDlg(const SizePositionTexts& texts, QWidget* parent)
    : CFormDialog("Size and position", parent),
      width0_(platform::ParseDoubleC(texts.width)),
      height0_(platform::ParseDoubleC(texts.height)) {
  height_ = AddText(1001, "Height (mm)", texts.height);
  width_ = AddText(1000, "Width (mm)", texts.width);
  auto* same = new QPushButton("XY same factor", this);
  same->setObjectName("button1163");
  Form()->addRow(same);
  left_ = AddText(1164, "Left top x", texts.left);
  top_ = AddText(1165, "Left top y", texts.top);
  QObject::connect(width_, &QLineEdit::textEdited, this, [this] { widthTypedLast_ = true; });
  QObject::connect(height_, &QLineEdit::textEdited, this, [this] { widthTypedLast_ = false; });
  QObject::connect(same, &QPushButton::clicked, this, [this] { OnSameFactor(); });
}

std::string CSizePositionDlg::ProportionalText(const std::string& typed, double typedOriginal, double otherOriginal,
                                               bool& ok) {
  bool parsed = false;
  const double value = platform::ParseDoubleC(typed, &parsed);
  ok = parsed && std::isfinite(value) && typedOriginal != 0 && std::isfinite(otherOriginal);
  return ok ? platform::FormatC("%.3f", otherOriginal * value / typedOriginal) : std::string();
}

void CSizePositionDlg::OnSameFactor() {
  bool ok = false;
  if (widthTypedLast_) {
    const std::string h = ProportionalText(width_->text().toStdString(), width0_, height0_, ok);
    if (ok) height_->setText(QString::fromStdString(h));
  } else {
    const std::string w = ProportionalText(height_->text().toStdString(), height0_, width0_, ok);
    if (ok) width_->setText(QString::fromStdString(w));
  }
}

SizePositionTexts CSizePositionDlg::Texts() const {
  return {width_->text().toStdString(), height_->text().toStdString(), left_->text().toStdString(),
          top_->text().toStdString()};
}
