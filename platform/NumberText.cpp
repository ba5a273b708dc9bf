#include "platform/NumberText.h"

#include <clocale>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <locale.h>
#include <string>

namespace platform {
namespace {

// One "C" locale object for the whole process; per-call uselocale keeps other
// threads' locales untouched.
locale_t CLocale() {
  static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  return c;
}

class ScopedCLocale {
 public:
  ScopedCLocale() : previous_(uselocale(CLocale())) {}
  ~ScopedCLocale() { uselocale(previous_); }
  ScopedCLocale(const ScopedCLocale&) = delete;
  ScopedCLocale& operator=(const ScopedCLocale&) = delete;

 private:
  locale_t previous_;
};

}  // namespace

std::string FormatC(const char* format, ...) {
  ScopedCLocale scoped;
  char small[256];
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  const int n = std::vsnprintf(small, sizeof small, format, args);
  va_end(args);
  std::string out;
  if (n < 0) {
    va_end(copy);
    return out;
  }
  if (static_cast<std::size_t>(n) < sizeof small) {
    out.assign(small, static_cast<std::size_t>(n));
  } else {
    out.resize(static_cast<std::size_t>(n) + 1);
    std::vsnprintf(out.data(), out.size(), format, copy);
    out.resize(static_cast<std::size_t>(n));
  }
  va_end(copy);
  return out;
}

double ParseDoubleC(std::string_view text, bool* ok) {
  const std::string buffer(text);  // strtod needs a terminated string
  char* end = nullptr;
  const double value = strtod_l(buffer.c_str(), &end, CLocale());
  if (ok) *ok = end != buffer.c_str();
  return end != buffer.c_str() ? value : 0.0;
}

long long ParseIntC(std::string_view text, bool* ok) {
  const std::string buffer(text);
  char* end = nullptr;
  const long long value = strtoll_l(buffer.c_str(), &end, 10, CLocale());
  if (ok) *ok = end != buffer.c_str();
  return end != buffer.c_str() ? value : 0;
}

}  // namespace platform
