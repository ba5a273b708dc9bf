#include "app/frames/CDisMarkFrame.h"

#include <QCloseEvent>
#include <QPainter>
#include <QPointer>
#include <QVBoxLayout>

#include "platform_qt/PictureDeviceContext.h"

CDisMarkFormView::CDisMarkFormView(QWidget* parent) : QWidget(parent) {
  setObjectName("CDisMarkFormView");
  setWindowTitle("marking...");
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, Qt::white);
  setPalette(pal);
}

CDisMarkFormView::~CDisMarkFormView() {
  if (picture_) picture_->SetChangeHandler(nullptr);
}

void CDisMarkFormView::ShowPicture(std::shared_ptr<platform_qt::PictureDeviceContext> picture) {
  if (picture_ && picture_ != picture) picture_->SetChangeHandler(nullptr);
  picture_ = std::move(picture);
  if (picture_) {
    QPointer<CDisMarkFormView> self(this);
    picture_->SetChangeHandler([self] {
      if (self) self->update();
    });
  }
  update();
}

void CDisMarkFormView::paintEvent(QPaintEvent*) {
  if (!picture_) return;
  QPainter painter(this);
  picture_->DrawOn(painter, 0, 0);
}

CDisMarkFrame::CDisMarkFrame(std::shared_ptr<CVendrikDoc> document, QWidget* parent)
    : QWidget(parent, Qt::Tool), document_(std::move(document)) {
  setObjectName("CDisMarkFrame");
  setAttribute(Qt::WA_DeleteOnClose);
}

CDisMarkFrame::~CDisMarkFrame() = default;

bool CDisMarkFrame::LoadFrame(const std::string& resourceString) {
  setWindowTitle(QString::fromStdString(DocStringLine(resourceString, 0)));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  view_ = new CDisMarkFormView(this);
  layout->addWidget(view_);
  return true;
}

void CDisMarkFrame::closeEvent(QCloseEvent* event) {
  if (onClose_) {
    auto handler = std::move(onClose_);
    onClose_ = nullptr;
    handler(this);
  }
  QWidget::closeEvent(event);
}
