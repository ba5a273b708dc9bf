#pragma once
// The texts another device sends on the text port: framed as "$$text##",
// collected byte by byte in a 1024-byte buffer on the user-interface thread.
#include <array>
#include <cstddef>
#include <string>

#include "platform/WinTypes.h"

constexpr UINT WM_RS232_TEXT = 1118;  // wParam: the received-text string; payload: its copy

// Line settings of the text port from the settings indexes of "COMSET_EX.DAT".
struct Rs232LineSettings {
  int baud = 9600;
  char parity = 'N';
  int dataBits = 8;
  int stopBits = 1;
};
Rs232LineSettings TranslateRs232Settings(int baudIndex, int parityIndex, int dataBitIndex, int stopBitIndex);

class Rs232TextBuffer {
 public:
  static constexpr int kSize = 1024;
  // A buffer holding this many bytes without a complete text is emptied.
  static constexpr int kDropAt = 1023;

  // Appends one byte; false (and nothing stored) when the buffer is full.
  bool Append(unsigned char byte);
  // Looks for the last "##" and the nearest "$$" before it. A text of two
  // bytes or more goes to text and empties the buffer; otherwise the bytes stay
  // (unless the buffer reached kDropAt) and false is returned.
  bool Extract(std::string& text);
  void Clear() { count_ = 0; }
  int Count() const { return count_; }

 private:
  std::array<unsigned char, kSize> bytes_{};
  int count_ = 0;
};
