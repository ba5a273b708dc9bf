#include <gtest/gtest.h>

#include <QImage>
#include <deque>
#include <vector>

#include "marking/widgets/CIoStatusStatic.h"

namespace {

class FakeIo : public IoStatusSource {
 public:
  int board = 1;
  BYTE status = 0;
  std::deque<BYTE> inputs;
  BYTE levels = 0;
  std::vector<BYTE> stored;
  std::vector<int> zeroed;
  int reads = 0;

  int BoardType() override { return board; }
  BYTE BoardStatus() override { return status; }
  BYTE ReadInputPort() override {
    ++reads;
    BYTE value = inputs.empty() ? 0 : inputs.front();
    if (!inputs.empty()) inputs.pop_front();
    return value;
  }
  BYTE OriginLevels() override { return levels; }
  void StoreLastInput(BYTE value) override { stored.push_back(value); }
  void ZeroStepCounter(int axis) override { zeroed.push_back(axis); }
};

const QColor kRed(255, 0, 0);
const QColor kGreen(0, 255, 0);

}  // namespace

TEST(CIoStatusStatic, UsbBoardComparesStatusBitsWithOriginLevels) {
  FakeIo io;
  io.board = 1;
  io.levels = 0x03;   // both origins read high
  io.status = 0x04;   // X at origin, Y not
  CIoStatusStatic lamps;
  lamps.SetSource(&io);
  auto lines = lamps.ReadLines();
  EXPECT_EQ(lines[0].y, 40);
  EXPECT_EQ(lines[0].text, "X到位");
  EXPECT_EQ(lines[0].color, kGreen);
  EXPECT_EQ(lines[1].y, 80);
  EXPECT_EQ(lines[1].text, "现在停止出光测试");
  EXPECT_EQ(lines[1].color, kGreen);
  EXPECT_EQ(lines[2].y, 120);
  EXPECT_EQ(lines[2].text, "Y没到位");
  EXPECT_EQ(lines[2].color, kRed);
  // The axis found at its origin restarts its step count; the port is not read.
  EXPECT_EQ(io.zeroed, std::vector<int>{0});
  EXPECT_EQ(io.reads, 0);

  io.status = 0x08;
  io.levels = 0x02;
  io.zeroed.clear();
  lamps.ToggleLightTest();
  lines = lamps.ReadLines();
  EXPECT_EQ(lines[0].text, "X到位");  // bit 2 clear, X level low
  EXPECT_EQ(lines[1].text, "现在出光测试");
  EXPECT_EQ(lines[1].color, kRed);
  EXPECT_EQ(lines[2].text, "Y到位");
  EXPECT_EQ(io.zeroed, (std::vector<int>{0, 1}));
}

TEST(CIoStatusStatic, PortBoardsAndTwoInputReadingsAndKeepTheResult) {
  FakeIo io;
  io.board = 0;
  io.levels = 0x01;
  io.inputs = {0xA0, 0x80};  // bit 5 only in the first reading
  CIoStatusStatic lamps;
  lamps.SetSource(&io);
  auto lines = lamps.ReadLines();
  EXPECT_EQ(io.reads, 2);
  EXPECT_EQ(io.stored, std::vector<BYTE>{0x80});
  EXPECT_EQ(lines[0].text, "X到位");   // bit 7 set, X level high
  EXPECT_EQ(lines[2].text, "Y到位");   // bit 5 of the AND clear, Y level low
  EXPECT_TRUE(io.zeroed.empty());     // only the USB board's counters restart

  io.inputs = {0x20, 0x20};
  io.levels = 0x00;
  lines = lamps.ReadLines();
  EXPECT_EQ(lines[0].text, "X到位");
  EXPECT_EQ(lines[2].text, "Y没到位");
  EXPECT_EQ(lines[2].color, kRed);
}

TEST(CIoStatusStatic, PaintsColouredLinesOnBlack) {
  FakeIo io;
  io.board = 1;
  io.status = 0x04;  // X at origin, Y not
  io.levels = 0x03;
  CIoStatusStatic lamps;
  lamps.SetSource(&io);
  lamps.resize(240, 160);
  QImage image(lamps.size(), QImage::Format_RGB32);
  image.fill(Qt::white);
  lamps.render(&image);
  EXPECT_EQ(image.pixelColor(2, 2), QColor(Qt::black));
  // Text edges are smoothed: a pixel counts when it is clearly of the hue.
  auto rowsHaving = [&](int y0, int y1, QColor color) {
    for (int y = y0; y < y1; ++y)
      for (int x = 30; x < image.width(); ++x) {
        QColor p = image.pixelColor(x, y);
        bool red = p.red() > 128 && p.green() < 64, green = p.green() > 128 && p.red() < 64;
        if ((color == kRed && red) || (color == kGreen && green)) return true;
      }
    return false;
  };
  EXPECT_TRUE(rowsHaving(40, 70, kGreen));
  EXPECT_TRUE(rowsHaving(120, 150, kRed));
  EXPECT_FALSE(rowsHaving(0, 40, kGreen));
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < 29; ++x) ASSERT_EQ(image.pixelColor(x, y), QColor(Qt::black)) << x << "," << y;
}
