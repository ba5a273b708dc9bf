#pragma once
// The marking controller, owned by the main frame. So far only what the frame
// needs of it: creation with the frame as its parent, the end-of-marking
// handler and the pointer to the marking display window. The job flow comes
// with the marking engine.
#include "platform/Messages.h"
#include "platform/WinTypes.h"

class CDisMarkFormView;

class CMarkControlWnd {
 public:
  CMarkControlWnd() = default;
  virtual ~CMarkControlWnd() = default;
  CMarkControlWnd(const CMarkControlWnd&) = delete;
  CMarkControlWnd& operator=(const CMarkControlWnd&) = delete;

  // Hidden child of the frame with the given id; false when it cannot be made.
  bool Create(platform::MessageTarget* parentFrame, int id);
  bool IsCreated() const { return created_; }
  int Id() const { return id_; }
  platform::MessageTarget* ParentFrame() const { return parent_; }

  // WM_MARK_FINISHED, passed on by the main frame.
  void EndMarking(WPARAM wParam, LPARAM lParam);
  int EndMarkingCalls() const { return endCalls_; }

  // The marking display window; cleared when the display frame closes.
  CDisMarkFormView* DisplayWindow() const { return display_; }
  void SetDisplayWindow(CDisMarkFormView* view) { display_ = view; }

 private:
  bool created_ = false;
  int id_ = 0;
  platform::MessageTarget* parent_ = nullptr;
  int endCalls_ = 0;
  CDisMarkFormView* display_ = nullptr;
};
