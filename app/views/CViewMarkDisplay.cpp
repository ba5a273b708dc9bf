#include "app/views/CViewMarkDisplay.h"

#include <QPointer>
#include <QThread>

#include "app/frames/CChildFrame.h"
#include "app/frames/CDisMarkFrame.h"
#include "app/views/CVendrikView.h"
#include "platform_qt/PictureDeviceContext.h"
#include "platform_qt/UiThreadPost.h"

CViewMarkDisplay::CViewMarkDisplay(CVendrikView& view)
    : view_(view), picture_(std::make_shared<platform_qt::PictureDeviceContext>()) {}

CViewMarkDisplay::~CViewMarkDisplay() = default;

void CViewMarkDisplay::ShowSyncDisplay(bool show) {
  QPointer<CVendrikView> view(&view_);
  auto showOrHide = [view, show] {
    if (view && view->ChildFrame() != nullptr) view->ChildFrame()->ShowSyncDisplay(view->GetDocument(), show ? 1 : 0);
  };
  // At a job's start the display must stand before its picture is made; at
  // its end the worker asks, and the answer goes ahead of the job's end
  // message.
  if (QThread::currentThread() == view_.thread()) showOrHide();
  else platform_qt::PostToUiThread(showOrHide);
}

CDisMarkFormView* CViewMarkDisplay::FormView() const {
  CChildFrame* frame = view_.ChildFrame();
  if (frame == nullptr || frame->DisplayFrame() == nullptr) return nullptr;
  return frame->DisplayFrame()->FormView();
}

platform::DeviceContext* CViewMarkDisplay::GetPreviewDC() {
  CDisMarkFormView* form = FormView();
  if (form == nullptr) return nullptr;
  picture_->Reset(form->width(), form->height(), RGB(255, 255, 255));
  form->ShowPicture(picture_);
  return picture_.get();
}

void CViewMarkDisplay::GetClientSize(int& width, int& height) {
  width = 0;
  height = 0;
  if (CDisMarkFormView* form = FormView()) {
    width = form->width();
    height = form->height();
  }
}
