#pragma once
// The big (double-byte) font of a text call: its header, scale and the
// definitions of its characters and subshapes. The index is read once per
// call, at the first lookup; nothing outlives the call.
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "text/fonts/shx/ShxFontFile.h"

class ShxBigFont {
 public:
  explicit ShxBigFont(ShxFontFile& file) : file_(file) {}

  // Reads and checks the header; false leaves every lookup failing.
  bool ReadHeader();
  double GetScale() const { return scale_; }
  int GetHeight() const { return height_; }

  // The stored definition (at most maxBytes of it) of code = first byte x 256
  // + second byte; false when it is not in the font.
  bool Lookup(std::uint16_t code, std::size_t maxBytes, std::vector<std::uint8_t>& definition);

 private:
  void BuildIndex();

  struct Entry {
    std::uint32_t offset;
    std::uint16_t length;
  };

  ShxFontFile& file_;
  bool valid_ = false;
  double scale_ = 0;
  int entryCount_ = 0;
  int height_ = 0;
  long secondEntryPosition_ = 0;
  bool indexed_ = false;
  std::unordered_map<std::uint16_t, Entry> entries_;  // first entry of each code
};
