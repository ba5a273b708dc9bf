#pragma once
// A minimal binary archive: either storing into a byte buffer or loading from
// one, little-endian, with the framework's compact count encoding (a WORD when
// below 0xFFFF, else 0xFFFF followed by a DWORD). Reading past the end throws
// CArchiveException, so a truncated file never yields half-filled data.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/WinTypes.h"

class CArchiveException : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class CArchive {
 public:
  enum Mode { store = 0, load = 1 };

  // Storing into an empty buffer.
  CArchive();
  // Loading from the given bytes.
  explicit CArchive(std::vector<BYTE> bytes);

  bool IsStoring() const { return mode_ == store; }
  bool IsLoading() const { return mode_ == load; }

  void Write(const void* data, std::size_t size);
  // Reads exactly size bytes or throws.
  void Read(void* data, std::size_t size);

  void WriteCount(std::size_t count);
  std::size_t ReadCount();

  CArchive& operator<<(BYTE v) { return Put(v); }
  CArchive& operator<<(WORD v) { return Put(v); }
  CArchive& operator<<(DWORD v) { return Put(v); }
  CArchive& operator<<(std::int32_t v) { return Put(v); }
  CArchive& operator<<(float v) { return Put(v); }
  CArchive& operator<<(double v) { return Put(v); }
  CArchive& operator>>(BYTE& v) { return Get(v); }
  CArchive& operator>>(WORD& v) { return Get(v); }
  CArchive& operator>>(DWORD& v) { return Get(v); }
  CArchive& operator>>(std::int32_t& v) { return Get(v); }
  CArchive& operator>>(float& v) { return Get(v); }
  CArchive& operator>>(double& v) { return Get(v); }

  const std::vector<BYTE>& Bytes() const { return bytes_; }
  std::size_t Remaining() const { return bytes_.size() - pos_; }

 private:
  template <typename T>
  CArchive& Put(T v) {
    Write(&v, sizeof v);  // the supported hosts are little-endian
    return *this;
  }
  template <typename T>
  CArchive& Get(T& v) {
    Read(&v, sizeof v);
    return *this;
  }

  Mode mode_;
  std::vector<BYTE> bytes_;
  std::size_t pos_ = 0;
};
