#include "platform_qt/UiThreadPost.h"

#include <QCoreApplication>
#include <memory>

#include "platform_qt/QtMessageTarget.h"

namespace platform_qt {
namespace {

using Call = std::function<void()>;

// One carrier for the whole program, made by the first thread that posts and
// handed to the application's thread at once. It is never destroyed: a call
// may be posted up to the program's last moment.
QtMessageTarget& Carrier() {
  static QtMessageTarget* const carrier = [] {
    auto* target = new QtMessageTarget([](const platform::Message& message) {
      if (message.payload) (*std::static_pointer_cast<Call>(message.payload))();
    });
    target->moveToThread(QCoreApplication::instance()->thread());
    return target;
  }();
  return *carrier;
}

}  // namespace

bool PostToUiThread(std::function<void()> call) {
  if (QCoreApplication::instance() == nullptr || QCoreApplication::closingDown()) return false;
  platform::Message message;
  message.payload = std::make_shared<Call>(std::move(call));
  return Carrier().Post(std::move(message));
}

}  // namespace platform_qt
