#pragma once
// Stroke-font text: turns a text into pen strokes with a main font for
// single-byte characters and a big font for double-byte (GBK) characters, read
// from the "Fonts" folder of the installation folder on every call.
#include <cstdint>
#include <string>

#include "text/fonts/shx/ShxStrokeRenderer.h"

// Bits of the status word.
constexpr int SHX_GLYPH_FAILED = 0x01;       // a glyph stopped half way; the text was abandoned
constexpr int SHX_ZERO_SCALE = 0x02;         // a scale code met a factor of 0
constexpr int SHX_STACK_FAULT = 0x04;        // push on a full position stack, or pop on an empty one
constexpr int SHX_SUBSHAPE_MISSING = 0x08;   // a subshape was not found
constexpr int SHX_GLYPH_MISSING = 0x10;      // a character or subshape was not in its font
constexpr int SHX_NO_BIG_FONT = 0x20;        // big font not opened, or a double-byte character without one
constexpr int SHX_NO_MAIN_FONT = 0x40;       // main font not opened, or a single-byte character without one
constexpr int SHX_CONTROL_CHARACTER = 0x80;  // a character 1..31 was skipped

// Output point flags.
constexpr std::uint8_t SHX_PEN_DOWN = 0x01;   // joined to the previous point
constexpr std::uint8_t SHX_CHAR_FIRST = 0x02; // first drawn point of a character

// Two passes: with null arrays every point adds 2 to *capacity (start it at
// 0); then, with arrays of *capacity doubles and *capacity / 2 flags, the
// points are written, never more than fit. Returns the doubles written (0 when
// counting, or when a glyph failed and the text was abandoned). Font names
// carry their ".shx"; a main font that does not open is tried as ".fnt".
// secondSpacing is not used.
int ShxTextToStrokes(const std::string& text, const std::string& installFolder, const std::string& mainFontName,
                     const std::string& bigFontName, double originX, double originY, double height, double rotation,
                     double slant, double mainWidth, double spacing, double bigWidth, double secondSpacing,
                     double* coords, std::uint8_t* flags, int* capacity, int* status);

// What a call could not draw for want of a font: characters of the text
// needed the main font, or the big font, and it did not open.
struct ShxFontsLacking {
  bool main = false;
  bool big = false;
};

// The numeric parameters of a call in the order ShxTextToStrokes takes them.
ShxLayout ShxLayoutOf(double originX, double originY, double height, double rotation, double slant, double mainWidth,
                      double spacing, double bigWidth);

// The engine over fonts a cache keeps open beyond the call (a layout of many
// lines or labels reads each font file once). With skipFailures a glyph that
// fails is left out with its points and the text goes on after it (the status
// still carries SHX_GLYPH_FAILED), so one bad glyph does not cost a layout the
// rest of its line. The rest as for ShxTextToStrokes.
int ShxTextToStrokesWith(ShxFontCache& fonts, const std::string& text, const std::string& mainFontName,
                         const std::string& bigFontName, const ShxLayout& layout, bool skipFailures, double* coords,
                         std::uint8_t* flags, int* capacity, int* status, ShxFontsLacking* lacking = nullptr);

// Bounds that keep a damaged or hostile font from running away: the doubles
// one call may produce, the nesting of subshapes, and the subshapes one call
// may draw. A text that reaches one is abandoned as a failed glyph.
constexpr int kShxMaxOutputDoubles = 1 << 22;
constexpr int kShxMaxSubshapeDepth = 16;
constexpr int kShxMaxSubshapeCalls = 100000;
