// General numbers in columns of different widths, written at test time as
// .xlsx (libxlsxwriter) and as .xls (record by record): both files show what a
// spreadsheet program shows in those columns, worked out by hand.
#include <gtest/gtest.h>
#include <unistd.h>
#include <xlsxwriter.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <string>

#include "libs/tabrion/CTabrion.h"
#include "tests/libs/tabrion/BiffWriter.h"

namespace {

namespace fs = std::filesystem;
using tabrion_test::BiffWriter;
using tabrion_test::Bytes;
using tabrion_test::Put16;

// Widths as a spreadsheet shows them; column A keeps the standard width.
const double kWidths[] = {0, 2, 4, 10, 12};

struct Cell {
  char column;
  int builtIn;  // number format id; 0 is General
  double value;
  const char* shown;
};

const Cell kCells[] = {
    {'A', 0, 123456789012, "1.23E+11"},
    {'A', 0, 3.14159265358979, "3.141593"},
    {'A', 0, 0.00000025, "2.5E-07"},
    {'B', 0, 123, "##"},
    {'B', 0, -0.4, "0"},
    {'B', 14, -1, "##"},  // a date before the calendar
    {'C', 0, 3.14159265358979, "3.14"},
    {'C', 0, -1.0 / 3, "-0.3"},
    {'C', 2, 1234.5, "1234.50"},  // formats other than General show their whole text
    {'D', 0, 0.00000025, "0.00000025"},
    {'D', 0, 123456789012, "1.2346E+11"},
    {'E', 0, 123456789012, "1.23457E+11"},
    {'E', 0, 1.0 / 3, "0.333333333"},
};

// 1/256 characters as a file stores a width, with the cell's padding.
unsigned StoredWidth(double characters) { return static_cast<unsigned>(std::lround(characters * 256)) + 182; }

// COLINFO numbers its columns from 0 (A).
Bytes ColInfo(int first, int last, unsigned stored) {
  Bytes r;
  for (unsigned v : {static_cast<unsigned>(first), static_cast<unsigned>(last), stored, 15u, 0u, 0u}) Put16(r, v);
  return r;
}

class FittedColumns : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = fs::temp_directory_path() / ("tabrion-fitted-" + std::to_string(::getpid()));
    fs::create_directories(dir_);
  }
  static void TearDownTestSuite() { fs::remove_all(dir_); }

  static std::string PathOf(const std::string& name) { return (dir_ / name).string(); }

  static std::string WriteXlsx() {
    std::string path = PathOf("fitted.xlsx");
    lxw_workbook* book = workbook_new(path.c_str());
    lxw_worksheet* sheet = workbook_add_worksheet(book, nullptr);
    for (int c = 1; c < static_cast<int>(std::size(kWidths)); ++c)
      worksheet_set_column(sheet, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c), kWidths[c], nullptr);
    int rows[26] = {};
    for (const Cell& cell : kCells) {
      lxw_format* format = nullptr;
      if (cell.builtIn) {
        format = workbook_add_format(book);
        format_set_num_format_index(format, static_cast<uint8_t>(cell.builtIn));
      }
      int column = cell.column - 'A';
      worksheet_write_number(sheet, static_cast<lxw_row_t>(rows[column]++), static_cast<lxw_col_t>(column), cell.value, format);
    }
    EXPECT_EQ(workbook_close(book), LXW_NO_ERROR);
    return path;
  }

  // The sheet's width records, then the cells.
  static std::string WriteXls(const std::string& name, const std::vector<std::pair<std::uint16_t, Bytes>>& widths) {
    BiffWriter xls;
    for (const auto& [type, data] : widths) xls.Raw(type, data);
    int rows[26] = {};
    for (const Cell& cell : kCells) {
      int column = cell.column - 'A';
      xls.Number(rows[column]++, column, cell.builtIn ? xls.Style(cell.builtIn) : 0, cell.value);
    }
    std::string path = PathOf(name);
    BiffWriter::WriteCompoundFile(path, xls.Stream());
    return path;
  }

  static void ExpectCells(const std::string& path) {
    CTabrion reader;
    _EXCEL_FILE_PARA para;
    std::strncpy(para.filePath, path.c_str(), sizeof para.filePath - 1);
    ASSERT_EQ(reader.InitialExcelDataBase(para), 0);
    long rows[26] = {};
    for (const Cell& cell : kCells)
      EXPECT_EQ(reader.GetCellData(++rows[cell.column - 'A'], cell.column), cell.shown)
          << cell.value << " in column " << cell.column;
  }

  static fs::path dir_;
};
fs::path FittedColumns::dir_;

TEST_F(FittedColumns, XlsxFitsGeneralNumbersIntoTheirColumns) { ExpectCells(WriteXlsx()); }

TEST_F(FittedColumns, XlsFitsGeneralNumbersIntoTheirColumns) {
  std::vector<std::pair<std::uint16_t, Bytes>> records;
  records.push_back({0x0055, {8, 0}});  // DEFCOLWIDTH: the standard 8 characters
  for (int c = 1; c < static_cast<int>(std::size(kWidths)); ++c)
    records.push_back({0x007D, ColInfo(c, c, StoredWidth(kWidths[c]))});  // COLINFO
  ExpectCells(WriteXls("fitted.xls", records));
}

// Columns without their own width take the sheet's: from the base width in
// characters, or from the stored default width, which wins.
TEST_F(FittedColumns, XlsColumnsWithoutWidthTakeTheSheetsDefault) {
  auto piIn = [](const std::vector<std::pair<std::uint16_t, Bytes>>& records, const std::string& name) {
    BiffWriter xls;
    for (const auto& [type, data] : records) xls.Raw(type, data);
    xls.Number(0, 0, 0, 3.14159265358979);
    xls.Number(0, 1, 0, 3.14159265358979);
    std::string path = PathOf(name);
    BiffWriter::WriteCompoundFile(path, xls.Stream());
    CTabrion reader;
    _EXCEL_FILE_PARA para;
    std::strncpy(para.filePath, path.c_str(), sizeof para.filePath - 1);
    EXPECT_EQ(reader.InitialExcelDataBase(para), 0);
    return reader.GetCellData(1, 'A') + " " + reader.GetCellData(1, 'B');
  };
  Bytes standard;
  Put16(standard, StoredWidth(12));
  // Base width 4: 33 pixels, rounded up to 40. A hidden column without width keeps the default.
  EXPECT_EQ(piIn({{0x0055, {4, 0}}, {0x007D, ColInfo(0, 0, 0)}}, "base.xls"), "3.142 3.142");
  EXPECT_EQ(piIn({{0x0055, {4, 0}}, {0x0099, standard}}, "standard.xls"), "3.141592654 3.141592654");
  EXPECT_EQ(piIn({{0x0099, standard}, {0x0055, {4, 0}}, {0x007D, ColInfo(0, 0, StoredWidth(4))}}, "own.xls"),
            "3.14 3.141592654");
}

}  // namespace
