#pragma once
// The spreadsheet link record as dialog 183 edits it: the values the dialog
// shows, the path stored into the record's fixed field (a longer path is
// refused, never cut: a cut path names another file), and the record written
// whole to "ExcelMarkPara.dat".
#include <cstddef>
#include <string>

#include "libs/tabrion/CTabrion.h"

// Longest path the record holds (the field keeps its end mark).
inline constexpr std::size_t kExcelPathMax = sizeof(_EXCEL_FILE_PARA::filePath) - 1;
inline constexpr const char* kExcelPathTooLong =
    "The spreadsheet file path is too long (at most 271 characters); the link keeps its old file.";

// What dialog 183 edits.
struct ExcelSourceValues {
  int sheetIndex = 0;
  int visible = 0;
  int userControl = 0;
  int fixedRow = 0;
  std::string path;  // code page 936 bytes
};

ExcelSourceValues ExcelSourceValuesOf(const _EXCEL_FILE_PARA& para);
// False (record untouched) when the path does not fit.
bool StoreExcelPath(_EXCEL_FILE_PARA& para, const std::string& path);
// The whole 320-byte record; false when it cannot be written.
bool SaveExcelMarkPara(const std::string& folder, const _EXCEL_FILE_PARA& para);
