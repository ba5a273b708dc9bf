// One frame of the layout view: 1,000 polylines of 1,000 points each (1M
// points) on a 300 x 300 mm work area, painted into a 1280 x 800 viewport at
// zoom 1 and at the highest zoom (24), centred. "Redraw" is a frame after a
// scroll or an edit (the whole viewport drawn again); "Cached" a frame when
// nothing changed (the viewport's picture copied). Peak memory is reported
// as a counter (VmHWM of the process, kB).
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>

#include "app/views/model/CVendrikViewModel.h"
#include "document/doc/CVendrikDoc.h"
#include "document/objects/CObjElement.h"
#include "document/objects/CObjPolyLine.h"
#include "platform/SettingsStore.h"
#include "platform_qt/QPainterDeviceContext.h"
#include "values/ShellValues.h"

namespace {

constexpr int kObjects = 1000;
constexpr int kPointsPerObject = 1000;
constexpr int kWidth = 1280;
constexpr int kHeight = 800;

long PeakKb() {
  std::FILE* f = std::fopen("/proc/self/status", "r");
  if (f == nullptr) return 0;
  char line[256];
  long kb = 0;
  while (std::fgets(line, sizeof line, f) != nullptr) {
    if (std::strncmp(line, "VmHWM:", 6) == 0) kb = std::atol(line + 6);
  }
  std::fclose(f);
  return kb;
}

// Wavy rings over a 30 x 33 grid of the work area.
CVendrikDoc& Layout() {
  static CVendrikDoc* document = [] {
    platform::SetSettingsStore(platform::MakeMemorySettingsStore());
    g_machineSet.rangeX = 300;
    g_machineSet.rangeY = 300;
    g_pxPerMmX = 4;
    g_pxPerMmY = 4;
    g_distanceHor = 1;
    g_distanceVer = 1;
    auto* doc = new CVendrikDoc();
    doc->Objects().Add(std::make_unique<CObjElement>());  // element 0 draws nothing
    for (int i = 0; i < kObjects; ++i) {
      const double cx = -140 + (i % 30) * 9.5;
      const double cy = -140 + (i / 30) * 8.5;
      CPointList list;
      for (int k = 0; k < kPointsPerObject; ++k) {
        const double a = 2 * M_PI * k / kPointsPerObject;
        const double r = 3.5 + 0.4 * std::sin(12 * a);
        list.Add(CDoublePoint(cx + r * std::cos(a), cy + r * std::sin(a), k == 0 ? 0 : 1));
      }
      auto* poly = new CObjPolyLine(list, 1, 0);
      auto element = std::make_unique<CObjElement>(
          CObjCreateRecord{"poly", OBJ_POLYLINE, poly, static_cast<int>(sizeof(CObjPolyLine)), {}});
      element->RefreshTypeObject();
      element->UpdateBoundRect();
      doc->Objects().Add(std::move(element));
    }
    return doc;
  }();
  return *document;
}

struct Frame {
  CVendrikViewModel model;
  QImage picture{kWidth, kHeight, QImage::Format_RGB32};
  platform::DcPoint viewport;

  explicit Frame(float zoom) {
    model.SetDocument(&Layout());
    model.m_zoom = zoom;
    g_distanceHor = 1;
    g_distanceVer = 1;
    model.m_scrollWidth = CVendrikViewModel::ScrollExtent(g_machineSet.rangeX, g_pxPerMmX, zoom, kWidth);
    model.m_scrollHeight = CVendrikViewModel::ScrollExtent(g_machineSet.rangeY, g_pxPerMmY, zoom, kHeight);
    model.m_centreX = model.m_scrollWidth / 2;
    model.m_centreY = model.m_scrollHeight / 2;
    viewport = {model.m_centreX - kWidth / 2, model.m_centreY - kHeight / 2};
  }
  void Redraw() {
    QPainter painter(&picture);
    platform_qt::QPainterDeviceContext dc(painter, &picture);
    model.OnDraw(dc, viewport, kWidth, kHeight);
  }
};

void BM_Redraw(benchmark::State& state) {
  Frame frame(static_cast<float>(state.range(0)));
  for (auto _ : state) frame.Redraw();
  state.counters["peak_kB"] = static_cast<double>(PeakKb());
  state.SetItemsProcessed(state.iterations() * static_cast<long>(kObjects) * kPointsPerObject);
}

// The objects' own walk over their points, drawing nothing.
class NullContext : public platform::RecordingDeviceContext {
 public:
  platform::DcPoint MoveTo(int x, int y) override { return pos_ = {x, y}; }
  void LineTo(int x, int y) override { pos_ = {x, y}; }
  platform::DcPoint GetCurrentPosition() const override { return pos_; }
  platform::DcPen SelectPen(const platform::DcPen& pen) override { return pen; }
  void FillSolidRect(int, int, int, int, COLORREF) override {}
  void Rectangle(int, int, int, int) override {}
  void Polyline(const platform::DcPoint*, int count) override {
    ++runs;
    points += count;
  }
  long runs = 0;
  long points = 0;

 private:
  platform::DcPoint pos_;
};

void BM_WalkOnly(benchmark::State& state) {
  Frame frame(static_cast<float>(state.range(0)));
  NullContext dc;
  for (auto _ : state) frame.model.OnDraw(dc, frame.viewport, kWidth, kHeight);
  state.counters["runs"] = static_cast<double>(dc.runs) / state.iterations();
  state.counters["points"] = static_cast<double>(dc.points) / state.iterations();
}

void BM_Cached(benchmark::State& state) {
  Frame frame(static_cast<float>(state.range(0)));
  frame.Redraw();
  QImage screen(kWidth, kHeight, QImage::Format_RGB32);
  for (auto _ : state) {
    QPainter painter(&screen);
    painter.drawImage(0, 0, frame.picture);
  }
  state.counters["peak_kB"] = static_cast<double>(PeakKb());
}

}  // namespace

BENCHMARK(BM_Redraw)->Arg(1)->Arg(24)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WalkOnly)->Arg(1)->Arg(24)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Cached)->Arg(1)->Arg(24)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
