#pragma once
// Reads fields from a record's data and the CONTINUE records that carry on
// after it, as if they were one run of bytes, except inside the characters of
// a string: there each new piece starts with a byte that says whether the
// characters go on in one or two bytes. Every read is checked against the end.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "libs/tabrion/BiffRecordReader.h"

namespace tabrion {

class BiffContinuedData {
 public:
  explicit BiffContinuedData(std::vector<ByteSpan> pieces) : pieces_(std::move(pieces)) {}
  explicit BiffContinuedData(ByteSpan data) : pieces_{data} {}

  bool U8(std::uint8_t& v);
  bool U16(std::uint16_t& v);
  bool U32(std::uint32_t& v);
  bool Skip(std::size_t n);
  bool AtEnd();

  // A string with its length in one byte (lengthBytes 1) or two, its option
  // byte, and any formatting runs and phonetic text (skipped); the text as UTF-8.
  bool UnicodeString(int lengthBytes, std::string& utf8);
  // An Excel 5/95 string: its length in one or two bytes, then 8-bit characters as they are.
  bool ByteString(int lengthBytes, std::string& bytes);

 private:
  // A string's length, in one byte (lengthBytes 1) or two.
  bool Length(int lengthBytes, std::uint16_t& length);
  bool Chars(std::size_t count, bool wide, std::u16string& out);
  // True when a byte is left in the current piece, moving to the next piece if not.
  bool Available();

  std::vector<ByteSpan> pieces_;
  std::size_t piece_ = 0;
  std::size_t at_ = 0;
};

}  // namespace tabrion
