#include "app/frames/EditToolIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include "app/core/CommandIds.h"
#include "app/frames/ToolIconCanvas.h"

namespace {

// A curved arrow over the top, its head at the left (undo) or right (redo).
void TurnArrow(QPainter& p, bool toRight) {
  const double sign = toRight ? -1 : 1;
  QPainterPath path(QPointF(12 + sign * 7, 18));
  path.cubicTo(12 + sign * 8, 6, 12 - sign * 6, 4, 12 - sign * 7, 12);
  p.drawPath(path);
  p.setBrush(Qt::black);
  p.drawPolygon(QPolygonF({{12 - sign * 7, 15}, {12 - sign * 10, 10}, {12 - sign * 4, 10}}));
}

// A padlock; open lifts the shackle off its right post.
void Padlock(QPainter& p, bool open) {
  p.drawRect(6, 11, 12, 9);
  QPainterPath shackle(QPointF(8, 11));
  shackle.lineTo(8, 7);
  shackle.cubicTo(8, 2, 16, 2, 16, 7);
  if (!open) shackle.lineTo(16, 11);
  p.drawPath(open ? shackle.translated(0, -2) : shackle);
}

bool PaintEditTool(QPainter& p, int id) {
  switch (id) {
    case cmd::ID_EDIT_UNDO: TurnArrow(p, false); return true;
    case cmd::ID_EDIT_REDO: TurnArrow(p, true); return true;
    case cmd::ID_EDIT_CUT:
      p.drawLine(7, 3, 15, 15);
      p.drawLine(17, 3, 9, 15);
      p.drawEllipse(QPointF(7, 18), 3, 3);
      p.drawEllipse(QPointF(17, 18), 3, 3);
      return true;
    case cmd::ID_EDIT_COPY:
      p.drawRect(4, 3, 11, 13);
      p.setBrush(Qt::white);
      p.drawRect(9, 8, 11, 13);
      return true;
    case cmd::ID_EDIT_PASTE:
      p.drawRect(4, 5, 14, 16);
      p.setBrush(Qt::black);
      p.drawRect(8, 3, 6, 4);
      p.setBrush(Qt::white);
      p.drawRect(11, 11, 9, 11);
      return true;
    case cmd::ID_DELETE_SELECTION:
      p.setPen(QPen(Qt::black, 2.5));
      p.drawLine(6, 6, 18, 18);
      p.drawLine(18, 6, 6, 18);
      return true;
    case cmd::ID_SELECT_ALL:
    case cmd::ID_CLEAR_ALL:
      p.setPen(QPen(Qt::black, 1.2, Qt::DashLine));
      p.drawRect(3, 3, 18, 18);
      p.setPen(QPen(Qt::black, 1.5));
      p.drawEllipse(QPointF(9, 10), 3, 3);
      p.drawRect(12, 12, 6, 6);
      if (id == cmd::ID_CLEAR_ALL) {
        p.setPen(QPen(Qt::black, 2));
        p.drawLine(5, 19, 19, 5);
      }
      return true;
    case cmd::ID_CHANGE_MARK_ORDER: {
      QFont font = p.font();
      font.setPixelSize(9);
      font.setBold(true);
      p.setFont(font);
      p.drawText(QRect(1, 2, 10, 10), Qt::AlignCenter, "1");
      p.drawText(QRect(13, 12, 10, 10), Qt::AlignCenter, "2");
      p.drawLine(8, 12, 15, 12);
      p.drawLine(13, 10, 15, 12);
      return true;
    }
    case cmd::ID_LOCK: Padlock(p, false); return true;
    case cmd::ID_UNLOCK: Padlock(p, true); return true;
    case cmd::ID_LOCK_ALL:
      Padlock(p, false);
      p.setBrush(Qt::black);
      p.drawEllipse(QPointF(12, 15.5), 1.5, 1.5);
      return true;
    case cmd::ID_REMOVE_LOCK:
      Padlock(p, true);
      p.setPen(QPen(Qt::black, 2));
      p.drawLine(3, 21, 21, 3);
      return true;
    default: return false;
  }
}

}  // namespace

QIcon EditToolIcon(int id) {
  return PaintToolIcon([id](QPainter& p) { return PaintEditTool(p, id); });
}
