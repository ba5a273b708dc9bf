// The special texts through their element: duplicates made by the element's
// copy keep the settings and the geometry, a code draws its modules as black
// squares, and a barcode only follows a plain move.
#include <gtest/gtest.h>

#include "document/objects/CObjElement.h"
#include "platform/DeviceContext.h"
#include "tests/text/layout/TextTestSupport.h"
#include "tests/text/objects/FixedLocalTime.h"
#include "text/objects/CObjBarCode.h"
#include "text/objects/CObjTextAutoUpdate.h"
#include "text/objects/CObjTextDate.h"
#include "text/objects/CObjTextRuler.h"
#include "text/objects/CObjTextVin.h"
#include "values/ShellValues.h"

namespace {

class SpecialTextElements : public ::testing::Test {
 protected:
  SpecialTextElements() {
    RegisterObjTypeOps(ObjClassId::TextAutoUpdate, &TextAutoUpdateTypeOps());
    RegisterObjTypeOps(ObjClassId::TextDate, &TextDateTypeOps());
    RegisterObjTypeOps(ObjClassId::TextVin, &TextVinTypeOps());
    RegisterObjTypeOps(ObjClassId::BarCode, &BarCodeTypeOps());
    RegisterObjTypeOps(ObjClassId::TextRuler, &TextRulerTypeOps());
  }
  ~SpecialTextElements() override {
    for (ObjClassId id : {ObjClassId::TextAutoUpdate, ObjClassId::TextDate, ObjClassId::TextVin,
                          ObjClassId::BarCode, ObjClassId::TextRuler})
      RegisterObjTypeOps(id, nullptr);
  }
  template <class T>
  std::unique_ptr<CObjElement> Wrap(int type, T* object) {
    auto e = std::make_unique<CObjElement>(CObjCreateRecord{"x", type, object, static_cast<int>(sizeof(T)), {}});
    e->RefreshTypeObject();
    e->UpdateBoundRect();
    return e;
  }
  TextRig rig;
  FixedLocalTime clock{2026, 3, 5, 9, 7, 4};
};

TEST_F(SpecialTextElements, ACopiedCodeKeepsItsSettingsPlaceAndContent) {
  auto* code = new CObjBarCode(CDoublePoint(5, 5), "A-", "007", "");
  code->Code().codeType = BARCODE_QR;
  code->Code().qrLevel = 3;
  code->Code().dotOrder = 2;
  code->Code().showText = 1;
  code->SetModuleSize(0.3f);
  auto element = Wrap(OBJ_BARCODE, code);
  code->GetPathData().SetOwner(element.get());
  code->SetCodeText(CDoublePoint(5, 5), code->ComposeText(), 0, 0);
  code->AddTextPath();
  element->UpdateBoundRect();
  CObjElement copy;
  copy.CopyFrom(*element);
  const auto* dup = copy.GetObjectAs<CObjBarCode>();
  ASSERT_NE(dup, nullptr);
  EXPECT_EQ(dup->Code().qrLevel, 3);
  EXPECT_EQ(dup->Code().dotOrder, 2);
  EXPECT_FLOAT_EQ(dup->Code().moduleSize, 0.3f);
  EXPECT_EQ(dup->GetText(), "A-007");
  EXPECT_EQ(dup->GetDotCount(), code->GetDotCount());
  CDoubleRect a;
  CDoubleRect b;
  ASSERT_TRUE(code->GetPathData().GetKind2BoundRect(a));
  ASSERT_TRUE(dup->GetPathData().GetKind2BoundRect(b));
  EXPECT_EQ(a, b);
}

TEST_F(SpecialTextElements, CopiesOfTheOtherTextsKeepTheirOwnSettings) {
  auto* serial = new CObjTextAutoUpdate(CDoublePoint(0, 0), "P", "5", "S");
  serial->Serial().step = 4;
  serial->SetSerial(CDoublePoint(0, 0), "5");
  auto* date = new CObjTextDate(TextCreateRecord{CDoublePoint(0, 0), ""}, 3);
  auto* vin = new CObjTextVin(TextCreateRecord{CDoublePoint(0, 0), ""});
  vin->SetEnlarged(1);
  vin->Settings().text = "1M8GDM9AXKP042788";
  auto* ruler = new CObjTextRuler(CDoublePoint(0, 0));
  ruler->Ruler().units = 7;
  ruler->Ruler().bigUnits = 0;
  auto es = Wrap(OBJ_SERIAL, serial);
  auto ed = Wrap(OBJ_DATE, date);
  auto ev = Wrap(OBJ_VIN, vin);
  auto er = Wrap(OBJ_RULER, ruler);
  CObjElement cs, cd, cv, cr;
  cs.CopyFrom(*es);
  cd.CopyFrom(*ed);
  cv.CopyFrom(*ev);
  cr.CopyFrom(*er);
  ASSERT_NE(cs.GetObjectAs<CObjTextAutoUpdate>(), nullptr);
  EXPECT_EQ(cs.GetObjectAs<CObjTextAutoUpdate>()->GetText(), "P5S");
  EXPECT_EQ(cs.GetObjectAs<CObjTextAutoUpdate>()->Serial().step, 4);
  ASSERT_NE(cd.GetObjectAs<CObjTextDate>(), nullptr);
  EXPECT_EQ(cd.GetObjectAs<CObjTextDate>()->GetText(), "2026.03.05");
  // The date is recorded as it stands; serial numbers and VINs as last marked.
  EXPECT_EQ(cd.GetText(), "2026.03.05");
  EXPECT_EQ(cs.GetText(), "");
  cs.StoreMarkedText();
  EXPECT_EQ(cs.GetText(), "P5S");
  ASSERT_NE(cv.GetObjectAs<CObjTextVin>(), nullptr);
  EXPECT_EQ(cv.GetObjectAs<CObjTextVin>()->GetEnlarged(), 1);
  EXPECT_EQ(cv.GetObjectAs<CObjTextVin>()->GetText(), "1M8GDM9AXKP042788");
  ASSERT_NE(cr.GetObjectAs<CObjTextRuler>(), nullptr);
  EXPECT_EQ(cr.GetObjectAs<CObjTextRuler>()->Ruler().units, 7);
  EXPECT_EQ(cr.GetText(), "");
}

TEST_F(SpecialTextElements, ACodeDrawsEachModuleAsABlackSquare) {
  auto* code = new CObjBarCode(CDoublePoint(0, 10), "", "12", "");
  code->SetModuleSize(1.0f);
  auto element = Wrap(OBJ_BARCODE, code);
  code->GetPathData().SetOwner(element.get());
  code->SetCodeText(CDoublePoint(0, 10), "12", 0, 0);
  element->UpdateBoundRect();
  const double oldX = PixelsPerMmX;
  const double oldY = PixelsPerMmY;
  PixelsPerMmX = 4;
  PixelsPerMmY = 4;
  platform::RecordingDeviceContext dc;
  element->Draw(dc, 100, 200, 1.0, platform::DcPen{}, platform::DcPen{}, CDoublePoint(0, 0));
  PixelsPerMmX = oldX;
  PixelsPerMmY = oldY;
  int squares = 0;
  for (const auto& op : dc.Ops()) {
    if (op.kind != platform::DcOp::FillSolidRect) continue;
    ++squares;
    EXPECT_EQ(op.args[2], 4);
    EXPECT_EQ(op.args[3], 4);
  }
  EXPECT_GT(squares, 0);
  EXPECT_EQ(squares, code->GetDotCount());
}

TEST_F(SpecialTextElements, ACodeFollowsOnlyAPlainMove) {
  auto* code = new CObjBarCode(CDoublePoint(0, 10), "", "12", "");
  auto element = Wrap(OBJ_BARCODE, code);
  code->GetPathData().SetOwner(element.get());
  code->SetCodeText(CDoublePoint(0, 10), "12", 0, 0);
  element->UpdateBoundRect();
  const CDoubleRect before = element->boundRect;
  element->Resize(CDoubleRect(0, 30, 40, 0), before, 4);
  EXPECT_EQ(element->boundRect, before);
  element->MoveBy(2, -3);
  EXPECT_NEAR(element->boundRect.left, before.left + 2, 1e-9);
  EXPECT_NEAR(element->boundRect.top, before.top - 3, 1e-9);
}

}  // namespace
