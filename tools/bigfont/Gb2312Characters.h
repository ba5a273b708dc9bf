#pragma once
// The characters of the GB2312 double-byte range (lead and trail bytes 0xA1
// to 0xFE) with the Unicode character each stands for, as code page 936 maps
// it: the codes a big font for the Chinese texts of a document holds. Cells
// that GB2312 leaves empty or gives to the user are not listed.
#include <cstdint>
#include <vector>

struct Gb2312Character {
  std::uint16_t code;  // lead byte x 256 + trail byte
  char32_t unicode;
};

// In code order.
std::vector<Gb2312Character> Gb2312Characters();
