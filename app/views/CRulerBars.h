#pragma once
// The rulers along the top and the left of a layout window. This is the
// frame's side of them (origin, scale, mark requests); the scale drawing
// itself belongs to the ruler code.
#include <QWidget>

class CRulerBar : public QWidget {
 public:
  CRulerBar(Qt::Orientation orientation, int id, QWidget* parent);
  int Id() const { return id_; }
  void SetOrigin(int x, int y);
  void SetScale(float scale);
  void Mark(int which);  // a WM_RULER_MARK request
  int OriginX() const { return originX_; }
  int OriginY() const { return originY_; }
  float Scale() const { return scale_; }
  int LastMark() const { return lastMark_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  Qt::Orientation orientation_;
  int id_;
  int originX_ = 0;
  int originY_ = 0;
  float scale_ = 1.0f;
  int lastMark_ = -1;
};

class CTopRulerBar : public CRulerBar {
 public:
  explicit CTopRulerBar(QWidget* parent) : CRulerBar(Qt::Horizontal, 1126, parent) {}
};

class CLeftRulerBar : public CRulerBar {
 public:
  explicit CLeftRulerBar(QWidget* parent) : CRulerBar(Qt::Vertical, 1125, parent) {}
};
