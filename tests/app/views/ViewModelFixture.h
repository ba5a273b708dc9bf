#pragma once
// The layout view's model on its own: a window double of a fixed client
// size and scroll position, the shell's values set to round numbers (a
// 100 x 80 mm work area at 4 pixels per mm, grid every 10 mm), a memory
// registry and an installation folder of its own.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/views/model/CVendrikViewModel.h"
#include "document/doc/CVendrikDoc.h"
#include "platform/SettingsStore.h"
#include "values/MachineSetRecord.h"

class RecordingViewWindow : public IViewWindow {
 public:
  void Invalidate() override { ++invalidates; }
  void InvalidateRect(const CDeviceRect& rect) override { rects.push_back(rect); }
  int ClientWidth() const override { return width; }
  int ClientHeight() const override { return height; }
  platform::DcPoint GetScrollPosition() const override { return scroll; }
  void SetScrollSizes(int w, int h) override {
    extentW = w;
    extentH = h;
  }
  void ScrollToPosition(int x, int y) override { scroll = {x, y}; }
  bool EditPointerPosition(double&, double&) override { return false; }

  int width = 600;
  int height = 500;
  platform::DcPoint scroll;
  int extentW = 0;
  int extentH = 0;
  int invalidates = 0;
  std::vector<CDeviceRect> rects;
};

class ViewModelTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // A line element in the given colour and layer, added to the document.
  CObjElement* AddLine(CDoublePoint a, CDoublePoint b, int color, int layer = 0);
  std::unique_ptr<CVendrikViewModel> MakeModel();

  std::string folder_;
  std::shared_ptr<platform::SettingsStore> settings_;
  RecordingViewWindow window_;
  CVendrikDoc document_;
  std::unique_ptr<CVendrikViewModel> model_;

 private:
  MachineSetRecord savedSet_{};
  double savedPxX_ = 0;
  double savedPxY_ = 0;
  std::string savedFolder_;
  int savedSoftType_ = 0;
};
