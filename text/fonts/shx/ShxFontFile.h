#pragma once
// A font file opened for reading for the length of one text call, with
// little-endian reads that report end of file instead of reading past it.
#include <cstdint>
#include <cstdio>
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
  bool IsOpen() const { return file_ != nullptr; }

  long Tell() const;
  bool Seek(long position);
  bool Skip(long count);
  long Size() const { return size_; }
  long Remaining() const;

  // Each returns false (and leaves the value untouched) when the file ends first.
  bool ReadU8(std::uint8_t& value);
  bool ReadU16(std::uint16_t& value);
  bool ReadU32(std::uint32_t& value);
  bool ReadDouble(double& value);
  // Reads up to count bytes into out (resized to what was read).
  std::size_t ReadBytes(std::size_t count, std::vector<std::uint8_t>& out);
  bool ReadExact(void* data, std::size_t count);

 private:
  std::FILE* file_ = nullptr;
  long size_ = 0;
};
