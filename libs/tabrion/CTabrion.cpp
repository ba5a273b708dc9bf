#include "libs/tabrion/CTabrion.h"

#include <climits>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

#include "libs/tabrion/ChildReader.h"
#include "libs/tabrion/LoadedSheet.h"

namespace {

// The one workbook open through this library in the process. It is shared by
// every CTabrion: an open through a second object takes it over.
std::unique_ptr<tabrion::LoadedSheet>& OpenSheet() {
  static std::unique_ptr<tabrion::LoadedSheet> sheet;
  return sheet;
}

enum class FileKind { unreadable, xls, xlsx, other };

// Opens the file for reading once, as a test that it can be read at all, and
// tells its kind from the first bytes.
FileKind ProbeFile(const char* path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return FileKind::unreadable;
  std::FILE* f = std::fopen(path, "rb");
  if (!f) return FileKind::unreadable;
  unsigned char head[8] = {};
  std::size_t n = std::fread(head, 1, sizeof head, f);
  std::fclose(f);
  static const unsigned char kCompound[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
  if (n == 8 && std::memcmp(head, kCompound, 8) == 0) return FileKind::xls;
  if (n >= 4 && head[0] == 'P' && head[1] == 'K' && head[2] == 3 && head[3] == 4) return FileKind::xlsx;
  return FileKind::other;
}

}  // namespace

CTabrion::CTabrion() : rowCount(0), columnCount(0), firstRow(0), firstColumn(0), opened(0) {}

CTabrion::CTabrion(const CTabrion& other)
    : rowCount(other.rowCount),
      columnCount(other.columnCount),
      firstRow(other.firstRow),
      firstColumn(other.firstColumn),
      opened(other.opened) {
  std::memcpy(filePath, other.filePath, sizeof filePath);
}

CTabrion& CTabrion::operator=(const CTabrion& other) {
  rowCount = other.rowCount;
  columnCount = other.columnCount;
  firstRow = other.firstRow;
  firstColumn = other.firstColumn;
  opened = other.opened;
  std::memmove(filePath, other.filePath, sizeof filePath);
  return *this;
}

CTabrion::~CTabrion() { DeleteExcelOleFun(); }

int CTabrion::InitialExcelDataBase(_EXCEL_FILE_PARA& para) {
  DeleteExcelOleFun();

  // A path that does not fit is refused whole rather than cut to another file's name.
  std::size_t length = strnlen(para.filePath, sizeof para.filePath);
  if (length >= sizeof filePath) {
    filePath[0] = '\0';
    return kCannotOpenFile;
  }
  std::memcpy(filePath, para.filePath, length);
  filePath[length] = '\0';

  FileKind kind = ProbeFile(filePath);
  // A file that is not a workbook cannot be opened either.
  if (kind == FileKind::unreadable || kind == FileKind::other) return kCannotOpenFile;

  // There is no application window here: visible and userControl have nothing to show.

  // The file is parsed in a child process: a workbook that crashes or hangs
  // a parser gives "cannot open" and the program goes on. Sheet numbers out
  // of range become 0, which names no sheet.
  auto sheet = std::make_unique<tabrion::LoadedSheet>();
  tabrion::ChildReader::Request request;
  request.kind = kind == FileKind::xls ? tabrion::ChildReader::WorkbookKind::xls : tabrion::ChildReader::WorkbookKind::xlsx;
  request.path = filePath;
  request.sheetNumber = para.sheetIndex >= 0 && para.sheetIndex < INT_MAX ? para.sheetIndex + 1 : 0;
  tabrion::ReadResult result = tabrion::ChildReader::Run(request, *sheet);
  if (result == tabrion::ReadResult::cannotRead) return kCannotOpenFile;
  // A sheet number beyond the workbook's sheets has no data.
  if (result == tabrion::ReadResult::noSheet) return kNoData;

  rowCount = sheet->RowCount();
  columnCount = sheet->ColumnCount();
  firstRow = sheet->FirstRow();
  firstColumn = sheet->FirstColumn();
  if (rowCount >= 2 || columnCount >= 2) {
    OpenSheet() = std::move(sheet);
    opened = 1;
    return kOpen;
  }
  return kNoData;
}

std::string CTabrion::GetCellData(long row, char column) {
  if (!opened || !(rowCount >= 2 || columnCount >= 2)) return {};
  int c = static_cast<signed char>(column) - 64;
  if (c < 1 || c > 26 || row < firstRow || c < firstColumn) return {};
  // A copy of a closed object may still say open: the sheet is gone then.
  const auto& sheet = OpenSheet();
  if (!sheet) return {};
  const std::string* text = sheet->Find(row, c);
  return text ? *text : std::string();
}

void CTabrion::DeleteExcelOleFun() {
  if (!opened) return;
  // Cells are only read, so the workbook is left on disk as it was.
  OpenSheet().reset();
  opened = 0;
}
