#pragma once
// Whether an uncompressed BMP (or DIB) file holds all its pixel rows. Image
// libraries read such a file row by row and, when it ends early (a copy
// broken off), may keep the rows they never got as whatever memory held:
// a picture of noise that changes from one reading to the next. Checking the
// file's length against its header before decoding refuses it instead.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace platform {

enum class BmpRows {
  NotChecked,       // not an uncompressed BMP of a known depth (run-length coded ones have a reader of their own)
  Whole,            // every row is there
  LastRowUnpadded,  // only the padding after the file's last row is missing, as some writers leave it
  CutShort,         // pixel data is missing
};

// For LastRowUnpadded, wholeSize receives the length the file has with that padding.
BmpRows CheckBmpRows(std::string_view bytes, std::size_t& wholeSize);

// The unsigned little-endian number of 1 to 4 bytes at `at` (the caller has
// checked the file is that long), as BMP headers store their fields.
std::uint32_t BmpField(std::string_view bytes, std::size_t at, int size);

}  // namespace platform
