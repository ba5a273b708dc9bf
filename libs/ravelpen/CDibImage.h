#pragma once
// A bitmap file held whole in memory, traced into the polylines of the
// outline of its dark areas (24-bit pictures only), 0.25 mm a pixel, centred.
#include <cstdint>
#include <string>
#include <vector>

#include "libs/ravelpen/TraceSteps.h"

namespace ravelpen {

class CDibImage {
 public:
  CDibImage() = default;
  virtual ~CDibImage() = default;

  // 1 when the whole file was read.
  int LoadFile(const std::string& path);
  // 0 traced, 1 nothing loaded (or the file is no readable bitmap), 3 not 24
  // bits per pixel.
  int TraceToPolylines(TracePolylineArray& result) const;

  // The file's bytes, for callers that already have them in memory.
  void SetBytes(std::vector<std::uint8_t> bytes) { bytes_ = std::move(bytes); }

 private:
  std::vector<std::uint8_t> bytes_;
};

// Grey value of the 24-bit pixel at byte offset u of row r.
int GetPixelGrey(std::size_t rowSize, const std::uint8_t* rows, std::size_t u, std::size_t r);

}  // namespace ravelpen
