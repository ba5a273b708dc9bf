#pragma once
// Types 3 (rectangle), 7 (polyline), 9 and 11 (drawings imported from plotter
// and drawing-exchange files): a list of vertices with pen flags. Bit 0 of a
// vertex joins it to the previous one; clear, a pen-up move leads to it. A
// closed polyline stores its closing vertex (a copy of the first, bit 0 set).
// Imported drawings are cut into one stroke per pen-down run, which the divide
// page can select (flag 0x80) and split off into objects of their own.
#include "document/geometry/CDoublePoint.h"
#include "document/geometry/CDoubleRect.h"
#include "document/geometry/CPointList.h"
#include "document/objects/CObjBase.h"
#include "document/path/CPathData.h"

class MrkLineWriter;
struct MrkValue;

class CObjPolyLine : public CObjBase {
 public:
  CObjPolyLine() = default;
  // Takes the points of list, which is left empty (buffer freed). A closed
  // polyline gets its closing vertex appended.
  CObjPolyLine(CPointList& list, int closed, int imported);
  ~CObjPolyLine() override = default;

  void Copy(const CObjPolyLine& source);
  void Offset(double dx, double dy);
  void Resize(CDoubleRect& oldRect, CDoubleRect& newRect, int handle);
  void MirrorX(double axis);
  void MirrorY(double axis);
  // Closes or opens the polyline; adds or drops the closing vertex only when
  // the state really changes.
  void SetClosed(int closed);
  // Rebuilds the stroke groups from the vertices and the owner's fill settings.
  void RebuildFill();
  // Old project files did not store the closing vertex.
  void CloseOldFormat(int oldFormat);
  // Project reader: the number of vertex triples (x, y, flag) that follow.
  void SetVertexCount(long long count);
  void SetField(int key, const MrkValue& value);
  void WriteBody(MrkLineWriter& out) const;
  void Write(MrkLineWriter& out) const;

  // Divide page of imported drawings; the two selections return the group count.
  int SelectStrokesInside(const CDoubleRect& rect, const CDoublePoint& offset);
  int SelectStrokesTouching(const CDoubleRect& rect, const CDoublePoint& offset);
  int SetSplitFlagAll();
  int HasSplitSelected() const;
  int HasSplitUnselected() const;
  void ExtractSplitStrokes(CPointList& target);
  void DeleteSplitStrokes();

  CPathData& GetPathData() { return path_; }
  const CPathData& GetPathData() const { return path_; }
  int GetVertexCount() const { return path_.points.GetSize(); }
  int IsClosed() const { return closed_; }
  int IsImported() const { return imported_; }
  void SetImported(int imported) { imported_ = imported ? 1 : 0; }
  int GetLoadCursor() const { return loadCursor_; }
  float GetRotationAngle() const { return rotationAngle_; }
  void SetRotationAngle(float degrees) { rotationAngle_ = degrees; }
  int GetCurrentVertex() const { return currentVertex_; }
  void SetCurrentVertex(int number) { currentVertex_ = number; }

 protected:
  CPathData path_;

 private:
  bool HasClosingVertex() const;
  // Removes the selected strokes (into target when given) and refills the
  // vertex list from the strokes that remain.
  void TakeOutSelectedStrokes(CPointList* target);

  int loadCursor_ = 0;
  float rotationAngle_ = 0;  // degrees, kept in [0, 360] by the element's rotation
  int currentVertex_ = 1;    // 1-based, shown by the property pages
  int closed_ = 0;
  int imported_ = 0;
  // Vertex keys fill vertices up to this number. Announced vertices are made
  // as their keys arrive, so a wrong count never allocates anything.
  long long loadLimit_ = 0;
};
