#pragma once
// QR Code (model 2) encoder: numeric, alphanumeric, 8-bit and Kanji runs,
// versions 1..40, levels L/M/Q/H, the eight mask patterns. All working storage
// is inside the object (it lives on the caller's stack), so encoding never
// allocates. The symbol carries no quiet zone.
#include <cstdint>

#include "document/geometry/CDoublePoint.h"

class CPointList;

// Largest input any symbol can hold (7089 digits in a version 40-L symbol).
// Every byte can start its own run before the runs are joined.
constexpr int QR_MAX_INPUT = 7089;
constexpr int QR_MAX_DATA_CODEWORDS = 2956;
constexpr int QR_MAX_TOTAL_CODEWORDS = 3706;
constexpr int QR_MAX_BITS = QR_MAX_DATA_CODEWORDS * 8;  // 23648
constexpr int QR_MAX_SIZE = 177;

// Module byte bits while the symbol is built.
constexpr std::uint8_t QR_FUNCTION = 0x20;
constexpr std::uint8_t QR_FUNCTION_DARK = 0x10;
constexpr std::uint8_t QR_DATA_BIT = 0x02;
constexpr std::uint8_t QR_MASKED = 0x01;

enum QrMode : std::uint8_t { QR_NUMERIC = 0, QR_ALPHANUMERIC = 1, QR_8BIT = 2, QR_KANJI = 3 };

// Format information (15 bits, masked with 0x5412) for a level and mask,
// version information (18 bits) for versions 7 and up, and the data
// codewords a version holds at a level.
int QrFormatBits(int level, int mask);
int QrVersionBits(int version);
int QrDataCodewords(int version, int level);

class CQrEncoder {
 public:
  CQrEncoder() = default;
  CQrEncoder(const CQrEncoder&) = delete;
  CQrEncoder& operator=(const CQrEncoder&) = delete;
  ~CQrEncoder() = default;

  // level 0..3 (L, M, Q, H); version 0 automatic or 1..40; autoExtend lets a
  // larger version than the requested one be used; mask -1 automatic or 0..7.
  // A length below 1 takes data as a zero-terminated string. Returns 1 with a
  // finished module matrix, else 0 (empty data, too long, version too small
  // without autoExtend, settings out of range).
  int Encode(int level, int version, int autoExtend, int mask, const char* data, int length);

  // One point (flag 0) per dark module at its centre, columns left to right,
  // rows top to bottom; the symbol hangs down from topLeft (y up). Returns the
  // symbol size (0 when nothing was encoded).
  int EmitDots(const CDoublePoint& topLeft, CPointList* out, float moduleSize) const;

  int GetLevel() const { return level_; }
  int GetVersion() const { return version_; }
  int GetMask() const { return mask_; }
  int GetSymbolSize() const { return symbolSize_; }
  int GetRunCount() const { return runCount_; }
  QrMode GetRunMode(int i) const { return static_cast<QrMode>(runModes_[i]); }
  int GetRunLength(int i) const { return runLengths_[i]; }
  int GetBitCount() const { return bitCount_; }
  const std::uint8_t* GetDataCodewords() const { return dataCodewords_; }
  int GetTotalCodewords() const { return totalCodewords_; }
  const std::uint8_t* GetFinalCodewords() const { return finalCodewords_; }
  // 1 dark, 0 light once Encode succeeded; column first.
  bool IsDark(int column, int row) const { return matrix_[column][row] != 0; }
  const std::uint8_t (&GetMatrix() const)[QR_MAX_SIZE][QR_MAX_SIZE] { return matrix_; }

  // Penalty of a finished matrix (1 dark, 0 light), lower is better.
  static int Penalty(const std::uint8_t (&matrix)[QR_MAX_SIZE][QR_MAX_SIZE], int size);

 private:
  int FindVersion(int requested);
  void AnalyseRuns(int group);
  void JoinRuns(int into, int from);
  int RunCost(int mode, int length, int group) const;
  void WriteRuns(int group);
  void PutBits(unsigned value, int bits);
  void BuildCodewords();
  void BuildMatrix();
  void PlaceFunctionPatterns();
  void PlaceCodewords();
  void ApplyMask(int mask);
  void PlaceFormat(int mask);

  int level_ = 0;
  int version_ = 0;
  int mask_ = -1;
  const unsigned char* data_ = nullptr;
  int length_ = 0;
  int runCount_ = 0;
  std::uint8_t runModes_[QR_MAX_INPUT] = {};
  int runLengths_[QR_MAX_INPUT] = {};
  int bitCount_ = 0;
  std::uint8_t dataCodewords_[QR_MAX_DATA_CODEWORDS] = {};
  int totalCodewords_ = 0;
  std::uint8_t finalCodewords_[QR_MAX_TOTAL_CODEWORDS] = {};
  std::uint8_t blockWork_[160] = {};
  int symbolSize_ = 0;
  std::uint8_t matrix_[QR_MAX_SIZE][QR_MAX_SIZE] = {};
};
