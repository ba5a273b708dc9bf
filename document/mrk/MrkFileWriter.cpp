// Writing project files: the header, one block per element and the end
// marker, built in memory and stored as a whole.
#include <string>

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

int WriteMrkFile(const std::string& path, const CObjPtrArray& objects) {
  if (path.empty()) return 0;
  const std::string text = FormatMrkFile(objects, path);
  return platform::WriteFileAtomic(path, text.data(), text.size()) ? 1 : 0;
}
