#include "text/codes/CQrEncoder.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>

#include "document/geometry/CPointList.h"

namespace {

// Error-correction codewords per block and block counts, by level (L, M, Q, H)
// and version; the block layout and data capacities follow from these and the
// module count of each version.
constexpr std::array<std::array<int, 41>, 4> kEccPerBlock = {{
    {0, 7, 10, 15, 20, 26, 18, 20, 24, 30, 18, 20, 24, 26, 30, 22, 24, 28, 30, 28, 28,
     28, 28, 30, 30, 26, 28, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30},
    {0, 10, 16, 26, 18, 24, 16, 18, 22, 22, 26, 30, 22, 22, 24, 24, 28, 28, 26, 26, 26,
     26, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28},
    {0, 13, 22, 18, 26, 18, 24, 18, 22, 20, 24, 28, 26, 24, 20, 30, 24, 28, 28, 26, 30,
     28, 30, 30, 30, 30, 28, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30},
    {0, 17, 28, 22, 16, 22, 28, 26, 26, 24, 28, 24, 28, 22, 24, 24, 30, 28, 28, 26, 28,
     30, 24, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30},
}};
constexpr std::array<std::array<int, 41>, 4> kBlockCount = {{
    {0, 1, 1, 1, 1, 1, 2, 2, 2, 2, 4, 4, 4, 4, 4, 6, 6, 6, 6, 7, 8,
     8, 9, 9, 10, 12, 12, 12, 13, 14, 15, 16, 17, 18, 19, 19, 20, 21, 22, 24, 25},
    {0, 1, 1, 1, 2, 2, 4, 4, 4, 5, 5, 5, 8, 9, 9, 10, 10, 11, 13, 14, 16,
     17, 17, 18, 20, 21, 23, 25, 26, 28, 29, 31, 33, 35, 37, 38, 40, 43, 45, 47, 49},
    {0, 1, 1, 2, 2, 4, 4, 6, 6, 8, 8, 8, 10, 12, 16, 12, 17, 16, 18, 21, 20,
     23, 23, 25, 27, 29, 34, 34, 35, 38, 40, 43, 45, 48, 51, 53, 56, 59, 62, 65, 68},
    {0, 1, 1, 2, 4, 4, 4, 5, 6, 8, 8, 11, 11, 16, 16, 18, 16, 19, 21, 25, 25,
     25, 34, 30, 32, 35, 37, 40, 42, 45, 48, 51, 54, 57, 60, 63, 66, 70, 74, 77, 81},
}};

// Alignment pattern centre coordinates besides 6, which the placement adds.
constexpr int kAlignment[41][6] = {
    {},
    {},
    {18},
    {22},
    {26},
    {30},
    {34},
    {22, 38},
    {24, 42},
    {26, 46},
    {28, 50},
    {30, 54},
    {32, 58},
    {34, 62},
    {26, 46, 66},
    {26, 48, 70},
    {26, 50, 74},
    {30, 54, 78},
    {30, 56, 82},
    {30, 58, 86},
    {34, 62, 90},
    {28, 50, 72, 94},
    {26, 50, 74, 98},
    {30, 54, 78, 102},
    {28, 54, 80, 106},
    {32, 58, 84, 110},
    {30, 58, 86, 114},
    {34, 62, 90, 118},
    {26, 50, 74, 98, 122},
    {30, 54, 78, 102, 126},
    {26, 52, 78, 104, 130},
    {30, 56, 82, 108, 134},
    {34, 60, 86, 112, 138},
    {30, 58, 86, 114, 142},
    {34, 62, 90, 118, 146},
    {30, 54, 78, 102, 126, 150},
    {24, 50, 76, 102, 128, 154},
    {28, 54, 80, 106, 132, 158},
    {32, 58, 84, 110, 136, 162},
    {26, 54, 82, 110, 138, 166},
    {30, 58, 86, 114, 142, 170},
};

struct BlockKind {
  int count = 0;
  int codewords = 0;
  int dataCodewords = 0;
};

struct VersionRow {
  int version = 0;
  int totalCodewords = 0;
  int dataCodewords[4] = {};
  int alignCount = 0;
  int align[6] = {};
  BlockKind first[4] = {};
  BlockKind second[4] = {};
};

constexpr int RawDataModules(int v) {
  int modules = (16 * v + 128) * v + 64;
  if (v >= 2) {
    const int n = v / 7 + 2;
    modules -= (25 * n - 10) * n - 55;
    if (v >= 7) modules -= 36;
  }
  return modules;
}

constexpr std::array<VersionRow, 41> MakeVersionTable() {
  std::array<VersionRow, 41> table{};
  for (int v = 1; v <= 40; ++v) {
    VersionRow& row = table[v];
    row.version = v;
    row.totalCodewords = RawDataModules(v) / 8;
    for (int k = 0; k < 6 && kAlignment[v][k] != 0; ++k) {
      row.align[k] = kAlignment[v][k];
      row.alignCount = k + 1;
    }
    for (int level = 0; level < 4; ++level) {
      const int blocks = kBlockCount[level][v];
      const int ecc = kEccPerBlock[level][v];
      const int shortLength = row.totalCodewords / blocks;
      const int longBlocks = row.totalCodewords % blocks;
      row.dataCodewords[level] = row.totalCodewords - blocks * ecc;
      row.first[level] = {blocks - longBlocks, shortLength, shortLength - ecc};
      if (longBlocks > 0) row.second[level] = {longBlocks, shortLength + 1, shortLength + 1 - ecc};
    }
  }
  return table;
}

constexpr std::array<VersionRow, 41> kVersions = MakeVersionTable();
static_assert(kVersions[1].totalCodewords == 26 && kVersions[40].totalCodewords == QR_MAX_TOTAL_CODEWORDS);
static_assert(kVersions[40].dataCodewords[0] == QR_MAX_DATA_CODEWORDS);

constexpr int LongestBlock() {
  int longest = 0;
  for (int v = 1; v <= 40; ++v)
    for (int level = 0; level < 4; ++level) {
      const int n = kVersions[v].second[level].count ? kVersions[v].second[level].codewords
                                                     : kVersions[v].first[level].codewords;
      if (n > longest) longest = n;
    }
  return longest;
}
static_assert(LongestBlock() <= 160, "one block must fit the work buffer");

// GF(256) with x^8 + x^4 + x^3 + x^2 + 1.
struct Galois {
  std::array<std::uint8_t, 256> exp{};
  std::array<std::uint8_t, 256> log{};
};
constexpr Galois MakeGalois() {
  Galois g{};
  int value = 1;
  for (int i = 0; i < 255; ++i) {
    g.exp[i] = static_cast<std::uint8_t>(value);
    g.log[value] = static_cast<std::uint8_t>(i);
    value <<= 1;
    if (value & 0x100) value ^= 0x11D;
  }
  g.exp[255] = g.exp[0];
  return g;
}
constexpr Galois kGf = MakeGalois();

constexpr int kMaxEcc = 30;
// Generator polynomial for c codewords in exponent form, leading term left out.
struct Generators {
  std::array<std::array<std::uint8_t, kMaxEcc>, kMaxEcc + 1> exponents{};
};
constexpr Generators MakeGenerators() {
  Generators result{};
  for (int c = 1; c <= kMaxEcc; ++c) {
    // Coefficients, highest power first; start with 1 and multiply by
    // (x + a^i) for i = 0..c-1.
    std::array<std::uint8_t, kMaxEcc + 1> poly{};
    poly[0] = 1;
    for (int i = 0; i < c; ++i)
      for (int k = i + 1; k >= 1; --k)
        if (poly[k - 1] != 0) poly[k] ^= kGf.exp[(kGf.log[poly[k - 1]] + i) % 255];
    for (int j = 0; j < c; ++j) result.exponents[c][j] = kGf.log[poly[j + 1]];
  }
  return result;
}
constexpr Generators kGenerators = MakeGenerators();

// Character-count lengths by mode and version group.
constexpr int kCountBits[4][3] = {{10, 12, 14}, {9, 11, 13}, {8, 16, 16}, {8, 10, 12}};
constexpr int kGroupFirst[3] = {1, 10, 27};
constexpr int kGroupLast[3] = {9, 26, 40};

constexpr std::uint8_t kFinderRows[7] = {0x7F, 0x41, 0x5D, 0x5D, 0x5D, 0x41, 0x7F};
constexpr std::uint8_t kAlignRows[5] = {0x1F, 0x11, 0x15, 0x11, 0x1F};

int GroupOf(int version) { return version <= 9 ? 0 : (version <= 26 ? 1 : 2); }

int AlphanumericValue(unsigned char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
  switch (c) {
    case ' ': return 36;
    case '$': return 37;
    case '%': return 38;
    case '*': return 39;
    case '+': return 40;
    case '-': return 41;
    case '.': return 42;
    case '/': return 43;
    case ':': return 44;
    default: return -1;
  }
}

bool IsKanjiPair(const unsigned char* p, int remaining) {
  if (remaining < 2) return false;
  const unsigned first = p[0];
  const unsigned second = p[1];
  if (!((first >= 0x81 && first <= 0x9F) || (first >= 0xE0 && first <= 0xEB))) return false;
  if (second < 0x40) return false;
  if (first == 0x9F && second > 0xFC) return false;
  if (first == 0xEB && second > 0xBF) return false;
  return true;
}

bool MaskHolds(int mask, int i, int j) {
  switch (mask) {
    case 0: return (i + j) % 2 == 0;
    case 1: return i % 2 == 0;
    case 2: return j % 3 == 0;
    case 3: return (i + j) % 3 == 0;
    case 4: return (i / 2 + j / 3) % 2 == 0;
    case 5: return (i * j) % 2 + (i * j) % 3 == 0;
    case 6: return ((i * j) % 2 + (i * j) % 3) % 2 == 0;
    default: return ((i * j) % 3 + (i + j) % 2) % 2 == 0;
  }
}

// BCH remainder of value (already shifted left by the degree) by generator.
int BchRemainder(int value, int generator, int degree) {
  for (int bit = 30; bit >= degree; --bit)
    if (value & (1 << bit)) value ^= generator << (bit - degree);
  return value;
}

constexpr int kLevelBits[4] = {1, 0, 3, 2};  // L 01, M 00, Q 11, H 10

}  // namespace

int QrFormatBits(int level, int mask) {
  const int data = (kLevelBits[level] << 3) | mask;
  return ((data << 10) | BchRemainder(data << 10, 0x537, 10)) ^ 0x5412;
}

int QrVersionBits(int version) {
  return (version << 12) | BchRemainder(version << 12, 0x1F25, 12);
}

int QrDataCodewords(int version, int level) { return kVersions[version].dataCodewords[level]; }

int CQrEncoder::Encode(int level, int version, int autoExtend, int mask, const char* data, int length) {
  symbolSize_ = 0;
  version_ = 0;
  runCount_ = 0;
  bitCount_ = 0;
  // Settings come from project files; out-of-range values must not index the tables.
  if (level < 0 || level > 3 || version < 0 || version > 40 || mask < -1 || mask > 7 || data == nullptr)
    return 0;
  level_ = level;
  mask_ = mask;
  if (length < 1) length = static_cast<int>(strnlen(data, QR_MAX_INPUT + 1));
  if (length == 0 || length > QR_MAX_INPUT) return 0;
  data_ = reinterpret_cast<const unsigned char*>(data);
  length_ = length;

  const int found = FindVersion(version);
  data_ = nullptr;  // the caller's bytes are not kept past the bit stream
  if (found == 0) return 0;
  if (version != 0 && version >= found) {
    version_ = version;
  } else if (version == 0 || autoExtend) {
    version_ = found;
  } else {
    return 0;
  }

  const int dataCodewords = kVersions[version_].dataCodewords[level_];
  const int terminator = std::min(4, 8 * dataCodewords - bitCount_);
  if (terminator > 0) bitCount_ += terminator;
  int used = (bitCount_ + 7) / 8;
  for (int k = 0; used < dataCodewords; ++used, ++k)
    dataCodewords_[used] = (k % 2 == 0) ? 0xEC : 0x11;

  BuildCodewords();
  symbolSize_ = 4 * version_ + 17;
  BuildMatrix();
  return 1;
}

int CQrEncoder::FindVersion(int requested) {
  for (int group = GroupOf(requested); group < 3; ++group) {
    AnalyseRuns(group);
    WriteRuns(group);
    if (bitCount_ < 0) continue;
    const int needed = (bitCount_ + 7) / 8;
    for (int v = kGroupFirst[group]; v <= kGroupLast[group]; ++v)
      if (kVersions[v].dataCodewords[level_] >= needed) return v;
  }
  return 0;
}

int CQrEncoder::RunCost(int mode, int n, int group) const {
  int bits = 4 + kCountBits[mode][group];
  switch (mode) {
    case QR_NUMERIC:
      bits += 10 * (n / 3) + (n % 3 == 1 ? 4 : (n % 3 == 2 ? 7 : 0));
      break;
    case QR_ALPHANUMERIC:
      bits += 11 * (n / 2) + 6 * (n % 2);
      break;
    case QR_8BIT:
      bits += 8 * n;
      break;
    default:
      bits += 13 * (n / 2);
      break;
  }
  return bits;
}

void CQrEncoder::JoinRuns(int into, int from) {
  runLengths_[into] += runLengths_[from];
  const int tail = runCount_ - from - 1;
  if (tail > 0) {
    std::memmove(&runModes_[from], &runModes_[from + 1], tail * sizeof(runModes_[0]));
    std::memmove(&runLengths_[from], &runLengths_[from + 1], tail * sizeof(runLengths_[0]));
  }
  --runCount_;
}

void CQrEncoder::AnalyseRuns(int group) {
  runCount_ = 0;
  for (int pos = 0; pos < length_;) {
    int mode;
    int width = 1;
    if (IsKanjiPair(data_ + pos, length_ - pos)) {
      mode = QR_KANJI;
      width = 2;
    } else if (data_[pos] >= '0' && data_[pos] <= '9') {
      mode = QR_NUMERIC;
    } else if (AlphanumericValue(data_[pos]) >= 0) {
      mode = QR_ALPHANUMERIC;
    } else {
      mode = QR_8BIT;
    }
    if (runCount_ > 0 && runModes_[runCount_ - 1] == mode) {
      runLengths_[runCount_ - 1] += width;
    } else {
      runModes_[runCount_] = static_cast<std::uint8_t>(mode);
      runLengths_[runCount_] = width;
      ++runCount_;
    }
    pos += width;
  }

  auto cost = [&](int i) { return RunCost(runModes_[i], runLengths_[i], group); };

  // Numeric next to alphanumeric: one alphanumeric run when shorter, unless
  // folding one of them into a neighbouring 8-bit run is cheaper still.
  for (int i = 0; i + 1 < runCount_;) {
    const int m0 = runModes_[i];
    const int m1 = runModes_[i + 1];
    const bool pair = (m0 == QR_NUMERIC && m1 == QR_ALPHANUMERIC) || (m0 == QR_ALPHANUMERIC && m1 == QR_NUMERIC);
    if (!pair) {
      ++i;
      continue;
    }
    const int f = RunCost(QR_ALPHANUMERIC, runLengths_[i] + runLengths_[i + 1], group);
    if (f >= cost(i) + cost(i + 1)) {
      ++i;
      continue;
    }
    bool keepA = false;
    bool keepB = false;
    int a = 0;
    int b = 0;
    if (i > 0 && runModes_[i - 1] == QR_8BIT) {
      a = RunCost(QR_8BIT, runLengths_[i - 1] + runLengths_[i], group) + cost(i + 1);
      keepA = a <= f + RunCost(QR_8BIT, runLengths_[i - 1], group);
    }
    if (i + 2 < runCount_ && runModes_[i + 2] == QR_8BIT) {
      b = RunCost(QR_8BIT, runLengths_[i + 1] + runLengths_[i + 2], group) + cost(i);
      keepB = b <= f + RunCost(QR_8BIT, runLengths_[i + 2], group);
    }
    if (!keepA && !keepB) {
      if (i + 2 < runCount_ && runModes_[i + 2] == QR_ALPHANUMERIC) JoinRuns(i + 1, i + 2);
      runModes_[i] = QR_ALPHANUMERIC;
      JoinRuns(i, i + 1);
      if (i > 0 && runModes_[i - 1] == QR_ALPHANUMERIC) {
        JoinRuns(i - 1, i);
        --i;
      }
    } else if (keepB && (!keepA || a >= b)) {
      runModes_[i + 1] = QR_8BIT;
      JoinRuns(i + 1, i + 2);
      ++i;
    } else {
      JoinRuns(i - 1, i);
      --i;
    }
  }

  // Any two neighbours: one 8-bit run when that is shorter, counting the
  // headers saved by merging with 8-bit runs on either side.
  const int header8 = kCountBits[QR_8BIT][group] + 4;
  for (int i = 0; i + 1 < runCount_;) {
    const bool before8 = i > 0 && runModes_[i - 1] == QR_8BIT;
    const bool after8 = i + 2 < runCount_ && runModes_[i + 2] == QR_8BIT;
    int f = RunCost(QR_8BIT, runLengths_[i] + runLengths_[i + 1], group);
    if (before8) f -= header8;
    if (after8) f -= header8;
    if (f >= cost(i) + cost(i + 1)) {
      ++i;
      continue;
    }
    if (before8) {
      JoinRuns(i - 1, i);
      --i;
    }
    if (i + 2 < runCount_ && runModes_[i + 2] == QR_8BIT) JoinRuns(i + 1, i + 2);
    runModes_[i] = QR_8BIT;
    JoinRuns(i, i + 1);
    if (i >= 2) --i;
  }
}

void CQrEncoder::PutBits(unsigned value, int bits) {
  if (bitCount_ < 0) return;
  if (bitCount_ + bits > QR_MAX_BITS) {
    bitCount_ = -1;
    return;
  }
  for (int k = bits - 1; k >= 0; --k) {
    if ((value >> k) & 1u) dataCodewords_[bitCount_ >> 3] |= static_cast<std::uint8_t>(0x80 >> (bitCount_ & 7));
    ++bitCount_;
  }
}

void CQrEncoder::WriteRuns(int group) {
  std::memset(dataCodewords_, 0, sizeof(dataCodewords_));
  bitCount_ = 0;
  static constexpr unsigned kIndicator[4] = {0x1, 0x2, 0x4, 0x8};
  int pos = 0;
  for (int r = 0; r < runCount_ && bitCount_ >= 0; ++r) {
    const int mode = runModes_[r];
    const int n = runLengths_[r];
    const int count = mode == QR_KANJI ? n / 2 : n;
    const int countBits = kCountBits[mode][group];
    PutBits(kIndicator[mode], 4);
    // A count the field cannot hold fits no version of this group.
    if (count >= (1 << countBits)) {
      bitCount_ = -1;
      return;
    }
    PutBits(static_cast<unsigned>(count), countBits);
    const unsigned char* p = data_ + pos;
    switch (mode) {
      case QR_NUMERIC: {
        int k = 0;
        for (; k + 3 <= n; k += 3)
          PutBits(static_cast<unsigned>((p[k] - '0') * 100 + (p[k + 1] - '0') * 10 + (p[k + 2] - '0')), 10);
        if (n - k == 2) PutBits(static_cast<unsigned>((p[k] - '0') * 10 + (p[k + 1] - '0')), 7);
        if (n - k == 1) PutBits(static_cast<unsigned>(p[k] - '0'), 4);
        break;
      }
      case QR_ALPHANUMERIC: {
        int k = 0;
        for (; k + 2 <= n; k += 2)
          PutBits(static_cast<unsigned>(45 * AlphanumericValue(p[k]) + AlphanumericValue(p[k + 1])), 11);
        if (k < n) PutBits(static_cast<unsigned>(AlphanumericValue(p[k])), 6);
        break;
      }
      case QR_8BIT:
        for (int k = 0; k < n; ++k) PutBits(p[k], 8);
        break;
      default:
        for (int k = 0; k + 1 < n; k += 2) {
          unsigned value = (static_cast<unsigned>(p[k]) << 8) | p[k + 1];
          value -= (value >= 0x8140 && value <= 0x9FFC) ? 0x8140 : 0xC140;
          PutBits((value >> 8) * 0xC0 + (value & 0xFF), 13);
        }
        break;
    }
    pos += n;
  }
}

void CQrEncoder::BuildCodewords() {
  const VersionRow& row = kVersions[version_];
  const BlockKind& first = row.first[level_];
  const BlockKind& second = row.second[level_];
  const int d = first.dataCodewords;
  const int groups = first.count + second.count;
  const int dataTotal = row.dataCodewords[level_];
  totalCodewords_ = row.totalCodewords;
  std::memset(finalCodewords_, 0, sizeof(finalCodewords_));

  const int ecc = first.codewords - first.dataCodewords;
  const auto& generator = kGenerators.exponents[ecc];
  int source = 0;
  for (int k = 0; k < groups; ++k) {
    const bool secondKind = k >= first.count;
    const int blockData = secondKind ? second.dataCodewords : d;
    const std::uint8_t* block = dataCodewords_ + source;
    for (int j = 0; j < blockData; ++j) {
      if (j < d)
        finalCodewords_[k + j * groups] = block[j];
      else
        finalCodewords_[d * groups + (k - first.count)] = block[j];
    }
    // Division by the generator; the remainder is the error correction.
    std::memset(blockWork_, 0, sizeof(blockWork_));
    const int held = std::clamp(blockData, 0, static_cast<int>(sizeof(blockWork_)));
    std::copy_n(block, static_cast<std::size_t>(held), blockWork_);
    const int span = blockData + ecc;
    for (int step = 0; step < blockData; ++step) {
      const std::uint8_t lead = blockWork_[0];
      std::memmove(blockWork_, blockWork_ + 1, static_cast<std::size_t>(span - 1));
      blockWork_[span - 1] = 0;
      if (lead == 0) continue;
      const int logLead = kGf.log[lead];
      for (int j = 0; j < ecc; ++j) blockWork_[j] ^= kGf.exp[(logLead + generator[j]) % 255];
    }
    for (int j = 0; j < ecc; ++j) finalCodewords_[dataTotal + k + j * groups] = blockWork_[j];
    source += blockData;
  }
}

void CQrEncoder::PlaceFunctionPatterns() {
  const int size = symbolSize_;
  const int corners[3][2] = {{0, 0}, {size - 7, 0}, {0, size - 7}};
  for (const auto& corner : corners) {
    for (int r = -1; r <= 7; ++r)
      for (int c = -1; c <= 7; ++c) {
        const int x = corner[0] + c;
        const int y = corner[1] + r;
        if (x < 0 || y < 0 || x >= size || y >= size) continue;
        const bool inside = r >= 0 && r < 7 && c >= 0 && c < 7;
        const bool dark = inside && ((kFinderRows[r] >> (6 - c)) & 1);
        matrix_[x][y] = QR_FUNCTION | (dark ? QR_FUNCTION_DARK : 0);
      }
  }
  // Format areas, kept light until the format is written.
  for (int k = 0; k <= 8; ++k) {
    matrix_[k][8] |= QR_FUNCTION;
    matrix_[8][k] |= QR_FUNCTION;
  }
  for (int k = 0; k < 8; ++k) {
    matrix_[size - 1 - k][8] |= QR_FUNCTION;
    matrix_[8][size - 1 - k] |= QR_FUNCTION;
  }
  if (version_ >= 7) {
    const int bits = QrVersionBits(version_);
    for (int i = 0; i < 18; ++i) {
      const std::uint8_t value = QR_FUNCTION | (((bits >> i) & 1) ? QR_FUNCTION_DARK : 0);
      const int a = size - 11 + i % 3;
      const int b = i / 3;
      matrix_[a][b] = value;
      matrix_[b][a] = value;
    }
  }
  const VersionRow& row = kVersions[version_];
  int coords[7] = {6};
  for (int k = 0; k < row.alignCount; ++k) coords[k + 1] = row.align[k];
  const int n = row.alignCount > 0 ? row.alignCount + 1 : 0;
  for (int ia = 0; ia < n; ++ia)
    for (int ib = 0; ib < n; ++ib) {
      const int cx = coords[ia];
      const int cy = coords[ib];
      if (matrix_[cx][cy] & QR_FUNCTION) continue;
      for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 5; ++c) {
          const bool dark = (kAlignRows[r] >> (4 - c)) & 1;
          matrix_[cx - 2 + c][cy - 2 + r] = QR_FUNCTION | (dark ? QR_FUNCTION_DARK : 0);
        }
    }
  for (int k = 8; k <= size - 9; ++k) {
    const std::uint8_t value = QR_FUNCTION | (k % 2 == 0 ? QR_FUNCTION_DARK : 0);
    matrix_[k][6] = value;
    matrix_[6][k] = value;
  }
  matrix_[8][size - 8] = QR_FUNCTION | QR_FUNCTION_DARK;
}

void CQrEncoder::PlaceCodewords() {
  const int size = symbolSize_;
  const int totalBits = totalCodewords_ * 8;
  int bit = 0;
  for (int right = size - 1; right >= 1; right -= 2) {
    if (right == 6) right = 5;
    const bool upward = ((right + 1) & 2) == 0;
    for (int step = 0; step < size; ++step) {
      const int y = upward ? size - 1 - step : step;
      for (int c = 0; c < 2; ++c) {
        const int x = right - c;
        if (matrix_[x][y] & QR_FUNCTION) continue;
        if (bit < totalBits && ((finalCodewords_[bit >> 3] >> (7 - (bit & 7))) & 1))
          matrix_[x][y] |= QR_DATA_BIT;
        ++bit;
      }
    }
  }
}

namespace {

// Every mask repeats every 12 rows and 12 columns (its terms are taken modulo
// 2, 3 or 4 and 6), so one tile of each stands for the whole symbol.
constexpr int kMaskTile = 12;
struct MaskTiles {
  std::uint8_t bits[8][kMaskTile][kMaskTile];  // [mask][column % 12][row % 12]
};
const MaskTiles& Tiles() {
  static const MaskTiles tiles = [] {
    MaskTiles t{};
    for (int mask = 0; mask < 8; ++mask)
      for (int j = 0; j < kMaskTile; ++j)
        for (int i = 0; i < kMaskTile; ++i) t.bits[mask][j][i] = MaskHolds(mask, i, j) ? 1 : 0;
    return t;
  }();
  return tiles;
}

}  // namespace

void CQrEncoder::ApplyMask(int mask) {
  static_assert(QR_DATA_BIT == 2 && QR_MASKED == 1, "the data bit shifts onto the masked bit");
  const int size = symbolSize_;
  const auto& tile = Tiles().bits[mask];
  for (int x = 0; x < size; ++x) {
    std::uint8_t* column = matrix_[x];
    const std::uint8_t* holds = tile[x % kMaskTile];
    for (int y0 = 0; y0 < size; y0 += kMaskTile) {
      const int end = std::min(size - y0, kMaskTile);
      for (int k = 0; k < end; ++k) {
        const std::uint8_t m = column[y0 + k];
        const auto dark = static_cast<std::uint8_t>(((m >> 1) ^ holds[k]) & 1);  // data bit xor mask
        column[y0 + k] = (m & QR_FUNCTION) ? m : static_cast<std::uint8_t>((m & ~QR_MASKED) | dark);
      }
    }
  }
}

void CQrEncoder::PlaceFormat(int mask) {
  const int size = symbolSize_;
  const int bits = QrFormatBits(level_, mask);
  auto set = [&](int x, int y, int i) {
    matrix_[x][y] = QR_FUNCTION | (((bits >> i) & 1) ? QR_FUNCTION_DARK : 0);
  };
  for (int i = 0; i <= 5; ++i) set(8, i, i);
  set(8, 7, 6);
  set(8, 8, 7);
  set(7, 8, 8);
  for (int i = 9; i < 15; ++i) set(14 - i, 8, i);
  for (int i = 0; i < 8; ++i) set(size - 1 - i, 8, i);
  for (int i = 8; i < 15; ++i) set(8, size - 15 + i, i);
  matrix_[8][size - 8] = QR_FUNCTION | QR_FUNCTION_DARK;
}

void CQrEncoder::BuildMatrix() {
  std::memset(matrix_, 0, sizeof(matrix_));
  PlaceFunctionPatterns();
  PlaceCodewords();
  if (mask_ < 0) {
    int best = 0;
    int bestPenalty = 0;
    for (int m = 0; m < 8; ++m) {
      ApplyMask(m);
      PlaceFormat(m);
      const int penalty = Penalty(matrix_, symbolSize_);
      if (m == 0 || penalty < bestPenalty) {
        best = m;
        bestPenalty = penalty;
      }
    }
    mask_ = best;
  }
  ApplyMask(mask_);
  PlaceFormat(mask_);
  for (int x = 0; x < symbolSize_; ++x)
    for (int y = 0; y < symbolSize_; ++y) matrix_[x][y] = (matrix_[x][y] & 0x11) ? 1 : 0;
}

namespace {

// Runs of five or more and finder-like patterns along one row or column of
// 0/1 modules. The pattern is dark-light-dark-dark-dark-light-dark with light
// next to it on both sides and three more light modules on one side; outside
// the symbol counts as light. In runs: dark 1, light 1, dark 3, light 1,
// dark 1, between light runs of at least 1 of which one reaches 4.
int LineScore(const std::uint8_t* at, int size) {
  constexpr int kOutside = 1 << 20;  // light beyond the symbol's edge
  // Where the colour changes, found without a branch per module.
  int changes[QR_MAX_SIZE + 1];
  int changeCount = 0;
  changes[changeCount++] = 0;
  for (int k = 1; k < size; ++k) {
    changes[changeCount] = k;
    changeCount += at[k] != at[k - 1];
  }
  changes[changeCount++] = size;
  int runs[QR_MAX_SIZE + 2];
  int count = 0;
  int score = 0;
  // A leading dark run gets an empty light run before it, so that light runs
  // sit at even indexes.
  if (at[0]) runs[count++] = 0;
  for (int c = 1; c < changeCount; ++c) {
    const int run = changes[c] - changes[c - 1];
    if (run >= 5) score += run - 2;
    runs[count++] = run;
  }
  if (count % 2 == 0) runs[count++] = 0;  // the line ends dark
  // The light runs at the ends continue beyond the edge.
  for (int d = 1; d + 5 < count; d += 2) {
    if (runs[d] != 1 || runs[d + 1] != 1 || runs[d + 2] != 3 || runs[d + 3] != 1 || runs[d + 4] != 1) continue;
    const int before = d - 1 == 0 ? kOutside : runs[d - 1];
    const int after = d + 5 == count - 1 ? kOutside : runs[d + 5];
    if (before >= 1 && after >= 1 && (before >= 4 || after >= 4)) score += 40;
  }
  return score;
}

}  // namespace

int CQrEncoder::Penalty(const std::uint8_t (&matrix)[QR_MAX_SIZE][QR_MAX_SIZE], int size) {
  // Dark = any of the bits 0x11, as columns and as rows.
  std::uint8_t columns[QR_MAX_SIZE][QR_MAX_SIZE];
  std::uint8_t rows[QR_MAX_SIZE][QR_MAX_SIZE];
  int darkCount = 0;
  for (int x = 0; x < size; ++x)
    for (int y = 0; y < size; ++y) {
      const std::uint8_t dark = (matrix[x][y] & 0x11) != 0;
      columns[x][y] = dark;
      rows[y][x] = dark;
      darkCount += dark;
    }
  int score = 0;
  for (int line = 0; line < size; ++line) score += LineScore(rows[line], size) + LineScore(columns[line], size);
  for (int x = 0; x + 1 < size; ++x) {
    const std::uint8_t* left = columns[x];
    const std::uint8_t* right = columns[x + 1];
    int blocks = 0;
    for (int y = 0; y + 1 < size; ++y) {
      const int sum = left[y] + left[y + 1] + right[y] + right[y + 1];
      blocks += (sum & 3) == 0;  // all four light (0) or all dark (4)
    }
    score += 3 * blocks;
  }
  const int light = size * size - darkCount;
  const int k = std::abs(50 - (100 * light) / (size * size));
  score += 10 * (k / 5);
  return score;
}

int CQrEncoder::EmitDots(const CDoublePoint& topLeft, CPointList* out, float moduleSize) const {
  if (symbolSize_ == 0 || out == nullptr) return symbolSize_;
  const double s = moduleSize;
  for (int j = 0; j < symbolSize_; ++j)
    for (int i = 0; i < symbolSize_; ++i)
      if (matrix_[j][i]) out->Add(CDoublePoint(topLeft.x + s / 2 + j * s, topLeft.y - s / 2 - i * s, 0));
  return symbolSize_;
}
