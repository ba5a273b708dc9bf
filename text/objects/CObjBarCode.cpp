#include "text/objects/CObjBarCode.h"

#include <cmath>
#include <memory>

#include "document/mrk/MrkKeys.h"
#include "document/mrk/MrkLineWriter.h"
#include "document/path/PathListHelpers.h"
#include "document/path/PointOrdering.h"
#include "platform/Prompt.h"
#include "text/codes/CDataMatrixMaker.h"
#include "text/codes/CQrEncoder.h"
#include "values/ShellValues.h"

namespace {

constexpr char kKeyTextX[] = "98;TextX";
constexpr char kKeyTextY[] = "99;TextY";
constexpr char kKeyOptimize[] = "134;Optimize";
constexpr char kKeyInput[] = "135;Input";
constexpr char kKeyQrVersion[] = "136;QrVer";
constexpr char kKeyLevel[] = "137;Level";
constexpr char kKeyMask[] = "138;Mask";
constexpr char kKeyOutText[] = "139;OutText";
constexpr char kKeyCodeType[] = "140;CodeType";
constexpr char kKeyDirection[] = "141;Dir";
constexpr char kKeyScheme[] = "142;Matrix";
constexpr char kKeySize[] = "143;Matrix";
constexpr char kKeyModuleSize[] = "90;Size";
constexpr char kKeyAngle[] = "91;Angle";
constexpr char kKeyFixedLength[] = "151;Barcode";
constexpr char kKeyFixedText[] = "239;\xcc\xf5\xc2\xeb";  // 条码

CDoublePoint CentreOf(const CDoubleRect& r) { return CDoublePoint((r.left + r.right) / 2, (r.top + r.bottom) / 2, 0); }

// x' = cx + cos(x - cx) - sin(y - cy), y' = cy + sin(x - cx) + cos(y - cy).
void RotateAbout(CPointList& dots, const CDoublePoint& c, double radians) {
  const double cs = std::cos(radians);
  const double sn = std::sin(radians);
  for (int i = 0; i < dots.GetSize(); ++i) {
    const double dx = dots[i].x - c.x;
    const double dy = dots[i].y - c.y;
    dots[i].x = c.x + cs * dx - sn * dy;
    dots[i].y = c.y + sn * dx + cs * dy;
  }
}

}  // namespace

CObjBarCode::CObjBarCode() { SetDefaults(); }

CObjBarCode::CObjBarCode(const CDoublePoint& point, const std::string& prefix, const std::string& serial,
                         const std::string& suffix)
    : CObjTextAutoUpdate(point, prefix, serial, suffix) {
  SetDefaults();
}

void CObjBarCode::SetDefaults() {
  Settings().aspectRatio = 0.8;
  Settings().charHeight = 3.0f;
}

void CObjBarCode::CopyFrom(const CObjBarCode& other) {
  CObjTextAutoUpdate::CopyFrom(other);
  code_ = other.code_;
}

void CObjBarCode::SetModuleSize(float size) {
  Changed();
  code_.moduleSize = size;
  code_.dotSizeX = 2 * size;
  code_.dotSizeY = 2 * size;
}

void CObjBarCode::SetCodeText(const CDoublePoint& anchor, const std::string& text, int alignToAnchor,
                              int textSource) {
  code_.fixedText = text;
  Settings().text = text;
  Rebuild(anchor, alignToAnchor, 0, textSource);
  RecalcPath();
}

bool CObjBarCode::EncodeInto(CPointList& dots) const {
  const std::string& text = GetText();
  const CDoublePoint topLeft = Settings().position;
  if (code_.codeType == BARCODE_DATAMATRIX) {
    CDataMatrixMaker dm;
    if (!dm.Encode(text, code_.dmScheme, code_.dmSize)) return false;
    dm.EmitDots(topLeft, &dots, code_.moduleSize);
    return true;
  }
  if (code_.codeType == BARCODE_QR) {
    // Too big for the stack of a worker thread.
    auto qr = std::make_unique<CQrEncoder>();
    if (!qr->Encode(code_.qrLevel, code_.qrVersion, 1, code_.qrMask - 1, text.data(), static_cast<int>(text.size())))
      return false;
    qr->EmitDots(topLeft, &dots, code_.moduleSize);
    return true;
  }
  return false;
}

void CObjBarCode::OrderDots(CPointList& dots) const {
  switch (code_.dotOrder) {
    case 1:
      OrderPointsByColumns(dots, code_.moduleSize);
      break;
    case 2:
      OrderPointsByRows(dots, code_.moduleSize);
      break;
    case 3: {
      CDoublePoint start = dots[0];
      SortPointsNearestFirst(start, dots);
      break;
    }
    default:
      break;
  }
}

bool CObjBarCode::Rebuild(const CDoublePoint& anchor, int alignToAnchor, int placeText, int textSource) {
  Changed();
  CPathData& path = GetPathData();
  path.points.RemoveAll();
  path.second.RemoveAll();
  path.RemoveAllGroups();
  if (textSource < 1 || textSource > 3) {
    if (code_.inputMode) {
      if (code_.fixedText.empty()) code_.fixedText = ComposeText();
      Settings().text = code_.fixedText;
    } else {
      Settings().text = ComposeText();
    }
  }
  CPointList dots;
  const bool encoded = EncodeInto(dots) && dots.GetSize() > 0;
  encodeError_ = encoded ? std::string() : std::string(kBarCodeEncodeError);
  if (encoded) {
    OrderDots(dots);
    if (code_.angle != 0) RotateAbout(dots, CentreOf(GetPointArrayBoundRect(dots)), code_.angle * DEG_TO_RAD);
  }
  PlaceDots(dots, anchor, alignToAnchor != 0, true);
  Settings().flags |= TEXT_CODE_SYMBOL;
  if (placeText) UpdateTextPosition();
  return encoded;
}

void CObjBarCode::UpdateTextPosition() {
  Changed();
  const CDoubleRect b = GetPathData().GetBoundRect();
  const double h = Settings().charHeight;
  if (code_.textDirection == 0) {
    code_.textPosition = CDoublePoint(b.left, b.bottom - h, 0);
    Settings().rotation = 0;
  } else {
    code_.textPosition = CDoublePoint(b.right + h, b.bottom, 0);
    Settings().rotation = 90;
  }
}

void CObjBarCode::AddTextPath() {
  CStrokeGroupArray& groups = GetPathData().GetGroupArray();
  for (int i = groups.GetSize() - 1; i >= 0; --i) {
    if (groups.GetAt(i)->kind != GROUP_KIND_HIDDEN) groups.DeleteAt(i);
  }
  if (!code_.showText) return;
  CObjTextAutoUpdate text;
  text.CopyFrom(*this);
  text.Settings().flags &= static_cast<std::uint8_t>(~TEXT_CODE_SYMBOL);
  text.Settings().position = code_.textPosition;
  text.SetText(GetText(), code_.textPosition, false);
  text.GetPathData().SetOwner(GetPathData().GetOwner());
  text.RecalcPath();
  CStrokeGroupArray& from = text.GetPathData().GetGroupArray();
  for (int i = 0; i < from.GetSize(); ++i) groups.Add(from.GetAt(i));
  from.DetachAll();
}

void CObjBarCode::Draw(platform::DeviceContext& dc, int originX, int originY, double zoom,
                       const CDoublePoint& offset) const {
  CDoubleRect kind2;
  if (!GetPathData().GetKind2BoundRect(kind2)) return;
  const double s = code_.moduleSize;
  const CPointList& dots = GetPathData().second;
  for (int i = 0; i < dots.GetSize(); ++i) {
    const double x = dots[i].x + offset.x;
    const double y = dots[i].y + offset.y;
    const int left = originX + static_cast<int>(zoom * (x - s / 2) * PixelsPerMmX);
    const int right = originX + static_cast<int>(zoom * (x + s / 2) * PixelsPerMmX);
    const int top = originY - static_cast<int>(zoom * (y + s / 2) * PixelsPerMmY);
    const int bottom = originY - static_cast<int>(zoom * (y - s / 2) * PixelsPerMmY);
    dc.FillSolidRect(left, top, right - left, bottom - top, 0);
  }
}

void CObjBarCode::ApplyPart(const CDoublePoint& anchor) { SetCodeText(anchor, ComposeText(), 0, 0); }

void CObjBarCode::SetPrefix(const CDoublePoint& anchor, const std::string& text) {
  ser_.prefix = text;
  ApplyPart(anchor);
}

void CObjBarCode::SetSerial(const CDoublePoint& anchor, const std::string& text) {
  ser_.serial = text;
  ApplyPart(anchor);
}

void CObjBarCode::SetSuffix(const CDoublePoint& anchor, const std::string& text) {
  ser_.suffix = text;
  ApplyPart(anchor);
}

int CObjBarCode::AdvanceAfterMark(const CDoublePoint& anchor) {
  if (!CountMark() || ser_.serial.empty()) return 0;
  const std::string next = NextSerial(false);
  if (next == ser_.serial) return 0;
  RenewTail();
  SetSerial(anchor, next);
  AddTextPath();
  return 1;
}

void CObjBarCode::Resize(const CDoubleRect& oldRect, const CDoubleRect& newRect, int handle) {
  Changed();
  code_.textPosition.x += (newRect.left + newRect.right) / 2 - (oldRect.left + oldRect.right) / 2;
  code_.textPosition.y += (newRect.top + newRect.bottom) / 2 - (oldRect.top + oldRect.bottom) / 2;
  CDoubleRect o = oldRect;
  CDoubleRect n = newRect;
  ResizeToRect(o, n, handle);
}

void CObjBarCode::Rotate(double radians) {
  CDoubleRect before;
  if (!GetPathData().GetKind2BoundRect(before)) return;
  Changed();
  const CDoublePoint c = CentreOf(before);
  RotateAbout(GetPathData().second, c, radians);
  const CDoublePoint after = CentreOf(GetPointArrayBoundRect(GetPathData().second));
  // The dots are already where they belong: only the rest follows the centre.
  const double dx = after.x - c.x;
  const double dy = after.y - c.y;
  Offset(dx, dy);
  CPointList& dots = GetPathData().second;
  for (int i = 0; i < dots.GetSize(); ++i) {
    dots[i].x -= dx;
    dots[i].y -= dy;
  }
  RecalcPath();
  AddTextPath();
  code_.angle = static_cast<float>(code_.angle + radians * RAD_TO_DEG);
}

void CObjBarCode::Write(MrkLineWriter& out) const {
  out.WriteClassBegin("CObjBarCode");
  out.WriteDouble(kKeyTextX, code_.textPosition.x, 3);
  out.WriteDouble(kKeyTextY, code_.textPosition.y, 3);
  out.WriteInt(kKeyOptimize, code_.dotOrder);
  out.WriteInt(kKeyInput, code_.inputMode);
  out.WriteInt(kKeyQrVersion, code_.qrVersion);
  out.WriteInt(kKeyLevel, code_.qrLevel);
  out.WriteInt(kKeyMask, code_.qrMask);
  out.WriteInt(kKeyOutText, code_.showText);
  out.WriteInt(kKeyCodeType, code_.codeType);
  out.WriteInt(kKeyDirection, code_.textDirection);
  out.WriteInt(kKeyScheme, code_.dmScheme);
  out.WriteInt(kKeySize, code_.dmSize);
  out.WriteDouble(kKeyModuleSize, code_.moduleSize, 6);
  out.WriteDouble(kKeyAngle, code_.angle, 6);
  CObjTextAutoUpdate::Write(out);
  out.WriteCountedText(kKeyFixedLength, kKeyFixedText, code_.fixedText);
  out.WriteClassEnd();
}

void CObjBarCode::SetProperty(int key, const MrkValue& v) {
  const bool f = std::isfinite(v.f);
  switch (key) {
    case 90: if (f) SetModuleSize(v.f); break;
    case 91: if (f) code_.angle = v.f; break;
    case 98: if (f) code_.textPosition.x = v.f; break;
    case 99: if (f) code_.textPosition.y = v.f; break;
    case 134: code_.dotOrder = v.i; break;
    case 135: code_.inputMode = v.i; break;
    case 136: code_.qrVersion = v.i; break;
    case 137: code_.qrLevel = v.i; break;
    case 138: code_.qrMask = v.i; break;
    case 139: code_.showText = v.i; break;
    case 140: code_.codeType = v.i; break;
    case 141: code_.textDirection = v.i; break;
    case 142: code_.dmScheme = v.i; break;
    case 143: code_.dmSize = v.i; break;
    case 151: break;
    default: CObjTextAutoUpdate::SetProperty(key, v); break;
  }
}

void CObjBarCode::SetStringProperty(int key, const std::string& value) {
  if (key == 239) {
    code_.fixedText = value;
  } else {
    CObjTextAutoUpdate::SetStringProperty(key, value);
  }
}
