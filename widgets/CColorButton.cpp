#include "widgets/CColorButton.h"

#include <QPainter>
#include <QStyleOptionFocusRect>
#include <cstdlib>

namespace {

QColor ToQColor(COLORREF c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

}  // namespace

CColorButton::CColorButton(QWidget* parent) : QPushButton(parent) {}

int CColorButton::Attach(int controlId, QWidget* parent, COLORREF swatch, COLORREF text, COLORREF disabledText,
                         int bevel) {
  if (parent == nullptr) return 0;
  setObjectName(QString("button%1").arg(controlId));
  swatch_ = swatch;
  text_ = text;
  disabledText_ = disabledText;
  bevel_ = bevel;
  update();
  return 1;
}

void CColorButton::SetColor(COLORREF colour) {
  swatch_ = colour;
  update();
}

void CColorButton::BevelColors(int width, int ring, COLORREF& light, COLORREF& dark) {
  if (std::abs(width) == 1) {
    light = RGB(255, 255, 255);
    dark = RGB(128, 128, 128);
    return;
  }
  const int l = 192 + 63 / (ring + 1);
  const int d = 255 / (ring + 2);
  light = RGB(l, l, l);
  dark = RGB(d, d, d);
}

void CColorButton::DrawBevel(QPainter& painter, QRect rect, int width) const {
  const int rings = std::abs(width);
  for (int c = 0; c < rings; ++c) {
    COLORREF light = 0;
    COLORREF dark = 0;
    BevelColors(width, c, light, dark);
    COLORREF topLeft = width > 0 ? light : dark;
    COLORREF bottomRight = width > 0 ? dark : light;
    if (width < 0 && rings > 1 && c == rings - 1) bottomRight = RGB(1, 1, 1);
    const int l = rect.left();
    const int t = rect.top();
    const int r = rect.right();
    const int b = rect.bottom();
    painter.setPen(ToQColor(topLeft));
    painter.drawLine(l, t, r, t);
    painter.drawLine(l, t, l, b);
    painter.setPen(ToQColor(bottomRight));
    painter.drawLine(l, b, r, b);
    painter.drawLine(r, t, r, b);
    rect.adjust(1, 1, -1, -1);
  }
}

void CColorButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect item = rect();
  const QRect focus = item.adjusted(4, 4, -4, -4);
  const QString caption = text().left(512);
  auto face = [&](int bevel, COLORREF captionColour) {
    painter.fillRect(item, ToQColor(swatch_));
    DrawBevel(painter, item, bevel);
    painter.setPen(ToQColor(captionColour));
    painter.drawText(item, Qt::AlignCenter | Qt::TextSingleLine, caption);
  };
  face(bevel_, text_);
  auto drawFocus = [&] {
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.rect = focus;
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
  };
  if (hasFocus()) {
    drawFocus();
    if (isDown()) {
      face(-1, text_);
      drawFocus();
    }
  } else if (!isEnabled()) {
    painter.setPen(ToQColor(disabledText_));
    painter.drawText(item, Qt::AlignCenter | Qt::TextSingleLine, caption);
  }
}
