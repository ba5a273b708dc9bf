#pragma once
// The layout pane of a layout window. It belongs to one document: at its
// initial update it gives a new layout its parameter record (element 0), it
// reads a project file into the document when the document's load request
// arrives, and it paints the work area with the layout's objects. Editing and
// marking come with the layout view's own code.
#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "platform/Messages.h"

class CChildFrame;
class CMainFrame;
class CVendrikDoc;

class CVendrikView : public QWidget {
 public:
  explicit CVendrikView(QWidget* parent = nullptr);
  ~CVendrikView() override;

  // Where other windows post the layout view's messages.
  platform::MessageTarget& Target();
  // Every message also reaches this handler, after the view has acted on it
  // (tests listen here).
  void SetMessageHandler(std::function<void(const platform::Message&)> handler);

  void SetChildFrame(CChildFrame* frame) { frame_ = frame; }
  void SetMainFrame(CMainFrame* frame) { mainFrame_ = frame; }
  // Registers the view with the document (and leaves the previous one);
  // null detaches it.
  void SetDocument(CVendrikDoc* document);
  CVendrikDoc* GetDocument() const { return document_; }

  // A new layout's element 0: a default parameter record with an empty name.
  void OnInitialUpdate();
  // WM_LOAD_MRK_FILE: the document's elements become those of the file.
  // False when the reader refused the file.
  bool OnLoadMrkFile(const std::string& path);

  // Work area of the layout in millimetres (the machine settings' ranges).
  double WorkAreaWidthMm() const;
  double WorkAreaHeightMm() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void OnMessage(const platform::Message& message);
  // Puts a default parameter record at index 0 unless one is there.
  void EnsureParameterRecord();

  CChildFrame* frame_ = nullptr;
  CMainFrame* mainFrame_ = nullptr;
  CVendrikDoc* document_ = nullptr;
  std::unique_ptr<platform::MessageTarget> target_;
  std::function<void(const platform::Message&)> handler_;
  int layerOn_[4] = {1, 1, 1, 1};
};
