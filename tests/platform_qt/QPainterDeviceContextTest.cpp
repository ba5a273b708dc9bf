#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QPicture>
#include <algorithm>

#include "platform/PictureLoader.h"
#include "platform_qt/PictureImageCache.h"
#include "platform_qt/QPainterDeviceContext.h"
#include "tests/platform_qt/TestApp.h"

using platform_qt::QPainterDeviceContext;

namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);

QImage WhiteImage(QImage::Format format = QImage::Format_RGB32) {
  QImage image(60, 60, format);
  image.fill(Qt::white);
  return image;
}

bool Is(const QImage& image, int x, int y, Qt::GlobalColor color) { return image.pixelColor(x, y) == QColor(color); }

TEST(QPainterDeviceContext, DotIsOutlinedThenFloodFilledUpToBlack) {
  TestApp();
  // 32-bit images are read directly, others through pixel look-ups.
  for (QImage::Format format : {QImage::Format_RGB32, QImage::Format_ARGB32_Premultiplied, QImage::Format_RGB888}) {
    SCOPED_TRACE(static_cast<int>(format));
    QImage image = WhiteImage(format);
    {
      QPainter painter(&image);
      QPainterDeviceContext dc(painter);
      dc.SelectPen({platform::PS_SOLID, 1, kBlack});
      dc.SelectBrush({true, 0});
      dc.Ellipse(10, 10, 41, 41);
      dc.SelectBrush({false, kRed});
      dc.FloodFill(25, 25, kBlack);
      EXPECT_TRUE(Is(image, 25, 25, Qt::red));
      // A later fill over the same pixels on the same context fills them again.
      dc.SelectBrush({false, RGB(0, 0, 255)});
      dc.FloodFill(25, 25, kBlack);
    }
    EXPECT_TRUE(Is(image, 25, 25, Qt::blue));
    EXPECT_TRUE(Is(image, 14, 25, Qt::blue));
    EXPECT_TRUE(Is(image, 10, 25, Qt::black)) << "the outline stays";
    EXPECT_TRUE(Is(image, 2, 2, Qt::white)) << "the fill stops at the outline";
    EXPECT_TRUE(Is(image, 12, 12, Qt::white)) << "corner outside the circle";
  }
}

TEST(QPainterDeviceContext, FloodFillUsesLogicalCoordinatesAndStopsOnBorderSeed) {
  TestApp();
  QImage image = WhiteImage();
  {
    QPainter painter(&image);
    painter.translate(20, 20);
    QPainterDeviceContext dc(painter);
    dc.SelectPen({platform::PS_SOLID, 1, kBlack});
    dc.SelectBrush({true, 0});
    dc.Rectangle(0, 0, 10, 10);  // pixels 20..29 on the image
    dc.SelectBrush({false, kRed});
    dc.FloodFill(0, 0, kBlack);  // seed on the border: nothing
    dc.FloodFill(5, 5, kBlack);
    dc.FloodFill(500, 500, kBlack);  // outside the image: nothing
  }
  EXPECT_TRUE(Is(image, 25, 25, Qt::red));
  EXPECT_TRUE(Is(image, 20, 20, Qt::black));
  EXPECT_TRUE(Is(image, 29, 29, Qt::black));
  EXPECT_TRUE(Is(image, 30, 30, Qt::white));
  EXPECT_TRUE(Is(image, 5, 5, Qt::white));
}

// The box of the pixels in a colour: left, top, right, bottom (right < left when none).
QRect PixelsIn(const QImage& image, QColor color) {
  QRect box;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixelColor(x, y) == color) box = box.united(QRect(x, y, 1, 1));
  return box;
}

TEST(QPainterDeviceContext, TextTakesTheSelectedFontColourAndAlignment) {
  TestApp();
  for (UINT align : {platform::TA_TOP, platform::TA_BASELINE}) {
    SCOPED_TRACE(align);
    QImage image(200, 120, QImage::Format_RGB32);
    image.fill(Qt::white);
    platform::DcSize extent;
    {
      QPainter painter(&image);
      QPainterDeviceContext dc(painter);
      dc.SelectFont({"", 240, 400});
      EXPECT_EQ(dc.SetTextColor(kRed), kBlack);
      EXPECT_EQ(dc.SetTextAlign(align), platform::TA_TOP);
      extent = dc.GetTextExtent("HH");
      dc.TextOut(20, 60, "HH");
    }
    const QRect red = PixelsIn(image, Qt::red);
    ASSERT_FALSE(red.isEmpty()) << "no text in the text colour";
    EXPECT_GT(extent.cx, red.width() - 2);
    EXPECT_GT(extent.cy, red.height());
    EXPECT_GE(red.left(), 20);
    if (align == platform::TA_TOP) EXPECT_GE(red.top(), 60) << "the point is the top-left";
    else EXPECT_LE(red.bottom(), 60) << "capitals stand on the baseline";
  }
}

TEST(QPainterDeviceContext, LinesPensAndPixels) {
  TestApp();
  QImage image = WhiteImage();
  {
    QPainter painter(&image);
    QPainterDeviceContext dc(painter);
    dc.SelectPen({platform::PS_SOLID, 1, kRed});
    EXPECT_EQ(dc.MoveTo(5, 5), (platform::DcPoint{0, 0}));
    dc.LineTo(5, 30);
    EXPECT_EQ(dc.GetCurrentPosition(), (platform::DcPoint{5, 30}));
    dc.SelectPen({platform::PS_NULL, 1, kBlack});
    dc.LineTo(50, 30);  // an invisible pen still moves the position
    EXPECT_EQ(dc.GetCurrentPosition(), (platform::DcPoint{50, 30}));
    dc.SetPixel(40, 40, RGB(0, 0, 255));
    dc.FillSolidRect(50, 50, 5, 5, RGB(0, 255, 0));
  }
  EXPECT_TRUE(Is(image, 5, 15, Qt::red));
  EXPECT_TRUE(Is(image, 30, 30, Qt::white));
  EXPECT_TRUE(Is(image, 40, 40, Qt::blue));
  EXPECT_TRUE(Is(image, 52, 52, Qt::green));
  EXPECT_TRUE(Is(image, 55, 55, Qt::white));
}

// Thin solid lines are written straight into an image. Along a row or a
// column (the grid, the axes) the pixels are the painter's own, on the
// image or leaving it, single pixels included; slanted lines that leave the
// image are the painter's to draw. (Slanted lines inside are stepped pixel
// by pixel, not always as the painter would.)
TEST(QPainterDeviceContext, LinesWrittenIntoTheImageAreThePaintersPixels) {
  TestApp();
  std::vector<std::pair<platform::DcPoint, platform::DcPoint>> segments;
  unsigned seed = 3;
  auto next = [&seed](int range) {
    seed = seed * 1103515245u + 12345u;
    return static_cast<int>((seed >> 8) % static_cast<unsigned>(range)) - range / 4;
  };
  for (int i = 0; i < 400; ++i) {
    const platform::DcPoint a{next(80), next(80)};
    platform::DcPoint b{next(80), next(80)};
    if (i % 4 == 0) b.y = a.y;  // along a row
    if (i % 4 == 1) b.x = a.x;  // along a column
    if (i % 16 == 2) b = a;     // one pixel
    segments.push_back({a, b});
  }
  const QRect image(0, 0, 60, 60);
  for (const auto& [a, b] : segments) {
    const bool straight = a.x == b.x || a.y == b.y;
    if (!straight && image.contains(a.x, a.y) && image.contains(b.x, b.y)) continue;
    QImage mine = WhiteImage(), painters = WhiteImage();
    {
      QPainter painter(&mine);
      QPainterDeviceContext dc(painter, &mine);
      dc.SelectPen({platform::PS_SOLID, 1, kRed});
      const platform::DcPoint run[] = {a, b};
      dc.Polyline(run, 2);
    }
    {
      QPainter painter(&painters);
      painter.setPen(QPen(QColor(255, 0, 0), 0));
      painter.drawLine(a.x, a.y, b.x, b.y);
    }
    ASSERT_EQ(mine, painters) << a.x << "," << a.y << " to " << b.x << "," << b.y;
  }
}

TEST(QPainterDeviceContext, ArcRunsCounterClockwiseFromStartToEnd) {
  TestApp();
  QImage image = WhiteImage();
  {
    QPainter painter(&image);
    QPainterDeviceContext dc(painter);
    dc.SelectPen({platform::PS_SOLID, 1, kBlack});
    // From the right (3 o'clock) to the top (12 o'clock): the upper-right quarter.
    dc.Arc(10, 10, 51, 51, 60, 30, 30, 0);
  }
  int upperRight = 0, others = 0;
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 60; ++x)
      if (Is(image, x, y, Qt::black)) (x >= 29 && y <= 31 ? upperRight : others)++;
  EXPECT_GT(upperRight, 20);
  EXPECT_EQ(others, 0);
}

TEST(QPainterDeviceContext, WithoutPixelsTheLastEllipseIsFilled) {
  TestApp();
  // A picture records drawing without pixels to read back.
  QImage image = WhiteImage();
  QPicture picture;
  {
    QPainter painter(&picture);
    QPainterDeviceContext dc(painter);
    dc.SelectPen({platform::PS_SOLID, 1, kBlack});
    dc.SelectBrush({true, 0});
    dc.Ellipse(10, 10, 41, 41);
    dc.SelectBrush({false, kRed});
    dc.FloodFill(25, 25, kBlack);
    dc.FloodFill(2, 2, kBlack);  // outside the ellipse: nothing to approximate
  }
  {
    QPainter painter(&image);
    painter.drawPicture(0, 0, picture);
  }
  EXPECT_TRUE(Is(image, 25, 25, Qt::red));
  EXPECT_TRUE(Is(image, 2, 2, Qt::white));
}

// Repaints reuse a picture's converted image; whatever changed the picture
// since must show, and the image goes with the picture.
TEST(QPainterDeviceContext, PictureRepaintsShowItsCurrentPixels) {
  TestApp();
  const std::size_t heldBefore = platform_qt::PictureImageCache::BytesHeld();
  auto Paint = [](const platform::PictureBitmap& picture) {
    QImage image = WhiteImage();
    QPainter painter(&image);
    QPainterDeviceContext dc(painter);
    EXPECT_TRUE(dc.DrawBitmap(10, 10, 40, 40, picture));
    painter.end();
    return image.pixelColor(30, 30);
  };
  {
    platform::PictureBitmap picture = platform::PictureBitmap::Make(4, 4, 1);
    picture.palette = {0xFF000000u, 0xFFFFFFFFu};
    EXPECT_EQ(Paint(picture), QColor(Qt::black));
    EXPECT_EQ(Paint(picture), QColor(Qt::black)) << "drawn again from the kept image";
    EXPECT_GT(platform_qt::PictureImageCache::BytesHeld(), heldBefore);

    picture.palette[0] = 0xFFFF0000u;  // palette changed in place
    EXPECT_EQ(Paint(picture), QColor(Qt::red));

    // Another picture of the same size assigned over it: its pixels land in
    // the same buffer.
    platform::PictureBitmap other = platform::PictureBitmap::Make(4, 4, 1);
    other.palette = picture.palette;
    std::fill(other.bits.begin(), other.bits.end(), std::uint8_t{0xFF});
    const std::uint8_t* buffer = picture.bits.data();
    picture = other;
    ASSERT_EQ(picture.bits.data(), buffer);
    EXPECT_EQ(Paint(picture), QColor(Qt::white));

    // Pixels changed in place, the cache told.
    std::fill(picture.bits.begin(), picture.bits.end(), std::uint8_t{0});
    picture.drawCache.Clear();
    EXPECT_EQ(Paint(picture), QColor(Qt::red));

    platform::PictureBitmap moved = std::move(picture);
    EXPECT_EQ(Paint(moved), QColor(Qt::red));
  }
  EXPECT_EQ(platform_qt::PictureImageCache::BytesHeld(), heldBefore) << "kept images outlived their pictures";
}

}  // namespace
