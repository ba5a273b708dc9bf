#pragma once
// A group of contours with the hatch strokes that fill them. The kind decides
// how the group is drawn and marked: 0 lines, 1 dots, 2 neither drawn nor
// counted in the group bounds of a path.
#include <memory>

#include "document/geometry/CDoublePoint.h"
#include "document/geometry/CDoubleRect.h"
#include "document/geometry/CPointList.h"
#include "document/path/CPointListArray.h"

constexpr int GROUP_KIND_LINES = 0;
constexpr int GROUP_KIND_DOTS = 1;
constexpr int GROUP_KIND_HIDDEN = 2;

class CStrokeGroup {
 public:
  // One contour copied from the list, empty fill, kind 0, dot size 0.5 mm.
  explicit CStrokeGroup(const CPointList& list);
  CStrokeGroup(const CStrokeGroup&) = delete;
  CStrokeGroup& operator=(const CStrokeGroup&) = delete;

  int AddPointList(const CPointList& list);  // returns the new contour's index
  CStrokePath* GetAt(int i) const { return paths.GetAt(i); }
  int GetCount() const { return paths.GetSize(); }
  bool IsNotEmpty() const { return paths.GetSize() > 0; }
  CPointList& GetFillList() { return fill; }
  const CPointList& GetFillList() const { return fill; }
  void DeleteAt(int i);   // an index outside the group changes nothing
  void RemoveAllLists();  // deletes the contours, keeps the fill strokes

  // Appends parallel fill strokes inside the contours (HatchFill.cpp). False,
  // with nothing appended and fillCut set, when the fill would need more scan
  // lines or strokes than one fill may have.
  bool HatchFill(float angle, float spacing);

  // Union of the drawn extents of the contours; zero rectangle without contours.
  CDoubleRect GetListsBoundRect() const;
  // Union of the contours' point bounds (both lists); zero rectangle without contours.
  CDoubleRect GetBoundRect() const;

  void RotateDeg(const CDoublePoint& centre, float degrees);   // contours only
  void RotateRad(const CDoublePoint& centre, double radians);  // contours and fill
  void Offset(double dx, double dy);                           // contours (both lists) and fill
  void SnapToGrid(double xStep, double yStep);                 // contours and fill
  // Appends the contour points to out and orders out nearest-first from start,
  // which is left at the last point taken.
  void GatherNearestFirst(CPointList& out, CDoublePoint& start) const;

  float dotSize = 0.5f;  // dot diameter in mm for kind 1
  CPointList fill;       // hatch strokes in pairs: start (0x01 clear), end (0x01 set)
  CPointListArray paths; // the contours
  int kind = GROUP_KIND_LINES;
  bool fillCut = false;  // a fill of this group was refused for its size
  bool fillCutTold = false;  // the operator was told of that
};

// A new group from the list; null when it cannot be allocated.
std::unique_ptr<CStrokeGroup> NewStrokeGroup(const CPointList& list);
// A new group from the list, hatched when doHatch is set; with clearContours
// set the contours are dropped afterwards, leaving only the fill strokes.
std::unique_ptr<CStrokeGroup> NewHatchGroup(const CPointList& list, bool clearContours, bool doHatch, float angle,
                                            float spacing);
