// Workbooks put together by hand, with the forms other programs write and with
// damaged or hostile contents.
#include <gtest/gtest.h>
#include <zip.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "libs/tabrion/CTabrion.h"
#include "platform/Cp936.h"

namespace {

namespace fs = std::filesystem;

const char* kRels =
    R"(<?xml version="1.0"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
    R"(<Relationship Id="rId7" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="/xl/worksheets/data.xml"/>)"
    R"(<Relationship Id="rId2" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/gone.xml"/>)"
    R"(<Relationship Id="rId3" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings" Target="strings.xml"/>)"
    R"(<Relationship Id="rId4" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/chartsheet" Target="chartsheets/sheet1.xml"/>)"
    R"(</Relationships>)";
const char* kWorkbook =
    R"(<?xml version="1.0"?><workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" )"
    R"(xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"><sheets>)"
    R"(<sheet name="Chart" sheetId="3" r:id="rId4"/><sheet name="Data" sheetId="1" r:id="rId7"/><sheet name="Gone" sheetId="2" r:id="rId2"/></sheets></workbook>)";
const char* kStrings =
    R"(<sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><si><t>plain</t></si>)"
    R"(<si><r><t>ri</t></r><r><rPr><b/></rPr><t>ch</t></r><rPh><t>HINT</t></rPh></si></sst>)";

// 'before' goes ahead of the cells: the sheet's format and column widths.
std::string Sheet(const std::string& rows, const std::string& before = {}) {
  return R"(<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">)" + before + "<sheetData>" +
         rows + "</sheetData></worksheet>";
}

class HandMadeXlsxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("tabrion-hand-" + std::to_string(::getpid()) + "-" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Write(const std::map<std::string, std::string>& parts) {
    std::string path = (dir_ / ("book" + std::to_string(++count_) + ".xlsx")).string();
    int error = 0;
    zip_t* zip = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    EXPECT_NE(zip, nullptr);
    for (const auto& [name, bytes] : parts) {
      zip_source_t* source = zip_source_buffer(zip, bytes.data(), bytes.size(), 0);
      EXPECT_GE(zip_file_add(zip, name.c_str(), source, ZIP_FL_OVERWRITE), 0);
    }
    EXPECT_EQ(zip_close(zip), 0);
    return path;
  }

  std::string Book(const std::string& sheetXml, const std::string& strings = kStrings) {
    return Write({{"xl/workbook.xml", kWorkbook},
                  {"xl/_rels/workbook.xml.rels", kRels},
                  {"xl/strings.xml", strings},
                  {"xl/worksheets/data.xml", sheetXml}});
  }

  static _EXCEL_FILE_PARA Para(const std::string& path, int sheetIndex = 0) {
    _EXCEL_FILE_PARA para;
    para.sheetIndex = sheetIndex;
    std::strncpy(para.filePath, path.c_str(), sizeof para.filePath - 1);
    return para;
  }

  fs::path dir_;
  int count_ = 0;
};

// The chart sheet listed first is not counted: "Data" is worksheet 1.
TEST_F(HandMadeXlsxTest, CellKindsAndPositionsWithoutReferences) {
  CTabrion reader;
  auto para = Para(Book(Sheet(
      R"(<row r="2"><c r="A2" t="s"><v>1</v></c><c t="s"><v>0</v></c><c t="s"><v>99</v></c>)"
      R"(<c r="E2" t="e"><v>#DIV/0!</v></c><c t="str"><f>A1</f><v>formula text</v></c></row>)"
      R"(<row><c><v>1E+20</v></c><c t="b"><v>0</v></c><c t="inlineStr"><is><t>in</t></is></c>)"
      R"(<c r="D3"><v>-0.000012</v></c><c r="bogus"><v>7</v></c></row>)")));
  ASSERT_EQ(reader.InitialExcelDataBase(para), 0);
  EXPECT_EQ(reader.firstRow, 2);
  EXPECT_EQ(reader.firstColumn, 1);
  EXPECT_EQ(reader.rowCount, 2);
  EXPECT_EQ(reader.columnCount, 6);  // A..F
  EXPECT_EQ(reader.GetCellData(2, 'A'), "rich");  // phonetic hint left out
  EXPECT_EQ(reader.GetCellData(2, 'B'), "plain");
  EXPECT_EQ(reader.GetCellData(2, 'C'), "");      // string number beyond the table
  EXPECT_EQ(reader.GetCellData(2, 'E'), "#DIV/0!");
  EXPECT_EQ(reader.GetCellData(2, 'F'), "formula text");
  EXPECT_EQ(reader.GetCellData(3, 'A'), "1E+20");
  EXPECT_EQ(reader.GetCellData(3, 'B'), "FALSE");
  EXPECT_EQ(reader.GetCellData(3, 'C'), "in");
  EXPECT_EQ(reader.GetCellData(3, 'D'), "-0.000012");
  EXPECT_EQ(reader.GetCellData(3, 'E'), "");      // a cell with an unreadable reference is no cell
}

// Columns without their own width take the sheet's: from the base width in
// characters (4: 33 pixels, rounded up to 40), or from the stored default width, which wins.
TEST_F(HandMadeXlsxTest, ColumnsWithoutWidthTakeTheSheetsDefault) {
  const std::string pi = R"(<row r="1"><c r="A1"><v>3.14159265358979</v></c><c r="B1"><v>3.14159265358979</v></c>)"
                         R"(<c r="C1"><v>3.14159265358979</v></c></row>)";
  CTabrion reader;
  auto base = Para(Book(Sheet(pi, R"(<sheetFormatPr baseColWidth="4" defaultRowHeight="15"/><cols>)"
                                  R"(<col min="1" max="1" width="0" hidden="1"/>)"
                                  R"(<col min="3" max="3" width="12.7109375" customWidth="1"/></cols>)")));
  ASSERT_EQ(reader.InitialExcelDataBase(base), 0);
  EXPECT_EQ(reader.GetCellData(1, 'A'), "3.142");  // hidden without a width: the default
  EXPECT_EQ(reader.GetCellData(1, 'B'), "3.142");
  EXPECT_EQ(reader.GetCellData(1, 'C'), "3.141592654");

  auto stored = Para(Book(Sheet(pi, R"(<sheetFormatPr baseColWidth="4" defaultColWidth="12.7109375"/>)"
                                    R"(<cols><col min="2" max="2" width="bogus"/></cols>)")));
  ASSERT_EQ(reader.InitialExcelDataBase(stored), 0);
  EXPECT_EQ(reader.GetCellData(1, 'A'), "3.141592654");
  EXPECT_EQ(reader.GetCellData(1, 'B'), "3.141592654");
}

struct Escape {
  const char* written;
  const char* shown;  // UTF-8
};

// "_xHHHH_" stands for one UTF-16 unit; "_x005F_" is an underscore that keeps
// what follows as typed.
const Escape kEscapes[] = {
    {"A_x0001_B", "A\x01" "B"},
    {"_x005F_x0041_", "_x0041_"},
    {"x_x005f_x0042_y", "x_x0042_y"},
    {"_x0041_", "A"},
    {"_x004a__x004A_", "JJ"},
    {"__x0041__", "_A_"},
    {"_x4E2D__x6587_", "\xE4\xB8\xAD\xE6\x96\x87"},
    {"_x00G1_", "_x00G1_"},  // not hexadecimal
    {"_x0041", "_x0041"},    // not closed
    {"_X0041_", "_X0041_"},
    {"_x+041_", "_x+041_"},
};

TEST_F(HandMadeXlsxTest, EscapedCharactersAreDecodedInEveryKindOfText) {
  std::string strings = R"(<sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">)";
  std::string rows;
  int n = 0;
  for (const Escape& e : kEscapes) {
    strings += std::string("<si><t>") + e.written + "</t></si>";
    std::string r = std::to_string(++n);
    rows += "<row r=\"" + r + "\"><c r=\"A" + r + "\" t=\"s\"><v>" + std::to_string(n - 1) + "</v></c>" +
            "<c r=\"B" + r + "\" t=\"inlineStr\"><is><r><t>" + e.written + "</t></r></is></c>" +
            "<c r=\"C" + r + "\" t=\"str\"><f>A" + r + "</f><v>" + e.written + "</v></c></row>";
  }
  strings += "</sst>";
  CTabrion reader;
  auto para = Para(Book(Sheet(rows), strings));
  ASSERT_EQ(reader.InitialExcelDataBase(para), 0);
  long row = 0;
  for (const Escape& e : kEscapes) {
    ++row;
    std::string shown = platform::Utf8ToCp936(e.shown);
    EXPECT_EQ(reader.GetCellData(row, 'A'), shown) << "shared " << e.written;
    EXPECT_EQ(reader.GetCellData(row, 'B'), shown) << "inline " << e.written;
    EXPECT_EQ(reader.GetCellData(row, 'C'), shown) << "formula " << e.written;
  }
}

TEST_F(HandMadeXlsxTest, DamagedWorkbooksAreRefused) {
  CTabrion reader;
  auto goneSheet = Para(Book(Sheet("<row r=\"1\"><c r=\"A1\"><v>1</v></c><c r=\"B1\"><v>2</v></c></row>")), 1);
  EXPECT_EQ(reader.InitialExcelDataBase(goneSheet), 1);

  auto broken = Para(Book("<worksheet><sheetData><row r=\"1\"><c r=\"A1\"><v>1</v></c><c r=\"B1\">"));
  EXPECT_EQ(reader.InitialExcelDataBase(broken), 1);

  auto noWorkbook = Para(Write({{"xl/worksheets/data.xml", Sheet("")}}));
  EXPECT_EQ(reader.InitialExcelDataBase(noWorkbook), 1);

  // References beyond the largest sheet are not cells.
  auto outside = Para(Book(Sheet(R"(<row r="1"><c r="XFE1"><v>1</v></c><c r="A1048577"><v>2</v></c>)"
                                 R"(<c r="A99999999999999999999"><v>3</v></c></row>)")));
  EXPECT_EQ(reader.InitialExcelDataBase(outside), 3);
  EXPECT_EQ(reader.opened, 0);

  auto corners = Para(Book(Sheet(R"(<row r="1"><c r="A1"><v>1</v></c></row><row r="1048576"><c r="XFD1048576"><v>2</v></c></row>)")));
  ASSERT_EQ(reader.InitialExcelDataBase(corners), 0);
  EXPECT_EQ(reader.rowCount, 1048576);
  EXPECT_EQ(reader.columnCount, 16384);
  EXPECT_EQ(reader.GetCellData(1, 'A'), "1");
}

// A sheet part of its head, `blanks` spaces and its tail, handed to the
// archive a piece at a time: the test never holds the unpacked part itself.
class BlankSheetSource {
 public:
  explicit BlankSheetSource(std::uint64_t blanks)
      : head_(Sheet("").substr(0, Sheet("").find("</sheetData>"))), tail_("</sheetData></worksheet>"),
        size_(head_.size() + blanks + tail_.size()) {}

  zip_source_t* Make(zip_t* zip) { return zip_source_function(zip, &BlankSheetSource::Call, this); }

 private:
  static zip_int64_t Call(void* self, void* data, zip_uint64_t length, zip_source_cmd_t cmd) {
    return static_cast<BlankSheetSource*>(self)->Handle(static_cast<char*>(data), length, cmd);
  }
  zip_int64_t Handle(char* data, zip_uint64_t length, zip_source_cmd_t cmd) {
    switch (cmd) {
      case ZIP_SOURCE_OPEN:
        at_ = 0;
        return 0;
      case ZIP_SOURCE_READ:
        return static_cast<zip_int64_t>(Read(data, length));
      case ZIP_SOURCE_CLOSE:
        return 0;
      case ZIP_SOURCE_STAT: {
        auto* st = reinterpret_cast<zip_stat_t*>(data);
        zip_stat_init(st);
        st->size = size_;
        st->valid |= ZIP_STAT_SIZE;
        return sizeof(zip_stat_t);
      }
      case ZIP_SOURCE_ERROR:
        return zip_error_to_data(&error_, data, length);
      case ZIP_SOURCE_FREE:
        return 0;
      case ZIP_SOURCE_SUPPORTS:
        return ZIP_SOURCE_SUPPORTS_READABLE;
      default:
        return -1;
    }
  }
  // The head, then blanks, then the tail, from where the last read ended.
  zip_uint64_t Read(char* data, zip_uint64_t length) {
    const std::uint64_t blanksEnd = size_ - tail_.size();
    zip_uint64_t n = 0;
    while (n < length && at_ < size_) {
      std::uint64_t take = 0;
      if (at_ < head_.size()) {
        take = std::min<std::uint64_t>(length - n, head_.size() - at_);
        std::memcpy(data + n, head_.data() + at_, take);
      } else if (at_ < blanksEnd) {
        take = std::min<std::uint64_t>(length - n, blanksEnd - at_);
        std::memset(data + n, ' ', take);
      } else {
        take = std::min<std::uint64_t>(length - n, size_ - at_);
        std::memcpy(data + n, tail_.data() + (at_ - blanksEnd), take);
      }
      n += take;
      at_ += take;
    }
    return n;
  }

  std::string head_, tail_;
  std::uint64_t size_;
  std::uint64_t at_ = 0;
  zip_error_t error_{};
};

TEST_F(HandMadeXlsxTest, OversizedPartIsRefused) {
  // Highly packable: a few hundred kilobytes on disk, more than the reader
  // takes unpacked.
  const std::string path = (dir_ / "oversized.xlsx").string();
  BlankSheetSource sheet(300u * 1024u * 1024u);
  int error = 0;
  zip_t* zip = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  ASSERT_NE(zip, nullptr);
  // The archive reads its sources when it is closed.
  const std::map<std::string, std::string> small{
      {"xl/workbook.xml", kWorkbook}, {"xl/_rels/workbook.xml.rels", kRels}, {"xl/strings.xml", kStrings}};
  for (const auto& [name, bytes] : small) {
    ASSERT_GE(zip_file_add(zip, name.c_str(), zip_source_buffer(zip, bytes.data(), bytes.size(), 0), 0), 0);
  }
  ASSERT_GE(zip_file_add(zip, "xl/worksheets/data.xml", sheet.Make(zip), 0), 0);
  ASSERT_EQ(zip_close(zip), 0);
  auto para = Para(path);
  CTabrion reader;
  EXPECT_EQ(reader.InitialExcelDataBase(para), 1);

  // The same part declaring a small size in its headers is unpacked, and
  // refused when it grows past the limit all the same.
  std::string bytes;
  {
    std::ifstream in(path, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), {});
  }
  const std::string name = "xl/worksheets/data.xml";
  const auto put32 = [&bytes](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  int patched = 0;
  for (std::size_t at = 0; (at = bytes.find(name, at)) != std::string::npos; at += name.size()) {
    if (at >= 30 && bytes.compare(at - 30, 4, "PK\x03\x04") == 0) {
      put32(at - 30 + 22, 4096);  // the local header's unpacked size
      ++patched;
    } else if (at >= 46 && bytes.compare(at - 46, 4, "PK\x01\x02") == 0) {
      put32(at - 46 + 24, 4096);  // the central directory's
      ++patched;
    }
  }
  ASSERT_EQ(patched, 2);
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  CTabrion lied;
  EXPECT_EQ(lied.InitialExcelDataBase(para), 1);
}

}  // namespace
