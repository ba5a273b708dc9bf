#include "app/core/MrkAssociation.h"

#include "document/geometry/SharedHelpers.h"
#include "platform/InstallDir.h"

MrkAssociation::MrkAssociation(CommandRunner runner, std::string exePath, std::string workFolder)
    : runner_(std::move(runner)), exePath_(std::move(exePath)), workFolder_(std::move(workFolder)) {}

std::string QuoteDesktopExecArg(const std::string& arg) {
  bool plain = !arg.empty();
  for (char c : arg) {
    if (c == ' ' || c == '\t' || c == '\n' || c == '"' || c == '\'' || c == '\\' || c == '>' || c == '<' ||
        c == '~' || c == '|' || c == '&' || c == ';' || c == '$' || c == '*' || c == '?' || c == '#' ||
        c == '(' || c == ')' || c == '`' || c == '%') {
      plain = false;
      break;
    }
  }
  if (plain) return arg;
  std::string out = "\"";
  for (char c : arg) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') {
      // Escaped once for the quoting rule and once more because the whole
      // value of a desktop entry key is itself unescaped first.
      out += "\\\\";
    }
    if (c == '%') {
      out += "%%";
      continue;
    }
    out += c;
  }
  out += '"';
  return out;
}

std::string MrkAssociation::MimeXml() const {
  return std::string(
             "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
             "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
             "  <mime-type type=\"") +
         kMrkMimeType +
         "\">\n"
         "    <comment>Vendrik documet</comment>\n"
         "    <glob pattern=\"*.mrk\"/>\n"
         "  </mime-type>\n"
         "</mime-info>\n";
}

std::string MrkAssociation::DesktopEntry() const {
  return std::string(
             "[Desktop Entry]\n"
             "Type=Application\n"
             "Name=Vendrik\n"
             "Comment=Vendrik Control SystemV2011\n"
             "Exec=") +
         QuoteDesktopExecArg(exePath_) + " %f\n" + "MimeType=" + kMrkMimeType +
         ";\n"
         "Terminal=false\n"
         "Categories=Graphics;Engineering;\n";
}

bool MrkAssociation::Register() {
  const std::string xmlPath = platform::JoinInstallPath(workFolder_, kMrkMimeFile);
  const std::string desktopPath = platform::JoinInstallPath(workFolder_, kDesktopFile);
  const std::string xml = MimeXml();
  const std::string desktop = DesktopEntry();
  if (!platform::WriteFileAtomic(xmlPath, xml.data(), xml.size())) return false;
  if (!platform::WriteFileAtomic(desktopPath, desktop.data(), desktop.size())) return false;
  if (runner_({"xdg-mime", "install", "--mode", "user", "--novendor", xmlPath}) != 0) return false;
  if (runner_({"xdg-desktop-menu", "install", "--mode", "user", "--novendor", desktopPath}) != 0) return false;
  return runner_({"xdg-mime", "default", kDesktopFile, kMrkMimeType}) == 0;
}

bool MrkAssociation::RegisterOnce() {
  int done = 0;
  ReadRegDword("MarkHotFile", done);
  if (done != 0) return false;
  if (!Register()) return false;
  WriteRegDword("MarkHotFile", 1);
  return true;
}
