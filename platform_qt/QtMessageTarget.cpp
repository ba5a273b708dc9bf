#include "platform_qt/QtMessageTarget.h"

#include <QCoreApplication>
#include <mutex>

#include "platform/RaceCheck.h"

namespace platform_qt {
namespace {

class MessageEvent : public QEvent {
 public:
  explicit MessageEvent(platform::Message message)
      : QEvent(QtMessageTarget::EventType()), message_(std::move(message)) {}
  // Also when it is dropped undelivered (its target went first).
  ~MessageEvent() override { platform::TakeOver(this); }
  const platform::Message& message() const { return message_; }

 private:
  platform::Message message_;
};

}  // namespace

// Shared between the object and its handles, and itself the handle: cleared
// when the object dies, so a handle never posts to freed memory.
struct QtMessageTarget::Liveness : platform::MessageTarget {
  std::mutex mutex;
  QtMessageTarget* target = nullptr;

  bool Post(platform::Message message) override {
    std::lock_guard lock(mutex);
    if (!target) return false;
    // Posted events to one receiver are delivered in posting order.
    auto* event = new MessageEvent(std::move(message));
    platform::HandOver(event);
    QCoreApplication::postEvent(target, event);
    return true;
  }
};

QtMessageTarget::QtMessageTarget(Handler handler, QObject* parent)
    : QObject(parent), liveness_(std::make_shared<Liveness>()), handler_(std::move(handler)) {
  liveness_->target = this;
}

QtMessageTarget::~QtMessageTarget() {
  std::lock_guard lock(liveness_->mutex);
  liveness_->target = nullptr;
  // Events still queued for this object are discarded by ~QObject.
}

bool QtMessageTarget::Post(platform::Message message) { return liveness_->Post(std::move(message)); }

std::shared_ptr<platform::MessageTarget> QtMessageTarget::Handle() const { return liveness_; }

void QtMessageTarget::SetHandler(Handler handler) { handler_ = std::move(handler); }

QEvent::Type QtMessageTarget::EventType() {
  static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
  return type;
}

bool QtMessageTarget::event(QEvent* e) {
  platform::TakeOver(e);  // before the type is read: the event was built on the posting thread
  if (e->type() != EventType()) return QObject::event(e);
  if (handler_) handler_(static_cast<MessageEvent*>(e)->message());
  return true;
}

}  // namespace platform_qt
