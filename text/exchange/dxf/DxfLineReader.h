#pragma once
// Line reader of DXF files: at most 255 bytes of a line are kept (the rest of
// a longer line is dropped, so group codes and values stay paired), leading
// spaces are dropped and the line ends at its line feed (a carriage return
// before it is cut too). Reads the file in blocks of its own.
#include <cstdio>
#include <string>

class DxfLineReader {
 public:
  static constexpr int kLineLimit = 256;

  explicit DxfLineReader(std::FILE* file) : file_(file) {}
  // False at the end of the file.
  bool ReadDxfLine(std::string& line);

 private:
  bool Fill();

  std::FILE* file_;
  char block_[1 << 16];
  std::size_t begin_ = 0;
  std::size_t end_ = 0;
  bool eof_ = false;
};

// Group code of a line: an optional sign and digits (after the leading spaces
// already dropped); anything else reads as 0, far too large values are clamped.
int ParseDxfGroupCode(const std::string& line);

// A real value in the C locale, like atof; false when the line holds no number.
bool ParseDxfReal(const std::string& line, double& value);
