// Build-time tool: makes the default big font, whose name the font pair of a
// new text carries, from outline fonts Debian ships, for every character of
// the GB2312 range they have. A character comes from the first face given
// that draws it.
//
//   vendrik-outline2bigfont <output.shx> <font file> <face index> [<font file> <face index>]...
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>

#include "tools/bigfont/BigFontConverter.h"

int main(int argc, char** argv) {
  if (argc < 4 || argc % 2 != 0) {
    std::cerr << "usage: " << argv[0] << " <output.shx> <font file> <face index> [<font file> <face index>]...\n";
    return 2;
  }
  const std::string output = argv[1];
  std::vector<OutlineFaceSource> faces;
  for (int i = 2; i + 1 < argc; i += 2) faces.push_back({argv[i], std::atoi(argv[i + 1])});
  std::vector<std::uint8_t> bytes;
  BigFontReport report;
  std::string error;
  if (!ConvertToBigFont(faces, Gb2312Characters(), BigFontSettings{}, bytes, report, error)) {
    std::cerr << error << "\n";
    return 1;
  }
  if (report.characters == 0) {
    std::cerr << "the faces have none of the GB2312 characters\n";
    return 1;
  }
  const std::string temp = output + ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
      std::cerr << output << ": cannot be written\n";
      return 1;
    }
  }
  if (std::rename(temp.c_str(), output.c_str()) != 0) {
    std::cerr << output << ": cannot be written\n";
    return 1;
  }
  return 0;
}
