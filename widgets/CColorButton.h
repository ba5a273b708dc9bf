#pragma once
// A push button painted in a chosen colour: a solid face, a raised or sunken
// bevel of a given width and the caption centred on one line. Colours are
// COLORREF values (0x00BBGGRR).
#include <QPushButton>

#include "platform/WinTypes.h"

class CColorButton : public QPushButton {
 public:
  explicit CColorButton(QWidget* parent = nullptr);

  // Stores the colours and the bevel width (positive raised, negative
  // sunken); returns 1. The button is already a child of its page.
  int Attach(int controlId, QWidget* parent, COLORREF swatch, COLORREF text, COLORREF disabledText, int bevel);
  void SetColor(COLORREF colour);
  COLORREF GetColor() const { return swatch_; }
  COLORREF GetTextColor() const { return text_; }
  COLORREF GetDisabledTextColor() const { return disabledText_; }
  int GetBevelWidth() const { return bevel_; }

  // The light and dark colours of bevel ring `ring` (0 = outermost) of a bevel
  // |width| rings wide.
  static void BevelColors(int width, int ring, COLORREF& light, COLORREF& dark);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void DrawBevel(class QPainter& painter, QRect rect, int width) const;
  COLORREF text_ = RGB(0, 0, 0);
  COLORREF swatch_ = RGB(192, 192, 192);
  COLORREF disabledText_ = RGB(128, 128, 128);
  int bevel_ = 2;
};
