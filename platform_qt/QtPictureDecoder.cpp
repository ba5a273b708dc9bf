#include "platform_qt/QtPictureDecoder.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <QPainter>
#include <cstring>
#include <limits>

namespace platform_qt {
namespace {

// Larger pictures are refused rather than decoded into gigabytes.
constexpr qint64 kMaxPixels = 64LL * 1024 * 1024;

// Grey level of a colour on white paper, weighted as brightness is: a
// transparent palette entry reads as paper, not as ink.
int GreyOf(QRgb c) {
  const int grey = (qRed(c) * 9798 + qGreen(c) * 19235 + qBlue(c) * 3735) >> 15;
  const int alpha = qAlpha(c);
  return (grey * alpha + 255 * (255 - alpha)) / 255;
}

// A palette of grey levels 0..maxIndex, darkest first.
std::vector<std::uint32_t> GreyRamp(int maxIndex) {
  std::vector<std::uint32_t> palette;
  for (int i = 0; i <= maxIndex; ++i) {
    const std::uint32_t g = static_cast<std::uint32_t>(i * 255 / maxIndex);
    palette.push_back(0xFF000000u | (g << 16) | (g << 8) | g);
  }
  return palette;
}

}  // namespace

platform::PictureBitmap BitmapFromImage(const QImage& source) {
  using platform::PictureBitmap;
  if (source.isNull()) return {};
  const int w = source.width();
  const int h = source.height();
  PictureBitmap out;
  // Palette pictures are handed on with grey levels for indices (darkest
  // first), so the darkness of a pixel can be told from its index whatever
  // order the file's palette had.
  if (source.format() == QImage::Format_Mono || source.format() == QImage::Format_MonoLSB) {
    const QImage mono = source.convertToFormat(QImage::Format_Mono);
    const QList<QRgb> table = mono.colorTable();
    const int grey0 = table.size() > 0 ? GreyOf(table[0]) : 0;
    const int grey1 = table.size() > 1 ? GreyOf(table[1]) : 255;
    const bool invert = grey0 > grey1;
    out = PictureBitmap::Make(w, h, 1);
    out.palette = GreyRamp(1);
    const int rowBytes = (w + 7) / 8;
    for (int y = 0; y < h; ++y) {
      const uchar* in = mono.constScanLine(y);
      std::uint8_t* row = out.bits.data() + static_cast<std::size_t>(h - 1 - y) * out.bytesPerRow;
      for (int i = 0; i < rowBytes; ++i) row[i] = invert ? static_cast<std::uint8_t>(~in[i]) : in[i];
    }
    return out;
  }
  if (source.format() == QImage::Format_Indexed8) {
    const QList<QRgb> table = source.colorTable();
    const bool four = table.size() <= 16;
    const int maxIndex = four ? 15 : 255;
    std::uint8_t level[256] = {};
    for (int i = 0; i < table.size() && i < 256; ++i) {
      level[i] = static_cast<std::uint8_t>((GreyOf(table[i]) * maxIndex + 127) / 255);
    }
    out = PictureBitmap::Make(w, h, four ? 4 : 8);
    out.palette = GreyRamp(maxIndex);
    for (int y = 0; y < h; ++y) {
      const uchar* in = source.constScanLine(y);
      std::uint8_t* row = out.bits.data() + static_cast<std::size_t>(h - 1 - y) * out.bytesPerRow;
      for (int x = 0; x < w; ++x) {
        const std::uint8_t v = level[in[x]];
        if (four) {
          row[x / 2] = static_cast<std::uint8_t>(x % 2 == 0 ? (row[x / 2] & 0x0F) | (v << 4) : (row[x / 2] & 0xF0) | v);
        } else {
          row[x] = v;
        }
      }
    }
    return out;
  }
  // Transparent parts read as white paper, not as black.
  QImage rgb(source.size(), QImage::Format_RGB888);
  rgb.fill(Qt::white);
  {
    QPainter painter(&rgb);
    painter.drawImage(0, 0, source);
  }
  out = PictureBitmap::Make(w, h, 24);
  for (int y = 0; y < h; ++y) {
    std::memcpy(out.bits.data() + static_cast<std::size_t>(h - 1 - y) * out.bytesPerRow, rgb.constScanLine(y),
                static_cast<std::size_t>(w) * 3);
  }
  return out;
}

QImage ImageFromBitmap(const platform::PictureBitmap& bitmap) {
  if (bitmap.IsEmpty()) return {};
  QImage image(bitmap.width, bitmap.height, QImage::Format_RGB32);
  for (int y = 0; y < bitmap.height; ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    const int row = bitmap.height - 1 - y;
    for (int x = 0; x < bitmap.width; ++x) line[x] = bitmap.PixelColor(x, row);
  }
  return image;
}

bool QtPictureDecoder::Decode(std::string_view bytes, platform::PictureBitmap& out) {
  if (bytes.empty() || bytes.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) return false;
  QByteArray data = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
  QBuffer buffer(&data);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer);
  reader.setDecideFormatFromContent(true);
  const QSize size = reader.size();
  if (size.isValid() && static_cast<qint64>(size.width()) * size.height() > kMaxPixels) return false;
  QImage image;
  if (!reader.read(&image) || image.isNull()) {
    // TGA files begin with no signature, so their reader is never chosen by
    // content: ask it by name before giving up.
    buffer.seek(0);
    QImageReader tga(&buffer, "tga");
    const QSize tgaSize = tga.size();
    if (tgaSize.isValid() && static_cast<qint64>(tgaSize.width()) * tgaSize.height() > kMaxPixels) return false;
    if (!tga.read(&image) || image.isNull()) return false;
  }
  if (static_cast<qint64>(image.width()) * image.height() > kMaxPixels) return false;
  out = BitmapFromImage(image);
  return !out.IsEmpty();
}

void InstallQtPictureDecoder() { platform::SetPictureDecoder(std::make_shared<QtPictureDecoder>()); }

}  // namespace platform_qt
