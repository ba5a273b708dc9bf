// Bitmaps traced into outline polylines: the light test, the outline of
// known pictures, damaged files, and agreement with potrace on drawn shapes.
#include <gtest/gtest.h>

#include <potracelib.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <memory>

#include "libs/ravelpen/CDibImage.h"
#include "tests/libs/ravelpen/BmpWriter.h"

namespace {

using ravelpen::CDibImage;
using ravelpen::TracePolylineArray;

TracePolylineArray Trace(const std::vector<std::uint8_t>& file, int expected = 0) {
  CDibImage image;
  image.SetBytes(file);
  TracePolylineArray result;
  EXPECT_EQ(image.TraceToPolylines(result), expected);
  return result;
}

TEST(BitmapTrace, GreyWeighsTheThreeColours) {
  const struct {
    std::uint8_t blue, green, red;
  } cases[] = {{0, 120, 255}, {0, 0, 255}, {0, 255, 0}, {255, 255, 255}};
  const int expected[] = {146, 76, 149, 255};
  for (std::size_t i = 0; i < 4; ++i) {
    const std::uint8_t pixel[3] = {cases[i].blue, cases[i].green, cases[i].red};
    EXPECT_EQ(ravelpen::GetPixelGrey(3, pixel, 0, 0), expected[i]) << i;
  }
}

TEST(BitmapTrace, OneDarkPixelIsOnePointClosedOnItself) {
  Raster raster(5, 5);
  raster.Set(2, 2);
  const auto result = Trace(Bmp24(raster));
  ASSERT_EQ(result.size(), 1u);
  ASSERT_EQ(result[0].size(), 2u);
  EXPECT_FLOAT_EQ(result[0][0].x, 0);
  EXPECT_FLOAT_EQ(result[0][0].y, 0);
  EXPECT_FLOAT_EQ(result[0][1].x, 0);
}

TEST(BitmapTrace, RectangleOutlineIsCentredOnItsIntegerMiddle) {
  Raster raster(60, 40);
  raster.Fill(10, 10, 40, 20);
  const auto result = Trace(Bmp24(raster));
  ASSERT_EQ(result.size(), 1u);
  float minX = 1e9f, maxX = -1e9f, minY = 1e9f, maxY = -1e9f;
  for (const auto& p : result[0]) {
    minX = std::min(minX, p.x);
    maxX = std::max(maxX, p.x);
    minY = std::min(minY, p.y);
    maxY = std::max(maxY, p.y);
  }
  // Columns 10..49 centre on 29, rows 10..29 on 19; corner cells move up to
  // half a cell.
  EXPECT_NEAR(minX, -4.75, 0.13);
  EXPECT_NEAR(maxX, 5.0, 0.13);
  EXPECT_NEAR(minY, -2.25, 0.13);
  EXPECT_NEAR(maxY, 2.5, 0.13);
  EXPECT_EQ(result[0].front().x, result[0].back().x) << "closed";
  EXPECT_LE(result[0].size(), 12u) << "reduced to its corners";
}

// More than 5000 outline points are ordered in 10 mm tiles first; the
// polyline cut from them must still run round the outline, not zigzag from
// tile row to tile row across the square with the needle down.
TEST(BitmapTrace, ALargeFilledSquareIsOnePolylineRoundItsCorners) {
  Raster raster(1402, 1402);
  raster.Fill(1, 1, 1400, 1400);
  const auto result = Trace(Bmp24(raster));
  ASSERT_EQ(result.size(), 1u);
  const auto& polyline = result[0];
  ASSERT_EQ(polyline.size(), 5u) << "four corners, closed";
  for (std::size_t i = 1; i < polyline.size(); ++i) {
    const float dx = std::fabs(polyline[i].x - polyline[i - 1].x), dy = std::fabs(polyline[i].y - polyline[i - 1].y);
    EXPECT_TRUE(dx < 0.5f || dy < 0.5f) << "step " << i << " cuts across the square";
  }
}

TEST(BitmapTrace, FarApartDotsAreSeparatePolylinesNearOnesChain) {
  Raster apart(20, 5);
  apart.Set(2, 2);
  apart.Set(10, 2);
  EXPECT_EQ(Trace(Bmp24(apart)).size(), 2u);
  Raster near(20, 5);
  near.Set(2, 2);
  near.Set(3, 2);
  EXPECT_EQ(Trace(Bmp24(near)).size(), 1u);
}

TEST(BitmapTrace, PicturesThatCannotBeTracedSayWhy) {
  Raster white(8, 8);
  EXPECT_TRUE(Trace(Bmp24(white)).empty());
  EXPECT_TRUE(Trace(Bmp8(8, 8), 3).empty()) << "256 colours";
  Raster one(4, 4);
  one.Set(1, 1);
  auto topDown = Bmp24(one);
  PutLE32(topDown, 22, static_cast<std::uint32_t>(-4));
  EXPECT_TRUE(Trace(topDown).empty()) << "negative height";
  CDibImage empty;
  TracePolylineArray result;
  EXPECT_EQ(empty.TraceToPolylines(result), 1);
}

TEST(BitmapTrace, TruncatedFilesAreRefusedAndLaterHeadersRead) {
  Raster raster(16, 16);
  raster.Fill(4, 4, 8, 8);
  const auto file = Bmp24(raster);
  for (std::size_t keep : {std::size_t{0}, std::size_t{13}, std::size_t{30}, std::size_t{54}, file.size() - 1})
    Trace(std::vector<std::uint8_t>(file.begin(), file.begin() + static_cast<long>(keep)), 1);
  auto huge = file;
  PutLE32(huge, 18, 0x7FFFFFFF);  // a width the rows cannot hold
  Trace(huge, 1);
  // A version-5 header (124 bytes) describes the same picture.
  EXPECT_EQ(Trace(Bmp24(raster, 124)).size(), Trace(file).size());
  EXPECT_EQ(Trace(Bmp24(raster, 124))[0].size(), Trace(file)[0].size());
}

// potrace's outline of the same raster, as polygons sampled along its curves.
std::vector<std::pair<double, double>> PotraceBoundary(const Raster& raster) {
  int dy = 0;
  std::vector<potrace_word> map = PackedRows<potrace_word>(raster, dy);
  potrace_bitmap_t bitmap{raster.width, raster.height, dy, map.data()};
  std::unique_ptr<potrace_param_t, decltype(&potrace_param_free)> param(potrace_param_default(), potrace_param_free);
  std::unique_ptr<potrace_state_t, decltype(&potrace_state_free)> state(potrace_trace(param.get(), &bitmap),
                                                                         potrace_state_free);
  std::vector<std::pair<double, double>> samples;
  for (potrace_path_t* path = state->plist; path != nullptr; path = path->next) {
    const potrace_curve_t& curve = path->curve;
    potrace_dpoint_t from = curve.c[curve.n - 1][2];
    for (int i = 0; i < curve.n; ++i) {
      const potrace_dpoint_t* c = curve.c[i];
      for (int k = 0; k <= 40; ++k) {
        const double t = k / 40.0;
        double x, y;
        if (curve.tag[i] == POTRACE_CORNER) {
          const potrace_dpoint_t& a = t < 0.5 ? from : c[1];
          const potrace_dpoint_t& b = t < 0.5 ? c[1] : c[2];
          const double u = t < 0.5 ? t * 2 : t * 2 - 1;
          x = a.x + (b.x - a.x) * u;
          y = a.y + (b.y - a.y) * u;
        } else {
          const double s = 1 - t;
          x = s * s * s * from.x + 3 * s * s * t * c[0].x + 3 * s * t * t * c[1].x + t * t * t * c[2].x;
          y = s * s * s * from.y + 3 * s * s * t * c[0].y + 3 * s * t * t * c[1].y + t * t * t * c[2].y;
        }
        samples.emplace_back(x, y);
      }
      from = c[2];
    }
  }
  return samples;
}

TEST(BitmapTrace, EveryTracedCornerLiesOnPotracesBoundary) {
  const std::vector<std::function<void(Raster&)>> shapes = {
      [](Raster& r) { r.Fill(10, 12, 50, 30); },
      [](Raster& r) { r.Disc(40, 40, 25); },
      [](Raster& r) {
        r.Disc(30, 30, 18);
        r.Fill(55, 10, 15, 60);
      },
  };
  for (std::size_t s = 0; s < shapes.size(); ++s) {
    Raster raster(80, 80);
    shapes[s](raster);
    const auto boundary = PotraceBoundary(raster);
    ASSERT_FALSE(boundary.empty());
    const auto result = Trace(Bmp24(raster));
    ASSERT_FALSE(result.empty());
    const RasterCentre centre = raster.OutlineCentre();
    for (const auto& polyline : result)
      for (const auto& p : polyline) {
        // Back to pixel units; potrace's pixel (x, y) covers x..x+1.
        const double px = p.x / 0.25 + centre.x + 0.5;
        const double py = p.y / 0.25 + centre.y + 0.5;
        double best = 1e9;
        for (const auto& [bx, by] : boundary) best = std::min(best, std::hypot(px - bx, py - by));
        EXPECT_LE(best, 1.5) << "shape " << s << " at " << px << ", " << py;
      }
  }
}

}  // namespace
