#pragma once
// The synchronised marking display: a frame of its own over the property
// pane, which the marking controller shows while it marks. Made on first
// demand, then only shown and hidden; closing it by hand drops every pointer
// to it, so the next demand makes a new one.
#include <QWidget>
#include <functional>
#include <memory>

#include "app/frames/DocStrings.h"

class CVendrikDoc;

namespace platform_qt {
class PictureDeviceContext;
}

// The form in the frame (caption "marking..."), where the marking preview is
// drawn: it shows the picture the marking controller draws into.
class CDisMarkFormView : public QWidget {
 public:
  explicit CDisMarkFormView(QWidget* parent = nullptr);
  ~CDisMarkFormView() override;

  void ShowPicture(std::shared_ptr<platform_qt::PictureDeviceContext> picture);
  const std::shared_ptr<platform_qt::PictureDeviceContext>& Picture() const { return picture_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::shared_ptr<platform_qt::PictureDeviceContext> picture_;
};

class CDisMarkFrame : public QWidget {
 public:
  CDisMarkFrame(std::shared_ptr<CVendrikDoc> document, QWidget* parent = nullptr);
  ~CDisMarkFrame() override;

  // Title from the first line of the resource string, creation, initial update.
  bool LoadFrame(const std::string& resourceString);
  CDisMarkFormView* FormView() const { return view_; }
  CVendrikDoc* Document() const { return document_.get(); }
  // Called once when the operator closes the frame, before it goes.
  void SetCloseHandler(std::function<void(CDisMarkFrame*)> handler) { onClose_ = std::move(handler); }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  std::shared_ptr<CVendrikDoc> document_;
  CDisMarkFormView* view_ = nullptr;
  std::function<void(CDisMarkFrame*)> onClose_;
};
