#pragma once
// Text objects in a private installation folder with fonts written byte by
// byte for the test: a stroke font whose units are millimetres at a char
// height of 28, ".dot" fonts and sparse HZK files.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "document/objects/CObjElement.h"
#include "tests/text/fonts/shx/ShxTestFonts.h"
#include "text/objects/CObjText.h"

// 'L': a stem 4 high and a foot 3 wide, advancing 4; 'I': a stem 4 high,
// advancing 0 (a character without width); ' ' advances 2.
Bytes MillimetreStrokeFont();

struct DotRecord {
  std::uint8_t code;
  std::vector<std::pair<int, int>> dots;  // column, row
};
Bytes DotFontBytes(const std::vector<DotRecord>& records);
// A dot byte for a column and row.
std::uint8_t DotByte(int column, int row);

// An HZK file holding only the glyphs given (the rest zero), as long as the
// last of them needs.
void WriteHzkFile(const std::string& path, int bytesPerGlyph,
                  const std::vector<std::pair<std::uint16_t, std::vector<std::uint8_t>>>& glyphs);

// A text object in an element, the fonts folder of its own; the installation
// folder points there while the rig lives. The object is a plain text, a
// serial number (prefix "LIL", no number) or a date (format 10).
enum class TextRigKind { Plain, Serial, Date };

class TextRig {
 public:
  explicit TextRig(TextRigKind kind = TextRigKind::Plain);
  ~TextRig();
  TextRig(const TextRig&) = delete;
  TextRig& operator=(const TextRig&) = delete;

  const TestInstallFolder& Folder() const { return folder_; }
  CObjText& Text() { return *text_; }
  CObjElement& Element() { return *element_; }
  TextSettings& S() { return text_->Settings(); }
  // Lays the text out at the position without aligning, and rebuilds the groups.
  void Layout(const std::string& text);
  const CPointList& Points() const { return text_->GetPathData().points; }

 private:
  TestInstallFolder folder_;
  std::string oldInstall_;
  std::unique_ptr<CObjElement> element_;
  CObjText* text_ = nullptr;
};

// Gtest check of a point with a tolerance.
#define EXPECT_POINT(list, i, ex, ey, eflag)                    \
  do {                                                          \
    const int at_ = (i);                                        \
    ASSERT_LT(at_, (list).GetSize());                           \
    EXPECT_NEAR((list)[at_].x, (ex), 1e-6) << "point " << at_;  \
    EXPECT_NEAR((list)[at_].y, (ey), 1e-6) << "point " << at_;  \
    EXPECT_EQ((list)[at_].flag, (eflag)) << "point " << at_;    \
  } while (0)
