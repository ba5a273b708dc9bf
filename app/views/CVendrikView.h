#pragma once
// The layout pane of a layout window. For now it shows the work area of a
// new layout and receives the messages posted to the layout view; drawing and
// editing of objects come with the layout view's own code.
#include <QWidget>
#include <functional>
#include <memory>

#include "platform/Messages.h"

class CChildFrame;

class CVendrikView : public QWidget {
 public:
  explicit CVendrikView(QWidget* parent = nullptr);
  ~CVendrikView() override;

  // Where other windows post the layout view's messages.
  platform::MessageTarget& Target();
  // Messages reach this handler on the UI thread (tests listen here).
  void SetMessageHandler(std::function<void(const platform::Message&)> handler);

  void SetChildFrame(CChildFrame* frame) { frame_ = frame; }
  CChildFrame* ChildFrame() const { return frame_; }

  // Work area of the layout in millimetres.
  double WorkAreaWidthMm() const { return workWidthMm_; }
  double WorkAreaHeightMm() const { return workHeightMm_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void OnMessage(const platform::Message& message);

  CChildFrame* frame_ = nullptr;
  std::unique_ptr<platform::MessageTarget> target_;
  std::function<void(const platform::Message&)> handler_;
  double workWidthMm_ = 0;
  double workHeightMm_ = 0;
};
