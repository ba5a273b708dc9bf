#include "app/core/MissingFontMessage.h"

#include "platform/Cp936.h"
#include "platform/InstallDir.h"

std::string MissingFontMessage(const std::vector<std::string>& names, const std::string& installFolder) {
  std::string list;
  for (const std::string& name : names) {
    if (!list.empty()) list += ", ";
    list += platform::Cp936ToUtf8(name);
  }
  return (names.size() == 1 ? "Font not found: " : "Fonts not found: ") + list +
         "\nFonts folder: " + platform::JoinInstallPath(installFolder, "Fonts");
}
