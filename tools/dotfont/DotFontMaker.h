#pragma once
// Writes a ".dot" dot-matrix font: a header of zeros, then one record for
// each character given, in the order given. A dot byte holds a column of 0
// to 7 and a row of 0 to 15 up from the base line (negative rows only in the
// first column), so pixels below the base line, such as the tail of a Q,
// are left out; a glyph wider or taller than that cell is refused.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "tools/dotfont/InkGlyph.h"

// Columns count from the leftmost pixel of all the glyphs. False with the
// reason in error.
bool MakeDotFont(const std::vector<std::pair<std::uint8_t, InkGlyph>>& glyphs, std::vector<std::uint8_t>& bytes,
                 std::string& error);
