#include "document/objects/VertexObject.h"

void MirrorVerticesX(CPathData& path, double axis) {
  for (int i = 0; i < path.points.GetSize(); ++i) path.points[i].x = 2 * axis - path.points[i].x;
}

void MirrorVerticesY(CPathData& path, double axis) {
  for (int i = 0; i < path.points.GetSize(); ++i) path.points[i].y = 2 * axis - path.points[i].y;
}

void CopyVertices(CPathData& dst, const CPathData& src) {
  dst.points.RemoveAll();
  dst.second.RemoveAll();
  dst.points.Append(src.points);
}
