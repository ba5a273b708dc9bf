#pragma once
// The number formats of one workbook: format codes by id (built-in or spelled
// out in the file) and the format id of each cell style (XF). Both the .xls
// and the .xlsx reader fill one and ask it for the displayed text of a cell.
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "libs/tabrion/NumberFormat.h"

namespace tabrion {

class FormatTable {
 public:
  // A format code the workbook spells out (UTF-8); it replaces a built-in one.
  void SetFormatCode(int id, std::string code);
  // Cell styles in file order: style index i uses format id AddStyle's i-th argument.
  void AddStyle(int formatId);
  void SetDate1904(bool on) { date1904_ = on; }

  // Displayed texts, UTF-8, of a number and of a text in a cell of the given
  // style; textPixels is the width a cell of the number's column holds.
  std::string NumberText(int style, double value, int textPixels) const;
  std::string TextText(int style, std::string_view text) const;

 private:
  const NumberFormat& FormatOfStyle(int style) const;

  std::unordered_map<int, std::string> codes_;
  std::vector<int> styles_;
  bool date1904_ = false;
  mutable std::unordered_map<int, std::unique_ptr<NumberFormat>> parsed_;  // by format id
};

}  // namespace tabrion
