#include "tools/bigfont/BigFontFile.h"

#include <limits>

namespace {

constexpr char kSignature[] = "AutoCAD-86 bigfont 1.0\r\n\x1a";
constexpr std::uint16_t kHeaderMarker = 8;
constexpr std::size_t kEntryBytes = 8;

void AppendU16(std::vector<std::uint8_t>& out, std::uint16_t v) {
  out.push_back(static_cast<std::uint8_t>(v & 0xFF));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void AppendU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  AppendU16(out, static_cast<std::uint16_t>(v & 0xFFFF));
  AppendU16(out, static_cast<std::uint16_t>(v >> 16));
}

}  // namespace

bool BigFontBytes(const std::string& name, std::uint8_t height, const std::vector<BigFontRange>& ranges,
                  const std::vector<BigFontGlyph>& glyphs, std::vector<std::uint8_t>& out, std::string& error) {
  out.clear();
  const std::size_t entries = glyphs.size() + 1;
  if (entries > std::numeric_limits<std::uint16_t>::max()) {
    error = "too many characters for the index";
    return false;
  }
  std::vector<std::uint8_t> info(name.begin(), name.end());
  info.push_back(0);
  info.insert(info.end(), {height, 0, 0, height});
  out.assign(kSignature, kSignature + sizeof kSignature - 1);
  AppendU16(out, kHeaderMarker);
  AppendU16(out, static_cast<std::uint16_t>(entries));
  AppendU16(out, static_cast<std::uint16_t>(ranges.size()));
  for (const BigFontRange& r : ranges) {
    AppendU16(out, r.first);
    AppendU16(out, r.last);
  }
  std::uint64_t offset = out.size() + kEntryBytes * entries;
  auto appendEntry = [&](std::uint16_t code, std::size_t length) {
    if (length > std::numeric_limits<std::uint16_t>::max() || offset > std::numeric_limits<std::uint32_t>::max()) {
      return false;
    }
    AppendU16(out, code);
    AppendU16(out, static_cast<std::uint16_t>(length));
    AppendU32(out, static_cast<std::uint32_t>(offset));
    offset += length;
    return true;
  };
  // A character's record: an empty name, then the shape.
  if (!appendEntry(0, info.size())) {
    error = "the font name is too long";
    return false;
  }
  for (const BigFontGlyph& g : glyphs) {
    if (!appendEntry(g.code, 1 + g.shape.size())) {
      error = "character " + std::to_string(g.code) + " does not fit the file";
      return false;
    }
  }
  out.insert(out.end(), info.begin(), info.end());
  for (const BigFontGlyph& g : glyphs) {
    out.push_back(0);
    out.insert(out.end(), g.shape.begin(), g.shape.end());
  }
  return true;
}
