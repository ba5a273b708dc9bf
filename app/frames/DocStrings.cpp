#include "app/frames/DocStrings.h"

std::string DocStringLine(const std::string& text, int index) {
  std::size_t start = 0;
  for (int i = 0; i < index; ++i) {
    const std::size_t nl = text.find('\n', start);
    if (nl == std::string::npos) return {};
    start = nl + 1;
  }
  const std::size_t end = text.find('\n', start);
  return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}
