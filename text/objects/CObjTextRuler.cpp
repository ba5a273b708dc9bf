#include "text/objects/CObjTextRuler.h"

#include <algorithm>
#include <cmath>

#include "document/mrk/MrkKeys.h"
#include "document/mrk/MrkLineWriter.h"
#include "document/objects/CObjArc.h"
#include "document/objects/HandleResize.h"
#include "document/path/PathListHelpers.h"
#include "platform/NumberText.h"
#include "text/fonts/shx/ShxFontCache.h"
#include "text/layout/TextFinishing.h"
#include "values/ShellValues.h"

namespace {

constexpr double kHalfPi = 1.5707963;
constexpr double kFullTurnRad = 6.2831852;

double Round4(double v) { return platform::ParseDoubleC(platform::FormatC("%.4f", v)); }
double Round2(double v) { return platform::ParseDoubleC(platform::FormatC("%.2f", v)); }

CDoublePoint Along(const CDoublePoint& c, double radius, double degrees) {
  const double a = degrees * DEG_TO_RAD;
  return CDoublePoint(c.x + radius * std::cos(a), c.y + radius * std::sin(a), 0);
}

}  // namespace

CObjTextRuler::CObjTextRuler() { SetDefaults(); }

CObjTextRuler::CObjTextRuler(const CDoublePoint& point) : CObjText(point) { SetDefaults(); }

void CObjTextRuler::SetDefaults() {
  Settings().aspectRatio = 0.85;
  Settings().charHeight = 2.5f;
  Settings().fixedCorner = 8;
}

void CObjTextRuler::CopyFrom(const CObjTextRuler& other) {
  CObjText::CopyFrom(other);
  r_ = other.r_;
  marks_ = other.marks_;
}

void CObjTextRuler::UpdateArcAngle() {
  if (r_.ur > 2) r_.arcW = static_cast<float>(Round4(r_.lineW / r_.ur * RAD_TO_DEG));
}

std::string CObjTextRuler::LabelText(double v) const {
  if (r_.textMode == 3 || r_.textMode == 4) v = std::fabs(v);
  switch (r_.zero) {
    case 0: return platform::FormatC("%.0f", v);
    case 1: return platform::FormatC("%.1f", v);
    case 2: return platform::FormatC("%.2f", v);
    case 3: return platform::FormatC("%.3f", v);
    default: return platform::FormatC("%.4f", v);
  }
}

void CObjTextRuler::AddLabel(CPointList& work, const CDoublePoint& at, double value, double angleRad, bool onArc,
                             ShxFontCache& fonts) {
  CObjText label;
  label.CopyFrom(*this);
  label.ShareStrokeFonts(&fonts);
  TextSettings& s = label.Settings();
  s.rotation = 0;
  s.flags = static_cast<std::uint8_t>(s.flags & ~(TEXT_MIRROR_X | TEXT_MIRROR_Y));
  s.fixedCorner = 8;
  s.position = at;
  label.SetText(LabelText(value), at, true);
  MergeLayoutReport(label.GetLayoutReport());
  CPointList& points = label.GetPathData().points;
  if (onArc) RotatePointsRad(points, at, angleRad - kHalfPi);
  work.Append(points);
}

std::vector<CObjTextRuler::Tick> CObjTextRuler::Ticks() const {
  std::vector<Tick> ticks;
  const int units = std::clamp(r_.units, 0, kRulerMaxUnits);
  // Fewer than one unit per big tick would divide by zero: every tick is big then.
  const int big = std::max(1, r_.bigUnits);
  const int period = r_.reverse;
  const double span = static_cast<double>(period) * big * r_.uv;
  const double middleLength = r_.mf * r_.rHeight * 0.01;
  const bool middleLabels = r_.textMode == 2 || r_.textMode == 4;
  bool down = false;  // counting down in this period
  for (int i = 0; i <= units; ++i) {
    const int r = i % big;
    const int k = i / big;
    double v = i * static_cast<double>(r_.uv);
    if (period > 0) v -= static_cast<double>(period) * (k / period) * big * r_.uv;
    if (r == 0) {
      if (period > 0) {
        if (k % period != 0 && down) v = span - v;
        if (k % period == 0 && k > 0) {
          if (!down) v += span;
          down = !down;
        }
      }
      ticks.push_back({static_cast<double>(i), r_.rHeight, r_.textMode >= 1, v + r_.sv});
    } else if (std::fabs(r - big / 2.0) > 0.001) {
      ticks.push_back({static_cast<double>(i), r_.sf * r_.rHeight * 0.01, false, 0});
    } else {
      if (period > 0 && k % period != 0 && down) v = span - v;
      ticks.push_back({static_cast<double>(i), middleLength, middleLabels, v + r_.sv});
    }
    // An odd number of units per big tick has its middle between two units.
    if (big % 2 == 1 && r < big / 2.0 && r + 1 > big / 2.0) {
      double h = (i + 0.5) * r_.uv;
      if (period > 0) {
        h -= static_cast<double>(period) * (k / period) * big * r_.uv;
        if (k % period != 0 && down) h = span - h;
      }
      ticks.push_back({i + 0.5, middleLength, middleLabels, h + r_.sv});
    }
  }
  return ticks;
}

void CObjTextRuler::Graduate(CPointList& work, bool onArc, ShxFontCache& fonts) {
  const double s = r_.dir == 0 ? 1.0 : -1.0;
  const CDoublePoint origin = Settings().position;
  const double labelGap = Settings().charHeight * 0.5 + r_.textDis + r_.rHeight;
  for (const Tick& t : Ticks()) {
    CDoublePoint base;
    CDoublePoint end;
    CDoublePoint label;
    double angle = 0;
    if (onArc) {
      const double a = 360 - t.position * r_.arcW + r_.sAngle;
      angle = a * DEG_TO_RAD;
      base = Along(origin, r_.ur, a);
      end = Along(origin, r_.ur + s * t.length, a);
      label = Along(origin, r_.ur + s * labelGap, a);
    } else {
      const double x = origin.x + t.position * r_.lineW;
      base = CDoublePoint(x, origin.y, 0);
      end = CDoublePoint(x, origin.y + s * t.length, 0);
      label = CDoublePoint(x, origin.y + s * labelGap, 0);
    }
    // Each tick is a stroke of its own.
    base.flag = PT_TEXT_MARK;
    end.flag = PT_JOINED | PT_TEXT_MARK;
    work.Add(base);
    work.Add(end);
    if (t.labelled) AddLabel(work, label, t.value, angle, onArc, fonts);
  }
}

void CObjTextRuler::CreatePoints(const CDoublePoint& anchor, bool align) {
  Changed();
  CPathData& path = GetPathData();
  path.points.RemoveAll();
  path.second.RemoveAll();
  path.RemoveAllGroups();
  ClearLayoutReport();
  // The labels read each font file once, not once each.
  ShxFontCache fonts(InstallFolder);
  CPointList work;
  const CDoublePoint origin = Settings().position;
  const int units = std::clamp(r_.units, 0, kRulerMaxUnits);
  if (r_.ur > 2) {
    if (r_.arcW > 0.001f) {
      r_.lineW = static_cast<float>(Round4(r_.ur * r_.arcW * DEG_TO_RAD));
    } else {
      r_.arcW = static_cast<float>(Round4(r_.lineW / r_.ur * RAD_TO_DEG));
    }
    const double half = units * r_.arcW * 0.5;
    switch (r_.arcMode) {
      case 1: r_.sAngle = static_cast<float>(half + 90); break;
      case 2: r_.sAngle = static_cast<float>(half + 270); break;
      case 3: r_.sAngle = static_cast<float>(half); break;
      case 4: r_.sAngle = static_cast<float>(half + 180); break;
      default: break;
    }
    Graduate(work, true, fonts);
    if (r_.edge) {
      double last = (360 - units * static_cast<double>(r_.arcW) + r_.sAngle) * DEG_TO_RAD;
      last = std::fmod(last, kFullTurnRad);
      if (last < 0) last += kFullTurnRad;
      ArcRulerRecord arc;
      arc.centre = origin;
      arc.radius = r_.ur;
      arc.startAngle = last * RAD_TO_DEG;
      arc.endAngle = arc.startAngle + units * static_cast<double>(r_.arcW);
      const CObjArc edge(arc);
      work.Append(edge.GetPathData().points);
    }
  } else {
    Graduate(work, false, fonts);
    if (r_.edge) {
      CDoublePoint from(origin.x + units * static_cast<double>(r_.lineW), origin.y, PT_TEXT_MARK);
      CDoublePoint to(origin.x, origin.y, PT_JOINED | PT_TEXT_MARK);
      work.Add(from);
      work.Add(to);
    }
    if (Settings().rotation != 0) RotateTextPoints(work, anchor, Settings().rotation);
  }
  PlaceStrokes(work, anchor, align);
  RecalcPath();
}

void CObjTextRuler::Rotate(double radians, const CDoublePoint& centre) {
  Changed();
  const double degrees = Round2(radians * RAD_TO_DEG);
  CPointList& points = GetPathData().points;
  RotateTextPoints(points, centre, degrees);
  if (points.GetSize() > 0) {
    Settings().position.x = points[0].x;
    Settings().position.y = points[0].y;
  }
  RecalcPath();
  double rotation = Settings().rotation + degrees;
  while (rotation >= 360) rotation -= 360;
  while (rotation <= -360) rotation += 360;
  if (std::fabs(rotation) < 0.001) rotation = 0;
  Settings().rotation = static_cast<float>(rotation);
}

void CObjTextRuler::ResizeToRect(CDoubleRect& oldRect, CDoubleRect& newRect, int handle) {
  const HandleResizePlan plan = PlanHandleResize(oldRect, newRect, handle);
  CObjText::ResizeToRect(oldRect, newRect, handle);
  if (plan.scale && std::isfinite(plan.sx) && std::isfinite(plan.sy)) {
    r_.lineW = static_cast<float>(r_.lineW * plan.sx);
    r_.rHeight = static_cast<float>(r_.rHeight * plan.sy);
  }
}

void CObjTextRuler::Write(MrkLineWriter& out) const {
  out.WriteClassBegin("CObjTextRuler");
  WriteCommonKeys(out);
  out.WriteInt("152;First", r_.first);
  out.WriteInt("153;Units", r_.units);
  out.WriteInt("154;BigUnits", r_.bigUnits);
  out.WriteInt("155;Zero", r_.zero);
  out.WriteInt("156;Reverse", r_.reverse);
  out.WriteInt("157;Textmode", r_.textMode);
  out.WriteInt("158;ArcMode", r_.arcMode);
  out.WriteInt("159;Edge", r_.edge);
  out.WriteInt("160;dir", r_.dir);
  out.WriteDouble("89;LineW", r_.lineW, 3);
  out.WriteDouble("90;RHeight", r_.rHeight, 3);
  out.WriteDouble("91;SF", r_.sf, 3);
  out.WriteDouble("92;MF", r_.mf, 3);
  out.WriteDouble("93;SV", r_.sv, 3);
  out.WriteDouble("94;UV", r_.uv, 3);
  out.WriteDouble("95;UR", r_.ur, 3);
  out.WriteDouble("96;ArcW", r_.arcW, 3);
  out.WriteDouble("97;TextDis", r_.textDis, 3);
  out.WriteDouble("98;Sangle", r_.sAngle, 3);
  out.WriteClassEnd();
}

void CObjTextRuler::SetProperty(int key, const MrkValue& v) {
  const bool f = std::isfinite(v.f);
  switch (key) {
    case 152: r_.first = v.i; break;
    case 153: r_.units = v.i; break;
    case 154: r_.bigUnits = v.i; break;
    case 155: r_.zero = v.i; break;
    case 156: r_.reverse = v.i; break;
    case 157: r_.textMode = v.i; break;
    case 158: r_.arcMode = v.i; break;
    case 159: r_.edge = v.i; break;
    case 160: r_.dir = v.i; break;
    case 87: if (f) Settings().anchor.x = v.f; break;
    case 88: if (f) Settings().anchor.y = v.f; break;
    case 89: if (f) r_.lineW = v.f; break;
    case 90: if (f) r_.rHeight = v.f; break;
    case 91: if (f) r_.sf = v.f; break;
    case 92: if (f) r_.mf = v.f; break;
    case 93: if (f) r_.sv = v.f; break;
    case 94: if (f) r_.uv = v.f; break;
    case 95: if (f) r_.ur = v.f; break;
    case 96: if (f) r_.arcW = v.f; break;
    case 97: if (f) r_.textDis = v.f; break;
    case 98: if (f) r_.sAngle = v.f; break;
    default: CObjText::SetProperty(key, v); break;
  }
}
