// A small BIFF8 workbook put together byte by byte: one compound file with a
// "Workbook" stream holding two sheets.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "libs/tabrion/CTabrion.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<unsigned char>;

void Put16(Bytes& b, unsigned v) {
  b.push_back(v & 0xFF);
  b.push_back((v >> 8) & 0xFF);
}
void Put32(Bytes& b, std::uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}
void Set32(Bytes& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = (v >> (8 * i)) & 0xFF;
}
void Record(Bytes& b, unsigned type, const Bytes& body) {
  Put16(b, type);
  Put16(b, static_cast<unsigned>(body.size()));
  b.insert(b.end(), body.begin(), body.end());
}
Bytes Bof(unsigned kind) {
  Bytes r;
  Put16(r, 0x0600);
  Put16(r, kind);
  Put16(r, 0x0DBB);
  Put16(r, 0x07CC);
  Put32(r, 0);
  Put32(r, 0x06);
  return r;
}
Bytes Label(unsigned row, unsigned col, const std::string& text) {
  Bytes r;
  Put16(r, row);
  Put16(r, col);
  Put16(r, 15);
  Put16(r, static_cast<unsigned>(text.size()));
  r.push_back(0);  // 8-bit characters
  r.insert(r.end(), text.begin(), text.end());
  return r;
}
Bytes Number(unsigned row, unsigned col, double value) {
  Bytes r;
  Put16(r, row);
  Put16(r, col);
  Put16(r, 15);
  unsigned char raw[8];
  std::memcpy(raw, &value, 8);
  r.insert(r.end(), raw, raw + 8);
  return r;
}
Bytes Dimension(unsigned firstRow, unsigned lastRowPlus1, unsigned firstCol, unsigned lastColPlus1) {
  Bytes r;
  Put32(r, firstRow);
  Put32(r, lastRowPlus1);
  Put16(r, firstCol);
  Put16(r, lastColPlus1);
  Put16(r, 0);
  return r;
}
Bytes BoundSheet(const std::string& name) {
  Bytes r;
  Put32(r, 0);  // stream offset of the sheet, set later
  Put16(r, 0);
  r.push_back(static_cast<unsigned char>(name.size()));
  r.push_back(0);
  r.insert(r.end(), name.begin(), name.end());
  return r;
}
Bytes Xf() {
  Bytes r(20, 0);
  r[4] = 0x01;  // cell XF, locked
  return r;
}

Bytes WorkbookStream(const Bytes& dimension = Dimension(2, 4, 1, 3)) {
  Bytes b;
  Record(b, 0x0809, Bof(0x0005));
  Record(b, 0x0042, Bytes{0xB0, 0x04});  // code page 1200
  for (int i = 0; i < 16; ++i) Record(b, 0x00E0, Xf());
  std::size_t sheet1 = b.size() + 4;
  Record(b, 0x0085, BoundSheet("Parts"));
  std::size_t sheet2 = b.size() + 4;
  Record(b, 0x0085, BoundSheet("Other"));
  Record(b, 0x000A, {});

  Set32(b, sheet1, static_cast<std::uint32_t>(b.size()));
  Record(b, 0x0809, Bof(0x0010));
  Record(b, 0x0200, dimension);  // B3:C4 when sound
  Record(b, 0x0204, Label(2, 1, "VIN"));
  Record(b, 0x0203, Number(2, 2, 12.5));
  Record(b, 0x0204, Label(3, 1, "LSVAA4182E2184841"));
  Record(b, 0x0203, Number(3, 2, 42));
  Record(b, 0x000A, {});

  Set32(b, sheet2, static_cast<std::uint32_t>(b.size()));
  Record(b, 0x0809, Bof(0x0010));
  Record(b, 0x0200, Dimension(0, 1, 0, 1));
  Record(b, 0x0204, Label(0, 0, "alone"));
  Record(b, 0x000A, {});
  return b;
}

// Compound file with 512-byte sectors: FAT in sector 0, the stream from
// sector 1 on (padded to the 4096 bytes below which streams go elsewhere),
// directory after it.
Bytes CompoundFile(Bytes stream) {
  const std::uint32_t kEnd = 0xFFFFFFFE, kFree = 0xFFFFFFFF, kFatSector = 0xFFFFFFFD;
  std::uint32_t streamSize = static_cast<std::uint32_t>(stream.size() < 4096 ? 4096 : stream.size());
  stream.resize((streamSize + 511) / 512 * 512, 0);
  std::uint32_t streamSectors = static_cast<std::uint32_t>(stream.size() / 512);
  std::uint32_t dirSector = 1 + streamSectors;

  Bytes header(512, 0);
  const unsigned char sig[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
  std::memcpy(header.data(), sig, 8);
  header[24] = 0x3E;
  header[26] = 0x03;
  header[28] = 0xFE;
  header[29] = 0xFF;
  header[30] = 0x09;
  header[32] = 0x06;
  Set32(header, 44, 1);
  Set32(header, 48, dirSector);
  Set32(header, 56, 0x1000);
  Set32(header, 60, kEnd);
  Set32(header, 68, kEnd);
  for (int i = 0; i < 109; ++i) Set32(header, 76 + 4 * i, i == 0 ? 0 : kFree);

  Bytes fat(512, 0xFF);
  Set32(fat, 0, kFatSector);
  for (std::uint32_t s = 1; s <= streamSectors; ++s) Set32(fat, 4 * s, s == streamSectors ? kEnd : s + 1);
  Set32(fat, 4 * dirSector, kEnd);

  Bytes dir(512, 0);
  auto entry = [&](int index, const std::string& name, unsigned char type, std::uint32_t child, std::uint32_t start,
                   std::uint32_t size) {
    std::size_t at = 128 * index;
    for (std::size_t i = 0; i < name.size(); ++i) dir[at + 2 * i] = static_cast<unsigned char>(name[i]);
    dir[at + 64] = static_cast<unsigned char>(2 * (name.size() + 1));
    dir[at + 66] = type;
    dir[at + 67] = 1;  // black
    Set32(dir, at + 68, kFree);
    Set32(dir, at + 72, kFree);
    Set32(dir, at + 76, child);
    Set32(dir, at + 116, start);
    Set32(dir, at + 120, size);
  };
  entry(0, "Root Entry", 5, 1, kEnd, 0);
  entry(1, "Workbook", 2, kFree, 1, streamSize);
  for (int i = 2; i < 4; ++i) {
    Set32(dir, 128 * i + 68, kFree);
    Set32(dir, 128 * i + 72, kFree);
    Set32(dir, 128 * i + 76, kFree);
  }

  Bytes file = header;
  file.insert(file.end(), fat.begin(), fat.end());
  file.insert(file.end(), stream.begin(), stream.end());
  file.insert(file.end(), dir.begin(), dir.end());
  return file;
}

class HandMadeXlsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = fs::temp_directory_path() / ("tabrion-xls-" + std::to_string(::getpid()) + ".xls");
    Bytes file = CompoundFile(WorkbookStream());
    std::ofstream(path_, std::ios::binary).write(reinterpret_cast<const char*>(file.data()),
                                                  static_cast<std::streamsize>(file.size()));
  }
  void TearDown() override { fs::remove(path_); }

  _EXCEL_FILE_PARA Para(int sheetIndex) const {
    _EXCEL_FILE_PARA para;
    para.sheetIndex = sheetIndex;
    std::strncpy(para.filePath, path_.c_str(), sizeof para.filePath - 1);
    return para;
  }

  fs::path path_;
};

TEST_F(HandMadeXlsTest, ReadsSheetsOfABinaryWorkbook) {
  CTabrion reader;
  auto first = Para(0);
  ASSERT_EQ(reader.InitialExcelDataBase(first), 0);
  EXPECT_EQ(reader.firstRow, 3);
  EXPECT_EQ(reader.firstColumn, 2);
  EXPECT_EQ(reader.rowCount, 2);
  EXPECT_EQ(reader.columnCount, 2);
  EXPECT_EQ(reader.GetCellData(3, 'B'), "VIN");
  EXPECT_EQ(reader.GetCellData(3, 'C'), "12.5");
  EXPECT_EQ(reader.GetCellData(4, 'B'), "LSVAA4182E2184841");
  EXPECT_EQ(reader.GetCellData(4, 'C'), "42");
  EXPECT_EQ(reader.GetCellData(4, 'A'), "");

  auto single = Para(1);
  EXPECT_EQ(reader.InitialExcelDataBase(single), 3);
  EXPECT_EQ(reader.opened, 0);
  auto beyond = Para(2);
  EXPECT_EQ(reader.InitialExcelDataBase(beyond), 3);
}

TEST_F(HandMadeXlsTest, HostileDimensionsDoNotHang) {
  for (const Bytes& dimension : {Dimension(0, 0xFFFFFFF0u, 0, 0xFFFF), Dimension(5, 2, 9, 1), Dimension(0, 65536, 0, 256)}) {
    Bytes file = CompoundFile(WorkbookStream(dimension));
    std::ofstream(path_, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
    CTabrion reader;
    auto para = Para(0);
    int result = reader.InitialExcelDataBase(para);
    EXPECT_TRUE(result == 0 || result == 1) << result;
    if (result == 0) { EXPECT_EQ(reader.GetCellData(3, 'B'), "VIN"); }
  }
}

}  // namespace
