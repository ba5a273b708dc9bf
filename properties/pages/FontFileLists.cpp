#include "properties/pages/FontFileLists.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>

#include "text/fonts/folder/FontFolder.h"

namespace {

constexpr const char* kBigFontHeader = "AutoCAD-86 bigfont 1.0";
constexpr const char* kUniFontHeader = "AutoCAD-86 unifont 1.0";
constexpr const char* kShapeHeaders[] = {"AutoCAD-87 shapes 1.0", "AutoCAD-88 shapes 1.0", "AutoCAD-89 shapes 1.0",
                                         "AutoCAD-90 shapes 1.0"};
constexpr const char kHeaderEnd[] = "\r\n\x1a";

bool HeaderIs(const std::string& bytes, const std::string& title) {
  return bytes.compare(0, title.size(), title) == 0 && bytes.compare(title.size(), 3, kHeaderEnd) == 0;
}

std::string Lowered(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

bool HasExtension(const std::string& lowerName, const char* ext) {
  const std::string e(ext);
  return lowerName.size() > e.size() && lowerName.compare(lowerName.size() - e.size(), e.size(), e) == 0;
}

}  // namespace

ShxKind ShxKindOfHeader(const std::string& firstBytes) {
  if (HeaderIs(firstBytes, kBigFontHeader)) return ShxKind::BigFont;
  if (HeaderIs(firstBytes, kUniFontHeader)) return ShxKind::Western;
  for (const char* title : kShapeHeaders)
    if (HeaderIs(firstBytes, title)) return ShxKind::Western;
  return ShxKind::None;
}

FontFileLists ListFontFiles(const std::string& installFolder) {
  FontFileLists lists;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(FontFolderOf(installFolder), ec)) {
    if (!entry.is_regular_file(ec)) continue;
    const std::string name = entry.path().filename().string();
    const std::string lower = Lowered(name);
    if (HasExtension(lower, ".fnt")) {
      lists.west.push_back(name);
      continue;
    }
    if (!HasExtension(lower, ".shx") || lower[0] == 'i') continue;
    std::ifstream in(entry.path(), std::ios::binary);
    std::string head(25, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(std::max<std::streamsize>(in.gcount(), 0)));
    switch (ShxKindOfHeader(head)) {
      case ShxKind::Western:
        if (lower != "gbenor.shx") lists.west.push_back(lower);
        break;
      case ShxKind::BigFont:
        if (lower != "gbenor.shx" && lower != "bigfont.shx" && lower != "chineset.shx") lists.chinese.push_back(lower);
        break;
      case ShxKind::None: break;
    }
  }
  std::sort(lists.west.begin(), lists.west.end());
  std::sort(lists.chinese.begin(), lists.chinese.end());
  return lists;
}
