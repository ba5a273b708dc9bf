#pragma once
// One row of the table 标记信息. Texts are UTF-8 as the database keeps them.
#include <array>
#include <string>

namespace marking {

// The four key columns, in table order.
enum class MarkColumn { MainKey = 0, SecondKey = 1, Serial = 2, Code = 3 };
inline constexpr int kMarkKeyColumns = 4;

inline constexpr const char* kMarkTable = "标记信息";
inline constexpr const char* kMarkColumnNames[6] = {"主关键字", "次关键字", "流水号", "二维码", "时间", "日期"};
// An empty key column holds this text.
inline constexpr const char* kMarkEmptyColumn = "缺省";
// Several texts in one column are joined with this.
inline constexpr const char* kMarkJoin = "%%";

struct MarkRecord {
  std::array<std::string, kMarkKeyColumns> keys;  // by MarkColumn
  std::string time;                               // "2026年12月08日20时05分"
  std::string date;                               // "20261208"

  const std::string& Key(MarkColumn column) const { return keys[static_cast<int>(column)]; }
  std::string& Key(MarkColumn column) { return keys[static_cast<int>(column)]; }
  bool operator==(const MarkRecord&) const = default;
};

}  // namespace marking
