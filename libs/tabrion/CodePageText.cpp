#include "libs/tabrion/CodePageText.h"

#include <iconv.h>

#include <string>

#include "platform/Cp936.h"

namespace tabrion {
namespace {

std::string Latin1ToUtf8(std::string_view bytes) {
  std::string out;
  for (unsigned char c : bytes) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else {
      out += static_cast<char>(0xC0 | c >> 6);
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

}  // namespace

std::string CodePageToUtf8(std::string_view bytes, int codePage) {
  bool ascii = true;
  for (unsigned char c : bytes) ascii = ascii && c < 0x80;
  if (ascii) return std::string(bytes);
  if (codePage == 936) return platform::Cp936ToUtf8(bytes);
  std::string name = codePage == 0x8000 ? "MACINTOSH" : "CP" + std::to_string(codePage == 0x8001 ? 1252 : codePage);
  iconv_t cd = iconv_open("UTF-8", name.c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) return Latin1ToUtf8(bytes);
  std::string out;
  char* src = const_cast<char*>(bytes.data());
  std::size_t left = bytes.size();
  while (left > 0) {
    char buffer[256];
    char* dst = buffer;
    std::size_t room = sizeof buffer;
    std::size_t r = iconv(cd, &src, &left, &dst, &room);
    out.append(buffer, static_cast<std::size_t>(dst - buffer));
    if (r == static_cast<std::size_t>(-1) && dst == buffer) {
      // Nothing converted: one '?' for the byte that stops it.
      out += '?';
      ++src;
      --left;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
  }
  iconv_close(cd);
  return out;
}

}  // namespace tabrion
