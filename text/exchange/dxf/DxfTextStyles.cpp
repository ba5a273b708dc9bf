#include "text/exchange/dxf/DxfTextStyles.h"

namespace {

// ASCII only: GBK trail bytes must not change.
std::string Upper(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return s;
}

std::string Lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

std::string ShxName(const std::string& file) {
  std::string name = Lower(file);
  if (name.find(".shx") == std::string::npos) name += ".shx";
  return name;
}

}  // namespace

void DxfTextStyles::Append(const DxfTextStyle& style) {
  firstByName_.try_emplace(Upper(style.name), styles_.size());
  styles_.push_back(style);
}

const DxfTextStyle* DxfTextStyles::Find(const std::string& name) const {
  const auto found = firstByName_.find(Upper(name));
  return found == firstByName_.end() ? nullptr : &styles_[found->second];
}

std::string DxfMainFontFile(const DxfTextStyle& style) { return ShxName(style.fontFile); }

std::string DxfBigFontFile(const DxfTextStyle& style) {
  return style.bigFontFile.empty() ? std::string("XC18.shx") : ShxName(style.bigFontFile);
}

double DxfTextHeight(double textHeight, const DxfTextStyle& style) {
  if (textHeight != 0) return textHeight;
  if (style.lastHeight != 0) return style.lastHeight;
  if (style.fixedHeight != 0) return style.fixedHeight;
  return 5;
}
