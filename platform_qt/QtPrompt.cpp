#include "platform_qt/QtPrompt.h"

#include <QApplication>
#include <QMessageBox>
#include <QThread>

namespace platform_qt {

void ConfigureMessageBox(QMessageBox& box, const platform::PromptRequest& request) {
  box.setWindowTitle(QString::fromStdString(request.caption));
  box.setText(QString::fromStdString(request.text));
  switch (request.type & 0x0F) {
    case MB_OKCANCEL:
      box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
      box.setEscapeButton(QMessageBox::Cancel);
      break;
    case MB_YESNOCANCEL:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      box.setEscapeButton(QMessageBox::Cancel);
      break;
    case MB_YESNO:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      break;
    default:
      box.setStandardButtons(QMessageBox::Ok);
      box.setEscapeButton(QMessageBox::Ok);
      break;
  }
  switch (request.type & 0xF0) {
    case MB_ICONERROR: box.setIcon(QMessageBox::Critical); break;
    case MB_ICONQUESTION: box.setIcon(QMessageBox::Question); break;
    case MB_ICONWARNING: box.setIcon(QMessageBox::Warning); break;
    case MB_ICONINFORMATION: box.setIcon(QMessageBox::Information); break;
    default: box.setIcon(QMessageBox::NoIcon); break;
  }
}

int AnswerFromButton(int standardButton, UINT type) {
  switch (standardButton) {
    case QMessageBox::Ok: return IDOK;
    case QMessageBox::Yes: return IDYES;
    case QMessageBox::No: return IDNO;
    case QMessageBox::Cancel: return IDCANCEL;
    default: return QtPrompt::UnansweredResult(type);
  }
}

QtPrompt::QtPrompt(QWidget* parent) : parent_(parent) {}

int QtPrompt::UnansweredResult(UINT type) {
  switch (type & 0x0F) {
    case MB_OK: return IDOK;
    case MB_YESNO: return IDNO;
    default: return IDCANCEL;
  }
}

int QtPrompt::Ask(const platform::PromptRequest& request) {
  auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
  if (!app || QCoreApplication::closingDown()) return UnansweredResult(request.type);
  if (QThread::currentThread() == app->thread()) return AskOnUiThread(request);
  int answer = UnansweredResult(request.type);
  const bool invoked = QMetaObject::invokeMethod(
      app, [&] { answer = AskOnUiThread(request); }, Qt::BlockingQueuedConnection);
  return invoked ? answer : UnansweredResult(request.type);
}

int QtPrompt::AskOnUiThread(const platform::PromptRequest& request) {
  QMessageBox box(parent_.data());
  ConfigureMessageBox(box, request);
  return AnswerFromButton(box.exec(), request.type);
}

}  // namespace platform_qt
