#include "text/fonts/shx/ShxPointListFont.h"

#include <algorithm>
#include <vector>

namespace {
constexpr std::size_t kTableBytes = 9352;
constexpr std::size_t kFirstEntry = 136;
constexpr std::size_t kEntryBytes = 8;
constexpr std::size_t kPointBytes = 24;

std::uint32_t U32At(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  return static_cast<std::uint32_t>(bytes[at]) | (static_cast<std::uint32_t>(bytes[at + 1]) << 8) |
         (static_cast<std::uint32_t>(bytes[at + 2]) << 16) | (static_cast<std::uint32_t>(bytes[at + 3]) << 24);
}
}  // namespace

void ShxPointListFont::ReadTable() {
  tableRead_ = true;
  if (!file_.Seek(0)) return;
  std::vector<std::uint8_t> table;
  file_.ReadBytes(kTableBytes, table);
  table.resize(kTableBytes, 0);  // a short file reads as zeros, as into a cleared buffer
  // The stated count never reaches beyond the table.
  const std::size_t count = std::min<std::size_t>(U32At(table, 4), (kTableBytes - kFirstEntry) / kEntryBytes);
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t at = kFirstEntry + i * kEntryBytes;
    offsets_.try_emplace(table[at], U32At(table, at + 4));
  }
}

bool ShxPointListFont::FindGlyph(std::uint8_t character, std::uint32_t& pointCount) {
  pointCount = 0;
  if (!file_.IsOpen()) return false;
  if (!tableRead_) ReadTable();
  const auto found = offsets_.find(character);
  if (found == offsets_.end()) return false;
  std::uint32_t stated = 0;
  if (found->second > static_cast<std::uint32_t>(file_.Size()) || !file_.Seek(static_cast<long>(found->second)) ||
      !file_.ReadU32(stated)) {
    return true;
  }
  pointCount = static_cast<std::uint32_t>(
      std::min<std::uint64_t>(stated, static_cast<std::uint64_t>(file_.Remaining()) / kPointBytes));
  return true;
}

bool ShxPointListFont::ReadPoint(ShxListPoint& point) {
  std::uint8_t rest[7];
  return file_.ReadDouble(point.x) && file_.ReadDouble(point.y) && file_.ReadU8(point.flag) &&
         file_.ReadExact(rest, sizeof rest);
}
