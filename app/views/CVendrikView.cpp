#include "app/views/CVendrikView.h"

#include <QPainter>

#include "app/shell/ShellValues.h"
#include "document/params/CDrawProperity.h"
#include "platform_qt/QtMessageTarget.h"

CVendrikView::CVendrikView(QWidget* parent) : QWidget(parent) {
  setObjectName("CVendrikView");
  setFocusPolicy(Qt::StrongFocus);
  target_ = std::make_unique<platform_qt::QtMessageTarget>([this](const platform::Message& m) { OnMessage(m); });
  // A new layout's parameter record carries the work area (the machine
  // settings' ranges when they were read, else the standard area).
  const CDrawProperity params;
  workWidthMm_ = params.GetRangeX();
  workHeightMm_ = params.GetRangeY();
}

CVendrikView::~CVendrikView() = default;

platform::MessageTarget& CVendrikView::Target() { return *target_; }

void CVendrikView::SetMessageHandler(std::function<void(const platform::Message&)> handler) {
  handler_ = std::move(handler);
}

void CVendrikView::OnMessage(const platform::Message& message) {
  if (handler_) handler_(message);
}

void CVendrikView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), QColor(242, 240, 246));
  const double w = workWidthMm_ * g_pxPerMmX;
  const double h = workHeightMm_ * g_pxPerMmY;
  const QRectF area((width() - w) / 2.0, (height() - h) / 2.0, w, h);
  p.fillRect(area, Qt::white);
  p.setPen(QPen(Qt::black, 1));
  p.drawRect(area);
  QPen axes(QColor(255, 0, 0), 1, Qt::DashDotLine);
  p.setPen(axes);
  p.drawLine(QPointF(area.left(), area.center().y()), QPointF(area.right(), area.center().y()));
  p.drawLine(QPointF(area.center().x(), area.top()), QPointF(area.center().x(), area.bottom()));
}
