#pragma once
// One worksheet read into memory: its used range and the displayed texts of
// the cells in columns A to Z (the only columns a caller can ask for).
#include <cstdint>
#include <string>
#include <unordered_map>

namespace tabrion {

inline constexpr long kMaxRow = 1048576;     // largest row number of a worksheet
inline constexpr int kMaxColumn = 16384;     // largest column number (XFD)
inline constexpr int kReadableColumns = 26;  // A..Z

class LoadedSheet {
 public:
  // Notes a cell at (row, column), both 1-based, for the used range and keeps
  // its text when the column can be read.
  void AddCell(long row, int column, std::string text);
  const std::string* Find(long row, int column) const;
  // Calls f(row, column, text) for every kept text, in no particular order.
  template <typename F>
  void ForEachText(F&& f) const {
    for (const auto& [key, text] : cells_) f(static_cast<long>(key >> 5), static_cast<int>(key & 31), text);
  }
  void Reserve(std::size_t texts) { cells_.reserve(texts); }
  bool Empty() const { return !any_; }
  long LastRow() const { return maxRow_; }
  int LastColumn() const { return maxColumn_; }

  // Used range; a sheet without cells has the single cell A1, as a spreadsheet shows it.
  int FirstRow() const { return any_ ? static_cast<int>(minRow_) : 1; }
  int FirstColumn() const { return any_ ? minColumn_ : 1; }
  int RowCount() const { return any_ ? static_cast<int>(maxRow_ - minRow_ + 1) : 1; }
  int ColumnCount() const { return any_ ? maxColumn_ - minColumn_ + 1 : 1; }

 private:
  static std::uint64_t Key(long row, int column) {
    return (static_cast<std::uint64_t>(row) << 5) | static_cast<std::uint64_t>(column);
  }
  std::unordered_map<std::uint64_t, std::string> cells_;
  bool any_ = false;
  long minRow_ = 0, maxRow_ = 0;
  int minColumn_ = 0, maxColumn_ = 0;
};

enum class ReadResult { ok, cannotRead, noSheet };

}  // namespace tabrion
