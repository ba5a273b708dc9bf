#pragma once
// Line reader of DXF files: at most 255 bytes of a line are kept (the rest of
// a longer line is dropped, so group codes and values stay paired), leading
// spaces are dropped and the line ends at its line feed (a carriage return
// before it is cut too).
#include <cstdio>
#include <string>

class DxfLineReader {
 public:
  static constexpr int kLineLimit = 256;

  explicit DxfLineReader(std::FILE* file) : file_(file) {}
  // False at the end of the file.
  bool ReadDxfLine(std::string& line);

 private:
  std::FILE* file_;
};

// Group code of a line: an optional sign and digits (after the leading spaces
// already dropped); anything else reads as 0, far too large values are clamped.
int ParseDxfGroupCode(const std::string& line);
