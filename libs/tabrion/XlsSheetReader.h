#pragma once
// .xls (BIFF8) worksheets: the cells' displayed texts, with their number
// formats applied.
#include <string>

#include "libs/tabrion/LoadedSheet.h"

namespace tabrion {

// sheetNumber is 1-based, as the spreadsheet counts its worksheets.
ReadResult ReadXlsSheet(const std::string& path, int sheetNumber, LoadedSheet& out);

}  // namespace tabrion
