// Picture and dot costs that grow with the picture: the blob search, the whole
// conversion into ordered dots, a project with a large embedded picture, and
// moving and reading a large dot collection.
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <memory>
#include <string>

#include "document/doc/CObjPtrArray.h"
#include "document/mrk/MrkFile.h"
#include "document/objects/CObjDotCollect.h"
#include "document/objects/CObjElement.h"
#include "document/objects/CObjImage.h"
#include "document/objects/ObjTypeOps.h"
#include "platform/PictureLoader.h"
#include "values/ShellValues.h"

namespace {

// A true-colour picture of 2 x 2 dark squares every `pitch` pixels, the kind
// of picture dot marking starts from.
platform::PictureBitmap DotPattern(int w, int h, int pitch) {
  platform::PictureBitmap b = platform::PictureBitmap::Make(w, h, 24);
  for (auto& byte : b.bits) byte = 255;
  for (int r = 0; r < h; ++r) {
    for (int c = 0; c < w; ++c) {
      if (r % pitch < 2 && c % pitch < 2) {
        std::uint8_t* p = b.bits.data() + static_cast<std::size_t>(r) * b.bytesPerRow + 3 * c;
        p[0] = p[1] = p[2] = 0;
      }
    }
  }
  return b;
}

// Hands out a prepared bitmap for any bytes, so the benchmarks time the
// conversion and not an image library.
class FixedDecoder : public platform::PictureDecoder {
 public:
  explicit FixedDecoder(platform::PictureBitmap b) : bitmap_(std::move(b)) {}
  bool Decode(std::string_view, platform::PictureBitmap& out) override {
    out = bitmap_;
    return true;
  }

 private:
  platform::PictureBitmap bitmap_;
};

void BM_FindDarkBlobs(benchmark::State& state) {
  const int side = static_cast<int>(state.range(0));
  const platform::PictureBitmap b = DotPattern(side, side, 5);
  int blobs = 0;
  for (auto _ : state) {
    const CPointArrayList found = CObjImage::FindDarkBlobs(b);
    blobs = found.GetSize();
    benchmark::DoNotOptimize(blobs);
  }
  state.counters["blobs"] = blobs;
  state.SetItemsProcessed(state.iterations() * side * side);
}
BENCHMARK(BM_FindDarkBlobs)->Arg(500)->Arg(2000)->Unit(benchmark::kMillisecond);

void BM_ConvertToDots(benchmark::State& state) {
  const int side = static_cast<int>(state.range(0));
  platform::SetPictureDecoder(std::make_shared<FixedDecoder>(DotPattern(side, side, 5)));
  CObjImage image;
  image.LoadFromBytes("picture");
  image.SetDotWidth(100);
  image.SetDotHeight(100);
  int dots = 0;
  for (auto _ : state) {
    CPointList list;
    image.ConvertToDots(list);
    dots = list.GetSize();
  }
  state.counters["dots"] = dots;
}
BENCHMARK(BM_ConvertToDots)->Arg(250)->Arg(1000)->Unit(benchmark::kMillisecond);

// An 8000 x 8000 picture dithered to lone dark pixels two apart: 16 million
// blobs, far more dots than a conversion makes at a 0.25 mm spacing, so it
// makes none. The counter is the process's peak memory (the bitmap itself
// takes 8 MB of it).
void BM_ConvertDitheredPicture(benchmark::State& state) {
  const int side = static_cast<int>(state.range(0));
  platform::PictureBitmap dithered = platform::PictureBitmap::Make(side, side, 1);
  for (int r = 0; r < side; ++r) {
    std::uint8_t* row = dithered.bits.data() + static_cast<std::size_t>(r) * dithered.bytesPerRow;
    for (int c = 0; c < dithered.bytesPerRow; ++c) row[c] = r % 2 == 0 ? 0x55 : 0xFF;
  }
  platform::SetPictureDecoder(std::make_shared<FixedDecoder>(std::move(dithered)));
  const float spacing = DistanceHor;
  DistanceHor = DistanceVer = 0.25f;
  CObjImage image;
  image.LoadFromBytes("picture");
  bool made = true;
  for (auto _ : state) {
    CPointList list;
    made = image.ConvertToDots(list);
    benchmark::DoNotOptimize(list.GetSize());
  }
  DistanceHor = DistanceVer = spacing;
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  state.counters["made"] = made ? 1 : 0;
  state.counters["peakMB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}
BENCHMARK(BM_ConvertDitheredPicture)->Arg(8000)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_ProjectWithEmbeddedPicture(benchmark::State& state) {
  RegisterObjTypeOps(ObjClassId::Image, &ImageTypeOps());
  platform::SetPictureDecoder(std::make_shared<FixedDecoder>(DotPattern(8, 8, 5)));
  std::string bytes(static_cast<std::size_t>(state.range(0)), '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 31 % 251);
  auto* image = new CObjImage;
  image->LoadFromBytes(bytes);
  CObjPtrArray objects;
  objects.Add(std::make_unique<CObjElement>(CObjCreateRecord{"Picture-1", OBJ_PICTURE, image, sizeof(CObjImage), {}}));
  for (auto _ : state) {
    const std::string file = FormatMrkFile(objects, {});
    CObjPtrArray back;
    ReadMrkBytes(file, back);
    benchmark::DoNotOptimize(back.GetSize());
  }
  state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ProjectWithEmbeddedPicture)->Arg(4 << 20)->Unit(benchmark::kMillisecond);

CObjDotCollect* DotField(int n) {
  CPointList list;
  for (int i = 0; i < n; ++i) list.Add(CDoublePoint(i % 500 + 0.5, i / 500 + 0.5, 0));
  auto* dots = new CObjDotCollect(list);
  dots->SetCellSize(1.0, 1.0);
  dots->RebuildFill();
  return dots;
}

void BM_DotCollectMove(benchmark::State& state) {
  std::unique_ptr<CObjDotCollect> dots(DotField(static_cast<int>(state.range(0))));
  double d = 0.3;
  for (auto _ : state) {
    dots->MoveSnapped(d, -d);
    d = -d;
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_DotCollectMove)->Arg(100000);

void BM_DotCollectFileRoundTrip(benchmark::State& state) {
  RegisterObjTypeOps(ObjClassId::DotCollect, &DotCollectTypeOps());
  CObjPtrArray objects;
  objects.Add(std::make_unique<CObjElement>(
      CObjCreateRecord{"Dots-1", OBJ_DOTIMAGE, DotField(static_cast<int>(state.range(0))), sizeof(CObjDotCollect), {}}));
  for (auto _ : state) {
    const std::string file = FormatMrkFile(objects, {});
    CObjPtrArray back;
    ReadMrkBytes(file, back);
    benchmark::DoNotOptimize(back.GetSize());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_DotCollectFileRoundTrip)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
