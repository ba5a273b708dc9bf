#pragma once
// Sizes the child frame and the marking display window are laid out by.

// Width of the layout pane when the splitter is first made: 64 % of the
// client width.
int InitialLayoutPaneWidth(int clientWidth);

struct ColumnWidths {
  int layout;    // column 0
  int property;  // column 1
};
// On every resize: the property pane takes 39 % and the layout pane the rest.
ColumnWidths SplitColumnWidths(int width);

struct ScreenRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
};
// The marking display window over the property pane: the pane's width and
// the lower seven tenths of its height, its bottom on the pane's bottom.
ScreenRect SyncDisplayRect(const ScreenRect& pane);
