#include "document/mrk/MrkKeys.h"

#include <climits>

#include "platform/NumberText.h"

MrkKeyKind MrkKeyKindOf(int key) {
  if (key >= 10 && key <= 59) return MrkKeyKind::Double;
  if (key >= 60 && key <= 99) return MrkKeyKind::Float;
  if (key >= 100 && key <= 189) return MrkKeyKind::Int;
  if (key >= 190 && key <= 199) return MrkKeyKind::Byte;
  if (key >= 200 && key <= 250) return MrkKeyKind::Text;
  if (key >= 320 && key <= 350) return MrkKeyKind::Binary;
  return MrkKeyKind::None;
}

namespace {

int SaturateToInt(long long v) {
  if (v > INT_MAX) return INT_MAX;
  if (v < INT_MIN) return INT_MIN;
  return static_cast<int>(v);
}

// Key and value lines hold only the text before the first ';' (the line
// reader already cut there), but keys are parsed from raw lines too.
std::string_view BeforeSemicolon(std::string_view s) {
  const auto pos = s.find(';');
  return pos == std::string_view::npos ? s : s.substr(0, pos);
}

}  // namespace

int ParseMrkKey(std::string_view keyLine) {
  return SaturateToInt(platform::ParseIntC(BeforeSemicolon(keyLine)));
}

MrkValue MrkValue::Parse(int key, std::string_view valueLine) {
  MrkValue v;
  v.kind = MrkKeyKindOf(key);
  v.text.assign(valueLine);
  const std::string_view number = BeforeSemicolon(valueLine);
  switch (v.kind) {
    case MrkKeyKind::Double:
      v.d = platform::ParseDoubleC(number);
      break;
    case MrkKeyKind::Float:
      v.f = static_cast<float>(platform::ParseDoubleC(number));
      break;
    case MrkKeyKind::Int:
      v.i = SaturateToInt(platform::ParseIntC(number));
      break;
    case MrkKeyKind::Byte:
      // The low byte of the integer, as the file has always been read.
      v.b = static_cast<std::uint8_t>(static_cast<unsigned long long>(platform::ParseIntC(number)) & 0xFF);
      break;
    default:
      break;
  }
  return v;
}

MrkValue MrkValue::OfDouble(double d) {
  MrkValue v;
  v.kind = MrkKeyKind::Double;
  v.d = d;
  return v;
}

MrkValue MrkValue::OfFloat(float f) {
  MrkValue v;
  v.kind = MrkKeyKind::Float;
  v.f = f;
  return v;
}

MrkValue MrkValue::OfInt(int i) {
  MrkValue v;
  v.kind = MrkKeyKind::Int;
  v.i = i;
  return v;
}

MrkValue MrkValue::OfByte(std::uint8_t b) {
  MrkValue v;
  v.kind = MrkKeyKind::Byte;
  v.b = b;
  return v;
}
