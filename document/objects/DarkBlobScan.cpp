#include "document/objects/DarkBlobScan.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "document/objects/CObjImage.h"

namespace {

struct OpenBlob {
  DarkBlob blob;
  int lastRow = 0;
  bool open = false;
};

// Open blobs in reusable slots, so the scan needs room only for the blobs
// that can still grow.
class OpenBlobs {
 public:
  int Start(long long number, int x, int row) {
    int slot;
    if (free_.empty()) {
      slot = static_cast<int>(slots_.size());
      slots_.emplace_back();
    } else {
      slot = free_.back();
      free_.pop_back();
    }
    slots_[static_cast<std::size_t>(slot)] = OpenBlob{DarkBlob{number, CPixelRect{x, row, x, row}}, row, true};
    return slot;
  }
  OpenBlob& operator[](int slot) { return slots_[static_cast<std::size_t>(slot)]; }
  // Hands the blob out once; false when the sink asks to stop.
  bool Finish(int slot, const DarkBlobSink& onBlob) {
    OpenBlob& b = slots_[static_cast<std::size_t>(slot)];
    if (!b.open) return true;
    b.open = false;
    free_.push_back(slot);
    return !onBlob || onBlob(b.blob);
  }

 private:
  std::vector<OpenBlob> slots_;
  std::vector<int> free_;
};

}  // namespace

void ScanDarkBlobs(const platform::PictureBitmap& bitmap, const DarkPixelSink& onPixel, const DarkBlobSink& onBlob) {
  const int W = bitmap.width;
  const int H = bitmap.height;
  if (W < 3 || H < 3) return;
  OpenBlobs blobs;
  long long next = 0;
  // The slot of the blob each pixel of the row above and of this row joined.
  std::vector<int> above(static_cast<std::size_t>(W), -1);
  std::vector<int> current(static_cast<std::size_t>(W), -1);
  for (int r = 1; r <= H - 2; ++r) {
    std::fill(current.begin(), current.end(), -1);
    for (int c = 1; c <= W - 2; ++c) {
      if (!CObjImage::IsDarkPixel(bitmap.bits.data(), c, r, bitmap.bitsPerPixel, bitmap.bytesPerRow)) continue;
      // The most recent of the near blobs is the one numbered highest.
      int nearSlot = -1;
      for (int slot : {current[c - 1], above[c - 1], above[c], above[c + 1]}) {
        if (slot >= 0 && (nearSlot < 0 || blobs[slot].blob.number > blobs[nearSlot].blob.number)) nearSlot = slot;
      }
      if (nearSlot < 0) {
        nearSlot = blobs.Start(next++, c, r);
      } else {
        OpenBlob& b = blobs[nearSlot];
        b.blob.bounds.left = std::min(b.blob.bounds.left, c);
        b.blob.bounds.right = std::max(b.blob.bounds.right, c);
        b.blob.bounds.top = r;
        b.lastRow = r;
      }
      current[static_cast<std::size_t>(c)] = nearSlot;
      if (onPixel) onPixel(blobs[nearSlot].blob.number, c, r);
    }
    // A blob that gained no pixel on this row can gain none later.
    for (int slot : above) {
      if (slot >= 0 && blobs[slot].open && blobs[slot].lastRow < r && !blobs.Finish(slot, onBlob)) return;
    }
    std::swap(above, current);
  }
  for (int slot : above) {
    if (slot >= 0 && !blobs.Finish(slot, onBlob)) return;
  }
}
