#include "app/frames/CDisMarkFrame.h"

#include <QCloseEvent>
#include <QVBoxLayout>

CDisMarkFormView::CDisMarkFormView(QWidget* parent) : QWidget(parent) {
  setObjectName("CDisMarkFormView");
  setWindowTitle("marking...");
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, Qt::white);
  setPalette(pal);
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
