#pragma once
// Number formats that workbooks name by number only (ids below 164 that no
// format record or numFmt element spells out). The locale-dependent ones are
// those a spreadsheet program in a Chinese (PRC) locale shows: the short date
// is "yyyy/m/d".
#include <string>

namespace tabrion {

// The format code of a built-in format id, UTF-8; General for ids without one.
std::string BuiltInFormatCode(int id);

}  // namespace tabrion
