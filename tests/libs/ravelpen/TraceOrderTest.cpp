// The fast tracing steps give exactly what the plain procedures give: the
// nearest-neighbour order of the plain scan on thin straight shapes and on
// random ones (ties included), the grid thinning, the cutting into polylines
// and the outline pixels as written out step by step, and whole pictures
// traced through both.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "libs/ravelpen/CDibImage.h"
#include "libs/ravelpen/OutlineLattice.h"
#include "libs/ravelpen/OutlinePixels.h"
#include "libs/ravelpen/TraceSteps.h"
#include "tests/libs/ravelpen/TracePictures.h"

namespace {

using ravelpen::TracePoint;
using ravelpen::TracePolylineArray;
using Points = std::vector<TracePoint>;

void ExpectSamePoints(const Points& actual, const Points& expected, const std::string& what) {
  ASSERT_EQ(actual.size(), expected.size()) << what;
  for (std::size_t i = 0; i < actual.size(); ++i) {
    ASSERT_EQ(actual[i].x, expected[i].x) << what << " at " << i;
    ASSERT_EQ(actual[i].y, expected[i].y) << what << " at " << i;
  }
}

// ---- The plain procedures, step by step ----

void PlainOrderPath(Points& points, TracePoint start, double threshold, bool remove) {
  if (points.size() <= 1) return;
  if (points.size() <= 5000) {
    ravelpen::OrderByNearestScan(points, start, threshold, remove);
    return;
  }
  const ravelpen::PointBounds b = ravelpen::GetPointBounds(points);
  auto tiles = [](double extent) {
    int n = static_cast<int>(extent * 0.1);
    if (extent - n * 10.0 > 0) ++n;
    return std::max(n, 1);
  };
  const int columns = tiles(b.width), rows = tiles(b.height);
  std::vector<Points> tile(static_cast<std::size_t>(columns) * rows);
  for (const TracePoint& p : points) {
    int column = static_cast<int>((p.x - b.centreX + b.width / 2) * 0.1);
    if (column * 10.0 >= b.width) --column;
    int row = static_cast<int>((p.y - b.centreY + b.height / 2) * 0.1);
    if (row * 10.0 >= b.height) --row;
    const long long index = std::clamp<long long>(column + static_cast<long long>(row) * columns, 0,
                                                  static_cast<long long>(tile.size()) - 1);
    tile[static_cast<std::size_t>(index)].push_back(p);
  }
  points.clear();
  TracePoint current = start;
  for (int row = 0; row < rows; ++row)
    for (int i = 0; i < columns; ++i) {
      Points& t = tile[static_cast<std::size_t>((row % 2 == 0 ? i : columns - 1 - i) + row * columns)];
      if (t.empty()) continue;
      ravelpen::OrderByNearestScan(t, current, threshold, remove);
      points.insert(points.end(), t.begin(), t.end());
      current = points.back();
    }
}

void PlainThinOnGrid(Points& points, double c) {
  if (points.empty()) return;
  const auto [lowX, highX, lowY, highY] = ravelpen::GetPointExtent(points.data(), points.size());
  const double h = c / 2;
  const long long columns = static_cast<long long>((highX - lowX + h) / c) + 1;
  const long long rows = static_cast<long long>((highY - lowY + h) / c) + 1;
  struct Cell {
    TracePoint point;
    bool occupied = false;
    bool corner = false;
  };
  std::vector<Cell> grid(static_cast<std::size_t>(columns * rows));
  auto at = [&](long long row, long long column) -> Cell& { return grid[static_cast<std::size_t>(row * columns + column)]; };
  for (const TracePoint& p : points)
    at(static_cast<long long>((p.y - lowY + 0.2 * c) / c), static_cast<long long>((p.x - lowX + 0.2 * c) / c)) = {p, true, true};
  for (long long row = 0; row < rows; ++row)
    for (long long column = 0; column < columns; ++column) {
      Cell& cell = at(row, column);
      if (!cell.occupied) continue;
      const bool up = row + 1 < rows && at(row + 1, column).corner;
      const bool down = row > 0 && at(row - 1, column).corner;
      const bool left = column > 0 && at(row, column - 1).corner;
      const bool right = column + 1 < columns && at(row, column + 1).corner;
      const float move = static_cast<float>(h);
      if (up && left) {
        cell.point.x -= move, cell.point.y += move;
      } else if (up && right) {
        cell.point.x += move, cell.point.y += move;
      } else if (down && left) {
        cell.point.x -= move, cell.point.y -= move;
      } else if (down && right) {
        cell.point.x += move, cell.point.y -= move;
      }
      cell.corner = false;
    }
  points.clear();
  for (const Cell& cell : grid)
    if (cell.occupied) points.push_back(cell.point);
}

TracePolylineArray PlainCutIntoPolylines(Points pool, double gap, double threshold) {
  TracePolylineArray result;
  while (!pool.empty()) {
    Points polyline{pool.front()};
    pool.erase(pool.begin());
    for (std::size_t k = 0; k < pool.size();) {
      bool near = false;
      for (std::size_t j = polyline.size(); j-- > 0 && !near;) near = ravelpen::PointDistance(polyline[j], pool[k]) < gap;
      if (near) {
        polyline.push_back(pool[k]);
        pool.erase(pool.begin() + static_cast<long>(k));
        k = 0;
      } else {
        ++k;
      }
    }
    const TracePoint start = polyline.front();
    ravelpen::OrderByNearestScan(polyline, start, threshold, true);
    if (!polyline.empty()) result.push_back(polyline);
  }
  return result;
}

std::vector<ravelpen::OutlinePixel> PlainOutline(const std::uint8_t* rows, std::size_t rowSize, int width, int height) {
  auto dark = [&](int x, int r) {
    if (x < 0 || r < 0 || x >= width || r >= height) return false;
    return ravelpen::GetPixelGrey(rowSize, rows, 3 * static_cast<std::size_t>(x), static_cast<std::size_t>(r)) < 128;
  };
  std::vector<ravelpen::OutlinePixel> outline;
  for (int r = 0; r < height; ++r)
    for (int x = 0; x < width; ++x) {
      if (!dark(x, r)) continue;
      bool light = false;
      for (int dr = -1; dr <= 1; ++dr)
        for (int dx = -1; dx <= 1; ++dx) light = light || !dark(x + dx, r + dr);
      if (light) outline.push_back({x, r});
    }
  return outline;
}

// The steps a picture is traced through, from its outline pixels to the
// polylines before their corners are kept.
struct TraceStepSet {
  std::vector<ravelpen::OutlinePixel> (*outline)(const std::uint8_t* rows, std::size_t rowSize, int width, int height);
  void (*thin)(Points& points, double cellSize);
  void (*order)(Points& points, TracePoint start, double threshold, bool remove);
  TracePolylineArray (*cut)(Points pool, double gap, double threshold);
};

const TraceStepSet kPlainSteps{PlainOutline, PlainThinOnGrid, PlainOrderPath, PlainCutIntoPolylines};
// The library's steps, each held to its plain procedure by the tests below.
const TraceStepSet kLibrarySteps{
    [](const std::uint8_t* rows, std::size_t rowSize, int width, int height) {
      return ravelpen::FindOutlinePixels(rows, rowSize, static_cast<std::size_t>(width),
                                         static_cast<std::size_t>(height));
    },
    ravelpen::ThinOnGrid, ravelpen::OrderPath,
    [](Points pool, double gap, double threshold) {
      TracePolylineArray result;
      ravelpen::CutIntoPolylines(pool, result, gap, threshold);
      return result;
    }};

TracePolylineArray TraceThrough(const TraceStepSet& steps, const std::vector<std::uint8_t>& file, int width,
                                int height) {
  const std::size_t rowSize = (static_cast<std::size_t>(width) * 24 + 31) / 32 * 4;
  const auto outline = steps.outline(file.data() + 54, rowSize, width, height);
  TracePolylineArray result;
  if (outline.empty()) return result;
  const auto [left, right] = std::minmax_element(outline.begin(), outline.end(),
                                                  [](const auto& a, const auto& b) { return a.x < b.x; });
  // Rows come in order: the first and the last outline pixel hold the extremes.
  const long long cx = (static_cast<long long>(left->x) + right->x) / 2;
  const long long cr = (static_cast<long long>(outline.front().row) + outline.back().row) / 2;
  Points points;
  for (const auto& o : outline)
    points.push_back({static_cast<float>(o.x - cx) * 0.25f, static_cast<float>(o.row - cr) * 0.25f, 0.0f});
  steps.thin(points, 0.25);
  steps.order(points, points.front(), 0.225, false);
  result = steps.cut(points, 0.5025, 0.225);
  for (auto& polyline : result) ravelpen::ReduceToCorners(polyline);
  return result;
}

// ---- Shapes ----

std::uint32_t Next(std::uint32_t& seed) {
  seed = seed * 1664525u + 1013904223u;
  return seed >> 8;
}

// Outline points of a raster as tracing makes them: 0.25 mm a pixel, thinned.
Points OutlinePoints(const Raster& raster) {
  const auto file = Bmp24(raster);
  const std::size_t rowSize = (static_cast<std::size_t>(raster.width) * 24 + 31) / 32 * 4;
  Points points;
  for (const auto& o : ravelpen::FindOutlinePixels(file.data() + 54, rowSize, static_cast<std::size_t>(raster.width),
                                                   static_cast<std::size_t>(raster.height)))
    points.push_back({static_cast<float>(o.x) * 0.25f, static_cast<float>(o.row) * 0.25f, 0.0f});
  ravelpen::ThinOnGrid(points, 0.25);
  return points;
}

struct ShapeCase {
  const char* name;
  std::function<Points()> make;
};

const ShapeCase kShapes[] = {
    {"VerticalLine", [] {
       Raster r(3, 4002);
       r.Fill(1, 1, 1, 4000);
       return OutlinePoints(r);
     }},
    {"HorizontalLine", [] {
       Raster r(4002, 3);
       r.Fill(1, 1, 4000, 1);
       return OutlinePoints(r);
     }},
    {"Diagonal", [] {
       Raster r(2002, 2002);
       for (int i = 1; i <= 2000; ++i) r.Set(i, i);
       return OutlinePoints(r);
     }},
    {"SteepSlope", [] {
       Raster r(700, 2102);
       for (int i = 1; i <= 2100; ++i) r.Set(1 + i / 3, i);
       return OutlinePoints(r);
     }},
    {"TwoParallelLines", [] {
       Raster r(9, 1502);
       r.Fill(1, 1, 1, 1500);
       r.Fill(6, 1, 1, 1500);
       return OutlinePoints(r);
     }},
    {"RandomBlobs", [] {
       std::uint32_t seed = 77;
       Raster r(400, 300);
       for (int i = 0; i < 25; ++i)
         r.Disc(static_cast<int>(Next(seed) % 400), static_cast<int>(Next(seed) % 300), 2 + static_cast<int>(Next(seed) % 30));
       return OutlinePoints(r);
     }},
    {"ScatteredDots", [] {
       std::uint32_t seed = 5;
       Raster r(1500, 1500);
       for (int i = 0; i < 2500; ++i) r.Set(static_cast<int>(Next(seed) % 1500), static_cast<int>(Next(seed) % 1500));
       return OutlinePoints(r);
     }},
    {"LatticeWithTies", [] {
       // Points on a quarter-millimetre lattice, repeated: equal distances.
       std::uint32_t seed = 12345;
       Points points;
       for (int i = 0; i < 1900; ++i)
         points.push_back({static_cast<float>(Next(seed) % 200) * 0.25f, static_cast<float>(Next(seed) % 120) * 0.25f, 0.0f});
       return points;
     }},
    {"AllInOnePlace", [] { return Points(300, TracePoint{1.5f, -2.0f, 0.0f}); }},
};

class ThinAndRandomShapes : public ::testing::TestWithParam<ShapeCase> {};

TEST_P(ThinAndRandomShapes, NearestOrderEqualsThePlainScan) {
  const Points points = GetParam().make();
  ASSERT_GT(points.size(), 1u);
  const TracePoint starts[] = {points[points.size() / 2], {-40.0f, 1000.0f, 0.0f}};
  for (const TracePoint& start : starts)
    for (bool remove : {false, true}) {
      Points fast = points, plain = points;
      ravelpen::OrderByNearest(fast, start, remove ? 0.3 : 0.225, remove);
      ravelpen::OrderByNearestScan(plain, start, remove ? 0.3 : 0.225, remove);
      ExpectSamePoints(fast, plain, std::string(GetParam().name) + (remove ? " dropping" : ""));
    }
}

INSTANTIATE_TEST_SUITE_P(Shapes, ThinAndRandomShapes, ::testing::ValuesIn(kShapes),
                         [](const auto& info) { return std::string(info.param.name); });

// A list of more than 5000 points is ordered tile by tile.
TEST(TracedOrder, LargeListsInTilesEqualThePlainScan) {
  Raster r(1300, 900);
  std::uint32_t seed = 9;
  for (int i = 0; i < 40; ++i)
    r.Disc(static_cast<int>(Next(seed) % 1300), static_cast<int>(Next(seed) % 900), 5 + static_cast<int>(Next(seed) % 60));
  r.Fill(10, 450, 1280, 1);
  const Points points = OutlinePoints(r);
  ASSERT_GT(points.size(), 5000u);
  Points fast = points, plain = points;
  ravelpen::OrderPath(fast, points.front(), 0.225, false);
  PlainOrderPath(plain, points.front(), 0.225, false);
  ExpectSamePoints(fast, plain, "tiles");
}

TEST(TracedOrder, GridThinningEqualsTheCellByCellProcedure) {
  std::uint32_t seed = 31;
  for (int round = 0; round < 40; ++round) {
    Points points;
    const int n = 1 + static_cast<int>(Next(seed) % 400);
    for (int i = 0; i < n; ++i) {
      // Quarter-millimetre points and points between them, in any order,
      // several to a cell.
      const float x = static_cast<float>(Next(seed) % 40) * (round % 2 ? 0.25f : 0.1f);
      const float y = static_cast<float>(Next(seed) % 30) * (round % 3 ? 0.25f : 0.15f);
      points.push_back({x - 3.0f, y + 1.0f, 0.0f});
    }
    Points fast = points, plain = points;
    ravelpen::ThinOnGrid(fast, 0.25);
    PlainThinOnGrid(plain, 0.25);
    ExpectSamePoints(fast, plain, "round " + std::to_string(round));
  }
}

TEST(TracedOrder, CuttingEqualsThePoolByPoolProcedure) {
  std::uint32_t seed = 4;
  for (int round = 0; round < 30; ++round) {
    Points pool;
    const int n = 2 + static_cast<int>(Next(seed) % 250);
    for (int i = 0; i < n; ++i)
      pool.push_back({static_cast<float>(Next(seed) % 60) * 0.125f, static_cast<float>(Next(seed) % 40) * 0.125f, 0.0f});
    Points fast = pool;
    TracePolylineArray result;
    const std::size_t placed = ravelpen::CutIntoPolylines(fast, result, 0.5025, 0.225);
    const TracePolylineArray plain = PlainCutIntoPolylines(pool, 0.5025, 0.225);
    ASSERT_EQ(result.size(), plain.size()) << round;
    std::size_t total = 0;
    for (std::size_t k = 0; k < plain.size(); ++k) {
      ExpectSamePoints(result[k], plain[k], "round " + std::to_string(round) + " polyline " + std::to_string(k));
      total += plain[k].size();
    }
    EXPECT_EQ(placed, total);
    EXPECT_TRUE(fast.empty());
  }
}

// Colours of every kind, runs of white and of black crossing the 32-pixel
// runs the outline search takes at a time, widths not a multiple of 32.
Raster RandomPicture(std::uint32_t& seed, int width, int height) {
  Raster r(width, height);
  r.Fill(width / 3, height / 3, width / 3 + 1, height / 3 + 1);
  for (int i = 0; i < 6; ++i)
    r.Disc(static_cast<int>(Next(seed) % static_cast<std::uint32_t>(width)),
           static_cast<int>(Next(seed) % static_cast<std::uint32_t>(height)), 1 + static_cast<int>(Next(seed) % 9));
  for (int i = 0; i < width * height / 40; ++i)
    r.Set(static_cast<int>(Next(seed) % static_cast<std::uint32_t>(width)),
          static_cast<int>(Next(seed) % static_cast<std::uint32_t>(height)));
  return r;
}

// Blue, green, red whose weighted sum is the light limit itself (grey 128)
// or the nearest sum below it (grey 127, dark).
const std::vector<std::array<std::uint8_t, 3>>& ColoursAtTheLimit() {
  static const auto colours = [] {
    std::vector<std::array<std::uint8_t, 3>> found;
    for (const int sum : {128 << 15, (128 << 15) - 4})
      for (int red = 0; red < 256; ++red)
        for (int green = 0; green < 256; ++green) {
          const int rest = sum - 9798 * red - 19235 * green;
          if (rest >= 0 && rest % 3735 == 0 && rest / 3735 < 256)
            found.push_back({static_cast<std::uint8_t>(rest / 3735), static_cast<std::uint8_t>(green),
                             static_cast<std::uint8_t>(red)});
        }
    return found;
  }();
  return colours;
}

std::vector<std::uint8_t> Coloured(const Raster& raster, std::uint32_t& seed) {
  auto file = Bmp24(raster);
  const std::size_t rowSize = (static_cast<std::size_t>(raster.width) * 24 + 31) / 32 * 4;
  const auto& limit = ColoursAtTheLimit();
  for (int y = 0; y < raster.height; y += 2)
    for (int x = 0; x < raster.width; ++x) {
      if (Next(seed) % 4 != 0) continue;  // most pixels stay pure black or white
      std::uint8_t* pixel = file.data() + 54 + static_cast<std::size_t>(y) * rowSize + 3 * static_cast<std::size_t>(x);
      if (Next(seed) % 3 == 0) {
        const auto& colour = limit[Next(seed) % limit.size()];
        std::copy(colour.begin(), colour.end(), pixel);
        continue;
      }
      for (int c = 0; c < 3; ++c)
        pixel[c] = static_cast<std::uint8_t>(Next(seed) % 2 ? Next(seed) : 120 + Next(seed) % 16);  // near grey 128 too
    }
  return file;
}

TEST(TracedOrder, OutlinePixelsEqualTheNeighbourByNeighbourTest) {
  std::uint32_t seed = 2024;
  for (const auto& [width, height] :
       {std::pair{1, 1}, {31, 7}, {32, 5}, {33, 9}, {63, 4}, {64, 6}, {65, 5}, {97, 40}, {200, 3}, {5, 120}, {300, 200}}) {
    const Raster raster = RandomPicture(seed, width, height);
    const auto file = Coloured(raster, seed);
    const std::size_t rowSize = (static_cast<std::size_t>(width) * 24 + 31) / 32 * 4;
    const auto fast = ravelpen::FindOutlinePixels(file.data() + 54, rowSize, static_cast<std::size_t>(width),
                                                  static_cast<std::size_t>(height));
    const auto plain = PlainOutline(file.data() + 54, rowSize, width, height);
    ASSERT_EQ(fast.size(), plain.size()) << width << " x " << height;
    for (std::size_t i = 0; i < fast.size(); ++i) {
      EXPECT_EQ(fast[i].x, plain[i].x) << i;
      EXPECT_EQ(fast[i].row, plain[i].row) << i;
    }
    // Each outline pixel names the outline pixels two either way around it,
    // in the vector scan and in the one for any processor.
    std::map<std::pair<int, int>, std::size_t> indexOf;
    for (std::size_t i = 0; i < plain.size(); ++i) indexOf[{plain[i].x, plain[i].row}] = i;
    for (const auto scan : {ravelpen::OutlineLattice::Scan::kFastest, ravelpen::OutlineLattice::Scan::kBaseline}) {
      const ravelpen::OutlineLattice lattice(file.data() + 54, rowSize, static_cast<std::size_t>(width),
                                             static_cast<std::size_t>(height), scan);
      ASSERT_EQ(lattice.Size(), plain.size());
      for (std::size_t i = 0; i < plain.size(); ++i) {
        ASSERT_EQ(lattice.X(i), plain[i].x);
        ASSERT_EQ(lattice.Row(i), plain[i].row);
        for (int dy = -2; dy <= 2; ++dy)
          for (int dx = -2; dx <= 2; ++dx) {
            const auto found = indexOf.find({plain[i].x + dx, plain[i].row + dy});
            const bool set = (lattice.Around(i) >> ravelpen::OutlineLattice::Bit(dx, dy)) & 1;
            ASSERT_EQ(set, found != indexOf.end()) << width << " x " << height << " pixel " << i << " " << dx << "," << dy;
            if (set) {
              ASSERT_EQ(lattice.Neighbour(i, dx, dy), found->second) << "pixel " << i << " " << dx << "," << dy;
            }
          }
      }
    }
  }
}

TEST(TracedOrder, WholePicturesTraceAsTheStepByStepProcedure) {
  std::uint32_t seed = 99;
  for (int round = 0; round < 12; ++round) {
    const int width = 20 + static_cast<int>(Next(seed) % 60), height = 10 + static_cast<int>(Next(seed) % 40);
    const auto file = Coloured(RandomPicture(seed, width, height), seed);
    ravelpen::CDibImage image;
    image.SetBytes(file);
    TracePolylineArray fast;
    ASSERT_EQ(image.TraceToPolylines(fast), 0);
    const TracePolylineArray plain = TraceThrough(kPlainSteps, file, width, height);
    ASSERT_EQ(fast.size(), plain.size()) << round;
    for (std::size_t k = 0; k < plain.size(); ++k)
      ExpectSamePoints(fast[k], plain[k], "round " + std::to_string(round) + " polyline " + std::to_string(k));
  }
}

// Pictures full of equal distances and of the cases the lattice search
// looks past its eight neighbours for: isolated dots, dead ends, stair steps,
// lines a pixel apart, outlines along the picture's edges, more than 5000
// points (tiles), grey near the light limit.
struct TiePicture {
  const char* name;
  std::function<std::vector<std::uint8_t>()> file;
};

std::vector<std::uint8_t> Drawn(int width, int height, const std::function<void(Raster&)>& draw) {
  Raster raster(width, height);
  draw(raster);
  return Bmp24(raster);
}

const TiePicture kTiePictures[] = {
    {"Checkerboard", [] { return Drawn(150, 90, [](Raster& r) { for (int y = 0; y < r.height; ++y) for (int x = (y % 2); x < r.width; x += 2) r.Set(x, y); }); }},
    {"DotsTwoApart", [] { return Drawn(180, 130, [](Raster& r) { for (int y = 1; y < r.height; y += 2) for (int x = 1; x < r.width; x += 2) r.Set(x, y); }); }},
    {"DotsThreeApart", [] { return Drawn(120, 100, [](Raster& r) { for (int y = 0; y < r.height; y += 3) for (int x = 0; x < r.width; x += 3) r.Set(x, y); }); }},
    {"Noise", [] {
       std::uint32_t seed = 17;
       return Drawn(160, 120, [&](Raster& r) { for (int i = 0; i < r.width * r.height / 2; ++i) r.Set(static_cast<int>(Next(seed) % 160), static_cast<int>(Next(seed) % 120)); });
     }},
    {"CombWithDeadEnds", [] {
       return Drawn(400, 200, [](Raster& r) {
         r.Fill(5, 5, 390, 1);
         for (int x = 5; x < 395; x += 4) r.Fill(x, 6, 1, 20 + (x * 7) % 150);
       });
     }},
    {"StairStepsAndDiagonals", [] {
       return Drawn(420, 300, [](Raster& r) {
         r.Stroke(10, 10, 400, 290, 9);
         r.Stroke(10, 290, 400, 10, 2);
         r.Stroke(200, 5, 210, 295, 1);
         for (int i = 0; i < 60; ++i) r.Fill(20 + 5 * i, 150 + (i % 7) * 3, 3, 2);
       });
     }},
    {"SquaresOnePixelApart", [] {
       return Drawn(240, 240, [](Raster& r) {
         for (int k = 0; k < 40; k += 2) {
           r.Fill(10 + k, 10 + k, 220 - 2 * k, 1);
           r.Fill(10 + k, 229 - k, 220 - 2 * k, 1);
           r.Fill(10 + k, 10 + k, 1, 220 - 2 * k);
           r.Fill(229 - k, 10 + k, 1, 220 - 2 * k);
         }
       });
     }},
    {"DarkToTheEdges", [] {
       return Drawn(130, 70, [](Raster& r) {
         r.Fill(0, 0, 130, 70);
         for (int i = 0; i < 12; ++i) r.Ring(10 + 10 * i, 35, 6, 3);
       });
     }},
    {"ManyShapesInTiles", [] {
       std::uint32_t seed = 3;
       return Drawn(900, 700, [&](Raster& r) {
         for (int i = 0; i < 60; ++i)
           r.Ring(static_cast<int>(Next(seed) % 900), static_cast<int>(Next(seed) % 700), 6 + static_cast<int>(Next(seed) % 40), 3);
         for (int i = 0; i < 300; ++i) r.Set(static_cast<int>(Next(seed) % 900), static_cast<int>(Next(seed) % 700));
       });
     }},
    {"GreyNearTheLimit", [] {
       std::uint32_t seed = 8;
       return Coloured(RandomPicture(seed, 300, 220), seed);
     }},
};

class TracedPictures : public ::testing::TestWithParam<TiePicture> {};

TEST_P(TracedPictures, TraceAsTheLibrarySteps) {
  const auto file = GetParam().file();
  ravelpen::CDibImage image;
  image.SetBytes(file);
  TracePolylineArray traced;
  ASSERT_EQ(image.TraceToPolylines(traced), 0);
  const auto width = static_cast<int>(file[18] | file[19] << 8), height = static_cast<int>(file[22] | file[23] << 8);
  const TracePolylineArray steps = TraceThrough(kLibrarySteps, file, width, height);
  ASSERT_FALSE(steps.empty());
  ASSERT_EQ(traced.size(), steps.size());
  for (std::size_t k = 0; k < steps.size(); ++k)
    ExpectSamePoints(traced[k], steps[k], std::string(GetParam().name) + " polyline " + std::to_string(k));
}

INSTANTIATE_TEST_SUITE_P(Ties, TracedPictures, ::testing::ValuesIn(kTiePictures),
                         [](const auto& info) { return std::string(info.param.name); });

// Every point of every polyline, in order, as bits.
std::uint64_t Fingerprint(const TracePolylineArray& result) {
  std::uint64_t hash = 14695981039346656037ull;
  auto mix = [&](std::uint32_t v) {
    for (int i = 0; i < 4; ++i) hash = (hash ^ ((v >> (8 * i)) & 0xFF)) * 1099511628211ull;
  };
  for (const auto& polyline : result) {
    mix(static_cast<std::uint32_t>(polyline.size()));
    for (const TracePoint& p : polyline) {
      mix(std::bit_cast<std::uint32_t>(p.x));
      mix(std::bit_cast<std::uint32_t>(p.y));
      mix(std::bit_cast<std::uint32_t>(p.z));
    }
  }
  return hash;
}

// The benchmark's pictures trace to the outlines pinned here (fingerprints
// taken before the tracer worked on the lattice, the large square's once
// each polyline was ordered whole), and as the library steps.
TEST(TracedOrder, BenchmarkPicturesTraceAsBefore) {
  const struct {
    TracePicture picture;
    std::size_t polylines, points;
    std::uint64_t fingerprint;
  } cases[] = {
      {TracePicture::kDiscsAndBars, 8, 4806, 0x69f86e75f403ff94ull},
      {TracePicture::kTextLike, 120, 10669, 0x972b0b08ac7cb54dull},
      {TracePicture::kThinLine, 1, 2, 0x9423609c6f90888full},
      {TracePicture::kThinDiagonal, 1, 2, 0x65686ca3ad9e0c67ull},
      {TracePicture::kFilledSquare, 1, 5, 0xa7ac5c8dc52a00f4ull},
      {TracePicture::kLargeFilledSquare, 1, 5, 0x4b3a2775f943dbd0ull},
  };
  for (const auto& c : cases) {
    const Raster raster = DrawTracePicture(c.picture);
    const auto file = Bmp24(raster);
    ravelpen::CDibImage image;
    image.SetBytes(file);
    TracePolylineArray traced;
    ASSERT_EQ(image.TraceToPolylines(traced), 0);
    std::size_t points = 0;
    for (const auto& polyline : traced) points += polyline.size();
    const int which = static_cast<int>(c.picture);
    EXPECT_EQ(traced.size(), c.polylines) << which;
    EXPECT_EQ(points, c.points) << which;
    EXPECT_EQ(Fingerprint(traced), c.fingerprint) << which;
    EXPECT_EQ(Fingerprint(TraceThrough(kLibrarySteps, file, raster.width, raster.height)), c.fingerprint) << which;
  }
}

}  // namespace
