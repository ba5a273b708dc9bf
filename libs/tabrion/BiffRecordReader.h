#pragma once
// Walks the records of a BIFF8 workbook stream: a 2-byte type, a 2-byte
// length and that many bytes of data, one after the other. A record that runs
// past the end of the stream ends the walk.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace tabrion {

using ByteSpan = std::span<const std::uint8_t>;

class BiffRecordReader {
 public:
  static constexpr std::uint16_t kContinue = 0x003C;

  explicit BiffRecordReader(ByteSpan stream, std::size_t offset = 0) : stream_(stream), next_(offset) {}

  // Moves to the next record; false at the end of the stream.
  bool Next();
  std::uint16_t Type() const { return type_; }
  ByteSpan Data() const { return data_; }
  // Type of the record after the current one, 0 at the end.
  std::uint16_t PeekType() const;
  // The current record's data followed by the data of the CONTINUE records
  // after it, which are consumed.
  std::vector<ByteSpan> WithContinues();

 private:
  ByteSpan stream_;
  std::size_t next_;
  std::uint16_t type_ = 0;
  ByteSpan data_;
};

// Little-endian numbers from a record's data; the caller checks the length.
inline std::uint16_t U16At(ByteSpan d, std::size_t at) { return static_cast<std::uint16_t>(d[at] | d[at + 1] << 8); }
inline std::uint32_t U32At(ByteSpan d, std::size_t at) {
  return static_cast<std::uint32_t>(U16At(d, at)) | static_cast<std::uint32_t>(U16At(d, at + 2)) << 16;
}

}  // namespace tabrion
