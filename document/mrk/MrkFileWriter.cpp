// Writing project files: the header, one block per element and the end
// marker, built in memory and stored as a whole.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <string_view>

#include "document/doc/CObjPtrArray.h"
#include "document/mrk/MrkFile.h"
#include "document/mrk/MrkKeys.h"
#include "document/mrk/MrkLineWriter.h"
#include "document/objects/CObjElement.h"
#include "document/objects/ObjectType.h"
#include "platform/InstallDir.h"

std::string FormatMrkFile(const CObjPtrArray& objects, const std::string& projectPath) {
  std::string text;
  MrkLineWriter out(text);
  out.WritePair(kMrkKeyTitle, kMrkTitleText);
  out.WritePair(kMrkKeyFormatNote, kMrkFormatNoteText);
  out.WritePair(kMrkKeyAuthor, kMrkAuthorText);
  out.WritePair(kMrkKeyContact, kMrkContactText);
  out.WritePair(kMrkKeyVersion, kMrkVersion2008Text);
  for (const CObjElement* element : objects) {
    if (element == nullptr) continue;
    if (element->type == OBJ_PICTURE) {
      element->WriteSpecialToMrk(out, projectPath);
    } else {
      element->WriteToMrk(out);
    }
  }
  out.WritePair(kMrkFileEnd, kMrkFileEndValue);
  return text;
}

bool StoreWholeFile(const std::string& path, std::string_view bytes) {
  if (path.empty()) return false;
  std::error_code ec;
  std::string target = path;
  if (std::filesystem::is_symlink(path, ec)) {
    // Replacing the link itself would cut it off from the file it names.
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(path, ec);
    if (ec) return false;
    target = resolved.string();
  }
  // The temporary file and its rename would get past a write-protected file;
  // one without any write permission is refused for every user.
  struct stat st {};
  if (::stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
      ((st.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0)) {
    return false;
  }
  return platform::WriteFileAtomic(target, bytes.data(), bytes.size());
}

int WriteMrkFile(const std::string& path, const CObjPtrArray& objects) {
  if (path.empty()) return 0;
  const std::string text = FormatMrkFile(objects, path);
  return StoreWholeFile(path, text) ? 1 : 0;
}
