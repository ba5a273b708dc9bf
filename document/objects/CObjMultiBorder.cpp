#include "document/objects/CObjMultiBorder.h"

#include <cmath>

#include "document/mrk/MrkKeys.h"
#include "document/mrk/MrkLineWriter.h"
#include "document/objects/HandleResize.h"
#include "document/objects/ParametricShape.h"
#include "document/objects/VertexObject.h"
#include "document/path/PathListHelpers.h"

namespace {

// Key lines of the class block, labels in code page 936.
constexpr char kKeyCentreX[] = "10;\xd4\xb2\xd0\xc4X";  // 圆心X
constexpr char kKeyCentreY[] = "20;\xd4\xb2\xd0\xc4Y";  // 圆心Y
constexpr char kKeySides[] = "100;\xb6\xe0\xb1\xdf\xd0\xd0\xb5\xc4\xb1\xdf\xca\xfd";  // 多边行的边数
constexpr char kKeyStart[] = "40;\xb6\xe0\xb1\xdf\xd0\xd0\xb5\xc4\xbf\xaa\xca\xbc\xb5\xc4\xbd\xc7\xb6\xc8";  // 多边行的开始的角度
constexpr char kKeyRadius[] = "50;\xb6\xe0\xb1\xdf\xd0\xd0\xb5\xc4\xb0\xeb\xbe\xb6";  // 多边行的半径
constexpr char kKeyMirror[] = "190;MFlag";

}  // namespace

CObjMultiBorder::CObjMultiBorder(const MultiBorderDialogRecord& record)
    : centre_(record.centre), radius_(record.radius), startAngle_(record.startAngle) {
  SetSides(record.sides);
  BuildPath();
}

void CObjMultiBorder::SetSides(int sides) {
  sides_ = sides < kMinSides ? kMinSides : sides > kMaxSides ? kMaxSides : sides;
}

void CObjMultiBorder::GenerateVertices(CPointList& out) const {
  out.RemoveAll();
  // Every way in keeps the count in range; this guards against a count set
  // some other way, since the closing vertex needs a first one.
  const int sides = sides_ < kMinSides ? kMinSides : sides_ > kMaxSides ? kMaxSides : sides_;
  double a = startAngle_ * DEG_TO_RAD;
  const double step = kParamFullTurn / sides;
  for (int i = 0; i < sides; ++i) {
    out.Add(CDoublePoint(centre_.x + std::cos(a) * radius_, centre_.y + std::sin(a) * radius_, i == 0 ? 0 : PT_JOINED));
    a += step;
  }
  const CDoublePoint first = out[0];
  out.Add(CDoublePoint(first.x, first.y, PT_JOINED));
}

void CObjMultiBorder::BuildPath() {
  path_.second.RemoveAll();
  GenerateVertices(path_.points);
  ApplyMirrorFlags(path_, mirrorFlags_);
}

void CObjMultiBorder::AnchorCentreToPoints(bool alongX, bool alongY) {
  CPointList generated;
  GenerateVertices(generated);
  const CDoublePoint shift = CentreShiftToDrawn(path_.points, generated);
  if (alongX) centre_.x += shift.x;
  if (alongY) centre_.y += shift.y;
}

void CObjMultiBorder::RebuildFill() { RebuildOutlineFill(path_); }

void CObjMultiBorder::Copy(const CObjMultiBorder& source) {
  centre_ = source.centre_;
  radius_ = source.radius_;
  sides_ = source.sides_;
  startAngle_ = source.startAngle_;
  // The copied vertices are mirrored as the source's are; without the flags
  // the copy would come back unmirrored at its next regeneration.
  mirrorFlags_ = source.mirrorFlags_;
  CopyVertices(path_, source.path_);
}

void CObjMultiBorder::Offset(double dx, double dy) {
  centre_.x += dx;
  centre_.y += dy;
  path_.Offset(dx, dy);
}

void CObjMultiBorder::Resize(CDoubleRect& oldRect, CDoubleRect& newRect, int handle) {
  ApplyHandleResize(
      oldRect, newRect, handle, [this](double dx, double dy) { Offset(dx, dy); },
      [this](const CDoublePoint& anchor, double sx, double sy) {
        centre_.x = anchor.x + (centre_.x - anchor.x) * sx;
        centre_.y = anchor.y + (centre_.y - anchor.y) * sy;
        radius_ = radius_ * (sx + sy) * 0.5;
        BuildPath();
        RebuildFill();
      },
      [this] { return path_.GetBoundRect(); });
}

void CObjMultiBorder::Rotate(const CDoublePoint& centre, double radians) {
  const CDoublePoint o = centre;  // the caller may pass our own centre
  // A mirrored polygon is generated and then reflected: turning the drawn
  // shape one way turns its start angle the other way.
  const double turn = radians * RAD_TO_DEG;
  startAngle_ = WrapDegreesHalfOpen(startAngle_ + (IsReflected(mirrorFlags_) ? -turn : turn));
  RotatePointAbout(centre_, o, radians);
  path_.Rotate(o, radians);
  // The turned bounds no longer sit where the mirror about their centre
  // expects them.
  if (mirrorFlags_ & (MIRROR_X | MIRROR_Y)) AnchorCentreToPoints(true, true);
}

void CObjMultiBorder::MirrorX(double axis) {
  mirrorFlags_ ^= MIRROR_X;
  centre_.x = 2 * axis - centre_.x;
  MirrorPointsX(axis);
  // An odd polygon's bounds are not centred on its centre: the centre moves so
  // that the next regeneration (a resize, or the file read back) stays here.
  AnchorCentreToPoints(true, false);
  RebuildFill();
}

void CObjMultiBorder::MirrorY(double axis) {
  mirrorFlags_ ^= MIRROR_Y;
  centre_.y = 2 * axis - centre_.y;
  MirrorPointsY(axis);
  AnchorCentreToPoints(false, true);
  RebuildFill();
}

void CObjMultiBorder::MirrorPointsX(double axis) { MirrorVerticesX(path_, axis); }

void CObjMultiBorder::MirrorPointsY(double axis) { MirrorVerticesY(path_, axis); }

void CObjMultiBorder::SetField(int key, const MrkValue& value) {
  // Values that are not numbers would poison every vertex.
  const bool finite = std::isfinite(value.d);
  switch (key) {
    case 10: if (finite) centre_.x = value.d; break;
    case 20: if (finite) centre_.y = value.d; break;
    case 40: if (finite) startAngle_ = value.d; break;
    case 50: if (finite) radius_ = value.d; break;
    case 100: SetSides(value.i); break;
    case 190: mirrorFlags_ = value.b; break;
    default: break;
  }
}

void CObjMultiBorder::Write(MrkLineWriter& out) const {
  out.WriteClassBegin("CObjMultiBorder");
  out.WriteDouble(kKeyCentreX, centre_.x, 6);
  out.WriteDouble(kKeyCentreY, centre_.y, 6);
  out.WriteInt(kKeySides, sides_);
  out.WriteDouble(kKeyStart, startAngle_, 6);
  out.WriteDouble(kKeyRadius, radius_, 6);
  out.WriteInt(kKeyMirror, mirrorFlags_);
  out.WriteClassEnd();
}
