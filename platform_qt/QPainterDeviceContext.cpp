#include "platform_qt/QPainterDeviceContext.h"

#include "platform/PictureLoader.h"
#include "platform_qt/PictureImageCache.h"

#include <QFont>
#include <QFontMetrics>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <vector>

namespace platform_qt {
namespace {

constexpr double kPi = 3.14159265358979323846;

// GDI boxes exclude their right and bottom edges; a stroked Qt rectangle
// covers one pixel more than its size, so the Qt box is one pixel smaller.
QRect BoxRect(int left, int top, int right, int bottom) {
  const int x = std::min(left, right);
  const int y = std::min(top, bottom);
  return QRect(x, y, std::max(0, std::abs(right - left) - 1), std::max(0, std::abs(bottom - top) - 1));
}

// Qt's raster drawing can come back with the upper halves of the wide vector
// registers still in use. The plain SSE2 arithmetic that follows (a layout's
// points brought to the screen) then runs several times slower until they
// are cleared, so every call that draws through the painter clears them on
// its way out.
class VectorUppersCleared {
 public:
  VectorUppersCleared() = default;
  VectorUppersCleared(const VectorUppersCleared&) = delete;
  VectorUppersCleared& operator=(const VectorUppersCleared&) = delete;
  ~VectorUppersCleared() {
#if (defined(__x86_64__) || defined(__i386__)) && defined(__GNUC__)
    static const bool wide = __builtin_cpu_supports("avx");
    if (wide)
      asm volatile("vzeroupper" ::: "xmm0", "xmm1", "xmm2", "xmm3", "xmm4", "xmm5", "xmm6", "xmm7"
#if defined(__x86_64__)
                   , "xmm8", "xmm9", "xmm10", "xmm11", "xmm12", "xmm13", "xmm14", "xmm15"
#endif
      );
#endif
  }
};

bool SameRgb(QRgb a, COLORREF b) {
  return qRed(a) == static_cast<int>(b & 0xFF) && qGreen(a) == static_cast<int>((b >> 8) & 0xFF) &&
         qBlue(a) == static_cast<int>((b >> 16) & 0xFF);
}

}  // namespace

QPainterDeviceContext::QPainterDeviceContext(QPainter& painter, QImage* target) : painter_(painter), target_(target) {
  const VectorUppersCleared cleared;
  if (!target_ && painter_.device() && painter_.device()->devType() == QInternal::Image)
    target_ = static_cast<QImage*>(painter_.device());
  painter_.setRenderHint(QPainter::Antialiasing, false);
  ApplyPen();
  ApplyBrush();
}

QColor QPainterDeviceContext::ToQColor(COLORREF color) {
  return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF), static_cast<int>((color >> 16) & 0xFF));
}

void QPainterDeviceContext::ApplyPen() {
  if (pen_.style == platform::PS_NULL) {
    painter_.setPen(Qt::NoPen);
    return;
  }
  QPen pen(ToQColor(pen_.color));
  pen.setWidth(std::max(1, pen_.width));
  pen.setCosmetic(pen_.width <= 1);
  pen.setCapStyle(pen_.width > 1 ? Qt::RoundCap : Qt::SquareCap);
  pen.setJoinStyle(Qt::RoundJoin);
  switch (pen_.style) {
    case platform::PS_DASH: pen.setStyle(Qt::DashLine); break;
    case platform::PS_DOT: pen.setStyle(Qt::DotLine); break;
    case platform::PS_DASHDOT: pen.setStyle(Qt::DashDotLine); break;
    default: pen.setStyle(Qt::SolidLine); break;
  }
  painter_.setPen(pen);
}

void QPainterDeviceContext::ApplyBrush() {
  if (brush_.hollow) painter_.setBrush(Qt::NoBrush);
  else painter_.setBrush(ToQColor(brush_.color));
}

platform::DcPoint QPainterDeviceContext::MoveTo(int x, int y) {
  const platform::DcPoint previous = pos_;
  pos_ = {x, y};
  return previous;
}

void QPainterDeviceContext::LineTo(int x, int y) {
  const VectorUppersCleared cleared;
  painter_.drawLine(pos_.x, pos_.y, x, y);
  pos_ = {x, y};
}

bool QPainterDeviceContext::CanWritePixels() const {
  if (!target_ || painter_.device() != target_ || pen_.style != platform::PS_SOLID || pen_.width > 1) return false;
  const QImage::Format format = target_->format();
  if (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32 && format != QImage::Format_ARGB32_Premultiplied)
    return false;
  return !painter_.hasClipping() && painter_.worldTransform().isIdentity() && painter_.opacity() >= 1.0 &&
         painter_.compositionMode() == QPainter::CompositionMode_SourceOver;
}

void QPainterDeviceContext::Polyline(const platform::DcPoint* points, int count) {
  const VectorUppersCleared cleared;
  if (count <= 0) return;
  pos_ = points[count - 1];
  if (count < 2) return;
  if (!CanWritePixels()) {
    polyline_.resize(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) polyline_[static_cast<std::size_t>(i)] = QPoint(points[i].x, points[i].y);
    painter_.drawPolyline(polyline_.data(), count);
    return;
  }
  // Thin solid lines straight into the image (both ends drawn, as the
  // painter's cosmetic pen does): a layout's many short segments cost the
  // painter far more than their pixels. Segments that leave the image go to
  // the painter, which clips them.
  const QRgb colour = 0xFF000000u | (pen_.color & 0xFFu) << 16 | (pen_.color & 0xFF00u) | (pen_.color >> 16 & 0xFFu);
  uchar* bits = target_->bits();
  const qsizetype stride = target_->bytesPerLine();
  const int w = target_->width();
  const int h = target_->height();
  auto inside = [&](const platform::DcPoint& p) { return p.x >= 0 && p.y >= 0 && p.x < w && p.y < h; };
  for (int i = 1; i < count; ++i) {
    const platform::DcPoint a = points[i - 1];
    const platform::DcPoint b = points[i];
    // A row or a column of pixels (grid lines, axes, straight edges): its
    // part inside the image, end pixels included, leaving the image or not.
    if (a.y == b.y) {
      if (a.y < 0 || a.y >= h) continue;
      const int from = std::max(std::min(a.x, b.x), 0), to = std::min(std::max(a.x, b.x), w - 1);
      if (from <= to) std::fill_n(reinterpret_cast<QRgb*>(bits + a.y * stride) + from, to - from + 1, colour);
      continue;
    }
    if (a.x == b.x) {
      if (a.x < 0 || a.x >= w) continue;
      const int from = std::max(std::min(a.y, b.y), 0), to = std::min(std::max(a.y, b.y), h - 1);
      for (int y = from; y <= to; ++y) reinterpret_cast<QRgb*>(bits + y * stride)[a.x] = colour;
      continue;
    }
    if (!inside(a) || !inside(b)) {
      painter_.drawLine(a.x, a.y, b.x, b.y);
      continue;
    }
    int x = a.x;
    int y = a.y;
    const int dx = std::abs(b.x - a.x);
    const int dy = -std::abs(b.y - a.y);
    const int sx = a.x < b.x ? 1 : -1;
    const int sy = a.y < b.y ? 1 : -1;
    int err = dx + dy;
    for (;;) {
      reinterpret_cast<QRgb*>(bits + y * stride)[x] = colour;
      if (x == b.x && y == b.y) break;
      const int e2 = 2 * err;
      if (e2 >= dy) {
        err += dy;
        x += sx;
      }
      if (e2 <= dx) {
        err += dx;
        y += sy;
      }
    }
  }
}

platform::DcPoint QPainterDeviceContext::GetCurrentPosition() const { return pos_; }

platform::DcPen QPainterDeviceContext::SelectPen(const platform::DcPen& pen) {
  const VectorUppersCleared cleared;
  const platform::DcPen previous = pen_;
  pen_ = pen;
  ApplyPen();
  return previous;
}

platform::DcBrush QPainterDeviceContext::SelectBrush(const platform::DcBrush& brush) {
  const VectorUppersCleared cleared;
  const platform::DcBrush previous = brush_;
  brush_ = brush;
  ApplyBrush();
  return previous;
}

platform::DcPen QPainterDeviceContext::CurrentPen() const { return pen_; }
platform::DcBrush QPainterDeviceContext::CurrentBrush() const { return brush_; }

void QPainterDeviceContext::SetPixel(int x, int y, COLORREF color) {
  const VectorUppersCleared cleared;
  painter_.fillRect(QRect(x, y, 1, 1), ToQColor(color));
}

void QPainterDeviceContext::Ellipse(int left, int top, int right, int bottom) {
  const VectorUppersCleared cleared;
  const QRect box = BoxRect(left, top, right, bottom);
  painter_.drawEllipse(box);
  lastEllipse_ = box;
}

void QPainterDeviceContext::Arc(int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd) {
  const VectorUppersCleared cleared;
  const double cx = (left + right) / 2.0;
  const double cy = (top + bottom) / 2.0;
  const double rx = std::abs(right - left) / 2.0;
  const double ry = std::abs(bottom - top) / 2.0;
  if (rx <= 0 || ry <= 0) return;
  // Angles of the radial lines through the two points, y up, mapped to the
  // ellipse's own parameter; the arc runs counter-clockwise on the screen.
  const auto parameter = [&](int x, int y) { return std::atan2((cy - y) * rx, (x - cx) * ry); };
  const double t0 = parameter(xStart, yStart);
  double t1 = parameter(xEnd, yEnd);
  while (t1 <= t0) t1 += 2 * kPi;  // equal points give the whole ellipse
  const int steps = std::clamp(static_cast<int>((t1 - t0) * std::max(rx, ry) / 2.0), 8, 720);
  QPolygonF points;
  points.reserve(steps + 1);
  for (int i = 0; i <= steps; ++i) {
    const double t = t0 + (t1 - t0) * i / steps;
    points.append(QPointF(cx + rx * std::cos(t), cy - ry * std::sin(t)));
  }
  painter_.drawPolyline(points);
  lastEllipse_ = BoxRect(left, top, right, bottom);
}

void QPainterDeviceContext::FloodFill(int x, int y, COLORREF border) {
  const VectorUppersCleared cleared;
  if (brush_.hollow) return;
  if (target_ && !target_->isNull()) {
    FloodFillImage(x, y, border);
    return;
  }
  if (lastEllipse_ && lastEllipse_->contains(x, y)) {
    painter_.save();
    painter_.setPen(Qt::NoPen);
    painter_.drawEllipse(*lastEllipse_);
    painter_.restore();
  }
}

void QPainterDeviceContext::FloodFillImage(int x, int y, COLORREF border) {
  const QImage& image = *target_;
  const QPoint seed = painter_.transform().map(QPoint(x, y));
  const int w = image.width();
  const int h = image.height();
  if (seed.x() < 0 || seed.y() < 0 || seed.x() >= w || seed.y() >= h) return;
  if (SameRgb(image.pixel(seed), border)) return;

  // Scan-line fill; spans are painted after. The visited map is kept for the
  // life of the context and only the filled spans are cleared again, so a
  // view full of dots does not allocate a screen-sized map per dot.
  std::vector<unsigned char>& seen = floodSeen_;
  if (seen.size() != static_cast<std::size_t>(w) * h) seen.assign(static_cast<std::size_t>(w) * h, 0);
  // 32-bit images are read straight from their lines; others pixel by pixel.
  const bool direct = image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32 ||
                      image.format() == QImage::Format_ARGB32_Premultiplied;
  const QRgb borderRgb = qRgb(static_cast<int>(border & 0xFF), static_cast<int>((border >> 8) & 0xFF),
                              static_cast<int>((border >> 16) & 0xFF)) & 0xFFFFFF;
  const auto isBorder = [&](int px, int py) {
    if (direct) return (reinterpret_cast<const QRgb*>(image.constScanLine(py))[px] & 0xFFFFFF) == borderRgb;
    return SameRgb(image.pixel(px, py), border);
  };
  const auto open = [&](int px, int py) { return !seen[static_cast<std::size_t>(py) * w + px] && !isBorder(px, py); };
  std::vector<QRect> spans;
  std::vector<QPoint> stack{seed};
  while (!stack.empty()) {
    const QPoint p = stack.back();
    stack.pop_back();
    if (!open(p.x(), p.y())) continue;
    int x0 = p.x();
    int x1 = p.x();
    while (x0 > 0 && open(x0 - 1, p.y())) --x0;
    while (x1 + 1 < w && open(x1 + 1, p.y())) ++x1;
    std::fill(seen.begin() + static_cast<std::ptrdiff_t>(p.y()) * w + x0,
              seen.begin() + static_cast<std::ptrdiff_t>(p.y()) * w + x1 + 1, 1);
    spans.emplace_back(x0, p.y(), x1 - x0 + 1, 1);
    for (int ny : {p.y() - 1, p.y() + 1}) {
      if (ny < 0 || ny >= h) continue;
      bool inRun = false;
      for (int nx = x0; nx <= x1; ++nx) {
        const bool o = open(nx, ny);
        if (o && !inRun) stack.emplace_back(nx, ny);
        inRun = o;
      }
    }
  }
  painter_.save();
  painter_.resetTransform();
  const QColor fill = ToQColor(brush_.color);
  for (const QRect& span : spans) {
    painter_.fillRect(span, fill);
    const auto row = seen.begin() + static_cast<std::ptrdiff_t>(span.y()) * w;
    std::fill(row + span.left(), row + span.right() + 1, 0);
  }
  painter_.restore();
}

void QPainterDeviceContext::Rectangle(int left, int top, int right, int bottom) {
  const VectorUppersCleared cleared;
  painter_.drawRect(BoxRect(left, top, right, bottom));
}

void QPainterDeviceContext::FillSolidRect(int left, int top, int width, int height, COLORREF color) {
  const VectorUppersCleared cleared;
  painter_.fillRect(QRect(left, top, width, height), ToQColor(color));
}

QFont QPainterDeviceContext::ToQFont(const platform::DcFont& font, QFont base) {
  if (!font.face.empty()) base.setFamily(QString::fromStdString(font.face));
  if (font.pointTenths > 0) base.setPointSizeF(font.pointTenths / 10.0);
  base.setWeight(static_cast<QFont::Weight>(std::clamp(font.weight, 100, 900)));
  return base;
}

QFont QPainterDeviceContext::SelectedFont() const { return ToQFont(font_, painter_.font()); }

void QPainterDeviceContext::TextOut(int x, int y, const std::string& utf8) {
  const VectorUppersCleared cleared;
  painter_.save();
  painter_.setFont(SelectedFont());
  painter_.setPen(ToQColor(textColor_));
  const int ascent = painter_.fontMetrics().ascent();
  painter_.drawText(QPoint(x, textAlign_ == platform::TA_BASELINE ? y : y + ascent), QString::fromStdString(utf8));
  painter_.restore();
}

platform::DcSize QPainterDeviceContext::GetTextExtent(const std::string& utf8) const {
  const VectorUppersCleared cleared;
  const QFontMetrics metrics(SelectedFont(), painter_.device());
  return {metrics.horizontalAdvance(QString::fromStdString(utf8)), metrics.height()};
}

bool QPainterDeviceContext::DrawBitmap(int left, int top, int width, int height,
                                       const platform::PictureBitmap& bitmap) {
  const VectorUppersCleared cleared;
  const std::shared_ptr<const QImage> image = PictureImageCache::ImageOf(bitmap);
  if (!image) return false;
  painter_.drawImage(QRect(left, top, width, height), *image);
  return true;
}

}  // namespace platform_qt
