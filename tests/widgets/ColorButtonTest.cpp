#include <gtest/gtest.h>

#include <ostream>

#include <QImage>

#include "widgets/CColorButton.h"

namespace {

struct BevelCase {
  int width;
  int ring;
  COLORREF light;
  COLORREF dark;
  friend void PrintTo(const BevelCase& c, std::ostream* os) { *os << "width " << c.width << " ring " << c.ring; }
};

class BevelColorTest : public ::testing::TestWithParam<BevelCase> {};

TEST_P(BevelColorTest, RingsFadeFromTheOuterEdge) {
  COLORREF light = 0;
  COLORREF dark = 0;
  CColorButton::BevelColors(GetParam().width, GetParam().ring, light, dark);
  EXPECT_EQ(light, GetParam().light);
  EXPECT_EQ(dark, GetParam().dark);
}

INSTANTIATE_TEST_SUITE_P(Rings, BevelColorTest,
                         ::testing::Values(BevelCase{1, 0, RGB(255, 255, 255), RGB(128, 128, 128)},
                                           BevelCase{-1, 0, RGB(255, 255, 255), RGB(128, 128, 128)},
                                           BevelCase{2, 0, RGB(255, 255, 255), RGB(127, 127, 127)},
                                           BevelCase{2, 1, RGB(223, 223, 223), RGB(85, 85, 85)},
                                           BevelCase{-3, 2, RGB(213, 213, 213), RGB(63, 63, 63)}));

QImage Render(CColorButton& button) {
  button.resize(60, 24);
  QImage image(button.size(), QImage::Format_RGB32);
  image.fill(Qt::black);
  button.render(&image);
  return image;
}

bool HasDarkRedPixel(const QImage& image) {
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QColor c = image.pixelColor(x, y);
      if (c.red() > 60 && c.red() < 200 && c.green() < 60 && c.blue() < 60) return true;
    }
  return false;
}

TEST(ColorButtonTest, FaceTakesTheSwatchAndARaisedOrSunkenBevel) {
  CColorButton button;
  button.setText("");
  ASSERT_EQ(button.Attach(1172, &button, RGB(0, 0, 255), 0xFFFFFF, 128, 2), 1);
  QImage raised = Render(button);
  EXPECT_EQ(raised.pixelColor(0, 0), QColor(255, 255, 255));  // outer ring, light
  EXPECT_EQ(raised.pixelColor(59, 23), QColor(127, 127, 127));  // outer ring, dark
  EXPECT_EQ(raised.pixelColor(30, 12), QColor(0, 0, 255));

  button.SetColor(RGB(0, 255, 0));
  EXPECT_EQ(button.GetColor(), RGB(0, 255, 0));
  ASSERT_EQ(button.Attach(1172, &button, RGB(0, 255, 0), 0xFFFFFF, 128, -2), 1);
  QImage sunken = Render(button);
  EXPECT_EQ(sunken.pixelColor(0, 0), QColor(127, 127, 127));
  EXPECT_EQ(sunken.pixelColor(1, 1), QColor(85, 85, 85));
  EXPECT_EQ(sunken.pixelColor(58, 22), QColor(1, 1, 1));  // innermost sunken ring
  EXPECT_EQ(sunken.pixelColor(30, 12), QColor(0, 255, 0));
}

TEST(ColorButtonTest, DisabledButtonWritesItsCaptionInTheDisabledColour) {
  CColorButton button;
  button.setText("MMMM");
  button.Attach(1172, &button, RGB(255, 255, 255), RGB(255, 255, 255), 128, 2);
  EXPECT_FALSE(HasDarkRedPixel(Render(button)));
  button.setEnabled(false);
  EXPECT_TRUE(HasDarkRedPixel(Render(button)));
}

}  // namespace
