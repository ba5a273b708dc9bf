#include "text/exchange/hpgl/PltFile.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstring>

PltFile::PltFile(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return;
  struct stat st {};
  if (fstat(fileno(f), &st) != 0 || !S_ISREG(st.st_mode)) {
    std::fclose(f);
    return;
  }
  file_ = f;
  size_ = static_cast<std::int64_t>(st.st_size);
}

PltFile::~PltFile() {
  if (file_) std::fclose(file_);
}

std::string PltFile::ReadAt(std::int64_t offset, std::size_t count) {
  std::string out;
  if (!file_ || offset < 0 || offset >= size_) return out;
  if (fseeko(file_, static_cast<off_t>(offset), SEEK_SET) != 0) return out;
  out.resize(static_cast<std::size_t>(std::min<std::int64_t>(static_cast<std::int64_t>(count), size_ - offset)));
  out.resize(std::fread(out.data(), 1, out.size(), file_));
  return out;
}

bool PltFile::StartStream(std::int64_t offset) {
  if (!file_ || offset < 0) return false;
  if (fseeko(file_, static_cast<off_t>(offset), SEEK_SET) != 0) return false;
  buffer_.assign(kBufferSize, 0);
  pos_ = filled_ = 0;
  return Refill();
}

bool PltFile::Refill() {
  if (!file_ || buffer_.empty()) return false;
  std::memset(buffer_.data(), 0, buffer_.size());
  filled_ = std::fread(buffer_.data(), 1, kChunkSize, file_);
  pos_ = 0;
  return filled_ > 0;
}

long FindIn(const std::string& text, const std::string& needle, std::size_t from) {
  const std::size_t at = text.find(needle, from);
  return at == std::string::npos ? -1 : static_cast<long>(at);
}
