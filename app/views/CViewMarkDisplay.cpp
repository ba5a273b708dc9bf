#include "app/views/CViewMarkDisplay.h"

#include <QMetaObject>
#include <QPointer>

#include "app/frames/CChildFrame.h"
#include "app/frames/CDisMarkFrame.h"
#include "app/views/CVendrikView.h"

void CViewMarkDisplay::ShowSyncDisplay(bool show) {
  QPointer<CVendrikView> view(&view_);
  QMetaObject::invokeMethod(
      &view_,
      [view, show] {
        if (view && view->ChildFrame() != nullptr) view->ChildFrame()->ShowSyncDisplay(view->GetDocument(), show ? 1 : 0);
      },
      Qt::AutoConnection);
}

void CViewMarkDisplay::GetClientSize(int& width, int& height) {
  width = 0;
  height = 0;
  CChildFrame* frame = view_.ChildFrame();
  if (frame == nullptr || frame->DisplayFrame() == nullptr || frame->DisplayFrame()->FormView() == nullptr) return;
  width = frame->DisplayFrame()->FormView()->width();
  height = frame->DisplayFrame()->FormView()->height();
}
