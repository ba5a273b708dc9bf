#pragma once
// A font file opened for reading for the length of one text call, with
// little-endian reads that report end of file instead of reading past it.
// Reads go through one block kept in memory, so walking an index record by
// record costs no system call per record.
#include <cstdint>
#include <string>
#include <vector>

class ShxFontFile {
 public:
  ShxFontFile() = default;
  ShxFontFile(const ShxFontFile&) = delete;
  ShxFontFile& operator=(const ShxFontFile&) = delete;
  ~ShxFontFile();

  bool Open(const std::string& path);
  void Close();
  bool IsOpen() const { return fd_ >= 0; }

  long Tell() const { return position_; }
  bool Seek(long position);
  bool Skip(long count) { return Seek(position_ + count); }
  long Size() const { return size_; }
  long Remaining() const { return size_ > position_ ? size_ - position_ : 0; }

  // Each returns false (and leaves the value untouched) when the file ends first.
  bool ReadU8(std::uint8_t& value);
  bool ReadU16(std::uint16_t& value);
  bool ReadU32(std::uint32_t& value);
  bool ReadDouble(double& value);
  bool ReadExact(void* data, std::size_t count);
  // Reads up to count bytes into out (resized to what was read).
  std::size_t ReadBytes(std::size_t count, std::vector<std::uint8_t>& out);

 private:
  // Copies up to count bytes from the current position; returns how many.
  std::size_t Read(std::uint8_t* data, std::size_t count);

  int fd_ = -1;
  long size_ = 0;
  long position_ = 0;
  std::vector<std::uint8_t> block_;
  long blockStart_ = 0;
  std::size_t blockLength_ = 0;
};
