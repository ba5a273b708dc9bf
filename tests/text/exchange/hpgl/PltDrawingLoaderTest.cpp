// A plot file taken over as a drawing: the last point of dialects 1 and 2 is
// the return home and dropped; unfinished or unsupported plots give nothing.
#include <gtest/gtest.h>

#include "tests/text/exchange/hpgl/PltTestFiles.h"
#include "text/exchange/hpgl/PltDrawingLoader.h"

namespace {

TEST(PltDrawingLoader, FinishedPlotsOfEachDialect) {
  PltDrawing d = LoadPltDrawing(PltFixture("square-r14.plt"));
  EXPECT_EQ(d.dialect, 1);
  ASSERT_TRUE(d.accepted);
  ASSERT_EQ(d.points.size(), 6u);
  EXPECT_EQ(d.points[0].flag, 0);
  EXPECT_EQ(d.points[1].flag, PT_JOINED);
  EXPECT_NEAR(d.points[5].x, 100.0, 1e-9);
  EXPECT_NEAR(d.points[5].y, 100.0, 1e-9);

  d = LoadPltDrawing(PltFixture("shapes-r2000.plt"));
  EXPECT_EQ(d.dialect, 2);
  ASSERT_TRUE(d.accepted);
  EXPECT_EQ(d.points.size(), 16u);
  EXPECT_FALSE(d.dataShort);

  d = LoadPltDrawing(PltFixture("triangle-corel.plt"));
  EXPECT_EQ(d.dialect, 3);
  ASSERT_TRUE(d.accepted);
  EXPECT_EQ(d.points.size(), 6u);  // nothing dropped
}

TEST(PltDrawingLoader, RefusesUnfinishedUnsupportedAndOversizedPlots) {
  PltDrawing d = LoadPltDrawing(PltFixture("truncated-r2000.plt"));
  EXPECT_EQ(d.dialect, 2);
  EXPECT_FALSE(d.accepted);
  EXPECT_TRUE(d.points.empty());

  d = LoadPltDrawing(WritePltFile("text.plt", std::string(200, 'a')));
  EXPECT_EQ(d.dialect, 0);
  EXPECT_FALSE(d.accepted);

  // One point only: too little to be a drawing.
  d = LoadPltDrawing(Dialect2File("onepoint.plt", "PA40,40;SP0;"));
  EXPECT_FALSE(d.accepted);

  std::string body;
  for (int i = 0; i < 8000; ++i) body += "CI4000;PA0,0;";
  d = LoadPltDrawing(Dialect2File("huge.plt", body + "SP0;"));
  EXPECT_TRUE(d.tooLarge);
  EXPECT_FALSE(d.accepted);
}

}  // namespace
