#pragma once
// Writes .mrk line pairs into a byte buffer; the caller stores the buffer
// (atomically) when the whole file is complete, so a failed save never leaves
// half a project behind. Labels are passed as code page 936 bytes; numbers are
// formatted in the C locale; lines end in CR LF as the file has always had.
#include <cstddef>
#include <string>
#include <string>
#include <string_view>

// Longest text value written (code page 936 bytes).
constexpr std::size_t kMrkMaxTextValue = 254;

class MrkLineWriter {
 public:
  explicit MrkLineWriter(std::string& out) : out_(out) {}

  // One line: the text and the line end.
  void WriteMrkLine(std::string_view text);

  // A key line and its value line.
  void WritePair(std::string_view keyLine, std::string_view value);
  void WriteInt(std::string_view keyLine, long long value);  // "%d"
  // "%.<decimals>f"; the file uses 3, 4 or 6 decimals depending on the key.
  void WriteDouble(std::string_view keyLine, double value, int decimals = 4);
  // A text value (names, texts): line breaks become spaces and the text is
  // cut to kMrkMaxTextValue bytes on a character boundary, so older readers,
  // which take at most 255 characters a line, keep the pairs in step.
  void WriteText(std::string_view keyLine, std::string_view text);
  // A text value with its length key before it: the length is that of the
  // value as written (cut and with its line breaks as spaces), so the pair
  // agrees with itself whatever the text held.
  void WriteCountedText(std::string_view lengthKeyLine, std::string_view textKeyLine, std::string_view text);

  // Bytes as they are, without a line end (a picture's embedded file after
  // its data key line).
  void WriteRaw(std::string_view bytes) { out_.append(bytes); }

  // The frame of a class block: "202;<class name label>", the class name ... "202;<end label>", "CLASS_END".
  void WriteClassBegin(std::string_view className);
  void WriteClassEnd();

 private:
  // The value a text is written as.
  static std::string TextValue(std::string_view text);

  std::string& out_;
};
