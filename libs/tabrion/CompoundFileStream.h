#pragma once
// The "Workbook" stream of an .xls file, taken out of its compound document
// (OLE2 structured storage) by libgsf.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tabrion {

// The stream's bytes ("Book" in files of Excel 5 and 95); nothing when the
// file is no compound document, has no workbook stream, or the stream is larger than a workbook can sensibly be.
std::optional<std::vector<std::uint8_t>> ReadWorkbookStream(const std::string& path);

// Sets up libgsf and its object types once, in the calling process; the
// readers here call it before they use libgsf.
void PrepareWorkbookStreamReading();
std::optional<std::vector<std::uint8_t>> ReadWorkbookStream(const std::uint8_t* data, std::size_t size);

}  // namespace tabrion
