#pragma once
// A plot file opened for reading: its size, a look at its header bytes and a
// chunked byte stream from any offset. Closes the file on every path.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

class PltFile {
 public:
  static constexpr std::size_t kChunkSize = 16384;
  static constexpr std::size_t kBufferSize = 16416;  // chunk plus a zeroed tail
  static constexpr std::size_t kHeaderSize = 2048;

  // Only regular files open: a directory or a pipe counts as not openable.
  explicit PltFile(const std::string& path);
  ~PltFile();
  PltFile(const PltFile&) = delete;
  PltFile& operator=(const PltFile&) = delete;

  bool IsOpen() const { return file_ != nullptr; }
  std::int64_t Size() const { return size_; }

  // Up to count bytes at offset (fewer at the end of the file).
  std::string ReadAt(std::int64_t offset, std::size_t count);
  // The first min(size, 2048) bytes.
  std::string ReadHeader() { return ReadAt(0, kHeaderSize); }

  // Starts the byte stream at offset; false when the first read returns nothing.
  bool StartStream(std::int64_t offset);
  // Next byte of the stream; false at the end of the data.
  bool NextByte(char& c) {
    if (pos_ == filled_ && !Refill()) return false;
    c = buffer_[pos_++];
    return true;
  }

 private:
  bool Refill();

  std::FILE* file_ = nullptr;
  std::int64_t size_ = 0;
  std::vector<char> buffer_;
  std::size_t pos_ = 0;
  std::size_t filled_ = 0;
};

// Position of the first occurrence of needle in text at or after from, or -1.
long FindIn(const std::string& text, const std::string& needle, std::size_t from = 0);
