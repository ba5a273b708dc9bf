#include "document/objects/CObjLine.h"

#include <cmath>
#include <memory>

#include "document/mrk/MrkKeys.h"
#include "document/mrk/MrkLineWriter.h"
#include "document/objects/CObjElement.h"
#include "document/objects/HandleResize.h"
#include "document/objects/ObjTypeOps.h"

namespace {

// Key lines of the class block (code page 936 labels are plain ASCII here).
constexpr char kKeyStartX[] = "10;LS-X";
constexpr char kKeyStartY[] = "20;LS-Y";
constexpr char kKeyStartFlag[] = "190;S-Flag";
constexpr char kKeyEndX[] = "11;LE-Y";  // the label has always read LE-Y
constexpr char kKeyEndY[] = "21;LE-Y";
constexpr char kKeyEndFlag[] = "191;S-Flag";

}  // namespace

CObjLine::CObjLine() {
  path_.points.Add(CDoublePoint(0, 0, 0));
  path_.points.Add(CDoublePoint(0, 0, 0));
}

CObjLine::CObjLine(CDoublePoint start, CDoublePoint end) {
  path_.points.Add(start);
  path_.points.Add(end);
  RebuildFill();
}

void CObjLine::Copy(const CObjLine& source) {
  path_.points.RemoveAll();
  path_.second.RemoveAll();
  for (int i = 0; i < source.path_.points.GetSize(); ++i) path_.points.Add(source.path_.points[i]);
}

void CObjLine::Offset(double dx, double dy) { path_.Offset(dx, dy); }

void CObjLine::Resize(CDoubleRect& oldRect, CDoubleRect& newRect, int handle) {
  ApplyHandleResize(
      oldRect, newRect, handle, [this](double dx, double dy) { Offset(dx, dy); },
      [this](const CDoublePoint& anchor, double sx, double sy) {
        path_.ScaleAbout(anchor, sx, sy);
        RebuildFill();
      },
      [this] { return path_.GetBoundRect(); });
}

void CObjLine::MirrorX(double axis) {
  for (int i = 0; i < path_.points.GetSize(); ++i) path_.points[i].x = 2 * axis - path_.points[i].x;
  RebuildFill();
}

void CObjLine::MirrorY(double axis) {
  for (int i = 0; i < path_.points.GetSize(); ++i) path_.points[i].y = 2 * axis - path_.points[i].y;
  RebuildFill();
}

void CObjLine::RebuildFill() {
  // A line is never hatched: its one group is the segment itself.
  path_.RemoveAllGroups();
  path_.GetGroupArray().Add(std::make_unique<CStrokeGroup>(path_.points));
}

double CObjLine::GetLength() const {
  if (path_.points.GetSize() < 2) return 0;
  return PointDistance(path_.points[0], path_.points[1]);
}

void CObjLine::SetField(int key, const MrkValue& value) {
  if (path_.points.GetSize() < 2) return;
  CDoublePoint& start = path_.points[0];
  CDoublePoint& end = path_.points[1];
  // A coordinate that is not a number would poison bounds, fill and marking.
  const bool finite = std::isfinite(value.d);
  switch (key) {
    case 10: if (finite) start.x = value.d; break;
    case 20: if (finite) start.y = value.d; break;
    case 11: if (finite) end.x = value.d; break;
    case 21: if (finite) end.y = value.d; break;
    case 190: start.flag = value.b; break;
    case 191: end.flag = value.b; break;
    default: break;
  }
}

void CObjLine::Write(MrkLineWriter& out) const {
  out.WriteClassBegin("CObjLine");
  if (path_.points.GetSize() >= 2) {
    const CDoublePoint& start = path_.points[0];
    const CDoublePoint& end = path_.points[1];
    out.WriteDouble(kKeyStartX, start.x, 4);
    out.WriteDouble(kKeyStartY, start.y, 4);
    out.WriteInt(kKeyStartFlag, start.flag);
    out.WriteDouble(kKeyEndX, end.x, 4);
    out.WriteDouble(kKeyEndY, end.y, 4);
    out.WriteInt(kKeyEndFlag, end.flag);
  }
  out.WriteClassEnd();
}

// Dispatch table of the line (type 1).
const CObjTypeOps& LineTypeOps() {
  static const CObjTypeOps ops = [] {
    CObjTypeOps t;
    t.className = "CObjLine";
    t.objectSize = static_cast<int>(sizeof(CObjLine));
    t.isInstance = &IsExactly<CObjLine>;
    t.path = [](CObjBase& o) -> CPathData* { return &static_cast<CObjLine&>(o).GetPathData(); };
    t.create = []() -> std::unique_ptr<CObjBase> { return std::make_unique<CObjLine>(); };
    t.copy = [](CObjElement&, CObjBase& dst, const CObjElement&, const CObjBase& src) {
      static_cast<CObjLine&>(dst).Copy(static_cast<const CObjLine&>(src));
    };
    t.refresh = [](CObjElement&, CObjBase& o) { static_cast<CObjLine&>(o).RebuildFill(); };
    t.resize = [](CObjBase& o, CDoubleRect& oldRect, CDoubleRect& newRect, int handle) {
      static_cast<CObjLine&>(o).Resize(oldRect, newRect, handle);
    };
    t.offset = [](CObjBase& o, double dx, double dy) { static_cast<CObjLine&>(o).Offset(dx, dy); };
    t.rotate = [](CObjElement&, CObjBase& o, const CDoublePoint& centre, double angle) {
      static_cast<CObjLine&>(o).GetPathData().Rotate(centre, angle);
    };
    t.mirrorX = [](CObjBase& o, double a) { static_cast<CObjLine&>(o).MirrorX(a); };
    t.mirrorY = [](CObjBase& o, double a) { static_cast<CObjLine&>(o).MirrorY(a); };
    t.write = [](const CObjElement&, const CObjBase& o, MrkLineWriter& out, const std::string&) {
      static_cast<const CObjLine&>(o).Write(out);
    };
    t.setField = [](CObjBase& o, int key, const MrkValue& v) { static_cast<CObjLine&>(o).SetField(key, v); };
    t.finishRead = [](CObjElement& element, std::unique_ptr<CObjBase> o, int) {
      auto& line = static_cast<CObjLine&>(*o);
      line.RebuildFill();
      const CDoubleRect bounds = line.GetPathData().GetBoundRect();
      element.AttachObject(o.release(), static_cast<int>(sizeof(CObjLine)), bounds);
    };
    return t;
  }();
  return ops;
}
