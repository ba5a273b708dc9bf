#pragma once
// .xlsx (Office Open XML) worksheets: the cells' displayed texts, with their
// number formats applied.
#include <cstddef>
#include <string>

#include "libs/tabrion/LoadedSheet.h"
#include "libs/tabrion/XlsxParts.h"

namespace tabrion {

// sheetNumber is 1-based, as the spreadsheet counts its worksheets.
ReadResult ReadXlsxSheet(const std::string& path, int sheetNumber, LoadedSheet& out);
// The same from a workbook held in memory.
ReadResult ReadXlsxBytes(const void* data, std::size_t size, int sheetNumber, LoadedSheet& out);
// The same from parts given by name (the fuzz target's way in past the archive).
ReadResult ReadXlsxParts(const XlsxParts& parts, int sheetNumber, LoadedSheet& out);

}  // namespace tabrion
