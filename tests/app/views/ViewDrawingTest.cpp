// What a paint of the layout view draws, recorded on the test device
// context: the work area's shadow, grid, border and origin marker, the axes,
// the objects of the visible layers and the start and return paths.
#include <algorithm>

#include "app/views/model/CVendrikViewModel.h"
#include "document/objects/CObjElement.h"
#include "document/params/CDrawProperity.h"
#include "platform/DeviceContext.h"
#include "tests/app/views/ViewModelFixture.h"
#include "text/objects/CObjTextVin.h"
#include "values/ShellValues.h"

namespace {

using platform::DcOp;

constexpr COLORREF kGrid = RGB(200, 200, 200);
constexpr COLORREF kShadow = RGB(160, 160, 160);

std::vector<DcOp> OpsOf(const platform::RecordingDeviceContext& dc, DcOp::Kind kind) {
  std::vector<DcOp> out;
  for (const DcOp& op : dc.Ops()) {
    if (op.kind == kind) out.push_back(op);
  }
  return out;
}

int LinesInColour(const platform::RecordingDeviceContext& dc, COLORREF colour) {
  const auto lines = OpsOf(dc, DcOp::LineTo);
  return static_cast<int>(std::count_if(lines.begin(), lines.end(), [&](const DcOp& op) { return op.pen.color == colour; }));
}

std::vector<std::vector<int>> FillsInColour(const platform::RecordingDeviceContext& dc, COLORREF colour) {
  std::vector<std::vector<int>> out;
  for (const DcOp& op : OpsOf(dc, DcOp::FillSolidRect)) {
    if (op.color == colour) out.push_back(op.args);
  }
  return out;
}

class ViewDrawingTest : public ViewModelTest {
 protected:
  // The whole scroll area in one viewport.
  platform::RecordingDeviceContext DrawAll() {
    model_->UpdateScrollExtents();
    platform::RecordingDeviceContext dc;
    model_->OnDraw(dc, {0, 0}, model_->m_scrollWidth, model_->m_scrollHeight);
    return dc;
  }
};

}  // namespace

// Client 600 x 500: extents 700 x 600 (the area, 400 x 320, is smaller than
// the client), centre (350, 300); the area spans 150..550 x 140..460.
TEST_F(ViewDrawingTest, WorkAreaHasShadowGridBorderAndAxes) {
  const auto dc = DrawAll();
  EXPECT_EQ(model_->m_scrollWidth, 700);
  EXPECT_EQ(model_->m_scrollHeight, 600);
  const auto shadow = FillsInColour(dc, kShadow);
  ASSERT_EQ(shadow.size(), 2u);
  EXPECT_EQ(shadow[0], (std::vector<int>{550, 145, 5, 320}));
  EXPECT_EQ(shadow[1], (std::vector<int>{155, 460, 400, 5}));
  // Rows at 0, +-10, +-20, +-30 mm; columns at 0, +-10 .. +-40 mm.
  EXPECT_EQ(LinesInColour(dc, kGrid), 7 + 9);
  const auto rects = OpsOf(dc, DcOp::Rectangle);
  ASSERT_EQ(rects.size(), 1u);
  EXPECT_EQ(rects[0].args, (std::vector<int>{150, 140, 550, 460}));
  EXPECT_TRUE(rects[0].brush.hollow);
  // Axes: dash-dot red across the scroll area.
  std::vector<std::vector<int>> axes;
  for (const DcOp& op : OpsOf(dc, DcOp::LineTo)) {
    if (op.pen.style == platform::PS_DASHDOT && op.pen.color == RGB(255, 0, 0)) axes.push_back(op.args);
  }
  EXPECT_EQ(axes, (std::vector<std::vector<int>>{{350, 600}, {700, 300}}));
}

class OriginMarkerTest : public ViewDrawingTest, public ::testing::WithParamInterface<std::pair<int, std::vector<int>>> {};

TEST_P(OriginMarkerTest, SitsAtTheOriginCorner) {
  g_machineSet.originCorner = GetParam().first;
  const auto dc = DrawAll();
  const auto marker = FillsInColour(dc, RGB(0, 255, 0));
  ASSERT_EQ(marker.size(), 1u);
  EXPECT_EQ(marker[0], GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(Corners, OriginMarkerTest,
                         ::testing::Values(std::make_pair(0, std::vector<int>{145, 135, 10, 10}),
                                           std::make_pair(1, std::vector<int>{145, 455, 10, 10}),
                                           std::make_pair(2, std::vector<int>{545, 135, 10, 10}),
                                           std::make_pair(3, std::vector<int>{545, 455, 10, 10})));

TEST_F(ViewDrawingTest, GridSpacingOfZeroOrLessDrawsNoGridAndEnds) {
  for (const float spacing : {0.0f, -1.0f, std::numeric_limits<float>::quiet_NaN()}) {
    g_distanceVer = spacing;
    g_distanceHor = spacing;
    EXPECT_EQ(LinesInColour(DrawAll(), kGrid), 0) << spacing;
  }
}

TEST_F(ViewDrawingTest, ATinyGridAtHighZoomDrawsOnlyTheViewportsLines) {
  g_machineSet.rangeX = 3000;
  g_machineSet.rangeY = 3000;
  g_distanceVer = 0.001f;
  g_distanceHor = 0.001f;
  model_->m_zoom = 50;
  model_->UpdateScrollExtents();
  platform::RecordingDeviceContext dc;
  model_->OnDraw(dc, {model_->m_centreX - 100, model_->m_centreY - 80}, 200, 160);
  // One line per pixel row and column at most.
  const int grid = LinesInColour(dc, kGrid);
  EXPECT_GT(grid, 0);
  EXPECT_LE(grid, 200 + 160 + 4);
  for (const DcOp& op : OpsOf(dc, DcOp::LineTo)) {
    if (op.pen.color != kGrid) continue;
    EXPECT_GE(op.args[0], -1);
    EXPECT_LE(op.args[0], 201);
  }
}

TEST_F(ViewDrawingTest, ObjectsOfHiddenLayersAreNotDrawn) {
  document_.Objects().Add(std::make_unique<CObjElement>(
      CObjCreateRecord{"", OBJ_PROPERITY, new CDrawProperity(), static_cast<int>(sizeof(CDrawProperity)), {}}));
  AddLine({-10, 0, 0}, {10, 0, 1}, RGB(1, 2, 3), 0);
  AddLine({0, -10, 0}, {0, 10, 1}, RGB(4, 5, 6), 2);
  model_->m_layerOn[2] = 0;
  const auto dc = DrawAll();
  EXPECT_GT(LinesInColour(dc, RGB(1, 2, 3)), 0);
  EXPECT_EQ(LinesInColour(dc, RGB(4, 5, 6)), 0);
  model_->m_layerOn[2] = 1;
  EXPECT_GT(LinesInColour(DrawAll(), RGB(4, 5, 6)), 0);
}

TEST_F(ViewDrawingTest, ObjectsOutsideTheViewportDoNotReachThePainter) {
  AddLine({-10, 0, 0}, {10, 0, 1}, RGB(1, 2, 3), 0);
  model_->UpdateScrollExtents();
  platform::RecordingDeviceContext dc;
  // A viewport over the top-left corner of the scroll area only.
  model_->OnDraw(dc, {0, 0}, 50, 50);
  EXPECT_EQ(LinesInColour(dc, RGB(1, 2, 3)), 0);
}

TEST_F(ViewDrawingTest, StartAndReturnPathsRunFromTheCornerToTheObjects) {
  auto* record = new CDrawProperity();
  record->SetStartBackRoad(1);
  record->SetRangeX(100);
  record->SetRangeY(80);
  record->SetStartPath(0, -40, 30);
  record->SetStartPath(1, -40, 30);  // the same point: that segment is left out
  record->SetResetPath(0, 40, 30);
  record->SetResetPath(1, 30, 30);
  document_.Objects().Add(std::make_unique<CObjElement>(
      CObjCreateRecord{"", OBJ_PROPERITY, record, static_cast<int>(sizeof(CDrawProperity)), {}}));
  CObjElement* line = AddLine({-10, 0, 0}, {10, 0, 1}, RGB(1, 2, 3));
  line->startPoint = CDoublePoint(-10, 0);
  line->endPoint = CDoublePoint(10, 0);
  model_->UpdateScrollExtents();
  platform::RecordingDeviceContext dc;
  model_->DrawStartBackPaths(dc, {0, 0});
  std::vector<std::vector<int>> start, back;
  for (const DcOp& op : OpsOf(dc, DcOp::LineTo)) {
    if (op.pen.color == RGB(0, 0, 255)) start.push_back(op.args);
    if (op.pen.color == RGB(255, 0, 0)) back.push_back(op.args);
  }
  // Corner (-50, 40) mm is (150, 140) px; (-40, 30) is (190, 180); (-10, 0) is (310, 300).
  EXPECT_EQ(start, (std::vector<std::vector<int>>{{190, 180}, {310, 300}}));
  // (10, 0) -> (30, 30) -> (40, 30) -> corner.
  EXPECT_EQ(back, (std::vector<std::vector<int>>{{470, 180}, {510, 180}, {150, 140}}));
}

TEST_F(ViewDrawingTest, RotaryLineFollowsTheOptionBits) {
  g_machineSet.machineDouble1 = 10;
  g_machineSet.optionByte = 0x84;  // vertical, 10 mm right of the centre
  auto yellow = [](const platform::RecordingDeviceContext& dc) {
    std::vector<std::vector<int>> out;
    for (const DcOp& op : OpsOf(dc, DcOp::LineTo)) {
      if (op.pen.color == RGB(255, 255, 0)) out.push_back(op.args);
    }
    return out;
  };
  EXPECT_EQ(yellow(DrawAll()), (std::vector<std::vector<int>>{{390, 460}}));
  g_machineSet.optionByte = 0x94;  // horizontal, above the centre
  EXPECT_EQ(yellow(DrawAll()), (std::vector<std::vector<int>>{{550, 260}}));
  g_machineSet.optionByte = 0x04;
  EXPECT_TRUE(yellow(DrawAll()).empty());
}

// In countdown mode a paint writes only the seconds left over the window's
// saved picture: red, in the view font, a quarter of the text's width left of
// the client's centre, its baseline half its height below. The recording
// context measures 8 x 16 pixels a character.
TEST_F(ViewDrawingTest, CountdownModeWritesTheSecondsLeftOverTheSavedPicture) {
  const std::pair<int, std::vector<int>> counts[] = {{5, {300 - 40 / 4, 250 + 8}}, {12, {300 - 48 / 4, 250 + 8}}};
  model_->StartCountdown(counts[0].first);
  for (const auto& [seconds, at] : counts) {
    SCOPED_TRACE(seconds);
    model_->UpdateCountdown(seconds);
    platform::RecordingDeviceContext dc;
    model_->OnDraw(dc, {0, 0}, 600, 500);
    ASSERT_EQ(dc.Ops().size(), 1u) << "the layout itself is the saved picture";
    const DcOp& text = dc.Ops()[0];
    EXPECT_EQ(text.kind, DcOp::TextOut);
    EXPECT_EQ(text.text, "\xE5\x89\xA9 " + std::to_string(seconds) + " \xE7\xA7\x92");
    EXPECT_EQ(text.color, RGB(255, 0, 0));
    EXPECT_EQ(text.font, (platform::DcFont{"MS Sans Serif", 360, 400}));
    EXPECT_EQ(text.align, platform::TA_BASELINE);
    EXPECT_EQ(text.args, at);
    EXPECT_EQ(dc.SetTextColor(0), 0u) << "the context's text colour is given back";
  }
  model_->EndCountdown();
  const auto dc = DrawAll();
  EXPECT_TRUE(OpsOf(dc, DcOp::TextOut).empty());
  EXPECT_FALSE(OpsOf(dc, DcOp::Rectangle).empty()) << "the layout again";
}

TEST_F(ViewDrawingTest, AnEnlargedVinShowsItsTextAcrossTheMiddleWithItsCheckDigitInColour) {
  model_->EnsureParameterRecord();
  auto* vin = new CObjTextVin(TextCreateRecord{CDoublePoint(-30, 20, 0), "LM13KTNM720923456"});
  document_.Objects().Add(std::make_unique<CObjElement>(
      CObjCreateRecord{"VIN-1", OBJ_VIN, vin, static_cast<int>(sizeof(CObjTextVin)), {}}));
  model_->UpdateScrollExtents();
  const auto texts = [this] {
    platform::RecordingDeviceContext dc;
    model_->OnDraw(dc, {0, 0}, 700, 500);
    return OpsOf(dc, DcOp::TextOut);
  };
  EXPECT_TRUE(texts().empty()) << "only with its large display on";
  vin->SetEnlarged(1);
  const auto shown = texts();
  ASSERT_EQ(shown.size(), 2u);
  // The recording context measures 8 x 16 pixels a character: 136 wide,
  // centred on the origin (x 350), its top one text height above y 250.
  EXPECT_EQ(shown[0].text, "LM13KTNM720923456");
  EXPECT_EQ(shown[0].args, (std::vector<int>{282, 234}));
  EXPECT_EQ(shown[0].color, RGB(0, 0, 0));
  EXPECT_EQ(shown[0].font, (platform::DcFont{"MS Sans Serif", 360, 400}));
  // The ninth character, the check digit, once more over itself.
  EXPECT_EQ(shown[1].text, "7");
  EXPECT_EQ(shown[1].args, (std::vector<int>{282 + 8 * 8, 234}));
  EXPECT_EQ(shown[1].color, RGB(255, 0, 128));
}
