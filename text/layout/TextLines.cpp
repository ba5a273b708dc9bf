#include "text/layout/TextLines.h"

#include <cmath>

std::string DecorateText(const TextSettings& s) {
  const std::string& t = s.text;
  const std::size_t n = t.size();
  const bool twoLines = (s.flags & TEXT_TWO_LINES) != 0;
  const char* star = s.starMode == 1 ? "%%*" : s.starMode == 2 ? "*" : nullptr;
  if (star) {
    if (twoLines && n >= 9) return star + t.substr(0, 9) + "\r\n" + t.substr(9) + star;
    return star + t + star;
  }
  if (!twoLines) return t;
  if (s.splitAfterNine && n > 8) return t.substr(0, 9) + "\r\n" + t.substr(9);
  if (n < 2) return t;
  const std::size_t half = (n + 1) / 2;
  return t.substr(0, half) + "\r\n" + t.substr(half);
}

std::vector<std::string> SplitTextLines(const std::string& text) {
  std::vector<std::string> lines;
  if (text.empty()) return lines;
  std::string line;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(line);
      line.clear();
      const char other = c == '\r' ? '\n' : '\r';
      if (i + 1 < text.size() && text[i + 1] == other) ++i;
      if (i + 1 == text.size()) lines.emplace_back();
      continue;
    }
    // A double-byte character is not cut in two at the line limit.
    const bool lead = (static_cast<unsigned char>(c) & 0x80) && i + 1 < text.size() && text[i + 1] != '\r' &&
                      text[i + 1] != '\n';
    if (line.size() == kTextMaxLineBytes || (lead && line.size() + 1 == kTextMaxLineBytes)) {
      lines.push_back(line);
      line.clear();
    }
    line.push_back(c);
    if (lead) line.push_back(text[++i]);
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

CDoublePoint NextLineStart(const TextSettings& s, const CDoublePoint& line) {
  const double step = static_cast<double>(s.lineSpacing) + s.charHeight;
  const bool twoLines = (s.flags & TEXT_TWO_LINES) != 0;
  CDoublePoint next;
  if (std::fabs(s.rotation - 90.0) > 0.5) {
    next.x = s.position.x;
    next.y = line.y - step;
    if (twoLines) {
      next.y -= s.offsetY2;
      next.x += s.offsetX2;
    }
  } else {
    next.y = s.position.y;
    next.x = line.x + step;
    if (twoLines) {
      next.y += s.offsetY2;
      next.x += s.offsetX2;
    }
  }
  return next;
}
