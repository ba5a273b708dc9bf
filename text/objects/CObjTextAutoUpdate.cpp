#include "text/objects/CObjTextAutoUpdate.h"

#include <algorithm>
#include <ctime>
#include <random>

#include "document/mrk/MrkKeys.h"
#include "document/mrk/MrkLineWriter.h"
#include "platform/Clock.h"
#include "platform/NumberText.h"

namespace {

// Key lines, labels in code page 936.
constexpr char kKeyCount[] = "144;Count";
constexpr char kKeyFixedLength[] = "145;\xb9\xcc\xb6\xa8\xd7\xd6\xb7\xfb\xb3\xa4\xb6\xc8";  // 固定字符长度
constexpr char kKeyStep[] = "146;\xb5\xdd\xd4\xf6\xcb\xd9\xb6\xc8";                         // 递增速度
constexpr char kKeyMarksPerNumber[] = "147;\xcc\xf8\xba\xc5\xbc\xe4\xb8\xf4";               // 跳号间隔
constexpr char kKeyPrefixLength[] = "148;\xca\xd7\xb8\xf6\xd7\xd6\xb7\xfb\xca\xfd";         // 首个字符数
constexpr char kKeyPrefix[] = "235;\xd7\xd6\xb7\xfb\xca\xfd\xbe\xdd";                        // 字符数据
constexpr char kKeySerialLength[] = "149;\xd6\xd0\xbc\xe4\xd7\xd6\xb7\xfb\xca\xfd";         // 中间字符数
constexpr char kKeySerial[] = "236;\xd7\xd6\xb7\xfb\xca\xfd\xbe\xdd";                        // 字符数据
constexpr char kKeySuffixLength[] = "150;\xc4\xa9\xce\xb2\xd7\xd6\xb7\xfb\xca\xfd";         // 末尾字符数
constexpr char kKeySuffix[] = "237;\xd7\xd6\xb7\xfb\xca\xfd\xbe\xdd";                        // 字符数据
constexpr char kKeyTextLength[] = "151;\xd7\xd6\xb7\xfb\xb8\xf6\xca\xfd";                    // 字符个数
constexpr char kKeyText[] = "238;\xb1\xea\xbc\xc7\xd7\xd6\xb7\xfb\xca\xfd\xbe\xdd";          // 标记字符数据
constexpr char kKeyLowerLength[] = "152;\xcf\xc2\xcf\xde";                                  // 下限
constexpr char kKeyLower[] = "240;\xcf\xc2\xcf\xde";
constexpr char kKeyUpperLength[] = "153;\xc9\xcf\xcf\xde";                                  // 上限
constexpr char kKeyUpper[] = "241;\xc9\xcf\xcf\xde";
constexpr char kKeyTailLength[] = "154;RandBits";
constexpr char kKeyTailSwitch[] = "155;Rand";
constexpr char kKeyDateMode[] = "156;AddTime";

// "%d" with a leading "0" below 10.
std::string TwoDigits(int v) { return v < 10 ? platform::FormatC("0%d", v) : platform::FormatC("%d", v); }

// One position of the walk: the new character and the carry to the left
// (0 stops the walk). The remainder is taken the mathematical way, so a step
// far below zero still leaves a digit (or a letter) in place.
int StepChar(char& c, long long a, char first, int base) {
  a += c - first;
  if (a >= 0) {
    c = static_cast<char>(first + a % base);
    return a < base ? 0 : 1;
  }
  c = static_cast<char>(first + ((a % base) + base) % base);
  return -1;
}

// A random code of that many characters of the tail alphabet.
std::string RandomTail(int length) {
  thread_local std::mt19937 engine{std::random_device{}()};
  constexpr int kLetters = static_cast<int>(sizeof(CObjTextAutoUpdate::kTailAlphabet)) - 1;
  std::uniform_int_distribution<int> pick(0, kLetters - 1);
  std::string tail;
  for (int i = 0; i < length; ++i) tail.push_back(CObjTextAutoUpdate::kTailAlphabet[pick(engine)]);
  return tail;
}

}  // namespace

CObjTextAutoUpdate::CObjTextAutoUpdate() = default;

CObjTextAutoUpdate::CObjTextAutoUpdate(const CDoublePoint& point, const std::string& prefix,
                                       const std::string& serial, const std::string& suffix)
    : CObjText(point, prefix, serial, suffix) {
  ser_.prefix = prefix;
  ser_.serial = serial;
  ser_.suffix = suffix;
}

void CObjTextAutoUpdate::CopyFrom(const CObjTextAutoUpdate& other) {
  const std::string lower = ser_.lower;
  const std::string upper = ser_.upper;
  ser_ = other.ser_;
  ser_.lower = lower;
  ser_.upper = upper;
  CObjText::CopyFrom(other);
}

void CObjTextAutoUpdate::SetPrefix(const CDoublePoint& anchor, const std::string& text) {
  ser_.prefix = text;
  SetText(ComposeText(), anchor, true);
}

void CObjTextAutoUpdate::SetSerial(const CDoublePoint& anchor, const std::string& text) {
  ser_.serial = text;
  SetText(ComposeText(), anchor, true);
  RecalcPath();
}

void CObjTextAutoUpdate::SetSuffix(const CDoublePoint& anchor, const std::string& text) {
  ser_.suffix = text;
  SetText(ComposeText(), anchor, true);
}

void CObjTextAutoUpdate::SetMarksPerNumber(int marks) {
  Changed();
  ser_.marksPerNumber = marks;
  ser_.marksCounted = 0;
}

std::string CObjTextAutoUpdate::ComposeText() const {
  std::string text = ser_.prefix;
  if (ser_.dateMode > 0) {
    const std::tm t = platform::CurrentClock().LocalTime();
    const int year = t.tm_year + 1900;
    std::string date;
    if (ser_.dateMode == 1) date = platform::FormatC("%d", year - 2000) + TwoDigits(t.tm_mon + 1) + TwoDigits(t.tm_mday);
    if (ser_.dateMode == 2) date = platform::FormatC("%d", year) + TwoDigits(t.tm_mon + 1) + TwoDigits(t.tm_mday);
    text += " " + date + " ";
  }
  text += ser_.serial;
  text += ser_.suffix;
  if (ser_.tailSwitch) {
    const int length = std::clamp(ser_.tailLength, kTailLengthMin, kTailLengthMax);
    if (static_cast<int>(ser_.tail.size()) != length) ser_.tail = RandomTail(length);
    text += ser_.tail;
  }
  return text;
}

void CObjTextAutoUpdate::IncrementAlnumString(std::string& buffer, int step) {
  long long a = step;
  for (std::size_t i = buffer.size(); i-- > 0;) {
    char& c = buffer[i];
    if (c >= '0' && c <= '9') {
      a = StepChar(c, a, '0', 10);
    } else if (c >= 'A' && c <= 'Z') {
      a = StepChar(c, a, 'A', 26);
    } else if (c >= 'a' && c <= 'z') {
      a = StepChar(c, a, 'a', 26);
    } else {
      return;
    }
    if (a == 0) return;
  }
}

bool CObjTextAutoUpdate::CountMark() {
  Changed();
  ++ser_.marksCounted;
  if (ser_.marksCounted < ser_.marksPerNumber) return false;
  ser_.marksCounted = 0;
  return true;
}

std::string CObjTextAutoUpdate::NextSerial(bool useBounds) const {
  std::string next = ser_.serial;
  IncrementAlnumString(next, ser_.step);
  // Byte-wise, so double-byte characters compare as their bytes.
  if (useBounds && !ser_.lower.empty() && !ser_.upper.empty() && next.compare(ser_.upper) > 0) next = ser_.lower;
  return next;
}

int CObjTextAutoUpdate::AdvanceAfterMark(const CDoublePoint& anchor) {
  if (!CountMark() || ser_.serial.empty()) return 0;
  const std::string next = NextSerial(true);
  if (next == ser_.serial) return 0;
  RenewTail();
  SetSerial(anchor, next);
  return 1;
}

void CObjTextAutoUpdate::Write(MrkLineWriter& out) const {
  out.WriteClassBegin("CObjTextAutoUpdate");
  WriteCommonKeys(out);
  out.WriteInt(kKeyCount, ser_.marksCounted);
  out.WriteInt(kKeyFixedLength, ser_.fixedLength);
  out.WriteInt(kKeyStep, ser_.step);
  out.WriteInt(kKeyMarksPerNumber, ser_.marksPerNumber);
  out.WriteCountedText(kKeyPrefixLength, kKeyPrefix, ser_.prefix);
  out.WriteCountedText(kKeySerialLength, kKeySerial, ser_.serial);
  out.WriteCountedText(kKeySuffixLength, kKeySuffix, ser_.suffix);
  out.WriteCountedText(kKeyTextLength, kKeyText, GetText());
  out.WriteCountedText(kKeyLowerLength, kKeyLower, ser_.lower);
  out.WriteCountedText(kKeyUpperLength, kKeyUpper, ser_.upper);
  out.WriteInt(kKeyTailLength, ser_.tailLength);
  out.WriteInt(kKeyTailSwitch, ser_.tailSwitch);
  out.WriteInt(kKeyDateMode, ser_.dateMode);
  out.WriteClassEnd();
}

void CObjTextAutoUpdate::SetProperty(int key, const MrkValue& v) {
  switch (key) {
    case 144: ser_.marksCounted = v.i; break;
    case 145: ser_.fixedLength = v.i; break;
    case 146: ser_.step = v.i; break;
    case 147: ser_.marksPerNumber = v.i; break;
    case 154: ser_.tailLength = v.i; break;
    case 155: ser_.tailSwitch = v.i; break;
    case 156: ser_.dateMode = v.i; break;
    case 148: case 149: case 150: case 151: case 152: case 153: break;  // lengths: the texts say it
    default: CObjText::SetProperty(key, v); break;
  }
}

void CObjTextAutoUpdate::SetStringProperty(int key, const std::string& value) {
  switch (key) {
    case 235: ser_.prefix = value; break;
    case 236: ser_.serial = value; break;
    case 237: ser_.suffix = value; break;
    case 238: Settings().text = value; break;
    case 240: ser_.lower = value; break;
    case 241: ser_.upper = value; break;
    default: CObjText::SetStringProperty(key, value); break;
  }
}
