#pragma once
// Writes small BIFF8 workbooks for the tests, record by record: number
// formats, cell styles, shared strings (split into CONTINUE records where
// they run long), and one worksheet of cells. The compound file around the
// "Workbook" stream is written with libgsf.
#include <cstdint>
#include <string>
#include <vector>

namespace tabrion_test {

using Bytes = std::vector<std::uint8_t>;

class BiffWriter {
 public:
  // Longest record data before a CONTINUE follows (8224 in the file format).
  explicit BiffWriter(std::size_t recordLimit = 8224) : limit_(recordLimit) {}

  // A cell style for format id 'id'; the code (UTF-8) is written as a FORMAT record when given.
  int Style(int id, const std::string& code = {});
  void Number(int row, int col, int style, double v);   // RK when it fits, else NUMBER
  void MulRk(int row, int col, int style, const std::vector<std::int32_t>& integers);
  void Blank(int row, int col, int style);
  void SharedText(int row, int col, int style, const std::string& utf8);
  void Label(int row, int col, int style, const std::string& utf8);
  void Boolean(int row, int col, bool v);
  void Error(int row, int col, std::uint8_t code);
  void FormulaNumber(int row, int col, int style, double v);
  void FormulaText(int row, int col, int style, const std::string& utf8);
  void FormulaBoolean(int row, int col, bool v);
  void Raw(std::uint16_t type, const Bytes& data);  // any record into the sheet
  void Set1904() { date1904_ = true; }

  Bytes Stream() const;
  static void WriteCompoundFile(const std::string& path, const Bytes& stream);

 private:
  std::size_t limit_;
  bool date1904_ = false;
  std::vector<std::pair<int, std::string>> formats_;
  std::vector<int> styles_;
  std::vector<std::string> strings_;
  Bytes cells_;
};

// Record helpers shared with the hand-made tests.
void Put16(Bytes& b, unsigned v);
void Put32(Bytes& b, std::uint32_t v);
void PutRecord(Bytes& b, unsigned type, const Bytes& body);
// A string with a 2-byte length: 8-bit when every character fits, else UTF-16.
void PutString16(Bytes& b, const std::string& utf8);

}  // namespace tabrion_test
