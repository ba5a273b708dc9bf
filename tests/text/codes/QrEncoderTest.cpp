// QR symbols are read back with a small reader written from the symbol's
// rules (function areas, format and version words, mask formulas, zigzag,
// block layout, Reed-Solomon syndromes, segment headers), so a wrong table
// entry or placement step shows up as an unreadable symbol or a wrong text.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "document/geometry/CPointList.h"
#include "text/codes/CQrEncoder.h"

namespace {

struct Gf {
  int exp[512];
  int log[256];
  Gf() {
    int v = 1;
    for (int i = 0; i < 255; ++i) {
      exp[i] = exp[i + 255] = v;
      log[v] = i;
      v <<= 1;
      if (v & 0x100) v ^= 0x11D;
    }
  }
  int Mul(int a, int b) const { return (a && b) ? exp[log[a] + log[b]] : 0; }
};
const Gf gf;

// Block layout by hand from the standard's error-correction table.
struct Blocks {
  int version, level, firstCount, firstTotal, firstData, secondCount, secondTotal, secondData;
};
const Blocks kBlocks[] = {
    {1, 1, 1, 26, 16, 0, 0, 0},    {1, 0, 1, 26, 19, 0, 0, 0},     {1, 3, 1, 26, 9, 0, 0, 0},
    {5, 2, 2, 33, 15, 2, 34, 16},  {7, 0, 2, 98, 78, 0, 0, 0},     {10, 1, 4, 69, 43, 1, 70, 44},
    {13, 1, 8, 59, 37, 1, 60, 38}, {40, 3, 20, 45, 15, 61, 46, 16}, {40, 0, 19, 148, 118, 6, 149, 119},
};

struct Reading {
  bool ok = false;
  std::string error;
  int version = 0, level = -1, mask = -1;
  std::string text;
};

class QrReader {
 public:
  explicit QrReader(const CQrEncoder& qr) : qr_(qr), size_(qr.GetSymbolSize()), version_((size_ - 17) / 4) {
    if (version_ >= 2) {
      const int n = version_ / 7 + 2;
      const int step = version_ == 32 ? 26 : (version_ * 4 + n * 2 + 1) / (n * 2 - 2) * 2;
      align_.assign(n, 6);
      for (int i = n - 1, pos = size_ - 7; i >= 1; --i, pos -= step) align_[i] = pos;
    }
  }

  bool Function(int x, int y) const {
    if ((x < 9 && y < 9) || (x >= size_ - 8 && y < 9) || (x < 9 && y >= size_ - 8)) return true;
    if (x == 6 || y == 6) return true;
    if (version_ >= 7 && ((x >= size_ - 11 && x < size_ - 8 && y < 6) || (y >= size_ - 11 && y < size_ - 8 && x < 6)))
      return true;
    const int n = static_cast<int>(align_.size());
    for (int i = 0; i < n; ++i)
      for (int j = 0; j < n; ++j) {
        if ((i == 0 && j == 0) || (i == 0 && j == n - 1) || (i == n - 1 && j == 0)) continue;
        if (std::abs(x - align_[i]) <= 2 && std::abs(y - align_[j]) <= 2) return true;
      }
    return false;
  }

  int FormatCopy(int copy) const {
    int bits = 0;
    auto take = [&](int x, int y, int i) { bits |= (qr_.IsDark(x, y) ? 1 : 0) << i; };
    if (copy == 0) {
      for (int i = 0; i <= 5; ++i) take(8, i, i);
      take(8, 7, 6);
      take(8, 8, 7);
      take(7, 8, 8);
      for (int i = 9; i < 15; ++i) take(14 - i, 8, i);
    } else {
      for (int i = 0; i < 8; ++i) take(size_ - 1 - i, 8, i);
      for (int i = 8; i < 15; ++i) take(8, size_ - 15 + i, i);
    }
    return bits;
  }

  int VersionBlock(bool transposed) const {
    int bits = 0;
    for (int i = 0; i < 18; ++i) {
      const int a = size_ - 11 + i % 3;
      const int b = i / 3;
      bits |= (transposed ? qr_.IsDark(b, a) : qr_.IsDark(a, b)) << i;
    }
    return bits;
  }

  Reading Read() const {
    Reading r;
    r.version = version_;
    const int format = FormatCopy(0);
    if (format != FormatCopy(1)) return Fail(r, "format copies differ");
    if (!qr_.IsDark(8, size_ - 8)) return Fail(r, "dark module missing");
    for (int level = 0; level < 4; ++level)
      for (int mask = 0; mask < 8; ++mask)
        if (QrFormatBits(level, mask) == format) r.level = level, r.mask = mask;
    if (r.level < 0) return Fail(r, "format word not valid");
    if (version_ >= 7 && (VersionBlock(false) != QrVersionBits(version_) || VersionBlock(true) != QrVersionBits(version_)))
      return Fail(r, "version blocks wrong");

    std::vector<int> bits;
    for (int right = size_ - 1; right >= 1; right -= 2) {
      if (right == 6) right = 5;
      const bool up = ((size_ - 1 - right) / 2) % 2 == 0;
      for (int k = 0; k < size_; ++k) {
        const int y = up ? size_ - 1 - k : k;
        for (int x : {right, right - 1}) {
          if (Function(x, y)) continue;
          const int i = y;
          const int j = x;
          bool flip = false;
          switch (r.mask) {
            case 0: flip = (i + j) % 2 == 0; break;
            case 1: flip = i % 2 == 0; break;
            case 2: flip = j % 3 == 0; break;
            case 3: flip = (i + j) % 3 == 0; break;
            case 4: flip = (i / 2 + j / 3) % 2 == 0; break;
            case 5: flip = (i * j) % 2 + (i * j) % 3 == 0; break;
            case 6: flip = ((i * j) % 2 + (i * j) % 3) % 2 == 0; break;
            case 7: flip = ((i * j) % 3 + (i + j) % 2) % 2 == 0; break;
          }
          bits.push_back(qr_.IsDark(x, y) != flip);
        }
      }
    }
    std::vector<int> codewords(bits.size() / 8);
    for (std::size_t k = 0; k < codewords.size() * 8; ++k) codewords[k / 8] = codewords[k / 8] * 2 + bits[k];
    if (static_cast<int>(codewords.size()) != qr_.GetTotalCodewords()) return Fail(r, "codeword count");
    for (std::size_t k = 0; k < codewords.size(); ++k)
      if (codewords[k] != qr_.GetFinalCodewords()[k]) return Fail(r, "placed codeword differs");

    const Blocks* layout = nullptr;
    for (const Blocks& b : kBlocks)
      if (b.version == version_ && b.level == r.level) layout = &b;
    std::vector<int> stream;
    if (layout != nullptr) {
      const int groups = layout->firstCount + layout->secondCount;
      const int ecc = layout->firstTotal - layout->firstData;
      std::vector<std::vector<int>> blocks(groups);
      auto dataOf = [&](int k) { return k < layout->firstCount ? layout->firstData : layout->secondData; };
      const int longest = layout->secondCount ? layout->secondData : layout->firstData;
      int pos = 0;
      for (int j = 0; j < longest; ++j)
        for (int k = 0; k < groups; ++k)
          if (j < dataOf(k)) blocks[k].push_back(codewords[pos++]);
      for (const auto& b : blocks) stream.insert(stream.end(), b.begin(), b.end());
      for (int j = 0; j < ecc; ++j)
        for (int k = 0; k < groups; ++k) blocks[k].push_back(codewords[pos++]);
      for (const auto& b : blocks)
        for (int root = 0; root < ecc; ++root) {
          int s = 0;
          for (int c : b) s = gf.Mul(s, gf.exp[root]) ^ c;
          if (s != 0) return Fail(r, "block syndrome not zero");
        }
    } else {
      stream.assign(qr_.GetDataCodewords(), qr_.GetDataCodewords() + QrDataCodewords(version_, r.level));
    }

    // Segments.
    const int group = version_ <= 9 ? 0 : (version_ <= 26 ? 1 : 2);
    const int countBits[4][3] = {{10, 12, 14}, {9, 11, 13}, {8, 16, 16}, {8, 10, 12}};
    std::size_t at = 0;
    auto get = [&](int n) {
      int v = 0;
      for (int k = 0; k < n; ++k, ++at) v = v * 2 + ((at / 8 < stream.size()) ? (stream[at / 8] >> (7 - at % 8)) & 1 : 0);
      return v;
    };
    const char* alnum = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ $%*+-./:";
    while (at + 4 <= stream.size() * 8) {
      const int mode = get(4);
      if (mode == 0) break;
      const int m = mode == 1 ? 0 : mode == 2 ? 1 : mode == 4 ? 2 : mode == 8 ? 3 : -1;
      if (m < 0) return Fail(r, "unknown mode");
      int count = get(countBits[m][group]);
      for (; m == 0 && count > 0; count -= 3) {  // 3, 2 or 1 digits in 10, 7 or 4 bits
        const int n = std::min(count, 3);
        const std::string digits = std::to_string(get(3 * n + 1));
        r.text += std::string(n - digits.size(), '0') + digits;
      }
      for (; m == 1 && count > 0; count -= 2) {
        const int v = get(count >= 2 ? 11 : 6);
        if (count >= 2) r.text += alnum[v / 45];
        r.text += alnum[count >= 2 ? v % 45 : v];
      }
      for (; m == 2 && count > 0; --count) r.text += static_cast<char>(get(8));
      for (; m == 3 && count > 0; --count) {
        const int v = get(13);
        int word = (v / 0xC0) * 256 + v % 0xC0;
        word += word + 0x8140 <= 0x9FFC ? 0x8140 : 0xC140;
        r.text += static_cast<char>(word >> 8);
        r.text += static_cast<char>(word & 0xFF);
      }
    }
    r.ok = true;
    return r;
  }

 private:
  static Reading Fail(Reading r, const char* why) {
    r.error = why;
    return r;
  }
  const CQrEncoder& qr_;
  int size_;
  int version_;
  std::vector<int> align_;
};

std::unique_ptr<CQrEncoder> Encoded(int level, int version, int mask, const std::string& text, int autoExtend = 1) {
  auto qr = std::make_unique<CQrEncoder>();
  EXPECT_EQ(1, qr->Encode(level, version, autoExtend, mask, text.data(), static_cast<int>(text.size()))) << text;
  return qr;
}

void ExpectReadsBack(const CQrEncoder& qr, const std::string& text, int level) {
  const Reading r = QrReader(qr).Read();
  ASSERT_TRUE(r.ok) << r.error << " version " << qr.GetVersion();
  EXPECT_EQ(level, r.level);
  EXPECT_EQ(qr.GetMask(), r.mask);
  EXPECT_EQ(text, r.text);
}

}  // namespace

TEST(QrEncoder, NumericVersionOneMatchesTheWorkedExample) {
  auto qr = Encoded(1, 0, -1, "01234567");
  EXPECT_EQ(1, qr->GetVersion());
  EXPECT_EQ(21, qr->GetSymbolSize());
  ASSERT_EQ(1, qr->GetRunCount());
  EXPECT_EQ(QR_NUMERIC, qr->GetRunMode(0));
  // 4 + 10 + 27 bits of segment, then the 4-bit terminator.
  EXPECT_EQ(45, qr->GetBitCount());
  const std::vector<int> expected = {0x10, 0x20, 0x0C, 0x56, 0x61, 0x80, 0xEC, 0x11, 0xEC, 0x11, 0xEC, 0x11, 0xEC,
                                     0x11, 0xEC, 0x11, 0xA5, 0x24, 0xD4, 0xC1, 0xED, 0x36, 0xC7, 0x87, 0x2C, 0x55};
  ASSERT_EQ(26, qr->GetTotalCodewords());
  for (int k = 0; k < 26; ++k) EXPECT_EQ(expected[k], qr->GetFinalCodewords()[k]) << "codeword " << k;
  ExpectReadsBack(*qr, "01234567", 1);
}

TEST(QrEncoder, FormatAndVersionWordsAreTheStandardOnes) {
  EXPECT_EQ(0x5412, QrFormatBits(1, 0));  // M, mask 0: only the XOR pattern remains
  EXPECT_EQ(0x77C4, QrFormatBits(0, 0));  // L, mask 0
  EXPECT_EQ(0x083B, QrFormatBits(3, 7));  // H, mask 7
  EXPECT_EQ(0x07C94, QrVersionBits(7));
  EXPECT_EQ(0x28C69, QrVersionBits(40));

  auto qr = Encoded(2, 0, 5, "HELLO WORLD");
  EXPECT_EQ(5, qr->GetMask());
  QrReader reader(*qr);
  EXPECT_EQ(QrFormatBits(2, 5), reader.FormatCopy(0));
  EXPECT_EQ(QrFormatBits(2, 5), reader.FormatCopy(1));

  // Version 6 has no version blocks: those modules carry data.
  auto v6 = Encoded(1, 6, -1, "V6");
  auto v7 = Encoded(1, 7, -1, "V7");
  ExpectReadsBack(*v6, "V6", 1);
  ExpectReadsBack(*v7, "V7", 1);
  EXPECT_EQ(0x07C94, QrReader(*v7).VersionBlock(false));
  EXPECT_EQ(0x07C94, QrReader(*v7).VersionBlock(true));
}

TEST(QrEncoder, AutomaticMaskIsTheFirstLowestPenalty) {
  // T115 and T219 have a later mask with the same lowest penalty.
  for (const char* text : {"01234567", "HTTPS://EXAMPLE.COM/A1", "mixed Text 123", "T115", "T219"}) {
    int penalties[8];
    for (int m = 0; m < 8; ++m) {
      auto forced = Encoded(1, 0, m, text);
      penalties[m] = CQrEncoder::Penalty(forced->GetMatrix(), forced->GetSymbolSize());
    }
    int best = 0;
    for (int m = 1; m < 8; ++m)
      if (penalties[m] < penalties[best]) best = m;
    auto automatic = Encoded(1, 0, -1, text);
    EXPECT_EQ(best, automatic->GetMask()) << text;
  }
  // The worked example's symbol uses mask 2.
  EXPECT_EQ(2, Encoded(1, 0, -1, "01234567")->GetMask());
}

TEST(QrEncoder, PenaltyRules) {
  std::uint8_t m[QR_MAX_SIZE][QR_MAX_SIZE] = {};
  // All light, 21 x 21: runs 19 per row and column, 400 blocks, balance 10 * (50 / 5).
  EXPECT_EQ(2 * 21 * 19 + 400 * 3 + 100, CQrEncoder::Penalty(m, 21));
  for (int x = 0; x < 21; ++x)
    for (int y = 0; y < 21; ++y) m[x][y] = (x + y) % 2 == 0;
  EXPECT_EQ(0, CQrEncoder::Penalty(m, 21));
  // A finder-like row 1011101 at the left edge of row 0, light after it.
  for (int x = 0; x < 21; ++x) m[x][0] = 0;
  const int pattern[7] = {1, 0, 1, 1, 1, 0, 1};
  for (int x = 0; x < 7; ++x) m[x][0] = pattern[x];
  const int withPattern = CQrEncoder::Penalty(m, 21);
  m[0][0] = 0;  // the pattern broken; runs, blocks and balance stay the same
  EXPECT_EQ(40, withPattern - CQrEncoder::Penalty(m, 21));
}

// The penalty counted module by module, the rules as written: runs of five
// or more, 2 x 2 blocks, 1011101 with light beside it and four light modules
// on one side (outside the symbol is light), dark balance.
int PlainPenalty(const std::uint8_t (&m)[QR_MAX_SIZE][QR_MAX_SIZE], int size) {
  auto dark = [&](bool rows, int line, int k) { return (rows ? m[k][line] : m[line][k]) != 0; };
  auto light = [&](bool rows, int line, int k) { return k < 0 || k >= size || !dark(rows, line, k); };
  int score = 0, darkCount = 0;
  for (const bool rows : {true, false})
    for (int line = 0; line < size; ++line) {
      for (int k = 0; k < size;) {
        int e = k;
        while (e < size && dark(rows, line, e) == dark(rows, line, k)) ++e;
        if (e - k >= 5) score += e - k - 2;
        k = e;
      }
      static const int kPattern[7] = {1, 0, 1, 1, 1, 0, 1};
      for (int p = 0; p + 7 <= size; ++p) {
        bool match = light(rows, line, p - 1) && light(rows, line, p + 7);
        for (int q = 0; q < 7 && match; ++q) match = dark(rows, line, p + q) == (kPattern[q] == 1);
        if (!match) continue;
        bool before = true, after = true;
        for (int q = 2; q <= 4; ++q) {
          before = before && light(rows, line, p - q);
          after = after && light(rows, line, p + 6 + q);
        }
        if (before || after) score += 40;
      }
    }
  for (int x = 0; x < size; ++x)
    for (int y = 0; y < size; ++y) {
      darkCount += m[x][y] != 0;
      if (x + 1 < size && y + 1 < size) {
        const int sum = (m[x][y] != 0) + (m[x + 1][y] != 0) + (m[x][y + 1] != 0) + (m[x + 1][y + 1] != 0);
        if (sum == 0 || sum == 4) score += 3;
      }
    }
  return score + 10 * (std::abs(50 - (100 * (size * size - darkCount)) / (size * size)) / 5);
}

TEST(QrEncoder, PenaltyMatchesTheModuleByModuleCount) {
  std::mt19937 rng(24);
  static std::uint8_t m[QR_MAX_SIZE][QR_MAX_SIZE];
  for (int trial = 0; trial < 200; ++trial) {
    const int size = 21 + 4 * static_cast<int>(rng() % 40);
    const unsigned density = 1 + rng() % 7;  // of 8: sparse to dense
    for (int x = 0; x < size; ++x)
      for (int y = 0; y < size; ++y) m[x][y] = (rng() % 8) < density ? 1 : 0;
    // Finder-like rows and columns at the edges and inside, some with too little light around.
    for (int k = 0; k < 6; ++k) {
      const int line = static_cast<int>(rng() % size), at = static_cast<int>(rng() % (size - 6));
      const bool rows = rng() % 2;
      static const int kPattern[7] = {1, 0, 1, 1, 1, 0, 1};
      for (int q = 0; q < 7; ++q) (rows ? m[at + q][line] : m[line][at + q]) = kPattern[q];
      for (int q = 1; q <= static_cast<int>(rng() % 5); ++q)
        if (at + 6 + q < size) (rows ? m[at + 6 + q][line] : m[line][at + 6 + q]) = 0;
    }
    ASSERT_EQ(PlainPenalty(m, size), CQrEncoder::Penalty(m, size)) << "trial " << trial;
  }
}

TEST(QrEncoder, ModesAndRunJoining) {
  // Digits between capitals: one alphanumeric run is shorter than three runs.
  auto joined = Encoded(1, 0, -1, "AB12CD");
  ASSERT_EQ(1, joined->GetRunCount());
  EXPECT_EQ(QR_ALPHANUMERIC, joined->GetRunMode(0));
  ExpectReadsBack(*joined, "AB12CD", 1);
  // A long digit run next to capitals stays numeric.
  auto split = Encoded(1, 0, -1, "ABC12345678901234567");
  ASSERT_EQ(2, split->GetRunCount());
  EXPECT_EQ(QR_ALPHANUMERIC, split->GetRunMode(0));
  EXPECT_EQ(QR_NUMERIC, split->GetRunMode(1));
  EXPECT_EQ(17, split->GetRunLength(1));
  ExpectReadsBack(*split, "ABC12345678901234567", 1);
  // Lower case and symbols go to 8-bit.
  auto bytes = Encoded(1, 0, -1, "a1b2c3");
  ASSERT_EQ(1, bytes->GetRunCount());
  EXPECT_EQ(QR_8BIT, bytes->GetRunMode(0));
  ExpectReadsBack(*bytes, "a1b2c3", 1);
  // Short runs beside 8-bit bytes fold into one 8-bit run (44 bits against 52);
  // a long digit run does not (101 bits against 180).
  auto folded = Encoded(1, 0, -1, "ab1A");
  ASSERT_EQ(1, folded->GetRunCount());
  EXPECT_EQ(QR_8BIT, folded->GetRunMode(0));
  EXPECT_EQ(44 + 4, folded->GetBitCount());
  auto kept = Encoded(1, 0, -1, "a12345678901234567890");
  ASSERT_EQ(2, kept->GetRunCount());
  EXPECT_EQ(QR_NUMERIC, kept->GetRunMode(1));
  ExpectReadsBack(*kept, "a12345678901234567890", 1);
  // Shift JIS pairs in Kanji mode, counted two bytes per character.
  const std::string kanji = "\x93\xfa\x96\x7b\x8c\xea";
  auto k = Encoded(1, 0, -1, kanji);
  ASSERT_EQ(1, k->GetRunCount());
  EXPECT_EQ(QR_KANJI, k->GetRunMode(0));
  EXPECT_EQ(6, k->GetRunLength(0));
  EXPECT_EQ(4 + 8 + 3 * 13 + 4, k->GetBitCount());
  ExpectReadsBack(*k, kanji, 1);
  // GB2312 text falls partly into the Kanji test and still reads back byte for byte.
  const std::string gb = "\xe6\xb5\x8b\xca\xd4 SN-0042 \xe9\xa1\xb9";
  ExpectReadsBack(*Encoded(2, 0, -1, gb), gb, 2);
}

TEST(QrEncoder, VersionSearchAndRequests) {
  // 300 bytes need more than version 9 at M: analysed again with 16-bit counts,
  // 4 + 16 + 2400 bits = 303 codewords, version 13 (334).
  const std::string text(300, 'a');
  auto big = Encoded(1, 0, -1, text);
  EXPECT_EQ(13, big->GetVersion());
  ExpectReadsBack(*big, text, 1);

  // A requested version that is large enough is used; a smaller one grows only with autoExtend.
  EXPECT_EQ(5, Encoded(2, 5, -1, "12345")->GetVersion());
  ExpectReadsBack(*Encoded(2, 5, -1, "12345"), "12345", 2);
  const std::string needsSeven(110, 'x');  // 112 codewords: more than 6-M holds
  EXPECT_EQ(7, Encoded(1, 5, -1, needsSeven)->GetVersion());
  CQrEncoder strict;
  EXPECT_EQ(0, strict.Encode(1, 5, 0, -1, needsSeven.c_str(), 0));
  CPointList none;
  EXPECT_EQ(0, strict.EmitDots(CDoublePoint(0, 0), &none, 1.0f));
  EXPECT_EQ(0, none.GetSize());

  // Requested version in the middle group: counts of that group.
  const std::string mid = "Line 1 / A-Z";
  auto v12 = Encoded(3, 12, -1, mid);
  EXPECT_EQ(12, v12->GetVersion());
  ExpectReadsBack(*v12, mid, 3);
}

TEST(QrEncoder, CapacityLimitsAndRefusals) {
  struct Case {
    int level;
    char fill;
    int fits;
  };
  for (const Case& c : {Case{0, '7', 7089}, Case{0, 'Z', 4296}, Case{0, 'z', 2953}, Case{3, 'z', 1273}}) {
    const std::string most(c.fits, c.fill);
    auto qr = Encoded(c.level, 0, -1, most);
    EXPECT_EQ(40, qr->GetVersion());
    ExpectReadsBack(*qr, most, c.level);
    const std::string tooMany(c.fits + 1, c.fill);
    CQrEncoder refused;
    EXPECT_EQ(0, refused.Encode(c.level, 0, 1, -1, tooMany.c_str(), 0)) << c.fill;
  }
  // Alternating classes start one run per byte before joining.
  std::string alternating;
  for (int k = 0; k < 4296; ++k) alternating += (k % 2) ? 'A' : '1';
  ExpectReadsBack(*Encoded(0, 0, -1, alternating), alternating, 0);
  std::string hostile;
  for (int k = 0; k < 20000; ++k) hostile += (k % 2) ? 'a' : '1';
  CQrEncoder qr;
  EXPECT_EQ(0, qr.Encode(0, 0, 1, -1, hostile.c_str(), 0));

  EXPECT_EQ(0, qr.Encode(1, 0, 1, -1, "", 0));
  EXPECT_EQ(0, qr.Encode(1, 0, 1, -1, nullptr, 0));
  // Settings read from a project file outside their ranges.
  EXPECT_EQ(0, qr.Encode(4, 0, 1, -1, "A", 0));
  EXPECT_EQ(0, qr.Encode(-1, 0, 1, -1, "A", 0));
  EXPECT_EQ(0, qr.Encode(1, 41, 1, -1, "A", 0));
  EXPECT_EQ(0, qr.Encode(1, -1, 1, -1, "A", 0));
  EXPECT_EQ(0, qr.Encode(1, 0, 1, 8, "A", 0));
  EXPECT_EQ(0, qr.Encode(1, 0, 1, -2, "A", 0));
}

TEST(QrEncoder, BlockLayoutsReadBack) {
  // Each layout of the hand table: interleaving, two block kinds, syndromes.
  EXPECT_EQ(5, Encoded(2, 5, -1, "BLOCKS OF TWO KINDS")->GetVersion());
  ExpectReadsBack(*Encoded(2, 5, -1, "BLOCKS OF TWO KINDS"), "BLOCKS OF TWO KINDS", 2);
  ExpectReadsBack(*Encoded(0, 7, 3, "seven"), "seven", 0);
  ExpectReadsBack(*Encoded(1, 10, 6, "ten 10"), "ten 10", 1);
  ExpectReadsBack(*Encoded(3, 40, -1, "forty"), "forty", 3);
  ExpectReadsBack(*Encoded(3, 1, 7, "H1"), "H1", 3);
  for (int version = 1; version <= 40; ++version) {
    auto qr = Encoded(version % 4, version, -1, "V" + std::to_string(version));
    const Reading r = QrReader(*qr).Read();
    EXPECT_TRUE(r.ok) << version << ": " << r.error;
    EXPECT_EQ("V" + std::to_string(version), r.text);
  }
}

TEST(QrEncoder, DotsHangFromTheTopLeftPoint) {
  auto qr = Encoded(1, 0, -1, "01234567");
  CPointList dots;
  EXPECT_EQ(21, qr->EmitDots(CDoublePoint(10, 50), &dots, 0.5f));
  int dark = 0;
  for (int x = 0; x < 21; ++x)
    for (int y = 0; y < 21; ++y) dark += qr->IsDark(x, y);
  ASSERT_EQ(dark, dots.GetSize());
  // Column 0 first, top to bottom: the finder's left edge.
  for (int k = 0; k < 7; ++k) {
    EXPECT_DOUBLE_EQ(10.25, dots[k].x);
    EXPECT_DOUBLE_EQ(50 - 0.25 - 0.5 * k, dots[k].y);
    EXPECT_EQ(0, dots[k].flag);
  }
  const CDoublePoint& last = dots[dots.GetSize() - 1];
  EXPECT_DOUBLE_EQ(10.25 + 20 * 0.5, last.x);
  for (int k = 1; k < dots.GetSize(); ++k) EXPECT_GE(dots[k].x, dots[k - 1].x);
}
