#include "text/fonts/shx/ShxFontCache.h"

#include "text/fonts/folder/FontFolder.h"

bool ShxFontCache::Font::MainHeader() {
  if (mainHeader_ < 0) mainHeader_ = main.ReadHeader() ? 1 : 0;
  return mainHeader_ == 1;
}

bool ShxFontCache::Font::BigHeader() {
  if (bigHeader_ < 0) bigHeader_ = big.ReadHeader() ? 1 : 0;
  return bigHeader_ == 1;
}

ShxFontCache::Font* ShxFontCache::Open(const std::string& fileName) {
  const auto found = fonts_.find(fileName);
  if (found != fonts_.end()) return found->second.get();
  auto font = std::make_unique<Font>();
  if (!font->file.Open(FontFilePath(installFolder_, fileName))) font.reset();
  return (fonts_[fileName] = std::move(font)).get();
}
