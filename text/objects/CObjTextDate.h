#pragma once
// Type 15: the local date or time in one of 13 formats. The text is made
// from the clock when the object is loaded, copied and refreshed; only the
// format code is the object's own.
#include <array>
#include <ctime>
#include <string>

#include "text/objects/CObjText.h"

class MrkLineWriter;
struct MrkValue;
struct CObjTypeOps;

constexpr int kDateFormatCount = 13;

class CObjTextDate : public CObjText {
 public:
  // Loading and duplication: format 10 (yyyymmdd).
  CObjTextDate();
  // The layout view's date tool: the text is the clock's date in the format,
  // whatever the record's text.
  CObjTextDate(const TextCreateRecord& record, int format);

  int GetFormat() const { return format_; }
  void SetFormat(int format) {
    Changed();
    format_ = format;
  }
  void CopyFrom(const CObjTextDate& other);

  // The clock's local time in the object's format; empty for a code outside 0..12.
  std::string FormatDate() const;
  static std::string FormatDate(const std::tm& local, int format);
  // Takes the index of the first name equal to the given one as the format
  // (no match keeps it; a code above 12 becomes 0) and returns FormatDate.
  // The names are the program's table of format names.
  std::string UpdateText(const std::string& name, const std::array<std::string, kDateFormatCount>& names);

  void Write(MrkLineWriter& out) const;
  void SetProperty(int key, const MrkValue& value);
  void SetStringProperty(int key, const std::string& value) { CObjText::SetStringProperty(key, value); }

 private:
  int format_ = 10;  // [145]
};

// Dispatch table of the date (type 15); registered at start-up.
const CObjTypeOps& TextDateTypeOps();
