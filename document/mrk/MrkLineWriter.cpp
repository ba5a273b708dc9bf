#include "document/mrk/MrkLineWriter.h"

#include <cmath>
#include <string>

#include "document/mrk/MrkKeys.h"
#include "platform/NumberText.h"

void MrkLineWriter::WriteMrkLine(std::string_view text) {
  out_.append(text);
  out_.append("\r\n");
}

void MrkLineWriter::WritePair(std::string_view keyLine, std::string_view value) {
  WriteMrkLine(keyLine);
  WriteMrkLine(value);
}

std::string MrkLineWriter::TextValue(std::string_view text) {
  std::string value;
  value.reserve(text.size() < kMrkMaxTextValue ? text.size() : kMrkMaxTextValue);
  std::size_t i = 0;
  while (i < text.size()) {
    // A lead byte (0x81..0xFE) and its trail byte stay together.
    const unsigned char c = static_cast<unsigned char>(text[i]);
    const std::size_t width = c >= 0x81 && c <= 0xFE && i + 1 < text.size() ? 2 : 1;
    if (value.size() + width > kMrkMaxTextValue) break;
    for (std::size_t k = 0; k < width; ++k) {
      const char b = text[i + k];
      value.push_back(b == '\r' || b == '\n' ? ' ' : b);
    }
    i += width;
  }
  return value;
}

void MrkLineWriter::WriteText(std::string_view keyLine, std::string_view text) { WritePair(keyLine, TextValue(text)); }

void MrkLineWriter::WriteCountedText(std::string_view lengthKeyLine, std::string_view textKeyLine,
                                     std::string_view text) {
  const std::string value = TextValue(text);
  WriteInt(lengthKeyLine, static_cast<long long>(value.size()));
  WritePair(textKeyLine, value);
}

void MrkLineWriter::WriteInt(std::string_view keyLine, long long value) {
  WritePair(keyLine, platform::FormatC("%lld", value));
}

void MrkLineWriter::WriteDouble(std::string_view keyLine, double value, int decimals) {
  // "inf" or "nan" would read back as 0 without notice; write 0 openly instead.
  if (!std::isfinite(value)) value = 0.0;
  WritePair(keyLine, platform::FormatC("%.*f", decimals, value));
}

void MrkLineWriter::WriteClassBegin(std::string_view className) {
  WritePair(kMrkClassName, className);
}

void MrkLineWriter::WriteClassEnd() {
  WritePair(kMrkClassEnd, kMrkClassEndValue);
}
