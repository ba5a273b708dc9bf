#include "properties/pages/CDividePreviewEdit.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "document/objects/CObjElement.h"
#include "platform_qt/QPainterDeviceContext.h"
#include "values/ShellValues.h"

namespace {

constexpr double kBigDragMm = 5;
constexpr double kSmallDragMm = 1;
constexpr double kClickWidenMm = 0.5;

}  // namespace

CDividePreviewEdit::CDividePreviewEdit(QWidget* parent) : QWidget(parent) {
  setObjectName("preview1166");
  setMinimumSize(206, 250);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void CDividePreviewEdit::SetElement(CObjElement* element) {
  element_ = element;
  update();
}

double CDividePreviewEdit::FitScale(int clientWidth, int clientHeight, const CDoubleRect& bounds, double pxPerMmX,
                                    double pxPerMmY) {
  const double w = std::fabs(bounds.Width()) * pxPerMmX;
  const double h = std::fabs(bounds.Height()) * pxPerMmY;
  double scale = 0;
  bool any = false;
  if (w > 0 && std::isfinite(w)) {
    scale = (clientWidth - kMargin) / w;
    any = true;
  }
  if (h > 0 && std::isfinite(h)) {
    const double sh = (clientHeight - kMargin) / h;
    scale = any ? std::min(scale, sh) : sh;
    any = true;
  }
  return any && scale > 0 ? scale : 1.0;
}

CDoublePoint CDividePreviewEdit::ToMm(const QPoint& p, const QPoint& centre, double scale, double pxPerMm) {
  const double f = scale * pxPerMm;
  return {(p.x() - centre.x()) / f, (centre.y() - p.y()) / f};
}

void CDividePreviewEdit::SelectByDrag(CObjElement& element, CDoubleRect rect, double scale, const CDoublePoint& offset) {
  const double w = std::fabs(rect.Width());
  const double h = std::fabs(rect.Height());
  if (w > kBigDragMm && h > kBigDragMm) {
    element.SplitSelectByPoint(rect, scale, offset);
  } else if (w >= kSmallDragMm || h >= kSmallDragMm) {
    element.SplitSelectByRect(rect, scale, offset);
  } else {
    rect.left -= kClickWidenMm;
    rect.right += kClickWidenMm;
    rect.top += kClickWidenMm;
    rect.bottom -= kClickWidenMm;
    element.SplitSelectByRect(rect, scale, offset);
  }
}

void CDividePreviewEdit::UpdateTransform() {
  if (element_ == nullptr) return;
  const CDoubleRect bounds = element_->GetBoundRect();
  scale_ = FitScale(width(), height(), bounds, g_pxPerMmX, g_pxPerMmY);
  offset_ = CDoublePoint(-bounds.CenterX(), -bounds.CenterY());
}

void CDividePreviewEdit::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::black);
  if (element_ != nullptr) {
    UpdateTransform();
    platform_qt::QPainterDeviceContext dc(painter);
    const platform::DcPen white{platform::PS_SOLID, 1, RGB(255, 255, 255)};
    const platform::DcPen selected{platform::PS_SOLID, 1, RGB(255, 0, 0)};
    element_->DrawMarkPath(dc, width() / 2, height() / 2, scale_, white, white, selected, offset_.x, offset_.y);
  }
  if (dragging_) {
    painter.setPen(QPen(QColor(0, 255, 255), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRect(start_, current_).normalized());
  }
}

void CDividePreviewEdit::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  dragging_ = true;
  start_ = current_ = event->position().toPoint();
}

void CDividePreviewEdit::mouseMoveEvent(QMouseEvent* event) {
  if (!dragging_ || !(event->buttons() & Qt::LeftButton)) return;
  current_ = event->position().toPoint();
  update();
}

void CDividePreviewEdit::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  const bool inside = rect().contains(at);
  if (event->button() == Qt::RightButton) {
    if (inside && element_ != nullptr) element_->SplitSelectAll();
    update();
    return;
  }
  if (event->button() != Qt::LeftButton || !dragging_) return;
  dragging_ = false;
  if (element_ == nullptr) return;
  UpdateTransform();
  const QPoint centre(width() / 2, height() / 2);
  const QPoint end = inside ? at : current_;
  const CDoublePoint a = ToMm(start_, centre, scale_, g_pxPerMmX);
  const CDoublePoint b = ToMm(end, centre, scale_, g_pxPerMmX);
  CDoubleRect rectMm;
  rectMm.SetFromCorners(a.x, a.y, b.x, b.y);
  if (inside) {
    SelectByDrag(*element_, rectMm, scale_, offset_);
  } else if (rectMm.Width() > 0 && std::fabs(rectMm.Height()) > 0) {
    element_->SplitSelectByPoint(rectMm, scale_, offset_);
  }
  update();
}
