#include "document/mrk/MrkLineWriter.h"

#include <cmath>

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
