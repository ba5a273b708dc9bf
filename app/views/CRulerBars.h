#pragma once
// The rulers along the top and the left of a layout window: a millimetre
// scale whose zero stays at the work area's centre as the layout view
// scrolls, labelled for the view's zoom (its scale).
#include <QWidget>
#include <functional>
#include <memory>

#include "platform/Messages.h"

namespace platform_qt {
class QtMessageTarget;
}

class CRulerBar : public QWidget {
 public:
  static constexpr int kThickness = 30;

  CRulerBar(Qt::Orientation orientation, int id, QWidget* parent);
  ~CRulerBar() override;
  int Id() const { return id_; }
  void SetOrigin(int x, int y);
  void SetScale(float scale);
  // Takes WM_RULER_MARK (wParam: the mark): the bar paints again.
  platform::MessageTarget& Target();
  int OriginX() const { return originX_; }
  int OriginY() const { return originY_; }
  float Scale() const { return scale_; }
  int LastMark() const { return lastMark_; }
  int MarkCount() const { return markCount_; }
  // Where the work area's centre lies along this ruler, in its own pixels
  // (the frame maps the layout view's origin).
  void SetZeroSource(std::function<int()> source) { zeroSource_ = std::move(source); }
  int ZeroPosition() const { return zeroSource_ ? zeroSource_() : 0; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  Qt::Orientation orientation_;
  int id_;
  int originX_ = -1;
  int originY_ = -1;
  float scale_ = 1.0f;
  int lastMark_ = -1;
  int markCount_ = 0;
  std::function<int()> zeroSource_;
  std::unique_ptr<platform_qt::QtMessageTarget> target_;
};

class CTopRulerBar : public CRulerBar {
 public:
  explicit CTopRulerBar(QWidget* parent) : CRulerBar(Qt::Horizontal, 1126, parent) {}
};

class CLeftRulerBar : public CRulerBar {
 public:
  explicit CLeftRulerBar(QWidget* parent) : CRulerBar(Qt::Vertical, 1125, parent) {}
};
