#include <vector>

#include <gtest/gtest.h>

#include "LinkTestSupport.h"
#include "marking/link/WireProtocol.h"

namespace {

std::vector<BYTE> Wire(int type, const std::vector<BYTE>& in, bool framed, bool* immediate = nullptr, bool* sent = nullptr) {
  std::vector<BYTE> out;
  bool imm = false;
  bool s = FrameForVariant(type, in.data(), static_cast<int>(in.size()), framed, out, imm);
  if (immediate) *immediate = imm;
  if (sent) *sent = s;
  return out;
}

std::vector<BYTE> Letter(char c) {
  std::vector<BYTE> b(8);
  BuildLetterCommand(b.data(), c);
  return b;
}

std::vector<BYTE> FrameWith(BYTE command, std::vector<std::pair<int, BYTE>> bytes) {
  std::vector<BYTE> f(33, 0);
  f[0] = 0xFF;
  f[1] = command;
  for (auto [i, v] : bytes) f[static_cast<std::size_t>(i)] = v;
  unsigned sum = 0;
  for (int i = 1; i <= 31; ++i) sum += f[static_cast<std::size_t>(i)];
  f[32] = static_cast<BYTE>(sum);
  return f;
}

}  // namespace

TEST(WireProtocol, LetterCommandsInBothVariants) {
  EXPECT_EQ(Letter('H'), (std::vector<BYTE>{0, 0, 0, 0, 0, 0, 'H', 'H'}));
  // Plain: the letter command as it is, for every type that has one.
  for (auto [type, letter] : {std::pair{COM_HELLO, 'H'}, {COM_MARK_BEGIN, 'M'}, {COM_ORIGIN, 'R'}, {COM_SPEED_BEGIN, 'W'}})
    EXPECT_EQ(Wire(type, Letter(letter), false), Letter(letter));

  // Framed: "MM" and "RR" become frames with the letters at bytes 7 and 8.
  auto mm = Wire(COM_MARK_BEGIN, Letter('M'), true);
  EXPECT_EQ(mm, FrameWith(0xA6, {{7, 'M'}, {8, 'M'}}));
  EXPECT_EQ(mm[32], 0x40);
  auto rr = Wire(COM_ORIGIN, Letter('R'), true);
  EXPECT_EQ(rr, FrameWith(0xA4, {{7, 'R'}, {8, 'R'}}));
  EXPECT_EQ(rr[32], 0x48);

  // Hello and "WW" do not go out framed and succeed at once; unknown types are not sent.
  bool immediate = false, sent = true;
  EXPECT_TRUE(Wire(COM_HELLO, Letter('H'), true, &immediate, &sent).empty());
  EXPECT_TRUE(immediate);
  EXPECT_FALSE(sent);
  Wire(COM_SPEED_BEGIN, Letter('W'), true, &immediate, &sent);
  EXPECT_TRUE(immediate);
  Wire(7, Letter('Q'), true, &immediate, &sent);
  EXPECT_FALSE(immediate);
  EXPECT_FALSE(sent);
  // The abort is the same 8 zero bytes in both.
  EXPECT_EQ(Wire(COM_ABORT, std::vector<BYTE>(8, 0), true), std::vector<BYTE>(8, 0));
}

TEST(WireProtocol, StreamRecordsAndTheirSums) {
  BYTE out[6];
  EXPECT_EQ(BuildFilledRecord(out, RECORD_END, true), 6);
  EXPECT_EQ(out[5], 0x59);
  BuildFilledRecord(out, RECORD_PAUSE, true);
  EXPECT_EQ(out[5], 0x90);
  BuildFilledRecord(out, RECORD_RESYNC, true);
  EXPECT_EQ(out[5], 0xA9);
  EXPECT_EQ(BuildFilledRecord(out, RECORD_END, false), 5);

  BYTE move[5];
  MakeMoveRecord(move, 0x1234, 0xFFEE, 0xC8);
  EXPECT_EQ(std::vector<BYTE>(move, move + 5), (std::vector<BYTE>{0x12, 0x34, 0xFF, 0xEE, 0xC8}));
  auto framed = Wire(COM_STREAM, std::vector<BYTE>(move, move + 5), true);
  EXPECT_EQ(framed, (std::vector<BYTE>{0x12, 0x34, 0xFF, 0xEE, 0xC8, static_cast<BYTE>(0x12 + 0x34 + 0xFF + 0xEE + 0xC8)}));
  EXPECT_EQ(Wire(COM_STREAM, std::vector<BYTE>(move, move + 5), false).size(), 5u);
}

TEST(WireProtocol, ParameterBlockOfTheDefaultRecord) {
  auto b = BuildParameterBlock(DefaultParameterInput());
  const std::vector<BYTE> expected{0x0C, 0x77, 0x24, 0x63, 0x9C, 0x01, 0x4E, 0x01, 0x17, 0x01, 0x62, 0x01, 0x01, 0x01,
                                   0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x00};
  EXPECT_EQ(std::vector<BYTE>(b.begin(), b.end()), expected);

  // Framed, the block travels from frame byte 2 on.
  auto frame = Wire(COM_PARAMETERS, expected, true);
  ASSERT_EQ(frame.size(), 33u);
  EXPECT_EQ(frame[1], 0xA3);
  EXPECT_TRUE(std::equal(expected.begin(), expected.end(), frame.begin() + 2));
  EXPECT_EQ(frame[30], 0);
  EXPECT_EQ(frame[32], FrameChecksum(frame.data()));
}

TEST(WireProtocol, ParameterBlockFieldsLimitsAndPlusOne) {
  ParameterBlockInput in;
  in.rotaryMode = true;
  in.noSeekOriginXY = true;
  in.airOn = true;
  in.machineType = 2;  // A = 250.1
  in.xRange = 300;     // 300000 steps: over the X limit
  in.stepX = 1;
  in.yRange = 65029;  // 65029 + 500 = 65529: within the Y limit
  in.stepY = 1000;
  in.resetSpeed = 10;          // 240 -> 241
  in.auxiliarySpeedOn = true;  // 250.1 - 0 = 250 -> 251
  in.startDelay = 255;         // 256 -> 02 00
  in.normalDelay = 1000;       // 1001 = 0x3E9 -> 04 E9
  in.strokeEndDelay = 65534;   // 65535 -> 0x100 FF: high byte wraps to 00
  in.needleDelayBefore = 10000;
  in.needleDelayAfter = 7;
  auto b = BuildParameterBlock(in);
  EXPECT_EQ(b[0], 0x01 | 0x02 | 0x10 | 0x20);
  EXPECT_EQ(b[1], 0xFF);
  EXPECT_EQ(b[2], 0xFA);  // 65530
  EXPECT_EQ((b[3] << 8) | b[4], 65529);
  EXPECT_EQ(b[6], 241);
  EXPECT_EQ(b[12], 251);
  EXPECT_EQ(b[13], 0x02);
  EXPECT_EQ(b[14], 0x00);
  EXPECT_EQ(b[15], 0x04);
  EXPECT_EQ(b[16], 0xE9);
  EXPECT_EQ(b[17], 0x00);
  EXPECT_EQ(b[18], 0xFF);
  EXPECT_EQ(b[23], ((10001 >> 8) + 1));
  EXPECT_EQ(b[24], 10001 & 0xFF);
  EXPECT_EQ(b[26], 8);

  in.yRange = 65031;  // 65531: over the Y limit
  in.xRange = 65;     // 65500: not over the X limit
  b = BuildParameterBlock(in);
  EXPECT_EQ((b[1] << 8) | b[2], 65500);
  EXPECT_EQ((b[3] << 8) | b[4], 65530);

  in.stepX = 0;  // a broken record must not divide by zero
  b = BuildParameterBlock(in);
  EXPECT_EQ((b[1] << 8) | b[2], 500);
}

TEST(WireProtocol, SpeedBlockClampsAndWritesBack) {
  int f = 1;
  double d = 50;
  auto b = BuildSpeedBlock(f, d);
  EXPECT_EQ(std::vector<BYTE>(b.begin(), b.end()), (std::vector<BYTE>{0x70, 0x80, 0x38, 0x40}));  // 28800, 14400
  f = 500;
  b = BuildSpeedBlock(f, d);
  EXPECT_EQ(std::vector<BYTE>(b.begin(), b.end()), (std::vector<BYTE>{0, 57, 0, 28}));
  f = 0;
  d = -3;
  BuildSpeedBlock(f, d);
  EXPECT_EQ(f, 1);
  EXPECT_EQ(d, 0);
  f = 600;
  d = 180;
  b = BuildSpeedBlock(f, d);
  EXPECT_EQ(f, 500);
  EXPECT_EQ(d, 100);
  EXPECT_EQ(b[3], 57);
  auto frame = Wire(COM_SPEED, std::vector<BYTE>(b.begin(), b.end()), true);
  EXPECT_EQ(frame, FrameWith(0xA2, {{2, 0}, {3, 57}, {4, 0}, {5, 57}}));
}

TEST(WireProtocol, PlainRepliesJudgedByType) {
  auto judge = [](int type, std::vector<BYTE> r, bool stop = false) {
    return JudgeReply(type, r.data(), static_cast<int>(r.size()), false, stop);
  };
  EXPECT_TRUE(judge(COM_HELLO, {'H', 'H'}).good);
  EXPECT_FALSE(judge(COM_HELLO, {'H', 'M'}).good);
  EXPECT_TRUE(judge(COM_HELLO, {'H', 'M'}).signal);
  EXPECT_TRUE(judge(COM_MARK_BEGIN, {'M', 'M'}).good);
  EXPECT_TRUE(judge(COM_PARAMETERS, {'P', 'A', 'R', 'A'}).good);
  EXPECT_FALSE(judge(COM_PARAMETERS, {'P', 'A', 'R'}).good);
  EXPECT_TRUE(judge(COM_SPEED_BEGIN, {'W', 'W'}).good);
  EXPECT_TRUE(judge(COM_SPEED, {'R', 'P', 'W', 'M'}).good);
  auto origin = judge(COM_ORIGIN, {0x0C, 'R', 'S', 'O', 'K'});
  EXPECT_TRUE(origin.good);
  EXPECT_EQ(origin.originStatus, 0x0C);
  EXPECT_FALSE(judge(COM_ORIGIN, {'R', 'S', 'O', 'K'}).good);
  EXPECT_TRUE(judge(COM_STREAM, {0xAA}).good);
  EXPECT_FALSE(judge(COM_STREAM, {0xAB}).good);
  auto stop = judge(COM_STREAM, {0xBB});
  EXPECT_TRUE(stop.stop);
  EXPECT_TRUE(stop.good);
  EXPECT_TRUE(judge(COM_STREAM, {0x00}, true).good) << "a stop already asked for counts as good";
  EXPECT_FALSE(judge(COM_VERSION, {'T', 'T'}).signal) << "types without a check are never signalled";
  EXPECT_FALSE(judge(COM_STREAM, {}).good);
}

TEST(WireProtocol, FramedRepliesCountTheLastFourBytes) {
  auto judge = [](int type, std::vector<BYTE> r, bool stop = false) {
    return JudgeReply(type, r.data(), static_cast<int>(r.size()), true, stop);
  };
  EXPECT_TRUE(judge(COM_PARAMETERS, {0xDD, 0xDD, 0xDD, 0x00}).good);
  EXPECT_FALSE(judge(COM_PARAMETERS, {0xDD, 0xDD, 0x00, 0x00}).good);
  EXPECT_FALSE(judge(COM_PARAMETERS, {0xDD, 0xDD, 0xDD, 0x00, 0x00, 0x00, 0x00}).good) << "only the last four count";
  auto resend = judge(COM_STREAM, {'R', 'R', 'R', 'x'});
  EXPECT_TRUE(resend.resend);
  EXPECT_TRUE(resend.good);
  auto stop = judge(COM_STREAM, {'H', 'K', 'E', 'Y'});
  EXPECT_TRUE(stop.stop);
  EXPECT_TRUE(stop.good);
  EXPECT_FALSE(judge(COM_ORIGIN, {'H', 'K', 'E', 'Y'}).stop) << "stop letters count only for the stream";
  auto origin = judge(COM_ORIGIN, {0x04, 0xDD, 0xDD, 0xDD, 0xDD});
  EXPECT_TRUE(origin.good);
  EXPECT_EQ(origin.originStatus, 0x04);
  EXPECT_TRUE(judge(99, {0xDD, 0xDD, 0xDD, 0xDD}).signal) << "the framed check is the same for every type";
}
