#include "libs/tabrion/BiffRecordReader.h"

namespace tabrion {

bool BiffRecordReader::Next() {
  if (next_ > stream_.size() || stream_.size() - next_ < 4) return false;
  std::uint16_t type = U16At(stream_, next_);
  std::size_t length = U16At(stream_, next_ + 2);
  if (stream_.size() - next_ - 4 < length) return false;
  type_ = type;
  data_ = stream_.subspan(next_ + 4, length);
  next_ += 4 + length;
  return true;
}

std::uint16_t BiffRecordReader::PeekType() const {
  if (next_ > stream_.size() || stream_.size() - next_ < 4) return 0;
  return U16At(stream_, next_);
}

std::vector<ByteSpan> BiffRecordReader::WithContinues() {
  std::vector<ByteSpan> parts{data_};
  while (PeekType() == kContinue && Next()) parts.push_back(data_);
  return parts;
}

}  // namespace tabrion
