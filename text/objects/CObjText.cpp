#include "text/objects/CObjText.h"

#include <cmath>

#include "document/objects/CObjArc.h"
#include "document/objects/CObjElement.h"
#include "document/path/PathListHelpers.h"
#include "text/layout/DotTextLayout.h"
#include "text/layout/MissingFontNotices.h"
#include "text/layout/TextFinishing.h"
#include "text/layout/TextLayout.h"
#include "text/layout/TextStrokes.h"
#include "values/ShellValues.h"

namespace {

constexpr float kDotSizeFactor = 0.16666667f;

}  // namespace

CObjText::CObjText() {
  SetTrueTypeMode(false);
  s_.anchor = s_.position;
}

CObjText::CObjText(const TextCreateRecord& record) {
  s_.position = CDoublePoint(record.point.x, record.point.y, 0);
  s_.text = record.text;
  s_.dotFontFile = kDefaultDotFontFile;
  s_.strokeFontPair = kDefaultStrokeFontPair;
  SetTrueTypeMode(false);
  s_.anchor = s_.position;
}

CObjText::CObjText(const CDoublePoint& point) : CObjText(TextCreateRecord{point, {}}) {}

CObjText::CObjText(const CDoublePoint& point, const std::string& prefix, const std::string& serial,
                   const std::string& suffix)
    : CObjText(TextCreateRecord{point, prefix + serial + suffix}) {}

TextLayoutContext CObjText::Context() {
  return TextLayoutContext{s_, path_.points, path_.second, InstallFolder, {}, strokeFonts_};
}

void CObjText::SetText(const std::string& text, const CDoublePoint& anchor, bool align) {
  s_.text = text;
  s_.anchor = anchor;
  CreatePoints(anchor, align);
}

void CObjText::CreatePoints(const CDoublePoint& anchor, bool align) {
  Changed();
  // The groups belong to the old layout; they are rebuilt by RecalcPath.
  path_.RemoveAllGroups();
  TextLayoutContext ctx = Context();
  CreateTextPoints(ctx, anchor, align);
  report_ = ctx.report;
  if (!report_.missingFonts.empty()) FontNotices().Note(report_.missingFonts);
}

void CObjText::MergeLayoutReport(const TextLayoutReport& part) {
  report_.strokeStatus |= part.strokeStatus;
  report_.glyphsFailed += part.glyphsFailed;
  report_.glyphsMissing += part.glyphsMissing;
  for (const std::string& name : part.missingFonts) report_.NoteMissingFont(name);
  report_.fontMissing = report_.fontMissing || part.fontMissing;
}

void CObjText::PlaceStrokes(const CPointList& work, const CDoublePoint& anchor, bool align) {
  Changed();
  TextLayoutContext ctx = Context();
  FinishLayout(ctx, work, anchor, align);
}

void CObjText::PlaceDots(CPointList& work, const CDoublePoint& anchor, bool align, bool toSecond) {
  Changed();
  TextLayoutContext ctx = Context();
  FinishDotLayout(ctx, work, anchor, align, toSecond);
}

void CObjText::SetTrueTypeMode(bool on) {
  if (on) {
    s_.flags = static_cast<std::uint8_t>((s_.flags | TEXT_TRUETYPE) & ~TEXT_DOT_FONT);
  } else {
    s_.flags = static_cast<std::uint8_t>(s_.flags & ~TEXT_TRUETYPE);
  }
}

void CObjText::SetDotFontMode(bool on) {
  if (on) {
    s_.flags = static_cast<std::uint8_t>((s_.flags | TEXT_DOT_FONT) & ~TEXT_TRUETYPE);
  } else {
    s_.flags = static_cast<std::uint8_t>(s_.flags & ~TEXT_DOT_FONT);
  }
}

void CObjText::SetVinTwoLines(bool on) {
  if (on) {
    s_.flags = static_cast<std::uint8_t>(s_.flags | TEXT_TWO_LINES);
  } else {
    s_.flags = static_cast<std::uint8_t>(s_.flags & ~TEXT_TWO_LINES);
  }
}

void CObjText::CopyFrom(const CObjText& other) {
  const TextSettings& o = other.s_;
  s_.font = o.font;
  s_.fixedCorner = o.fixedCorner;
  s_.starMode = o.starMode;
  s_.arcArrangement = o.arcArrangement;
  s_.position = o.position;
  s_.text = o.text;
  s_.arcSize = o.arcSize;
  s_.alignment = o.alignment;
  s_.dotKind = o.dotKind;
  s_.aspectRatio = o.aspectRatio;
  s_.heightRatio = o.heightRatio;
  s_.lineSpacing = o.lineSpacing;
  s_.arcRadius = o.arcRadius;
  s_.deflection = o.deflection;
  s_.charSpacing = o.charSpacing;
  s_.fixedCharWidth = o.fixedCharWidth;
  s_.dotFontFile = o.dotFontFile;
  s_.strokeFontPair = o.strokeFontPair;
  s_.charHeight = o.charHeight;
  s_.flags = o.flags;
  s_.slant = o.slant;
  s_.rotation = o.rotation;
  s_.offsetX2 = o.offsetX2;
  s_.offsetY2 = o.offsetY2;
  SetTrueTypeMode((o.flags & TEXT_TRUETYPE) != 0);
}

void CObjText::Offset(double dx, double dy) {
  Changed();
  savedBounds_.OffsetRect(dx, dy);
  path_.Offset(dx, dy);
  s_.position.x += dx;
  s_.position.y += dy;
}

void CObjText::OffsetPoints(double dx, double dy) {
  Changed();
  path_.Offset(dx, dy);
}

void CObjText::MirrorPointsX(double a) { ::MirrorPointsX(path_.points, a); }

void CObjText::MirrorPointsY(double a) { ::MirrorPointsY(path_.points, a); }

void CObjText::RotatePoints(const CDoublePoint& centre, double degrees) { RotateTextPoints(path_.points, centre, degrees); }

void CObjText::MirrorX(double a) {
  Changed();
  s_.flags ^= TEXT_MIRROR_X;
  s_.position.x = 2 * a - s_.position.x - path_.GetPointsBoundRect().Width();
  MirrorPointsX(a);
  RecalcPath();
}

void CObjText::MirrorY(double a) {
  Changed();
  s_.flags ^= TEXT_MIRROR_Y;
  s_.position.y = 2 * a - s_.position.y + path_.GetPointsBoundRect().Height();
  MirrorPointsY(a);
  RecalcPath();
}

void CObjText::Rotate(double radians, const CDoublePoint& centre) {
  Changed();
  const bool hasPoints = path_.points.GetSize() > 0;
  CDoublePoint first;
  if (hasPoints) {
    first = path_.points[0];
    const double c = std::cos(radians);
    const double s = std::sin(radians);
    const double dx = first.x - centre.x;
    const double dy = first.y - centre.y;
    first.x = centre.x + c * dx - s * dy;
    first.y = centre.y + s * dx + c * dy;
  }
  const int fixedCorner = s_.fixedCorner;
  s_.fixedCorner = 0;
  float rotation = static_cast<float>(s_.rotation + radians * RAD_TO_DEG);
  // A few turns come off one by one; a damaged value is brought back in one step.
  for (int i = 0; i < 8 && (rotation >= 360 || rotation <= -360); ++i) rotation += rotation >= 360 ? -360.0f : 360.0f;
  if (rotation >= 360 || rotation <= -360) rotation = std::fmod(rotation, 360.0f);
  s_.rotation = rotation;
  SetText(s_.text, s_.position, false);
  s_.fixedCorner = fixedCorner;
  if (hasPoints && path_.points.GetSize() > 0) {
    Offset(first.x - path_.points[0].x, first.y - path_.points[0].y);
  }
  RecalcPath();
}

void CObjText::RecalcPath() {
  path_.RemoveAllGroups();
  CObjElement* owner = path_.GetOwner();
  if (!owner) return;
  int discardBorder = 0;
  int fillOn = 0;
  float fillAngle = 0;
  float fillSpacing = 0;
  owner->GetFillParams(discardBorder, fillOn, fillAngle, fillSpacing);
  CStrokeGroupArray& groups = path_.GetGroupArray();

  if (s_.flags & TEXT_CODE_SYMBOL) {
    if (auto g = NewStrokeGroup(path_.second)) {
      g->kind = GROUP_KIND_HIDDEN;
      groups.Add(std::move(g));
    }
    return;
  }
  if (s_.flags & TEXT_DOT_FONT) {
    if (s_.dotKind == DOT_KIND_TRUETYPE && s_.gridDone == 0) {
      TextLayoutContext ctx = Context();
      BuildDotGrid(ctx);
      s_.gridDone = 1;
    }
    const CPointList& dots = path_.points;
    CPointList character;
    for (int i = 0; i < dots.GetSize(); ++i) {
      character.Add(dots[i]);
      if ((dots[i].flag & PT_CHAR_LAST) || i + 1 == dots.GetSize()) {
        if (auto g = NewStrokeGroup(character)) {
          g->kind = GROUP_KIND_DOTS;
          g->dotSize = s_.charHeight * kDotSizeFactor;
          groups.Add(std::move(g));
        }
        character.RemoveAll();
      }
    }
    return;
  }
  for (auto& g : CharacterGroupsOf(path_.points)) {
    if (fillOn && (s_.flags & TEXT_TRUETYPE)) {
      g->HatchFill(fillAngle, fillSpacing);
      if (discardBorder) g->RemoveAllLists();
    }
    groups.Add(std::move(g));
  }
}

void CObjText::GetArcBorderPath(CPointList& out) const {
  out.RemoveAll();
  if (!(std::fabs(s_.arcRadius) > 2)) return;
  const double r = std::fabs(s_.arcRadius);
  const bool positive = s_.arcRadius > 0;
  const double start = positive ? s_.deflection - s_.arcSize : s_.deflection;
  const double end = positive ? s_.deflection : s_.deflection + s_.arcSize;
  // The inner arc runs clockwise from the larger angle down, the outer one
  // back counter-clockwise, so that the two close into one outline.
  ArcImportRecord inner;
  inner.centre = s_.position;
  inner.direction = 1;
  inner.radius = r;
  inner.startAngle = end;
  inner.endAngle = start;
  ArcImportRecord outer = inner;
  outer.direction = 0;
  outer.radius = r + s_.charHeight * s_.heightRatio;
  outer.startAngle = start;
  outer.endAngle = end;
  const CObjArc innerArc(inner);
  const CObjArc outerArc(outer);
  out.Append(innerArc.GetPathData().points);
  const int from = out.GetSize();
  out.Append(outerArc.GetPathData().points);
  if (out.GetSize() > from) out[from].flag |= PT_JOINED;
  if (out.GetSize() > 0) {
    CDoublePoint first = out[0];
    first.flag = PT_JOINED;
    out.Add(first);
  }
}

void CObjText::KeepSaved(const CDoubleRect& rect) {
  pristine_ = true;
  haveSavedBounds_ = true;
  savedBounds_ = rect;
}

bool CObjText::HasNoGeometry() const {
  return path_.points.GetSize() == 0 && path_.second.GetSize() == 0 && path_.GetGroupCount() == 0;
}

CDoubleRect CObjText::GetSavedBounds() const {
  if (HasNoGeometry() && haveSavedBounds_) return savedBounds_;
  if (s_.flags & TEXT_CODE_SYMBOL) {
    CDoubleRect r;
    path_.GetKind2BoundRect(r);
    return r;
  }
  return path_.GetBoundRect();
}

CDoubleRect CObjText::GetElementBounds() const {
  if (HasNoGeometry() && haveSavedBounds_) return savedBounds_;
  return path_.GetBoundRect();
}
