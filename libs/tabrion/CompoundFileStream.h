#pragma once
// The "Workbook" stream of an .xls file, taken out of its compound document
// (OLE2 structured storage) by libgsf.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tabrion {

// The stream's bytes; nothing when the file is no compound document, has no
// BIFF8 workbook stream, or the stream is larger than a workbook can sensibly be.
std::optional<std::vector<std::uint8_t>> ReadWorkbookStream(const std::string& path);
std::optional<std::vector<std::uint8_t>> ReadWorkbookStream(const std::uint8_t* data, std::size_t size);

}  // namespace tabrion
