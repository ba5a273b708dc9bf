#include "app/views/CRulerBars.h"

#include <QPainter>

#include "app/core/RulerScale.h"
#include "platform_qt/QtMessageTarget.h"
#include "values/ShellMessages.h"
#include "values/ShellValues.h"

CRulerBar::CRulerBar(Qt::Orientation orientation, int id, QWidget* parent)
    : QWidget(parent), orientation_(orientation), id_(id) {
  setObjectName(QString("ruler%1").arg(id));
  if (orientation_ == Qt::Horizontal) {
    setFixedHeight(kThickness);
  } else {
    setFixedWidth(kThickness);
  }
  target_ = std::make_unique<platform_qt::QtMessageTarget>([this](const platform::Message& m) {
    if (m.msg != WM_RULER_MARK) return;
    lastMark_ = static_cast<int>(m.wParam);
    ++markCount_;
    update();
  });
}

CRulerBar::~CRulerBar() = default;

platform::MessageTarget& CRulerBar::Target() { return *target_; }

void CRulerBar::SetOrigin(int x, int y) {
  originX_ = x;
  originY_ = y;
}

void CRulerBar::SetScale(float scale) {
  scale_ = scale;
  update();
}

void CRulerBar::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), palette().color(QPalette::Button));
  const bool horizontal = orientation_ == Qt::Horizontal;
  // The band: the client less 2 pixels across and 18 along the end.
  const QRect band = horizontal ? QRect(0, 0, width() - 18, height() - 2) : QRect(0, 0, width() - 2, height() - 18);
  p.fillRect(band, Qt::white);
  // Sunken edge: shadow on the top-left, highlight on the bottom-right.
  p.setPen(palette().color(QPalette::Dark));
  p.drawLine(band.topLeft(), band.topRight());
  p.drawLine(band.topLeft(), band.bottomLeft());
  p.setPen(palette().color(QPalette::Light));
  p.drawLine(band.bottomLeft(), band.bottomRight());
  p.drawLine(band.topRight(), band.bottomRight());
  if (originX_ == -1 || originY_ == -1 || !zeroSource_) return;

  const int length = horizontal ? band.width() : band.height();
  const std::vector<RulerTick> ticks =
      RulerTicks(length, ZeroPosition(), horizontal ? g_pxPerMmX : g_pxPerMmY, scale_, horizontal);
  QFont font("MS Sans Serif");
  font.setPixelSize(8);
  font.setWeight(QFont::Light);
  p.setFont(font);
  p.setPen(Qt::black);
  const int edge = horizontal ? band.bottom() - 2 : band.right() - 2;
  const QFontMetrics metrics(font);
  for (const RulerTick& tick : ticks) {
    if (horizontal) {
      p.drawLine(tick.position, edge, tick.position, edge - tick.length);
    } else {
      p.drawLine(edge, tick.position, edge - tick.length, tick.position);
    }
    if (tick.label.empty()) continue;
    const QString text = QString::fromStdString(tick.label);
    const int textWidth = metrics.horizontalAdvance(text);
    if (horizontal) {
      p.drawText(tick.position - textWidth / 2, band.bottom() - 12, text);
    } else {
      // Turned by 90 degrees, centred on the tick.
      p.save();
      p.translate(edge - metrics.height() - 8 - (tick.longMark ? 4 : 0) + metrics.ascent(), tick.position + textWidth / 2);
      p.rotate(-90);
      p.drawText(0, 0, text);
      p.restore();
    }
  }
}
