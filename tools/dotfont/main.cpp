// Build-time tool: makes the dot fonts of new texts from bitmap and outline
// fonts Debian ships, so that a new installation draws dot texts. The build
// feeds it free faces only: misc-fixed 6x10 (xfonts-base, public domain),
// WenQuanYi Bitmap Song (xfonts-wqy, GPL 2 with the font embedding
// exception), AR PL KaitiM GB and AR PL SungtiL GB (fonts-arphic-gkai00mp,
// fonts-arphic-gbsn00lp, Arphic Public License); CMakeLists.txt says which
// font each becomes.
//
//   vendrik-bitmap2dotfont dot <output.dot> <font file> <pixel size>
//     the digits and capital letters, the characters dot kind 0 draws;
//   vendrik-bitmap2dotfont hzk <output> <dot kind 2..5> <font file> <pixel size> [<width scale>]
//     every GB2312 character the face has.
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "platform/InstallDir.h"
#include "tools/bigfont/Gb2312Characters.h"
#include "tools/dotfont/BitmapFace.h"
#include "tools/dotfont/DotFontMaker.h"
#include "tools/dotfont/HzkFontMaker.h"

namespace {

int Usage(const char* program) {
  std::cerr << "usage: " << program << " dot <output.dot> <font file> <pixel size>\n"
            << "       " << program << " hzk <output> <dot kind 2..5> <font file> <pixel size> [<width scale>]\n";
  return 2;
}

int MakeDot(const std::string& output, const std::string& font, int pixelSize) {
  BitmapFace face;
  std::string error;
  if (!face.Open(font, pixelSize, 1.0, error)) {
    std::cerr << error << "\n";
    return 1;
  }
  std::vector<std::pair<std::uint8_t, InkGlyph>> glyphs;
  std::string missing;
  for (char c : std::string("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ")) {
    InkGlyph glyph;
    if (face.Load(static_cast<unsigned char>(c), glyph)) {
      glyphs.emplace_back(static_cast<std::uint8_t>(c), std::move(glyph));
    } else {
      missing += c;
    }
  }
  if (glyphs.empty()) {
    std::cerr << font << ": the face has no digits or capital letters\n";
    return 1;
  }
  if (!missing.empty()) std::cerr << font << ": the face lacks " << missing << "; they have no dots\n";
  std::vector<std::uint8_t> bytes;
  if (!MakeDotFont(glyphs, bytes, error)) {
    std::cerr << font << ": " << error << "\n";
    return 1;
  }
  if (!platform::WriteFileAtomic(output, bytes.data(), bytes.size())) {
    std::cerr << output << ": cannot be written\n";
    return 1;
  }
  return 0;
}

int MakeHzk(const std::string& output, int dotKind, const std::string& font, int pixelSize, double widthScale) {
  const HzkGeometry* geometry = HzkGeometryOf(dotKind);
  if (geometry == nullptr) {
    std::cerr << "dot kind " << dotKind << " has no GB2312 bitmap font\n";
    return 2;
  }
  BitmapFace face;
  std::string error;
  if (!face.Open(font, pixelSize, widthScale, error)) {
    std::cerr << error << "\n";
    return 1;
  }
  std::vector<std::pair<std::uint16_t, InkGlyph>> glyphs;
  for (const Gb2312Character& c : Gb2312Characters()) {
    InkGlyph glyph;
    if (face.Load(c.unicode, glyph)) glyphs.emplace_back(c.code, std::move(glyph));
  }
  if (glyphs.empty()) {
    std::cerr << font << ": the face has none of the GB2312 characters\n";
    return 1;
  }
  const std::vector<std::uint8_t> bytes = MakeHzkFont(*geometry, glyphs);
  if (!platform::WriteFileAtomic(output, bytes.data(), bytes.size())) {
    std::cerr << output << ": cannot be written\n";
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "dot" && argc == 5) return MakeDot(argv[2], argv[3], std::atoi(argv[4]));
  if (command == "hzk" && (argc == 6 || argc == 7)) {
    return MakeHzk(argv[2], std::atoi(argv[3]), argv[4], std::atoi(argv[5]), argc == 7 ? std::atof(argv[6]) : 1.0);
  }
  return Usage(argv[0]);
}
