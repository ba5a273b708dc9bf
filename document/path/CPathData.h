#pragma once
// The geometry every drawing object keeps: a main and a second point list, a
// flag, the owning element and the owned stroke groups. Only the groups are
// drawn and marked; the main list is what objects build their groups from.
#include "document/geometry/CDoublePoint.h"
#include "document/geometry/CDoubleRect.h"
#include "document/geometry/CPointList.h"
#include "document/path/CStrokeGroupArray.h"
#include "platform/DeviceContext.h"

class CObjElement;
class CDrawProperity;
struct StepNode;

// What the element passes for drawing one path.
struct PathDrawContext {
  platform::DeviceContext* dc = nullptr;  // the caller has selected the object's pen
  int originX = 0;                        // device position of document (0, 0)
  int originY = 0;
  double zoom = 1.0;
  double offsetX = 0;  // added to every point before drawing
  double offsetY = 0;
  CDoublePoint* firstPoint = nullptr;  // receives the first point drawn (without offset)
  CDoublePoint* lastPoint = nullptr;   // receives the last point drawn (without offset)
  const platform::DcPen* highlightPen = nullptr;  // for stroke paths whose flag is set
  // When set, the device box beyond which the context drops everything
  // drawn; a path whose bounds lie wholly beyond it is not drawn at all, only
  // its first and last points and the current position are set as drawing
  // would set them.
  const platform::DcRect* visible = nullptr;
  CDoubleRect bounds;  // the path's bounds, for the test against `visible`
};

class CPathData {
 public:
  CPathData() = default;
  CPathData(const CPathData&) = delete;
  CPathData& operator=(const CPathData&) = delete;

  void SetOwner(CObjElement* owner) { owner_ = owner; }
  CObjElement* GetOwner() const { return owner_; }

  CStrokeGroupArray& GetGroupArray() { return groups_; }
  const CStrokeGroupArray& GetGroupArray() const { return groups_; }
  int GetGroupCount() const { return groups_.GetSize(); }
  CStrokeGroup* GetGroupAt(int i) const { return groups_.GetAt(i); }
  CStrokeGroup* GetLastGroup() const;  // null when there is none
  void RemoveAllGroups() { groups_.RemoveAll(); }
  // True when a group's fill was refused for its size (the operator is told).
  bool HasCutFill() const;
  // Every point held: both lists, and each group's contours and fill.
  long long CountPoints() const;

  void CopyPointsTo(CPointList& list) const;        // replaces list with the main points
  void CopySecondPointsTo(CPointList& list) const;  // replaces list with the second points
  // Appends every group's contour points and then its fill; returns the group count.
  int GatherGroupPoints(CPointList& list) const;

  CDoubleRect GetPointsBoundRect() const;  // main and second lists; zero when both empty
  // Union of the bounds of the groups of kind other than 2 that have contours;
  // false, rect untouched, when there is none.
  bool GetGroupsBoundRect(CDoubleRect& rect) const;
  bool GetKind2BoundRect(CDoubleRect& rect) const;  // the same over kind 2 groups
  CDoubleRect GetBoundRect() const;
  CDoubleRect GetBoundRectEx() const { return GetBoundRect(); }
  CDoublePoint GetCenterPoint() const;  // centre of the point bounds

  void Offset(double dx, double dy);                           // both lists and every group
  void Rotate(const CDoublePoint& centre, double radians);     // main list and groups, not the second list
  void ScaleAbout(const CDoublePoint& centre, double sx, double sy);  // main list only
  void SnapToGrid(double xStep, double yStep);                 // main list and groups
  void SetHighFlagAll();  // marks the main points selected; the groups are then drawn clipped
  // True when the main polyline shifted by the offset touches the rectangle.
  bool IntersectsRect(const CDoubleRect& rect, double offsetX, double offsetY) const;

  // Rendering (CPathDataDraw.cpp).
  void DrawGroups(PathDrawContext& ctx) const;
  void DrawPointList(const CPointList& list, PathDrawContext& ctx, bool& firstPoint) const;
  void DrawDots(const CPointList& list, PathDrawContext& ctx, bool& firstPoint, int dotPixels) const;
  // Whether all the groups would draw lies beyond ctx.visible.
  bool BeyondVisible(const PathDrawContext& ctx) const;
  // What DrawGroups leaves behind without drawing: the first and last points
  // reported and the current position.
  void PassGroups(PathDrawContext& ctx) const;

  // Step nodes of the groups (StepNodes.cpp). Mode 0: rotary-aware order;
  // 1: groups in array order; other: groups last to first.
  void BuildStepNodes(StepNode*& head, const CDrawProperity& prop, CDoublePoint& current, int& nodeCount,
                      bool& firstObject, const CDoubleRect& objectBounds, int mode) const;
  void BuildGroupStepNodes(StepNode*& head, const CDrawProperity& prop, CDoublePoint& current, int& nodeCount,
                           int mode) const;

  CPointList points;  // main list
  CPointList second;  // second list
  int flag = 0;       // 1 after SetHighFlagAll: groups drawn clipped to the working area

 private:
  CObjElement* owner_ = nullptr;
  CStrokeGroupArray groups_;
};
