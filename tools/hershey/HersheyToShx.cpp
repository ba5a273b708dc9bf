// Build-time tool: converts a Hershey font in the ".jhf" text form (Debian's
// hershey-fonts-data) into a stroke font of the "AutoCAD-86 unifont 1.0" kind
// that the stroke-font engine reads, so that a new installation has a main
// font to draw its texts with.
//
//   vendrik-hershey2shx <input.jhf> <output.shx> [first character code]
//
// Glyphs are numbered from the first character code (32 by default) in file
// order. A glyph line is: a 5-column number, a 3-column vertex count, then
// the count's pairs of characters (each coordinate is its character minus
// 'R'), the first pair the left and right extent, " R" lifting the pen. Long
// glyphs continue on following lines. Hershey's y runs down with the base
// line of the Roman fonts at 9 and capitals 21 units tall; the shapes are
// written with y up from the base line and the left extent at x = 0, each
// ending at its right extent, so the capitals are one text height tall.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kBaseLine = 9;
constexpr std::uint8_t kCapitalHeight = 21;

struct Glyph {
  int left = 0;
  int right = 0;
  std::vector<std::vector<std::pair<int, int>>> strokes;  // x right, y up from the base line
};

// Reads the glyphs of a .jhf file; false on a malformed file.
bool ReadJhf(std::istream& in, std::vector<Glyph>& glyphs, std::string& error) {
  std::string line;
  int lineNo = 0;
  while (std::getline(in, line)) {
    ++lineNo;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.find_first_not_of(' ') == std::string::npos) continue;
    if (line.size() < 8) {
      error = "line " + std::to_string(lineNo) + " is too short";
      return false;
    }
    int count = 0;
    try {
      count = std::stoi(line.substr(5, 3));
    } catch (...) {
      error = "line " + std::to_string(lineNo) + " has no vertex count";
      return false;
    }
    std::string data = line.substr(8);
    while (static_cast<int>(data.size()) < 2 * count && std::getline(in, line)) {
      ++lineNo;
      if (!line.empty() && line.back() == '\r') line.pop_back();
      data += line;
    }
    if (count < 1 || static_cast<int>(data.size()) < 2 * count) {
      error = "glyph ending at line " + std::to_string(lineNo) + " is cut short";
      return false;
    }
    Glyph g;
    g.left = data[0] - 'R';
    g.right = data[1] - 'R';
    std::vector<std::pair<int, int>> stroke;
    for (int k = 1; k < count; ++k) {
      const char a = data[static_cast<std::size_t>(2 * k)];
      const char b = data[static_cast<std::size_t>(2 * k + 1)];
      if (a == ' ' && b == 'R') {
        if (!stroke.empty()) g.strokes.push_back(stroke);
        stroke.clear();
        continue;
      }
      stroke.emplace_back(a - 'R' - g.left, kBaseLine - (b - 'R'));
    }
    if (!stroke.empty()) g.strokes.push_back(stroke);
    glyphs.push_back(g);
  }
  return true;
}

std::int8_t Clamp8(int v) { return static_cast<std::int8_t>(v < -127 ? -127 : v > 127 ? 127 : v); }

// A move by (dx, dy) as code 8, split where a step does not fit a byte.
void Move(std::vector<std::uint8_t>& out, int dx, int dy) {
  while (dx != 0 || dy != 0) {
    const int sx = Clamp8(dx);
    const int sy = Clamp8(dy);
    out.push_back(8);
    out.push_back(static_cast<std::uint8_t>(static_cast<std::int8_t>(sx)));
    out.push_back(static_cast<std::uint8_t>(static_cast<std::int8_t>(sy)));
    dx -= sx;
    dy -= sy;
  }
}

std::vector<std::uint8_t> ShapeOf(const Glyph& g) {
  std::vector<std::uint8_t> out;
  int x = 0;
  int y = 0;
  for (const auto& stroke : g.strokes) {
    out.push_back(2);  // pen up
    Move(out, stroke[0].first - x, stroke[0].second - y);
    x = stroke[0].first;
    y = stroke[0].second;
    out.push_back(1);  // pen down
    for (std::size_t k = 1; k < stroke.size(); ++k) {
      const int dx = stroke[k].first - x;
      const int dy = stroke[k].second - y;
      if (dx == 0 && dy == 0) continue;  // a repeated point would end code 9
      Move(out, dx, dy);
      x = stroke[k].first;
      y = stroke[k].second;
    }
  }
  out.push_back(2);
  Move(out, g.right - g.left - x, -y);
  out.push_back(0);
  return out;
}

void PutU16(std::vector<std::uint8_t>& out, std::uint16_t v) {
  out.push_back(static_cast<std::uint8_t>(v & 0xFF));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}

std::vector<std::uint8_t> Unifont(const std::vector<Glyph>& glyphs, int firstCode, const std::string& name) {
  std::vector<std::uint8_t> out;
  const std::string signature = "AutoCAD-86 unifont 1.0\r\n\x1a";
  out.assign(signature.begin(), signature.end());
  out.resize(27, 0);
  std::vector<std::uint8_t> info(name.begin(), name.end());
  info.push_back(0);
  info.insert(info.end(), {kCapitalHeight, 0, 2, 0});
  PutU16(out, 0);
  PutU16(out, static_cast<std::uint16_t>(info.size()));
  out.insert(out.end(), info.begin(), info.end());
  for (std::size_t i = 0; i < glyphs.size(); ++i) {
    const int code = firstCode + static_cast<int>(i);
    if (code > 255) break;
    std::vector<std::uint8_t> def = {'h', 0};
    const std::vector<std::uint8_t> shape = ShapeOf(glyphs[i]);
    def.insert(def.end(), shape.begin(), shape.end());
    PutU16(out, static_cast<std::uint16_t>(code));
    PutU16(out, static_cast<std::uint16_t>(def.size()));
    out.insert(out.end(), def.begin(), def.end());
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::cerr << "usage: " << argv[0] << " <input.jhf> <output.shx> [first character code]\n";
    return 2;
  }
  std::ifstream in(argv[1]);
  if (!in) {
    std::cerr << argv[1] << ": cannot be opened\n";
    return 1;
  }
  const int first = argc > 3 ? std::atoi(argv[3]) : 32;
  std::vector<Glyph> glyphs;
  std::string error;
  if (!ReadJhf(in, glyphs, error)) {
    std::cerr << argv[1] << ": " << error << "\n";
    return 1;
  }
  if (glyphs.empty()) {
    std::cerr << argv[1] << ": no glyphs\n";
    return 1;
  }
  const std::vector<std::uint8_t> bytes = Unifont(glyphs, first, "Hershey");
  const std::string temp = std::string(argv[2]) + ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
      std::cerr << argv[2] << ": cannot be written\n";
      return 1;
    }
  }
  if (std::rename(temp.c_str(), argv[2]) != 0) {
    std::cerr << argv[2] << ": cannot be written\n";
    return 1;
  }
  return 0;
}
