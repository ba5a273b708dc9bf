#pragma once
// One face of an outline font file (TrueType, OpenType or a collection),
// read with FreeType in font units, without hinting: what a glyph gives does
// not depend on the FreeType version's hinter or on a size. Each glyph comes
// back as closed contours flattened into polylines on the big font's grid.
#include <memory>
#include <string>
#include <vector>

// A point on the big font's grid: x right from the character's start, y up
// from the base line, in big-font units.
struct GridPoint {
  double x;
  double y;
};

using Contour = std::vector<GridPoint>;  // closed: the last point joins the first

struct FlatGlyph {
  std::vector<Contour> contours;
  double advance = 0;  // grid units
};

class OutlineFace {
 public:
  // emUnits: grid units of one em; the em square stands on the base line
  // with its bottom an eighth of an em below the face's base line, where
  // ideographic faces put it. tolerance: largest distance, in grid units,
  // between a curve and the chords that replace it.
  OutlineFace(int emUnits, double tolerance);
  ~OutlineFace();
  OutlineFace(const OutlineFace&) = delete;
  OutlineFace& operator=(const OutlineFace&) = delete;

  // False with the reason in error when the file or the face does not open.
  bool Open(const std::string& path, int faceIndex, std::string& error);
  // False when the face has no glyph for the character.
  bool Load(char32_t character, FlatGlyph& glyph) const;

 private:
  struct Library;
  std::unique_ptr<Library> ft_;
  int emUnits_;
  double tolerance_;
};
