#include "app/frames/ToolIconCanvas.h"

#include <QPainter>
#include <QPixmap>

QIcon PaintToolIcon(const std::function<bool(QPainter&)>& paint) {
  QPixmap pixmap(kToolIconSize, kToolIconSize);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(Qt::black, 1.5));
  if (!paint(p)) return {};
  p.end();
  return QIcon(pixmap);
}
