#include "tools/bigfont/Gb2312Characters.h"

#include <iconv.h>

namespace {

// The rows that hold symbols (0xA1..0xA9) and characters (0xB0..0xF7).
bool IsAssignedRow(int lead) { return (lead >= 0xA1 && lead <= 0xA9) || (lead >= 0xB0 && lead <= 0xF7); }

bool IsPrivateUse(char32_t c) { return c >= 0xE000 && c <= 0xF8FF; }

}  // namespace

std::vector<Gb2312Character> Gb2312Characters() {
  std::vector<Gb2312Character> out;
  const iconv_t cd = iconv_open("UTF-32LE", "CP936");
  if (cd == reinterpret_cast<iconv_t>(-1)) return out;
  for (int lead = 0xA1; lead <= 0xFE; ++lead) {
    if (!IsAssignedRow(lead)) continue;
    for (int trail = 0xA1; trail <= 0xFE; ++trail) {
      char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
      unsigned char result[8] = {};
      char* src = in;
      char* dst = reinterpret_cast<char*>(result);
      std::size_t inLeft = sizeof in;
      std::size_t outLeft = sizeof result;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
      if (iconv(cd, &src, &inLeft, &dst, &outLeft) == static_cast<std::size_t>(-1) || outLeft != 4) continue;
      const char32_t c = result[0] | (result[1] << 8) | (result[2] << 16) | (static_cast<char32_t>(result[3]) << 24);
      if (IsPrivateUse(c)) continue;
      out.push_back({static_cast<std::uint16_t>(lead * 256 + trail), c});
    }
  }
  iconv_close(cd);
  return out;
}
