#pragma once
// GB2312 bitmap fonts (HZK12, HZK16, HZK24F, HZK24Z): 94 x 94 glyphs in code
// order from 0xA1A1, each a fixed number of rows of h bytes, bit 7 leftmost.
// The file is opened once per layout; a glyph whose offset lies past the end
// of the file has no dots.
#include <cstdint>
#include <string>
#include <vector>

struct HzkGeometry {
  const char* fileName;
  int bytesPerGlyph;
  int bytesPerRow;  // h
  int v;            // rows below the base line left out of the pitch
  int gapNotAscii;  // g: the advance is 9h − g pitches
  int gapAscii;     // g when an ASCII character follows
};

// The font of a dot kind (2..5); null for any other.
const HzkGeometry* HzkGeometryOf(int dotKind);

// Byte offset of the glyph of (c1, c2), both 0xA1 or above.
long HzkGlyphOffset(const HzkGeometry& g, std::uint8_t c1, std::uint8_t c2);

class HzkFont {
 public:
  HzkFont() = default;
  HzkFont(const HzkFont&) = delete;
  HzkFont& operator=(const HzkFont&) = delete;
  ~HzkFont();

  bool Open(const std::string& path, const HzkGeometry& geometry);
  bool IsOpen() const { return fd_ >= 0; }
  // The glyph's bytes; false (bytes empty) when the code is not in the file.
  bool ReadGlyph(std::uint8_t c1, std::uint8_t c2, std::vector<std::uint8_t>& bytes) const;

 private:
  int fd_ = -1;
  long size_ = 0;
  const HzkGeometry* geometry_ = nullptr;
};
