// The characters a big font for GB2312 text holds: the symbol rows and the
// 6763 characters, in code order, each with the character code page 936
// gives it; empty and user-defined cells are left out.
#include "tools/bigfont/Gb2312Characters.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace {

TEST(Gb2312Characters, HoldTheCharactersOfTheRangeInCodeOrder) {
  const std::vector<Gb2312Character> all = Gb2312Characters();
  std::map<std::uint16_t, char32_t> byCode;
  for (const Gb2312Character& c : all) byCode[c.code] = c.unicode;
  EXPECT_EQ(byCode.size(), all.size());
  EXPECT_TRUE(std::is_sorted(all.begin(), all.end(), [](const auto& a, const auto& b) { return a.code < b.code; }));

  const std::pair<std::uint16_t, char32_t> known[] = {{0xA1A1, U'\u3000'}, {0xA1A3, U'\u3002'}, {0xA3C1, U'\uFF21'},
                                                       {0xB0A1, U'\u554A'}, {0xC4E3, U'\u4F60'}, {0xBAC3, U'\u597D'},
                                                       {0xD6D0, U'\u4E2D'}, {0xF7FE, U'\u9F44'}};
  for (const auto& [code, unicode] : known) EXPECT_EQ(byCode[code], unicode) << std::hex << code;

  int characters = 0;
  for (const Gb2312Character& c : all) {
    const int lead = c.code >> 8, trail = c.code & 0xFF;
    EXPECT_TRUE((lead >= 0xA1 && lead <= 0xA9) || (lead >= 0xB0 && lead <= 0xF7)) << std::hex << c.code;
    EXPECT_TRUE(trail >= 0xA1 && trail <= 0xFE) << std::hex << c.code;
    EXPECT_FALSE(c.unicode >= 0xE000 && c.unicode <= 0xF8FF) << std::hex << c.code << " is user-defined";
    if (lead >= 0xB0) ++characters;
  }
  EXPECT_EQ(characters, 6763);
}

}  // namespace
