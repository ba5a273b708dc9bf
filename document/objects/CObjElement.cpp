#include "document/objects/CObjElement.h"

#include <cmath>
#include <utility>

#include "values/ShellValues.h"
#include "document/mrk/MrkKeys.h"
#include "document/mrk/MrkLineWriter.h"
#include "document/objects/CObjPolyLine.h"
#include "document/objects/HandleResize.h"
#include "document/path/CPathData.h"

namespace {

constexpr double kFullTurn = 6.2831852;

// Brings v into the open interval (-period, period) by whole periods. A few
// turns are taken off one by one; anything larger by fmod, so a huge angle
// cannot spin for ever.
double WrapOpen(double v, double period) {
  for (int i = 0; i < 64; ++i) {
    if (v >= period) {
      v -= period;
    } else if (v <= -period) {
      v += period;
    } else {
      return v;
    }
  }
  return std::fmod(v, period);
}

// Brings degrees into [0, 360] the same way.
float WrapDegrees(float deg) {
  for (int i = 0; i < 64; ++i) {
    if (deg > 360) {
      deg -= 360;
    } else if (deg < 0) {
      deg += 360;
    } else {
      return deg;
    }
  }
  deg = std::fmod(deg, 360.0f);
  return deg < 0 ? deg + 360 : deg;
}

// Barcodes and pictures have no mirror image.
bool MirrorsByCode(int type) { return type != OBJ_BARCODE && type != OBJ_PICTURE; }

ElementDrawArgs DrawArgsOf(platform::DeviceContext& dc, int originX, int originY, double zoom, double offsetX,
                           double offsetY) {
  ElementDrawArgs args;
  args.dc = &dc;
  args.originX = originX;
  args.originY = originY;
  args.zoom = zoom;
  args.offsetX = offsetX;
  args.offsetY = offsetY;
  return args;
}

}  // namespace

// Used by the polyline's rotation, which keeps its own degree field.
float WrapRotationDegrees(float deg) { return WrapDegrees(deg); }

CObjElement::CObjElement() : color(CurrentDefaultColor) {}

CObjElement::CObjElement(CObjCreateRecord record) : CObjElement() {
  name = std::move(record.name);
  type = record.type;
  object_ = record.object;
  objectSize_ = record.objectSize;
  boundRect = record.bounds;
  BindPathOwner();
}

CObjElement::~CObjElement() { DeleteOwnedObject(); }

void CObjElement::DeleteOwnedObject() {
  // Objects of size 0 or less belong to someone else. Owned objects of every
  // code, reserved ones included, go through the virtual destructor.
  if (object_ && objectSize_ > 0) delete object_;
  object_ = nullptr;
  objectSize_ = 0;
}

void CObjElement::AttachObject(CObjBase* object, int objectSize, const CDoubleRect& bounds) {
  if (object != object_) DeleteOwnedObject();
  objectSize_ = objectSize;
  boundRect = bounds;
  object_ = object;
  BindPathOwner();
}

const CObjTypeOps* CObjElement::Ops() const {
  if (!object_ || objectSize_ <= 0) return nullptr;
  const CObjTypeOps* ops = FindObjTypeOps(type);
  if (!ops || !ops->isInstance || !ops->isInstance(*object_)) return nullptr;
  return ops;
}

CPathData* CObjElement::GetPath() const {
  const CObjTypeOps* ops = Ops();
  return ops && ops->path ? ops->path(*object_) : nullptr;
}

void CObjElement::BindPathOwner() {
  if (CPathData* path = GetPath()) path->SetOwner(this);
}

void CObjElement::SetByKey(int key, const MrkValue& value) {
  switch (key) {
    case 60: rotation = value.f; break;
    case 61: fillAngle = value.f; break;
    case 62: fillSpacing = value.f; break;
    case 63: emptySpeed = value.f; break;
    case 64: lineSpeed = value.f; break;
    case 106: id = value.i; break;
    case 107: lock = value.i; break;
    case 108: dataSource = value.i; break;
    case 109: excelColumn = value.i; break;
    case 110: layer = value.i; break;
    case 111: queryKey = value.i; break;
    case 160: type = value.i; break;
    case 161: penDownDelay = value.i; break;
    case 162: penChangeDelay = value.i; break;
    case 163: objectEndDelay = value.i; break;
    case 164: markCount = value.i; break;
    case 165: color = value.i; break;
    case 190: attribute = value.b; break;
    case 201: name = value.text; break;
    default: break;
  }
}

void CObjElement::SetObjectField(int key, const MrkValue& value) {
  const CObjTypeOps* ops = Ops();
  if (ops && ops->setField) ops->setField(*object_, key, value);
}

void CObjElement::WriteClassBlock(MrkLineWriter& out, const std::string& projectPath) const {
  const CObjTypeOps* ops = Ops();
  if (ops && ops->write) {
    ops->write(*this, *object_, out, projectPath);
  } else if (!object_) {
    out.WriteRaw(keptClassBlock);
  }
}

std::uint8_t CObjElement::SetBit(std::uint8_t bit, int on) {
  if (on) {
    attribute = static_cast<std::uint8_t>(attribute | bit);
  } else {
    attribute = static_cast<std::uint8_t>(attribute & ~bit);
  }
  return attribute;
}

void CObjElement::GetFillParams(int& discardBorder, int& fillOn, float& angle, float& spacing) const {
  discardBorder = IsDiscardBorder();
  fillOn = IsFillOn();
  angle = fillAngle;
  spacing = fillSpacing;
}

void CObjElement::ToggleFill(float angle, float spacing) {
  fillAngle = angle;
  fillSpacing = spacing;
  attribute ^= ATTR_FILL;
  // Only true polylines: a B-spline would lose its curve to the control polygon.
  if (IsPolyLineType(type)) {
    if (auto* poly = GetObjectAs<CObjPolyLine>(); poly && Ops()) poly->RebuildFill();
  }
}

bool CObjElement::IsTextType(int requireDataSource) const {
  const bool text = type == OBJ_TEXT || type == OBJ_SERIAL || type == OBJ_VIN || type == OBJ_BARCODE;
  if (!text) return false;
  return requireDataSource ? dataSource == 1 : true;
}

double CObjElement::DistanceToStart(const CDoublePoint& p) const { return PointDistance(p, startPoint); }

double CObjElement::DistanceToEnd(const CDoublePoint& p) const { return PointDistance(p, endPoint); }

bool CObjElement::PtInBoundRect(const CDoublePoint& p) const {
  return p.x >= boundRect.left - 2 && p.x <= boundRect.right + 2 && p.y >= boundRect.bottom - 2 &&
         p.y <= boundRect.top + 2;
}

bool CObjElement::HasTextArc() const {
  if (type != OBJ_TEXT && type != OBJ_DATE && type != OBJ_SERIAL && type != OBJ_VIN) return false;
  const CObjTypeOps* ops = Ops();
  return ops && ops->textArcRadius && std::fabs(ops->textArcRadius(*object_)) >= 0.5;
}

bool CObjElement::HasTextArcRadius2() const {
  if (type != OBJ_TEXT && type != OBJ_DATE && type != OBJ_SERIAL && type != OBJ_VIN && type != OBJ_RULER) return false;
  const CObjTypeOps* ops = Ops();
  return ops && ops->textArcRadius && std::fabs(ops->textArcRadius(*object_)) >= 2.0;
}

std::string CObjElement::GetText() const {
  const CObjTypeOps* ops = Ops();
  if (!ops || !ops->getText) return {};
  return ops->getText(*object_);
}

void CObjElement::GetTextArcBorder(CPointList& out) const {
  out.RemoveAll();
  const CObjTypeOps* ops = Ops();
  if (ops && ops->textArcBorder) ops->textArcBorder(*object_, out);
}

void CObjElement::StoreMarkedText() {
  const CObjTypeOps* ops = Ops();
  if (ops && ops->storeMarkedText) ops->storeMarkedText(*object_);
}

bool CObjElement::AdvanceAfterMark() {
  const CObjTypeOps* ops = Ops();
  if (!ops || !ops->advanceAfterMark || !ops->advanceAfterMark(*this, *object_)) return false;
  UpdateBoundRect();
  return true;
}

CDoubleRect CObjElement::GetBoundRect() const {
  const CObjTypeOps* ops = Ops();
  if (!ops) return CDoubleRect();
  if (ops->path) return ops->path(*object_)->GetBoundRectEx();
  if (ops->ownBounds) return ops->ownBounds(*object_);
  return CDoubleRect();
}

void CObjElement::UpdateBoundRect() {
  const CObjTypeOps* ops = Ops();
  if (!ops) return;
  if (ops->ownBounds) {
    boundRect = ops->ownBounds(*object_);
  } else if (ops->path) {
    boundRect = ops->path(*object_)->GetBoundRect();
  } else {
    boundRect.SetRectEmpty();
  }
}

void CObjElement::RefreshTypeObject() {
  const CObjTypeOps* ops = Ops();
  if (ops && ops->refresh) ops->refresh(*this, *object_);
}

void CObjElement::DrawPathOf(const CPathData& path, const ElementDrawArgs& args) {
  PathDrawContext ctx;
  ctx.dc = args.dc;
  ctx.originX = args.originX;
  ctx.originY = args.originY;
  ctx.zoom = args.zoom;
  ctx.offsetX = args.offsetX;
  ctx.offsetY = args.offsetY;
  ctx.firstPoint = &startPoint;
  ctx.lastPoint = &endPoint;
  ctx.highlightPen = args.highlightPen;
  ctx.visible = args.visible;
  ctx.bounds = boundRect;
  path.DrawGroups(ctx);
}

void CObjElement::Draw(platform::DeviceContext& dc, int originX, int originY, double zoom,
                       const platform::DcPen& markedPen, const platform::DcPen& unmarkedPen,
                       const CDoublePoint& reference, const platform::DcRect* visible) {
  const CObjTypeOps* ops = Ops();
  if (!ops) return;
  const platform::DcPen previous = dc.SelectPen(IsMarkEnabled() ? markedPen : unmarkedPen);
  ElementDrawArgs args = DrawArgsOf(dc, originX, originY, zoom, reference.x, reference.y);
  if (ops->draw) {
    ops->draw(*this, *object_, args);
  } else if (ops->path) {
    // Only a path drawn by itself is held against the bounds (which are its own).
    args.visible = visible;
    DrawPathOf(*ops->path(*object_), args);
  }
  dc.SelectPen(previous);
}

void CObjElement::DrawMarkPath(platform::DeviceContext& dc, int originX, int originY, double zoom,
                               const platform::DcPen& markedPen, const platform::DcPen& unmarkedPen,
                               const platform::DcPen& highlightPen, double offsetX, double offsetY) {
  if (!IsImportedDrawingType(type)) return;
  const CObjTypeOps* ops = Ops();
  if (!ops || !ops->path) return;
  const platform::DcPen previous = dc.SelectPen(IsMarkEnabled() ? markedPen : unmarkedPen);
  ElementDrawArgs args = DrawArgsOf(dc, originX, originY, zoom, offsetX, offsetY);
  args.highlightPen = &highlightPen;
  DrawPathOf(*ops->path(*object_), args);
  dc.SelectPen(previous);
}

void CObjElement::Resize(CDoubleRect newRect, CDoubleRect oldRect, int handle) {
  const CObjTypeOps* ops = Ops();
  if (!ops || !ops->resize) return;
  // A barcode keeps its module size: it only follows a plain move.
  if (type == OBJ_BARCODE && handle != HANDLE_MOVE_ONLY) return;
  ops->resize(*object_, oldRect, newRect, handle);
  // The dot image always gets its offset call after a resize, a null one.
  if (type == OBJ_DOTIMAGE && ops->offset) ops->offset(*object_, 0, 0);
  UpdateBoundRect();
}

void CObjElement::MoveBy(double dx, double dy) {
  if (lock != 0 || (dx == 0 && dy == 0)) return;
  if (!std::isfinite(dx) || !std::isfinite(dy)) return;
  const CObjTypeOps* ops = Ops();
  if (!ops || !ops->offset) return;
  ops->offset(*object_, dx, dy);
  UpdateBoundRect();
}

void CObjElement::Rotate(const CDoublePoint& centre, double angle) {
  // A non-finite angle or centre would turn every point into NaN.
  if (!std::isfinite(angle) || !std::isfinite(centre.x) || !std::isfinite(centre.y)) return;
  const CObjTypeOps* ops = Ops();
  if (!ops) return;
  angle = WrapOpen(angle, kFullTurn);
  // Dot images and pictures stay upright.
  const bool turns = type != OBJ_DOTIMAGE && type != OBJ_PICTURE;
  if (turns && ops->rotate) ops->rotate(*this, *object_, centre, angle);
  if (ops->path) boundRect = ops->path(*object_)->GetBoundRect();
}

void CObjElement::MirrorX(double axis) {
  const CObjTypeOps* ops = Ops();
  if (!ops) return;
  if (MirrorsByCode(type) && ops->mirrorX && std::isfinite(axis)) ops->mirrorX(*object_, axis);
  UpdateBoundRect();
}

void CObjElement::MirrorY(double axis) {
  const CObjTypeOps* ops = Ops();
  if (!ops) return;
  if (MirrorsByCode(type) && ops->mirrorY && std::isfinite(axis)) ops->mirrorY(*object_, axis);
  UpdateBoundRect();
}

void CObjElement::CopyFrom(const CObjElement& source) {
  if (&source == this) return;
  layer = source.layer;
  queryKey = source.queryKey;
  name = source.name;
  id = source.id;
  excelColumn = source.excelColumn;
  attribute = source.attribute;
  type = source.type;
  activePage = source.activePage;
  rotation = source.rotation;
  penDownDelay = source.penDownDelay;
  penChangeDelay = source.penChangeDelay;
  objectEndDelay = source.objectEndDelay;
  markCount = source.markCount;
  fillAngle = source.fillAngle;
  fillSpacing = source.fillSpacing;
  emptySpeed = source.emptySpeed;
  lineSpeed = source.lineSpeed;
  color = source.color;
  boundRect = source.boundRect;
  keptClassBlock = source.keptClassBlock;

  // The old object cannot stay: the type code may now name another class.
  DeleteOwnedObject();
  const CObjTypeOps* ops = source.Ops();
  if (!ops || !ops->create) return;
  std::unique_ptr<CObjBase> copy = ops->create();
  if (!copy) return;
  if (ops->copy) ops->copy(*this, *copy, source, *source.object_);
  object_ = copy.release();
  objectSize_ = ops->objectSize;
  BindPathOwner();
  UpdateBoundRect();
}

void CObjElement::CollectDots(CPointList& list) const {
  if (const CPathData* path = GetPath()) path->GatherGroupPoints(list);
}

void CObjElement::BuildStepNodes(StepNode*& head, const CDrawProperity& prop, CDoublePoint& current, int& nodeCount,
                                 bool& firstObject, int mode) {
  const CObjTypeOps* ops = Ops();
  if (!ops || !ops->path) return;
  if (ops->beforeStepNodes) ops->beforeStepNodes(*this, *object_);
  ops->path(*object_)->BuildStepNodes(head, prop, current, nodeCount, firstObject, boundRect, mode);
}

int CObjElement::SplitSelectByPoint(const CDoubleRect& rect, double /*scale*/, const CDoublePoint& offset) {
  if (!IsImportedDrawingType(type) || !Ops()) return 0;
  auto* poly = GetObjectAs<CObjPolyLine>();
  return poly ? poly->SelectStrokesInside(rect, offset) : 0;
}

int CObjElement::SplitSelectByRect(const CDoubleRect& rect, double /*scale*/, const CDoublePoint& offset) {
  if (!IsImportedDrawingType(type) || !Ops()) return 0;
  auto* poly = GetObjectAs<CObjPolyLine>();
  return poly ? poly->SelectStrokesTouching(rect, offset) : 0;
}

int CObjElement::SplitSelectAll() {
  if (!IsImportedDrawingType(type) || !Ops()) return 0;
  auto* poly = GetObjectAs<CObjPolyLine>();
  return poly ? poly->SetSplitFlagAll() : 0;
}

int CObjElement::HasSplitSelected() const {
  if (!IsImportedDrawingType(type) || !Ops()) return 0;
  auto* poly = GetObjectAs<CObjPolyLine>();
  return poly ? poly->HasSplitSelected() : 0;
}

int CObjElement::HasSplitUnselected() const {
  if (!IsImportedDrawingType(type) || !Ops()) return 0;
  auto* poly = GetObjectAs<CObjPolyLine>();
  return poly ? poly->HasSplitUnselected() : 0;
}
