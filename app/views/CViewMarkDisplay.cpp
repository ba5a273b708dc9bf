#include "app/views/CViewMarkDisplay.h"

#include <QMetaObject>
#include <QPointer>

#include "app/frames/CChildFrame.h"
#include "app/frames/CDisMarkFrame.h"
#include "app/views/CVendrikView.h"
#include "platform_qt/PictureDeviceContext.h"

CViewMarkDisplay::CViewMarkDisplay(CVendrikView& view)
    : view_(view), picture_(std::make_shared<platform_qt::PictureDeviceContext>()) {}

CViewMarkDisplay::~CViewMarkDisplay() = default;

void CViewMarkDisplay::ShowSyncDisplay(bool show) {
  QPointer<CVendrikView> view(&view_);
  QMetaObject::invokeMethod(
      &view_,
      [view, show] {
        if (view && view->ChildFrame() != nullptr) view->ChildFrame()->ShowSyncDisplay(view->GetDocument(), show ? 1 : 0);
      },
      Qt::AutoConnection);
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
