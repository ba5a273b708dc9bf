#pragma once
// Export of listed records to a new spreadsheet file (.xlsx) with the sheet
// 标记信息: a header row of the six column names, then one row per record.
#include <string>
#include <vector>

#include "marking/records/MarkRecord.h"
#include "marking/records/MarkTime.h"

namespace marking {

// "<folder>/Info20261208200501.xlsx"; "-2", "-3" ... are added when a file of
// that name is there already, so an earlier export is never replaced.
std::string MakeExportPath(const std::string& folder, const MarkTime& time);

// Writes the file whole (a temporary file renamed at the end). False with a
// reason in `error` on any failure; no partial file is left then.
bool ExportMarkRecords(const std::vector<MarkRecord>& records, const std::string& path, std::string* error = nullptr);

}  // namespace marking
