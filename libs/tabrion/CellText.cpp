#include "libs/tabrion/CellText.h"

#include <cmath>

#include "libs/tabrion/LoadedSheet.h"
#include "platform/NumberText.h"

namespace tabrion {

std::string GeneralNumberText(double value) {
  if (!std::isfinite(value)) return "#NUM!";
  if (value == 0) return "0";  // also -0
  std::string text = platform::FormatC("%.15G", value);
  // %G keeps exponents of at least two digits, as the spreadsheet does.
  return text;
}

void LoadedSheet::AddCell(long row, int column, std::string text) {
  if (row < 1 || row > kMaxRow || column < 1 || column > kMaxColumn) return;
  if (!any_) {
    any_ = true;
    minRow_ = maxRow_ = row;
    minColumn_ = maxColumn_ = column;
  } else {
    if (row < minRow_) minRow_ = row;
    if (row > maxRow_) maxRow_ = row;
    if (column < minColumn_) minColumn_ = column;
    if (column > maxColumn_) maxColumn_ = column;
  }
  if (column <= kReadableColumns && !text.empty()) cells_[Key(row, column)] = std::move(text);
}

const std::string* LoadedSheet::Find(long row, int column) const {
  if (row < 1 || row > kMaxRow || column < 1 || column > kReadableColumns) return nullptr;
  auto it = cells_.find(Key(row, column));
  return it == cells_.end() ? nullptr : &it->second;
}

}  // namespace tabrion
