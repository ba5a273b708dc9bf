#pragma once
// The property pane of a layout window (splitter pane 0,1). It carries the
// machine link of the property view; the object list and the property sheet
// come with the property view's own code.
#include <QWidget>
#include <memory>

#include "platform/Messages.h"

class CProperityView;

class CProperityPane : public QWidget {
 public:
  explicit CProperityPane(QWidget* parent = nullptr);
  ~CProperityPane() override;

  // The view's initial update: binds the layout view and starts the link.
  void OnInitialUpdate(platform::MessageTarget* layoutView);
  // Closes the link (the window-destroy handler); safe to call twice.
  void OnDestroy();

  CProperityView* View() const { return view_.get(); }
  platform::MessageTarget& Target();

 private:
  std::unique_ptr<platform::MessageTarget> target_;
  std::unique_ptr<CProperityView> view_;
};
