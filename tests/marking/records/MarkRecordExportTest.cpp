#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "RecordsTestSupport.h"
#include "marking/records/MarkRecordExport.h"

using namespace marking;
using records_test::FreshFolder;
using records_test::ReadZipEntry;
using records_test::Record;

TEST(MarkRecordExport, WritesASheetWithTheTimeAndTheDateInTheirOwnColumns) {
  const std::string folder = FreshFolder();
  const std::string path = MakeExportPath(folder, MarkTime{2026, 1, 2, 3, 4, 5});
  EXPECT_EQ(path, folder + "/Info20260102030405.xlsx");
  std::vector<MarkRecord> rows = {Record("VIN<&>\"'", "缺省", "S1", "QR%%1", "20260102")};
  std::string error;
  ASSERT_TRUE(ExportMarkRecords(rows, path, &error)) << error;
  EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));

  const std::string sheet = ReadZipEntry(path, "xl/worksheets/sheet1.xml");
  const std::string strings = ReadZipEntry(path, "xl/sharedStrings.xml");
  const std::string workbook = ReadZipEntry(path, "xl/workbook.xml");
  ASSERT_FALSE(sheet.empty());
  ASSERT_FALSE(strings.empty());
  EXPECT_NE(workbook.find("name=\"标记信息\""), std::string::npos);
  // Shared strings in first-use order: six names, then the row's cells.
  for (const char* text : {"主关键字", "次关键字", "流水号", "二维码", "时间", "日期", "QR%%1", "2026年12月08日20时05分", "20260102"})
    EXPECT_NE(strings.find(std::string(">") + text + "<"), std::string::npos) << text;
  EXPECT_NE(strings.find(">VIN&lt;&amp;&gt;"), std::string::npos) << strings;
  EXPECT_LT(strings.find(">时间<"), strings.find(">日期<"));
  // Row 2: E2 holds the time (string 10) and F2 the date (string 11).
  EXPECT_NE(sheet.find("<c r=\"E2\" t=\"s\"><v>10</v></c>"), std::string::npos) << sheet;
  EXPECT_NE(sheet.find("<c r=\"F2\" t=\"s\"><v>11</v></c>"), std::string::npos) << sheet;

  // A second export in the same second gets its own file.
  const std::string next = MakeExportPath(folder, MarkTime{2026, 1, 2, 3, 4, 5});
  EXPECT_EQ(next, folder + "/Info20260102030405-2.xlsx");
}

TEST(MarkRecordExport, AFileThatCannotBeWrittenIsReportedAndLeavesNothing) {
  const std::string folder = FreshFolder();
  std::string error;
  EXPECT_FALSE(ExportMarkRecords({Record("A", "", "", "")}, folder + "/missing/Info.xlsx", &error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(std::filesystem::exists(folder + "/missing"));
}
