#include "text/fonts/shx/ShxFontFile.h"

#include <cstring>

#include <sys/stat.h>

ShxFontFile::~ShxFontFile() { Close(); }

bool ShxFontFile::Open(const std::string& path) {
  Close();
  file_ = std::fopen(path.c_str(), "rb");
  if (!file_) return false;
  // A folder opens for reading too, but is no font.
  struct stat info {};
  if (fstat(fileno(file_), &info) != 0 || !S_ISREG(info.st_mode)) {
    Close();
    return false;
  }
  size_ = 0;
  if (std::fseek(file_, 0, SEEK_END) == 0) {
    const long end = std::ftell(file_);
    if (end > 0) size_ = end;
  }
  std::fseek(file_, 0, SEEK_SET);
  return true;
}

void ShxFontFile::Close() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
  size_ = 0;
}

long ShxFontFile::Tell() const { return file_ ? std::ftell(file_) : 0; }

bool ShxFontFile::Seek(long position) {
  if (!file_ || position < 0) return false;
  return std::fseek(file_, position, SEEK_SET) == 0;
}

bool ShxFontFile::Skip(long count) { return Seek(Tell() + count); }

long ShxFontFile::Remaining() const {
  const long left = size_ - Tell();
  return left > 0 ? left : 0;
}

bool ShxFontFile::ReadExact(void* data, std::size_t count) {
  if (!file_) return false;
  return std::fread(data, 1, count, file_) == count;
}

bool ShxFontFile::ReadU8(std::uint8_t& value) { return ReadExact(&value, 1); }

bool ShxFontFile::ReadU16(std::uint16_t& value) {
  std::uint8_t b[2];
  if (!ReadExact(b, 2)) return false;
  value = static_cast<std::uint16_t>(b[0] | (b[1] << 8));
  return true;
}

bool ShxFontFile::ReadU32(std::uint32_t& value) {
  std::uint8_t b[4];
  if (!ReadExact(b, 4)) return false;
  value = static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
          (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
  return true;
}

bool ShxFontFile::ReadDouble(double& value) {
  std::uint8_t b[8];
  if (!ReadExact(b, 8)) return false;
  std::uint64_t bits = 0;
  for (int i = 7; i >= 0; --i) bits = (bits << 8) | b[i];
  std::memcpy(&value, &bits, sizeof value);
  return true;
}

std::size_t ShxFontFile::ReadBytes(std::size_t count, std::vector<std::uint8_t>& out) {
  out.resize(count);
  std::size_t got = 0;
  if (file_ && count > 0) got = std::fread(out.data(), 1, count, file_);
  out.resize(got);
  return got;
}
