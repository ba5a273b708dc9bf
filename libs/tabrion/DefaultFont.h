#pragma once
// The workbook's default font, in which column widths are counted and General
// numbers are fitted into their column: Calibri 11 (Arial 10 in older
// workbooks) on a 96 dpi screen, whose digits are 7 pixels wide. The fonts of
// single cells are not measured.
namespace tabrion {

inline constexpr int kDigitPixels = 7;

// Advance of a character of a number text in pixels, rounded as the screen draws it.
constexpr int CharPixels(char c) {
  switch (c) {
    case '.':
    case '-':
      return 4;
    default:
      return kDigitPixels;  // digits, 'E', '+', '#'
  }
}

}  // namespace tabrion
