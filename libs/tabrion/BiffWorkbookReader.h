#pragma once
// Reads one worksheet of a BIFF8 workbook stream (the "Workbook" stream of an
// .xls file) into its cells' displayed texts: shared strings, numbers (NUMBER,
// RK, MULRK), labels, Booleans and errors, formulas with their last results,
// blank styled cells, and the workbook's number formats and cell styles.
// Workbooks of Excel 5 and 95 (BIFF5, 8-bit strings in the workbook's code
// page, no shared strings) are read the same way. Damaged input ends the reading or leaves a cell out; it never reads past
// the data it is given.
#include "libs/tabrion/BiffRecordReader.h"
#include "libs/tabrion/LoadedSheet.h"

namespace tabrion {

// sheetNumber is 1-based and counts worksheets only (not chart or macro sheets).
ReadResult ReadBiffSheet(ByteSpan stream, int sheetNumber, LoadedSheet& out);

}  // namespace tabrion
