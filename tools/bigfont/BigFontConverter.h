#pragma once
// Turns the outlines of outline fonts' characters into a big font: each
// character's contours flattened, put on the big font's grid, thinned and
// written as shape bytes. A character comes from the first face that draws
// it; a face may hold a blank glyph for a character it does not draw. The
// result depends only on the font files and the settings, so a build makes
// the same file every time.
#include <cstdint>
#include <string>
#include <vector>

#include "tools/bigfont/Gb2312Characters.h"

struct BigFontSettings {
  std::string name = "Vendrik";
  // Grid units of the em square, which is one text height: the height byte
  // of the font, and the advance of a full-width character.
  int emUnits = 128;
  double curveTolerance = 0.35;  // grid units between a curve and its chords
  double thinTolerance = 0.6;    // grid units a thinned-out point may lie off
  int smallestContour = 2;       // grid units; smaller contours are dropped
};

struct OutlineFaceSource {
  std::string path;
  int faceIndex = 0;
};

struct BigFontReport {
  int characters = 0;  // characters written
  int missing = 0;     // characters no face has a glyph for
  std::size_t largestShape = 0;
};

// False with the reason when a font does not open or the file cannot be made.
bool ConvertToBigFont(const std::vector<OutlineFaceSource>& faces, const std::vector<Gb2312Character>& characters,
                      const BigFontSettings& settings, std::vector<std::uint8_t>& out, BigFontReport& report,
                      std::string& error);
