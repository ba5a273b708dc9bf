#include "text/fonts/shx/ShxBigFont.h"

#include <algorithm>

namespace {
constexpr std::size_t kNameSearchLimit = 1024;
}

bool ShxBigFont::ReadHeader() {
  valid_ = false;
  scale_ = 0;
  if (!file_.IsOpen()) return false;
  std::uint16_t marker = 0, entries = 0, ranges = 0;
  if (!file_.Seek(25) || !file_.ReadU16(marker) || marker != 8) return false;
  if (!file_.ReadU16(entries) || entries == 0 || !file_.ReadU16(ranges) || ranges == 0) return false;
  if (!file_.Skip(4L * ranges)) return false;
  std::uint16_t code = 0, length = 0;
  std::uint32_t offset = 0;
  if (!file_.ReadU16(code) || !file_.ReadU16(length) || !file_.ReadU32(offset)) return false;
  secondEntryPosition_ = file_.Tell();
  // The first entry is the font information record: a name, then the height.
  if (code != 0 || !file_.Seek(static_cast<long>(offset))) return false;
  std::vector<std::uint8_t> record;
  file_.ReadBytes(length & 0xFF, record);
  const std::size_t limit = std::min(record.size(), kNameSearchLimit);
  const auto end = std::find(record.begin(), record.begin() + static_cast<long>(limit), 0);
  const std::size_t heightAt = static_cast<std::size_t>(end - record.begin()) + 1;
  if (end == record.begin() + static_cast<long>(limit) || heightAt >= record.size()) return false;
  // A height of 0 would make every length infinite.
  if (record[heightAt] == 0) return false;
  entryCount_ = entries;
  height_ = record[heightAt];
  scale_ = 10.0 / height_;
  valid_ = true;
  return true;
}

void ShxBigFont::BuildIndex() {
  indexed_ = true;
  if (!file_.Seek(secondEntryPosition_)) return;
  std::uint16_t code = 0, length = 0;
  std::uint32_t offset = 0;
  for (int read = 1; read < entryCount_; ++read) {
    if (!file_.ReadU16(code) || !file_.ReadU16(length) || !file_.ReadU32(offset)) break;
    entries_.try_emplace(code, Entry{offset, length});
  }
}

bool ShxBigFont::Lookup(std::uint16_t code, std::size_t maxBytes, std::vector<std::uint8_t>& definition) {
  definition.clear();
  if (!valid_ || !file_.IsOpen()) return false;
  if (!indexed_) BuildIndex();
  const auto found = entries_.find(code);
  if (found == entries_.end()) return false;
  const Entry& entry = found->second;
  if (entry.offset > static_cast<std::uint32_t>(file_.Size()) || !file_.Seek(static_cast<long>(entry.offset))) {
    return true;
  }
  file_.ReadBytes(std::min<std::size_t>(entry.length, maxBytes), definition);
  return true;
}
