// Project files (.mrk) as read from disk or from an undo snapshot, with every
// object class the program reads.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "document/doc/CObjPtrArray.h"
#include "document/mrk/MrkFile.h"
#include "text/objects/ObjectClasses.h"

// Texts of TrueType faces ask the font configuration library, which keeps
// caches for the life of the process.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig\n"; }

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool registered = [] {
    RegisterObjectClasses();
    return true;
  }();
  (void)registered;
  CObjPtrArray objects;
  ReadMrkBytes(std::string_view(reinterpret_cast<const char*>(data), size), objects);
  // What was read must format again.
  FormatMrkFile(objects, "fuzz.mrk");
  return 0;
}
