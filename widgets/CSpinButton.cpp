#include "widgets/CSpinButton.h"

#include <QToolButton>
#include <QVBoxLayout>

CSpinButton::CSpinButton(QWidget* parent) : QWidget(parent), up_(new QToolButton(this)), down_(new QToolButton(this)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  up_->setArrowType(Qt::UpArrow);
  down_->setArrowType(Qt::DownArrow);
  for (QToolButton* b : {up_, down_}) {
    b->setFixedSize(16, 11);
    b->setFocusPolicy(Qt::NoFocus);
    b->setAutoRepeat(true);
    layout->addWidget(b);
  }
  connect(up_, &QToolButton::clicked, this, [this] { Report(-1); });
  connect(down_, &QToolButton::clicked, this, [this] { Report(+1); });
}

void CSpinButton::Report(int delta) {
  if (onDelta_) onDelta_(delta);
}
