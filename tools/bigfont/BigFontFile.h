#pragma once
// The bytes of an "AutoCAD-86 bigfont 1.0" file: the signature, the header
// (the value 8, the index entry count, the escape ranges), the index of
// 8-byte entries (code, length, file offset; the font information record
// first, under code 0) and the records. Every record is a name ending with a
// zero byte, then its bytes: for the information record the height (font
// units of a character as tall as the text), a byte not read, the modes and
// the width; for a character its shape bytes. Little-endian throughout.
#include <cstdint>
#include <string>
#include <vector>

struct BigFontGlyph {
  std::uint16_t code;                // lead byte x 256 + trail byte
  std::vector<std::uint8_t> shape;  // shape bytes, ending with 0
};

struct BigFontRange {
  std::uint16_t first;  // lead bytes that start a double-byte character
  std::uint16_t last;
};

// Glyphs in the order given; false (with the reason) when a record would not
// fit the index's 16-bit length or the file its 32-bit offsets.
bool BigFontBytes(const std::string& name, std::uint8_t height, const std::vector<BigFontRange>& ranges,
                  const std::vector<BigFontGlyph>& glyphs, std::vector<std::uint8_t>& out, std::string& error);
