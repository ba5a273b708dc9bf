#pragma once
// The inked pixels of one character of a bitmap face, as the face's own
// bitmap or its outline rendered to pixels gives them.
#include <vector>

struct InkPixel {
  int x;  // columns right from the pen's start
  int y;  // rows up from the base line: the pixel just above it is 0
};

struct InkGlyph {
  std::vector<InkPixel> pixels;
};
