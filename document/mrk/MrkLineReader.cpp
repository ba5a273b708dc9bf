#include "document/mrk/MrkLineReader.h"

#include "document/mrk/MrkKeys.h"

bool MrkLineReader::ReadMrkLine(std::string& out) {
  out.clear();
  if (pos_ >= content_.size()) return false;
  const std::size_t end = content_.find('\n', pos_);
  std::string_view line = content_.substr(pos_, end == std::string_view::npos ? std::string_view::npos : end - pos_);
  pos_ = end == std::string_view::npos ? content_.size() : end + 1;
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  const std::size_t first = line.find_first_not_of(' ');
  if (first == std::string_view::npos) return true;  // blank line: an empty value
  line.remove_prefix(first);
  const std::size_t semi = line.find(';');
  if (semi != std::string_view::npos) line = line.substr(0, semi);
  out.assign(line);
  return true;
}

bool MrkLineReader::ReadPair(int& key, std::string& value) {
  std::string keyLine;
  if (!ReadMrkLine(keyLine)) return false;
  key = ParseMrkKey(keyLine);
  const MrkKeyKind kind = MrkKeyKindOf(key);
  if (kind == MrkKeyKind::None || kind == MrkKeyKind::Binary) {
    value.clear();
    return true;
  }
  return ReadMrkValueLine(value);
}
