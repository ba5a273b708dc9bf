#include "app/frames/DrawToolIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <cmath>

#include "app/core/CommandIds.h"
#include "app/frames/ToolIconCanvas.h"

namespace {

void Lettered(QPainter& p, const char* text) {
  p.drawRect(3, 5, 18, 14);
  QFont font = p.font();
  font.setPixelSize(text[1] != '\0' ? 8 : 11);
  font.setBold(true);
  p.setFont(font);
  p.drawText(QRect(3, 5, 18, 14), Qt::AlignCenter, text);
}

bool PaintDrawTool(QPainter& p, int id) {
  switch (id) {
    case cmd::ID_SELECT_NONE:
      p.setBrush(Qt::white);
      p.drawPolygon(QPolygonF({{6, 3}, {6, 19}, {10, 15}, {13, 21}, {15, 20}, {12, 14}, {18, 14}}));
      return true;
    case cmd::ID_ADD_POINT:
      p.setBrush(Qt::black);
      p.drawEllipse(QPointF(12, 12), 3, 3);
      return true;
    case cmd::ID_ADD_LINE: p.drawLine(4, 20, 20, 4); return true;
    case cmd::ID_ADD_MULTIBORDER: {
      QPolygonF hexagon;
      for (int i = 0; i < 6; ++i) {
        const double a = (60.0 + 60.0 * i) * 3.14159265358979 / 180.0;
        hexagon << QPointF(12 + 9 * std::cos(a), 12 - 9 * std::sin(a));
      }
      p.drawPolygon(hexagon);
      return true;
    }
    case cmd::ID_ADD_RECTANGLE: p.drawRect(4, 6, 16, 12); return true;
    case cmd::ID_ADD_POLYLINE: p.drawPolyline(QPolygonF({{3, 19}, {8, 6}, {14, 16}, {21, 5}})); return true;
    case cmd::ID_ADD_ARC: p.drawEllipse(QPointF(12, 12), 9, 6); return true;
    case cmd::ID_ADD_SPLINE: {
      QPainterPath path(QPointF(3, 18));
      path.cubicTo(8, 0, 14, 24, 21, 6);
      p.drawPath(path);
      return true;
    }
    case cmd::ID_ADD_TEXT: Lettered(p, "T"); return true;
    case cmd::ID_ADD_AUTO_TEXT: Lettered(p, "123"); return true;
    case cmd::ID_ADD_SYSTEM_DATE: Lettered(p, "D"); return true;
    case cmd::ID_ADD_VIN: Lettered(p, "VIN"); return true;
    case cmd::ID_ADD_RULER:
      p.drawLine(3, 16, 21, 16);
      for (int x = 3; x <= 21; x += 3) p.drawLine(x, 16, x, x % 2 ? 11 : 13);
      return true;
    case cmd::ID_ADD_BARCODE:
      for (int x = 4; x <= 20; x += 2) {
        p.setPen(QPen(Qt::black, (x / 2) % 3 == 0 ? 1.8 : 0.8));
        p.drawLine(x, 5, x, 19);
      }
      return true;
    case cmd::ID_ADD_SPECIAL_PICTURE:
      // A drawing on a sheet from the library.
      p.drawRect(3, 3, 18, 18);
      p.drawPolyline(QPolygonF({{6, 17}, {10, 8}, {13, 14}, {15, 11}, {18, 17}}));
      p.drawEllipse(QPointF(16, 7), 1.5, 1.5);
      return true;
    default: return false;
  }
}

}  // namespace

QIcon DrawToolIcon(int id) {
  return PaintToolIcon([id](QPainter& p) { return PaintDrawTool(p, id); });
}
