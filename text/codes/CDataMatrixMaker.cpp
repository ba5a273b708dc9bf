#include "text/codes/CDataMatrixMaker.h"

#include <dmtx.h>

#include <cstring>

#include "document/geometry/CPointList.h"

namespace {

constexpr int kModulePixels = 5;
constexpr int kMarginPixels = 10;

int SchemeFor(int index) {
  switch (index) {
    case 1: return DmtxSchemeC40;
    case 2: return DmtxSchemeText;
    case 3: return DmtxSchemeX12;
    case 4: return DmtxSchemeEdifact;
    case 5: return DmtxSchemeBase256;
    case 6: return DmtxSchemeAutoBest;
    case 7: return DmtxSchemeAutoFast;
    default: return DmtxSchemeAscii;
  }
}

}  // namespace

CDataMatrixMaker::~CDataMatrixMaker() { Release(); }

void CDataMatrixMaker::Release() {
  if (encode_ != nullptr) dmtxEncodeDestroy(&encode_);
  encode_ = nullptr;
}

int CDataMatrixMaker::Encode(const std::string& text, int scheme, int size) {
  Release();
  // The size index comes from project files; outside the table the library
  // would read past its size tables.
  if (size < 0 || size >= DM_SIZE_INDEX_COUNT) return 0;
  const std::size_t length = strnlen(text.c_str(), text.size());
  // A longer text would not fit the input buffer; a cut text would mark a wrong code.
  if (length == 0 || length >= static_cast<std::size_t>(inputCapacity_)) return 0;
  std::memcpy(input_, text.c_str(), length);
  input_[length] = '\0';
  inputLength_ = static_cast<int>(length);
  sizeRequest_ = size - 3;

  encode_ = dmtxEncodeCreate();
  if (encode_ == nullptr) return 0;
  const bool optionsTaken = dmtxEncodeSetProp(encode_, DmtxPropModuleSize, kModulePixels) == DmtxPass &&
                            dmtxEncodeSetProp(encode_, DmtxPropMarginSize, kMarginPixels) == DmtxPass &&
                            dmtxEncodeSetProp(encode_, DmtxPropScheme, SchemeFor(scheme)) == DmtxPass &&
                            dmtxEncodeSetProp(encode_, DmtxPropSizeRequest, sizeRequest_) == DmtxPass;
  if (!optionsTaken ||
      dmtxEncodeDataMatrix(encode_, inputLength_, reinterpret_cast<unsigned char*>(input_)) != DmtxPass ||
      encode_->message == nullptr || encode_->region.sizeIdx < 0) {
    Release();
    return 0;
  }
  return 1;
}

int CDataMatrixMaker::GetSymbolSizeIndex() const { return encode_ ? encode_->region.sizeIdx : -1; }

int CDataMatrixMaker::GetRows() const {
  return encode_ ? dmtxGetSymbolAttribute(DmtxSymAttribSymbolRows, encode_->region.sizeIdx) : 0;
}

int CDataMatrixMaker::GetColumns() const {
  return encode_ ? dmtxGetSymbolAttribute(DmtxSymAttribSymbolCols, encode_->region.sizeIdx) : 0;
}

bool CDataMatrixMaker::IsDark(int rowFromTop, int column) const {
  const int rows = GetRows();
  if (encode_ == nullptr || rowFromTop < 0 || rowFromTop >= rows || column < 0 || column >= GetColumns())
    return false;
  // The library counts rows from the bottom.
  return (dmtxSymbolModuleStatus(encode_->message, encode_->region.sizeIdx, rows - 1 - rowFromTop, column) &
          DmtxModuleOnRGB) != 0;
}

void CDataMatrixMaker::EmitDots(const CDoublePoint& topLeft, CPointList* out, float moduleSize) const {
  if (encode_ == nullptr || out == nullptr) return;
  const int rows = GetRows();
  const int columns = GetColumns();
  const double s = moduleSize;
  for (int r = rows - 1; r >= 0; --r)
    for (int c = 0; c < columns; ++c)
      if (dmtxSymbolModuleStatus(encode_->message, encode_->region.sizeIdx, r, c) & DmtxModuleOnRGB)
        out->Add(CDoublePoint(topLeft.x + s / 2 + c * s, topLeft.y - s / 2 - (rows - 1 - r) * s, 0));
}
