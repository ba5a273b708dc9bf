#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QThread>
#include <atomic>
#include <thread>
#include <vector>

#include "platform_qt/PictureDeviceContext.h"
#include "tests/platform_qt/TestApp.h"

using platform_qt::PictureDeviceContext;

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kPen = 0x0064FF00;  // green with a little blue

QColor Colour(COLORREF c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

TEST(PictureDeviceContext, WorkerDrawingReachesThePictureAndOneNoticeReachesTheOwnThread) {
  TestApp();
  PictureDeviceContext picture;
  picture.Reset(50, 40, kWhite);
  QCoreApplication::processEvents();  // the reset's notice, before anyone listens
  std::vector<QThread*> notices;
  picture.SetChangeHandler([&notices] { notices.push_back(QThread::currentThread()); });

  std::thread worker([&picture] {
    picture.SelectPen({platform::PS_SOLID, 1, kPen});
    picture.MoveTo(5, 5);
    picture.LineTo(30, 5);
    for (int i = 0; i < 500; ++i) picture.SetPixel(10, 20, kGreen);
    // Outside the picture: nothing happens.
    picture.SetPixel(-1, 0, kGreen);
    picture.SetPixel(50, 40, kGreen);
  });
  worker.join();
  ASSERT_TRUE(PumpUntil([&notices] { return !notices.empty(); }));
  QCoreApplication::processEvents();
  // Hundreds of calls, one notice, on the thread that shows the picture.
  EXPECT_EQ(notices, std::vector<QThread*>{QThread::currentThread()});

  const QImage image = picture.Image();
  for (int x : {5, 17, 30}) EXPECT_EQ(image.pixelColor(x, 5), Colour(kPen)) << x;
  EXPECT_EQ(image.pixelColor(31, 5), Colour(kWhite));
  EXPECT_EQ(image.pixelColor(10, 20), Colour(kGreen));
  EXPECT_EQ(image.pixelColor(0, 0), Colour(kWhite));
  EXPECT_EQ(picture.GetCurrentPosition(), (platform::DcPoint{30, 5}));
}

TEST(PictureDeviceContext, ResetGivesABlankPictureAndKeepsPenAndPosition) {
  TestApp();
  PictureDeviceContext picture;
  picture.SelectPen({platform::PS_SOLID, 1, kPen});
  picture.MoveTo(3, 4);
  picture.Reset(20, 10, RGB(0, 0, 255));
  const QImage image = picture.Image();
  EXPECT_EQ(image.size(), QSize(20, 10));
  EXPECT_EQ(image.pixelColor(19, 9), QColor(0, 0, 255));
  EXPECT_EQ(picture.CurrentPen().color, kPen);
  EXPECT_EQ(picture.GetCurrentPosition(), (platform::DcPoint{3, 4}));
  // A display of no size still gets a picture to draw into.
  picture.Reset(0, -5, kWhite);
  EXPECT_EQ(picture.Image().size(), QSize(1, 1));
  picture.LineTo(100, 100);
  EXPECT_EQ(picture.GetCurrentPosition(), (platform::DcPoint{100, 100}));
}

TEST(PictureDeviceContext, ShownWhileAWorkerDrawsIntoIt) {
  TestApp();
  PictureDeviceContext picture;
  picture.Reset(64, 64, kWhite);
  std::atomic<bool> done{false};
  std::thread worker([&] {
    picture.SelectPen({platform::PS_SOLID, 1, kPen});
    for (int i = 0; i < 64; ++i) {
      picture.MoveTo(0, i);
      picture.LineTo(63, i);
      picture.FillSolidRect(i, i, 1, 1, kGreen);
    }
    done = true;
  });
  QImage screen(64, 64, QImage::Format_RGB32);
  while (!done.load()) {
    QPainter painter(&screen);
    picture.DrawOn(painter, 0, 0);
  }
  worker.join();
  {
    QPainter painter(&screen);
    picture.DrawOn(painter, 0, 0);
  }
  EXPECT_EQ(screen.pixelColor(40, 20), Colour(kPen));
  EXPECT_EQ(screen.pixelColor(20, 20), Colour(kGreen));
}

}  // namespace
