#include "marking/records/MarkRecordExport.h"

#include <xlsxwriter.h>

#include <filesystem>
#include <system_error>

namespace marking {

namespace {

bool Fail(std::string* error, std::string reason) {
  if (error) *error = std::move(reason);
  return false;
}

}  // namespace

std::string MakeExportPath(const std::string& folder, const MarkTime& time) {
  const std::string base = "Info" + time.StampText();
  std::error_code ec;
  std::filesystem::path candidate = std::filesystem::path(folder) / (base + ".xlsx");
  for (int n = 2; std::filesystem::exists(candidate, ec); ++n)
    candidate = std::filesystem::path(folder) / (base + "-" + std::to_string(n) + ".xlsx");
  return candidate.string();
}

bool ExportMarkRecords(const std::vector<MarkRecord>& records, const std::string& path, std::string* error) {
  const std::string temporary = path + ".tmp";
  lxw_workbook* workbook = workbook_new(temporary.c_str());
  if (!workbook) return Fail(error, "cannot create " + temporary);
  lxw_worksheet* sheet = workbook_add_worksheet(workbook, kMarkTable);
  lxw_error status = sheet ? LXW_NO_ERROR : LXW_ERROR_MEMORY_MALLOC_FAILED;
  for (int column = 0; column < 6 && status == LXW_NO_ERROR; ++column)
    status = worksheet_write_string(sheet, 0, static_cast<lxw_col_t>(column), kMarkColumnNames[column], nullptr);
  lxw_row_t row = 1;
  for (const MarkRecord& record : records) {
    if (status != LXW_NO_ERROR) break;
    const std::string* cells[6] = {&record.keys[0], &record.keys[1], &record.keys[2],
                                   &record.keys[3], &record.time,    &record.date};
    for (int column = 0; column < 6 && status == LXW_NO_ERROR; ++column)
      status = worksheet_write_string(sheet, row, static_cast<lxw_col_t>(column), cells[column]->c_str(), nullptr);
    ++row;
  }
  lxw_error closed = workbook_close(workbook);  // frees the workbook in every case
  std::error_code ec;
  if (status != LXW_NO_ERROR || closed != LXW_NO_ERROR) {
    std::filesystem::remove(temporary, ec);
    return Fail(error, std::string("cannot write ") + path + ": " +
                           lxw_strerror(status != LXW_NO_ERROR ? status : closed));
  }
  std::filesystem::rename(temporary, path, ec);
  if (ec) {
    std::filesystem::remove(temporary, ec);
    return Fail(error, "cannot write " + path + ": " + ec.message());
  }
  return true;
}

}  // namespace marking
