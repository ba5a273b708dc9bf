#pragma once
// The stroke font files the font page offers, from the fonts folder of the
// installation folder: western fonts (".fnt" files and SHX shape or unifont
// files) and Chinese big fonts (SHX big fonts), told apart by the file's
// header. Names are lower-cased; both lists sorted.
#include <string>
#include <vector>

struct FontFileLists {
  std::vector<std::string> west;
  std::vector<std::string> chinese;
};

enum class ShxKind { None, Western, BigFont };

// The kind a file's first bytes make it; None for any other header.
ShxKind ShxKindOfHeader(const std::string& firstBytes);
FontFileLists ListFontFiles(const std::string& installFolder);
