#pragma once
// Character outlines of a TrueType (or OpenType) face from the font system
// (FreeType, with fontconfig choosing the file for a face name), at a cell
// height given in pixels the way a positive LOGFONT height is meant: ascent
// plus descent, not the em size. Device pixels run y down, the pen at the top
// left of the character cell.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct TrueTypeSegment {
  enum Kind : std::uint8_t { Move, Line, Cubic, Close };
  Kind kind;
  double x[3];  // Cubic: two control points and the end point; others use [0]
  double y[3];
};

// Where a face draws its underline and strike-out, in whole pixels at the
// cell height: the top of each stroke below the base line (negative: above
// it) and its thickness (at least one pixel).
struct TrueTypeLineMetrics {
  int underlineTop = 0;
  int underlineThickness = 1;
  int strikeOutTop = 0;
  int strikeOutThickness = 1;
};

class TrueTypeFace {
 public:
  TrueTypeFace();
  ~TrueTypeFace();
  TrueTypeFace(const TrueTypeFace&) = delete;
  TrueTypeFace& operator=(const TrueTypeFace&) = delete;

  // The file fontconfig matches to a family name (UTF-8), bold and italic as asked.
  static std::string MatchFile(const std::string& family, bool bold, bool italic);
  // The file of a face that has the character, for characters the chosen face lacks.
  static std::string MatchFileFor(char32_t character);

  bool OpenFile(const std::string& path);
  bool IsOpen() const;
  // Cell height in pixels (ascent + descent).
  void SetCellHeight(int pixels);
  double Ascent() const;  // pixels
  double Descent() const;  // pixels, positive below the base line

  // The underline from the PostScript table (as FreeType gives it), the
  // strike-out from the OS/2 table; a face without the OS/2 table strikes out
  // at a quarter of the em with the underline's thickness.
  TrueTypeLineMetrics LineMetrics() const;

  bool HasGlyph(char32_t character) const;
  // Advance width in whole pixels, as a text extent reports it.
  int Advance(char32_t character) const;
  // The outline with the pen (top left of the cell) at (penX, penY); false
  // when the face has no such character or it has no outline.
  bool Outline(char32_t character, double penX, double penY, std::vector<TrueTypeSegment>& out) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// UTF-8 to code points; malformed bytes become U+FFFD.
std::u32string DecodeUtf8(const std::string& utf8);
