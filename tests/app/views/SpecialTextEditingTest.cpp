// The view's handlers of the serial number, date, VIN, ruler and barcode
// pages: each row writes its setting through the object, which is laid out
// or re-encoded again; refused VIN texts leave the object as it was.
#include <functional>

#include "app/views/model/CVendrikViewModel.h"
#include "platform/Prompt.h"
#include "properties/framework/PropChange.h"
#include "tests/app/views/ViewModelFixture.h"
#include "tests/text/layout/TextTestSupport.h"
#include "text/objects/CObjBarCode.h"
#include "text/objects/CObjTextAutoUpdate.h"
#include "text/objects/CObjTextDate.h"
#include "text/objects/CObjTextRuler.h"
#include "text/objects/CObjTextVin.h"
#include "values/PropertyMessages.h"

namespace {

constexpr char kVin[] = "LSVAB2BN8CM123456";

CObjBase* MakeObject(int type) {
  CObjText* text = nullptr;
  switch (type) {
    case OBJ_SERIAL: text = new CObjTextAutoUpdate(CDoublePoint(10, 50), "AB-", "0042", ""); break;
    case OBJ_DATE: text = new CObjTextDate(); break;
    case OBJ_VIN: {
      auto* vin = new CObjTextVin();
      vin->Settings().text = kVin;
      text = vin;
      break;
    }
    case OBJ_RULER: text = new CObjTextRuler(CDoublePoint(10, 50)); break;
    case OBJ_BARCODE: {
      auto* code = new CObjBarCode(CDoublePoint(10, 50), "A", "123", "");
      text = code;
      break;
    }
    default: return nullptr;
  }
  text->Settings().strokeFontPair = "mm+nobig";
  text->Settings().charHeight = 28;
  return text;
}

struct Row {
  const char* name;
  int type;
  UINT msg;
  int id;
  PropValue value;
  std::function<void(CObjElement&)> expect;
  bool refused = false;  // the VIN message is shown and the text stays
};

class SpecialTextEditingTest : public ViewModelTest, public ::testing::WithParamInterface<Row> {
 protected:
  void SetUp() override {
    ViewModelTest::SetUp();
    rig_ = std::make_unique<TextRig>();
    for (auto [id, ops] : {std::pair{ObjClassId::TextAutoUpdate, &TextAutoUpdateTypeOps()},
                           {ObjClassId::TextDate, &TextDateTypeOps()}, {ObjClassId::TextVin, &TextVinTypeOps()},
                           {ObjClassId::BarCode, &BarCodeTypeOps()}, {ObjClassId::TextRuler, &TextRulerTypeOps()}})
      RegisterObjTypeOps(id, ops);
    prompt_ = std::make_shared<platform::ScriptedPrompt>();
    platform::SetPrompt(prompt_);
  }
  void TearDown() override {
    document_.DeleteAllObjects();
    for (ObjClassId id : {ObjClassId::TextAutoUpdate, ObjClassId::TextDate, ObjClassId::TextVin,
                          ObjClassId::BarCode, ObjClassId::TextRuler})
      RegisterObjTypeOps(id, nullptr);
    rig_.reset();
    platform::SetPrompt(std::make_shared<platform::ScriptedPrompt>());
    ViewModelTest::TearDown();
  }
  CObjElement& Make(int type) {
    CObjBase* object = MakeObject(type);
    // In the layout, after its first element: changes to objects the layout
    // no longer holds are dropped.
    AddLine({0, 0}, {1, 1}, 0);
    element_ = new CObjElement(CObjCreateRecord{"obj", type, object, 64, {}});
    document_.Objects().Add(element_);
    element_->BindPathOwner();
    auto* text = element_->GetObjectAs<CObjText>();
    if (auto* ruler = element_->GetObjectAs<CObjTextRuler>()) {
      ruler->CreatePoints(CDoublePoint(10, 50), false);
    } else if (auto* code = element_->GetObjectAs<CObjBarCode>()) {
      code->SetCodeText(CDoublePoint(10, 50), code->ComposeText(), 0, 0);
    } else {
      text->SetText(text->GetText().empty() ? "LIL" : text->GetText(), CDoublePoint(10, 50), false);
      text->RecalcPath();
    }
    element_->UpdateBoundRect();
    return *element_;
  }
  void Send(UINT msg, int id, PropValue value) {
    auto record = std::make_shared<PROPCHANGE>();
    record->id = id;
    record->value = std::move(value);
    record->object = element_;
    ASSERT_TRUE(model_->OnMessage(platform::Message{msg, reinterpret_cast<WPARAM>(record.get()), 0, record}));
  }

  std::unique_ptr<TextRig> rig_;
  CObjElement* element_ = nullptr;  // the layout's
  std::shared_ptr<platform::ScriptedPrompt> prompt_;
};

template <class T>
T& As(CObjElement& e) {
  return *e.GetObjectAs<T>();
}

}  // namespace

TEST_P(SpecialTextEditingTest, RowWritesItsSettingThroughTheObject) {
  const Row& row = GetParam();
  CObjElement& element = Make(row.type);
  const std::string before = element.GetObjectAs<CObjText>()->GetText();
  Send(row.msg, row.id, row.value);
  if (row.refused) {
    EXPECT_EQ(element.GetObjectAs<CObjText>()->GetText(), before);
    ASSERT_FALSE(prompt_->Texts().empty());
    EXPECT_EQ(prompt_->Texts().back(), kVinStyleError);
    return;
  }
  EXPECT_TRUE(prompt_->Texts().empty());
  row.expect(element);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SpecialTextEditingTest,
    ::testing::Values(
        Row{"SerialPrefix", OBJ_SERIAL, WM_UPDATE_AUTOTEXT, 1014, std::string("X-"),
            [](CObjElement& e) {
              EXPECT_EQ(As<CObjTextAutoUpdate>(e).GetPrefix(), "X-");
              EXPECT_EQ(As<CObjTextAutoUpdate>(e).GetText(), "X-0042");
            }},
        Row{"SerialNumber", OBJ_SERIAL, WM_UPDATE_AUTOTEXT, 1015, std::string("0100"),
            [](CObjElement& e) { EXPECT_EQ(As<CObjTextAutoUpdate>(e).GetText(), "AB-0100"); }},
        Row{"SerialStep", OBJ_SERIAL, WM_UPDATE_AUTOTEXT, 1017, 5,
            [](CObjElement& e) { EXPECT_EQ(As<CObjTextAutoUpdate>(e).Serial().step, 5); }},
        Row{"SerialSameNoRestartsCount", OBJ_SERIAL, WM_UPDATE_AUTOTEXT, 1022, 7,
            [](CObjElement& e) {
              EXPECT_EQ(As<CObjTextAutoUpdate>(e).Serial().marksPerNumber, 7);
              EXPECT_EQ(As<CObjTextAutoUpdate>(e).Serial().marksCounted, 0);
            }},
        Row{"SerialUpperBound", OBJ_SERIAL, WM_UPDATE_AUTOTEXT, 1075, std::string("0999"),
            [](CObjElement& e) { EXPECT_EQ(As<CObjTextAutoUpdate>(e).Serial().upper, "0999"); }},
        Row{"SerialDateModeOutOfRangeIgnored", OBJ_SERIAL, WM_UPDATE_AUTOTEXT, 1084, 7,
            [](CObjElement& e) { EXPECT_EQ(As<CObjTextAutoUpdate>(e).Serial().dateMode, 0); }},
        Row{"DateStyleByIndex", OBJ_DATE, WM_UPDATE_TEXTTIME, 1083, 4,
            [](CObjElement& e) { EXPECT_EQ(As<CObjTextDate>(e).GetFormat(), 4); }},
        Row{"VinWmiKeepsTheRest", OBJ_VIN, WM_UPDATE_OBJVIN, 1014, std::string("WDB"),
            [](CObjElement& e) {
              const std::string t = As<CObjTextVin>(e).GetText();
              ASSERT_EQ(t.size(), 17u);
              EXPECT_EQ(t.substr(0, 3), "WDB");
              EXPECT_EQ(t.substr(3, 5), std::string(kVin).substr(3, 5));
              EXPECT_EQ(t.substr(9), std::string(kVin).substr(9));
              EXPECT_EQ(t[8], CObjTextVin::CheckCharOf(t));
            }},
        Row{"VinMakeOrder", OBJ_VIN, WM_UPDATE_OBJVIN, 1022, std::string("000777"),
            [](CObjElement& e) { EXPECT_EQ(As<CObjTextVin>(e).GetSerialPart(), "000777"); }},
        Row{"VinRefusedLetter", OBJ_VIN, WM_UPDATE_OBJVIN, 1015, std::string("O"), {}, true},
        Row{"VinWholeTooShort", OBJ_VIN, WM_UPDATE_OBJVIN, 1103, std::string("LSV123"), {}, true},
        Row{"VinZoom", OBJ_VIN, WM_UPDATE_OBJVIN, 1102, 1,
            [](CObjElement& e) { EXPECT_EQ(As<CObjTextVin>(e).GetEnlarged(), 1); }},
        Row{"RulerGraduationsRebuild", OBJ_RULER, WM_UPDATE_OBJRULERBAR, 1035, 20,
            [](CObjElement& e) {
              EXPECT_EQ(As<CObjTextRuler>(e).Ruler().units, 20);
              EXPECT_EQ(As<CObjTextRuler>(e).Ticks().size(), 21u);
              EXPECT_NEAR(e.boundRect.Width(), 20 * As<CObjTextRuler>(e).Ruler().lineW, 1e-6);
            }},
        Row{"RulerStartValueWithoutLabelsOnlyStored", OBJ_RULER, WM_UPDATE_OBJRULERBAR, 1020, 5.0f,
            [](CObjElement& e) { EXPECT_FLOAT_EQ(As<CObjTextRuler>(e).Ruler().sv, 5.0f); }},
        Row{"RulerCountOutOfRangeRefused", OBJ_RULER, WM_UPDATE_OBJRULERBAR, 1035, kRulerMaxUnits + 1,
            [](CObjElement& e) { EXPECT_EQ(As<CObjTextRuler>(e).Ruler().units, 60); }},
        Row{"CodeToQr", OBJ_BARCODE, WM_UPDATE_BARCODE, 1006, 1,
            [](CObjElement& e) {
              EXPECT_EQ(As<CObjBarCode>(e).Code().codeType, BARCODE_QR);
              EXPECT_GT(As<CObjBarCode>(e).GetDotCount(), 0);
              EXPECT_TRUE(As<CObjBarCode>(e).GetEncodeError().empty());
            }},
        Row{"CodeModuleSize", OBJ_BARCODE, WM_UPDATE_BARCODE, 1031, 1.0f,
            [](CObjElement& e) { EXPECT_FLOAT_EQ(As<CObjBarCode>(e).Code().moduleSize, 1.0f); }},
        Row{"CodeSerialReencodes", OBJ_BARCODE, WM_UPDATE_BARCODE, 1016, std::string("999"),
            [](CObjElement& e) {
              EXPECT_EQ(As<CObjBarCode>(e).GetText(), "A999");
              EXPECT_GT(As<CObjBarCode>(e).GetDotCount(), 0);
            }},
        Row{"RulerFontHeightRebuildsLabels", OBJ_RULER, WM_UPDATE_FONT, 1014, 56.0f,
            [](CObjElement& e) { EXPECT_DOUBLE_EQ(As<CObjTextRuler>(e).Settings().heightRatio, 2.0); }},
        Row{"RulerTakesNoSpacing", OBJ_RULER, WM_UPDATE_FONT, 1019, 3.0f,
            [](CObjElement& e) { EXPECT_FLOAT_EQ(As<CObjTextRuler>(e).Settings().charSpacing, 0.0f); }},
        Row{"CodeFontKeepsTheModules", OBJ_BARCODE, WM_UPDATE_FONT, 1015, 12.0f,
            [](CObjElement& e) {
              EXPECT_FLOAT_EQ(As<CObjBarCode>(e).Settings().slant, 12.0f);
              EXPECT_GT(As<CObjBarCode>(e).GetDotCount(), 0);
            }},
        Row{"CodeStepOnlyStored", OBJ_BARCODE, WM_UPDATE_BARCODE, 1018, 3,
            [](CObjElement& e) { EXPECT_EQ(As<CObjBarCode>(e).Serial().step, 3); }}),
    [](const auto& info) { return std::string(info.param.name); });

// The code keeps the fixed point of its modules when a setting that keeps
// the anchor changes its size.
TEST_F(SpecialTextEditingTest, CodeHoldsItsModulesWhenItsModuleSizeChanges) {
  CObjElement& element = Make(OBJ_BARCODE);
  CDoubleRect before;
  ASSERT_TRUE(As<CObjBarCode>(element).GetPathData().GetKind2BoundRect(before));
  Send(WM_UPDATE_BARCODE, 1031, 1.0f);
  CDoubleRect after;
  ASSERT_TRUE(As<CObjBarCode>(element).GetPathData().GetKind2BoundRect(after));
  EXPECT_GT(after.Width(), before.Width());
  const CObjBarCode& code = As<CObjBarCode>(element);
  EXPECT_NEAR(code.GetFixedPoint(after).x, code.GetFixedPoint(before).x, 1e-6);
  EXPECT_NEAR(code.GetFixedPoint(after).y, code.GetFixedPoint(before).y, 1e-6);
}

// The hatch points of the text a code shows (every group but the modules').
int ShownTextHatching(const CObjBarCode& code) {
  int points = 0;
  const CPathData& path = code.GetPathData();
  for (int i = 0; i < path.GetGroupCount(); ++i)
    if (path.GetGroupAt(i)->kind != GROUP_KIND_HIDDEN) points += path.GetGroupAt(i)->GetFillList().GetSize();
  return points;
}

// Filling a code's shown TrueType text hatches it at once: the fill change
// rebuilds the text, and leaves the modules where they are.
TEST_F(SpecialTextEditingTest, FillChangeOnACodeRebuildsTheTextItShows) {
  CObjElement& element = Make(OBJ_BARCODE);
  auto& code = As<CObjBarCode>(element);
  code.Code().showText = 1;
  code.SetTrueTypeMode(true);
  code.Settings().font.faceName = "DejaVu Sans";
  code.Settings().charHeight = 5;
  code.UpdateTextPosition();
  code.AddTextPath();
  CDoubleRect modules;
  ASSERT_TRUE(code.GetPathData().GetKind2BoundRect(modules));
  ASSERT_GT(code.GetPathData().GetGroupCount(), 1) << "modules and the shown text";
  ASSERT_EQ(ShownTextHatching(code), 0);
  Send(WM_UPDATE_FILLOBJ, 1114, 1);
  EXPECT_GT(ShownTextHatching(code), 0);
  CDoubleRect after;
  ASSERT_TRUE(code.GetPathData().GetKind2BoundRect(after));
  EXPECT_DOUBLE_EQ(after.left, modules.left);
  EXPECT_DOUBLE_EQ(after.top, modules.top);
}
