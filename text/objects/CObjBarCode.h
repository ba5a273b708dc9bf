#pragma once
// Type 19: a two-dimensional code (DataMatrix or QR Code) marked as a grid of
// single dots, optionally with its content written beside it. The content is
// the composed serial-number text of the base part or a fixed input text, so
// a code advances after marking like a serial number. The dots live in the
// path's second list (one group of kind 2); the human-readable text adds
// groups of other kinds. Nothing of the dot grid is saved: it is always
// rebuilt from the settings.
#include <string>

#include "platform/DeviceContext.h"
#include "text/objects/CObjTextAutoUpdate.h"

class MrkLineWriter;
struct MrkValue;
struct CObjTypeOps;

constexpr int BARCODE_DATAMATRIX = 0;
constexpr int BARCODE_QR = 1;

// Why the last rebuild left the code without dots.
inline constexpr char kBarCodeEncodeError[] =
    "The code cannot be made from this text with these settings; it has no dots and is not marked.";

struct BarCodeSettings {
  float dotSizeX = 1.0f;
  float dotSizeY = 1.0f;
  float moduleSize = 0.5f;  // [90] mm, the module pitch
  float angle = 0;          // [91] degrees, about the centre of the dots
  int dmScheme = 1;         // [142]
  int dmSize = 6;           // [143]
  int textDirection = 0;    // [141] 0 below, else right of the code turned 90 degrees
  int codeType = BARCODE_DATAMATRIX;  // [140]
  int qrVersion = 0;        // [136] 0 automatic
  int qrLevel = 1;          // [137] 0 L .. 3 H
  int qrMask = 0;           // [138] 0 automatic, n pattern n - 1
  int showText = 0;         // [139]
  int dotOrder = 1;         // [134] 1 columns, 2 rows, 3 nearest first
  int inputMode = 0;        // [135] nonzero: the content is the fixed input text
  CDoublePoint textPosition;  // [98, 99]
  std::string fixedText;      // [239]
};

class CObjBarCode : public CObjTextAutoUpdate {
 public:
  CObjBarCode();
  CObjBarCode(const CDoublePoint& point, const std::string& prefix, const std::string& serial,
              const std::string& suffix);

  // Every setting of the code and of its serial part.
  void CopyFrom(const CObjBarCode& other);
  void SetModuleSize(float size);

  // Stores the text as the fixed input text and the content, rebuilds.
  void SetCodeText(const CDoublePoint& anchor, const std::string& text, int alignToAnchor, int textSource);
  // Rebuilds the dots. textSource 1, 2 or 3 keeps the current content.
  // False when the content could not be encoded (the code then has no dots).
  bool Rebuild(const CDoublePoint& anchor, int alignToAnchor, int placeText, int textSource);
  void UpdateTextPosition();
  // Replaces the human-readable text's groups (kinds other than 2).
  void AddTextPath();
  // Each dot as a filled black square of the module size.
  void Draw(platform::DeviceContext& dc, int originX, int originY, double zoom, const CDoublePoint& offset) const;

  void SetPrefix(const CDoublePoint& anchor, const std::string& text);
  void SetSerial(const CDoublePoint& anchor, const std::string& text);
  void SetSuffix(const CDoublePoint& anchor, const std::string& text);
  // After a marking pass: the serial part steps (no bounds apply) and the
  // code is rebuilt; 1 when it changed.
  int AdvanceAfterMark(const CDoublePoint& anchor);

  void Resize(const CDoubleRect& oldRect, const CDoubleRect& newRect, int handle);
  // About the centre of the dots, whatever centre the element turns about.
  void Rotate(double radians);
  using CObjText::Rotate;

  // Empty when the last rebuild made a code, else why not.
  const std::string& GetEncodeError() const { return encodeError_; }
  int GetDotCount() const { return GetPathData().second.GetSize(); }

  BarCodeSettings& Code() {
    Changed();
    return code_;
  }
  const BarCodeSettings& Code() const { return code_; }

  void Write(MrkLineWriter& out) const;
  void SetProperty(int key, const MrkValue& value);
  void SetStringProperty(int key, const std::string& value);

 private:
  void SetDefaults();
  bool EncodeInto(CPointList& dots) const;
  void OrderDots(CPointList& dots) const;
  void ApplyPart(const CDoublePoint& anchor);

  BarCodeSettings code_;
  std::string encodeError_;
};

// Dispatch table of the barcode (type 19); registered at start-up.
const CObjTypeOps& BarCodeTypeOps();
