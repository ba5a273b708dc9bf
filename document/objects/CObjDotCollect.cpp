#include "document/objects/CObjDotCollect.h"

#include <cmath>

#include "document/mrk/MrkKeys.h"
#include "document/mrk/MrkLineWriter.h"
#include "document/objects/HandleResize.h"
#include "document/objects/VertexObject.h"
#include "platform/NumberText.h"
#include "values/ShellValues.h"

namespace {

constexpr char kKeyCellWidth[] = "50;size";
constexpr char kKeyCellHeight[] = "51;size";
constexpr char kKeyCount[] = "160;Num";
constexpr char kKeyX[] = "10;\xb6\xa5\xb5\xe3" "X\xd7\xf8\xb1\xea";  // 顶点X坐标
constexpr char kKeyY[] = "20;\xb6\xa5\xb5\xe3" "Y\xd7\xf8\xb1\xea";  // 顶点Y坐标
constexpr char kKeyFlag[] = "102;\xb1\xea\xd6\xbe";                  // 标志

// A move shorter than this is no move at all.
constexpr double kNoMove = 0.005;

// The part of a move along one axis that keeps the dots on whole cells.
double WholeCellMove(double d, double cell) {
  if (!std::isfinite(d)) return 0;
  // Without a usable cell there is no grid to keep.
  if (!(cell > 0) || !std::isfinite(cell)) return d;
  const double n = std::trunc(d / cell);
  if (std::fabs(d) < kNoMove || n != 0) return n * cell;
  return d > 0 ? cell : -cell;
}

}  // namespace

CObjDotCollect::CObjDotCollect() : cellWidth_(DistanceHor), cellHeight_(DistanceVer) {}

CObjDotCollect::CObjDotCollect(const CPointList& list) : CObjDotCollect() {
  for (int i = 0; i < list.GetSize(); ++i) {
    CDoublePoint p = list[i];
    p.flag = static_cast<std::uint8_t>(p.flag & ~0x01);
    path_.points.Add(p);
  }
}

void CObjDotCollect::RebuildFill() {
  path_.RemoveAllGroups();
  std::unique_ptr<CStrokeGroup> group = NewStrokeGroup(path_.points);
  if (!group) return;
  group->kind = GROUP_KIND_DOTS;
  path_.GetGroupArray().Add(std::move(group));
}

CDoubleRect CObjDotCollect::GetBoundRect() const {
  const CDoubleRect r = path_.GetBoundRect();
  width_ = static_cast<float>(r.Width());
  height_ = static_cast<float>(r.Height());
  return r;
}

void CObjDotCollect::MoveSnapped(double dx, double dy) {
  path_.Offset(WholeCellMove(dx, cellWidth_), WholeCellMove(dy, cellHeight_));
  path_.SnapToGrid(cellWidth_, cellHeight_);
}

void CObjDotCollect::Resize(CDoubleRect& oldRect, CDoubleRect& newRect, int handle) {
  if (handle != HANDLE_MOVE_ONLY) return;
  const double dx = newRect.CenterX() - oldRect.CenterX();
  const double dy = newRect.CenterY() - oldRect.CenterY();
  MoveSnapped(dx, dy);
  oldRect = newRect = GetBoundRect();
}

void CObjDotCollect::CopyFrom(const CObjDotCollect& other) {
  if (&other == this) return;
  loadIndex_ = other.loadIndex_;
  loadLimit_ = other.loadLimit_;
  cellWidth_ = other.cellWidth_;
  cellHeight_ = other.cellHeight_;
  CopyVertices(path_, other.path_);
}

void CObjDotCollect::MirrorX(double axis) {
  MirrorVerticesX(path_, axis);
  RebuildFill();
}

void CObjDotCollect::MirrorY(double axis) {
  MirrorVerticesY(path_, axis);
  RebuildFill();
}

void CObjDotCollect::SetDotCount(long long n) {
  loadIndex_ = 0;
  loadLimit_ = path_.points.GetSize() + (n > 0 ? n : 0);
}

void CObjDotCollect::SetField(int key, const MrkValue& value) {
  switch (key) {
    case 50:
      cellWidth_ = value.d;
      return;
    case 51:
      cellHeight_ = value.d;
      return;
    case 160:
      SetDotCount(value.i);
      return;
    case 10:
    case 20:
    case 102:
      break;
    default:  // 52..59 and anything else
      return;
  }
  if (loadIndex_ >= loadLimit_) return;  // records beyond the count
  while (path_.points.GetSize() <= loadIndex_) path_.points.Add(CDoublePoint(0, 0, 0));
  CDoublePoint& dot = path_.points[loadIndex_];
  if (key == 10) {
    dot.x = value.d;
  } else if (key == 20) {
    dot.y = value.d;
  } else {
    dot.flag = static_cast<std::uint8_t>(value.i);
    ++loadIndex_;
  }
}

void CObjDotCollect::Write(MrkLineWriter& out) const {
  out.WriteClassBegin("CObjDotCollect");
  out.WriteDouble(kKeyCellWidth, cellWidth_, 3);
  out.WriteDouble(kKeyCellHeight, cellHeight_, 3);
  out.WriteInt(kKeyCount, path_.points.GetSize());
  for (int i = 0; i < path_.points.GetSize(); ++i) {
    const CDoublePoint& dot = path_.points[i];
    out.WriteDouble(kKeyX, dot.x, 6);
    out.WriteDouble(kKeyY, dot.y, 6);
    out.WriteInt(kKeyFlag, dot.flag);
  }
  out.WriteClassEnd();
}
