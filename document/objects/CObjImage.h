#pragma once
// Type 21: a bitmap picture placed on the layout as a template: drawn, moved
// and stretched, never marked itself. Its file's bytes stay whole in memory
// and travel inside the project file; converting it makes one dot of every
// dark blob of pixels, for a dot collection.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "document/geometry/CDoublePoint.h"
#include "document/geometry/CDoubleRect.h"
#include "document/geometry/CPointList.h"
#include "document/objects/CObjBase.h"
#include "document/objects/CPointArray.h"
#include "document/objects/CPictureLoader.h"
#include "document/path/HatchFill.h"
#include "platform/DeviceContext.h"

class MrkLineWriter;
struct MrkValue;
struct CObjTypeOps;

// Millimetres per inch as the picture's sizes have always used it (single precision).
constexpr double kImageMmPerInch = static_cast<double>(25.4f);

// Conversions that would make more dots than this make none. It is the
// stroke count of the largest fill (kMaxHatchStrokes: a ring across the
// largest machine area at the finest fill spacing), a needle strike each; a
// picture inked all over makes this many dots on 450 x 450 mm at a 1 mm dot
// spacing. A dithered picture of 8000 x 8000 pixels once made 7 million dots
// and took gigabytes.
constexpr int kMaxPictureDots = kMaxHatchStrokes;

// The values of the image property page (dialog 195 "Image").
struct ImagePageValues {
  double x = 0;         // 1165 position x
  double y = 0;         // 1166 position y
  double widthMM = 0;   // 1167
  double heightMM = 0;  // 1168
  float dotWidth = 0;   // 1169
  float dotHeight = 0;  // 1170
};

class CObjImage : public CObjBase {
 public:
  CObjImage() = default;
  // Loads the file; a picture that decodes is centred on the origin.
  explicit CObjImage(const std::string& path);
  ~CObjImage() override = default;

  CDoubleRect GetPictureRect() const;
  // The picture rectangle itself, as every object's bounds are its own
  // extent: the selection frame and the hit test add their 2 mm to it.
  CDoubleRect GetBoundRect() const;
  // Size in mm. A dot size still below 1 mm takes the picture's size here.
  double GetWidthMM();
  double GetHeightMM();
  // New size in mm through the resolution. Sizes that are not positive, or a
  // picture without size, change nothing.
  void SetWidthMM(double w);
  void SetHeightMM(double h);
  void Draw(platform::DeviceContext& dc, int originX, int originY, double zoom) const;
  void Offset(const CDoublePoint& v) { OffsetBy(v.x, v.y); }
  void OffsetBy(double dx, double dy);
  void Resize(CDoubleRect& oldRect, CDoubleRect& newRect, int handle);
  bool LoadFromPath(const std::string& path);
  bool SavePictureToFile(const std::string& path) const;
  // Project reader: the embedded file of the announced size, from the start
  // of bytes (fewer when the file ends first), decoded unless told not to.
  // Returns the bytes taken.
  std::size_t LoadEmbedded(std::string_view bytes, bool decode = true);
  // Bytes the decoded pixels take, and letting them go (the file bytes stay,
  // and are saved as read).
  std::size_t DecodedBytes() const { return loader_ ? loader_->DecodedBytes() : 0; }
  void ForgetDecoded();
  // Takes the picture bytes of another image (when they cannot go through a file).
  bool LoadFromBytes(std::string_view bytes);
  void SetField(int key, const MrkValue& value);
  void Write(MrkLineWriter& out, const std::string& projectPath) const;
  // Appends one dot per dark blob, the pattern scaled to the dot size about
  // its centre, on the grid of the dot spacing, nearest-first. False, with
  // nothing appended, when that would be more than kMaxPictureDots dots; the
  // blobs are counted without being kept, so deciding takes little memory.
  bool ConvertToDots(CPointList& list);

  // The dark blobs inside the one-pixel border, in the order they start. A
  // pixel joins the most recent blob that has a near point
  // (CPointArray::HasNearPoint); blobs are never merged.
  static CPointArrayList FindDarkBlobs(const platform::PictureBitmap& bitmap);
  // What the image page shows (position, size through the resolution, dot
  // size).
  ImagePageValues GetPageValues();

  // Whether pixel x of a row is dark; depths other than 1, 4, 8, 24 never are.
  static bool IsDarkPixel(const std::uint8_t* bits, int x, int row, int bitsPerPixel, int bytesPerRow);

  const CPictureLoader* GetLoader() const { return loader_.get(); }
  int IsLoaded() const { return loaded_; }
  int GetFileSize() const { return fileSize_; }
  const CDoublePoint& GetPosition() const { return position_; }
  void SetPosition(const CDoublePoint& p) { position_ = p; }
  double GetResolutionX() const { return resolutionX_; }
  double GetResolutionY() const { return resolutionY_; }
  float GetDotWidth() const { return dotWidth_; }
  float GetDotHeight() const { return dotHeight_; }
  void SetDotWidth(float w) { dotWidth_ = w; }
  void SetDotHeight(float h) { dotHeight_ = h; }
  // Position, resolutions and dot sizes of another image.
  void CopyPlacement(const CObjImage& other);

 private:
  int PixelWidth() const { return loader_ ? loader_->GetWidthPx() : 0; }
  int PixelHeight() const { return loader_ ? loader_->GetHeightPx() : 0; }
  double WidthMM() const { return kImageMmPerInch / resolutionX_ * PixelWidth(); }
  double HeightMM() const { return kImageMmPerInch / resolutionY_ * PixelHeight(); }

  std::unique_ptr<CPictureLoader> loader_;
  CDoublePoint position_;  // top-left corner, y up
  double resolutionX_ = 300.0;  // dots per inch
  double resolutionY_ = 300.0;
  float dotWidth_ = 0;
  float dotHeight_ = 0;
  int loaded_ = 0;
  int fileSize_ = 0;
};

// Dispatch table of the picture (type 21); registered at start-up.
const CObjTypeOps& ImageTypeOps();
