#include "libs/ravelpen/OutlineLattice.h"

#include <algorithm>
#include <cstring>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define RAVELPEN_AVX2_SCAN 1
#endif

namespace ravelpen {
namespace {

// The scan is built twice, for AVX2 and for the baseline processor, and the
// one the processor runs is chosen at each call (no load-time resolver,
// which the sanitizers' runtimes are not ready for).
#if defined(__GNUC__)
#define RAVELPEN_SCAN_INLINE inline __attribute__((always_inline))
#else
#define RAVELPEN_SCAN_INLINE inline
#endif

// Grey (red 9798 + green 19235 + blue 3735) >> 15 is below 128 exactly when
// the weighted sum is below 128 << 15. The weights add up to 1 << 15, so a
// pixel whose three bytes are all 128 or more is light and one whose bytes
// are all below 128 is dark: runs of such pixels are told 32 at a time by the
// top bits of their bytes alone.
constexpr int kDarkBelow = 128 << 15;

RAVELPEN_SCAN_INLINE bool DarkPixel(const std::uint8_t* p) {
  return p[2] * 9798 + p[1] * 19235 + p[0] * 3735 < kDarkBelow;
}

// Bit i set when pixel i of the 32 at p (96 bytes) is dark.
struct PlainPixels {
  static RAVELPEN_SCAN_INLINE std::uint32_t Dark32(const std::uint8_t* p) {
    constexpr std::uint64_t kTop = 0x8080808080808080ull;
    std::uint64_t all = ~std::uint64_t{0}, any = 0;
    for (int k = 0; k < 12; ++k) {
      std::uint64_t w;
      std::memcpy(&w, p + 8 * k, 8);
      all &= w;
      any |= w;
    }
    if ((all & kTop) == kTop) return 0;
    if ((any & kTop) == 0) return ~std::uint32_t{0};
    std::uint32_t bits = 0;
    for (int i = 0; i < 32; ++i) bits |= static_cast<std::uint32_t>(DarkPixel(p + 3 * i)) << i;
    return bits;
  }
  static RAVELPEN_SCAN_INLINE std::uint64_t Dark64(const std::uint8_t* p) {
    return Dark32(p) | static_cast<std::uint64_t>(Dark32(p + 96)) << 32;
  }
};

#ifdef RAVELPEN_AVX2_SCAN
struct Avx2Pixels {
  // Eight pixels whose bytes lie in the 32 at q, from byte 0 (from = low)
  // or byte 8: their grey sums in 32-bit lanes, compared with the limit.
  __attribute__((target("avx2"))) static inline std::uint32_t Dark8(const std::uint8_t* q, bool low) {
    const __m256i perm = low ? _mm256_setr_epi32(0, 1, 2, 2, 3, 4, 5, 5) : _mm256_setr_epi32(2, 3, 4, 4, 5, 6, 7, 7);
    // Each 128-bit lane now holds four pixels in its first 12 bytes.
    const __m256i v = _mm256_permutevar8x32_epi32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(q)), perm);
    const __m256i blueGreen = _mm256_setr_epi8(0, -1, 1, -1, 3, -1, 4, -1, 6, -1, 7, -1, 9, -1, 10, -1,  //
                                               0, -1, 1, -1, 3, -1, 4, -1, 6, -1, 7, -1, 9, -1, 10, -1);
    const __m256i red = _mm256_setr_epi8(2, -1, -1, -1, 5, -1, -1, -1, 8, -1, -1, -1, 11, -1, -1, -1,  //
                                         2, -1, -1, -1, 5, -1, -1, -1, 8, -1, -1, -1, 11, -1, -1, -1);
    const __m256i sum =
        _mm256_add_epi32(_mm256_madd_epi16(_mm256_shuffle_epi8(v, blueGreen), _mm256_set1_epi32((19235 << 16) | 3735)),
                         _mm256_madd_epi16(_mm256_shuffle_epi8(v, red), _mm256_set1_epi32(9798)));
    const __m256i dark = _mm256_cmpgt_epi32(_mm256_set1_epi32(kDarkBelow), sum);
    return static_cast<std::uint32_t>(_mm256_movemask_ps(_mm256_castsi256_ps(dark)));
  }

  __attribute__((target("avx2"))) static inline std::uint32_t Dark32(const std::uint8_t* p) {
    const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
    const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 32));
    const __m256i c = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 64));
    if (static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_and_si256(_mm256_and_si256(a, b), c))) == ~0u) return 0;
    if (_mm256_movemask_epi8(_mm256_or_si256(_mm256_or_si256(a, b), c)) == 0) return ~std::uint32_t{0};
    return Mixed32(p);
  }

  // Pixels some dark and some light, or not all bytes on one side of 128.
  __attribute__((target("avx2"))) static inline std::uint32_t Mixed32(const std::uint8_t* p) {
    // Pixels 8k to 8k + 7 lie in bytes 24k to 24k + 23; every load stays
    // within the 96 bytes.
    return Dark8(p, true) | Dark8(p + 16, false) << 8 | Dark8(p + 48, true) << 16 | Dark8(p + 64, false) << 24;
  }

  // 64 pixels, 192 bytes: most runs of 64 in a picture are all light or all
  // dark, told by one test of their bytes' top bits.
  __attribute__((target("avx2"))) static inline std::uint64_t Dark64(const std::uint8_t* p) {
    __m256i v[6];
    for (int k = 0; k < 6; ++k) v[k] = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 32 * k));
    const __m256i all = _mm256_and_si256(_mm256_and_si256(_mm256_and_si256(v[0], v[1]), _mm256_and_si256(v[2], v[3])),
                                         _mm256_and_si256(v[4], v[5]));
    if (static_cast<std::uint32_t>(_mm256_movemask_epi8(all)) == ~0u) return 0;
    const __m256i any = _mm256_or_si256(_mm256_or_si256(_mm256_or_si256(v[0], v[1]), _mm256_or_si256(v[2], v[3])),
                                        _mm256_or_si256(v[4], v[5]));
    if (_mm256_movemask_epi8(any) == 0) return ~std::uint64_t{0};
    return Dark32(p) | static_cast<std::uint64_t>(Dark32(p + 96)) << 32;
  }
};
#endif

RAVELPEN_SCAN_INLINE int CountBits(std::uint64_t v) { return __builtin_popcountll(v); }

// A row of bits a pixel, with a light word either side: pixel x is bit
// x % 64 of word x / 64 + 1.
struct BitRow {
  std::uint64_t* bits = nullptr;
  std::size_t lo = 1, hi = 0;  // the words that may be non-zero; none when lo > hi
};

// A non-zero word of outline pixels, and the list index of the first outline
// pixel of its row at or after it.
struct OutlineWord {
  std::uint32_t word;
  std::uint32_t before;
  std::uint64_t bits;
};

// The pass over the picture: a row's outline pixels are known once the row
// above is read. They are kept as the non-zero words of each row. Every
// member is inlined into the scan built for the processor.
template <typename Pixels>
class RowScan {
 public:
  RAVELPEN_SCAN_INLINE RowScan(std::size_t width, std::size_t height, std::vector<OutlineWord>& outline,
                               std::vector<std::uint32_t>& rowFirst)
      : width_(width), height_(height), words_((width + 63) / 64 + 2), outline_(outline), rowFirst_(rowFirst),
        bitStore_(6 * words_, 0) {
    std::memset(tail_, 0xFF, sizeof tail_);
    for (std::size_t k = 0; k < 3; ++k) dark_[k].bits = bitStore_.data() + k * words_;
    light_.bits = bitStore_.data() + 3 * words_;
    inner_ = bitStore_.data() + 4 * words_;
    edge_ = bitStore_.data() + 5 * words_;
  }

  // Returns the number of outline pixels.
  RAVELPEN_SCAN_INLINE std::uint32_t Run(const std::uint8_t* rows, std::size_t rowSize) {
    rowFirst_.assign(height_ + 1, 0);
    for (std::size_t r = 0; r <= height_; ++r) {
      if (r < height_) MarkDark(rows + r * rowSize, dark_[r % 3]);
      if (r >= 1) {
        const std::size_t m = r - 1;
        const BitRow& below = m >= 1 ? dark_[(m - 1) % 3] : light_;
        const BitRow& above = m + 1 < height_ ? dark_[(m + 1) % 3] : light_;
        MarkEdge(below, dark_[m % 3], above);
        rowFirst_[m + 1] = static_cast<std::uint32_t>(outline_.size());
      }
    }
    return total_;
  }

 private:
  RAVELPEN_SCAN_INLINE void MarkDark(const std::uint8_t* pixel, BitRow& d) {
    const std::size_t whole = width_ / 64;
    for (std::size_t w = 1; w <= whole; ++w, pixel += 192) d.bits[w] = Pixels::Dark64(pixel);
    if (const std::size_t rest = width_ % 64; rest != 0) {
      // The last pixels of the row, followed by light ones.
      std::memcpy(tail_, pixel, 3 * rest);
      d.bits[whole + 1] = Pixels::Dark64(tail_);
    }
    // The words holding dark pixels, from both ends.
    d.lo = 1;
    d.hi = words_ - 2;
    while (d.lo <= d.hi && d.bits[d.lo] == 0) ++d.lo;
    while (d.hi >= d.lo && d.bits[d.hi] == 0) --d.hi;
  }

  RAVELPEN_SCAN_INLINE void MarkEdge(const BitRow& below, const BitRow& middle, const BitRow& above) {
    if (middle.lo > middle.hi) return;
    // A dark pixel is inside when all eight around it are dark. Whole rows
    // of words at a time, which the compiler turns into vector code.
    const std::size_t lo = middle.lo, hi = middle.hi;
    const std::uint64_t* __restrict down = below.bits;
    const std::uint64_t* __restrict mid = middle.bits;
    const std::uint64_t* __restrict up = above.bits;
    std::uint64_t* __restrict inner = inner_;
    std::uint64_t* __restrict edge = edge_;
    for (std::size_t w = lo - 1; w <= hi + 1; ++w) inner[w] = down[w] & mid[w] & up[w];
    for (std::size_t w = lo; w <= hi; ++w)
      edge[w] = mid[w] & ~(inner[w] & ((inner[w] << 1) | (inner[w - 1] >> 63)) & ((inner[w] >> 1) | (inner[w + 1] << 63)));
    for (std::size_t w = lo; w <= hi; ++w) {
      // Runs of words inside a dark area are passed over four at a time.
      if (w + 3 <= hi && (edge[w] | edge[w + 1] | edge[w + 2] | edge[w + 3]) == 0) {
        w += 3;
        continue;
      }
      if (edge[w]) {
        outline_.push_back({static_cast<std::uint32_t>(w), total_, edge[w]});
        total_ += static_cast<std::uint32_t>(CountBits(edge[w]));
      }
    }
  }

  const std::size_t width_, height_, words_;
  std::vector<OutlineWord>& outline_;
  std::vector<std::uint32_t>& rowFirst_;
  std::vector<std::uint64_t> bitStore_;
  // Three rows of dark pixels and a light row; the inside and outline
  // pixels of the row being marked.
  BitRow dark_[3], light_;
  std::uint64_t* inner_ = nullptr;
  std::uint64_t* edge_ = nullptr;
  std::uint8_t tail_[192];
  std::uint32_t total_ = 0;
};

// Words w - 1, w and w + 1 of a row of outline pixels around word w of a
// nearby row, found by a cursor that moves along the row's words as w grows:
// the row's bits from pixel 64 (w - 1) - 2 on, and the list index of its
// first outline pixel from there on.
class NearWords {
 public:
  RAVELPEN_SCAN_INLINE NearWords(const OutlineWord* from, const OutlineWord* to) : at_(from), end_(to) {}

  RAVELPEN_SCAN_INLINE void MoveTo(std::size_t w) {
    while (at_ != end_ && at_->word + 1 < w) ++at_;
    const OutlineWord* p = at_;
    std::uint64_t left = 0, middle = 0, right = 0;
    first_ = p != end_ ? p->before : 0;
    if (p != end_ && p->word + 1 == w) {
      left = p->bits;
      first_ = p->before + static_cast<std::uint32_t>(CountBits(left & ((std::uint64_t{1} << 62) - 1)));
      ++p;
    }
    if (p != end_ && p->word == w) {
      middle = p->bits;
      ++p;
    }
    if (p != end_ && p->word == w + 1) right = p->bits;
    // Bit b of low_ is pixel 64 (w - 1) + b - 2; high_ carries on from bit 64.
    low_ = (middle << 2) | (left >> 62);
    high_ = (right << 2) | (middle >> 62);
  }

  // Bits x - 2 to x + 2 for pixel x = 64 (w - 1) + b, and in `first` the list
  // index of the first of them (when any is set).
  RAVELPEN_SCAN_INLINE std::uint32_t Five(unsigned b, std::uint32_t& first) const {
    const unsigned __int128 both = (static_cast<unsigned __int128>(high_) << 64) | low_;
    const auto five = static_cast<std::uint32_t>(both >> b) & 31;
    first = first_ + static_cast<std::uint32_t>(CountBits(low_ & ((std::uint64_t{1} << b) - 1)));
    return five;
  }

 private:
  const OutlineWord* at_;
  const OutlineWord* end_;
  std::uint64_t low_ = 0, high_ = 0;
  std::uint32_t first_ = 0;
};

// The members of the lattice being filled.
struct LatticeOut {
  std::vector<std::int32_t>& x;
  std::vector<std::int32_t>& row;
  std::vector<std::uint32_t>& around;
  std::vector<std::uint32_t>& base;
  std::int32_t& leastX;
  std::int32_t& greatestX;
};

// Each outline pixel with its neighbourhood, row by row: the rows two either
// way are walked alongside, a word at a time.
RAVELPEN_SCAN_INLINE void Emit(const std::vector<OutlineWord>& outline, const std::vector<std::uint32_t>& rowFirst,
                               std::uint32_t count, std::size_t height, LatticeOut& out) {
  out.x.resize(count);
  out.row.resize(count);
  out.around.resize(count);
  out.base.resize(4 * static_cast<std::size_t>(count));
  const OutlineWord* words = outline.data();
  for (std::size_t r = 0; r < height; ++r) {
    if (rowFirst[r] == rowFirst[r + 1]) continue;
    NearWords near[5] = {{words, words}, {words, words}, {words, words}, {words, words}, {words, words}};
    for (int dy = -2; dy <= 2; ++dy) {
      const long long n = static_cast<long long>(r) + dy;
      if (n >= 0 && n < static_cast<long long>(height))
        near[dy + 2] = NearWords(words + rowFirst[static_cast<std::size_t>(n)],
                                 words + rowFirst[static_cast<std::size_t>(n) + 1]);
    }
    for (std::uint32_t k = rowFirst[r]; k < rowFirst[r + 1]; ++k) {
      const std::size_t w = words[k].word;
      for (NearWords& row : near) row.MoveTo(w);
      std::uint32_t i = words[k].before;
      for (std::uint64_t bits = words[k].bits; bits != 0; bits &= bits - 1, ++i) {
        const auto b = static_cast<unsigned>(__builtin_ctzll(bits));
        std::uint32_t around = 0;
        std::uint32_t* base = out.base.data() + 4 * static_cast<std::size_t>(i);
        std::uint32_t first = 0;
        around |= near[0].Five(b, first);
        base[0] = first;
        around |= near[1].Five(b, first) << 5;
        base[1] = first;
        around |= near[2].Five(b, first) << 10;
        around |= near[3].Five(b, first) << 15;
        base[2] = first;
        around |= near[4].Five(b, first) << 20;
        base[3] = first;
        out.x[i] = static_cast<std::int32_t>((w - 1) * 64 + b);
        out.row[i] = static_cast<std::int32_t>(r);
        out.around[i] = around;
      }
    }
    const OutlineWord& last = words[rowFirst[r + 1] - 1];
    out.leastX = std::min(out.leastX, out.x[words[rowFirst[r]].before]);
    out.greatestX = std::max(out.greatestX, out.x[last.before + static_cast<std::uint32_t>(CountBits(last.bits)) - 1]);
  }
}

template <typename Pixels>
RAVELPEN_SCAN_INLINE void ScanRows(const std::uint8_t* rows, std::size_t rowSize, std::size_t width,
                                   std::size_t height, LatticeOut& out) {
  std::vector<OutlineWord> outline;
  std::vector<std::uint32_t> rowFirst;
  const std::uint32_t count = RowScan<Pixels>(width, height, outline, rowFirst).Run(rows, rowSize);
  Emit(outline, rowFirst, count, height, out);
}

#ifdef RAVELPEN_AVX2_SCAN
// Flattened: the pixel tests, built for AVX2 only, are inlined here.
__attribute__((target("avx2,popcnt,bmi"), flatten)) void ScanAvx2(const std::uint8_t* rows, std::size_t rowSize,
                                                                   std::size_t width, std::size_t height,
                                                                   LatticeOut& out) {
  ScanRows<Avx2Pixels>(rows, rowSize, width, height, out);
}
#endif

void ScanBaseline(const std::uint8_t* rows, std::size_t rowSize, std::size_t width, std::size_t height,
                  LatticeOut& out) {
  ScanRows<PlainPixels>(rows, rowSize, width, height, out);
}

}  // namespace

OutlineLattice::OutlineLattice(const std::uint8_t* rows, std::size_t rowSize, std::size_t width, std::size_t height,
                               Scan scan) {
  if (width == 0 || height == 0) return;
  leastX_ = static_cast<std::int32_t>(width);
  greatestX_ = -1;
  LatticeOut out{x_, row_, around_, base_, leastX_, greatestX_};
#ifdef RAVELPEN_AVX2_SCAN
  if (scan == Scan::kFastest && __builtin_cpu_supports("avx2") && __builtin_cpu_supports("popcnt") &&
      __builtin_cpu_supports("bmi")) {
    ScanAvx2(rows, rowSize, width, height, out);
    return;
  }
#endif
  ScanBaseline(rows, rowSize, width, height, out);
}

}  // namespace ravelpen
