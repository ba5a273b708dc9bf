// Bitmap files for the plotter library's tracer.
#include <cstdint>
#include <vector>

#include "libs/ravelpen/CDibImage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ravelpen::CDibImage image;
  image.SetBytes(std::vector<std::uint8_t>(data, data + size));
  ravelpen::TracePolylineArray result;
  image.TraceToPolylines(result);
  return 0;
}
