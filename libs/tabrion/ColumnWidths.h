#pragma once
// The column widths of one worksheet, as the file gives them in characters of
// the default font, turned into the pixels of text a cell of each column holds.
// Only the readable columns are kept; the others have the default width.
#include <array>

#include "libs/tabrion/LoadedSheet.h"

namespace tabrion {

class ColumnWidths {
 public:
  // Width of the columns without their own, in characters without the cell's
  // padding (.xls DEFCOLWIDTH, .xlsx baseColWidth); 8 unless the file says.
  void SetBaseWidth(double characters);
  // The same as stored with the padding (.xls STANDARDWIDTH, .xlsx
  // defaultColWidth); it wins over the base width.
  void SetDefaultWidth(double stored);
  // Width of columns first..last (1-based) as stored with the padding. A
  // column without width (0, as hidden columns may have) keeps the default.
  void SetWidth(long first, long last, double stored);

  // Pixels of text that a cell of the column holds; 59 in a standard column.
  int TextPixels(int column) const;

 private:
  int defaultPixels_ = -1;  // from SetDefaultWidth, -1 when not given
  double baseCharacters_ = 8;
  std::array<int, kReadableColumns> pixels_ = MakeUnset();

  static std::array<int, kReadableColumns> MakeUnset() {
    std::array<int, kReadableColumns> a;
    a.fill(-1);
    return a;
  }
};

}  // namespace tabrion
