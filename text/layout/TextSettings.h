#pragma once
// What a text object keeps of its text and its layout: the fields the layouts
// read (and the few they store back: the arc size an arc layout measures, the
// char spacing a TrueType layout refuses, the arc radius dot kind 1 clears).
// The text object owns one; the layouts take it by reference.
#include <cstdint>
#include <string>

#include "document/geometry/CDoublePoint.h"

// Flag byte bits.
constexpr std::uint8_t TEXT_TRUETYPE = 0x01;
constexpr std::uint8_t TEXT_MIRROR_X = 0x08;
constexpr std::uint8_t TEXT_MIRROR_Y = 0x10;
constexpr std::uint8_t TEXT_DOT_FONT = 0x20;
constexpr std::uint8_t TEXT_TWO_LINES = 0x40;
constexpr std::uint8_t TEXT_CODE_SYMBOL = 0x80;

// Dot kinds.
constexpr int DOT_KIND_DOT_FONT = 0;
constexpr int DOT_KIND_TRUETYPE = 1;
constexpr int DOT_KIND_HZK12 = 2;
constexpr int DOT_KIND_HZK16 = 3;
constexpr int DOT_KIND_HZK24F = 4;
constexpr int DOT_KIND_HZK24Z = 5;

// The TrueType font description, as the project file stores it.
struct TextLogFont {
  int height = 10;
  int width = 0;
  int escapement = 0;
  int orientation = 0;
  int weight = 400;
  std::uint8_t italic = 0;
  std::uint8_t underline = 0;
  std::uint8_t strikeOut = 0;
  std::uint8_t charSet = 191;
  std::uint8_t outPrecision = 0;
  std::uint8_t clipPrecision = 0;
  std::uint8_t quality = 0;
  std::uint8_t pitchAndFamily = 0;
  std::string faceName = "Arial";  // code page 936 bytes, at most 31
};

// Longest font file name kept (the field held 64 bytes with its end mark).
constexpr std::size_t kTextFontNameMax = 63;
constexpr std::size_t kTextFaceNameMax = 31;

inline constexpr char kDefaultStrokeFontPair[] = "KelTxt2+Xc18";
inline constexpr char kDefaultDotFontFile[] = "Dot5x7Font.dot";

struct TextSettings {
  TextLogFont font;
  CDoublePoint anchor;       // the anchor last given to the layout
  CDoublePoint position;     // upper-left point of the first line [10, 20]
  int fixedCorner = 6;       // [100] 0..8, see FixedPointOf
  int alignment = 0;         // [101] kept only
  int dotKind = 1;           // [104]
  double aspectRatio = 1.0;  // [50]
  double heightRatio = 1.0;  // [51]
  double resizeAlong = 1.0;
  double resizeAcross = 1.0;
  float arcSize = 0;         // [70] degrees
  float deflection = 0;      // [66] degrees
  float lineSpacing = 5.0f;  // [60] mm
  float charSpacing = 0;     // [61] mm
  float arcRadius = 0;       // [62] mm
  float charHeight = 5.0f;   // [63] mm
  float slant = 0;           // [64] degrees
  float rotation = 0;        // [65] degrees
  float offsetX2 = 0;        // [67]
  float offsetY2 = 0;        // [68]
  float fixedCharWidth = 0;  // [69] mm
  int starMode = 0;          // [102]
  int arcArrangement = 0;    // [103] kept only
  int gridDone = 0;
  int splitAfterNine = 0;    // not saved, not copied
  std::uint8_t flags = 0;    // [190]
  std::string text;          // [235] code page 936 bytes
  std::string dotFontFile;   // [232]
  std::string strokeFontPair;  // [230]
};

// The point of the rectangle that a fixed-corner value names (flag 0);
// (0, 0) for values outside 0..8.
struct CDoubleRect;
CDoublePoint FixedPointOf(const CDoubleRect& rect, int fixedCorner);
