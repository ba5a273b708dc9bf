#pragma once
// The layout pane of a layout window: a scroll area over the work area. The
// view's state and commands live in its model (CVendrikViewModel); this
// widget maps the window's events to it, keeps the picture of the visible
// viewport (never of the whole scroll area, which at the highest zoom would
// be gigapixels) and paints it. It also reads a project file into the
// document when the document's load request arrives, and prints the layout.
#include <QAbstractScrollArea>
#include <QImage>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/views/model/CVendrikViewModel.h"
#include "platform/Messages.h"

class QPrinter;
class CChildFrame;
class CViewMarkDialogs;
class CViewMarkDisplay;
class CViewSettingsHost;
class CMainFrame;
class CVendrikDoc;

class CVendrikView : public QAbstractScrollArea, public IViewWindow {
 public:
  explicit CVendrikView(QWidget* parent = nullptr);
  ~CVendrikView() override;

  CVendrikViewModel& Model() { return *model_; }

  // Where other windows post the layout view's messages.
  platform::MessageTarget& Target();
  // Every message also reaches this handler, after the view has acted on it
  // (tests listen here).
  void SetMessageHandler(std::function<void(const platform::Message&)> handler);

  void SetChildFrame(CChildFrame* frame);
  CChildFrame* ChildFrame() const { return frame_; }
  CViewMarkDialogs* MarkDialogs() const { return markDialogs_.get(); }
  void SetMainFrame(CMainFrame* frame);
  // Registers the view with the document (and leaves the previous one);
  // null detaches it.
  void SetDocument(CVendrikDoc* document);
  CVendrikDoc* GetDocument() const { return document_; }

  // Settings files, hardware, scroll extents and the layout's parameter record.
  void OnInitialUpdate();
  // WM_LOAD_MRK_FILE: the document's elements become those of the file.
  // False when the reader refused the file.
  bool OnLoadMrkFile(const std::string& path);
  // The window-destroy handler (ports and the start button); safe twice.
  void OnDestroy();

  // Work area of the layout in millimetres (the machine settings' ranges).
  double WorkAreaWidthMm() const;
  double WorkAreaHeightMm() const;

  // The work area's centre in this widget's viewport pixels.
  QPoint OriginInViewport() const;

  // The layout fitted to one page of the printer.
  void PrintTo(QPrinter& printer);
  // The view's commands (printing, optimise speed); false when the id is
  // not one of them. With execute false only tells whether it handles it.
  bool OnCmdMsg(int id, bool execute);
  // Whether the view or its model has a handler for the command, enabled or not.
  bool HasCommandHandler(int id) const;
  // The printer the print commands use.
  QPrinter& ProgramPrinter();

  // IViewWindow
  void Invalidate() override;
  void InvalidateRect(const CDeviceRect& rect) override;
  int ClientWidth() const override;
  int ClientHeight() const override;
  platform::DcPoint GetScrollPosition() const override;
  void SetScrollSizes(int width, int height) override;
  void ScrollToPosition(int x, int y) override;
  bool EditPointerPosition(double& x, double& y) override;

 protected:
  // Takes the repaint requests posted from other threads.
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  // Mouse and keys go to the model's editing handlers.
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  // Enter, Esc and Space first go to a running job; the arrow and paging
  // keys nudge the selection (ViewZoom.cpp).
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  // Context menu 221: border and orbit runs, delete, permit or disable marking.
  void contextMenuEvent(QContextMenuEvent* event) override;
  // Wheel zoom about the cursor (ViewZoom.cpp).
  void wheelEvent(QWheelEvent* event) override;
  // The arrow and paging keys move the selection; true when taken.
  bool NudgeKey(QKeyEvent* event);

 private:
  void OnMessage(const platform::Message& message);
  // The whole view (no rect) or a part of it to be painted again; from
  // another thread the request is posted to this one.
  void RequestRepaint(const std::optional<CDeviceRect>& rect);
  void Repaint(const std::optional<CDeviceRect>& rect);
  // The commands' enabled and checked states follow (the tool bars too).
  void StateChanged();
  void UpdateScrollBars();
  // The picture is drawn again at the new scroll position or size.
  void Scrolled();
  // Keeps the client size and scroll position for callers on other threads
  // (the marking worker's countdown and head refresh).
  void CacheGeometry();
  void UpdateCursor(bool pressed);
  // Titles and the finished count after a layout was opened or made new.
  void OnContentReplaced();
  // The settings commands the view runs with its widgets.
  void RegisterSettingsCommands();
  // Enter, Esc or Space taken by a running job.
  bool MarkingKey(QKeyEvent* event);

  std::unique_ptr<CVendrikViewModel> model_;
  bool menuWanted_ = false;  // the last right press asked for the context menu
  CChildFrame* frame_ = nullptr;
  CMainFrame* mainFrame_ = nullptr;
  CVendrikDoc* document_ = nullptr;
  std::unique_ptr<platform::MessageTarget> target_;
  std::function<void(const platform::Message&)> handler_;
  QImage picture_;
  platform::DcPoint pictureAt_{-1, -1};
  bool destroyed_ = false;
  std::atomic<int> clientWidth_{0};
  std::atomic<int> clientHeight_{0};
  std::atomic<int> scrollX_{0};
  std::atomic<int> scrollY_{0};
  std::unique_ptr<CViewMarkDialogs> markDialogs_;
  std::unique_ptr<CViewMarkDisplay> markDisplay_;
  std::unique_ptr<CViewSettingsHost> settingsHost_;
  std::unique_ptr<IViewDialogs> dialogs_;
  std::unique_ptr<QPrinter> ownPrinter_;
};
