#include "marking/widgets/CColorProgressCtrl.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QResizeEvent>
#include <QThread>
#include <algorithm>
#include <cstring>

#include "platform/RaceCheck.h"

CColorProgressCtrl::CColorProgressCtrl(QWidget* parent) : QWidget(parent) {
  const QPalette& colors = palette();
  barColor_ = colors.color(QPalette::Highlight);
  backgroundColor_ = colors.color(QPalette::Base);
  textColor_ = barColor_;
  textOverBarColor_ = backgroundColor_;
  // The paint covers every pixel; nothing needs erasing first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  clientWidth_ = width();
}

CColorProgressCtrl::~CColorProgressCtrl() = default;

void CColorProgressCtrl::SetRange(int lower, int upper) {
  std::lock_guard lock(mutex_);
  state_.lower = lower;
  state_.upper = upper;
}

void CColorProgressCtrl::SetStep(int step) {
  std::lock_guard lock(mutex_);
  state_.step = step;
}

int CColorProgressCtrl::BarWidth(const State& state, int clientWidth) {
  // An empty range draws no bar: never divide by it.
  if (state.upper <= state.lower) return 0;
  double fraction = (static_cast<double>(state.position) - state.lower) / (static_cast<double>(state.upper) - state.lower);
  return static_cast<int>(fraction * clientWidth);
}

int CColorProgressCtrl::SetPos(int position) {
  int previous;
  bool changed = false;
  {
    std::lock_guard lock(mutex_);
    previous = state_.position;
    state_.position = position;
    int width = BarWidth(state_, clientWidth_);
    if (width != state_.barWidth) {
      state_.barWidth = width;
      changed = true;
    }
  }
  if (changed) Redraw();
  return previous;
}

int CColorProgressCtrl::GetPos() const {
  std::lock_guard lock(mutex_);
  return state_.position;
}

void CColorProgressCtrl::SetWindowText(const QString& text) {
  bool changed;
  {
    std::lock_guard lock(mutex_);
    changed = state_.text != text;
    state_.text = text;
  }
  if (changed) Redraw();
}

QString CColorProgressCtrl::GetWindowText() const {
  std::lock_guard lock(mutex_);
  return state_.text;
}

int CColorProgressCtrl::GetWindowText(char* buffer, int maxCount) const {
  if (!buffer || maxCount <= 0) return 0;
  const QByteArray bytes = GetWindowText().toUtf8();
  int count = std::min(maxCount, static_cast<int>(bytes.size()));
  std::memcpy(buffer, bytes.constData(), static_cast<std::size_t>(count));
  if (count < maxCount) buffer[count] = '\0';
  return count;
}

int CColorProgressCtrl::LastBarWidth() const {
  std::lock_guard lock(mutex_);
  return state_.barWidth;
}

QEvent::Type CColorProgressCtrl::RedrawEvent() {
  static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
  return type;
}

void CColorProgressCtrl::Redraw() {
  if (QThread::currentThread() == thread()) {
    repaint();
    return;
  }
  // From a worker: the widget's thread paints; the event is dropped when the
  // widget is gone by then.
  auto* event = new QEvent(RedrawEvent());
  platform::HandOver(event);
  QCoreApplication::postEvent(this, event);
}

bool CColorProgressCtrl::event(QEvent* e) {
  platform::TakeOver(e);  // a redraw is made on the worker
  if (e->type() != RedrawEvent()) return QWidget::event(e);
  repaint();
  return true;
}

void CColorProgressCtrl::resizeEvent(QResizeEvent* event) {
  std::lock_guard lock(mutex_);
  clientWidth_ = event->size().width();
  state_.barWidth = -1;
}

void CColorProgressCtrl::paintEvent(QPaintEvent*) {
  State state;
  {
    std::lock_guard lock(mutex_);
    state = state_;
  }
  if (state.lower >= state.upper) return;
  const QRect client = rect();
  if (client.isEmpty()) return;
  const double fraction =
      (static_cast<double>(state.position) - state.lower) / (static_cast<double>(state.upper) - state.lower);
  const int filled = std::clamp(static_cast<int>(client.width() * fraction), 0, client.width());
  const QRect barPart(client.left(), client.top(), filled, client.height());
  const QRect restPart(client.left() + filled, client.top(), client.width() - filled, client.height());

  // Drawn into a memory bitmap first so the bar never flickers.
  const qreal ratio = devicePixelRatioF();
  QPixmap buffer(client.size() * ratio);
  buffer.setDevicePixelRatio(ratio);
  {
    QPainter painter(&buffer);
    painter.fillRect(barPart, barColor_);
    painter.fillRect(restPart, backgroundColor_);
    if (state.showText) {
      const QString text =
          state.text.isEmpty() ? QString::number(static_cast<int>(fraction * 100)) + QLatin1Char('%') : state.text;
      painter.setFont(font());
      painter.setClipRect(barPart);
      painter.setPen(textOverBarColor_);
      painter.drawText(client, Qt::AlignCenter | Qt::TextSingleLine, text);
      painter.setClipRect(restPart);
      painter.setPen(textColor_);
      painter.drawText(client, Qt::AlignCenter | Qt::TextSingleLine, text);
    }
  }
  QPainter(this).drawPixmap(client.topLeft(), buffer);
}
