#include "app/views/CRulerBars.h"

#include <QPainter>

namespace {
constexpr int kRulerThickness = 20;
}

CRulerBar::CRulerBar(Qt::Orientation orientation, int id, QWidget* parent)
    : QWidget(parent), orientation_(orientation), id_(id) {
  setObjectName(QString("ruler%1").arg(id));
  if (orientation_ == Qt::Horizontal) {
    setFixedHeight(kRulerThickness);
  } else {
    setFixedWidth(kRulerThickness);
  }
}

void CRulerBar::SetOrigin(int x, int y) {
  originX_ = x;
  originY_ = y;
}

void CRulerBar::SetScale(float scale) {
  scale_ = scale;
  update();
}

void CRulerBar::Mark(int which) {
  lastMark_ = which;
  update();
}

void CRulerBar::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), palette().color(QPalette::Button));
  p.setPen(palette().color(QPalette::Mid));
  if (orientation_ == Qt::Horizontal) {
    p.drawLine(0, height() - 1, width(), height() - 1);
  } else {
    p.drawLine(width() - 1, 0, width() - 1, height());
  }
}
