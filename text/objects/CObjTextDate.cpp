#include "text/objects/CObjTextDate.h"

#include "document/mrk/MrkKeys.h"
#include "document/mrk/MrkLineWriter.h"
#include "platform/Clock.h"
#include "platform/NumberText.h"

namespace {

constexpr char kKeyFormat[] = "145;\xc8\xd5\xc6\xda\xb8\xf1\xca\xbd";  // 日期格式

// "%d", with a "0" in front below 10.
std::string TwoDigits(int v) { return v < 10 ? platform::FormatC("0%d", v) : platform::FormatC("%d", v); }

}  // namespace

CObjTextDate::CObjTextDate() = default;

// The text is the object's own date, not the name the tool was given (the
// program's name table shows some formats shorter): a new date shows what it
// shows again once saved and reopened.
CObjTextDate::CObjTextDate(const TextCreateRecord& record, int format)
    : CObjText(TextCreateRecord{record.point, FormatDate(platform::CurrentClock().LocalTime(), format)}),
      format_(format) {}

void CObjTextDate::CopyFrom(const CObjTextDate& other) {
  CObjText::CopyFrom(other);
  format_ = other.format_;
}

std::string CObjTextDate::FormatDate() const { return FormatDate(platform::CurrentClock().LocalTime(), format_); }

std::string CObjTextDate::FormatDate(const std::tm& t, int format) {
  const int year = t.tm_year + 1900;
  const std::string yyyy = platform::FormatC("%d", year);
  const std::string yy = yyyy.size() >= 4 ? yyyy.substr(2, 2) : yyyy;
  const std::string mm = TwoDigits(t.tm_mon + 1);
  const std::string dd = TwoDigits(t.tm_mday);
  const std::string hh = TwoDigits(t.tm_hour);
  const std::string mi = TwoDigits(t.tm_min);
  const std::string ss = TwoDigits(t.tm_sec);
  switch (format) {
    case 0: return yy + "Y" + mm + "M";
    case 1: return yy + "." + mm;
    case 2: return yyyy + "Y" + mm + "M" + dd + "D";
    case 3: return yyyy + "." + mm + "." + dd;
    case 4: return yyyy + "Y" + mm + "M" + dd + "D" + hh + "H";
    case 5: return yyyy + mm + dd;
    case 6: return yy + " " + mm;
    case 7: return yyyy + " " + mm;
    case 8: return yyyy + " " + mm + " " + dd;
    case 9: return yy + mm;
    case 10: return yyyy + mm + dd;
    case 11: {
      // A letter per year from 2010 ("A"), the year's digits before.
      const std::string code =
          year >= 2010 ? std::string(1, static_cast<char>(year - 1945)) : platform::FormatC("%d", year - 2000);
      return code + mm + dd;
    }
    case 12: return hh + mi + ss;
    default: return {};
  }
}

std::string CObjTextDate::UpdateText(const std::string& name, const std::array<std::string, kDateFormatCount>& names) {
  Changed();
  for (int i = 0; i < kDateFormatCount; ++i) {
    if (names[static_cast<std::size_t>(i)] == name) {
      format_ = i;
      break;
    }
  }
  if (format_ > 12) format_ = 0;
  return FormatDate();
}

void CObjTextDate::Write(MrkLineWriter& out) const {
  out.WriteClassBegin("CObjTextDate");
  WriteCommonKeys(out);
  out.WriteInt(kKeyFormat, format_);
  out.WriteClassEnd();
}

void CObjTextDate::SetProperty(int key, const MrkValue& v) {
  if (key == 145) {
    format_ = v.i;
  } else {
    CObjText::SetProperty(key, v);
  }
}
