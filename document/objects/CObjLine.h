#pragma once
// Type 1: one straight segment. The path's main list always holds the start
// point (index 0) and the end point (index 1), each with its own flag; the
// path's one stroke group is a copy of the two points.
#include "document/geometry/CDoublePoint.h"
#include "document/geometry/CDoubleRect.h"
#include "document/objects/CObjBase.h"
#include "document/path/CPathData.h"

class MrkLineWriter;
struct MrkValue;

class CObjLine : public CObjBase {
 public:
  CObjLine();  // two points (0, 0), no stroke group
  CObjLine(CDoublePoint start, CDoublePoint end);
  ~CObjLine() override = default;

  void Copy(const CObjLine& source);
  void Offset(double dx, double dy);
  // Handle resize; both rectangles then hold the line's new bounds.
  void Resize(CDoubleRect& oldRect, CDoubleRect& newRect, int handle);
  void MirrorX(double axis);
  void MirrorY(double axis);
  void RebuildFill();
  double GetLength() const;
  void SetField(int key, const MrkValue& value);
  void Write(MrkLineWriter& out) const;

  CPathData& GetPathData() { return path_; }
  const CPathData& GetPathData() const { return path_; }

 private:
  CPathData path_;
};
