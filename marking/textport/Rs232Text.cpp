#include "marking/textport/Rs232Text.h"

Rs232LineSettings TranslateRs232Settings(int baudIndex, int parityIndex, int dataBitIndex, int stopBitIndex) {
  Rs232LineSettings s;
  switch (baudIndex) {
    case 0: s.baud = 1200; break;
    case 1: s.baud = 2400; break;
    case 2: s.baud = 4800; break;
    case 4: s.baud = 19200; break;
    case 5: s.baud = 38400; break;
    default: s.baud = 9600; break;  // the dialog's 57600 and 115200 included
  }
  s.parity = parityIndex == 1 ? 'O' : parityIndex == 2 ? 'E' : 'N';
  s.stopBits = stopBitIndex == 1 ? 2 : 1;
  s.dataBits = dataBitIndex == 1 ? 7 : 8;
  return s;
}

bool Rs232TextBuffer::Append(unsigned char byte) {
  if (count_ >= kSize) return false;
  bytes_[static_cast<std::size_t>(count_++)] = byte;
  return true;
}

bool Rs232TextBuffer::Extract(std::string& text) {
  // Index of the second byte of the last pair of c at or before from, or -1.
  const auto pairBefore = [this](unsigned char c, int from) {
    for (int i = from; i >= 1; --i)
      if (bytes_[static_cast<std::size_t>(i)] == c && bytes_[static_cast<std::size_t>(i - 1)] == c) return i;
    return -1;
  };
  const int close = pairBefore('#', count_ - 1);
  const int end = close >= 0 ? close - 2 : -1;  // index of the text's last byte
  const int open = end >= 0 ? pairBefore('$', end) : -1;
  const int begin = open >= 0 ? open + 1 : -1;
  if (begin >= 0 && end - begin + 1 >= 2) {
    text.assign(reinterpret_cast<const char*>(bytes_.data()) + begin, static_cast<std::size_t>(end - begin + 1));
    count_ = 0;
    return true;
  }
  if (count_ >= kDropAt) count_ = 0;
  return false;
}
