#pragma once
// Device-context drawing as the layout view draws: a current position,
// MoveTo/LineTo, pens and brushes, pixels, ellipses and flood fill. The
// document code draws through this; the GUI backs it with QPainter and the
// tests with a recording context.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/WinTypes.h"

namespace platform {

struct PictureBitmap;

struct DcPoint {
  int x = 0;
  int y = 0;
  bool operator==(const DcPoint&) const = default;
};

constexpr int PS_SOLID = 0;
constexpr int PS_DASH = 1;
constexpr int PS_DOT = 2;
constexpr int PS_DASHDOT = 3;
constexpr int PS_NULL = 5;

struct DcPen {
  int style = PS_SOLID;
  int width = 1;
  COLORREF color = 0;
  bool operator==(const DcPen&) const = default;
};

struct DcBrush {
  bool hollow = false;
  COLORREF color = 0;
  bool operator==(const DcBrush&) const = default;
};

// A font by face name, size in tenths of a point and weight (400 normal).
struct DcFont {
  std::string face;
  int pointTenths = 0;  // 0: the context's own font
  int weight = 400;
  bool operator==(const DcFont&) const = default;
};

// A box in device pixels, its edges included.
struct DcRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool operator==(const DcRect&) const = default;
};

struct DcSize {
  int cx = 0;
  int cy = 0;
  bool operator==(const DcSize&) const = default;
};

// Where TextOut's point lies on the text: its top-left corner, or the left
// end of its baseline.
constexpr UINT TA_TOP = 0;
constexpr UINT TA_BASELINE = 24;

class DeviceContext {
 public:
  virtual ~DeviceContext() = default;
  virtual DcPoint MoveTo(int x, int y) = 0;  // returns the previous position
  virtual void LineTo(int x, int y) = 0;     // draws and moves the position
  virtual DcPoint GetCurrentPosition() const = 0;
  virtual DcPen SelectPen(const DcPen& pen) = 0;  // returns the previous pen
  virtual DcBrush SelectBrush(const DcBrush& brush) = 0;
  virtual DcPen CurrentPen() const = 0;
  virtual DcBrush CurrentBrush() const = 0;
  virtual void SetPixel(int x, int y, COLORREF color) = 0;
  // Outline of the ellipse in the box with the current pen, filled with the
  // current brush unless it is hollow.
  virtual void Ellipse(int left, int top, int right, int bottom) = 0;
  // Arc outline on the box from the start point to the end point, counter-clockwise.
  virtual void Arc(int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd) = 0;
  // Fills outwards from (x, y) with the current brush up to the border colour.
  virtual void FloodFill(int x, int y, COLORREF border) = 0;
  virtual void Rectangle(int left, int top, int right, int bottom) = 0;
  virtual void FillSolidRect(int left, int top, int width, int height, COLORREF color) = 0;
  // Text in the selected font and text colour, on a transparent background,
  // placed by the text alignment.
  virtual void TextOut(int x, int y, const std::string& utf8) = 0;
  // Each returns the previous setting. Defaults: the context's own font,
  // black, TA_TOP.
  virtual DcFont SelectFont(const DcFont& font);
  virtual COLORREF SetTextColor(COLORREF color);
  virtual UINT SetTextAlign(UINT align);
  // Width and height of the text in the selected font. A context without
  // fonts of its own measures 8 x 16 pixels a character.
  virtual DcSize GetTextExtent(const std::string& utf8) const;
  // Lines through the points in order with the current pen; the position
  // ends at the last point. Contexts that can draw a run at once override it.
  virtual void Polyline(const DcPoint* points, int count);
  // Point by point, a LineTo the point where joined[i] is set, else a MoveTo
  // it: a path handed over in one call, for contexts that take many points
  // faster that way.
  virtual void MoveOrLineTo(const DcPoint* points, const std::uint8_t* joined, int count);
  // Draws the whole picture stretched into the box; false when this context
  // cannot draw pictures.
  virtual bool DrawBitmap(int /*left*/, int /*top*/, int /*width*/, int /*height*/, const PictureBitmap& /*bitmap*/) {
    return false;
  }

 protected:
  DcFont font_;
  COLORREF textColor_ = 0;
  UINT textAlign_ = TA_TOP;
};

// Records every call, for tests.
struct DcOp {
  enum Kind { MoveTo, LineTo, SelectPen, SelectBrush, SetPixel, Ellipse, Arc, FloodFill, Rectangle, FillSolidRect, TextOut, DrawBitmap } kind;
  std::vector<int> args;  // coordinates in call order
  DcPen pen;              // for SelectPen, and the pen in force for drawing calls
  DcBrush brush;          // for SelectBrush, and the brush in force
  COLORREF color = 0;     // SetPixel, FloodFill border, FillSolidRect, TextOut's text colour
  std::string text;
  DcFont font;            // TextOut: the font and the alignment in force
  UINT align = TA_TOP;
};

class RecordingDeviceContext : public DeviceContext {
 public:
  DcPoint MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  DcPoint GetCurrentPosition() const override;
  DcPen SelectPen(const DcPen& pen) override;
  DcBrush SelectBrush(const DcBrush& brush) override;
  DcPen CurrentPen() const override;
  DcBrush CurrentBrush() const override;
  void SetPixel(int x, int y, COLORREF color) override;
  void Ellipse(int left, int top, int right, int bottom) override;
  void Arc(int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd) override;
  void FloodFill(int x, int y, COLORREF border) override;
  void Rectangle(int left, int top, int right, int bottom) override;
  void FillSolidRect(int left, int top, int width, int height, COLORREF color) override;
  void TextOut(int x, int y, const std::string& utf8) override;
  // Recorded with the box, then the picture's width and height.
  bool DrawBitmap(int left, int top, int width, int height, const PictureBitmap& bitmap) override;

  const std::vector<DcOp>& Ops() const { return ops_; }
  void Clear() { ops_.clear(); }

 private:
  void Record(DcOp::Kind kind, std::vector<int> args, COLORREF color = 0, std::string text = {});
  std::vector<DcOp> ops_;
  DcPoint pos_;
  DcPen pen_;
  DcBrush brush_;
};

}  // namespace platform
