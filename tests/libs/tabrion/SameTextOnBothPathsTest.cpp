// One table of cells written at test time as .xlsx (libxlsxwriter) and as .xls
// (record by record): both files give the text a spreadsheet program shows,
// worked out by hand.
#include <gtest/gtest.h>
#include <unistd.h>
#include <xlsxwriter.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "libs/tabrion/CTabrion.h"
#include "platform/Cp936.h"
#include "tests/libs/tabrion/BiffWriter.h"

namespace {

namespace fs = std::filesystem;
using tabrion_test::BiffWriter;

struct NumberCase {
  int builtIn;       // built-in format id, or -1 for the code below
  const char* code;  // custom format code (UTF-8)
  double value;
  const char* shown;  // UTF-8
};

// 45356 is 2024-03-05.
const NumberCase kNumbers[] = {
    {0, nullptr, 1234.5, "1234.5"},
    {0, nullptr, 0.1 + 0.2, "0.3"},
    {1, nullptr, 2.5, "3"},
    {2, nullptr, 1.5, "1.50"},
    {3, nullptr, 1234567, "1,234,567"},
    {4, nullptr, 1234.5, "1,234.50"},
    {9, nullptr, 0.125, "13%"},
    {10, nullptr, 0.5, "50.00%"},
    {11, nullptr, 12345, "1.23E+04"},
    {14, nullptr, 45356, "2024/3/5"},
    {15, nullptr, 45356, "5-Mar-24"},
    {18, nullptr, 0.75, "6:00 PM"},
    {20, nullptr, 45356.75, "18:00"},
    {21, nullptr, 0.5 + 1.0 / 86400, "12:00:01"},
    {22, nullptr, 45356.75, "2024/3/5 18:00"},
    {31, nullptr, 45356, "2024年3月5日"},
    {46, nullptr, 1.5, "36:00:00"},
    {49, nullptr, 42, "42"},
    {-1, "000000", 123, "000123"},
    {-1, "0.000", 3.14159, "3.142"},
    {-1, "yyyy-mm-dd", 45356, "2024-03-05"},
    {-1, "yyyy-mm-dd hh:mm:ss", 45356.5 + 61.0 / 86400, "2024-03-05 12:01:01"},
    {-1, "m/d/yy;@", 45356, "3/5/24"},
    {-1, "dd.mm.yyyy", 45356, "05.03.2024"},
    {-1, "yyyy\"年\"mm\"月\"dd\"日\"", 45356, "2024年03月05日"},
    {-1, "#,##0.00;[Red]-#,##0.00", -1234.5, "-1,234.50"},
    {-1, "0\" pcs\"", 12, "12 pcs"},
    {-1, "#,##0.0,\"k\"", 1234567, "1,234.6k"},
};

struct TextCase {
  int builtIn;
  const char* code;
  const char* text;
  const char* shown;
};

const TextCase kTexts[] = {
    {49, nullptr, "00123", "00123"},
    {0, nullptr, "abc", "abc"},
    {-1, "0;-0;0;\"<\"@\">\"", "x", "<x>"},
    {0, nullptr, "中文", "中文"},
    {0, nullptr, "A\x01" "B", "A\x01" "B"},  // written "A_x0001_B" into the .xlsx
};

class SameTextOnBothPaths : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = fs::temp_directory_path() / ("tabrion-both-" + std::to_string(::getpid()));
    fs::create_directories(dir_);
    WriteXlsx();
    WriteXls();
  }
  static void TearDownTestSuite() { fs::remove_all(dir_); }

  static std::string XlsxPath() { return (dir_ / "cells.xlsx").string(); }
  static std::string XlsPath() { return (dir_ / "cells.xls").string(); }

  static void WriteXlsx() {
    lxw_workbook* book = workbook_new(XlsxPath().c_str());
    lxw_worksheet* sheet = workbook_add_worksheet(book, nullptr);
    auto format = [&](int builtIn, const char* code) {
      lxw_format* f = workbook_add_format(book);
      if (builtIn >= 0) format_set_num_format_index(f, static_cast<uint8_t>(builtIn));
      else format_set_num_format(f, code);
      return f;
    };
    int row = 0;
    for (const auto& c : kNumbers) worksheet_write_number(sheet, row++, 0, c.value, format(c.builtIn, c.code));
    row = 0;
    for (const auto& c : kTexts) worksheet_write_string(sheet, row++, 1, c.text, format(c.builtIn, c.code));
    worksheet_write_boolean(sheet, 0, 2, 1, nullptr);
    worksheet_write_boolean(sheet, 1, 2, 0, nullptr);
    worksheet_write_formula_num(sheet, 2, 2, "=5/2", format(2, nullptr), 2.5);
    worksheet_write_formula_str(sheet, 3, 2, "=\"ab\"&\"c\"", nullptr, "abc");
    worksheet_write_formula_num(sheet, 4, 2, "=45356", format(-1, "yyyy-mm-dd"), 45356);
    ASSERT_EQ(workbook_close(book), LXW_NO_ERROR);
  }

  static void WriteXls() {
    BiffWriter xls;
    int custom = 164;
    auto style = [&](int builtIn, const char* code) { return builtIn >= 0 ? xls.Style(builtIn) : xls.Style(custom++, code); };
    int row = 0;
    for (const auto& c : kNumbers) xls.Number(row++, 0, style(c.builtIn, c.code), c.value);
    row = 0;
    for (const auto& c : kTexts) {
      int s = style(c.builtIn, c.code);
      row % 2 ? xls.Label(row, 1, s, c.text) : xls.SharedText(row, 1, s, c.text);
      ++row;
    }
    xls.Boolean(0, 2, true);
    xls.Boolean(1, 2, false);
    xls.FormulaNumber(2, 2, style(2, nullptr), 2.5);
    xls.FormulaText(3, 2, 0, "abc");
    xls.FormulaNumber(4, 2, style(-1, "yyyy-mm-dd"), 45356);
    BiffWriter::WriteCompoundFile(XlsPath(), xls.Stream());
  }

  static fs::path dir_;
};
fs::path SameTextOnBothPaths::dir_;

void ExpectCells(const std::string& path, const char* kind) {
  SCOPED_TRACE(kind);
  CTabrion reader;
  _EXCEL_FILE_PARA para;
  std::strncpy(para.filePath, path.c_str(), sizeof para.filePath - 1);
  ASSERT_EQ(reader.InitialExcelDataBase(para), 0);
  long row = 1;
  for (const auto& c : kNumbers)
    EXPECT_EQ(reader.GetCellData(row++, 'A'), platform::Utf8ToCp936(c.shown)) << (c.code ? c.code : "built-in ")
                                                                                << c.builtIn << " with " << c.value;
  row = 1;
  for (const auto& c : kTexts) EXPECT_EQ(reader.GetCellData(row++, 'B'), platform::Utf8ToCp936(c.shown)) << c.text;
  EXPECT_EQ(reader.GetCellData(1, 'C'), "TRUE");
  EXPECT_EQ(reader.GetCellData(2, 'C'), "FALSE");
  EXPECT_EQ(reader.GetCellData(3, 'C'), "2.50");
  EXPECT_EQ(reader.GetCellData(4, 'C'), "abc");
  EXPECT_EQ(reader.GetCellData(5, 'C'), "2024-03-05");
}

TEST_F(SameTextOnBothPaths, XlsxShowsFormattedCells) { ExpectCells(XlsxPath(), "xlsx"); }
TEST_F(SameTextOnBothPaths, XlsShowsFormattedCells) { ExpectCells(XlsPath(), "xls"); }

}  // namespace
