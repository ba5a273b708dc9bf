#include "document/objects/CObjPolyLine.h"

#include <cmath>
#include <cstring>
#include <memory>

#include "document/mrk/MrkKeys.h"
#include "document/mrk/MrkLineWriter.h"
#include "document/objects/CObjElement.h"
#include "document/objects/ParametricShape.h"
#include "document/objects/VertexObject.h"
#include "document/path/PathListHelpers.h"

float WrapRotationDegrees(float deg);  // CObjElement.cpp

namespace {

// Key lines of the class block, labels in code page 936.
constexpr char kKeyClosed[] = "100;\xd5\xdb\xcf\xdf\xca\xc7\xb7\xf1\xca\xd7\xce\xb2\xb1\xd5\xba\xcf";  // 折线是否首尾闭合
constexpr char kKeyImported[] =
    "101;\xd5\xdb\xcf\xdf\xca\xc7\xb7\xf1\xcd\xe2\xb2\xbf\xb5\xbc\xc8\xeb\xb5\xc4\xcd\xbc\xd0\xce\xca\xfd\xbe\xdd";  // 折线是否外部导入的图形数据
constexpr char kKeyCount[] = "160;\xb6\xa5\xb5\xe3\xb5\xc4\xb8\xf6\xca\xfd";  // 顶点的个数
constexpr char kKeyX[] = "10;\xb6\xa5\xb5\xe3" "X\xd7\xf8\xb1\xea";  // 顶点X坐标
constexpr char kKeyY[] = "20;\xb6\xa5\xb5\xe3" "Y\xd7\xf8\xb1\xea";  // 顶点Y坐标
constexpr char kKeyFlag[] = "102;\xb1\xea\xd6\xbe";  // 标志

CDoublePoint ClosingVertexOf(const CDoublePoint& first) {
  CDoublePoint p = first;
  p.flag = static_cast<std::uint8_t>(p.flag | PT_JOINED);
  return p;
}

void SelectStroke(CStrokePath& stroke) {
  for (int i = 0; i < stroke.points.GetSize(); ++i) {
    stroke.points[i].flag = static_cast<std::uint8_t>(stroke.points[i].flag | PT_SELECTED);
  }
  stroke.flag = 1;
}

// Calls fn on every stroke of every group.
template <class Fn>
void ForEachStroke(const CStrokeGroupArray& groups, Fn&& fn) {
  for (int g = 0; g < groups.GetSize(); ++g) {
    const CStrokeGroup* group = groups.GetAt(g);
    for (int s = 0; s < group->GetCount(); ++s) fn(*group->GetAt(s));
  }
}

// True when some stroke of some group passes the test.
template <class Pred>
bool AnyStroke(const CStrokeGroupArray& groups, Pred&& pred) {
  for (int g = 0; g < groups.GetSize(); ++g) {
    const CStrokeGroup* group = groups.GetAt(g);
    for (int s = 0; s < group->GetCount(); ++s) {
      if (pred(*group->GetAt(s))) return true;
    }
  }
  return false;
}

}  // namespace

CObjPolyLine::CObjPolyLine(CPointList& list, int closed, int imported)
    : closed_(closed ? 1 : 0), imported_(imported ? 1 : 0) {
  path_.points.Append(list);
  if (closed_ && list.GetSize() > 0) path_.points.Add(ClosingVertexOf(list[0]));
  list.RemoveAll();
}

void CObjPolyLine::Copy(const CObjPolyLine& source) {
  loadCursor_ = source.loadCursor_;
  currentVertex_ = source.currentVertex_;
  closed_ = source.closed_;
  imported_ = source.imported_;
  CopyVertices(path_, source.path_);
}

void CObjPolyLine::Offset(double dx, double dy) { path_.Offset(dx, dy); }

void CObjPolyLine::Resize(CDoubleRect& oldRect, CDoubleRect& newRect, int handle) {
  ResizeVertexPath(path_, oldRect, newRect, handle, [this] { RebuildFill(); });
}

void CObjPolyLine::MirrorX(double axis) {
  MirrorVerticesX(path_, axis);
  RebuildFill();
}

void CObjPolyLine::MirrorY(double axis) {
  MirrorVerticesY(path_, axis);
  RebuildFill();
}

bool CObjPolyLine::HasClosingVertex() const {
  const int n = path_.points.GetSize();
  if (!closed_ || n < 2) return false;
  const CDoublePoint& first = path_.points[0];
  const CDoublePoint& last = path_.points[n - 1];
  return last.x == first.x && last.y == first.y && (last.flag & PT_JOINED);
}

void CObjPolyLine::SetClosed(int closed) {
  // Only a change of state adds or drops the closing vertex: closing twice
  // must not add a second one, opening an open polyline must not lose a vertex.
  const bool present = HasClosingVertex();
  if (closed && !present && path_.points.GetSize() > 0) {
    path_.points.Add(ClosingVertexOf(path_.points[0]));
  } else if (!closed && present) {
    path_.points.SetSize(path_.points.GetSize() - 1);
  }
  closed_ = closed ? 1 : 0;
  RebuildFill();
}

void CObjPolyLine::RebuildFill() {
  if (!imported_) {
    RebuildOutlineFill(path_);
    return;
  }

  OutlineFill fill;
  if (!BeginFillRebuild(path_, fill)) return;

  // Imported drawings: every pen-up vertex starts a stroke of its own; all
  // strokes go into one group.
  CPointList stroke;
  auto endStroke = [&] {
    if (stroke.GetSize() == 0) return;
    if (path_.GetGroupCount() == 0) {
      path_.GetGroupArray().Add(std::make_unique<CStrokeGroup>(stroke));
    } else {
      path_.GetLastGroup()->AddPointList(stroke);
    }
    stroke.SetSize(0, 0);
  };
  for (int i = 0; i < path_.points.GetSize(); ++i) {
    const CDoublePoint& p = path_.points[i];
    if (!(p.flag & PT_JOINED)) endStroke();
    stroke.Add(p);
  }
  endStroke();
  if (path_.GetGroupCount() > 0) fill.ApplyTo(*path_.GetGroupAt(0));
}

void CObjPolyLine::CloseOldFormat(int oldFormat) {
  if (oldFormat && closed_ && !imported_ && path_.points.GetSize() > 0) {
    path_.points.Add(ClosingVertexOf(path_.points[0]));
  }
}

void CObjPolyLine::SetVertexCount(long long count) {
  // A negative count is refused. The vertices themselves are made as their
  // keys arrive, so a count larger than the data costs nothing.
  if (count < 0) return;
  loadLimit_ = path_.points.GetSize() + count;
  loadCursor_ = 0;
}

void CObjPolyLine::SetField(int key, const MrkValue& value) {
  switch (key) {
    case 100:
      closed_ = value.i ? 1 : 0;
      return;
    case 101:
      imported_ = value.i ? 1 : 0;
      return;
    case 160:
      SetVertexCount(value.i);
      return;
    case 10:
    case 20:
    case 102:
      break;
    default:
      return;
  }
  if (loadCursor_ >= loadLimit_) return;
  // Vertex keys fill the vertex at the cursor; the file gives x, y, then the flag.
  const long long index = loadCursor_;
  while (path_.points.GetSize() <= index) path_.points.Add(CDoublePoint());
  CDoublePoint& p = path_.points[static_cast<int>(index)];
  if (key == 10) {
    if (std::isfinite(value.d)) p.x = value.d;
  } else if (key == 20) {
    if (std::isfinite(value.d)) p.y = value.d;
  } else {
    p.flag = static_cast<std::uint8_t>(value.i & 0xFF);
    ++loadCursor_;
  }
}

void CObjPolyLine::WriteBody(MrkLineWriter& out) const {
  out.WriteInt(kKeyClosed, closed_);
  out.WriteInt(kKeyImported, imported_);
  out.WriteInt(kKeyCount, path_.points.GetSize());
  for (int i = 0; i < path_.points.GetSize(); ++i) {
    const CDoublePoint& p = path_.points[i];
    out.WriteDouble(kKeyX, p.x, 6);
    out.WriteDouble(kKeyY, p.y, 6);
    out.WriteInt(kKeyFlag, p.flag);
  }
  out.WriteClassEnd();
}

void CObjPolyLine::Write(MrkLineWriter& out) const {
  out.WriteClassBegin("CObjPolyLine");
  WriteBody(out);
}

int CObjPolyLine::SelectStrokesInside(const CDoubleRect& rect, const CDoublePoint& offset) {
  CStrokeGroupArray& groups = path_.GetGroupArray();
  ForEachStroke(groups, [&](CStrokePath& stroke) {
    CDoubleRect r = stroke.GetBoundRect();
    r.OffsetRect(offset.x, offset.y);
    if (r.IsWithin(rect)) SelectStroke(stroke);
  });
  return groups.GetSize();
}

int CObjPolyLine::SelectStrokesTouching(const CDoubleRect& rect, const CDoublePoint& offset) {
  CStrokeGroupArray& groups = path_.GetGroupArray();
  CPathData probe;  // the path's hit test, run on one stroke at a time
  ForEachStroke(groups, [&](CStrokePath& stroke) {
    probe.points.Copy(stroke.points);
    if (probe.IntersectsRect(rect, offset.x, offset.y)) SelectStroke(stroke);
  });
  return groups.GetSize();
}

int CObjPolyLine::SetSplitFlagAll() {
  CStrokeGroupArray& groups = path_.GetGroupArray();
  ForEachStroke(groups, [](CStrokePath& stroke) { stroke.SetHighFlagAll(); });
  return groups.GetSize();
}

int CObjPolyLine::HasSplitSelected() const {
  if (!imported_) return 0;
  const auto anySelected = [](const CStrokePath& stroke) { return stroke.points.AnyHighFlag(); };
  return AnyStroke(path_.GetGroupArray(), anySelected) ? 1 : 0;
}

int CObjPolyLine::HasSplitUnselected() const {
  if (!imported_) return 0;
  const auto notAllSelected = [](const CStrokePath& stroke) { return stroke.points.NotAllHighFlag(); };
  return AnyStroke(path_.GetGroupArray(), notAllSelected) ? 1 : 0;
}

void CObjPolyLine::TakeOutSelectedStrokes(CPointList* target) {
  CStrokeGroupArray& groups = path_.GetGroupArray();
  const auto taken = [](const CStrokePath& stroke) { return stroke.flag != 0; };
  for (int g = 0; g < groups.GetSize(); ++g) {
    CStrokeGroup* group = groups.GetAt(g);
    if (target) {
      for (int s = 0; s < group->GetCount(); ++s) {
        if (taken(*group->GetAt(s))) target->Append(group->GetAt(s)->points);
      }
    }
    group->paths.RemoveIf(taken);
  }
  path_.points.RemoveAll();
  path_.second.RemoveAll();
  ForEachStroke(groups, [this](const CStrokePath& stroke) { path_.points.Append(stroke.points); });
}

void CObjPolyLine::ExtractSplitStrokes(CPointList& target) {
  TakeOutSelectedStrokes(&target);
  RebuildFill();
}

void CObjPolyLine::DeleteSplitStrokes() { TakeOutSelectedStrokes(nullptr); }

// Dispatch table of the polyline (types 3, 7, 9, 11).
const CObjTypeOps& PolyLineTypeOps() {
  static const CObjTypeOps ops = [] {
    CObjTypeOps t;
    FillVertexTypeOps<CObjPolyLine>(t, "CObjPolyLine");
    t.rotate = [](CObjElement&, CObjBase& o, const CDoublePoint& centre, double angle) {
      auto& poly = static_cast<CObjPolyLine&>(o);
      // The polyline keeps its total rotation in degrees for the property pages.
      const float degrees = static_cast<float>(poly.GetRotationAngle() + angle * RAD_TO_DEG);
      poly.SetRotationAngle(WrapRotationDegrees(degrees));
      poly.GetPathData().Rotate(centre, angle);
    };
    t.finishRead = [](CObjElement& element, std::unique_ptr<CObjBase> o, int fileVersion) {
      auto* poly = static_cast<CObjPolyLine*>(o.release());
      const CDoubleRect bounds = poly->GetPathData().GetBoundRect();
      poly->CloseOldFormat(fileVersion == 1 ? 1 : 0);
      element.AttachObject(poly, static_cast<int>(sizeof(CObjPolyLine)), bounds);
      poly->RebuildFill();
    };
    return t;
  }();
  return ops;
}
