#include "document/objects/CObjImage.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <utility>
#include <vector>

#include "values/ShellValues.h"
#include "document/geometry/SharedHelpers.h"
#include "document/mrk/MrkKeys.h"
#include "platform/PictureLoader.h"
#include "document/mrk/MrkLineWriter.h"
#include "document/objects/DarkBlobScan.h"
#include "document/objects/HandleResize.h"
#include "document/path/PointOrdering.h"

namespace {

constexpr char kKeyX[] = "10;\xc4\xa3\xb0\xe5\xb5\xc4\xd7\xf3\xc9\xcf\xbd\xc7X";  // 模板的左上角X
constexpr char kKeyY[] = "20;\xc4\xa3\xb0\xe5\xb5\xc4\xd7\xf3\xc9\xcf\xbd\xc7Y";  // 模板的左上角Y
constexpr char kKeyResX[] = "50;\xc4\xa3\xb0\xe5SX";                              // 模板SX
constexpr char kKeyResY[] = "51;\xc4\xa3\xb0\xe5SY";                              // 模板SY
constexpr char kKeySize[] = "160;\xce\xc4\xbc\xfe\xb4\xf3\xd0\xa1";              // 文件大小
constexpr char kKeyData[] = "320;\xc4\xa3\xb0\xe5\xce\xc4\xbc\xfe\xca\xfd\xbe\xdd";  // 模板文件数据

bool IsUsableResolution(double r) { return r > 0 && std::isfinite(r); }

}  // namespace

CObjImage::CObjImage(const std::string& path) {
  loader_ = std::make_unique<CPictureLoader>();
  loaded_ = loader_->LoadFile(path) ? 1 : 0;
  fileSize_ = static_cast<int>(loader_->GetBytes().size());
  if (loaded_) {
    position_.x = -0.5 * PixelWidth() * kImageMmPerInch / resolutionX_;
    position_.y = 0.5 * PixelHeight() * kImageMmPerInch / resolutionY_;
  }
}

CDoubleRect CObjImage::GetPictureRect() const {
  CDoubleRect r;
  r.left = position_.x;
  r.top = position_.y;
  r.right = position_.x + WidthMM();
  r.bottom = position_.y - HeightMM();
  return r;
}

CDoubleRect CObjImage::GetBoundRect() const { return GetPictureRect(); }

double CObjImage::GetWidthMM() {
  const double w = WidthMM();
  if (dotWidth_ < 1) dotWidth_ = static_cast<float>(w);
  return w;
}

double CObjImage::GetHeightMM() {
  const double h = HeightMM();
  if (dotHeight_ < 1) dotHeight_ = static_cast<float>(h);
  return h;
}

void CObjImage::SetWidthMM(double w) {
  const double current = WidthMM();
  if (!(w > 0) || !std::isfinite(w) || !(current > 0)) return;
  resolutionX_ = resolutionX_ / (w / current);
}

void CObjImage::SetHeightMM(double h) {
  const double current = HeightMM();
  if (!(h > 0) || !std::isfinite(h) || !(current > 0)) return;
  resolutionY_ = resolutionY_ / (h / current);
}

void CObjImage::Draw(platform::DeviceContext& dc, int originX, int originY, double zoom) const {
  if (!loader_) return;
  const CDoubleRect r = GetPictureRect();
  const int left = static_cast<int>(originX + zoom * PixelsPerMmX * r.left);
  const int top = static_cast<int>(originY - zoom * PixelsPerMmY * r.top);
  const int width = static_cast<int>(WidthMM() * zoom * PixelsPerMmX);
  const int height = static_cast<int>(HeightMM() * zoom * PixelsPerMmY);
  loader_->Render(dc, left, top, width, height);
}

void CObjImage::OffsetBy(double dx, double dy) {
  position_.x += dx;
  position_.y += dy;
}

void CObjImage::Resize(CDoubleRect& oldRect, CDoubleRect& newRect, int handle) {
  const HandleResizePlan plan = PlanHandleResize(oldRect, newRect, handle);
  // A side dragged down to nothing would leave an endless resolution, and a
  // picture that can never be stretched back: it is only moved then.
  if (plan.scale && plan.sx != 0 && plan.sy != 0) {
    position_.x = plan.anchor.x + (position_.x - plan.anchor.x) * plan.sx;
    position_.y = plan.anchor.y + (position_.y - plan.anchor.y) * plan.sy;
    resolutionX_ /= plan.sx;
    resolutionY_ /= plan.sy;
  } else {
    OffsetBy(plan.dx, plan.dy);
  }
  oldRect = newRect;
}

bool CObjImage::LoadFromPath(const std::string& path) {
  if (!loader_) loader_ = std::make_unique<CPictureLoader>();
  loaded_ = loader_->LoadFile(path) ? 1 : 0;
  fileSize_ = static_cast<int>(loader_->GetBytes().size());
  return loaded_ != 0;
}

bool CObjImage::LoadFromBytes(std::string_view bytes) {
  if (!loader_) loader_ = std::make_unique<CPictureLoader>();
  loaded_ = loader_->LoadFromBytes(bytes) ? 1 : 0;
  fileSize_ = static_cast<int>(loader_->GetBytes().size());
  return loaded_ != 0;
}

bool CObjImage::SavePictureToFile(const std::string& path) const { return loader_ && loader_->SaveToFile(path); }

std::size_t CObjImage::LoadEmbedded(std::string_view bytes, bool decode) {
  if (fileSize_ <= 0) return 0;
  const std::size_t n = std::min(static_cast<std::size_t>(fileSize_), bytes.size());
  loader_ = std::make_unique<CPictureLoader>();
  loaded_ = loader_->LoadFromBytes(bytes.substr(0, n), decode) ? 1 : 0;
  // A file cut short keeps what it held; the count follows the bytes.
  fileSize_ = static_cast<int>(n);
  return n;
}

void CObjImage::ForgetDecoded() {
  if (loader_) loader_->ForgetDecoded();
  loaded_ = 0;
}

void CObjImage::SetField(int key, const MrkValue& value) {
  switch (key) {
    case 10:
      position_.x = value.d;
      break;
    case 20:
      position_.y = value.d;
      break;
    case 50:
      // A resolution of 0 would make the picture endless.
      if (IsUsableResolution(value.d)) resolutionX_ = value.d;
      break;
    case 51:
      if (IsUsableResolution(value.d)) resolutionY_ = value.d;
      break;
    case 160:
      fileSize_ = value.i;
      break;
    default:
      break;
  }
}

void CObjImage::Write(MrkLineWriter& out, const std::string& /*projectPath*/) const {
  // The project is assembled in memory and stored whole, so the picture's
  // bytes go straight after their key line.
  const std::string* bytes = loader_ ? &loader_->GetBytes() : nullptr;
  const std::size_t n = bytes ? bytes->size() : 0;
  out.WriteClassBegin("CObjImage");
  out.WriteDouble(kKeyX, position_.x, 4);
  out.WriteDouble(kKeyY, position_.y, 4);
  out.WriteDouble(kKeyResX, resolutionX_, 4);
  out.WriteDouble(kKeyResY, resolutionY_, 4);
  out.WriteInt(kKeySize, static_cast<long long>(n));
  if (n > 0) {
    out.WriteMrkLine(kKeyData);
    out.WriteRaw(*bytes);
  }
  out.WriteClassEnd();
}

void CObjImage::CopyPlacement(const CObjImage& other) {
  position_ = other.position_;
  resolutionX_ = other.resolutionX_;
  resolutionY_ = other.resolutionY_;
  dotWidth_ = other.dotWidth_;
  dotHeight_ = other.dotHeight_;
}

bool CObjImage::IsDarkPixel(const std::uint8_t* bits, int x, int row, int bitsPerPixel, int bytesPerRow) {
  const std::uint8_t* line = bits + static_cast<std::ptrdiff_t>(row) * bytesPerRow;
  switch (bitsPerPixel) {
    case 1:
      return ((line[x / 8] >> (7 - x % 8)) & 1) == 0;
    case 4: {
      const std::uint8_t c = line[x / 2];
      return x % 2 == 0 ? c < 144 : (c & 0x0F) < 9;
    }
    case 8:
      return line[x] < 128;
    case 24: {
      const std::uint8_t* p = line + 3 * x;
      return platform::IsDarkRgb(p[0], p[1], p[2]);
    }
    default:
      return false;
  }
}

CPointArrayList CObjImage::FindDarkBlobs(const platform::PictureBitmap& bitmap) {
  CPointArrayList blobs;
  ScanDarkBlobs(
      bitmap,
      [&blobs](long long blob, int x, int row) {
        if (blob == blobs.GetSize()) {
          blobs.AddBlob(x, row);
        } else {
          blobs[static_cast<int>(blob)].Add(x, row);
        }
      },
      {});
  return blobs;
}

bool CObjImage::ConvertToDots(CPointList& list) {
  const platform::PictureBitmap* bitmap = loader_ ? loader_->GetBitmap() : nullptr;
  if (!bitmap) return true;
  // The dot size the page shows: the picture's own until the user sets one.
  GetWidthMM();
  GetHeightMM();
  const int H = bitmap->height;
  const double cellX = kImageMmPerInch / resolutionX_;
  const double cellY = kImageMmPerInch / resolutionY_;
  // The middle of the blob's centre pixel (rows count from the bottom), not
  // its lower-left corner, so a picture's dots sit where its ink is.
  auto blobDot = [&](const CPixelRect& b) {
    const int u = (b.left + b.right) / 2;
    const int v = (b.top + b.bottom) / 2;
    return CDoublePoint(position_.x + (u + 0.5) * cellX, position_.y - (H - v - 0.5) * cellY, 0);
  };

  // The blobs are scanned twice, keeping none of them: once for the extent
  // of their dots, once to place the dots.
  long long blobCount = 0;
  double minX = std::numeric_limits<double>::max();
  double maxX = -minX;
  double minY = minX;
  double maxY = -minX;
  ScanDarkBlobs(*bitmap, {}, [&](const DarkBlob& blob) {
    const CDoublePoint p = blobDot(blob.bounds);
    ++blobCount;
    minX = std::min(minX, p.x);
    maxX = std::max(maxX, p.x);
    minY = std::min(minY, p.y);
    maxY = std::max(maxY, p.y);
    return true;
  });
  if (blobCount == 0) return true;

  const double w = maxX - minX;
  const double h = maxY - minY;
  const double sx = w > DistanceHor / 2.0 && w > 0.1 ? dotWidth_ / w : 1.0;
  const double sy = h > DistanceVer / 2.0 && h > 0.1 ? dotHeight_ / h : 1.0;
  // The pattern takes the dot size with its middle on the picture's middle.
  // Scaled about the picture's corner, a picture with a margin around its ink
  // came out pushed right of and below where it was; about the blobs' own
  // middle, a solid shape (whose blobs lie unevenly) came out shifted and
  // partly outside the picture.
  const double cx = (minX + maxX) / 2;
  const double cy = (minY + maxY) / 2;
  const CDoubleRect picture = GetPictureRect();
  const double pictureCx = (picture.left + picture.right) / 2;
  const double pictureCy = (picture.top + picture.bottom) / 2;
  // Blobs closer than a cell come to the same grid point: one dot there, or
  // the needle would strike the same spot twice. It takes the place of the
  // first of them in the order the blobs start.
  struct GridDot {
    long long blob;
    CDoublePoint p;
  };
  std::map<std::pair<long long, long long>, GridDot> taken;
  bool tooMany = false;
  ScanDarkBlobs(*bitmap, {}, [&](const DarkBlob& blob) {
    CDoublePoint p = blobDot(blob.bounds);
    p.x = pictureCx + (p.x - cx) * sx;
    p.y = pictureCy + (p.y - cy) * sy;
    SnapPointToGrid(p, DistanceHor, DistanceVer);
    p.flag = 0;
    const auto [at, added] = taken.try_emplace({std::llround(p.x * 1e6), std::llround(p.y * 1e6)}, GridDot{blob.number, p});
    if (!added && blob.number < at->second.blob) at->second = GridDot{blob.number, p};
    tooMany = taken.size() > static_cast<std::size_t>(kMaxPictureDots);
    return !tooMany;
  });
  if (tooMany) return false;

  std::vector<GridDot> dots;
  dots.reserve(taken.size());
  for (const auto& entry : taken) dots.push_back(entry.second);
  taken.clear();
  std::sort(dots.begin(), dots.end(), [](const GridDot& a, const GridDot& b) { return a.blob < b.blob; });
  for (const GridDot& dot : dots) list.Add(dot.p);
  if (list.GetSize() > 0) {
    CDoublePoint start = list[0];
    SortPointsNearestFirst(start, list);
  }
  return true;
}

ImagePageValues CObjImage::GetPageValues() {
  ImagePageValues v;
  v.x = position_.x;
  v.y = position_.y;
  v.widthMM = GetWidthMM();
  v.heightMM = GetHeightMM();
  v.dotWidth = dotWidth_;
  v.dotHeight = dotHeight_;
  return v;
}

