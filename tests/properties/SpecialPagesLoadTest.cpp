// The pages of the special texts show the values of the object they are
// opened on: each case builds an object, shows its element in the pane and
// reads the page's controls.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <functional>

#include "tests/properties/PaneFixture.h"
#include "text/objects/CObjBarCode.h"
#include "text/objects/CObjTextAutoUpdate.h"
#include "text/objects/CObjTextDate.h"
#include "text/objects/CObjTextRuler.h"
#include "text/objects/CObjTextVin.h"
#include "document/objects/ObjectType.h"

namespace {

struct Shown {
  const char* control;  // object name of the control
  const char* text;     // its text; for boxes and radios "1" or "0"
};

struct LoadCase {
  const char* name;
  int type;
  const char* caption;
  std::function<std::pair<CObjBase*, int>()> make;
  std::vector<Shown> shown;
};

std::pair<CObjBase*, int> Serial() {
  auto* o = new CObjTextAutoUpdate();
  SerialSettings& s = o->Serial();
  s.prefix = "AB-";
  s.serial = "0042";
  s.suffix = "-Z";
  s.lower = "0001";
  s.upper = "0100";
  s.step = 3;
  s.marksPerNumber = 5;
  s.marksCounted = 2;
  s.tailSwitch = 1;
  s.tailLength = 6;
  s.dateMode = 2;
  return {o, static_cast<int>(sizeof(*o))};
}

std::pair<CObjBase*, int> Date() {
  auto* o = new CObjTextDate();
  o->SetFormat(4);
  return {o, static_cast<int>(sizeof(*o))};
}

std::pair<CObjBase*, int> Vin() {
  auto* o = new CObjTextVin();
  o->Settings().text = "LSVAB2BN8CM123456";
  o->SetEnlarged(1);
  return {o, static_cast<int>(sizeof(*o))};
}

std::pair<CObjBase*, int> Code() {
  auto* o = new CObjBarCode();
  BarCodeSettings& c = o->Code();
  c.codeType = BARCODE_QR;
  c.qrLevel = 3;
  c.qrMask = 2;
  c.qrVersion = 5;
  c.dotOrder = 2;
  c.moduleSize = 0.5f;
  c.angle = 90;
  c.showText = 1;
  c.textPosition = CDoublePoint(12, 34);
  SerialSettings& s = o->Serial();
  s.prefix = "P";
  s.serial = "777";
  s.suffix = "S";
  s.step = 2;
  s.marksPerNumber = 4;
  s.marksCounted = 1;
  return {o, static_cast<int>(sizeof(*o))};
}

std::pair<CObjBase*, int> Ruler() {
  auto* o = new CObjTextRuler();
  RulerSettings& r = o->Ruler();
  r.units = 40;
  r.bigUnits = 5;
  r.lineW = 2;
  r.rHeight = 8;
  r.zero = 1;
  r.reverse = 3;
  r.textMode = 2;
  r.arcMode = 1;
  r.ur = 30;
  r.dir = 1;
  return {o, static_cast<int>(sizeof(*o))};
}

class SpecialPageLoadTest : public PaneTest, public ::testing::WithParamInterface<LoadCase> {};

QString TextOf(QWidget* w) {
  if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text();
  if (auto* c = qobject_cast<QComboBox*>(w)) return QString::number(c->currentIndex());
  if (auto* b = qobject_cast<QCheckBox*>(w)) return b->isChecked() ? "1" : "0";
  if (auto* r = qobject_cast<QRadioButton*>(w)) return r->isChecked() ? "1" : "0";
  return "?";
}

}  // namespace

TEST_P(SpecialPageLoadTest, PageShowsTheObjectsValues) {
  const LoadCase& c = GetParam();
  CObjElement* element = Add(c.type, c.name);
  auto [object, size] = c.make();
  element->AttachObject(object, size, CDoubleRect(0, 0, 10, 10));
  view_->AddObject(element, 0);
  Pump();
  ASSERT_NE(Open(c.caption), nullptr);
  for (const Shown& s : c.shown) {
    auto* w = Control<QWidget>(s.control);
    ASSERT_NE(w, nullptr) << s.control;
    EXPECT_EQ(TextOf(w).toStdString(), s.text) << s.control;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Pages, SpecialPageLoadTest,
    ::testing::Values(
        LoadCase{"serial", OBJ_SERIAL, "Auto text", Serial,
                 {{"edit1014", "AB-"}, {"edit1015", "0042"}, {"edit1016", "-Z"}, {"edit1074", "0001"},
                  {"edit1075", "0100"}, {"edit1017", "3"}, {"edit1022", "5"}, {"edit1023", "2"},
                  {"check1064", "1"}, {"edit1065", "6"}, {"combo1084", "2"}}},
        LoadCase{"date", OBJ_DATE, "System date", Date, {{"combo1083", "4"}}},
        LoadCase{"vin", OBJ_VIN, "VIN code(seventeen chars)", Vin,
                 {{"edit1103", "LSVAB2BN8CM123456"}, {"edit1014", "LSV"}, {"edit1022", "123456"},
                  {"check1102", "1"}}},
        LoadCase{"code", OBJ_BARCODE, "Barcode", Code,
                 {{"radio1006", "1"}, {"radio1005", "0"}, {"combo1027", "3"}, {"combo1029", "2"},
                  {"combo1024", "5"}, {"combo1030", "2"}, {"edit1031", "0.5"}, {"edit1077", "90"},
                  {"edit1021", "12"}, {"edit1022", "34"}, {"check1015", "1"}, {"edit1011", "P"},
                  {"edit1016", "777"}, {"edit1017", "S"}, {"edit1018", "2"}, {"edit1019", "4"},
                  {"edit1020", "1"}}},
        LoadCase{"ruler", OBJ_RULER, "Ruler", Ruler,
                 {{"edit1035", "40"}, {"edit1017", "5"}, {"edit1036", "2"}, {"edit1016", "8"}, {"edit1021", "1"},
                  {"edit1023", "3"}, {"combo1034", "2"}, {"combo1038", "1"}, {"edit1024", "30"},
                  {"check1037", "1"}}}),
    [](const auto& info) { return std::string(info.param.name); });
