// Records of a BIFF8 workbook stream that only the .xls path has: how each
// kind of cell reads, strings split over CONTINUE records, and damaged streams.
#include "libs/tabrion/BiffWorkbookReader.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/Cp936.h"
#include "libs/tabrion/CodePageText.h"
#include "tests/libs/tabrion/BiffWriter.h"

namespace {

using tabrion::LoadedSheet;
using tabrion::ReadBiffSheet;
using tabrion::ReadResult;
using tabrion_test::BiffWriter;
using tabrion_test::Bytes;

std::string At(const LoadedSheet& sheet, long row, int column) {
  const std::string* text = sheet.Find(row, column);
  return text ? *text : std::string();
}

TEST(BiffWorkbookReader, CellKindsReadAsTheSheetShowsThem) {
  BiffWriter xls;
  int twoPlaces = xls.Style(2);
  xls.MulRk(0, 0, twoPlaces, {1, -2, 300});
  xls.Error(1, 0, 0x07);
  xls.Error(1, 1, 0x2A);
  xls.FormulaBoolean(1, 2, true);
  xls.Blank(3, 5, 0);  // a styled empty cell widens the used range
  // A shared formula's record sits between the formula and its text result.
  Bytes formula = {2, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0};
  xls.Raw(0x0006, formula);
  xls.Raw(0x04BC, Bytes(10, 0));
  Bytes text;
  tabrion_test::PutString16(text, "shared");
  xls.Raw(0x0207, text);
  LoadedSheet sheet;
  Bytes stream = xls.Stream();
  ASSERT_EQ(ReadBiffSheet(stream, 1, sheet), ReadResult::ok);
  EXPECT_EQ(At(sheet, 1, 1), "1.00");
  EXPECT_EQ(At(sheet, 1, 2), "-2.00");
  EXPECT_EQ(At(sheet, 1, 3), "300.00");
  EXPECT_EQ(At(sheet, 2, 1), "#DIV/0!");
  EXPECT_EQ(At(sheet, 2, 2), "#N/A");
  EXPECT_EQ(At(sheet, 2, 3), "TRUE");
  EXPECT_EQ(At(sheet, 3, 2), "shared");
  EXPECT_EQ(sheet.RowCount(), 4);
  EXPECT_EQ(sheet.ColumnCount(), 6);
}

TEST(BiffWorkbookReader, SharedStringsSplitOverContinueRecords) {
  // Small records force splits inside headers' neighbours and inside characters,
  // with 8-bit and 16-bit strings side by side.
  for (std::size_t limit : {std::size_t{8224}, std::size_t{37}, std::size_t{8}}) {
    SCOPED_TRACE(limit);
    BiffWriter xls(limit);
    std::vector<std::string> texts;
    for (int i = 0; i < 200; ++i) {
      std::string t = i % 3 == 0 ? "零件编号" + std::to_string(i) : "Part number " + std::to_string(i);
      t += std::string(static_cast<std::size_t>(i % 50), 'x');
      texts.push_back(t);
      xls.SharedText(i, 0, 0, t);
    }
    LoadedSheet sheet;
    Bytes stream = xls.Stream();
    ASSERT_EQ(ReadBiffSheet(stream, 1, sheet), ReadResult::ok);
    for (int i = 0; i < 200; ++i) EXPECT_EQ(At(sheet, i + 1, 1), platform::Utf8ToCp936(texts[static_cast<std::size_t>(i)])) << i;
  }
}

TEST(BiffWorkbookReader, SheetOfFormulasOnlyHasData) {
  BiffWriter xls;
  xls.FormulaNumber(0, 0, 0, 1);
  xls.FormulaNumber(0, 1, 0, 2);
  xls.FormulaText(1, 0, 0, "three");
  xls.FormulaBoolean(1, 1, false);
  LoadedSheet sheet;
  Bytes stream = xls.Stream();
  ASSERT_EQ(ReadBiffSheet(stream, 1, sheet), ReadResult::ok);
  EXPECT_EQ(sheet.RowCount(), 2);
  EXPECT_EQ(At(sheet, 1, 2), "2");
  EXPECT_EQ(At(sheet, 2, 1), "three");
  EXPECT_EQ(At(sheet, 2, 2), "FALSE");
}

TEST(BiffWorkbookReader, DatesFollowTheWorkbookDateSystem) {
  BiffWriter xls;
  xls.Set1904();
  xls.Number(0, 0, xls.Style(164, "yyyy-mm-dd"), 43894);
  LoadedSheet sheet;
  Bytes stream = xls.Stream();
  ASSERT_EQ(ReadBiffSheet(stream, 1, sheet), ReadResult::ok);
  EXPECT_EQ(At(sheet, 1, 1), "2024-03-05");
}

TEST(BiffWorkbookReader, ChartInsideTheSheetIsSkipped) {
  BiffWriter xls;
  xls.Number(0, 0, 0, 1);
  Bytes bof = {0x00, 0x06, 0x20, 0x00, 0xBB, 0x0D, 0xCC, 0x07, 0, 0, 0, 0, 6, 0, 0, 0};
  xls.Raw(0x0809, bof);
  xls.Raw(0x0203, {5, 0, 5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F});  // not a cell of the sheet
  xls.Raw(0x000A, {});
  xls.Number(1, 1, 0, 2);
  LoadedSheet sheet;
  Bytes stream = xls.Stream();
  ASSERT_EQ(ReadBiffSheet(stream, 1, sheet), ReadResult::ok);
  EXPECT_EQ(At(sheet, 2, 2), "2");
  EXPECT_EQ(sheet.RowCount(), 2);
  EXPECT_EQ(At(sheet, 6, 6), "");
}

TEST(BiffWorkbookReader, DamagedStreamsAreRefused) {
  BiffWriter xls;
  xls.Number(0, 0, 0, 1);
  xls.Number(1, 1, 0, 2);
  Bytes good = xls.Stream();
  LoadedSheet sheet;
  EXPECT_EQ(ReadBiffSheet(good, 2, sheet), ReadResult::noSheet);
  EXPECT_EQ(ReadBiffSheet(good, 0, sheet), ReadResult::noSheet);

  Bytes cut(good.begin(), good.end() - 6);  // the sheet's EOF is missing
  EXPECT_EQ(ReadBiffSheet(cut, 1, sheet), ReadResult::cannotRead);

  Bytes encrypted = good;
  Bytes filePass;
  tabrion_test::PutRecord(filePass, 0x002F, Bytes(6, 0));
  encrypted.insert(encrypted.begin() + 20, filePass.begin(), filePass.end());
  EXPECT_EQ(ReadBiffSheet(encrypted, 1, sheet), ReadResult::cannotRead);

  Bytes biff5 = good;
  biff5[4] = 0x00;
  biff5[5] = 0x05;
  EXPECT_EQ(ReadBiffSheet(biff5, 1, sheet), ReadResult::cannotRead);
  EXPECT_EQ(ReadBiffSheet({}, 1, sheet), ReadResult::cannotRead);
}

}  // namespace

namespace {

// An Excel 95 workbook: 8-bit strings in code page 936, no shared strings.
Bytes Biff5Workbook() {
  using tabrion_test::Put16;
  using tabrion_test::Put32;
  using tabrion_test::PutRecord;
  auto bof = [](unsigned kind) {
    Bytes r;
    Put16(r, 0x0500);
    Put16(r, kind);
    Put16(r, 0);
    Put16(r, 0);
    return r;
  };
  auto byteString = [](Bytes& r, const std::string& s, bool wideLength) {
    wideLength ? Put16(r, static_cast<unsigned>(s.size())) : r.push_back(static_cast<std::uint8_t>(s.size()));
    r.insert(r.end(), s.begin(), s.end());
  };
  auto cell = [](unsigned row, unsigned col, unsigned xf) {
    Bytes r;
    Put16(r, row);
    Put16(r, col);
    Put16(r, xf);
    return r;
  };
  Bytes b;
  PutRecord(b, 0x0809, bof(0x0005));
  PutRecord(b, 0x0042, {0xA8, 0x03});  // code page 936
  Bytes format;
  Put16(format, 164);
  byteString(format, "0.00\"\xBC\xFE\"", false);  // 0.00"件"
  PutRecord(b, 0x041E, format);
  Bytes xf(16, 0);
  PutRecord(b, 0x00E0, xf);
  xf[2] = 164;
  PutRecord(b, 0x00E0, xf);
  std::size_t offsetAt = b.size() + 4;
  Bytes sheet;
  Put32(sheet, 0);
  Put16(sheet, 0);
  byteString(sheet, "Sheet1", false);
  PutRecord(b, 0x0085, sheet);
  PutRecord(b, 0x000A, {});
  std::uint32_t at = static_cast<std::uint32_t>(b.size());
  for (int i = 0; i < 4; ++i) b[offsetAt + i] = static_cast<std::uint8_t>(at >> (8 * i));
  PutRecord(b, 0x0809, bof(0x0010));
  Bytes label = cell(0, 0, 0);
  byteString(label, "\xD6\xD0\xCE\xC4", true);  // 中文
  PutRecord(b, 0x0204, label);
  Bytes number = cell(0, 1, 1);
  Put32(number, 0);
  Put32(number, 0x3FF80000);  // 1.5
  PutRecord(b, 0x0203, number);
  Bytes formula = cell(1, 0, 0);
  for (std::uint8_t v : {0, 0, 0, 0, 0, 0, 0xFF, 0xFF}) formula.push_back(v);
  Put16(formula, 0);
  Put32(formula, 0);
  Put16(formula, 0);
  PutRecord(b, 0x0006, formula);
  Bytes text;
  byteString(text, "Caf\xE9", true);  // not GBK: shown as far as it converts
  PutRecord(b, 0x0207, text);
  PutRecord(b, 0x000A, {});
  return b;
}

TEST(BiffWorkbookReader, Excel95WorkbooksReadInTheirCodePage) {
  LoadedSheet sheet;
  Bytes stream = Biff5Workbook();
  ASSERT_EQ(ReadBiffSheet(stream, 1, sheet), ReadResult::ok);
  EXPECT_EQ(At(sheet, 1, 1), "\xD6\xD0\xCE\xC4");
  EXPECT_EQ(At(sheet, 1, 2), "1.50\xBC\xFE");
  EXPECT_EQ(sheet.RowCount(), 2);
  EXPECT_FALSE(At(sheet, 2, 1).empty());
}

}  // namespace

TEST(CodePageText, EightBitTextBecomesUtf8) {
  EXPECT_EQ(tabrion::CodePageToUtf8("Caf\xE9", 1252), "Caf\xC3\xA9");
  EXPECT_EQ(tabrion::CodePageToUtf8("Caf\xE9", 0x8001), "Caf\xC3\xA9");
  EXPECT_EQ(tabrion::CodePageToUtf8("\xD6\xD0\xCE\xC4", 936), "\xE4\xB8\xAD\xE6\x96\x87");
  EXPECT_EQ(tabrion::CodePageToUtf8("\xE9", 12345), "\xC3\xA9");  // unknown: Latin-1
  EXPECT_EQ(tabrion::CodePageToUtf8("plain", 936), "plain");
  EXPECT_EQ(tabrion::CodePageToUtf8("a\x81", 932), "a?");  // a lead byte with nothing after it
}
