#pragma once
// The main (single-byte) font of a text call: its header kind, scale and the
// definitions of its characters. The first lookup indexes the whole file once,
// so every further lookup of the call is a table look-up; nothing outlives the call.
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "text/fonts/shx/ShxFontFile.h"

class ShxMainFont {
 public:
  // 0 unrecognised, 1 unifont, 2 "AutoCAD-86 shapes", 3 "-88"/"-90 shapes", 4 "-89 shapes".
  enum Kind { kUnknown = 0, kUnifont = 1, kShapes86 = 2, kShapes88 = 3, kShapes89 = 4 };

  explicit ShxMainFont(ShxFontFile& file) : file_(file) {}

  // Reads and checks the header; false leaves the font unrecognised.
  bool ReadHeader();
  // Font units to the tenth of the text height.
  double GetScale() const { return scale_; }

  // The stored definition of a character (at most maxBytes of it); false when
  // the font is unrecognised or the character is not in it.
  bool Lookup(std::uint16_t code, std::size_t maxBytes, std::vector<std::uint8_t>& definition);

  // Where the shape bytes of a definition of this font start.
  std::size_t ShapeStart(const std::vector<std::uint8_t>& definition) const;

 private:
  bool ReadUnifontHeader();
  bool ReadShapes86Header();
  bool ReadShapes88Header();
  void BuildIndex();

  struct Entry {
    std::int64_t offset;
    std::uint16_t length;
  };

  ShxFontFile& file_;
  int kind_ = kUnknown;
  double scale_ = 0;
  int heightAboveBase_ = 0;      // unifont
  long firstGlyphRecord_ = 0;    // unifont
  long indexPosition_ = 0;       // shapes
  long firstDefinition_ = 0;     // shapes
  int indexEntries_ = 0;         // "-88/-89/-90" shapes
  bool indexed_ = false;
  std::unordered_map<std::uint16_t, Entry> entries_;  // first record of each code
};

// Where shape bytes start after a zero-terminated name (the size when there is none).
std::size_t ShapeStartAfterName(const std::vector<std::uint8_t>& definition);
