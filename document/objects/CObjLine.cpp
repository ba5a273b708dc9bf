#include "document/objects/CObjLine.h"

#include <cmath>
#include <memory>

#include "document/mrk/MrkKeys.h"
#include "document/mrk/MrkLineWriter.h"
#include "document/objects/CObjElement.h"
#include "document/objects/VertexObject.h"

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

void CObjLine::Copy(const CObjLine& source) { CopyVertices(path_, source.path_); }

void CObjLine::Offset(double dx, double dy) { path_.Offset(dx, dy); }

void CObjLine::Resize(CDoubleRect& oldRect, CDoubleRect& newRect, int handle) {
  ResizeVertexPath(path_, oldRect, newRect, handle, [this] { RebuildFill(); });
}

void CObjLine::MirrorX(double axis) {
  MirrorVerticesX(path_, axis);
  RebuildFill();
}

void CObjLine::MirrorY(double axis) {
  MirrorVerticesY(path_, axis);
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
    FillVertexTypeOps<CObjLine>(t, "CObjLine");
    t.rotate = [](CObjElement&, CObjBase& o, const CDoublePoint& centre, double angle) {
      static_cast<CObjLine&>(o).GetPathData().Rotate(centre, angle);
    };
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
