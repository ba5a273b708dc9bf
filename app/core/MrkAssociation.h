#pragma once
// Opens ".mrk" project files with this program from the desktop: a MIME type
// for "*.mrk" and a desktop entry that starts the program on the file, both
// registered for the user through the xdg tools. Done once: the registry
// value MarkHotFile records it (set it back to 0 to register again).
#include <string>

#include "app/core/CommandRunner.h"

inline constexpr const char* kMrkMimeType = "application/x-vendrik-mrk";
inline constexpr const char* kMrkMimeFile = "vendrik-mrk.xml";
inline constexpr const char* kDesktopFile = "vendrik.desktop";

class MrkAssociation {
 public:
  // exePath: the program to start; workFolder: where the two files are
  // written before the tools install them.
  MrkAssociation(CommandRunner runner, std::string exePath, std::string workFolder);

  // Writes both files and installs them; true when every tool succeeded.
  bool Register();
  // Register() unless MarkHotFile is non-zero; MarkHotFile becomes 1 once
  // the registration went through (a failed one is tried again next start).
  // Returns true when it registered now.
  bool RegisterOnce();

  std::string MimeXml() const;
  std::string DesktopEntry() const;

 private:
  CommandRunner runner_;
  std::string exePath_;
  std::string workFolder_;
};

// Quotes an argument for the Exec line of a desktop entry.
std::string QuoteDesktopExecArg(const std::string& arg);
