#include "platform_qt/PictureImageCache.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <vector>

#include "platform_qt/QtPictureDecoder.h"

namespace platform_qt {
namespace {

std::atomic<std::size_t> g_bytesHeld{0};

// What the image was made from: a picture whose buffer, size, depth or
// palette differ since (a field assigned in place) converts again.
struct Source {
  const std::uint8_t* bits = nullptr;
  std::size_t size = 0;
  int width = 0;
  int height = 0;
  int bitsPerPixel = 0;
  int bytesPerRow = 0;
  std::vector<std::uint32_t> palette;

  explicit Source(const platform::PictureBitmap& b)
      : bits(b.bits.data()),
        size(b.bits.size()),
        width(b.width),
        height(b.height),
        bitsPerPixel(b.bitsPerPixel),
        bytesPerRow(b.bytesPerRow),
        palette(b.palette) {}
  bool Matches(const platform::PictureBitmap& b) const {
    return bits == b.bits.data() && size == b.bits.size() && width == b.width && height == b.height &&
           bitsPerPixel == b.bitsPerPixel && bytesPerRow == b.bytesPerRow && palette == b.palette;
  }
};

class Entry {
 public:
  Entry(const platform::PictureBitmap& bitmap, QImage image)
      : source_(bitmap), image_(std::move(image)), bytes_(static_cast<std::size_t>(image_.sizeInBytes())) {
    g_bytesHeld += bytes_;
  }
  Entry(const Entry&) = delete;
  Entry& operator=(const Entry&) = delete;
  ~Entry() { g_bytesHeld -= bytes_; }

  const Source& From() const { return source_; }
  const QImage& Image() const { return image_; }

 private:
  Source source_;
  QImage image_;
  std::size_t bytes_;
};

// Tells the cache's entries of this backend from any other's.
const char kEntryKind = 0;

}  // namespace

std::shared_ptr<const QImage> PictureImageCache::ImageOf(const platform::PictureBitmap& bitmap) {
  if (auto held = std::static_pointer_cast<const Entry>(bitmap.drawCache.Get(&kEntryKind))) {
    if (held->From().Matches(bitmap)) return {held, &held->Image()};
  }
  QImage image = ImageFromBitmap(bitmap);
  if (image.isNull()) {
    bitmap.drawCache.Clear();
    return nullptr;
  }
  // The stale entry goes before the budget is weighed.
  bitmap.drawCache.Clear();
  if (static_cast<std::size_t>(image.sizeInBytes()) > kBudgetBytes - std::min(kBudgetBytes, BytesHeld())) {
    return std::make_shared<const QImage>(std::move(image));
  }
  auto entry = std::make_shared<const Entry>(bitmap, std::move(image));
  bitmap.drawCache.Store(&kEntryKind, entry);
  return {entry, &entry->Image()};
}

std::size_t PictureImageCache::BytesHeld() { return g_bytesHeld.load(); }

}  // namespace platform_qt
