// Zoom, wheel, local zoom, nudging, locks, layers, the start-back switch and
// the reference arc.
#include <cmath>

#include "app/views/model/ViewSettingsFiles.h"
#include "document/objects/CObjElement.h"
#include "document/params/CDrawProperity.h"
#include "tests/app/views/ViewCommandsFixture.h"
#include "values/ShellValues.h"

namespace {

constexpr int ID_ZOOM_IN = 32869;
constexpr int ID_ZOOM_OUT = 32870;
constexpr int ID_LOCK_ALL = 32907;
constexpr int ID_REMOVE_LOCK = 32906;
constexpr int ID_LOCK = 32902;
constexpr int ID_UNLOCK = 32903;
constexpr int ID_LAYER_2 = 32851;
constexpr int ID_START_BACK = 32824;

}  // namespace

class ZoomCommandsTest : public ViewCommandsTest {
 protected:
  void SetUp() override {
    ViewCommandsTest::SetUp();
    model_->UpdateScrollExtents();
  }
  // The millimetre point under a client pixel.
  CDoublePoint Under(const platform::DcPoint& cursor) const {
    const platform::DcPoint scroll = window_.scroll;
    return {(cursor.x + scroll.x - model_->m_centreX) / (model_->m_zoom * g_pxPerMmX),
            (model_->m_centreY - cursor.y - scroll.y) / (model_->m_zoom * g_pxPerMmY)};
  }
};

struct ZoomCase {
  float from;
  int command;
  float to;
};

class ZoomStepTest : public ZoomCommandsTest, public ::testing::WithParamInterface<ZoomCase> {};

TEST_P(ZoomStepTest, StepsAndLimits) {
  model_->m_zoom = GetParam().from;
  model_->RunCommand(GetParam().command, true);
  EXPECT_NEAR(model_->m_zoom, GetParam().to, 1e-5);
}

INSTANTIATE_TEST_SUITE_P(Steps, ZoomStepTest,
                         ::testing::Values(ZoomCase{23.5f, ID_ZOOM_IN, 24}, ZoomCase{24, ID_ZOOM_IN, 24},
                                           ZoomCase{1, ID_ZOOM_IN, 3}, ZoomCase{1.5f, ID_ZOOM_OUT, 1.4f},
                                           ZoomCase{2.5f, ID_ZOOM_OUT, 0.5f}, ZoomCase{0.9f, ID_ZOOM_OUT, 0.9f}));

TEST_F(ZoomCommandsTest, ZoomInKeepsTheViewsMiddle) {
  const platform::DcPoint middle{window_.width / 2, window_.height / 2};
  const CDoublePoint before = Under(middle);
  model_->OnZoomIn();
  const CDoublePoint after = Under(middle);
  EXPECT_NEAR(after.x, before.x, 0.5);
  EXPECT_NEAR(after.y, before.y, 0.5);
}

TEST_F(ZoomCommandsTest, WheelKeepsThePointUnderTheCursor) {
  for (const platform::DcPoint cursor : {platform::DcPoint{50, 60}, platform::DcPoint{550, 420}}) {
    for (int delta : {120, 120, -120, 120, -120, -120, -120}) {
      const CDoublePoint before = Under(cursor);
      ASSERT_TRUE(model_->OnMouseWheel(delta, cursor));
      const CDoublePoint after = Under(cursor);
      EXPECT_NEAR(after.x, before.x, 1.0 / (model_->m_zoom * g_pxPerMmX) + 1e-9);
      EXPECT_NEAR(after.y, before.y, 1.0 / (model_->m_zoom * g_pxPerMmY) + 1e-9);
    }
  }
  // Down only from above 0.8; the menu's zoom out stops at 1.
  model_->m_zoom = 0.9f;
  model_->OnMouseWheel(-120, {0, 0});
  EXPECT_NEAR(model_->m_zoom, 0.7f, 1e-6);
  model_->OnMouseWheel(-120, {0, 0});
  EXPECT_NEAR(model_->m_zoom, 0.7f, 1e-6);
  model_->m_dragState = 1;
  EXPECT_FALSE(model_->OnMouseWheel(120, {0, 0}));
}

TEST_F(ZoomCommandsTest, WindowViewFitsTheWorkAreaAndLeavesATooSmallWindowAlone) {
  model_->OnWindowView();
  // 600 x 500 less 80 pixels of margin, 400 x 320 pixels of work area.
  EXPECT_NEAR(model_->m_zoom, std::min(520.0 / 400, 420.0 / 320), 1e-5);
  window_.width = 60;
  model_->m_zoom = 2;
  model_->OnWindowView();
  EXPECT_EQ(model_->m_zoom, 2);
}

TEST_F(ZoomCommandsTest, LocalZoomGrowsByTheRectangleAndIgnoresAClick) {
  model_->OnLocalZoom(CDoubleRect(0, 0, 0, 0));
  EXPECT_EQ(model_->m_zoom, 1);
  model_->OnLocalZoom(CDoubleRect(-10, 10, 10, -10));
  EXPECT_NEAR(model_->m_zoom, 1 + std::min(600.0 / 80, 500.0 / 80), 1e-5);
  const CDoublePoint centre = Under({window_.width / 2, window_.height / 2});
  EXPECT_NEAR(centre.x, 0, 1);
  EXPECT_NEAR(centre.y, 0, 1);
}

TEST_F(ZoomCommandsTest, NudgeMovesTheSelectionButNotLockedObjects) {
  model_->NudgeSelection(CVendrikViewModel::NudgeKey::Right);  // empty selection: nothing
  CObjElement* a = Line({0, 0}, {5, 0}, "a");
  CObjElement* b = Line({0, 5}, {5, 5}, "b");
  b->lock = 1;
  Select({a, b});
  const struct {
    CVendrikViewModel::NudgeKey key;
    double dx, dy;
  } steps[] = {{CVendrikViewModel::NudgeKey::Right, 0.1, 0}, {CVendrikViewModel::NudgeKey::Up, 0, 0.1},
               {CVendrikViewModel::NudgeKey::End, 1, 0},     {CVendrikViewModel::NudgeKey::PageDown, 0, -1},
               {CVendrikViewModel::NudgeKey::Home, -1, 0},   {CVendrikViewModel::NudgeKey::Left, -0.1, 0},
               {CVendrikViewModel::NudgeKey::Down, 0, -0.1}, {CVendrikViewModel::NudgeKey::PageUp, 0, 1}};
  double x = 0, y = 0;
  for (const auto& step : steps) {
    model_->NudgeSelection(step.key);
    x += step.dx;
    y += step.dy;
    EXPECT_NEAR(a->GetBoundRect().left, x, 1e-9);
    EXPECT_NEAR(a->GetBoundRect().top, y, 1e-9);
  }
  EXPECT_NEAR(b->GetBoundRect().left, 0, kTol);
}

TEST_F(ZoomCommandsTest, LockAllAndRemoveLockNeedTwoObjects) {
  CObjElement* a = Line({0, 0}, {5, 0}, "a");
  Select({a});
  EXPECT_FALSE(model_->RunCommand(ID_LOCK_ALL, false));
  EXPECT_TRUE(model_->RunCommand(ID_LOCK, true));
  EXPECT_EQ(a->lock, 1);
  EXPECT_FALSE(model_->RunCommand(ID_LOCK, false));
  EXPECT_FALSE(model_->RunCommand(ID_REMOVE_LOCK, false));
  EXPECT_TRUE(model_->RunCommand(ID_UNLOCK, true));
  CObjElement* b = Line({0, 5}, {5, 5}, "b");
  EXPECT_TRUE(model_->RunCommand(ID_LOCK_ALL, true));
  EXPECT_EQ(b->lock, 1);
  EXPECT_TRUE(model_->RunCommand(ID_REMOVE_LOCK, true));
  EXPECT_EQ(a->lock + b->lock, 0);
  EXPECT_FALSE(document_.IsModified());
}

TEST_F(ZoomCommandsTest, LayerCommandIsOfferedOnlyForAUsedLayer) {
  EXPECT_FALSE(model_->RunCommand(ID_LAYER_2, false));
  AddLine({0, 0}, {1, 0}, 0, 1);
  ASSERT_TRUE(model_->RunCommand(ID_LAYER_2, true));
  EXPECT_EQ(model_->m_layerOn[1], 0);
  EXPECT_FALSE(model_->IsCommandChecked(ID_LAYER_2));
}

TEST_F(ZoomCommandsTest, StartBackSwitchFlipsTheRecordAndTheMachineSettings) {
  auto* record = At(0)->GetObjectAs<CDrawProperity>();
  ASSERT_NE(record, nullptr);
  const bool before = (record->GetOptionByte() & 1) != 0;
  model_->RunCommand(ID_START_BACK, true);
  EXPECT_NE((record->GetOptionByte() & 1) != 0, before);
  EXPECT_EQ(g_machineSet.optionByte, record->GetOptionByte());
  EXPECT_EQ(model_->IsCommandChecked(ID_START_BACK), !before);
}

struct ArcCase {
  CDoublePoint p1, p2;
  double radius;
  bool ok;
  double cx, cy;
};

class ArcCentreTest : public ::testing::TestWithParam<ArcCase> {};

TEST_P(ArcCentreTest, CentreOrRefusal) {
  const ArcCase c = GetParam();
  CDoublePoint centre(-99, -99);
  ASSERT_EQ(CVendrikViewModel::ArcCentre(c.p1, c.p2, c.radius, centre), c.ok);
  if (!c.ok) return;
  EXPECT_NEAR(centre.x, c.cx, 1e-6);
  EXPECT_NEAR(centre.y, c.cy, 1e-6);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ArcCentreTest,
    ::testing::Values(ArcCase{{0, 0}, {10, 10}, 10, true, 10, 0}, ArcCase{{10, 10}, {0, 0}, 10, true, 0, 10},
                      ArcCase{{0, 0}, {10, 0}, 10, false, 0, 0}, ArcCase{{0, 0}, {0, 10}, 10, false, 0, 0},
                      // Below half the chord there is no centre (no NaN either).
                      ArcCase{{0, 0}, {10, 10}, 5, false, 0, 0},
                      ArcCase{{0, 0}, {10, 10}, std::sqrt(50.0), true, 5, 5}));

TEST_F(ZoomCommandsTest, ReferenceArcRaisesATooSmallRadiusBuildsTheArcAndSavesIt) {
  model_->m_arcInfo.point1X = 0;
  model_->m_arcInfo.point1Y = 0;
  model_->m_arcInfo.point2X = 10;
  model_->m_arcInfo.point2Y = 10;
  model_->m_arcInfo.radius = 1;
  model_->m_arcInfo.arcOn = 1;
  model_->ReferenceArcDialog(0);
  EXPECT_NEAR(dialogs_.shownArc.radius, std::sqrt(50.0) + 0.2, 1e-5);
  EXPECT_NEAR(dialogs_.shownArc.minRadius, std::sqrt(50.0), 1e-5);
  ASSERT_NE(model_->m_lookArc, nullptr);
  EXPECT_EQ(model_->m_lookArc->name, "LookArc");
  EXPECT_EQ(model_->m_arcInfo.arcBuilt, 1);
  model_->SaveArcPointedInfo();
  const ArcPointedInfo stored = LoadArcPointedInfo(g_installDir);
  EXPECT_EQ(stored.arcBuilt, 1);
  EXPECT_FLOAT_EQ(stored.radius, model_->m_arcInfo.radius);

  dialogs_.ok = false;
  model_->ReferenceArcDialog(1);
  EXPECT_EQ(model_->m_arcInfo.arcOn, 0);
}

TEST_F(ZoomCommandsTest, ReferenceArcOnOneLineIsRefused) {
  model_->m_arcInfo.point2X = 10;
  model_->ReferenceArcDialog(1);
  EXPECT_EQ(Messages(), std::vector<std::string>{"Two point can't on the horizon or vertical!"});
  EXPECT_EQ(model_->m_lookArc, nullptr);
}

TEST_F(ZoomCommandsTest, NeedleCommandsWaitForTheWorkPositionAndTheArcSwitchIsSaved) {
  for (int id : {32881, 32882, 32886, 32733, 32734}) EXPECT_FALSE(model_->RunCommand(id, false)) << id;
  EXPECT_EQ(model_->MoveNeedleToSelection(1, 1), 0);
  ASSERT_TRUE(model_->RunCommand(32887, true));  // two points for the reference arc: on
  EXPECT_TRUE(model_->IsCommandChecked(32887));
  EXPECT_EQ(LoadArcPointedInfo(g_installDir).arcOn, 0);  // two equal points read back as off
  model_->m_arcInfo.point2X = 10;
  model_->m_arcInfo.point2Y = 10;
  ASSERT_TRUE(model_->RunCommand(32887, true));  // off
  model_->RunCommand(32887, true);               // on again
  EXPECT_EQ(LoadArcPointedInfo(g_installDir).arcOn, 1);
  EXPECT_FALSE(model_->RunCommand(32889, false));  // no arc built yet to select
}

TEST_F(ZoomCommandsTest, TheArcTaughtBeforeIsBuiltAgainWhenTheSettingsAreRead) {
  ArcPointedInfo info;
  info.point2X = 10;
  info.point2Y = 10;
  info.centreX = 10;
  info.radius = 10;
  info.arcOn = 1;
  info.arcBuilt = 1;
  ASSERT_TRUE(SaveArcPointedInfo(g_installDir, info));
  model_->LoadSettingsFiles();
  ASSERT_NE(model_->m_lookArc, nullptr);
  EXPECT_NEAR(model_->m_lookArc->GetBoundRect().CenterX(), 10, 0.5);
  EXPECT_TRUE(Messages().empty());
}
