#include "text/exchange/dxf/DxfLineReader.h"

#include <climits>
#include <cstring>

#include "platform/NumberText.h"

bool DxfLineReader::Fill() {
  if (eof_) return false;
  end_ = std::fread(block_, 1, sizeof block_, file_);
  begin_ = 0;
  if (end_ == 0) eof_ = true;
  return end_ > 0;
}

bool DxfLineReader::ReadDxfLine(std::string& line) {
  line.clear();
  if (begin_ >= end_ && !Fill()) return false;
  bool kept = true;  // still within the limit
  bool leading = true;
  for (;;) {
    if (begin_ >= end_ && !Fill()) break;  // a last line without a line feed
    const char* start = block_ + begin_;
    const char* stop = static_cast<const char*>(std::memchr(start, '\n', end_ - begin_));
    const std::size_t length = stop ? static_cast<std::size_t>(stop - start) : end_ - begin_;
    std::size_t from = 0;
    if (leading) {
      while (from < length && start[from] == ' ') ++from;
      if (from < length) leading = false;
    }
    if (kept) {
      // At most 255 bytes after the leading spaces are kept.
      const std::size_t room = kLineLimit - 1;
      const std::size_t already = line.size();
      std::size_t take = length - from;
      if (already + take > room) {
        take = room > already ? room - already : 0;
        kept = false;
      }
      line.append(start + from, take);
    }
    begin_ += length;
    if (stop) {
      ++begin_;
      break;
    }
  }
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
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

bool ParseDxfReal(const std::string& line, double& value) {
  // Plain decimals ("-12.500000") convert exactly without the general parser:
  // an integer mantissa below 2^53 divided by an exact power of ten rounds once.
  static constexpr double kPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                      1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  std::size_t i = 0;
  const std::size_t n = line.size();
  bool negative = false;
  if (i < n && (line[i] == '-' || line[i] == '+')) negative = line[i++] == '-';
  unsigned long long mantissa = 0;
  int digits = 0, fraction = 0;
  bool point = false;
  for (; i < n; ++i) {
    const char c = line[i];
    if (c >= '0' && c <= '9') {
      mantissa = mantissa * 10 + static_cast<unsigned>(c - '0');
      ++digits;
      if (point) ++fraction;
      if (digits > 18) break;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (i == n && digits > 0 && digits <= 18 && mantissa < (1ULL << 53) && fraction <= 22) {
    const double v = static_cast<double>(mantissa) / kPow10[fraction];
    value = negative ? -v : v;
    return true;
  }
  bool ok = false;
  value = platform::ParseDoubleC(line, &ok);
  return ok;
}
