#pragma once
// Reader of the displayed cell texts of one worksheet of a spreadsheet file
// (.xls or .xlsx). The host opens a workbook, asks cells by row number and
// column letter, and closes it again.
#include <cstddef>
#include <string>

#pragma pack(push, 1)
// The spreadsheet link record as the host keeps it in "ExcelMarkPara.dat".
// This library reads sheetIndex, visible, userControl and filePath only.
struct _EXCEL_FILE_PARA {
  int sheetIndex = 0;    // 0-based; worksheet number sheetIndex + 1 is read
  int reserved1 = 0;     // not read here
  int visible = 0;       // the spreadsheet application's window is shown
  int userControl = 0;   // the application is left under the user's control
  char filePath[272] = {};
  int fixedRow = 0;      // the host's own flag
  unsigned char reserved2[28] = {};
};
#pragma pack(pop)
static_assert(sizeof(_EXCEL_FILE_PARA) == 320);
static_assert(offsetof(_EXCEL_FILE_PARA, visible) == 8);
static_assert(offsetof(_EXCEL_FILE_PARA, filePath) == 16);
static_assert(offsetof(_EXCEL_FILE_PARA, fixedRow) == 288);

class CTabrion {
 public:
  // Results of InitialExcelDataBase.
  enum { kOpen = 0, kCannotOpenFile = 1, kNoServer = 2, kNoData = 3 };

  CTabrion();
  CTabrion(const CTabrion& other);
  CTabrion& operator=(const CTabrion& other);
  virtual ~CTabrion();

  int InitialExcelDataBase(_EXCEL_FILE_PARA& para);
  // Displayed text of a cell, code page 936 bytes; empty when the cell cannot
  // be read (nothing open, column not "A".."Z", row or column before the used range).
  std::string GetCellData(long row, char column);
  void DeleteExcelOleFun();

  // Used range of the open worksheet and the open flag; read by the host.
  int rowCount;
  int columnCount;
  int firstRow;
  int firstColumn;
  int opened;
  char filePath[256];
};
