// Damaged and hostile plot files: no crash, no runaway, counts that agree
// between the passes, and only finite coordinates.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "tests/text/exchange/hpgl/PltTestFiles.h"
#include "text/exchange/hpgl/PltDrawingLoader.h"
#include "text/exchange/hpgl/PltImport.h"

namespace {

const std::string kD1Pre(45, ';');

void ExpectConsistent(const PltRead& r) {
  EXPECT_EQ(r.countResult, 0);
  EXPECT_EQ(r.stored, r.counted);  // same file, same points
  EXPECT_GE(r.capacityAfter, r.stored);
  for (int i = 0; i < r.stored; ++i) ASSERT_TRUE(std::isfinite(r.values[i])) << i;
  for (int k = 0; k < r.stored / 2; ++k) ASSERT_LE(r.pens[k], 1) << k;
}

TEST(PltHostile, CommandsAcrossChunkBoundariesReadWhole) {
  // Data starts at byte 45 (dialect 1): put a command across the first 16384-byte chunk's end.
  const std::size_t boundary = 45 + 16384;
  std::string body = kD1Pre + "PU;";
  const std::string cmd = "PA1234,5678;";
  body += std::string(boundary - 5 - body.size(), ';');
  body += cmd + "SP;";
  const PltRead r = ReadBothPasses(&ImportPltDialect1, WritePltFile("straddle1.plt", body));
  ASSERT_EQ(r.stored, 2);
  EXPECT_NEAR(r.values[0], 1234 * kPltScaleDialect1And3, 1e-9);
  EXPECT_NEAR(r.values[1], 5678 * kPltScaleDialect1And3, 1e-9);

  // Dialect 2: a number split by the boundary stays one number.
  const PltRead r2 = ReadBothPasses(&ImportPltDialect2,
                                    Dialect2File("straddle2.plt", std::string(16384 - 3, ';') + "PA12345678,40;SP0;"));
  ASSERT_EQ(r2.stored, 2);
  EXPECT_DOUBLE_EQ(r2.values[0], 12345678 * 0.025);
}

TEST(PltHostile, HugeNumbersAndOverlongTokensGiveNoPoints) {
  const std::string big = "1" + std::string(400, '0');  // beyond a double
  PltRead r = ReadBothPasses(&ImportPltDialect1,
                             WritePltFile("big1.plt", kD1Pre + "PA" + big + ",5;PA" + std::string(5000, '7') +
                                                          ",1;PA40,40;PA4,4;SP;"));
  ExpectConsistent(r);
  EXPECT_EQ(r.stored, 4);
  EXPECT_EQ(r.status, kPltStatusEnd);

  // A spoiled number spoils its pair but keeps x and y in step.
  r = ReadBothPasses(&ImportPltDialect2, Dialect2File("big2.plt", "PA" + big + ",40,40,80;PR" + std::string(5000, '9') +
                                                                      ",0,40,0;SP0;"));
  ExpectConsistent(r);
  ASSERT_EQ(r.stored, 4);
  EXPECT_DOUBLE_EQ(r.values[0], 1.0);
  EXPECT_DOUBLE_EQ(r.values[1], 2.0);
  EXPECT_DOUBLE_EQ(r.values[2], 2.0);

  // Relative moves that run off to infinity, and a circle that would.
  const std::string e300 = "1" + std::string(300, '0');
  r = ReadBothPasses(&ImportPltDialect2,
                     Dialect2File("runaway.plt", "PR" + e300 + ",0," + e300 + ",0," + e300 + ",0;CI" + e300 +
                                                     ";PA" + e300 + ",0;CI" + e300 + ";SP0;"));
  ExpectConsistent(r);
  EXPECT_EQ(r.status, kPltStatusEnd);

  r = ReadBothPasses(&ImportPltDialect3, Dialect3File("big3.plt", "PU" + big + " 4;PD4 " + big + ";PD4 4;SP0;"));
  ExpectConsistent(r);
  EXPECT_EQ(r.stored, 2);
}

TEST(PltHostile, NoSeparatorsOrBinaryJunkNeitherCrashNorHang) {
  std::mt19937 rng(20261208);
  std::uniform_int_distribution<int> byte(0, 255);
  std::string junk(300000, '\0');
  for (char& c : junk) c = static_cast<char>(byte(rng));
  std::string digits(300000, '5');

  const std::string files[] = {
      WritePltFile("j1.plt", kD1Pre + "PU;PA" + junk),
      WritePltFile("j1b.plt", kD1Pre + "PA" + digits),
      Dialect2File("j2.plt", junk),
      Dialect2File("j2b.plt", "PA" + digits),
      Dialect2File("j2c.plt", "CI" + std::string(100000, 'x') + "PD" + junk),
      Dialect3File("j3.plt", junk),
      Dialect3File("j3b.plt", "PU" + digits),
  };
  for (const std::string& f : files) {
    SCOPED_TRACE(f);
    for (PltReaderFn reader : {&ImportPltDialect1, &ImportPltDialect2, &ImportPltDialect3}) {
      const PltRead r = ReadBothPasses(reader, f);
      if (r.countResult == kPltResultNoHeader) continue;
      ExpectConsistent(r);
    }
    EXPECT_GE(DetectPltDialect(f), 0);
  }
}

TEST(PltHostile, ManyCirclesCountExactlyAndTooManyAreRefusedNotAllocated) {
  // Radius 100 mm: 540 chords, 473 points from 45 degrees round, 0, 68 more
  // up to 45 degrees and 45 again: 543 points per circle.
  std::string body;
  for (int i = 0; i < 2000; ++i) body += "PA0,0;CI4000;";
  const PltRead r = ReadBothPasses(&ImportPltDialect2, Dialect2File("manycircles.plt", body + "SP0;"));
  ExpectConsistent(r);
  EXPECT_EQ(r.counted, 2000 * 543 * 2);
  EXPECT_EQ(r.fillResult, kPltResultFilled);

  for (int i = 0; i < 6000; ++i) body += "PA0,0;CI4000;";
  const PltDrawing d = LoadPltDrawing(Dialect2File("huge.plt", body + "SP0;"));
  EXPECT_TRUE(d.tooLarge);
  EXPECT_FALSE(d.accepted);
  EXPECT_TRUE(d.points.empty());

  // Twice as many: the count stops just past the limit rather than running
  // through the whole file.
  for (int i = 0; i < 8000; ++i) body += "PA0,0;CI4000;";
  int counted = 0, stored = 0, status = 0;
  ImportPltDialect2(Dialect2File("huger.plt", body + "SP0;"), nullptr, nullptr, &counted, &stored, &status);
  EXPECT_GT(counted, kPltMaxValues);
  EXPECT_LE(counted, kPltMaxValues + 2 * 543);
}

}  // namespace
