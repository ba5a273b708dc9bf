// The shape pages: read-outs of known shapes, thresholds, spins and the
// vertex number that names no vertex.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "document/objects/CObjArc.h"
#include "document/objects/CObjImage.h"
#include "document/objects/CObjLine.h"
#include "document/objects/CObjMultiBorder.h"
#include "document/objects/CObjPolyLine.h"
#include "properties/pages/CUpdateObjArcPage.h"
#include "properties/pages/CUpdateObjRectPage.h"
#include "properties/pages/CUpdatePolylinePage.h"
#include "tests/properties/PaneFixture.h"
#include "values/PropertyMessages.h"
#include "widgets/CSpinButton.h"

namespace {

struct RectReadout {
  double l, r, t, b;
  const char* perimeter;
  const char* area;
};

class RectReadoutTest : public ::testing::TestWithParam<RectReadout> {};

TEST_P(RectReadoutTest, PerimeterAndArea) {
  const RectReadout& c = GetParam();
  EXPECT_EQ(CUpdateObjRectPage::PerimeterText(c.l, c.r, c.t, c.b), c.perimeter);
  EXPECT_EQ(CUpdateObjRectPage::AreaText(c.l, c.r, c.t, c.b), c.area);
}

INSTANTIATE_TEST_SUITE_P(Shapes, RectReadoutTest,
                         ::testing::Values(RectReadout{10, 30, 20, 5, "70.000", "300.000"},
                                           RectReadout{30, 10, 5, 20, "70.000", "300.000"},
                                           RectReadout{0, 0.25, 0, 1, "2.500", "0.250"}));

struct ArcReadout {
  float start, end;
  double a, b;
  double sweep;
  const char* length;
  const char* area;
};

class ArcReadoutTest : public ::testing::TestWithParam<ArcReadout> {};

TEST_P(ArcReadoutTest, SweepLengthAndSectorArea) {
  const ArcReadout& c = GetParam();
  EXPECT_DOUBLE_EQ(CUpdateObjArcPage::Sweep(c.start, c.end), c.sweep);
  EXPECT_EQ(CUpdateObjArcPage::ArcLengthText(c.a, c.b, c.start, c.end), c.length);
  EXPECT_EQ(CUpdateObjArcPage::SectorAreaText(c.a, c.b, c.start, c.end), c.area);
}

INSTANTIATE_TEST_SUITE_P(Arcs, ArcReadoutTest,
                         ::testing::Values(ArcReadout{300, 60, 10, 10, 120, "20.9438", "104.7198"},
                                           ArcReadout{0, 360, 10, 10, 360, "62.8315", "314.1593"},
                                           ArcReadout{45, 45, 5, 5, 360, "31.4158", "78.5398"},
                                           ArcReadout{0, 90, 10, 20, 90, "23.5618", "176.7146"}));

class GeometryPagesTest : public PaneTest {
 protected:
  template <class T>
  CObjElement* Show(int type, T* object, const char* page) {
    CObjElement* e = Add(type, "shape-1");
    e->AttachObject(object, static_cast<int>(sizeof(T)), {});
    view_->AddObject(e, 0);
    Pump();
    Open(page);
    return e;
  }
  std::vector<double> Posted(int id) const {
    std::vector<double> values;
    for (const Received& r : layout_.Changes())
      if (r.id == id) values.push_back(PropToDouble(r.value));
    return values;
  }
  void Spin(const char* spin, bool up, int times = 1) {
    auto* s = Control<CSpinButton>(spin);
    for (int i = 0; i < times; ++i) QTest::mouseClick(up ? s->UpButton() : s->DownButton(), Qt::LeftButton);
    Pump();
  }
};

TEST_F(GeometryPagesTest, LineLengthFollowsTheTypedValueUnderTheThreshold) {
  Show(OBJ_LINE, new CObjLine({0, 0}, {3, 4}), "Line");
  EXPECT_EQ(Control<QLineEdit>("edit1009")->text(), QString("5"));
  TypeAndEnter(Control<QLineEdit>("edit1001"), "0.0005");
  EXPECT_TRUE(Posted(1001).empty());
  EXPECT_NE(Control<QLineEdit>("edit1009")->text(), QString("5"));
  Spin("spin1007", true);
  EXPECT_EQ(Posted(1003), std::vector<double>{8});
}

TEST_F(GeometryPagesTest, RectangleWhoseCornersAgreeIsSquaredToItsSidesAndShowsItsReadouts) {
  CPointList list;
  for (CDoublePoint p : {CDoublePoint(9.9996, 20.0004), CDoublePoint(30.0001, 20), CDoublePoint(30, 5),
                         CDoublePoint(10.0004, 5.0001)})
    list.Add(p);
  auto* rect = new CObjPolyLine(list, 1, 0);
  Show(OBJ_RECTANGLE, rect, "Rectangle");
  const CPointList& v = rect->GetPathData().points;
  EXPECT_EQ(v[0].x, 10);
  EXPECT_EQ(v[3].x, 10);
  EXPECT_EQ(v[1].y, 20);
  EXPECT_EQ(v[4].y, 20);
  EXPECT_EQ(Control<QLabel>("label1056")->text(), QString("70.000"));
  EXPECT_EQ(Control<QLabel>("label1057")->text(), QString("300.000"));
}

// Corners that do not lie as the four sides assume (a turned rectangle) are
// shown by their mean sides but never rewritten by showing them.
TEST_F(GeometryPagesTest, RectangleWhoseCornersDisagreeShowsItsMeanSidesAndKeepsItsCorners) {
  CPointList list;
  for (CDoublePoint p : {CDoublePoint(10, 20), CDoublePoint(30, 21), CDoublePoint(31, 5), CDoublePoint(9, 5)})
    list.Add(p);
  auto* rect = new CObjPolyLine(list, 1, 0);
  Show(OBJ_RECTANGLE, rect, "Rectangle");
  const CPointList& v = rect->GetPathData().points;
  EXPECT_EQ(v[0].x, 10);
  EXPECT_EQ(v[3].x, 9);
  EXPECT_EQ(v[1].y, 21);
  EXPECT_EQ(Control<QLineEdit>("edit1014")->text(), QString("9.5"));
  EXPECT_EQ(Control<QLineEdit>("edit1016")->text(), QString("20.5"));
  EXPECT_EQ(Control<QLabel>("label1056")->text(), QString("73.000"));
  EXPECT_EQ(Control<QLabel>("label1057")->text(), QString("325.500"));
}

TEST_F(GeometryPagesTest, PolylineVertexNumberNamingNoVertexIsPutBack) {
  CPointList list;
  for (int i = 0; i < 5; ++i) list.Add(CDoublePoint(i, i * 2));
  auto* poly = new CObjPolyLine(list, 0, 0);
  Show(OBJ_POLYLINE, poly, "Polyline");
  EXPECT_EQ(Control<QLineEdit>("edit1016")->text(), QString("1"));
  for (const char* number : {"9", "0", "-2"}) {
    TypeAndEnter(Control<QLineEdit>("edit1016"), number);
    EXPECT_EQ(Control<QLineEdit>("edit1016")->text(), QString("1")) << number;
  }
  EXPECT_TRUE(Posted(1016).empty());
  Spin("spin1050", true, 7);
  EXPECT_EQ(Posted(1016), (std::vector<double>{2, 3, 4, 5}));
}

TEST_F(GeometryPagesTest, MultiBorderSpinsKeepTheirMinimums) {
  MultiBorderDialogRecord record;
  record.sides = 4;
  record.radius = 2;
  Show(OBJ_MULTIBORDER, new CObjMultiBorder(record), "Multi-borders object");
  Spin("spin1121", false, 3);
  EXPECT_EQ(Posted(1018), std::vector<double>{3});
  Spin("spin1120", false);
  EXPECT_EQ(Posted(1017), std::vector<double>{1.0});
  Spin("spin1119", false);
  EXPECT_EQ(Posted(1016).back(), 45);  // 60 - 15
}

TEST_F(GeometryPagesTest, ArcAnglesWrapAndRadiiCanBeMadeEqual) {
  ArcDialogRecord record;
  record.xRadius = 10;
  record.yRadius = 4;
  Show(OBJ_ARC, new CObjArc(record), "Arc/circle");
  Spin("spin1061", false);
  EXPECT_EQ(Posted(1017).back(), 345);
  QTest::mouseClick(Control<QPushButton>("button1142"), Qt::LeftButton);
  Pump();
  EXPECT_EQ(Posted(1019), std::vector<double>{10});
  Spin("spin1063", false, 20);
  EXPECT_EQ(Posted(1019).back(), 1.0);
}

TEST_F(GeometryPagesTest, TranslatePointsIsPostedWithoutAValue) {
  CObjElement* e = Show(OBJ_PICTURE, new CObjImage(), "Image");
  QTest::mouseClick(Control<QPushButton>("button1007"), Qt::LeftButton);
  Pump();
  const auto changes = layout_.Changes();
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(changes[0].msg, WM_UPDATE_OBJIMAGESIZE);
  EXPECT_EQ(changes[0].id, 1007);
  EXPECT_FALSE(HasPropValue(changes[0].value));
  EXPECT_EQ(changes[0].object, e);
}

}  // namespace
