#include "text/fonts/shx/ShxMainFont.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr char kUnifontSignature[] = "AutoCAD-86 unifont 1.0\r\n\x1A";
constexpr char kShapes86Signature[] = "AutoCAD-86 shapes 1.0\r\n\x1A";
constexpr char kShapes88Signature[] = "AutoCAD-88 shapes 1.0\r\n\x1A";
constexpr char kShapes89Signature[] = "AutoCAD-89 shapes 1.0\r\n\x1A";
constexpr char kShapes90Signature[] = "AutoCAD-90 shapes 1.0\r\n\x1A";
constexpr std::size_t kNameSearchLimit = 1024;

bool Matches(const std::uint8_t* header, const char* signature, std::size_t count) {
  return std::memcmp(header, signature, count) == 0;
}

}  // namespace

std::size_t ShapeStartAfterName(const std::vector<std::uint8_t>& definition) {
  const auto end = std::find(definition.begin(), definition.end(), 0);
  if (end == definition.end()) return definition.size();
  return static_cast<std::size_t>(end - definition.begin()) + 1;
}

bool ShxMainFont::ReadHeader() {
  kind_ = kUnknown;
  scale_ = 0;
  if (!file_.IsOpen()) return false;
  const long position = file_.Tell();
  std::uint8_t header[25] = {};
  bool ok = file_.Seek(0) && file_.ReadExact(header, sizeof header);
  int kind = kUnknown;
  if (ok) {
    if (Matches(header, kUnifontSignature, 25)) {
      kind = kUnifont;
    } else if (Matches(header, kShapes86Signature, 24)) {
      kind = kShapes86;
    } else if (Matches(header, kShapes88Signature, 24) || Matches(header, kShapes90Signature, 24)) {
      kind = kShapes88;
    } else if (Matches(header, kShapes89Signature, 24)) {
      kind = kShapes89;
    }
  }
  switch (kind) {
    case kUnifont:
      ok = ReadUnifontHeader();
      break;
    case kShapes86:
      ok = ReadShapes86Header();
      break;
    case kShapes88:
    case kShapes89:
      ok = ReadShapes88Header();
      break;
    default:
      ok = false;
  }
  if (!ok) {
    file_.Seek(position);
    return false;
  }
  kind_ = kind;
  switch (kind_) {
    case kUnifont:
      scale_ = 10.0 / heightAboveBase_;
      break;
    case kShapes86:
      scale_ = 10.0 / 28;
      break;
    case kShapes88:
      scale_ = 0.21295;
      break;
    case kShapes89:
      scale_ = 0.106475;
      break;
  }
  return true;
}

bool ShxMainFont::ReadUnifontHeader() {
  std::uint16_t number = 0, length = 0;
  if (!file_.Seek(27) || !file_.ReadU16(number) || !file_.ReadU16(length) || number != 0) return false;
  std::vector<std::uint8_t> record;
  if (file_.ReadBytes(length, record) != length) return false;
  const std::size_t limit = std::min(record.size(), kNameSearchLimit);
  const auto end = std::find(record.begin(), record.begin() + static_cast<long>(limit), 0);
  const std::size_t heightAt = static_cast<std::size_t>(end - record.begin()) + 1;
  if (end == record.begin() + static_cast<long>(limit) || heightAt >= record.size()) return false;
  heightAboveBase_ = record[heightAt];
  // A height of 0 would make every length infinite.
  if (heightAboveBase_ == 0) return false;
  firstGlyphRecord_ = file_.Tell();
  return true;
}

bool ShxMainFont::ReadShapes86Header() {
  if (!file_.Seek(30)) return false;
  indexPosition_ = 30 + 8;
  std::uint16_t code = 0, length = 0;
  if (!file_.ReadU16(code) || !file_.ReadU16(length)) return false;
  if ((code & 0xFF) != 0 && (code >> 8) != 0) return false;
  const std::uint16_t keptLength = length;
  do {
    if (!file_.ReadU16(code) || !file_.ReadU16(length)) return false;
  } while (code != 0x00FF);
  if (!file_.Skip(12)) return false;
  std::vector<std::uint8_t> skipped;
  if (file_.ReadBytes(keptLength, skipped) != keptLength) return false;
  if (!file_.Skip(4)) return false;
  firstDefinition_ = file_.Tell();
  return true;
}

bool ShxMainFont::ReadShapes88Header() {
  std::uint16_t count = 0;
  if (!file_.Seek(28) || !file_.ReadU16(count) || count < 1) return false;
  indexEntries_ = count;
  indexPosition_ = 30;
  std::uint16_t code = 0, length = 0;
  if (!file_.ReadU16(code) || !file_.ReadU16(length)) return false;
  if ((code & 0xFF) != 0 && (code >> 8) != 0) return false;
  int read = 1;
  while (code != 0x00FF && read < indexEntries_) {
    if (!file_.ReadU16(code) || !file_.ReadU16(length)) return false;
    ++read;
  }
  firstDefinition_ = file_.Tell();
  return true;
}

void ShxMainFont::BuildIndex() {
  indexed_ = true;
  std::uint16_t code = 0, length = 0;
  if (kind_ == kUnifont) {
    // Records follow one another: a code, a length and that many bytes.
    std::int64_t position = firstGlyphRecord_;
    while (position < file_.Size() && file_.Seek(static_cast<long>(position)) && file_.ReadU16(code) &&
           file_.ReadU16(length)) {
      entries_.try_emplace(code, Entry{position + 4, length});
      position += 4 + static_cast<std::int64_t>(length);
    }
    return;
  }
  // The index entries give the lengths of the definitions stored in order.
  std::int64_t sum = 0;
  if (!file_.Seek(indexPosition_)) return;
  while (file_.ReadU16(code) && file_.ReadU16(length)) {
    entries_.try_emplace(code, Entry{firstDefinition_ + sum, length});
    sum += length;
  }
}

bool ShxMainFont::Lookup(std::uint16_t code, std::size_t maxBytes, std::vector<std::uint8_t>& definition) {
  definition.clear();
  if (kind_ == kUnknown || !file_.IsOpen()) return false;
  if (!indexed_) BuildIndex();
  const auto found = entries_.find(code);
  if (found == entries_.end()) return false;
  const Entry& entry = found->second;
  if (entry.offset > file_.Size() || !file_.Seek(static_cast<long>(entry.offset))) return true;
  file_.ReadBytes(std::min<std::size_t>(entry.length, maxBytes), definition);
  return true;
}

std::size_t ShxMainFont::ShapeStart(const std::vector<std::uint8_t>& definition) const {
  switch (kind_) {
    case kUnifont:
      return ShapeStartAfterName(definition);
    case kShapes88:
    case kShapes89:
      return 2;
    default:
      return 0;
  }
}
