#include "document/geometry/CArchive.h"

#include <cstring>
#include <limits>
#include <utility>

CArchive::CArchive() : mode_(store) {}

CArchive::CArchive(std::vector<BYTE> bytes) : mode_(load), bytes_(std::move(bytes)) {}

void CArchive::Write(const void* data, std::size_t size) {
  if (!IsStoring()) throw CArchiveException("archive is loading");
  if (size == 0) return;
  const BYTE* p = static_cast<const BYTE*>(data);
  bytes_.insert(bytes_.end(), p, p + size);
}

void CArchive::Read(void* data, std::size_t size) {
  if (!IsLoading()) throw CArchiveException("archive is storing");
  if (size > Remaining()) throw CArchiveException("unexpected end of archive");
  if (size == 0) return;
  std::memcpy(data, bytes_.data() + pos_, size);
  pos_ += size;
}

void CArchive::WriteCount(std::size_t count) {
  if (count < 0xFFFF) {
    *this << static_cast<WORD>(count);
    return;
  }
  if (count > std::numeric_limits<DWORD>::max() - 1) throw CArchiveException("count too large for the archive");
  *this << static_cast<WORD>(0xFFFF) << static_cast<DWORD>(count);
}

std::size_t CArchive::ReadCount() {
  WORD shortCount = 0;
  *this >> shortCount;
  if (shortCount != 0xFFFF) return shortCount;
  DWORD longCount = 0;
  *this >> longCount;
  return longCount;
}
