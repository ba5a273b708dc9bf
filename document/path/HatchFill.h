#pragma once
// Pieces of the hatch fill (CStrokeGroup::HatchFill): the stroke record, its
// array, the sorts of the hit list and the nearest-stroke ordering.
#include <vector>

#include "document/geometry/CDoublePoint.h"
#include "document/geometry/CPointList.h"

class CArchive;
class CStrokeGroup;

// One fill stroke: first end, second end.
struct HatchSegment {
  CDoublePoint first;
  CDoublePoint second;
};
static_assert(sizeof(HatchSegment) == 48, "stored as 48 raw bytes per record");

// Growable array of fill strokes; removing one moves the later ones down.
class CHatchSegmentArray {
 public:
  int Add(const HatchSegment& s);  // returns the new index
  int GetSize() const { return static_cast<int>(items_.size()); }
  HatchSegment& GetAt(int i) { return items_[static_cast<std::size_t>(i)]; }
  const HatchSegment& GetAt(int i) const { return items_[static_cast<std::size_t>(i)]; }
  void RemoveAt(int i);
  void RemoveAll() { items_.clear(); }
  // Count in the compact encoding, then 48 raw bytes per record.
  void Serialize(CArchive& ar);

 private:
  std::vector<HatchSegment> items_;
};

// In-place sorts by x or y; equal keys keep their order.
void SortPointsByX(CPointList& list, bool ascending);
void SortPointsByY(CPointList& list, bool ascending);

// Turns the segment so that its end nearer to p comes first (flag 0x01 clear on
// the first end, set on the second); returns the distance to that end.
double OrderSegmentFrom(HatchSegment& segment, const CDoublePoint& p);

// Removes the segment nearest to the reference point (ties: the earlier one),
// writes it oriented from the reference into out and moves the reference to
// its nearer end. False when the array is empty.
bool TakeNearestSegment(CHatchSegmentArray& segments, CDoublePoint& reference, HatchSegment& out);

// Appends the segments to out in the order repeated TakeNearestSegment calls
// from start would give (first end, second end per segment), in near-linear
// time. The array is left empty.
void AppendSegmentsNearestFirst(CHatchSegmentArray& segments, CDoublePoint start, CPointList& out);

// The fill strokes of a group's contours in scan order, before the
// nearest-first ordering: pairs in `strokes`, the first stroke of every scan
// line that made strokes in `lineStart`, and the unit direction of the lines.
struct HatchScan {
  CPointList strokes;
  std::vector<int> lineStart;
  double alongX = 1.0;
  double alongY = 0.0;
};

// Runs the scan lines of the fill (back and forth along the sweep). False,
// with no strokes, when the fill is refused for its size.
bool ScanHatchStrokes(const CStrokeGroup& group, float angle, float spacing, HatchScan& scan);

// Appends the scanned strokes to out in the order repeated TakeNearestSegment
// calls from the first stroke's first end would give, through the scan lines.
void AppendScanStrokesNearestFirst(const HatchScan& scan, CPointList& out);

// Fills whose scan lines would exceed this count are refused: no machine area
// needs more (3000 mm at the finest spacing of 0.03 mm is 100000 lines, about
// 141000 across the diagonal), and a stray far point must not stall the program.
constexpr double kMaxHatchScanLines = 150000;

// Fills that would make more strokes than this are refused as well: the scan
// lines alone do not bound a shape with many crossings per line (a comb), and
// a machine takes hours over this many strokes. A ring across the largest
// machine area at the finest spacing needs 200000.
constexpr int kMaxHatchStrokes = 200000;
