#include "text/fonts/hzk/HzkFont.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr HzkGeometry kFonts[] = {
    {"HZK12", 24, 2, 4, 4, 2},
    {"HZK16", 32, 2, 0, 0, -1},
    {"HZK24F", 72, 3, 0, 0, -2},
    {"HZK24Z", 72, 3, 0, 8, 0},
};

}  // namespace

const HzkGeometry* HzkGeometryOf(int dotKind) {
  if (dotKind < 2 || dotKind > 5) return nullptr;
  return &kFonts[dotKind - 2];
}

long HzkGlyphOffset(const HzkGeometry& g, std::uint8_t c1, std::uint8_t c2) {
  return (static_cast<long>(c1 - 0xA1) * 94 + (c2 - 0xA1)) * g.bytesPerGlyph;
}

HzkFont::~HzkFont() {
  if (fd_ >= 0) ::close(fd_);
}

bool HzkFont::Open(const std::string& path, const HzkGeometry& geometry) {
  if (fd_ >= 0) ::close(fd_);
  fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  geometry_ = &geometry;
  if (fd_ < 0) return false;
  struct stat info {};
  if (fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd_);
    fd_ = -1;
    return false;
  }
  size_ = static_cast<long>(info.st_size);
  return true;
}

bool HzkFont::ReadGlyph(std::uint8_t c1, std::uint8_t c2, std::vector<std::uint8_t>& bytes) const {
  bytes.clear();
  if (fd_ < 0 || !geometry_ || c1 < 0xA1 || c2 < 0xA1) return false;
  const long offset = HzkGlyphOffset(*geometry_, c1, c2);
  const long n = geometry_->bytesPerGlyph;
  // A sparse or short file: a glyph that does not lie wholly inside it has no dots.
  if (offset < 0 || offset > size_ - n) return false;
  bytes.resize(static_cast<std::size_t>(n));
  if (::pread(fd_, bytes.data(), bytes.size(), offset) != n) {
    bytes.clear();
    return false;
  }
  return true;
}
