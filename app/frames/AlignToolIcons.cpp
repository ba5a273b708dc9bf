#include "app/frames/AlignToolIcons.h"

#include <QPainter>

#include "app/core/CommandIds.h"
#include "app/frames/ToolIconCanvas.h"

namespace {

// Two filled bars (x, y, width, height each) and the guide they align to.
void Bars(QPainter& p, QRectF a, QRectF b, QLineF guide) {
  p.drawLine(guide);
  p.setBrush(Qt::gray);
  p.drawRect(a);
  p.drawRect(b);
}

bool PaintAlignTool(QPainter& p, int id) {
  switch (id) {
    case cmd::ID_ALIGN_CENTER:
      p.setPen(QPen(Qt::black, 1, Qt::DashLine));
      p.drawLine(12, 2, 12, 22);
      p.drawLine(2, 12, 22, 12);
      p.setPen(QPen(Qt::black, 1.5));
      p.setBrush(Qt::gray);
      p.drawRect(QRectF(7, 8, 10, 8));
      return true;
    case cmd::ID_ALIGN_LEFT: Bars(p, {4, 5, 16, 5}, {4, 14, 10, 5}, {3, 2, 3, 22}); return true;
    case cmd::ID_ALIGN_RIGHT: Bars(p, {4, 5, 16, 5}, {10, 14, 10, 5}, {21, 2, 21, 22}); return true;
    case cmd::ID_ALIGN_TOP: Bars(p, {5, 4, 5, 16}, {14, 4, 5, 10}, {2, 3, 22, 3}); return true;
    case cmd::ID_ALIGN_BOTTOM: Bars(p, {5, 4, 5, 16}, {14, 10, 5, 10}, {2, 21, 22, 21}); return true;
    default: return false;
  }
}

}  // namespace

QIcon AlignToolIcon(int id) {
  return PaintToolIcon([id](QPainter& p) { return PaintAlignTool(p, id); });
}
