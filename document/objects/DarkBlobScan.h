#pragma once
// The dark blobs of a picture, found row by row. A dark pixel joins the most
// recent blob with a pixel in one of its four neighbours already seen (left,
// and the three above), which is the blob CPointArray::HasNearPoint would
// find; blobs are never merged. Pixels are handed out as they are found and
// each blob as soon as it can grow no more, so a scan keeps two rows and the
// blobs still open, whatever the picture holds.
#include <functional>

#include "document/objects/CPointArray.h"
#include "platform/PictureLoader.h"

struct DarkBlob {
  long long number = 0;  // blobs are numbered from 0 in the order they start
  CPixelRect bounds;
};

// Receives each dark pixel with the number of its blob (a number not seen
// before starts that blob).
using DarkPixelSink = std::function<void(long long blob, int x, int row)>;
// Receives each finished blob once, in the order they finish; returning
// false ends the scan.
using DarkBlobSink = std::function<bool(const DarkBlob& blob)>;

// Scans inside the one-pixel border, from row 1 up; either sink may be empty.
void ScanDarkBlobs(const platform::PictureBitmap& bitmap, const DarkPixelSink& onPixel, const DarkBlobSink& onBlob);
