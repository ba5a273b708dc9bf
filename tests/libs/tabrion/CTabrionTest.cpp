#include "libs/tabrion/CTabrion.h"

#include <gtest/gtest.h>
#include <xlsxwriter.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

class TabrionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("tabrion-" + std::to_string(::getpid()) + "-" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }

  static _EXCEL_FILE_PARA Para(const std::string& path, int sheetIndex = 0) {
    _EXCEL_FILE_PARA para;
    para.sheetIndex = sheetIndex;
    std::strncpy(para.filePath, path.c_str(), sizeof para.filePath - 1);
    return para;
  }

  // Two sheets; the first has its data from B3 to D5 with texts, numbers and a Boolean.
  std::string WriteBook(const std::string& name, bool inlineStrings = false) {
    std::string path = PathOf(name);
    lxw_workbook_options options{};
    options.constant_memory = inlineStrings ? LXW_TRUE : LXW_FALSE;
    lxw_workbook* book = workbook_new_opt(path.c_str(), &options);
    lxw_worksheet* first = workbook_add_worksheet(book, "Parts");
    worksheet_write_string(first, 2, 1, "VIN", nullptr);         // B3
    worksheet_write_string(first, 2, 2, "Weight", nullptr);      // C3
    worksheet_write_string(first, 3, 1, "LSVAA4182E2184841", nullptr);  // B4
    worksheet_write_number(first, 3, 2, 12.5, nullptr);          // C4
    worksheet_write_boolean(first, 3, 3, 1, nullptr);            // D4
    worksheet_write_string(first, 4, 1, "\xE4\xB8\xAD\xE6\x96\x87", nullptr);  // B5, UTF-8 in the file
    worksheet_write_number(first, 4, 2, 42, nullptr);            // C5
    worksheet_write_number(first, 4, 3, 0.1 + 0.2, nullptr);     // D5
    lxw_worksheet* second = workbook_add_worksheet(book, "Other");
    worksheet_write_string(second, 0, 0, "second", nullptr);
    worksheet_write_string(second, 0, 25, "zed", nullptr);       // Z1
    worksheet_write_string(second, 0, 26, "beyond", nullptr);    // AA1
    EXPECT_EQ(workbook_close(book), LXW_NO_ERROR);
    return path;
  }

  std::string WriteSingleCellBook(const std::string& name, bool withCell) {
    std::string path = PathOf(name);
    lxw_workbook* book = workbook_new(path.c_str());
    lxw_worksheet* sheet = workbook_add_worksheet(book, nullptr);
    if (withCell) worksheet_write_string(sheet, 0, 0, "only", nullptr);
    EXPECT_EQ(workbook_close(book), LXW_NO_ERROR);
    return path;
  }

  std::string WriteBytes(const std::string& name, const std::string& bytes) {
    std::string path = PathOf(name);
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }

  fs::path dir_;
};

TEST_F(TabrionTest, FilesThatCannotBeReadGiveOneAndStayClosed) {
  CTabrion reader;
  auto missing = Para(PathOf("missing.xlsx"));
  EXPECT_EQ(reader.InitialExcelDataBase(missing), 1);
  EXPECT_EQ(reader.opened, 0);
  EXPECT_STREQ(reader.filePath, missing.filePath);

  auto folder = Para(dir_.string());
  EXPECT_EQ(reader.InitialExcelDataBase(folder), 1);

  auto text = Para(WriteBytes("notes.xlsx", "VIN,Weight\nA,1\n"));
  EXPECT_EQ(reader.InitialExcelDataBase(text), 1);

  // Packed-archive and compound-file signatures followed by rubbish.
  auto badZip = Para(WriteBytes("bad.xlsx", std::string("PK\x03\x04", 4) + std::string(200, '\x7f')));
  EXPECT_EQ(reader.InitialExcelDataBase(badZip), 1);
  auto badXls = Para(WriteBytes("bad.xls", std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(600, '\x01')));
  EXPECT_EQ(reader.InitialExcelDataBase(badXls), 1);
  auto empty = Para(WriteBytes("empty.xls", ""));
  EXPECT_EQ(reader.InitialExcelDataBase(empty), 1);

  EXPECT_EQ(reader.opened, 0);
  EXPECT_EQ(reader.GetCellData(1, 'A'), "");
}

TEST_F(TabrionTest, PathsThatDoNotFitAreRefusedNotCut) {
  CTabrion reader;
  std::string book = WriteBook("book.xlsx");
  // A record whose path fills all 272 bytes without a terminator.
  _EXCEL_FILE_PARA para;
  std::memset(para.filePath, 'a', sizeof para.filePath);
  EXPECT_EQ(reader.InitialExcelDataBase(para), 1);
  EXPECT_STREQ(reader.filePath, "");

  // 256 characters do not fit the object's path either, even when the file exists.
  std::string longName = PathOf(std::string(255 - (dir_.string().size() + 1), 'b') + "x");
  ASSERT_EQ(longName.size(), 256u);
  fs::copy_file(book, longName);
  auto tooLong = Para(longName);
  EXPECT_EQ(reader.InitialExcelDataBase(tooLong), 1);
  EXPECT_EQ(reader.opened, 0);
}

TEST_F(TabrionTest, SheetsWithoutDataGiveThreeAndStayClosed) {
  CTabrion reader;
  auto single = Para(WriteSingleCellBook("single.xlsx", true));
  EXPECT_EQ(reader.InitialExcelDataBase(single), 3);
  EXPECT_EQ(reader.opened, 0);
  EXPECT_EQ(reader.rowCount, 1);
  EXPECT_EQ(reader.columnCount, 1);
  EXPECT_EQ(reader.GetCellData(1, 'A'), "");

  auto blank = Para(WriteSingleCellBook("blank.xlsx", false));
  EXPECT_EQ(reader.InitialExcelDataBase(blank), 3);

  std::string book = WriteBook("book.xlsx");
  auto beyond = Para(book, 2);
  EXPECT_EQ(reader.InitialExcelDataBase(beyond), 3);
  auto negative = Para(book, -1);
  EXPECT_EQ(reader.InitialExcelDataBase(negative), 3);
  auto largest = Para(book, 0x7FFFFFFF);
  EXPECT_EQ(reader.InitialExcelDataBase(largest), 3);
  EXPECT_EQ(reader.opened, 0);
}

TEST_F(TabrionTest, OpenMeasuresTheUsedRangeAndReadsDisplayedTexts) {
  for (bool inlineStrings : {false, true}) {
    SCOPED_TRACE(inlineStrings ? "inline strings" : "shared strings");
    CTabrion reader;
    auto para = Para(WriteBook(inlineStrings ? "inline.xlsx" : "shared.xlsx", inlineStrings));
    ASSERT_EQ(reader.InitialExcelDataBase(para), 0);
    EXPECT_EQ(reader.opened, 1);
    EXPECT_EQ(reader.firstRow, 3);
    EXPECT_EQ(reader.firstColumn, 2);
    EXPECT_EQ(reader.rowCount, 3);
    EXPECT_EQ(reader.columnCount, 3);

    EXPECT_EQ(reader.GetCellData(3, 'B'), "VIN");
    EXPECT_EQ(reader.GetCellData(4, 'B'), "LSVAA4182E2184841");
    EXPECT_EQ(reader.GetCellData(4, 'C'), "12.5");
    EXPECT_EQ(reader.GetCellData(4, 'D'), "TRUE");
    EXPECT_EQ(reader.GetCellData(5, 'C'), "42");
    EXPECT_EQ(reader.GetCellData(5, 'D'), "0.3");
    EXPECT_EQ(reader.GetCellData(5, 'B'), "\xD6\xD0\xCE\xC4");  // code page 936 bytes
  }
}

TEST_F(TabrionTest, CellsOutsideTheReadableAreaAreEmpty) {
  CTabrion reader;
  auto para = Para(WriteBook("book.xlsx"));
  ASSERT_EQ(reader.InitialExcelDataBase(para), 0);
  EXPECT_EQ(reader.GetCellData(4, 'b'), "");   // lower case
  EXPECT_EQ(reader.GetCellData(2, 'B'), "");   // above the first row
  EXPECT_EQ(reader.GetCellData(4, 'A'), "");   // left of the first column
  EXPECT_EQ(reader.GetCellData(4, '@'), "");
  EXPECT_EQ(reader.GetCellData(4, '['), "");
  EXPECT_EQ(reader.GetCellData(4, static_cast<char>(0xC1)), "");
  EXPECT_EQ(reader.GetCellData(9, 'B'), "");   // below the used range: read, and empty
  EXPECT_EQ(reader.GetCellData(-5, 'B'), "");
  EXPECT_EQ(reader.GetCellData(1L << 40, 'B'), "");

  auto second = Para(para.filePath, 1);
  ASSERT_EQ(reader.InitialExcelDataBase(second), 0);
  EXPECT_EQ(reader.columnCount, 27);
  EXPECT_EQ(reader.GetCellData(1, 'A'), "second");
  EXPECT_EQ(reader.GetCellData(1, 'Z'), "zed");
  EXPECT_EQ(reader.GetCellData(1, 'Y'), "");
}

TEST_F(TabrionTest, OpeningAgainClosesFirstAndCopiesShareTheOpenWorkbook) {
  CTabrion reader;
  EXPECT_EQ(reader.GetCellData(3, 'B'), "");  // before any open
  auto first = Para(WriteBook("first.xlsx"));
  ASSERT_EQ(reader.InitialExcelDataBase(first), 0);

  CTabrion copy(reader);
  EXPECT_EQ(copy.opened, 1);
  EXPECT_STREQ(copy.filePath, first.filePath);
  EXPECT_EQ(copy.GetCellData(3, 'B'), "VIN");

  auto second = Para(first.filePath, 1);
  ASSERT_EQ(reader.InitialExcelDataBase(second), 0);
  EXPECT_EQ(reader.GetCellData(1, 'A'), "second");

  reader.DeleteExcelOleFun();
  EXPECT_EQ(reader.opened, 0);
  EXPECT_EQ(reader.GetCellData(1, 'A'), "");
  reader.DeleteExcelOleFun();  // closing twice does nothing

  // The copy still says open but its workbook is gone.
  EXPECT_EQ(copy.opened, 1);
  EXPECT_EQ(copy.GetCellData(3, 'B'), "");

  CTabrion assigned;
  assigned = copy;
  EXPECT_EQ(assigned.firstRow, copy.firstRow);
  EXPECT_STREQ(assigned.filePath, copy.filePath);

  // The workbook on disk is only read.
  auto before = fs::file_size(first.filePath);
  auto reopened = Para(first.filePath);
  ASSERT_EQ(reader.InitialExcelDataBase(reopened), 0);
  reader.DeleteExcelOleFun();
  EXPECT_EQ(fs::file_size(first.filePath), before);
}

}  // namespace
