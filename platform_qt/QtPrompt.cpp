#include "platform_qt/QtPrompt.h"

#include <QApplication>
#include <QMessageBox>
#include <QThread>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

#include "platform_qt/UiThreadPost.h"

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

namespace {

// A question asked from another thread, and its answer.
struct PendingQuestion {
  QPointer<QWidget> parent;
  platform::PromptRequest request;
  std::mutex mutex;
  std::condition_variable cv;
  bool done = false;
  int answer = 0;
};

}  // namespace

int QtPrompt::Ask(const platform::PromptRequest& request) {
  auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
  if (!app || QCoreApplication::closingDown()) return UnansweredResult(request.type);
  if (QThread::currentThread() == app->thread()) return AskOnUiThread(parent_.data(), request);
  // Carried to the UI thread; the answer comes back through our own lock, and
  // a closing application does not leave the asker waiting for ever.
  auto pending = std::make_shared<PendingQuestion>();
  pending->parent = parent_;
  pending->request = request;
  pending->answer = UnansweredResult(request.type);
  const bool posted = PostToUiThread([pending] {
    const int answer = AskOnUiThread(pending->parent.data(), pending->request);
    std::lock_guard lock(pending->mutex);
    pending->answer = answer;
    pending->done = true;
    pending->cv.notify_all();
  });
  if (!posted) return UnansweredResult(request.type);
  std::unique_lock lock(pending->mutex);
  while (!pending->done) {
    if (pending->cv.wait_for(lock, std::chrono::milliseconds(100), [&] { return pending->done; })) break;
    if (!QCoreApplication::instance() || QCoreApplication::closingDown()) break;
  }
  return pending->answer;
}

int QtPrompt::AskOnUiThread(QWidget* parent, const platform::PromptRequest& request) {
  QMessageBox box(parent);
  ConfigureMessageBox(box, request);
  return AnswerFromButton(box.exec(), request.type);
}

}  // namespace platform_qt
