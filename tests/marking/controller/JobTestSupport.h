#pragma once
// Doubles of the windows around the marking controller: a document of
// elements, a layout view that takes the done messages like the real one, a
// main frame with progress bars, a marking display and a recorder.
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "document/geometry/CPointList.h"
#include "document/objects/CObjElement.h"
#include "document/objects/CObjLine.h"
#include "document/objects/CObjPolyLine.h"
#include "document/params/CDrawProperity.h"
#include "marking/controller/ControllerMessages.h"
#include "marking/controller/MarkInterfaces.h"
#include "platform/DeviceContext.h"
#include "platform/Messages.h"

class TestDocument : public IMarkDocument {
 public:
  TestDocument() {
    auto* record = new CDrawProperity();
    elements.push_back(std::make_unique<CObjElement>(
        CObjCreateRecord{"", OBJ_PROPERITY, record, static_cast<int>(sizeof(CDrawProperity)), {}}));
  }
  CDrawProperity& Record() { return *elements[0]->GetObjectAs<CDrawProperity>(); }
  CObjElement* AddLine(CDoublePoint a, CDoublePoint b, int layer = 0) {
    auto* line = new CObjLine(CDoublePoint(a.x, a.y, 0), CDoublePoint(b.x, b.y, 1));
    return Add(new CObjElement(CObjCreateRecord{"Line", OBJ_LINE, line, static_cast<int>(sizeof(CObjLine)), {}}),
               layer);
  }
  CObjElement* AddPolyline(std::vector<CDoublePoint> points, int layer = 0, int closed = 0) {
    CPointList list;
    for (std::size_t i = 0; i < points.size(); ++i) list.Add(CDoublePoint(points[i].x, points[i].y, i ? 1 : 0));
    auto* poly = new CObjPolyLine(list, closed, 0);
    return Add(
        new CObjElement(CObjCreateRecord{"Poly", OBJ_POLYLINE, poly, static_cast<int>(sizeof(CObjPolyLine)), {}}),
        layer);
  }
  int GetElementCount() const override { return static_cast<int>(elements.size()); }
  CObjElement* GetElement(int i) const override { return elements[i].get(); }
  bool SaveIfNamed() override {
    ++saves;
    return false;
  }
  std::vector<std::unique_ptr<CObjElement>> elements;
  std::atomic<int> saves{0};

 private:
  CObjElement* Add(CObjElement* e, int layer) {
    e->layer = layer;
    e->RefreshTypeObject();
    e->UpdateBoundRect();
    elements.emplace_back(e);
    return e;
  }
};

// Takes WM_MARK_OBJECT_DONE as the layout view does (clears the busy flag)
// and keeps every message.
class TestView : public IMarkView, public platform::MessageTarget {
 public:
  bool Post(platform::Message m) override {
    if (m.msg == WM_MARK_OBJECT_DONE) {
      auto* e = reinterpret_cast<CObjElement*>(m.wParam);
      std::atomic_ref<int>(e->flag).store(0);
      if (onObjectDone) onObjectDone(e);
    }
    std::lock_guard lock(mutex_);
    messages_.push_back(m);
    return true;
  }
  platform::MessageTarget* GetViewTarget() override { return this; }
  std::vector<CObjElement*> GetSelection() override { return selection; }
  void StartCountdown(int n) override { Countdown("start " + std::to_string(n)); }
  void UpdateCountdown(int n) override { Countdown("update " + std::to_string(n)); }
  void EndCountdown() override { Countdown("end"); }
  void RefreshPointed(int flag) override { Log("refresh " + std::to_string(flag)); }
  bool IsPaperPrintOn() override { return paperPrint; }
  bool EditPointerPosition(double& x, double& y) override {
    x = editX;
    y = editY;
    return true;
  }
  ILinkHost* GetPropertyView() override { return linkHost; }

  std::vector<platform::Message> Messages() {
    std::lock_guard lock(mutex_);
    return messages_;
  }
  int Count(UINT msg, WPARAM wParam = ~WPARAM(0)) {
    int n = 0;
    for (const auto& m : Messages())
      if (m.msg == msg && (wParam == ~WPARAM(0) || m.wParam == wParam)) ++n;
    return n;
  }
  std::vector<std::string> Log() {
    std::lock_guard lock(mutex_);
    return log_;
  }

  std::vector<CObjElement*> selection;
  bool paperPrint = false;
  double editX = 0, editY = 0;
  ILinkHost* linkHost = nullptr;
  std::function<void(CObjElement*)> onObjectDone;
  // Called with each countdown call as logged ("start 3", "update 2", "end"),
  // on the job's thread: what the operator does while the seconds run.
  std::function<void(const std::string&)> onCountdown;

 private:
  void Countdown(const std::string& s) {
    Log(s);
    if (onCountdown) onCountdown(s);
  }
  void Log(const std::string& s) {
    std::lock_guard lock(mutex_);
    log_.push_back(s);
  }
  std::mutex mutex_;
  std::vector<platform::Message> messages_;
  std::vector<std::string> log_;
};

class TestBar : public IProgressBar {
 public:
  explicit TestBar(std::vector<int>* positions) : positions_(positions) {}
  void SetRange(int, int) override {}
  void SetStep(int) override {}
  void SetPos(int pos) override {
    if (positions_) positions_->push_back(pos);
  }

 private:
  std::vector<int>* positions_;
};

class TestFrame : public IMarkFrame {
 public:
  platform::MessageTarget* GetFrameTarget() override { return &queue; }
  std::unique_ptr<IProgressBar> CreatePaneControl(int paneId, int) override {
    if (refuseBars) return nullptr;
    return std::make_unique<TestBar>(paneId == ID_PANE_PROGRESS_TOTAL ? &overall : nullptr);
  }
  void ShowCursorPos(double x, double y) override { cursor.emplace_back(x, y); }
  // The messages posted so far, in order.
  std::vector<platform::Message> Take() {
    auto got = queue.Drain();
    taken.insert(taken.end(), got.begin(), got.end());
    return taken;
  }
  std::vector<WPARAM> Finished() {
    std::vector<WPARAM> out;
    for (const auto& m : Take())
      if (m.msg == WM_MARK_FINISHED) out.push_back(m.wParam);
    return out;
  }
  platform::QueueMessageTarget queue;
  std::vector<platform::Message> taken;
  bool refuseBars = false;
  std::vector<int> overall;
  std::vector<std::pair<double, double>> cursor;
};

class TestDisplay : public IMarkDisplay {
 public:
  void ShowSyncDisplay(bool show) override { shows.push_back(show); }
  platform::DeviceContext* GetPreviewDC() override { return &dc; }
  void GetClientSize(int& w, int& h) override {
    w = 410;
    h = 310;
  }
  std::vector<bool> shows;
  platform::RecordingDeviceContext dc;
};

class TestRecorder : public IMarkRecorder {
 public:
  int Open(IMarkDocument&, bool airOn, bool) override {
    ++opens;
    open = airOn;
    return refuse ? 0 : 1;
  }
  bool IsOpen() const override { return open; }
  void Insert(IMarkDocument&) override { ++inserts; }
  void Close() override {
    open = false;
    ++closes;
  }
  bool open = false;
  bool refuse = false;
  int opens = 0, inserts = 0, closes = 0;
};
