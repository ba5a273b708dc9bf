// The special texts in project files: every key written, read back into the
// real objects (a barcode's block holds its serial-number block), and saved
// again byte for byte; changed objects write their own blocks.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "document/doc/CObjPtrArray.h"
#include "document/mrk/MrkFile.h"
#include "document/objects/CObjPolyLine.h"
#include "document/objects/ObjTypeOps.h"
#include "document/path/CPathData.h"
#include "tests/document/hatch/CombOutline.h"
#include "tests/text/layout/TextTestSupport.h"
#include "tests/text/objects/FixedLocalTime.h"
#include "text/objects/CObjBarCode.h"
#include "text/objects/CObjTextAutoUpdate.h"
#include "text/objects/CObjTextDate.h"
#include "text/objects/CObjTextRuler.h"
#include "text/objects/CObjTextVin.h"
#include "values/DateFormatNames.h"

namespace {

class SpecialTextFiles : public ::testing::Test {
 protected:
  SpecialTextFiles() {
    RegisterObjTypeOps(ObjClassId::TextAutoUpdate, &TextAutoUpdateTypeOps());
    RegisterObjTypeOps(ObjClassId::TextDate, &TextDateTypeOps());
    RegisterObjTypeOps(ObjClassId::TextVin, &TextVinTypeOps());
    RegisterObjTypeOps(ObjClassId::BarCode, &BarCodeTypeOps());
    RegisterObjTypeOps(ObjClassId::TextRuler, &TextRulerTypeOps());
  }
  ~SpecialTextFiles() override {
    for (ObjClassId id : {ObjClassId::TextAutoUpdate, ObjClassId::TextDate, ObjClassId::TextVin,
                          ObjClassId::BarCode, ObjClassId::TextRuler})
      RegisterObjTypeOps(id, nullptr);
  }

  template <class T>
  void Add(const char* name, int type, T* object) {
    auto element = std::make_unique<CObjElement>(
        CObjCreateRecord{name, type, object, static_cast<int>(sizeof(T)), {}});
    element->RefreshTypeObject();
    element->UpdateBoundRect();
    objects.Add(std::move(element));
  }
  template <class T>
  static const T& At(const CObjPtrArray& a, int i) {
    const T* t = a[i] ? a[i]->GetObjectAs<T>() : nullptr;
    EXPECT_NE(t, nullptr);
    static T none;
    return t ? *t : none;
  }

  TextRig rig;
  FixedLocalTime clock{2026, 3, 5, 9, 7, 4};
  CObjPtrArray objects;
};

TEST_F(SpecialTextFiles, KeysComeBackIntoTheObjectsAndTheFileSavesAgainByteForByte) {
  auto* serial = new CObjTextAutoUpdate(CDoublePoint(1, 2), "P\xd6\xd0", "0099", "S");
  SerialSettings& ss = serial->Serial();
  ss.lower = "0001";
  ss.upper = "0100";
  ss.step = 3;
  ss.marksPerNumber = 2;
  ss.marksCounted = 1;
  ss.fixedLength = 7;
  ss.tailLength = 6;
  ss.dateMode = 1;
  serial->SetSerial(CDoublePoint(1, 2), "0099");
  Add("serial", OBJ_SERIAL, serial);

  auto* date = new CObjTextDate(TextCreateRecord{CDoublePoint(3, 4), ""}, 12);
  date->SetText(date->FormatDate(), CDoublePoint(3, 4), true);
  Add("date", OBJ_DATE, date);

  auto* vin = new CObjTextVin(TextCreateRecord{CDoublePoint(5, 6), ""});
  vin->SetEnlarged(1);
  vin->SetVinText(CDoublePoint(5, 6), "1M8GDM9A0KP042788");
  Add("vin", OBJ_VIN, vin);

  auto* code = new CObjBarCode(CDoublePoint(7, 8), "QR-", "0042", "-Z");
  BarCodeSettings& c = code->Code();
  c.codeType = BARCODE_QR;
  c.qrLevel = 2;
  c.qrVersion = 3;
  c.qrMask = 5;
  c.showText = 1;
  c.textDirection = 1;
  c.dotOrder = 2;
  c.dmScheme = 4;
  c.dmSize = 9;
  c.angle = 15;
  code->SetModuleSize(0.25f);
  code->Serial().marksPerNumber = 4;
  code->Rebuild(CDoublePoint(7, 8), 0, 1, 0);
  Add("code", OBJ_BARCODE, code);

  auto* ruler = new CObjTextRuler(CDoublePoint(9, 10));
  RulerSettings& r = ruler->Ruler();
  r.units = 20;
  r.bigUnits = 5;
  r.zero = 1;
  r.reverse = 2;
  r.textMode = 2;
  r.first = 3;
  r.arcMode = 0;
  r.lineW = 1.5f;
  r.rHeight = 4;
  r.sv = 0.5f;
  r.uv = 2;
  r.edge = 0;
  r.dir = 1;
  ruler->CreatePoints(CDoublePoint(9, 10), false);
  Add("ruler", OBJ_RULER, ruler);

  const std::string saved = FormatMrkFile(objects, "");
  CObjPtrArray back;
  ASSERT_EQ(ReadMrkBytes(saved, back), 1);
  ASSERT_EQ(back.GetSize(), 5);

  const auto& s2 = At<CObjTextAutoUpdate>(back, 0);
  EXPECT_EQ(s2.GetPrefix(), "P\xd6\xd0");
  EXPECT_EQ(s2.GetSerial(), "0099");
  EXPECT_EQ(s2.GetSuffix(), "S");
  EXPECT_EQ(s2.Serial().lower, "0001");
  EXPECT_EQ(s2.Serial().upper, "0100");
  EXPECT_EQ(s2.Serial().step, 3);
  EXPECT_EQ(s2.Serial().marksPerNumber, 2);
  EXPECT_EQ(s2.Serial().marksCounted, 1);
  EXPECT_EQ(s2.Serial().fixedLength, 7);
  EXPECT_EQ(s2.Serial().tailLength, 6);
  EXPECT_EQ(s2.GetText(), "P\xd6\xd0 260305 0099S");
  EXPECT_DOUBLE_EQ(s2.Settings().position.x, serial->Settings().position.x);

  EXPECT_EQ(At<CObjTextDate>(back, 1).GetFormat(), 12);
  EXPECT_EQ(At<CObjTextDate>(back, 1).GetText(), "090704");

  EXPECT_EQ(At<CObjTextVin>(back, 2).GetText(), "1M8GDM9AXKP042788");
  EXPECT_EQ(At<CObjTextVin>(back, 2).GetEnlarged(), 1);

  const auto& c2 = At<CObjBarCode>(back, 3);
  EXPECT_EQ(c2.Code().codeType, BARCODE_QR);
  EXPECT_EQ(c2.Code().qrLevel, 2);
  EXPECT_EQ(c2.Code().qrVersion, 3);
  EXPECT_EQ(c2.Code().qrMask, 5);
  EXPECT_EQ(c2.Code().showText, 1);
  EXPECT_EQ(c2.Code().textDirection, 1);
  EXPECT_EQ(c2.Code().dotOrder, 2);
  EXPECT_EQ(c2.Code().dmScheme, 4);
  EXPECT_EQ(c2.Code().dmSize, 9);
  EXPECT_FLOAT_EQ(c2.Code().angle, 15);
  EXPECT_FLOAT_EQ(c2.Code().moduleSize, 0.25f);
  EXPECT_EQ(c2.Serial().marksPerNumber, 4);
  EXPECT_EQ(c2.GetText(), "QR-0042-Z");
  EXPECT_EQ(c2.GetDotCount(), code->GetDotCount());

  const auto& r2 = At<CObjTextRuler>(back, 4);
  EXPECT_EQ(r2.Ruler().units, 20);
  EXPECT_EQ(r2.Ruler().bigUnits, 5);
  EXPECT_EQ(r2.Ruler().reverse, 2);
  EXPECT_EQ(r2.Ruler().first, 3);
  EXPECT_EQ(r2.Ruler().dir, 1);
  EXPECT_FLOAT_EQ(r2.Ruler().lineW, 1.5f);
  EXPECT_FLOAT_EQ(r2.Ruler().uv, 2);

  // Unchanged: the blocks go back as read, even where the clock moved on.
  clock.Set(2027, 1, 1, 23, 59, 58);
  CObjPtrArray again;
  ASSERT_EQ(ReadMrkBytes(saved, again), 1);
  EXPECT_EQ(FormatMrkFile(again, ""), saved);

  // A serial number that advanced writes its own block with the new number.
  auto* advanced = again[0]->GetObjectAs<CObjTextAutoUpdate>();
  ASSERT_NE(advanced, nullptr);
  advanced->AdvanceAfterMark(CDoublePoint(1, 2));
  const std::string changed = FormatMrkFile(again, "");
  CObjPtrArray third;
  ASSERT_EQ(ReadMrkBytes(changed, third), 1);
  EXPECT_EQ(At<CObjTextAutoUpdate>(third, 0).GetSerial(), "0001");  // 0099 + 3 passes 0100
  EXPECT_EQ(At<CObjTextAutoUpdate>(third, 0).Serial().marksCounted, 0);
}

// Past the project's budget of built points the reader decides before it
// builds: six fills just below their own bound take the budget (the sixth passes
// it), and none of the texts after them is laid out, whatever its kind (a
// reader that laid out each later object only to empty it took 23 s to open
// 512 rulers at their unit bound). Each is named among the objects left
// empty, stands in the rectangle it was saved with, and goes back into the
// file byte for byte.
TEST_F(SpecialTextFiles, TextsPastTheProjectsBudgetAreNotLaidOut) {
  constexpr ObjClassId kTextClasses[] = {ObjClassId::Text,    ObjClassId::TextAutoUpdate, ObjClassId::TextDate,
                                         ObjClassId::TextVin, ObjClassId::BarCode,        ObjClassId::TextRuler};
  // Each text class's completion, counting the texts it lays out.
  static int laidOut = 0;
  static const CObjTypeOps* real[kObjClassIdCount] = {};
  static CObjTypeOps counted[kObjClassIdCount];
  laidOut = 0;
  for (ObjClassId id : kTextClasses) {
    const auto i = static_cast<std::size_t>(id);
    real[i] = FindObjClassOps(id);
    ASSERT_NE(real[i], nullptr);
    counted[i] = *real[i];
    counted[i].finishRead = [](CObjElement& element, std::unique_ptr<CObjBase> o, int version) {
      ++laidOut;
      real[static_cast<std::size_t>(ObjClassOfType(element.type))]->finishRead(element, std::move(o), version);
    };
    RegisterObjTypeOps(id, &counted[i]);
  }

  for (int i = 0; i < 6; ++i) {
    // Two teeth 2999 mm tall at 0.03 mm: 199933 strokes.
    CPointList outline = CombOutline(2, 0.5, 1.0, 2999.0);
    auto fill = std::make_unique<CObjElement>(CObjCreateRecord{"fill-" + std::to_string(i + 1), OBJ_POLYLINE,
                                                               new CObjPolyLine(outline, 1, 0),
                                                               static_cast<int>(sizeof(CObjPolyLine)), {}});
    fill->SetFillOn(1);
    fill->fillSpacing = 0.03f;
    objects.Add(std::move(fill));
  }
  Add("text", OBJ_TEXT, new CObjText(TextCreateRecord{CDoublePoint(1, 2), "ABC"}));
  Add("serial", OBJ_SERIAL, new CObjTextAutoUpdate(CDoublePoint(3, 4), "P", "0099", "S"));
  Add("date", OBJ_DATE, new CObjTextDate(TextCreateRecord{CDoublePoint(5, 6), ""}, 12));
  auto* vin = new CObjTextVin(TextCreateRecord{CDoublePoint(7, 8), ""});
  vin->SetVinText(CDoublePoint(7, 8), "1M8GDM9A0KP042788");
  Add("vin", OBJ_VIN, vin);
  auto* code = new CObjBarCode(CDoublePoint(9, 10), "QR-", "0042", "-Z");
  code->Code().codeType = BARCODE_QR;
  code->Rebuild(CDoublePoint(9, 10), 0, 1, 0);
  Add("code", OBJ_BARCODE, code);
  auto* ruler = new CObjTextRuler(CDoublePoint(11, 12));
  ruler->CreatePoints(CDoublePoint(11, 12), false);
  ruler->Ruler().units = kRulerMaxUnits;  // saved laid out short
  Add("ruler", OBJ_RULER, ruler);
  const int texts = 6;
  const int first = objects.GetSize() - texts;
  std::vector<CDoubleRect> savedBounds;
  for (int i = first; i < objects.GetSize(); ++i)
    savedBounds.push_back(objects[i]->GetObjectAs<CObjText>()->GetSavedBounds());

  const std::string saved = FormatMrkFile(objects, "");
  CObjPtrArray back;
  std::vector<std::string> leftEmpty;
  const int read = ReadMrkBytes(saved, back, &leftEmpty);
  for (ObjClassId id : kTextClasses) RegisterObjTypeOps(id, real[static_cast<std::size_t>(id)]);
  ASSERT_EQ(read, 1);
  ASSERT_EQ(back.GetSize(), objects.GetSize());
  EXPECT_EQ(laidOut, 0);
  ASSERT_GE(leftEmpty.size(), static_cast<std::size_t>(texts));
  for (int k = 0; k < texts; ++k) {
    const CObjElement& e = *back[first + k];
    EXPECT_EQ(leftEmpty[leftEmpty.size() - texts + static_cast<std::size_t>(k)], e.name);
    EXPECT_EQ(e.GetPath()->CountPoints(), 0) << e.name;
    const CDoubleRect& expected = savedBounds[static_cast<std::size_t>(k)];
    EXPECT_NEAR(e.boundRect.left, expected.left, 1e-4) << e.name;
    EXPECT_NEAR(e.boundRect.top, expected.top, 1e-4) << e.name;
    EXPECT_NEAR(e.boundRect.right, expected.right, 1e-4) << e.name;
    EXPECT_NEAR(e.boundRect.bottom, expected.bottom, 1e-4) << e.name;
  }
  EXPECT_EQ(FormatMrkFile(back, ""), saved);
}

struct CountedCase {
  const char* object;
  const char* lengthKey;
  const char* textKey;
};

class CountedTexts : public SpecialTextFiles, public ::testing::WithParamInterface<CountedCase> {};

// A text too long for a value line is cut on a character boundary, and its
// length key counts what was written, so the file agrees with itself.
TEST_P(CountedTexts, LengthKeysCountTheBytesWritten) {
  // 300 bytes with a double-byte character across byte 254.
  const std::string longText = std::string(253, 'A') + "\xd6\xd0" + std::string(45, 'B');
  const std::string object = GetParam().object;
  if (object == "text") {
    Add("text", OBJ_TEXT, new CObjText(TextCreateRecord{CDoublePoint(0, 0), longText}));
  } else if (object == "serial") {
    Add("serial", OBJ_SERIAL, new CObjTextAutoUpdate(CDoublePoint(0, 0), longText, "1", ""));
  } else {
    auto* code = new CObjBarCode(CDoublePoint(0, 0), "A", "1", "B");
    code->Code().fixedText = longText;
    Add("code", OBJ_BARCODE, code);
  }
  const std::string saved = FormatMrkFile(objects, "");
  std::vector<std::string> lines;
  for (std::size_t at = 0; at < saved.size();) {
    const std::size_t end = saved.find("\r\n", at);
    lines.push_back(saved.substr(at, end - at));
    at = end == std::string::npos ? saved.size() : end + 2;
  }
  std::size_t i = 2;
  while (i + 1 < lines.size() && lines[i].rfind(GetParam().textKey, 0) != 0) ++i;
  ASSERT_LT(i + 1, lines.size());
  EXPECT_EQ(lines[i - 2].rfind(GetParam().lengthKey, 0), 0u) << lines[i - 2];
  EXPECT_EQ(lines[i + 1], std::string(253, 'A'));
  EXPECT_EQ(lines[i - 1], "253");
}

INSTANTIATE_TEST_SUITE_P(Keys, CountedTexts,
                         ::testing::Values(CountedCase{"text", "180;", "235;"},
                                           CountedCase{"serial", "148;", "235;"},   // the prefix
                                           CountedCase{"serial", "151;", "238;"},   // the text shown
                                           CountedCase{"code", "151;", "239;"}));  // the code's fixed text

class NewDates : public SpecialTextFiles, public ::testing::WithParamInterface<int> {};

// The date tool names the format from the program's table, whose names can be
// shorter than the date (format 10 is named "yymmdd" there): the new date
// shows its own format's text, the same it shows once saved and reopened.
TEST_P(NewDates, ShowTheSameTextBeforeAndAfterReopening) {
  const int format = GetParam();
  auto* date = new CObjTextDate(TextCreateRecord{CDoublePoint(3, 4), DateFormatNames()[format]}, format);
  const std::string shown = date->GetText();
  Add("date", OBJ_DATE, date);
  EXPECT_EQ(shown, CObjTextDate::FormatDate(platform::CurrentClock().LocalTime(), format));
  CObjPtrArray back;
  ASSERT_EQ(ReadMrkBytes(FormatMrkFile(objects, ""), back), 1);
  EXPECT_EQ(At<CObjTextDate>(back, 0).GetText(), shown);
}

INSTANTIATE_TEST_SUITE_P(Formats, NewDates, ::testing::Values(0, 3, 5, 10, 11, 12));

}  // namespace
