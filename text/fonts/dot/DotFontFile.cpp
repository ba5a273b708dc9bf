#include "text/fonts/dot/DotFontFile.h"

#include <algorithm>
#include <fstream>

namespace {

std::int32_t ReadI32(std::string_view b, std::size_t at) {
  const auto u = static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[at])) |
                 (static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[at + 1])) << 8) |
                 (static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[at + 2])) << 16) |
                 (static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[at + 3])) << 24);
  return static_cast<std::int32_t>(u);
}

}  // namespace

bool DotFontFile::Load(const std::string& path) {
  for (auto& g : glyphs_) g.reset();
  records_ = 0;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  // 36 records of what a character can hold fit many times over: a larger
  // file is read no further.
  constexpr std::size_t kMostBytes = std::size_t{4} << 20;
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  in.seekg(0);
  if (size < 0) return false;
  std::string bytes(std::min(static_cast<std::size_t>(size), kMostBytes), '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  Parse(bytes);
  return true;
}

void DotFontFile::Parse(std::string_view bytes) {
  for (auto& g : glyphs_) g.reset();
  records_ = 0;
  std::size_t at = kDotFontHeaderBytes;
  while (records_ < kDotFontMaxRecords && at + 12 <= bytes.size()) {
    const auto code = static_cast<std::uint8_t>(bytes[at + 3]);
    const std::int32_t n = ReadI32(bytes, at + 4);
    at += 12;
    // A negative count or one that runs past the file ends the records: the
    // next record could not be found.
    if (n < 0 || static_cast<std::size_t>(n) > bytes.size() - at) break;
    ++records_;
    if (n <= kDotFontMaxDots && !glyphs_[code]) {
      glyphs_[code].emplace(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                            bytes.begin() + static_cast<std::ptrdiff_t>(at) + n);
    }
    at += static_cast<std::size_t>(n);
  }
}

const std::vector<std::uint8_t>* DotFontFile::Find(std::uint8_t code) const {
  return glyphs_[code] ? &*glyphs_[code] : nullptr;
}
