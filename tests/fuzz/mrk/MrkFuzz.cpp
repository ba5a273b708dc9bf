// Project files (.mrk) as read from disk or from an undo snapshot.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "document/doc/CObjPtrArray.h"
#include "document/mrk/MrkFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  CObjPtrArray objects;
  ReadMrkBytes(std::string_view(reinterpret_cast<const char*>(data), size), objects);
  // What was read must format again.
  FormatMrkFile(objects, "fuzz.mrk");
  return 0;
}
