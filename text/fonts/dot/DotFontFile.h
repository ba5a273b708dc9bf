#pragma once
// A ".dot" dot-matrix font: a 296-byte header, then up to 36 records of one
// character each (code, dot count, dot bytes). A dot byte b is the dot at
// column (b − 128) / 16 and row (b − 128) % 16, rows upward from the base line.
// The file is read once per layout; counts from the file never lead past a
// record or past the end of the file.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

constexpr std::size_t kDotFontHeaderBytes = 296;
constexpr int kDotFontMaxRecords = 36;
// A record announcing more dot bytes than this is refused (a 16 x 16 cell
// holds 256 dots).
constexpr int kDotFontMaxDots = 512;

class DotFontFile {
 public:
  // Reads the file; false when it cannot be opened (no character has dots then).
  bool Load(const std::string& path);
  // Parses the bytes of a whole file.
  void Parse(std::string_view bytes);

  // The dot bytes of the first record of the character; null when it has none.
  const std::vector<std::uint8_t>* Find(std::uint8_t code) const;
  int RecordCount() const { return records_; }

 private:
  std::array<std::optional<std::vector<std::uint8_t>>, 256> glyphs_;
  int records_ = 0;
};

// Column and row of a dot byte (truncating toward zero).
inline int DotColumn(std::uint8_t b) { return (static_cast<int>(b) - 128) / 16; }
inline int DotRow(std::uint8_t b) { return (static_cast<int>(b) - 128) % 16; }
