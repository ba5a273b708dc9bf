#pragma once
// The stroke-font files of one layout, each opened at its first use and kept
// open with what its headers and index gave until the cache goes: a text of
// many lines, or a ruler of many labels, reads each file once instead of once
// per line or label. A call of the engine without a cache of its caller's
// has one of its own and so opens its files per call.
#include <map>
#include <memory>
#include <string>

#include "text/fonts/shx/ShxBigFont.h"
#include "text/fonts/shx/ShxFontFile.h"
#include "text/fonts/shx/ShxMainFont.h"
#include "text/fonts/shx/ShxPointListFont.h"

class ShxFontCache {
 public:
  // One opened file, read as a main, big or point-list font as the call needs.
  struct Font {
    ShxFontFile file;
    ShxMainFont main{file};
    ShxBigFont big{file};
    ShxPointListFont pointList{file};
    // The headers, each read once; false when refused.
    bool MainHeader();
    bool BigHeader();

   private:
    int mainHeader_ = -1;  // not read yet, else 0 refused or 1 read
    int bigHeader_ = -1;
  };

  explicit ShxFontCache(std::string installFolder) : installFolder_(std::move(installFolder)) {}
  ShxFontCache(const ShxFontCache&) = delete;
  ShxFontCache& operator=(const ShxFontCache&) = delete;

  const std::string& InstallFolder() const { return installFolder_; }
  // The file of that name in the fonts folder; null when it does not open
  // (asked again, it is not looked for again).
  Font* Open(const std::string& fileName);
  // Files looked for so far, opened or not.
  int FilesLookedFor() const { return static_cast<int>(fonts_.size()); }

 private:
  std::string installFolder_;
  std::map<std::string, std::unique_ptr<Font>> fonts_;  // null where the file did not open
};
