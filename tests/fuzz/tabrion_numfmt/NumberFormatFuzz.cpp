// Fuzz target: a number format code as a workbook spells it out, applied to
// numbers of every size and sign, to dates and to a text, in columns of any
// width from none to wide.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "libs/tabrion/NumberFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tabrion::NumberFormat format(std::string_view(reinterpret_cast<const char*>(data), size));
  for (double v : {0.0, -0.0, 1.0, -1.5, 0.5, 45356.75, 1e-300, 4.9e-324, -1e300, 1e15, 123456789.123, 2958465.99999})
    for (int textPixels : {tabrion::kAnyWidth, 0, static_cast<int>(size % 97), 1780})
      (void)format.Format(v, size % 2 == 0, textPixels);
  (void)format.FormatText("text");
  return 0;
}
