#include "text/objects/CObjTextVin.h"

#include "document/mrk/MrkKeys.h"
#include "document/mrk/MrkLineWriter.h"
#include "platform/Prompt.h"

namespace {

constexpr char kKeyEnlarged[] = "145;\xca\xc7\xb7\xf1\xb7\xc5\xb4\xf3\xcf\xd4\xca\xbe" "VIN";  // 是否放大显示VIN
constexpr char kKeyLength[] = "180;\xd7\xd6\xb7\xfb\xb8\xf6\xca\xfd";                          // 字符个数
constexpr char kKeyText[] = "235;\xb1\xea\xbc\xc7\xd7\xd6\xb7\xfb\xca\xfd\xbe\xdd";            // 标记字符数据

constexpr int kWeights[kVinLength] = {8, 7, 6, 5, 4, 3, 2, 10, 0, 9, 8, 7, 6, 5, 4, 3, 2};

int ValueOf(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  // A..Z transliterated; I, O and Q have none.
  static constexpr int kLetters[26] = {1, 2, 3, 4, 5, 6, 7, 8, 0, 1, 2, 3, 4, 5, 0, 7, 0, 9, 2, 3, 4, 5, 6, 7, 8, 9};
  if (c >= 'A' && c <= 'Z') return kLetters[c - 'A'];
  return 0;
}

bool IsForbidden(char c) { return c == 'I' || c == 'O' || c == 'Q' || c == 'i' || c == 'o' || c == 'q'; }

// One letter stepped by a; the carry is the quotient by 26. Letters that
// cannot stand in a VIN are passed over.
int StepLetter(char& c, long long a, char first) {
  long long v = a + (c - first);
  long long carry = v / 26;
  c = static_cast<char>(first + v % 26);
  while (IsForbidden(c)) {
    if (c - first == 25) {
      c = first;
      ++carry;
    } else {
      ++c;
    }
  }
  return carry > 0 ? 1 : 0;
}

}  // namespace

CObjTextVin::CObjTextVin() {
  Settings().strokeFontPair = kVinStrokeFontPair;
  Settings().starMode = 1;
  Settings().splitAfterNine = 1;
}

CObjTextVin::CObjTextVin(const TextCreateRecord& record) : CObjText(record) {
  Settings().strokeFontPair = kVinStrokeFontPair;
  Settings().starMode = 1;
  Settings().splitAfterNine = 1;
}

void CObjTextVin::CopyFrom(const CObjTextVin& other) {
  CObjText::CopyFrom(other);
  enlarged_ = other.enlarged_;
}

bool CObjTextVin::IsValidVin(const std::string& text) {
  if (text.empty() || text.size() > kVinLength) return false;
  for (char c : text)
    if (IsForbidden(c)) return false;
  return true;
}

char CObjTextVin::CheckCharOf(const std::string& text) {
  int sum = 0;
  for (std::size_t i = 0; i < kVinLength && i < text.size(); ++i) sum += ValueOf(text[i]) * kWeights[i];
  const int r = sum % 11;
  return r == 10 ? 'X' : static_cast<char>('0' + r);
}

bool CObjTextVin::CheckDigit(std::string& text) {
  if (text.size() != kVinLength || !IsValidVin(text)) return false;
  text[8] = CheckCharOf(text);
  Settings().splitAfterNine = 1;
  return true;
}

void CObjTextVin::IncrementSerial(std::string& buffer, int step) {
  long long a = step;
  for (std::size_t i = buffer.size(); i-- > 0;) {
    char& c = buffer[i];
    int carry = 0;
    if (c >= '0' && c <= '9') {
      const long long v = a + (c - '0');
      c = static_cast<char>('0' + v % 10);
      carry = v >= 10 ? 1 : 0;
    } else if (c >= 'A' && c <= 'Z') {
      carry = StepLetter(c, a, 'A');
    } else if (c >= 'a' && c <= 'z') {
      carry = StepLetter(c, a, 'a');
    } else {
      return;
    }
    if (!carry) return;
    a = 1;
  }
}

void CObjTextVin::SetCheckedText(const CDoublePoint& anchor) {
  std::string checked = GetText();
  if (CheckDigit(checked)) {
    SetText(checked, anchor, true);
    RecalcPath();
    return;
  }
  // The old geometry would be marked as this number: drop it.
  Changed();
  GetPathData().points.RemoveAll();
  GetPathData().second.RemoveAll();
  GetPathData().RemoveAllGroups();
  platform::MessageBox(kVinStyleError);
}

void CObjTextVin::SetVinText(const CDoublePoint& anchor, const std::string& text) {
  if (text.size() != kVinLength) return;
  Settings().text = text;
  SetCheckedText(anchor);
}

void CObjTextVin::SetVinTextFromRow(const CDoublePoint& anchor, const std::string& text) {
  std::string checked = text;
  if (!CheckDigit(checked)) {
    platform::MessageBox(kVinStyleError);
    return;
  }
  SetText(checked, anchor, true);
  RecalcPath();
}

int CObjTextVin::AdvanceAfterMark(const CDoublePoint& anchor) {
  const std::string old = GetText();
  if (old.size() < kVinLength) return 0;
  std::string serial = old.substr(11, 6);
  IncrementSerial(serial, 1);
  std::string next = old;
  next.replace(11, 6, serial);
  Settings().text = next;
  SetCheckedText(anchor);
  return GetText() != old ? 1 : 0;
}

std::string CObjTextVin::Part(std::size_t from, std::size_t count) const {
  const std::string& t = GetText();
  return from < t.size() ? t.substr(from, count) : std::string();
}

void CObjTextVin::Write(MrkLineWriter& out) const {
  out.WriteClassBegin("CObjTextVin");
  WriteCommonKeys(out);
  out.WriteInt(kKeyEnlarged, enlarged_);
  out.WriteCountedText(kKeyLength, kKeyText, GetText());
  out.WriteClassEnd();
}

void CObjTextVin::SetProperty(int key, const MrkValue& v) {
  if (key == 145) {
    enlarged_ = v.i;
  } else {
    CObjText::SetProperty(key, v);
  }
}
