#pragma once
// Type 22: a graduated scale of ticks with numeric labels, straight or bent
// along a circular arc, marked as strokes like any text. The labels are laid
// out as small temporary texts with the ruler's font settings; the finished
// list goes through the text's common finishing step.
#include <string>
#include <vector>

#include "text/objects/CObjText.h"

class MrkLineWriter;
struct MrkValue;
struct CObjTypeOps;

struct RulerSettings {
  int units = 60;         // [153] unit steps; ticks at 0..units
  int bigUnits = 10;      // [154] unit steps per big tick
  int zero = 0;           // [155] decimals of the labels
  int reverse = 0;        // [156] numbering up and down in periods of this many big ticks
  int textMode = 0;       // [157] 0 none, 1 big, 2 big and middle, 3 and 4 the same as absolute values
  int first = 0;          // [152] kept only
  int arcMode = 1;        // [158] 1 top, 2 bottom, 3 right, 4 left, 0 the stored start angle
  float lineW = 1.0f;     // [89] mm between unit ticks
  float rHeight = 5.0f;   // [90] mm, big tick
  float sf = 50;          // [91] small tick, percent of rHeight
  float mf = 70;          // [92] middle tick, percent of rHeight
  float sv = 0;           // [93] added to every label
  float uv = 1.0f;        // [94] value of one unit step
  float ur = 0;           // [95] arc radius; above 2 the ruler is an arc
  float arcW = 0;         // [96] degrees per unit step on the arc
  float textDis = 1.0f;   // [97] gap between big ticks and labels
  float sAngle = 0;       // [98] start angle of an arc ruler
  int edge = 1;           // [159] base line or arc
  int dir = 0;            // [160] 0 ticks towards +y (outwards), else -y (inwards)
};

// Start and end marks and the one-way switch: ruler settings that the
// project file has no key for. They go with the object (copies, undo) but
// are not saved, so changing them leaves the block the file holds as it is.
struct RulerMarks {
  int startEnd = 0;  // 0 all marks, 1 none at the start, 2 none at the end
  int oneWay = 0;
};

// Most ticks a ruler draws; a damaged count from a file would otherwise
// exhaust the memory.
constexpr int kRulerMaxUnits = 100000;

class CObjTextRuler : public CObjText {
 public:
  CObjTextRuler();
  explicit CObjTextRuler(const CDoublePoint& point);

  void CopyFrom(const CObjTextRuler& other);
  // Rebuilds ticks and labels (arc when ur > 2) and the groups.
  void CreatePoints(const CDoublePoint& anchor, bool align);
  // On an arc, the angle per unit follows the spacing.
  void UpdateArcAngle();
  void Rotate(double radians, const CDoublePoint& centre);
  void ResizeToRect(CDoubleRect& oldRect, CDoubleRect& newRect, int handle);

  // One tick of the graduation: its place in units, its length, and its
  // label's value when it has one.
  struct Tick {
    double position = 0;
    double length = 0;
    bool labelled = false;
    double value = 0;
  };
  // The graduation in marking order, the extra middle ticks in their place.
  std::vector<Tick> Ticks() const;
  // A label's text: the value with the decimals asked for.
  std::string LabelText(double value) const;

  RulerSettings& Ruler() {
    Changed();
    return r_;
  }
  const RulerSettings& Ruler() const { return r_; }
  RulerMarks& Marks() { return marks_; }
  const RulerMarks& Marks() const { return marks_; }

  void Write(MrkLineWriter& out) const;
  void SetProperty(int key, const MrkValue& value);
  void SetStringProperty(int key, const std::string& value) { CObjText::SetStringProperty(key, value); }

 private:
  void SetDefaults();
  void Graduate(CPointList& work, bool onArc, ShxFontCache& fonts);
  void AddLabel(CPointList& work, const CDoublePoint& at, double value, double angleRad, bool onArc,
                ShxFontCache& fonts);
  RulerSettings r_;
  RulerMarks marks_;
};

// Dispatch table of the ruler (type 22); registered at start-up.
const CObjTypeOps& TextRulerTypeOps();
