#pragma once
// The .pts dot image: every dot of a layout in one binary file for other
// marking tools. Little-endian: magic, dot count, zeros up to 256 bytes, one
// 24-byte record per dot (x, y as doubles in mm, the flag byte, 7 zeros), then
// 1024 zero bytes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

class CPointList;

constexpr std::uint32_t kPointsImageMagic = 0x013269DB;
constexpr std::size_t kPointsImageHeaderSize = 256;
constexpr std::size_t kPointsImageRecordSize = 24;
constexpr std::size_t kPointsImageTrailerSize = 1024;

std::string BuildPointsImage(const CPointList& dots);

// Stores the image as a whole; false when it cannot be written.
bool WritePointsImage(const std::string& path, const CPointList& dots);

// Parses a dot image: false (dots untouched) unless the magic is there and
// the bytes hold every record the header counts.
bool ParsePointsImage(std::string_view bytes, CPointList& dots);
// Reads and parses the file; false when it cannot be read or is no dot image.
bool ReadPointsImage(const std::string& path, CPointList& dots);
