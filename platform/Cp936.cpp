#include "platform/Cp936.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>

namespace platform {
namespace {

// An iconv descriptor per thread and direction: descriptors carry state and
// may not be shared between threads.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // skip tells how many input bytes an unconvertible sequence at p spans.
  template <typename SkipFn>
  std::string Convert(std::string_view in, SkipFn skip) {
    std::string out;
    if (cd_ == reinterpret_cast<iconv_t>(-1)) {
      for (char c : in) out.push_back(static_cast<unsigned char>(c) < 0x80 ? c : '?');
      return out;
    }
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char* src = const_cast<char*>(in.data());
    std::size_t left = in.size();
    char buffer[512];
    while (left > 0) {
      char* dst = buffer;
      std::size_t room = sizeof buffer;
      const std::size_t r = iconv(cd_, &src, &left, &dst, &room);
      out.append(buffer, static_cast<std::size_t>(dst - buffer));
      if (r != static_cast<std::size_t>(-1)) continue;
      if (errno == E2BIG) continue;
      // Invalid or cut-off sequence: one '?' for it, then go on after it.
      out.push_back('?');
      const std::size_t n = errno == EINVAL ? left : std::min(left, skip(src, left));
      src += n;
      left -= n;
      iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    }
    char* dst = buffer;
    std::size_t room = sizeof buffer;
    iconv(cd_, nullptr, nullptr, &dst, &room);
    out.append(buffer, static_cast<std::size_t>(dst - buffer));
    return out;
  }

 private:
  iconv_t cd_;
};

std::size_t Utf8SequenceLength(const char* p, std::size_t left) {
  const unsigned char lead = static_cast<unsigned char>(*p);
  std::size_t n = 1;
  if (lead >= 0xF0 && lead <= 0xF4) n = 4;
  else if (lead >= 0xE0) n = lead <= 0xEF ? 3 : 1;
  else if (lead >= 0xC2) n = 2;
  // Stop at the first byte that is not a continuation byte.
  std::size_t i = 1;
  while (i < n && i < left && (static_cast<unsigned char>(p[i]) & 0xC0) == 0x80) ++i;
  return i;
}

std::size_t OneByte(const char*, std::size_t) { return 1; }

}  // namespace

std::string Cp936ToUtf8(std::string_view gbk) {
  thread_local Converter converter("UTF-8", "CP936");
  return converter.Convert(gbk, OneByte);
}

std::string Utf8ToCp936(std::string_view utf8) {
  thread_local Converter converter("CP936", "UTF-8");
  return converter.Convert(utf8, Utf8SequenceLength);
}

}  // namespace platform
