#include "platform_qt/QtPictureDecoder.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <QPainter>
#include <cstring>
#include <limits>
#include <string_view>
#include <utility>

namespace platform_qt {
namespace {

// Larger pictures are refused rather than decoded into gigabytes.
constexpr qint64 kMaxPixels = 64LL * 1024 * 1024;

// A palette entry as it shows on white paper: a transparent entry is paper.
std::uint32_t OnPaper(QRgb c) {
  const int alpha = qAlpha(c);
  auto blend = [alpha](int v) { return static_cast<std::uint32_t>((v * alpha + 255 * (255 - alpha)) / 255); };
  return 0xFF000000u | (blend(qRed(c)) << 16) | (blend(qGreen(c)) << 8) | blend(qBlue(c));
}

std::vector<std::uint32_t> PaletteOnPaper(const QList<QRgb>& table) {
  std::vector<std::uint32_t> palette;
  for (QRgb c : table) palette.push_back(OnPaper(c));
  return palette;
}

std::uint32_t Le32(std::string_view b, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<std::uint8_t>(b[at + static_cast<std::size_t>(i)]);
  return v;
}

// Qt hands a 1-bit BMP over with its two colours sorted, whatever their
// order in the file; the darkness rule reads the file's own index, so that
// order is put back.
void RestoreMonoBmpOrder(std::string_view bytes, platform::PictureBitmap& bitmap) {
  if (bitmap.bitsPerPixel != 1 || bitmap.palette.size() != 2 || bytes.size() < 18 || bytes.substr(0, 2) != "BM") return;
  const std::size_t headerSize = Le32(bytes, 14);
  const std::size_t entrySize = headerSize == 12 ? 3 : 4;  // the old OS/2 header has three-byte entries
  const std::size_t at = 14 + headerSize;
  if (headerSize < 12 || headerSize > bytes.size() || at + 2 * entrySize > bytes.size()) return;
  std::uint32_t file[2];
  for (std::size_t i = 0; i < 2; ++i) {
    const auto c = [&](std::size_t k) { return static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[at + i * entrySize + k])); };
    file[i] = 0xFF000000u | c(2) << 16 | c(1) << 8 | c(0);
  }
  if (file[0] == file[1] || bitmap.palette[0] != file[1] || bitmap.palette[1] != file[0]) return;
  for (std::uint8_t& byte : bitmap.bits) byte = static_cast<std::uint8_t>(~byte);
  std::swap(bitmap.palette[0], bitmap.palette[1]);
}

// Whether a colour is dark by the rule the conversion applies to true-colour pixels.
bool IsDarkColour(std::uint32_t c) {
  return platform::IsDarkRgb(static_cast<int>((c >> 16) & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                             static_cast<int>(c & 0xFF));
}

// BMP files keep the index rule they were always read by (bit 0 dark). In
// other formats a two-colour picture's index says nothing (Qt hands a 1-bit
// greyscale PNG over with black as index 1), so its pixels are dark by their
// colour, as the same picture's pixels are in true colour: the dark colour
// goes to index 0; two colours alike go to 4-bit indices on the same side of
// that depth's rule.
void ArrangeTwoColoursByDarkness(platform::PictureBitmap& bitmap) {
  if (bitmap.bitsPerPixel != 1 || bitmap.palette.empty() || bitmap.palette.size() > 2) return;
  // A picture of one colour: its other index is unused, and takes the other
  // side of the rule, so that the one colour is dark only if it is.
  if (bitmap.palette.size() == 1)
    bitmap.palette.push_back(IsDarkColour(bitmap.palette[0]) ? 0xFFFFFFFFu : 0xFF000000u);
  const bool dark0 = IsDarkColour(bitmap.palette[0]);
  const bool dark1 = IsDarkColour(bitmap.palette[1]);
  if (dark0 && !dark1) return;
  if (!dark0 && dark1) {
    for (std::uint8_t& byte : bitmap.bits) byte = static_cast<std::uint8_t>(~byte);
    std::swap(bitmap.palette[0], bitmap.palette[1]);
    return;
  }
  const int base = dark0 ? 0 : static_cast<int>(platform::FirstLightIndex(4));
  platform::PictureBitmap four = platform::PictureBitmap::Make(bitmap.width, bitmap.height, 4);
  four.palette.assign(16, 0xFF000000u);
  four.palette[static_cast<std::size_t>(base)] = bitmap.palette[0];
  four.palette[static_cast<std::size_t>(base) + 1] = bitmap.palette[1];
  for (int row = 0; row < bitmap.height; ++row) {
    const std::uint8_t* in = bitmap.bits.data() + static_cast<std::size_t>(row) * bitmap.bytesPerRow;
    std::uint8_t* out = four.bits.data() + static_cast<std::size_t>(row) * four.bytesPerRow;
    for (int x = 0; x < bitmap.width; ++x) {
      const int index = base + ((in[x / 8] >> (7 - x % 8)) & 1);
      out[x / 2] = static_cast<std::uint8_t>(out[x / 2] | (x % 2 == 0 ? index << 4 : index));
    }
  }
  bitmap = std::move(four);
}

}  // namespace

platform::PictureBitmap BitmapFromImage(const QImage& source) {
  using platform::PictureBitmap;
  if (source.isNull()) return {};
  const int w = source.width();
  const int h = source.height();
  PictureBitmap out;
  // Palette pictures keep their indices as the file has them (whether a
  // pixel is dark is told from its index; two-colour pictures other than BMP
  // are arranged by their colours after).
  if (source.format() == QImage::Format_Mono || source.format() == QImage::Format_MonoLSB) {
    const QImage mono = source.convertToFormat(QImage::Format_Mono);
    out = PictureBitmap::Make(w, h, 1);
    out.palette = PaletteOnPaper(mono.colorTable());
    const int rowBytes = (w + 7) / 8;
    for (int y = 0; y < h; ++y) {
      std::memcpy(out.bits.data() + static_cast<std::size_t>(h - 1 - y) * out.bytesPerRow, mono.constScanLine(y),
                  static_cast<std::size_t>(rowBytes));
    }
    return out;
  }
  if (source.format() == QImage::Format_Indexed8) {
    const QList<QRgb> table = source.colorTable();
    out = PictureBitmap::Make(w, h, PictureBitmap::PaletteDepth(static_cast<std::size_t>(table.size())));
    out.palette = PaletteOnPaper(table);
    for (int y = 0; y < h; ++y) {
      const uchar* in = source.constScanLine(y);
      for (int x = 0; x < w; ++x) out.SetIndex(x, h - 1 - y, in[x]);
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
  if (bytes.substr(0, 2) == "BM") {
    RestoreMonoBmpOrder(bytes, out);
  } else {
    ArrangeTwoColoursByDarkness(out);
  }
  return !out.IsEmpty();
}

std::vector<std::string> QtPictureDecoder::FileSuffixes() const {
  std::vector<std::string> suffixes;
  for (const QByteArray& format : QImageReader::supportedImageFormats()) suffixes.push_back(format.toLower().toStdString());
  return suffixes;
}

void InstallQtPictureDecoder() { platform::SetPictureDecoder(std::make_shared<QtPictureDecoder>()); }

}  // namespace platform_qt
