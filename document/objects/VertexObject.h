#pragma once
// What the vertex objects (line and polyline) share: their shape is the main
// point list of their path, so moving, resizing, mirroring and copying all
// work on that list, and their dispatch tables differ only where the classes
// do (rotation, the end of reading).
#include <memory>
#include <string>

#include "document/geometry/CDoubleRect.h"
#include "document/objects/HandleResize.h"
#include "document/objects/ObjTypeOps.h"
#include "document/path/CPathData.h"

// Handle resize of a vertex path: moved, or scaled about the opposite handle
// and then rebuilt; both rectangles then hold the path's new bounds.
template <class RebuildFn>
void ResizeVertexPath(CPathData& path, CDoubleRect& oldRect, CDoubleRect& newRect, int handle, RebuildFn&& rebuild) {
  ApplyHandleResize(
      oldRect, newRect, handle, [&path](double dx, double dy) { path.Offset(dx, dy); },
      [&path, &rebuild](const CDoublePoint& anchor, double sx, double sy) {
        path.ScaleAbout(anchor, sx, sy);
        rebuild();
      },
      [&path] { return path.GetBoundRect(); });
}

// Mirror the main list about the vertical line x = axis (or y = axis).
void MirrorVerticesX(CPathData& path, double axis);
void MirrorVerticesY(CPathData& path, double axis);
// Both point lists of dst emptied, then the main list of src copied in.
void CopyVertices(CPathData& dst, const CPathData& src);

// The dispatch entries the vertex classes have in common: T provides Copy,
// RebuildFill, Resize, Offset, MirrorX, MirrorY, Write, SetField and GetPathData.
template <class T>
void FillVertexTypeOps(CObjTypeOps& t, const char* className) {
  t.className = className;
  t.objectSize = static_cast<int>(sizeof(T));
  t.isInstance = &IsExactly<T>;
  t.path = [](CObjBase& o) -> CPathData* { return &static_cast<T&>(o).GetPathData(); };
  t.create = []() -> std::unique_ptr<CObjBase> { return std::make_unique<T>(); };
  t.copy = [](CObjElement&, CObjBase& dst, const CObjElement&, const CObjBase& src) {
    static_cast<T&>(dst).Copy(static_cast<const T&>(src));
  };
  t.refresh = [](CObjElement&, CObjBase& o) { static_cast<T&>(o).RebuildFill(); };
  t.resize = [](CObjBase& o, CDoubleRect& oldRect, CDoubleRect& newRect, int handle) {
    static_cast<T&>(o).Resize(oldRect, newRect, handle);
  };
  t.offset = [](CObjBase& o, double dx, double dy) { static_cast<T&>(o).Offset(dx, dy); };
  t.mirrorX = [](CObjBase& o, double a) { static_cast<T&>(o).MirrorX(a); };
  t.mirrorY = [](CObjBase& o, double a) { static_cast<T&>(o).MirrorY(a); };
  t.write = [](const CObjElement&, const CObjBase& o, MrkLineWriter& out, const std::string&) {
    static_cast<const T&>(o).Write(out);
  };
  t.setField = [](CObjBase& o, int key, const MrkValue& v) { static_cast<T&>(o).SetField(key, v); };
}
