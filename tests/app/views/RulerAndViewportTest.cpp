// The rulers' millimetre scale, and the viewport filter between the layout
// and the painter.
#include <gtest/gtest.h>

#include "app/core/RulerScale.h"
#include "app/views/model/ViewportDeviceContext.h"

TEST(RulerScale, TicksRunBothWaysFromTheZero) {
  // 4 px/mm: a tick every 10 pixels; zero at 100 of a 300-pixel band.
  const auto ticks = RulerTicks(300, 100, 4, 1.0f, false);
  int after = 0;
  int before = 0;
  for (const RulerTick& t : ticks) {
    EXPECT_GT(t.position, 3);
    EXPECT_LT(t.position, 300);
    (t.position >= 100 ? after : before)++;
  }
  EXPECT_EQ(after, 20);   // 100, 110, ... 290
  EXPECT_EQ(before, 9);   // 90 .. 10
  EXPECT_EQ(ticks[0].length, 12);
  EXPECT_EQ(ticks[1].length, 4);
  EXPECT_EQ(ticks[2].length, 8);
  EXPECT_EQ(ticks[4].label, "-1.0");
  EXPECT_TRUE(ticks[4].longMark == false && ticks[8].longMark);
}

TEST(RulerScale, LabelsFollowTheScaleAndTheSide) {
  for (const bool top : {false, true}) {
    const auto ticks = RulerTicks(400, 200, 4, 2.0f, top);
    std::string past, short_of;
    for (const RulerTick& t : ticks) {
      if (t.position == 240) past = t.label;
      if (t.position == 160) short_of = t.label;
    }
    // Tick 4 at scale 2 reads 0.5: "-" below the left ruler's zero, "+" right of the top's.
    EXPECT_EQ(past, top ? "+0.5" : "-0.5");
    EXPECT_EQ(short_of, top ? "-0.5" : "+0.5");
  }
}

TEST(RulerScale, AZeroFarOutsideTheBandDrawsOnlyTheBandsTicks) {
  const auto ticks = RulerTicks(200, -1000000, 4, 1.0f, true);
  EXPECT_EQ(ticks.size(), 19u);  // 10, 20, ... 190
  EXPECT_TRUE(RulerTicks(200, 50, 0, 1.0f, true).empty());
  EXPECT_TRUE(RulerTicks(200, 50, 4, 0.0f, true).empty());
}

TEST(ViewportDeviceContext, DropsSegmentsBeyondOneEdgeAndKeepsThePath) {
  platform::RecordingDeviceContext target;
  ViewportDeviceContext dc(target, 100, 100, 0);
  dc.MoveTo(-50, 10);
  dc.LineTo(-10, 20);  // left of the viewport
  dc.LineTo(50, 50);   // comes in: drawn from (-10, 20)
  dc.LineTo(50, 50);   // a dot
  dc.LineTo(50, 50);   // the same dot again
  dc.LineTo(500, 50);  // leaves: drawn
  dc.LineTo(600, 900); // beyond the right edge
  EXPECT_TRUE(target.Ops().empty());  // the run goes over at once, when it ends
  dc.Flush();
  std::vector<std::vector<int>> ops;
  for (const auto& op : target.Ops()) ops.push_back(op.args);
  // One move to where the path comes in, then the drawn segments; the dots
  // fall on the pixel the segment ended on.
  EXPECT_EQ(ops, (std::vector<std::vector<int>>{{-10, 20}, {50, 50}, {500, 50}}));
  ASSERT_FALSE(target.Ops().empty());
  EXPECT_EQ(target.Ops()[0].kind, platform::DcOp::MoveTo);
  EXPECT_EQ(dc.Dropped(), 4);
  EXPECT_EQ(dc.GetCurrentPosition(), (platform::DcPoint{600, 900}));
}
