#include "text/fonts/shx/ShxFontFile.h"

#include <algorithm>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr std::size_t kBlockBytes = 16384;
}

ShxFontFile::~ShxFontFile() { Close(); }

bool ShxFontFile::Open(const std::string& path) {
  Close();
  fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) return false;
  // A folder opens for reading too, but is no font.
  struct stat info {};
  if (fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) {
    Close();
    return false;
  }
  size_ = static_cast<long>(info.st_size);
  block_.resize(kBlockBytes);
  return true;
}

void ShxFontFile::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  size_ = 0;
  position_ = 0;
  blockStart_ = 0;
  blockLength_ = 0;
}

bool ShxFontFile::Seek(long position) {
  if (fd_ < 0 || position < 0) return false;
  position_ = position;
  return true;
}

std::size_t ShxFontFile::Read(std::uint8_t* data, std::size_t count) {
  std::size_t done = 0;
  while (done < count && position_ < size_) {
    const bool inBlock = position_ >= blockStart_ && position_ < blockStart_ + static_cast<long>(blockLength_);
    if (!inBlock) {
      blockStart_ = position_;
      blockLength_ = 0;
      const ssize_t got = ::pread(fd_, block_.data(), block_.size(), position_);
      if (got <= 0) break;
      blockLength_ = static_cast<std::size_t>(got);
    }
    const std::size_t at = static_cast<std::size_t>(position_ - blockStart_);
    const std::size_t n = std::min(count - done, blockLength_ - at);
    std::memcpy(data + done, block_.data() + at, n);
    done += n;
    position_ += static_cast<long>(n);
  }
  return done;
}

bool ShxFontFile::ReadExact(void* data, std::size_t count) {
  if (fd_ < 0 || static_cast<long>(count) > Remaining()) return false;
  return Read(static_cast<std::uint8_t*>(data), count) == count;
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
  const std::size_t available = std::min<std::size_t>(count, static_cast<std::size_t>(Remaining()));
  out.resize(available);
  const std::size_t got = fd_ >= 0 ? Read(out.data(), available) : 0;
  out.resize(got);
  return got;
}
