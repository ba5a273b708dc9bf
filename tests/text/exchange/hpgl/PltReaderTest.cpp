// The three plot readers and the dialect detector on hand-written plots.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "tests/text/exchange/hpgl/PltTestFiles.h"
#include "text/exchange/hpgl/PltImport.h"

namespace {

constexpr double kD13 = kPltScaleDialect1And3;

void ExpectPoint(const PltRead& r, int k, double x, double y, BYTE pen) {
  SCOPED_TRACE("point " + std::to_string(k));
  ASSERT_LT(2 * k + 1, r.stored);
  EXPECT_NEAR(r.values[2 * k], x, 1e-9);
  EXPECT_NEAR(r.values[2 * k + 1], y, 1e-9);
  EXPECT_EQ(r.pens[k], pen);
}

TEST(PltDetect, DialectsByTheirBytePatterns) {
  EXPECT_EQ(DetectPltDialect(PltFixture("square-r14.plt")), 1);
  EXPECT_EQ(DetectPltDialect(PltFixture("shapes-r2000.plt")), 2);
  EXPECT_EQ(DetectPltDialect(PltFixture("triangle-corel.plt")), 3);
  EXPECT_EQ(DetectPltDialect(PltFixture("no-such-file.plt")), 0);
  EXPECT_EQ(DetectPltDialect(std::filesystem::path(PltFixture("x")).parent_path().string()), 0);  // a folder

  // "PU;PA" at byte 45 is dialect 1 whatever follows; 45 bytes are too few.
  EXPECT_EQ(DetectPltDialect(WritePltFile("d1.plt", std::string(45, 'x') + "PU;PA junk")), 1);
  EXPECT_EQ(DetectPltDialect(WritePltFile("short.plt", std::string(40, 'x') + "PU;PA")), 0);
  // Above 45 but at most 92 bytes: only the dialect-1 test runs.
  EXPECT_EQ(DetectPltDialect(WritePltFile("d2short.plt", "xPU;PA0,0;SP1;LT;" + std::string(75, 'y'))), 0);
  EXPECT_EQ(DetectPltDialect(WritePltFile("d2.plt", "xPU;PA0,0;SP8;LT;" + std::string(80, 'y'))), 2);
  // Dialect 3 needs a pen select after the first byte.
  EXPECT_EQ(DetectPltDialect(WritePltFile("d3.plt", "IN;WU0;SP3;" + std::string(90, 'y'))), 3);
  EXPECT_EQ(DetectPltDialect(WritePltFile("d3nopen.plt", "SP3;IN;WU0;" + std::string(90, 'y'))), 0);
}

TEST(PltDialect1, CountsThenFillsAbsoluteMovesWithThePenState) {
  const PltRead r = ReadBothPasses(&ImportPltDialect1, PltFixture("square-r14.plt"));
  EXPECT_EQ(r.countResult, 0);
  EXPECT_EQ(r.counted, 14);
  EXPECT_EQ(r.countStatus, kPltStatusEnd);
  EXPECT_EQ(r.fillResult, kPltResultFilled);
  EXPECT_EQ(r.status, kPltStatusEnd);
  EXPECT_EQ(r.stored, 14);
  EXPECT_EQ(r.capacityAfter, 114);  // enough room: the counter keeps the room given
  ExpectPoint(r, 0, 1000 * kD13, 2000 * kD13, kPltPenUp);
  ExpectPoint(r, 6, 0.0, 0.0, kPltPenUp);
}

TEST(PltDialect1, PenSelectsAreSkippedAndOnlyABareSpEnds) {
  const std::string pre(45, ';');
  PltRead r = ReadBothPasses(&ImportPltDialect1,
                             WritePltFile("sp.plt", pre + "PU;PA40,80;SP2;PD;PA80.5,-80;;PA;PA7;PA,5;SP;PA1,1;"));
  EXPECT_EQ(r.status, kPltStatusEnd);
  ASSERT_EQ(r.stored, 4);  // empty and torn commands give no point
  ExpectPoint(r, 1, 80.5 * kD13, -80 * kD13, kPltPenDown);

  r = ReadBothPasses(&ImportPltDialect1, WritePltFile("noend.plt", pre + "PU;PA40,80;PD;PA80,80;PA0,0"));
  EXPECT_EQ(r.status, kPltStatusNoEnd);
  EXPECT_EQ(r.fillResult, kPltResultFilled);
  EXPECT_EQ(r.stored, 6);
}

TEST(PltDialect2, WordsSetPenAndModeAndCirclesReplaceTheirCentre) {
  const PltRead r = ReadBothPasses(&ImportPltDialect2, PltFixture("shapes-r2000.plt"));
  EXPECT_EQ(r.counted, 34);
  EXPECT_EQ(r.stored, 34);
  EXPECT_EQ(r.fillResult, kPltResultFilled);
  EXPECT_EQ(r.status, kPltStatusEnd);
  ExpectPoint(r, 0, 2.5, 5.0, kPltPenUp);
  ExpectPoint(r, 1, 12.5, 5.0, kPltPenDown);
  ExpectPoint(r, 2, 12.5, 15.0, kPltPenDown);
  ExpectPoint(r, 3, 15.0, 15.0, kPltPenUp);  // relative from the last absolute point
  ExpectPoint(r, 4, 15.0, 17.5, kPltPenDown);
  // CI40 around (10, 10): radius 1 mm, 8 chords, the centre itself not kept.
  const double deg[] = {45, 90, 135, 180, 225, 270, 315, 360, 0, 0, 45};
  for (int i = 0; i < 11; ++i) {
    const double a = deg[i] * 0.0174532;
    ExpectPoint(r, 5 + i, 10 + std::cos(a), 10 + std::sin(a), i == 0 ? kPltPenUp : kPltPenDown);
  }
  ExpectPoint(r, 16, 0.0, 0.0, kPltPenUp);
}

TEST(PltDialect2, CombinedWordsRelativeRunsAndTheEnd) {
  // PDPR draws relative; PAPU moves absolute; PUPD lifts; a 3-letter S word
  // stops coordinates until the next mode word; a word restarts the pair.
  PltRead r = ReadBothPasses(&ImportPltDialect2,
                             Dialect2File("combined.plt", "PA40,40;PDPR40,0,0,40;PAPU-40,80;PUPD;PA4;SCX8,8;PA12,16;PR"
                                                          "4;PA0,0;SP0;"));
  EXPECT_EQ(r.status, kPltStatusEnd);
  ASSERT_EQ(r.stored, 12);
  ExpectPoint(r, 0, 1.0, 1.0, kPltPenUp);
  ExpectPoint(r, 1, 2.0, 1.0, kPltPenDown);
  ExpectPoint(r, 2, 2.0, 2.0, kPltPenDown);
  ExpectPoint(r, 3, -1.0, 2.0, kPltPenUp);
  ExpectPoint(r, 4, 0.3, 0.4, kPltPenUp);  // "PA4" unpaired, the numbers after "SCX" ignored
  ExpectPoint(r, 5, 0.0, 0.0, kPltPenUp);  // "PR4" unpaired: "PA" starts a new pair

  r = ReadBothPasses(&ImportPltDialect2, PltFixture("truncated-r2000.plt"));
  EXPECT_EQ(r.status, kPltStatusNoEnd);
  EXPECT_EQ(r.fillResult, kPltResultFilled);
}

TEST(PltDialect3, SpaceSeparatedPairsLineBreaksAndPenZeroEnds) {
  PltRead r = ReadBothPasses(&ImportPltDialect3, PltFixture("triangle-corel.plt"));
  EXPECT_EQ(r.counted, 12);
  EXPECT_EQ(r.status, kPltStatusEnd);
  EXPECT_EQ(r.fillResult, kPltResultFilled);
  ExpectPoint(r, 0, 1000 * kD13, 2000 * kD13, kPltPenUp);
  EXPECT_NEAR(r.values[0], 24.888003982080638, 1e-12);
  EXPECT_NEAR(r.values[1], 49.776007964161276, 1e-12);
  ExpectPoint(r, 1, 3000 * kD13, 2000 * kD13, kPltPenDown);
  ExpectPoint(r, 5, 100.0, 100.0, kPltPenDown);

  // SP1 and LT are skipped; only one CR and one LF are taken off a command.
  r = ReadBothPasses(&ImportPltDialect3,
                     Dialect3File("d3body.plt", "PU40 80;SP2;LT;\r\nPD80 80,9;\n\nPD1 1;PA40 0;SP0;PU9 9;"));
  EXPECT_EQ(r.status, kPltStatusEnd);
  ASSERT_EQ(r.stored, 6);
  ExpectPoint(r, 1, 80 * kD13, 80 * kD13, kPltPenDown);
  ExpectPoint(r, 2, 40 * kD13, 0.0, kPltPenDown);  // second letter not 'U': drawn
}

TEST(PltReaders, StatusAndResultOnFilesTheyCannotRead) {
  for (PltReaderFn reader : {&ImportPltDialect1, &ImportPltDialect2, &ImportPltDialect3}) {
    int capacity = 7, stored = 9, status = 0;
    EXPECT_EQ(reader(PltFixture("no-such-file.plt"), nullptr, nullptr, &capacity, &stored, &status), 0);
    EXPECT_EQ(status, kPltStatusNoFile);
    EXPECT_EQ(stored, 0);
    EXPECT_EQ(reader(WritePltFile("tiny.plt", std::string(45, 'x')), nullptr, nullptr, &capacity, &stored, &status),
              0);
    EXPECT_EQ(status, kPltStatusTooShort);
  }
  int capacity = 0, stored = 0, status = 0;
  const std::string d2hundred = WritePltFile("d2-100.plt", std::string(100, ';'));
  EXPECT_EQ(ImportPltDialect2(d2hundred, nullptr, nullptr, &capacity, &stored, &status), 0);
  EXPECT_EQ(status, kPltStatusTooShort);
  // Wrong header: -1.
  const std::string junk = WritePltFile("junk.plt", std::string(300, 'z'));
  EXPECT_EQ(ImportPltDialect2(junk, nullptr, nullptr, &capacity, &stored, &status), kPltResultNoHeader);
  EXPECT_EQ(ImportPltDialect3(junk, nullptr, nullptr, &capacity, &stored, &status), kPltResultNoHeader);
  // Header that ends the file: the first data read returns nothing.
  const std::string bare = WritePltFile("bare.plt", std::string(93, 'q') + "PU;PA0,0;SP1;LT;");
  EXPECT_EQ(ImportPltDialect2(bare, nullptr, nullptr, &capacity, &stored, &status), kPltResultNoHeader);
  EXPECT_EQ(status, kPltStatusTooShort);
  // The header at the very start is read like anywhere else.
  const PltRead r = ReadBothPasses(&ImportPltDialect2,
                                   WritePltFile("d2start.plt", "PU;PA0,0;SP1;LT;" + std::string(100, ' ') +
                                                                   ";PA40,40;PD;PA80,80;SP0;"));
  EXPECT_EQ(r.fillResult, kPltResultFilled);
  EXPECT_EQ(r.status, kPltStatusEnd);
}

TEST(PltReaders, TooLittleRoomKeepsCountingAndNeverWritesPastIt) {
  // Room for 3 values only: one point stored, the counter raised to what was found.
  std::vector<double> values(4, -1.0);
  std::vector<BYTE> pens(3, 0xEE);
  int capacity = 3, stored = 0, status = 0;
  EXPECT_EQ(ImportPltDialect1(PltFixture("square-r14.plt"), values.data(), pens.data(), &capacity, &stored, &status),
            0);
  EXPECT_EQ(stored, 2);
  EXPECT_EQ(capacity, 14);
  EXPECT_EQ(values[2], -1.0);
  EXPECT_EQ(pens[1], 0xEE);

  // Circle points are room-tested too (guard cells after the room stay).
  const std::string circles = Dialect2File("circles.plt", "PA400,400;CI4000;PA0,0;CI4000;SP0;");
  PltRead r = ReadBothPasses(&ImportPltDialect2, circles, 0);
  const int found = r.counted;
  EXPECT_EQ(found, r.stored);
  values.assign(64, 7.0);
  pens.assign(64, 0xEE);
  capacity = 20;
  EXPECT_EQ(ImportPltDialect2(circles, values.data(), pens.data(), &capacity, &stored, &status), kPltResultFilled);
  EXPECT_EQ(stored, 20);
  EXPECT_EQ(capacity, found);
  EXPECT_EQ(values[20], 7.0);
  EXPECT_EQ(pens[10], 0xEE);
}

}  // namespace
