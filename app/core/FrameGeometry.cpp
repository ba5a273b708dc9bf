#include "app/core/FrameGeometry.h"

int InitialLayoutPaneWidth(int clientWidth) { return clientWidth * 64 / 100; }

ColumnWidths SplitColumnWidths(int width) {
  const int property = width * 39 / 100;
  return {width - property, property};
}

ScreenRect SyncDisplayRect(const ScreenRect& pane) {
  // The height is worked out from the pane alone, so a pane low on the screen
  // can never give a negative height.
  const int height = pane.Height() > 0 ? pane.Height() * 7 / 10 : 0;
  ScreenRect r;
  r.left = pane.left;
  r.right = pane.right;
  r.bottom = pane.bottom;
  r.top = pane.bottom - height;
  return r;
}
