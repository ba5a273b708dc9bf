#include "text/exchange/dxf/DxfLineReader.h"

#include <climits>
#include <cstring>

bool DxfLineReader::ReadDxfLine(std::string& line) {
  char buffer[kLineLimit];
  if (!std::fgets(buffer, kLineLimit, file_)) return false;
  std::size_t length = std::strlen(buffer);
  bool complete = length > 0 && buffer[length - 1] == '\n';
  // The rest of an overlong line would otherwise be read as the next line.
  if (!complete) {
    char rest[kLineLimit];
    while (std::fgets(rest, kLineLimit, file_)) {
      const std::size_t n = std::strlen(rest);
      if (n > 0 && rest[n - 1] == '\n') break;
    }
  }
  while (length > 0 && (buffer[length - 1] == '\n' || buffer[length - 1] == '\r')) --length;
  std::size_t start = 0;
  while (start < length && buffer[start] == ' ') ++start;
  line.assign(buffer + start, length - start);
  return true;
}

int ParseDxfGroupCode(const std::string& line) {
  std::size_t i = 0;
  bool negative = false;
  if (i < line.size() && (line[i] == '-' || line[i] == '+')) negative = line[i++] == '-';
  long long value = 0;
  for (; i < line.size() && line[i] >= '0' && line[i] <= '9'; ++i) {
    value = value * 10 + (line[i] - '0');
    if (value > INT_MAX) value = INT_MAX;
  }
  return static_cast<int>(negative ? -value : value);
}
