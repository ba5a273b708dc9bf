#pragma once
// DataMatrix ECC 200 symbols through libdmtx: the text, an encodation scheme
// index and a symbol size index in, one dot per dark module out.
#include <string>

#include "document/geometry/CDoublePoint.h"

class CPointList;
struct DmtxEncode_struct;

// Scheme index: 0 ASCII, 1 C40, 2 Text, 3 X12, 4 EDIFACT, 5 Base 256,
// 6 automatic (best), 7 automatic (fast, which the library refuses); any
// other value ASCII.
// Size index: 0 smallest rectangle, 1 smallest square, 2 refused, 3..26 the
// square sizes 10x10..144x144, 27..32 the rectangles 8x18..16x48.
constexpr int DM_SIZE_INDEX_COUNT = 33;
constexpr int DM_INPUT_CAPACITY = 256;  // 255 bytes of text and the terminator

class CDataMatrixMaker {
 public:
  CDataMatrixMaker() = default;
  CDataMatrixMaker(const CDataMatrixMaker&) = delete;
  CDataMatrixMaker& operator=(const CDataMatrixMaker&) = delete;
  ~CDataMatrixMaker();

  // 1 when a symbol was built, else 0 with the library data already released.
  // Empty texts, texts longer than 255 bytes and size indexes outside 0..32
  // are refused; the text ends at its first zero byte.
  int Encode(const std::string& text, int scheme, int size);
  // One point (flag 0) per dark module at its centre, the top row first; the
  // symbol hangs down from topLeft (y up), without quiet zone.
  void EmitDots(const CDoublePoint& topLeft, CPointList* out, float moduleSize) const;
  // Frees the library's symbol and image data.
  void Release();

  bool HasSymbol() const { return encode_ != nullptr; }
  int GetRows() const;
  int GetColumns() const;
  // Library size index of the built symbol (0.. square, then rectangles), -1 without symbol.
  int GetSymbolSizeIndex() const;
  // Row counted from the top of the symbol.
  bool IsDark(int rowFromTop, int column) const;

 private:
  DmtxEncode_struct* encode_ = nullptr;
  struct Rgb {
    unsigned char r, g, b;
  };
  Rgb foreground_ = {0, 0, 0};
  Rgb background_ = {255, 255, 255};
  int sizeRequest_ = -2;  // square, automatic
  char input_[DM_INPUT_CAPACITY] = {};
  int inputCapacity_ = DM_INPUT_CAPACITY;
  int inputLength_ = 0;
};
