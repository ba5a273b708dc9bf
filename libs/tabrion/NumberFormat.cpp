#include "libs/tabrion/NumberFormat.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>

#include "libs/tabrion/CellText.h"
#include "libs/tabrion/SerialDate.h"
#include "platform/NumberText.h"

namespace tabrion {
namespace {

using Token = NumberFormat::Token;
using Section = NumberFormat::Section;

constexpr double kLastSerialDay = 2958466.0;  // 10000-01-01
// Digits beyond this many decimals or exponent places are not drawn.
constexpr int kMaxPlaces = 30;

const char* const kMonths[12] = {"January", "February", "March",     "April",   "May",      "June",
                                 "July",    "August",   "September", "October", "November", "December"};
const char* const kDays[7] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
const char* const kDaysCn[7] = {"日", "一", "二", "三", "四", "五", "六"};
const char* const kAmCn = "上午";
const char* const kPmCn = "下午";

bool StartsWithNoCase(std::string_view s, std::size_t at, std::string_view what) {
  if (s.size() - at < what.size()) return false;
  for (std::size_t i = 0; i < what.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(s[at + i])) != std::tolower(static_cast<unsigned char>(what[i])))
      return false;
  return true;
}

// Length of the UTF-8 character starting at s[at] (1 for broken sequences).
std::size_t CharLength(std::string_view s, std::size_t at) {
  unsigned char c = static_cast<unsigned char>(s[at]);
  std::size_t n = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 1;
  return std::min(n, s.size() - at);
}

void AddLiteral(std::vector<Token>& tokens, std::string_view text) {
  if (text.empty()) return;
  if (!tokens.empty() && tokens.back().kind == Token::literal) tokens.back().text += text;
  else tokens.push_back({Token::literal, std::string(text)});
}

// "[...]" contents: elapsed time, currency and locale tags, conditions; colours are dropped.
void ReadBracket(std::string_view inner, Section& section) {
  auto allOf = [&](char c) {
    return !inner.empty() && std::all_of(inner.begin(), inner.end(), [c](char x) { return std::tolower(x) == c; });
  };
  if (allOf('h')) section.tokens.push_back({Token::elapsedHours, {}, static_cast<int>(inner.size())});
  else if (allOf('m')) section.tokens.push_back({Token::elapsedMinutes, {}, static_cast<int>(inner.size())});
  else if (allOf('s')) section.tokens.push_back({Token::elapsedSeconds, {}, static_cast<int>(inner.size())});
  else if (!inner.empty() && inner[0] == '$') {
    // [$€-407]: the currency symbol before the locale number is shown.
    std::string_view symbol = inner.substr(1);
    AddLiteral(section.tokens, symbol.substr(0, symbol.find('-')));
  } else if (!inner.empty() && (inner[0] == '<' || inner[0] == '>' || inner[0] == '=')) {
    std::size_t n = inner.size() > 1 && (inner[1] == '=' || inner[1] == '>') ? 2 : 1;
    section.hasCondition = true;
    section.conditionOp[0] = inner[0];
    section.conditionOp[1] = n == 2 ? inner[1] : '\0';
    section.conditionValue = platform::ParseDoubleC(inner.substr(n));
  }
}

Token::Kind DateKind(char lower) {
  switch (lower) {
    case 'y': case 'e': return Token::year;
    case 'm': return Token::month;
    case 'd': return Token::day;
    case 'h': return Token::hour;
    case 's': return Token::second;
    default: return Token::literal;
  }
}

bool IsDatePart(Token::Kind k) {
  return k == Token::year || k == Token::month || k == Token::day || k == Token::hour || k == Token::minute ||
         k == Token::second || k == Token::subSecond || k == Token::amPm || k == Token::elapsedHours ||
         k == Token::elapsedMinutes || k == Token::elapsedSeconds || k == Token::weekdayCn;
}

// Splits one section's code into tokens.
Section ParseSection(std::string_view code) {
  Section section;
  auto& tokens = section.tokens;
  std::size_t i = 0;
  while (i < code.size()) {
    char c = code[i];
    char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (c == '"') {
      std::size_t end = code.find('"', i + 1);
      if (end == std::string_view::npos) end = code.size();
      AddLiteral(tokens, code.substr(i + 1, end - i - 1));
      i = end + 1;
    } else if (c == '\\' || c == '_' || c == '*') {
      std::size_t n = i + 1 < code.size() ? CharLength(code, i + 1) : 0;
      if (c == '\\') AddLiteral(tokens, code.substr(i + 1, n));
      else if (c == '_') AddLiteral(tokens, " ");  // the width of the next character
      // '*' repeats its character to fill the column, whose width is not known here.
      i += 1 + n;
    } else if (c == '[') {
      std::size_t end = code.find(']', i + 1);
      if (end == std::string_view::npos) end = code.size();
      ReadBracket(code.substr(i + 1, end - i - 1), section);
      i = end + 1;
    } else if (StartsWithNoCase(code, i, "general")) {
      tokens.push_back({Token::general, {}});
      i += 7;
    } else if (c == '0' || c == '#' || c == '?') {
      tokens.push_back({Token::digit, std::string(1, c)});
      ++i;
    } else if (c == '.') {
      tokens.push_back({Token::point, {}});
      ++i;
    } else if (c == ',') {
      tokens.push_back({Token::comma, {}});
      ++i;
    } else if (c == '%') {
      tokens.push_back({Token::percent, "%"});
      ++i;
    } else if (lower == 'e' && i + 1 < code.size() && (code[i + 1] == '+' || code[i + 1] == '-')) {
      tokens.push_back({Token::exponent, std::string(1, c), code[i + 1] == '+' ? 1 : 0});
      i += 2;
    } else if (c == '@') {
      tokens.push_back({Token::at, {}});
      ++i;
    } else if (StartsWithNoCase(code, i, "am/pm")) {
      tokens.push_back({Token::amPm, std::string(code.substr(i, 5))});
      i += 5;
    } else if (StartsWithNoCase(code, i, "a/p")) {
      tokens.push_back({Token::amPm, std::string(code.substr(i, 3))});
      i += 3;
    } else if (code.substr(i).starts_with("上午/下午")) {
      tokens.push_back({Token::amPm, std::string(kAmCn)});
      i += std::strlen("上午/下午");
    } else if (lower == 'a' && StartsWithNoCase(code, i, "aaa")) {
      std::size_t n = 0;
      while (i + n < code.size() && std::tolower(static_cast<unsigned char>(code[i + n])) == 'a') ++n;
      tokens.push_back({Token::weekdayCn, {}, static_cast<int>(n)});
      i += n;
    } else if (DateKind(lower) != Token::literal) {
      std::size_t n = 0;
      while (i + n < code.size() && std::tolower(static_cast<unsigned char>(code[i + n])) == lower) ++n;
      tokens.push_back({DateKind(lower), {}, lower == 'e' ? 4 : static_cast<int>(n)});
      i += n;
    } else if (c == '/' && !tokens.empty() && tokens.back().kind == Token::digit) {
      section.fraction = true;
      ++i;
    } else {
      std::size_t n = CharLength(code, i);
      AddLiteral(tokens, code.substr(i, n));
      i += n;
    }
  }

  for (const Token& t : tokens) {
    if (IsDatePart(t.kind)) section.isDate = true;
    if (t.kind == Token::digit || t.kind == Token::general) section.hasNumber = true;
    if (t.kind == Token::at) section.hasText = true;
    if (t.kind == Token::percent) ++section.percent;
  }

  if (section.isDate) {
    // "m" next to an hour or a second is minutes; ".00" after seconds is its fraction.
    for (std::size_t k = 0; k < tokens.size(); ++k) {
      Token& t = tokens[k];
      if (t.kind == Token::month && t.count <= 2) {
        bool minute = false;
        for (std::size_t p = k; p-- > 0;) {
          auto kind = tokens[p].kind;
          if (!IsDatePart(kind)) continue;
          minute = kind == Token::hour || kind == Token::elapsedHours;
          break;
        }
        for (std::size_t n = k + 1; !minute && n < tokens.size(); ++n) {
          auto kind = tokens[n].kind;
          if (!IsDatePart(kind)) continue;
          minute = kind == Token::second || kind == Token::elapsedSeconds;
          break;
        }
        if (minute) t.kind = Token::minute;
      } else if (t.kind == Token::point && k > 0 &&
                 (tokens[k - 1].kind == Token::second || tokens[k - 1].kind == Token::elapsedSeconds) &&
                 k + 1 < tokens.size() && tokens[k + 1].kind == Token::digit && tokens[k + 1].text == "0") {
        int n = 0;
        while (k + 1 + n < tokens.size() && tokens[k + 1 + n].kind == Token::digit && tokens[k + 1 + n].text == "0")
          ++n;
        tokens.erase(tokens.begin() + static_cast<long>(k) + 1, tokens.begin() + static_cast<long>(k) + 1 + n);
        t = {Token::subSecond, {}, std::min(n, 3)};
      }
    }
    // Anything else in a date is shown as written.
    for (Token& t : tokens) {
      if (t.kind == Token::digit) t = {Token::literal, t.text};
      else if (t.kind == Token::point) t = {Token::literal, "."};
      else if (t.kind == Token::comma) t = {Token::literal, ","};
    }
    section.hasNumber = false;
    return section;
  }

  // Commas between integer placeholders group thousands; commas after the
  // last placeholder of the number divide it by a thousand each.
  std::size_t end = tokens.size();
  for (std::size_t k = 0; k < tokens.size(); ++k)
    if (tokens[k].kind == Token::exponent) end = k;
  for (std::size_t k = 0; k < tokens.size(); ++k) {
    if (tokens[k].kind != Token::comma) continue;
    bool digitBefore = false, digitAfterInInteger = false, digitAfter = false, pointBefore = false;
    for (std::size_t p = 0; p < k; ++p) {
      if (tokens[p].kind == Token::digit) digitBefore = true;
      if (tokens[p].kind == Token::point) pointBefore = true;
    }
    for (std::size_t n = k + 1; n < end; ++n) {
      if (tokens[n].kind == Token::point) break;
      if (tokens[n].kind == Token::digit) digitAfterInInteger = true;
    }
    for (std::size_t n = k + 1; n < end; ++n)
      if (tokens[n].kind == Token::digit) digitAfter = true;
    if (!digitBefore) tokens[k] = {Token::literal, ","};
    else if (!pointBefore && digitAfterInInteger) section.thousands = true;
    else if (!digitAfter && k < end) ++section.scale;
    else tokens[k] = {Token::literal, ","};
  }
  return section;
}

// Places digits into their placeholders from the right; extra digits go in
// front of the first placeholder. Serves the integer part and the exponent.
class DigitWriter {
 public:
  DigitWriter(std::string digits, int placeholders, bool thousands)
      : digits_(std::move(digits)), placeholders_(placeholders), thousands_(thousands) {}

  void Placeholder(char kind, std::string& out) {
    int position = placeholders_ - 1 - seen_++;  // from the right, 0 = units
    if (seen_ == 1)
      for (int p = static_cast<int>(digits_.size()) - 1; p > position; --p) Emit(p, Digit(p), out);
    if (position < static_cast<int>(digits_.size())) Emit(position, Digit(position), out);
    else if (kind == '0') Emit(position, '0', out);
    else if (kind == '?') out += ' ';
  }

  // The integer digits of a code without integer placeholders (".00" with 1.5).
  void Rest(std::string& out) {
    if (placeholders_ == 0)
      for (int p = static_cast<int>(digits_.size()) - 1; p >= 0; --p) Emit(p, Digit(p), out);
  }

 private:
  char Digit(int position) const { return digits_[digits_.size() - 1 - static_cast<std::size_t>(position)]; }
  void Emit(int position, char digit, std::string& out) {
    out += digit;
    if (thousands_ && position > 0 && position % 3 == 0) out += ',';
  }

  std::string digits_;
  int placeholders_;
  bool thousands_;
  int seen_ = 0;
};

std::string TwoDigits(long long v) { return platform::FormatC("%02lld", v); }

}  // namespace

NumberFormat::NumberFormat(std::string_view code) {
  // The system's long date and time: a Chinese (PRC) locale shows them so.
  std::string system;
  if (StartsWithNoCase(code, 0, "[$-F800]") || StartsWithNoCase(code, 0, "[$-x-sysdate]"))
    system = "yyyy\"年\"m\"月\"d\"日\"";
  else if (StartsWithNoCase(code, 0, "[$-F400]") || StartsWithNoCase(code, 0, "[$-x-systime]"))
    system = "h:mm:ss";
  if (!system.empty()) code = system;
  // Sections split at ';' outside quotes, brackets and escapes.
  std::size_t start = 0;
  bool quoted = false, bracket = false;
  for (std::size_t i = 0; i <= code.size(); ++i) {
    if (i == code.size() || (code[i] == ';' && !quoted && !bracket)) {
      if (sections_.size() < 4) sections_.push_back(ParseSection(code.substr(start, i - start)));
      start = i + 1;
      continue;
    }
    char c = code[i];
    if (c == '"' && !bracket) quoted = !quoted;
    else if (quoted) continue;
    else if (c == '[') bracket = true;
    else if (c == ']') bracket = false;
    else if ((c == '\\' || c == '_' || c == '*') && !bracket && i + 1 < code.size()) ++i;
  }
  // An empty code is General.
  if (code.empty()) {
    sections_[0].tokens.push_back({Token::general, {}});
    sections_[0].hasNumber = true;
  }
}

bool NumberFormat::Matches(const Section& s, double v) const {
  const char* op = s.conditionOp;
  double c = s.conditionValue;
  if (op[0] == '=') return v == c;
  if (op[0] == '<' && op[1] == '=') return v <= c;
  if (op[0] == '<' && op[1] == '>') return v != c;
  if (op[0] == '<') return v < c;
  if (op[0] == '>' && op[1] == '=') return v >= c;
  if (op[0] == '>') return v > c;
  return false;
}

std::string NumberFormat::Format(double value, bool date1904, int textPixels) const {
  if (!std::isfinite(value)) return "#NUM!";
  // Sections that apply to numbers (the fourth is for text).
  std::size_t numeric = std::min<std::size_t>(sections_.size(), 3);
  const Section* section = &sections_[0];
  bool sign = value < 0;  // whether a '-' goes in front
  bool conditional = std::any_of(sections_.begin(), sections_.begin() + static_cast<long>(numeric),
                                 [](const Section& s) { return s.hasCondition; });
  if (conditional) {
    section = nullptr;
    for (std::size_t i = 0; i < numeric && !section; ++i)
      if (sections_[i].hasCondition && Matches(sections_[i], value)) section = &sections_[i];
    for (std::size_t i = 0; i < numeric && !section; ++i)
      if (!sections_[i].hasCondition) section = &sections_[i];
    if (!section) return GeneralNumberText(value, textPixels);
  } else if (value < 0 && numeric >= 2) {
    section = &sections_[1];
    sign = false;
  } else if (value == 0 && numeric >= 3) {
    section = &sections_[2];
  }
  // General alone, a text-only section and fractions show the number fitted to its column.
  bool generalOnly = section->tokens.size() == 1 && section->tokens[0].kind == Token::general;
  if (generalOnly || section->fraction || (section->hasText && !section->hasNumber && !section->isDate))
    return GeneralNumberText(sign ? -std::fabs(value) : std::fabs(value), textPixels);
  if (section->isDate) return FormatDate(*section, value, date1904, textPixels);
  std::string text = FormatNumber(*section, std::fabs(value));
  return sign ? "-" + text : text;
}

std::string NumberFormat::FormatNumber(const Section& s, double value) const {
  for (int i = 0; i < s.percent; ++i) value *= 100;
  for (int i = 0; i < s.scale; ++i) value /= 1000;
  if (!std::isfinite(value)) return GeneralNumberText(value);
  // In two steps, so that neither power of ten runs out of range for the
  // smallest and largest numbers.
  auto shift = [](double v, int exponent) {
    return v / std::pow(10.0, exponent / 2) / std::pow(10.0, exponent - exponent / 2);
  };

  // Placeholders of the integer part, the fraction and the exponent.
  int integerCount = 0, fractionCount = 0, exponentCount = 0;
  bool afterPoint = false, afterExponent = false, integerHash = false;
  for (const Token& t : s.tokens) {
    if (t.kind == Token::point && !afterExponent) afterPoint = true;
    else if (t.kind == Token::exponent) afterExponent = true;
    else if (t.kind == Token::digit) {
      if (afterExponent) ++exponentCount;
      else if (afterPoint) ++fractionCount;
      else {
        ++integerCount;
        if (t.text == "#" && integerCount == 1) integerHash = true;
      }
    }
  }
  fractionCount = std::min(fractionCount, kMaxPlaces);

  int exponent = 0;
  if (afterExponent && value != 0) {
    int magnitude = static_cast<int>(std::floor(std::log10(value)));
    // Round first: 9.999 with one decimal becomes 10.0 and moves the exponent.
    int step = integerHash && integerCount > 1 ? integerCount : 1;
    auto exponentFor = [&](int m) {
      if (step > 1) return static_cast<int>(std::floor(static_cast<double>(m) / step)) * step;
      return m - std::max(integerCount, 1) + 1;
    };
    exponent = exponentFor(magnitude);
    std::string i, f;
    DecimalDigits(shift(value, exponent), fractionCount, i, f);
    int width = step > 1 ? step : std::max(integerCount, 1);
    if (static_cast<int>(i.size()) > width) exponent = exponentFor(magnitude + 1);
    value = shift(value, exponent);
  }

  std::string integerDigits, fractionDigits;
  DecimalDigits(value, fractionCount, integerDigits, fractionDigits);
  std::size_t lastFraction = fractionDigits.find_last_not_of('0');

  DigitWriter integer(integerDigits, integerCount, s.thousands);
  const std::string exponentDigits = std::to_string(std::abs(exponent));
  DigitWriter exponentWriter(exponentDigits, exponentCount, false);
  std::string out;
  afterPoint = afterExponent = false;
  int fractionIndex = 0;
  for (const Token& t : s.tokens) {
    switch (t.kind) {
      case Token::literal:
      case Token::percent:
        out += t.text;
        break;
      case Token::general:
        out += GeneralNumberText(value);
        break;
      case Token::point:
        if (afterExponent) break;
        integer.Rest(out);
        afterPoint = true;
        out += '.';
        break;
      case Token::exponent:
        afterExponent = true;
        out += t.text;
        if (exponent < 0) out += '-';
        else if (t.count) out += '+';
        if (exponentCount == 0) out += exponentDigits;
        break;
      case Token::digit:
        if (afterExponent) {
          exponentWriter.Placeholder(t.text[0], out);
        } else if (afterPoint) {
          if (fractionIndex >= fractionCount) break;
          std::size_t k = static_cast<std::size_t>(fractionIndex++);
          if (lastFraction != std::string::npos && k <= lastFraction) out += fractionDigits[k];
          else if (t.text == "0") out += '0';
          else if (t.text == "?") out += ' ';
        } else {
          integer.Placeholder(t.text[0], out);
        }
        break;
      default:
        break;
    }
  }
  return out;
}

std::string NumberFormat::FormatDate(const Section& s, double value, bool date1904, int textPixels) const {
  // A date outside the calendar (negative, or after 9999) fills its column with '#'.
  if (value < 0 || value >= kLastSerialDay) return HashFill(textPixels);
  int places = 0;
  bool twelveHours = false;
  for (const Token& t : s.tokens) {
    if (t.kind == Token::subSecond) places = std::max(places, t.count);
    if (t.kind == Token::amPm) twelveHours = true;
  }
  // The time is rounded to what is shown; 23:59:59.6 shows as the next day.
  const long long perSecond = places == 0 ? 1 : places == 1 ? 10 : places == 2 ? 100 : 1000;
  const long long perDay = 86400 * perSecond;
  long long ticks = static_cast<long long>(std::floor(value * static_cast<double>(perDay) + 0.5));
  long long days = ticks / perDay;
  long long inDay = ticks % perDay;
  long long subSecond = inDay % perSecond;
  long long seconds = inDay / perSecond;
  long long hour = seconds / 3600, minute = seconds / 60 % 60, second = seconds % 60;
  long long totalSeconds = ticks / perSecond;
  SerialDate date = SerialDate::FromDays(days, date1904);

  bool elapsedHours = false, elapsedMinutes = false;
  for (const Token& t : s.tokens) {
    if (t.kind == Token::elapsedHours) elapsedHours = true;
    if (t.kind == Token::elapsedMinutes) elapsedMinutes = true;
  }
  std::string out;
  for (const Token& t : s.tokens) {
    switch (t.kind) {
      case Token::literal:
      case Token::percent:
        out += t.text;
        break;
      case Token::year:
        out += t.count <= 2 ? TwoDigits(date.year % 100) : platform::FormatC("%04d", date.year);
        break;
      case Token::month:
        if (t.count == 1) out += std::to_string(date.month);
        else if (t.count == 2) out += TwoDigits(date.month);
        else if (t.count == 3) out += std::string(kMonths[date.month - 1], 3);
        else if (t.count == 5) out += kMonths[date.month - 1][0];
        else out += kMonths[date.month - 1];
        break;
      case Token::day:
        if (t.count == 1) out += std::to_string(date.day);
        else if (t.count == 2) out += TwoDigits(date.day);
        else if (t.count == 3) out += std::string(kDays[date.weekday], 3);
        else out += kDays[date.weekday];
        break;
      case Token::weekdayCn:
        out += t.count >= 4 ? std::string("星期") + kDaysCn[date.weekday] : kDaysCn[date.weekday];
        break;
      case Token::hour: {
        long long h = hour;
        if (twelveHours) h = h % 12 == 0 ? 12 : h % 12;
        out += t.count == 1 ? std::to_string(h) : TwoDigits(h);
        break;
      }
      case Token::minute: {
        long long m = elapsedMinutes ? totalSeconds / 60 : minute;
        out += t.count == 1 ? std::to_string(m) : TwoDigits(m);
        break;
      }
      case Token::second: {
        out += t.count == 1 ? std::to_string(second) : TwoDigits(second);
        break;
      }
      case Token::subSecond: {
        long long digits = subSecond;
        for (int p = places; p > t.count; --p) digits /= 10;
        out += '.' + platform::FormatC("%0*lld", t.count, digits);
        break;
      }
      case Token::elapsedHours:
        out += platform::FormatC("%0*lld", std::min(t.count, kMaxPlaces), totalSeconds / 3600);
        break;
      case Token::elapsedMinutes: {
        long long m = elapsedHours ? minute : totalSeconds / 60;
        out += platform::FormatC("%0*lld", std::min(t.count, kMaxPlaces), m);
        break;
      }
      case Token::elapsedSeconds: {
        long long sec = elapsedHours || elapsedMinutes ? second : totalSeconds;
        out += platform::FormatC("%0*lld", std::min(t.count, kMaxPlaces), sec);
        break;
      }
      case Token::amPm: {
        bool pm = hour >= 12;
        if (t.text == kAmCn) out += pm ? kPmCn : kAmCn;
        else if (t.text.size() == 3) out += t.text[pm ? 2 : 0];  // A/P as written
        else out += pm ? t.text.substr(3, 2) : t.text.substr(0, 2);  // AM/PM as written
        break;
      }
      default:
        break;
    }
  }
  return out;
}

std::string NumberFormat::FormatText(std::string_view text) const {
  const Section* section = nullptr;
  if (sections_.size() >= 4) section = &sections_[3];
  else if (sections_.size() == 1 && sections_[0].hasText) section = &sections_[0];
  if (!section) return std::string(text);
  std::string out;
  for (const Token& t : section->tokens) {
    if (t.kind == Token::literal) out += t.text;
    else if (t.kind == Token::at) out += text;
  }
  return out;
}

}  // namespace tabrion
