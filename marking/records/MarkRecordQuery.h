#pragma once
// A look-up of the history dialog, and the statement it becomes. Every value
// travels as a bound parameter; the statement text holds names only.
#include <array>
#include <string>
#include <vector>

#include "marking/records/MarkRecord.h"

namespace marking {

enum MarkQueryMode {
  kQueryDateAndKeys = 0,  // date range, and every chosen key
  kQueryAnyKey = 1,       // any chosen key, whatever the date
  kQueryDateRange = 2,    // date range alone
  kQueryAll = 3,          // every record
};

struct MarkRecordQuery {
  int mode = kQueryDateRange;
  int fromYear = 0, fromMonth = 1, fromDay = 1;
  int toYear = 0, toMonth = 1, toDay = 1;
  // A key takes part when its check is on and its text (UTF-8) is not empty.
  std::array<bool, kMarkKeyColumns> useKey{};
  std::array<std::string, kMarkKeyColumns> keyText;
  bool fuzzy = true;  // contains-match instead of the whole text
};

struct MarkStatement {
  std::string sql;
  std::vector<std::string> values;  // bound in order
  bool valid = true;                // false: nothing to ask (any-key mode without a key)
};

// Escapes the LIKE wildcards of a text so it matches only itself; '!' is the
// escape character ("... LIKE ? ESCAPE '!'").
std::string EscapeLike(const std::string& text);
// "%text%" with the text escaped: a contains-match of exactly that text.
std::string LikeContains(const std::string& text);

MarkStatement BuildMarkQuery(const MarkRecordQuery& query);

}  // namespace marking
