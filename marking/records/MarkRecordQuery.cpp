#include "marking/records/MarkRecordQuery.h"

#include "marking/records/MarkTime.h"

namespace marking {

namespace {

const std::string kSelect = std::string("SELECT 主关键字,次关键字,流水号,二维码,时间,日期 FROM ") + kMarkTable;

// " 主关键字 LIKE ? ESCAPE '!'" or " 主关键字 = ?" for each chosen key.
void AddKeyConditions(const MarkRecordQuery& query, const char* joiner, bool joinFirst, MarkStatement& statement) {
  bool first = true;
  for (int i = 0; i < kMarkKeyColumns; ++i) {
    if (!query.useKey[i] || query.keyText[i].empty()) continue;
    if (!first || joinFirst) statement.sql += joiner;
    statement.sql += std::string(" ") + kMarkColumnNames[i];
    if (query.fuzzy) {
      statement.sql += " LIKE ? ESCAPE '!'";
      statement.values.push_back(LikeContains(query.keyText[i]));
    } else {
      statement.sql += " = ?";
      statement.values.push_back(query.keyText[i]);
    }
    first = false;
  }
}

void AddDateRange(const MarkRecordQuery& query, MarkStatement& statement) {
  statement.sql += " WHERE 日期 >= ? AND 日期 <= ?";
  statement.values.push_back(MarkDateText(query.fromYear, query.fromMonth, query.fromDay));
  statement.values.push_back(MarkDateText(query.toYear, query.toMonth, query.toDay));
}

}  // namespace

std::string EscapeLike(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c == '!' || c == '%' || c == '_') out += '!';
    out += c;
  }
  return out;
}

std::string LikeContains(const std::string& text) {
  std::string pattern(1, '%');
  pattern.append(EscapeLike(text)).push_back('%');
  return pattern;
}

MarkStatement BuildMarkQuery(const MarkRecordQuery& query) {
  MarkStatement statement;
  statement.sql = kSelect;
  switch (query.mode) {
    case kQueryDateAndKeys:
      AddDateRange(query, statement);
      AddKeyConditions(query, " AND", true, statement);
      break;
    case kQueryAnyKey:
      statement.sql += " WHERE";
      AddKeyConditions(query, " OR", false, statement);
      statement.valid = !statement.values.empty();
      break;
    case kQueryAll:
      break;
    case kQueryDateRange:
    default:
      AddDateRange(query, statement);
      break;
  }
  return statement;
}

}  // namespace marking
