#pragma once
// Type 2: one text (one or more lines) with its font choice and layout
// settings, and the geometry made from them: strokes of a stroke font pair
// (the default), TrueType outlines, or needle dots of a dot font. It is also
// the base part of the serial-number, date, VIN and ruler texts.
//
// The text stays code page 936 bytes. After every change of the settings the
// text is laid out again (SetText at the anchor from GetFixedPoint) and its
// stroke groups rebuilt (RecalcPath).
#include <string>

#include "document/geometry/CDoublePoint.h"
#include "document/geometry/CDoubleRect.h"
#include "document/geometry/CPointList.h"
#include "document/objects/CObjBase.h"
#include "document/path/CPathData.h"
#include "text/layout/TextLayoutContext.h"
#include "text/layout/TextSettings.h"

class MrkLineWriter;
struct MrkValue;
struct CObjTypeOps;

// What the layout view hands over for a new text.
struct TextCreateRecord {
  CDoublePoint point;
  std::string text;  // code page 936 bytes
};

class CObjText : public CObjBase {
 public:
  // Loading and duplication: no font file names, position (0, 0), no text.
  CObjText();
  // A new text from the layout view: the default fonts at the creation point.
  explicit CObjText(const TextCreateRecord& record);
  // Base of the ruler (no text) and of the serial-number text (prefix + serial + suffix).
  explicit CObjText(const CDoublePoint& point);
  CObjText(const CDoublePoint& point, const std::string& prefix, const std::string& serial, const std::string& suffix);
  ~CObjText() override = default;

  const std::string& GetText() const { return s_.text; }
  // Stores the text and the anchor and lays the text out.
  void SetText(const std::string& text, const CDoublePoint& anchor, bool align);
  void CreatePoints(const CDoublePoint& anchor, bool align);
  void SetTrueTypeMode(bool on);
  void SetDotFontMode(bool on);
  void SetVinTwoLines(bool on);
  void SetSplitDisplay(bool on) { SetVinTwoLines(on); }
  // The text as last marked, for the marking records.
  void StoreMarkedText() { markedText_ = s_.text; }
  const std::string& GetMarkedText() const { return markedText_; }
  // Copies the settings (not the geometry); does not lay out.
  void CopyFrom(const CObjText& other);
  CDoublePoint GetFixedPoint(const CDoubleRect& rect) const { return FixedPointOf(rect, s_.fixedCorner); }

  void Offset(double dx, double dy);        // points and position
  void OffsetPoints(double dx, double dy);  // points only
  void MirrorX(double a);
  void MirrorY(double a);
  void MirrorPointsX(double a);
  void MirrorPointsY(double a);
  void RotatePoints(const CDoublePoint& centre, double degrees);
  void Rotate(double radians, const CDoublePoint& centre);
  // Handle resize (old bounds, new rectangle, handle code); both rectangles
  // then hold the new bounds.
  void ResizeToRect(CDoubleRect& oldRect, CDoubleRect& newRect, int handle);
  // Rebuilds the stroke groups from the points, with the owner's fill settings.
  void RecalcPath();
  // The closed outline of an arc-arranged text; empty for other texts.
  void GetArcBorderPath(CPointList& out) const;

  // Project file.
  void Write(MrkLineWriter& out) const;
  void WriteCommonKeys(MrkLineWriter& out) const;
  void SetProperty(int key, const MrkValue& value);
  void SetStringProperty(int key, const std::string& value);
  // A text read from a file is written back as its block was read until it
  // changes (the element keeps the block), so a project saved again keeps its
  // bytes even where this machine's fonts draw the text differently or not at
  // all. The rectangle it was saved with stands in for the bounds while the
  // text has no geometry (its fonts are missing); it follows the text's moves.
  void KeepSaved(const CDoubleRect& rect);
  bool IsUnchangedSinceRead() const { return pristine_; }
  // The bounds the file gets (keys 55 to 58).
  CDoubleRect GetSavedBounds() const;
  // Bounds for the element.
  CDoubleRect GetElementBounds() const;

  CPathData& GetPathData() { return path_; }
  const CPathData& GetPathData() const { return path_; }
  // Settings handed out for changing: the text no longer counts as unchanged
  // since reading, so a change made through them is saved.
  TextSettings& Settings() {
    Changed();
    return s_;
  }
  const TextSettings& Settings() const { return s_; }
  // What the last layout could not draw.
  const TextLayoutReport& GetLayoutReport() const { return report_; }
  // Stroke fonts kept open by the caller for the layouts of this text (null:
  // each layout opens its own); the caller's cache outlives them.
  void ShareStrokeFonts(ShxFontCache* fonts) { strokeFonts_ = fonts; }

 protected:
  // The object no longer matches the block it was read from.
  void Changed() { pristine_ = false; }
  // The common finishing step for geometry a derived object builds itself:
  // strokes appended to the main list (ruler), or dots replacing the main or
  // second list (codes), aligned on the anchor by the fixed corner.
  void PlaceStrokes(const CPointList& work, const CDoublePoint& anchor, bool align);
  void PlaceDots(CPointList& work, const CDoublePoint& anchor, bool align, bool toSecond);
  // Adds what a layout of a part of this text (a ruler's label) could not draw.
  void MergeLayoutReport(const TextLayoutReport& part);
  void ClearLayoutReport() { report_.Clear(); }

 private:
  bool HasNoGeometry() const;
  TextLayoutContext Context();

  CPathData path_;
  TextSettings s_;
  TextLayoutReport report_;
  ShxFontCache* strokeFonts_ = nullptr;
  std::string markedText_;
  bool pristine_ = false;
  bool haveSavedBounds_ = false;
  CDoubleRect savedBounds_;
};

// Dispatch table of the text (type 2); registered at start-up.
const CObjTypeOps& TextTypeOps();
