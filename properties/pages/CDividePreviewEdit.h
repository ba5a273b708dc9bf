#pragma once
// The black preview of the drawing split page: the imported drawing's
// strokes fitted into the control, strokes chosen by dragging a rectangle,
// clicking (a 1 mm square about the point) or a right click (all of them).
#include <QPoint>
#include <QWidget>

#include "document/geometry/CDoublePoint.h"
#include "document/geometry/CDoubleRect.h"

class CObjElement;

class CDividePreviewEdit : public QWidget {
 public:
  static constexpr int kControlId = 1166;
  static constexpr int kMargin = 30;  // pixels left free about the drawing

  explicit CDividePreviewEdit(QWidget* parent = nullptr);
  void SetElement(CObjElement* element);
  CObjElement* Element() const { return element_; }

  // The scale that fits bounds into a client of the size; a side of no
  // extent (a straight line) takes no part, a drawing without extent
  // scale 1.
  static double FitScale(int clientWidth, int clientHeight, const CDoubleRect& bounds, double pxPerMmX,
                         double pxPerMmY);
  // Client pixels to drawing millimetres about the centre, y up.
  static CDoublePoint ToMm(const QPoint& p, const QPoint& centre, double scale, double pxPerMm);
  // What a released drag selects: a large rectangle the strokes inside it, a
  // small one the strokes touching it, a click those within 0.5 mm.
  static void SelectByDrag(CObjElement& element, CDoubleRect rectMm, double scale, const CDoublePoint& offset);
  double Scale() const { return scale_; }
  CDoublePoint Offset() const { return offset_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void UpdateTransform();

  CObjElement* element_ = nullptr;
  bool dragging_ = false;
  QPoint start_;
  QPoint current_;
  double scale_ = 1;
  CDoublePoint offset_;
};
