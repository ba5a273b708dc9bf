#include "app/views/model/ExcelLinkRecord.h"

#include <cstring>

#include "app/views/model/ViewSettingsFiles.h"
#include "platform/InstallDir.h"

ExcelSourceValues ExcelSourceValuesOf(const _EXCEL_FILE_PARA& para) {
  ExcelSourceValues v;
  v.sheetIndex = para.sheetIndex;
  v.visible = para.visible;
  v.userControl = para.userControl;
  v.fixedRow = para.fixedRow;
  v.path.assign(para.filePath, strnlen(para.filePath, sizeof para.filePath));
  return v;
}

bool StoreExcelPath(_EXCEL_FILE_PARA& para, const std::string& path) {
  // An embedded end mark would cut the path as surely as the field's size.
  if (path.size() > kExcelPathMax || path.find('\0') != std::string::npos) return false;
  std::memset(para.filePath, 0, sizeof para.filePath);
  std::memcpy(para.filePath, path.data(), path.size());
  return true;
}

bool SaveExcelMarkPara(const std::string& folder, const _EXCEL_FILE_PARA& para) {
  return platform::WriteFileAtomic(platform::JoinInstallPath(folder, kExcelMarkParaFile), &para, sizeof para);
}
