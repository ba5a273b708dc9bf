#pragma once
// Documents keep their text as code page 936 (GBK) bytes; these convert only at
// the user-interface edge. Bytes that do not convert become '?'.
#include <string>
#include <string_view>

namespace platform {

std::string Cp936ToUtf8(std::string_view gbk);
std::string Utf8ToCp936(std::string_view utf8);

}  // namespace platform
