#include "libs/tabrion/BiffContinuedData.h"

#include <QString>

namespace tabrion {

bool BiffContinuedData::Available() {
  while (piece_ < pieces_.size() && at_ >= pieces_[piece_].size()) {
    ++piece_;
    at_ = 0;
  }
  return piece_ < pieces_.size();
}

bool BiffContinuedData::AtEnd() { return !Available(); }

bool BiffContinuedData::U8(std::uint8_t& v) {
  if (!Available()) return false;
  v = pieces_[piece_][at_++];
  return true;
}

bool BiffContinuedData::U16(std::uint16_t& v) {
  std::uint8_t lo = 0, hi = 0;
  if (!U8(lo) || !U8(hi)) return false;
  v = static_cast<std::uint16_t>(lo | hi << 8);
  return true;
}

bool BiffContinuedData::U32(std::uint32_t& v) {
  std::uint16_t lo = 0, hi = 0;
  if (!U16(lo) || !U16(hi)) return false;
  v = lo | static_cast<std::uint32_t>(hi) << 16;
  return true;
}

bool BiffContinuedData::Skip(std::size_t n) {
  while (n > 0) {
    if (!Available()) return false;
    std::size_t step = std::min(n, pieces_[piece_].size() - at_);
    at_ += step;
    n -= step;
  }
  return true;
}

bool BiffContinuedData::Chars(std::size_t count, bool wide, std::u16string& out) {
  out.reserve(std::min<std::size_t>(count, 8224));
  while (out.size() < count) {
    if (piece_ < pieces_.size() && at_ >= pieces_[piece_].size()) {
      // The characters go on in the next piece, after a new option byte.
      if (piece_ + 1 >= pieces_.size() || pieces_[piece_ + 1].empty()) return false;
      ++piece_;
      at_ = 0;
      wide = (pieces_[piece_][at_++] & 0x01) != 0;
      continue;
    }
    if (piece_ >= pieces_.size()) return false;
    ByteSpan p = pieces_[piece_];
    std::size_t width = wide ? 2 : 1;
    if (p.size() - at_ < width) return false;
    out.push_back(wide ? static_cast<char16_t>(p[at_] | p[at_ + 1] << 8) : static_cast<char16_t>(p[at_]));
    at_ += width;
  }
  return true;
}

bool BiffContinuedData::Length(int lengthBytes, std::uint16_t& length) {
  if (lengthBytes != 1) return U16(length);
  std::uint8_t l = 0;
  if (!U8(l)) return false;
  length = l;
  return true;
}

bool BiffContinuedData::ByteString(int lengthBytes, std::string& bytes) {
  std::uint16_t length = 0;
  if (!Length(lengthBytes, length)) return false;
  bytes.clear();
  for (std::uint16_t i = 0; i < length; ++i) {
    std::uint8_t c = 0;
    if (!U8(c)) return false;
    bytes += static_cast<char>(c);
  }
  return true;
}

bool BiffContinuedData::UnicodeString(int lengthBytes, std::string& utf8) {
  std::uint16_t length = 0;
  if (!Length(lengthBytes, length)) return false;
  std::uint8_t options = 0;
  if (!U8(options)) return false;
  std::uint16_t runs = 0;
  std::uint32_t phonetic = 0;
  if ((options & 0x08) && !U16(runs)) return false;
  if ((options & 0x04) && !U32(phonetic)) return false;
  std::u16string chars;
  if (!Chars(length, (options & 0x01) != 0, chars)) return false;
  if (!Skip(4u * runs) || !Skip(phonetic)) return false;
  utf8 = QString::fromUtf16(chars.data(), static_cast<qsizetype>(chars.size())).toStdString();
  return true;
}

}  // namespace tabrion
