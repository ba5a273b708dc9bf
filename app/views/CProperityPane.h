#pragma once
// The property pane of a layout window (splitter pane 0,1). It will host the
// object list and the property sheet; for now it is an empty form.
#include <QWidget>

class CProperityPane : public QWidget {
 public:
  explicit CProperityPane(QWidget* parent = nullptr);
};
