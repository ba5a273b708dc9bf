#pragma once
// .xlsx (Office Open XML) worksheets: the cells' displayed texts, with their
// number formats applied.
#include <cstddef>
#include <string>

#include "libs/tabrion/LoadedSheet.h"

namespace tabrion {

// sheetNumber is 1-based, as the spreadsheet counts its worksheets.
ReadResult ReadXlsxSheet(const std::string& path, int sheetNumber, LoadedSheet& out);
// The same from a workbook held in memory.
ReadResult ReadXlsxBytes(const void* data, std::size_t size, int sheetNumber, LoadedSheet& out);

}  // namespace tabrion
