#include "app/views/CVendrikView.h"

#include <QPainter>
#include <memory>

#include "values/ShellMessages.h"
#include "app/frames/CChildFrame.h"
#include "app/frames/CMainFrame.h"
#include "values/ShellValues.h"
#include "document/doc/CVendrikDoc.h"
#include "document/mrk/MrkFile.h"
#include "document/objects/CObjElement.h"
#include "document/params/CDrawProperity.h"
#include "platform_qt/QPainterDeviceContext.h"
#include "platform_qt/QtMessageTarget.h"

namespace {

// Reserved codes that never draw.
bool IsDrawnType(int type) {
  switch (type) {
    case OBJ_ELLIPSE:
    case OBJ_OLDBARCODE:
    case OBJ_RESERVED12:
    case OBJ_RESERVED13:
    case OBJ_RESERVED14:
    case OBJ_RESERVED18:
    case OBJ_RESERVED20:
      return false;
    default:
      return true;
  }
}

std::unique_ptr<CObjElement> NewParameterElement() {
  return std::make_unique<CObjElement>(
      CObjCreateRecord{"", OBJ_PROPERITY, new CDrawProperity(), static_cast<int>(sizeof(CDrawProperity)), {}});
}

}  // namespace

CVendrikView::CVendrikView(QWidget* parent) : QWidget(parent) {
  setObjectName("CVendrikView");
  setFocusPolicy(Qt::StrongFocus);
  target_ = std::make_unique<platform_qt::QtMessageTarget>([this](const platform::Message& m) { OnMessage(m); });
}

CVendrikView::~CVendrikView() { SetDocument(nullptr); }

platform::MessageTarget& CVendrikView::Target() { return *target_; }

void CVendrikView::SetMessageHandler(std::function<void(const platform::Message&)> handler) {
  handler_ = std::move(handler);
}

void CVendrikView::SetDocument(CVendrikDoc* document) {
  if (document_ != nullptr) document_->RemoveView(target_.get());
  document_ = document;
  if (document_ != nullptr) document_->AddView(target_.get(), true);
}

void CVendrikView::OnInitialUpdate() {
  if (document_ == nullptr) return;
  // Building the record also corrects the machine settings' ranges, which
  // the work area is drawn from.
  document_->Objects().Add(NewParameterElement());
  update();
}

void CVendrikView::EnsureParameterRecord() {
  CObjPtrArray& objects = document_->Objects();
  const CObjElement* first = objects.GetAt(0);
  if (first == nullptr || first->type != OBJ_PROPERITY || first->GetObjectAs<CDrawProperity>() == nullptr) {
    objects.InsertAt(0, NewParameterElement());
  }
}

bool CVendrikView::OnLoadMrkFile(const std::string& path) {
  if (document_ == nullptr) return false;
  document_->DeleteAllObjects();
  // The whole path goes to the reader: a path cut to a fixed buffer would
  // name another file.
  const int read = ReadMrkFile(path, document_->Objects());
  // Whatever the file held, the layout keeps its parameter record at index 0
  // (a refused file leaves nothing in the array).
  EnsureParameterRecord();
  update();
  if (read == 0) return false;

  document_->SetFilePath(path);
  document_->SetSavedState(0);
  document_->SetTitle(path);
  if (frame_ != nullptr) frame_->UpdateTitle();
  const auto* record = document_->Objects().GetAt(0)->GetObjectAs<CDrawProperity>();
  const int total = record != nullptr ? record->GetContinuousCount() : 0;
  if (mainFrame_ != nullptr) {
    mainFrame_->UpdateFrameTitle();
    mainFrame_->Target().PostMessage(WM_SHOW_MARK_STATUS, static_cast<WPARAM>(total), 0);
    mainFrame_->ShowMarkCount(0, total);
    mainFrame_->UpdateCommandUI();  // Save and the export now have objects to act on
  }
  return true;
}

void CVendrikView::OnMessage(const platform::Message& message) {
  if (message.msg == WM_LOAD_MRK_FILE && message.payload) {
    OnLoadMrkFile(*std::static_pointer_cast<std::string>(message.payload));
  }
  if (handler_) handler_(message);
}

double CVendrikView::WorkAreaWidthMm() const { return g_machineSet.rangeX; }

double CVendrikView::WorkAreaHeightMm() const { return g_machineSet.rangeY; }

void CVendrikView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), QColor(242, 240, 246));
  const double w = WorkAreaWidthMm() * g_pxPerMmX;
  const double h = WorkAreaHeightMm() * g_pxPerMmY;
  const QRectF area((width() - w) / 2.0, (height() - h) / 2.0, w, h);
  p.fillRect(area, Qt::white);
  p.setPen(QPen(Qt::black, 1));
  p.drawRect(area);
  QPen axes(QColor(255, 0, 0), 1, Qt::DashDotLine);
  p.setPen(axes);
  p.drawLine(QPointF(area.left(), area.center().y()), QPointF(area.right(), area.center().y()));
  p.drawLine(QPointF(area.center().x(), area.top()), QPointF(area.center().x(), area.bottom()));

  if (document_ == nullptr) return;
  // The objects about the work area's centre: pictures first, so that every
  // other object lies on top of them; element 0 draws nothing.
  platform_qt::QPainterDeviceContext dc(p);
  const int originX = static_cast<int>(area.center().x());
  const int originY = static_cast<int>(area.center().y());
  const CObjPtrArray& objects = document_->Objects();
  for (const bool pictures : {true, false}) {
    for (int i = 1; i < objects.GetSize(); ++i) {
      CObjElement* element = objects.GetAt(i);
      if (element == nullptr || (element->type == OBJ_PICTURE) != pictures || !IsDrawnType(element->type)) continue;
      if (element->layer < 0 || element->layer > 3 || !layerOn_[element->layer]) continue;
      const platform::DcPen pen{platform::PS_SOLID, 1, static_cast<COLORREF>(element->color)};
      element->Draw(dc, originX, originY, 1.0, pen, pen, CDoublePoint{});
    }
  }
}
