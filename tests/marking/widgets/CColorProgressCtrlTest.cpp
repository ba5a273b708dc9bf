#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QThread>
#include <atomic>
#include <chrono>
#include <thread>

#include "marking/widgets/CColorProgressCtrl.h"

namespace {

// Counts paints and remembers the thread they ran on.
class CountingBar : public CColorProgressCtrl {
 public:
  std::atomic<int> paints{0};
  std::atomic<bool> paintedOffThread{false};

 protected:
  void paintEvent(QPaintEvent* event) override {
    ++paints;
    if (QThread::currentThread() != thread()) paintedOffThread = true;
    CColorProgressCtrl::paintEvent(event);
  }
};

void ShowAndSettle(QWidget& widget) {
  widget.show();
  QApplication::processEvents();
  QApplication::processEvents();
}

QImage Render(QWidget& widget) {
  QImage image(widget.size(), QImage::Format_RGB32);
  image.fill(Qt::magenta);
  widget.render(&image);
  return image;
}

bool AnyPixel(const QImage& image, int x0, int x1, QColor color) {
  for (int y = 0; y < image.height(); ++y)
    for (int x = x0; x < x1; ++x)
      if (image.pixelColor(x, y) == color) return true;
  return false;
}

}  // namespace

TEST(CColorProgressCtrl, HalfWayFillsHalfTheBarAndWritesThePercentageInTwoColours) {
  CColorProgressCtrl bar;
  bar.resize(200, 24);
  bar.SetRange(0, 100);
  EXPECT_EQ(bar.SetPos(50), 0);
  const QColor barColor = bar.palette().color(QPalette::Highlight);
  const QColor background = bar.palette().color(QPalette::Base);
  ASSERT_NE(barColor, background);

  QImage image = Render(bar);
  // The top row is clear of the text: the fill ends after 100 pixels.
  EXPECT_EQ(image.pixelColor(0, 0), barColor);
  EXPECT_EQ(image.pixelColor(99, 0), barColor);
  EXPECT_EQ(image.pixelColor(100, 0), background);
  EXPECT_EQ(image.pixelColor(199, 0), background);
  // "50%" is centred: its left half is drawn in the background colour over the
  // bar, its right half in the bar colour over the background.
  EXPECT_TRUE(AnyPixel(image, 70, 100, background));
  EXPECT_TRUE(AnyPixel(image, 100, 130, barColor));
  EXPECT_FALSE(AnyPixel(image, 0, 200, Qt::magenta));

  // A set text takes the place of the percentage; the bar stays.
  bar.SetWindowText("Marking");
  QImage withText = Render(bar);
  EXPECT_EQ(withText.pixelColor(99, 0), barColor);
  EXPECT_NE(withText, image);
}

TEST(CColorProgressCtrl, AnEmptyOrReversedRangeDrawsNothingAndNeverDivides) {
  CountingBar bar;
  bar.resize(200, 24);
  bar.SetRange(7, 7);
  EXPECT_EQ(bar.SetPos(7), 0);
  EXPECT_EQ(bar.SetPos(9), 7);
  EXPECT_EQ(bar.LastBarWidth(), 0);
  QImage image = Render(bar);
  EXPECT_TRUE(AnyPixel(image, 0, 200, Qt::magenta));
  EXPECT_FALSE(AnyPixel(image, 0, 200, bar.palette().color(QPalette::Highlight)));

  bar.SetRange(100, 0);
  bar.SetPos(50);
  EXPECT_EQ(bar.LastBarWidth(), 0);
  EXPECT_FALSE(AnyPixel(Render(bar), 0, 200, bar.palette().color(QPalette::Highlight)));
}

TEST(CColorProgressCtrl, RedrawsOnlyWhenTheBarGrowsByAPixel) {
  CountingBar bar;
  bar.resize(200, 24);
  ShowAndSettle(bar);
  bar.SetRange(0, 1000);
  bar.paints = 0;
  EXPECT_EQ(bar.SetPos(500), 0);
  EXPECT_EQ(bar.paints, 1);
  EXPECT_EQ(bar.LastBarWidth(), 100);
  // 504 is still 100 pixels: no redraw, the old position comes back.
  EXPECT_EQ(bar.SetPos(504), 500);
  EXPECT_EQ(bar.paints, 1);
  EXPECT_EQ(bar.GetPos(), 504);
  EXPECT_EQ(bar.SetPos(505), 504);
  EXPECT_EQ(bar.paints, 2);

  // After a resize the next position redraws whatever its width.
  bar.resize(400, 24);
  QApplication::processEvents();
  EXPECT_EQ(bar.LastBarWidth(), -1);
  bar.paints = 0;
  bar.SetPos(505);
  EXPECT_EQ(bar.paints, 1);
  EXPECT_EQ(bar.LastBarWidth(), 202);

  // Setting the same text again does not redraw; a new text does.
  bar.paints = 0;
  bar.SetWindowText("A");
  bar.SetWindowText("A");
  EXPECT_EQ(bar.paints, 1);
}

TEST(CColorProgressCtrl, PositionsFromAWorkerArePaintedOnTheWidgetsThread) {
  CountingBar bar;
  bar.resize(200, 24);
  ShowAndSettle(bar);
  bar.paints = 0;
  std::thread worker([&] {
    for (int node = 0; node <= 100; ++node) bar.SetPos(node);
  });
  worker.join();
  EXPECT_EQ(bar.GetPos(), 100);
  EXPECT_EQ(bar.paints, 0);  // nothing painted off the widget's thread
  QApplication::processEvents();
  EXPECT_GT(bar.paints, 0);
  EXPECT_FALSE(bar.paintedOffThread);
  EXPECT_EQ(bar.LastBarWidth(), 200);

  // The worker goes on while the widget's thread paints what it asked for,
  // as a marking job does.
  bar.paints = 0;
  std::atomic<bool> painted{false};
  std::thread marking([&] {
    bar.SetPos(50);
    while (!painted.load()) std::this_thread::yield();
  });
  const auto bound = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (bar.paints == 0 && std::chrono::steady_clock::now() < bound) QApplication::processEvents();
  painted = true;
  marking.join();
  EXPECT_GT(bar.paints, 0);
  EXPECT_EQ(bar.LastBarWidth(), 100);

  // A bar destroyed before its queued redraws run takes them with it.
  auto doomed = std::make_unique<CountingBar>();
  doomed->resize(200, 24);
  std::thread late([&] { doomed->SetPos(60); });
  late.join();
  doomed.reset();
  QApplication::processEvents();
}

TEST(CColorProgressCtrl, WindowTextCopiesNoMoreThanAsked) {
  CColorProgressCtrl bar;
  bar.SetWindowText("Marking");
  EXPECT_EQ(bar.GetWindowText(), "Marking");
  char buffer[16];
  std::memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(bar.GetWindowText(buffer, 4), 4);
  EXPECT_EQ(std::string(buffer, 5), "Markx");
  EXPECT_EQ(bar.GetWindowText(buffer, 16), 7);
  EXPECT_STREQ(buffer, "Marking");
  EXPECT_EQ(bar.GetWindowText(buffer, 0), 0);
  EXPECT_EQ(bar.GetWindowText(nullptr, 8), 0);
}
