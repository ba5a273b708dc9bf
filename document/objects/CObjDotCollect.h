#pragma once
// Type 5: a free set of single dots in mm, each marked as one punch. The dots
// sit on a grid whose cell is the layout view's dot spacing; moving the
// object moves it by whole cells. Made from a picture, from a dot file or by
// combining objects.
#include "document/geometry/CDoublePoint.h"
#include "document/geometry/CDoubleRect.h"
#include "document/geometry/CPointList.h"
#include "document/objects/CObjBase.h"
#include "document/path/CPathData.h"

class MrkLineWriter;
struct MrkValue;
struct CObjTypeOps;

class CObjDotCollect : public CObjBase {
 public:
  CObjDotCollect();
  // Every point becomes a dot of its own (its join bit cleared).
  explicit CObjDotCollect(const CPointList& list);
  ~CObjDotCollect() override = default;

  // One group of kind "dots" holding a copy of the dots.
  void RebuildFill();
  // Stores the bounds' width and height, then returns the path bounds.
  CDoubleRect GetBoundRect() const;
  // Moves by whole cells and snaps the dots to the cell grid.
  void MoveSnapped(double dx, double dy);
  // Only the move handle (128) moves the dots; both rectangles then hold the
  // new bounds. Stretching leaves them as they are.
  void Resize(CDoubleRect& oldRect, CDoubleRect& newRect, int handle);
  void CopyFrom(const CObjDotCollect& other);
  int GetDotCount() const { return path_.points.GetSize(); }
  void MirrorX(double axis);
  void MirrorY(double axis);
  // Project reader: n dot records follow. Dots are made as their keys arrive,
  // so a count larger than the records adds no dots at the origin and a
  // damaged count allocates nothing.
  void SetDotCount(long long n);
  void SetField(int key, const MrkValue& value);
  void Write(MrkLineWriter& out) const;

  CPathData& GetPathData() { return path_; }
  const CPathData& GetPathData() const { return path_; }
  double GetCellWidth() const { return cellWidth_; }
  double GetCellHeight() const { return cellHeight_; }
  void SetCellSize(double width, double height) {
    cellWidth_ = width;
    cellHeight_ = height;
  }
  float GetWidth() const { return width_; }
  float GetHeight() const { return height_; }
  int GetLoadIndex() const { return loadIndex_; }

 private:
  CPathData path_;
  mutable float width_ = 0;   // of the bounds, as last asked for
  mutable float height_ = 0;
  double cellWidth_;
  double cellHeight_;
  int loadIndex_ = 0;
  long long loadLimit_ = 0;  // dots the count key announced (plus those before it)
};

// Dispatch table of the dot collection (type 5); registered at start-up.
const CObjTypeOps& DotCollectTypeOps();
