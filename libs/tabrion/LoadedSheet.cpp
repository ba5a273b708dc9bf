#include "libs/tabrion/LoadedSheet.h"

namespace tabrion {

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
