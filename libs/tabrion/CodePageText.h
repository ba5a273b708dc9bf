#pragma once
// 8-bit text of an Excel 5/95 workbook, in the code page its CODEPAGE record
// names, as UTF-8.
#include <string>
#include <string_view>

namespace tabrion {

// Code page 936 goes through the platform's converter; others through iconv
// by their Windows number. Bytes that do not convert become '?'; a code page
// iconv does not know is read as Latin-1.
std::string CodePageToUtf8(std::string_view bytes, int codePage);

}  // namespace tabrion
