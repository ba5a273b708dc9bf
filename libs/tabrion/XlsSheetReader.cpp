// .xls (BIFF) worksheets through freexl.
#include <freexl.h>

#include "libs/tabrion/CellText.h"
#include "libs/tabrion/LoadedSheet.h"
#include "platform/Cp936.h"
#include "platform/NumberText.h"

namespace tabrion {
namespace {

struct XlsHandle {
  const void* handle = nullptr;
  ~XlsHandle() {
    if (handle) freexl_close(handle);
  }
};

std::string CellText(const FreeXL_CellValue& value) {
  switch (value.type) {
    case FREEXL_CELL_INT:
      return platform::FormatC("%d", value.value.int_value);
    case FREEXL_CELL_DOUBLE:
      return GeneralNumberText(value.value.double_value);
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
    case FREEXL_CELL_DATE:
    case FREEXL_CELL_DATETIME:
    case FREEXL_CELL_TIME:
      return value.value.text_value ? platform::Utf8ToCp936(value.value.text_value) : std::string();
    default:
      return {};
  }
}

}  // namespace

ReadResult ReadXlsSheet(const std::string& path, int sheetNumber, LoadedSheet& out) {
  XlsHandle xls;
  if (freexl_open(path.c_str(), &xls.handle) != FREEXL_OK) return ReadResult::cannotRead;
  unsigned int info = 0;
  // A protected workbook cannot be read without its password.
  if (freexl_get_info(xls.handle, FREEXL_BIFF_PASSWORD, &info) != FREEXL_OK || info == FREEXL_BIFF_OBFUSCATED)
    return ReadResult::cannotRead;
  unsigned int sheets = 0;
  if (freexl_get_info(xls.handle, FREEXL_BIFF_SHEET_COUNT, &sheets) != FREEXL_OK) return ReadResult::cannotRead;
  if (sheetNumber < 1 || static_cast<unsigned int>(sheetNumber) > sheets) return ReadResult::noSheet;
  if (freexl_select_active_worksheet(xls.handle, static_cast<unsigned short>(sheetNumber - 1)) != FREEXL_OK)
    return ReadResult::cannotRead;
  unsigned int rows = 0;
  unsigned short columns = 0;
  if (freexl_worksheet_dimensions(xls.handle, &rows, &columns) != FREEXL_OK) return ReadResult::cannotRead;
  for (unsigned int r = 0; r < rows && r < static_cast<unsigned int>(kMaxRow); ++r) {
    for (unsigned short c = 0; c < columns; ++c) {
      FreeXL_CellValue value{};
      if (freexl_get_cell_value(xls.handle, r, c, &value) != FREEXL_OK) continue;
      if (value.type == FREEXL_CELL_NULL) continue;
      out.AddCell(static_cast<long>(r) + 1, c + 1, CellText(value));
    }
  }
  return ReadResult::ok;
}

}  // namespace tabrion
