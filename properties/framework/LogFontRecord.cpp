#include "properties/framework/LogFontRecord.h"

#include <cstdint>
#include <algorithm>
#include <cstring>

namespace {

constexpr std::size_t kFaceBytes = 32;

void PutInt(std::string& out, int v) {
  const auto u = static_cast<std::uint32_t>(v);
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((u >> (8 * i)) & 0xFF));
}

int GetInt(const std::string& in, std::size_t at) {
  std::uint32_t u = 0;
  for (int i = 0; i < 4; ++i) u |= static_cast<std::uint32_t>(static_cast<unsigned char>(in[at + i])) << (8 * i);
  return static_cast<int>(u);
}

}  // namespace

std::string EncodeLogFont(const TextLogFont& font) {
  std::string out;
  out.reserve(kLogFontRecordSize);
  for (int v : {font.height, font.width, font.escapement, font.orientation, font.weight}) PutInt(out, v);
  for (std::uint8_t b : {font.italic, font.underline, font.strikeOut, font.charSet, font.outPrecision,
                         font.clipPrecision, font.quality, font.pitchAndFamily})
    out.push_back(static_cast<char>(b));
  // The face name keeps its end mark within the 32 bytes.
  std::string face = font.faceName.substr(0, std::min(font.faceName.size(), kFaceBytes - 1));
  face.resize(kFaceBytes, '\0');
  out += face;
  return out;
}

bool DecodeLogFont(const std::string& bytes, TextLogFont& font) {
  if (bytes.size() != kLogFontRecordSize) return false;
  TextLogFont f;
  f.height = GetInt(bytes, 0);
  f.width = GetInt(bytes, 4);
  f.escapement = GetInt(bytes, 8);
  f.orientation = GetInt(bytes, 12);
  f.weight = GetInt(bytes, 16);
  const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(bytes[20 + i]); };
  f.italic = byte(0);
  f.underline = byte(1);
  f.strikeOut = byte(2);
  f.charSet = byte(3);
  f.outPrecision = byte(4);
  f.clipPrecision = byte(5);
  f.quality = byte(6);
  f.pitchAndFamily = byte(7);
  const char* face = bytes.data() + 28;
  f.faceName.assign(face, strnlen(face, kFaceBytes));
  font = f;
  return true;
}
