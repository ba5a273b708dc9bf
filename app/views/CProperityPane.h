#pragma once
// The property pane of a layout window (splitter pane 0,1): the window of the
// property view. It scrolls over a form of at least 360 by 750 (taller when
// the sheet's pages need it) that holds the object list above the property
// sheet, lays them out whenever its size or the page set changes, delivers
// the view's posted messages and carries its machine link.
#include <QScrollArea>
#include <memory>

#include "platform/Messages.h"

class CProperityView;

class CProperityPane : public QScrollArea {
 public:
  static constexpr int kFormWidth = 360;
  static constexpr int kFormHeight = 750;
  static constexpr int kFormMargin = 2;  // below a sheet taller than the form

  explicit CProperityPane(QWidget* parent = nullptr);
  ~CProperityPane() override;

  // The view's initial update: binds the layout view and starts the link.
  void OnInitialUpdate(platform::MessageTarget* layoutView);
  // Closes the link (the window-destroy handler); safe to call twice.
  void OnDestroy();

  CProperityView* View() const { return view_.get(); }
  platform::MessageTarget& Target();
  QWidget* Form() const { return form_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Dispatch(const platform::Message& message);
  void LayOut();

  QWidget* form_;
  std::unique_ptr<platform::MessageTarget> target_;
  std::unique_ptr<CProperityView> view_;
  bool linkClosed_ = false;
  bool laying_ = false;
};
