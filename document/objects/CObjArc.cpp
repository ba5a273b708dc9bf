#include "document/objects/CObjArc.h"

#include <algorithm>
#include <cmath>

#include "document/mrk/MrkKeys.h"
#include "document/mrk/MrkLineWriter.h"
#include "document/objects/HandleResize.h"
#include "document/objects/ParametricShape.h"
#include "document/objects/VertexObject.h"
#include "document/path/PathListHelpers.h"

namespace {

// Key lines of the class block, labels in code page 936.
constexpr char kKeyCentreX[] = "10;Center(x)";
constexpr char kKeyCentreY[] = "20;Center(y)";
constexpr char kKeyXRadius[] = "40;X\xb7\xbd\xcf\xf2\xb5\xc4\xb0\xeb\xbe\xb6";       // X方向的半径
constexpr char kKeyYRadius[] = "50;Y\xb7\xbd\xcf\xf2\xb5\xc4\xb0\xeb\xbe\xb6";       // Y方向的半径
constexpr char kKeyStart[] = "60;\xd4\xb2\xbb\xa1\xb5\xc4\xc6\xf0\xbd\xc7";          // 圆弧的起角
constexpr char kKeyEnd[] = "61;\xd4\xb2\xbb\xa1\xb5\xc4\xd6\xd5\xbd\xc7";            // 圆弧的终角
constexpr char kKeyRotation[] = "62;\xd0\xfd\xd7\xaa\xbd\xc7\xb6\xc8";               // 旋转角度
constexpr char kKeyLockRatio[] = "100;\xcb\xf8\xb6\xa8\xb1\xc8\xc0\xfd\xcd\xac\xb2\xbd";  // 锁定比例同步
constexpr char kKeyMirror[] = "190;MFlag";

// Radii below this are taken for a slip of the mouse and replaced.
constexpr double kMinRadius = 0.5;
constexpr double kFallbackRadius = 2.0;

// An arc sweeps at most this many turns. A layout may ask for an ellipse
// marked over several times, and it is drawn as asked; angles far apart (a
// damaged file) would otherwise make millions of points, or never end once the
// angle is so large that a step no longer changes it.
constexpr int kMaxTurns = 100;

// Points per full turn: grows with the size of the ellipse.
int StepsPerTurn(double factor, double rx, double ry, int most) {
  const double n = std::floor(factor * (rx + ry));
  if (!(n >= 6)) return 6;
  return n > most ? most : static_cast<int>(n);
}

// Appends p, joined to the previous point unless it is the first.
void AppendJoined(CPointList& list, const CDoublePoint& p) {
  CDoublePoint q = p;
  if (list.GetSize() > 0) {
    q.flag = static_cast<std::uint8_t>(q.flag | PT_JOINED);
  } else {
    q.flag = static_cast<std::uint8_t>(q.flag & ~PT_JOINED);
  }
  list.Add(q);
}

}  // namespace

CObjArc::CObjArc(const ArcDialogRecord& record)
    : centre_(record.centre), lockRatio_(record.lockRatio), xRadius_(record.xRadius), yRadius_(record.yRadius) {
  FixSmallRadii();
  SetPointed(record.pointed);
  BuildPath();
}

CObjArc::CObjArc(const ArcImportRecord& record)
    : centre_(record.centre),
      xRadius_(record.radius),
      yRadius_(record.radius),
      startAngle_(static_cast<float>(record.startAngle)),
      endAngle_(static_cast<float>(record.endAngle)) {
  BuildPathDirected(record.direction);
}

CObjArc::CObjArc(const ArcRulerRecord& record)
    : centre_(record.centre),
      xRadius_(record.radius),
      yRadius_(record.radius),
      startAngle_(static_cast<float>(record.startAngle)),
      endAngle_(static_cast<float>(record.endAngle)) {
  SetPointed(record.pointed);
  BuildPath();
}

void CObjArc::FixSmallRadii() {
  if (!(xRadius_ >= kMinRadius && std::isfinite(xRadius_))) xRadius_ = kFallbackRadius;
  if (!(yRadius_ >= kMinRadius && std::isfinite(yRadius_))) yRadius_ = kFallbackRadius;
}

CDoublePoint CObjArc::PointAt(double t) const {
  return CDoublePoint(centre_.x + std::cos(t) * xRadius_, centre_.y + std::sin(t) * yRadius_);
}

void CObjArc::AddPathPoint(const CDoublePoint& p) { AppendJoined(path_.points, p); }

void CObjArc::GeneratePoints(CPointList& out) const {
  out.RemoveAll();
  const int n = StepsPerTurn(6.5, xRadius_, yRadius_, 360);
  const double step = kParamFullTurn / n;
  const double s = startAngle_ * DEG_TO_RAD;
  const double e = endAngle_ * DEG_TO_RAD;
  int budget = kMaxTurns * n;

  AppendJoined(out, PointAt(s));
  double d = s + step;
  if (startAngle_ >= endAngle_) {
    // The arc runs through 0 degrees (or is a full turn from start to start).
    for (; d < kParamFullTurn && budget > 0; d += step, --budget) AppendJoined(out, PointAt(d));
    d -= kParamFullTurn;
  }
  for (; d < e && budget > 0; d += step, --budget) AppendJoined(out, PointAt(d));

  const bool pointed = path_.flag != 0;
  const float fullEnd = startAngle_ + 360.0f;
  const bool full = startAngle_ == endAngle_ || endAngle_ == fullEnd;
  if (!pointed) {
    if (!full) {
      AppendJoined(out, PointAt(e));
    } else if (out.GetSize() > 0) {
      const CDoublePoint first = out[0];
      AppendJoined(out, CDoublePoint(first.x, first.y));
    }
  }
}

void CObjArc::BuildPath() {
  path_.second.RemoveAll();
  FixSmallRadii();
  GeneratePoints(path_.points);
  if (rotation_ != 0) path_.Rotate(centre_, rotation_ * DEG_TO_RAD);
  ApplyMirrorFlags(path_, mirrorFlags_);
}

void CObjArc::AnchorCentreToPoints(bool alongX, bool alongY) {
  FixSmallRadii();
  CPointList generated;
  GeneratePoints(generated);
  if (rotation_ != 0) RotatePointsRad(generated, centre_, rotation_ * DEG_TO_RAD);
  const CDoublePoint shift = CentreShiftToDrawn(path_.points, generated);
  if (alongX) centre_.x += shift.x;
  if (alongY) centre_.y += shift.y;
}

void CObjArc::BuildPathDirected(int direction) {
  path_.points.RemoveAll();
  path_.second.RemoveAll();
  FixSmallRadii();

  const int n = StepsPerTurn(4.0, xRadius_, yRadius_, 180);
  const double step = kParamFullTurn / n;
  const double s = startAngle_ * DEG_TO_RAD;
  const double e = endAngle_ * DEG_TO_RAD;
  int budget = kMaxTurns * n;

  AddPathPoint(PointAt(s));
  if (direction) {
    for (double d = s - step; d >= e && budget > 0; d -= step, --budget) AddPathPoint(PointAt(d));
  } else {
    for (double d = s + step; d <= e && budget > 0; d += step, --budget) AddPathPoint(PointAt(d));
  }
}

void CObjArc::Copy(const CObjArc& source) {
  centre_ = source.centre_;
  lockRatio_ = source.lockRatio_;
  xRadius_ = source.xRadius_;
  yRadius_ = source.yRadius_;
  startAngle_ = source.startAngle_;
  endAngle_ = source.endAngle_;
  rotation_ = source.rotation_;
  // The copied points are mirrored and pointed as the source's are; without
  // the flags the copy would come back different at its next regeneration.
  mirrorFlags_ = source.mirrorFlags_;
  path_.flag = source.path_.flag;
  CopyVertices(path_, source.path_);
}

void CObjArc::RebuildFill() { RebuildOutlineFill(path_); }

void CObjArc::Offset(double dx, double dy) {
  centre_.x += dx;
  centre_.y += dy;
  path_.Offset(dx, dy);
}

void CObjArc::Resize(CDoubleRect& oldRect, CDoubleRect& newRect, int handle) {
  ApplyHandleResize(
      oldRect, newRect, handle, [this](double dx, double dy) { Offset(dx, dy); },
      [this](const CDoublePoint& anchor, double sx, double sy) {
        xRadius_ *= sx;
        yRadius_ *= sy;
        centre_.x = anchor.x + (centre_.x - anchor.x) * sx;
        centre_.y = anchor.y + (centre_.y - anchor.y) * sy;
        BuildPath();
        RebuildFill();
      },
      [this] { return path_.GetBoundRect(); });
}

void CObjArc::Rotate(const CDoublePoint& centre, double radians) {
  const CDoublePoint o = centre;  // the caller may pass our own centre
  RotatePointAbout(centre_, o, radians);
  // A mirrored arc is generated turned and then reflected: turning the drawn
  // shape one way turns its parameters the other way.
  const double turn = radians * RAD_TO_DEG;
  rotation_ = static_cast<float>(WrapDegreesOpen(rotation_ + (IsReflected(mirrorFlags_) ? -turn : turn)));
  path_.Rotate(o, radians);
  // The turned bounds no longer sit where the mirror about their centre
  // expects them.
  if (mirrorFlags_ & (MIRROR_X | MIRROR_Y)) AnchorCentreToPoints(true, true);
}

void CObjArc::MirrorX(double axis) {
  mirrorFlags_ ^= MIRROR_X;
  centre_.x = 2 * axis - centre_.x;
  MirrorPointsX(axis);
  // A partial arc's bounds are not centred on its centre: the centre moves so
  // that the next regeneration (a resize, or the file read back) stays here.
  AnchorCentreToPoints(true, false);
  RebuildFill();
}

void CObjArc::MirrorY(double axis) {
  mirrorFlags_ ^= MIRROR_Y;
  centre_.y = 2 * axis - centre_.y;
  MirrorPointsY(axis);
  AnchorCentreToPoints(false, true);
  RebuildFill();
}

void CObjArc::MirrorPointsX(double axis) { MirrorVerticesX(path_, axis); }

void CObjArc::MirrorPointsY(double axis) { MirrorVerticesY(path_, axis); }

void CObjArc::SetField(int key, const MrkValue& value) {
  // Values that are not numbers would poison every point of the arc.
  const bool finiteD = std::isfinite(value.d);
  const bool finiteF = std::isfinite(value.f);
  switch (key) {
    case 10: if (finiteD) centre_.x = value.d; break;
    case 20: if (finiteD) centre_.y = value.d; break;
    case 40: if (finiteD) xRadius_ = value.d; break;
    case 50: if (finiteD) yRadius_ = value.d; break;
    case 60: if (finiteF) startAngle_ = value.f; break;
    case 61: if (finiteF) endAngle_ = value.f; break;
    case 62: if (finiteF) rotation_ = value.f; break;
    case 100: lockRatio_ = value.i; break;
    case 190: mirrorFlags_ = value.b; break;
    default: break;
  }
}

void CObjArc::Write(MrkLineWriter& out) const {
  out.WriteClassBegin("CObjArc");
  out.WriteDouble(kKeyCentreX, centre_.x, 6);
  out.WriteDouble(kKeyCentreY, centre_.y, 6);
  out.WriteDouble(kKeyXRadius, xRadius_, 6);
  out.WriteDouble(kKeyYRadius, yRadius_, 6);
  out.WriteDouble(kKeyStart, startAngle_, 6);
  out.WriteDouble(kKeyEnd, endAngle_, 6);
  out.WriteDouble(kKeyRotation, rotation_, 6);
  out.WriteInt(kKeyLockRatio, lockRatio_);
  out.WriteInt(kKeyMirror, mirrorFlags_);
  out.WriteClassEnd();
}
