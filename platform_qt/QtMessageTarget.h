#pragma once
// A message target that delivers on the thread its object lives in (the UI
// thread for windows). Posting is safe from any thread and keeps the order of
// the messages; each arrives as a posted Qt event and goes to the handler.
#include <QEvent>
#include <QObject>
#include <functional>
#include <memory>

#include "platform/Messages.h"

namespace platform_qt {

class QtMessageTarget : public QObject, public platform::MessageTarget {
 public:
  using Handler = std::function<void(const platform::Message&)>;

  explicit QtMessageTarget(Handler handler, QObject* parent = nullptr);
  ~QtMessageTarget() override;
  QtMessageTarget(const QtMessageTarget&) = delete;
  QtMessageTarget& operator=(const QtMessageTarget&) = delete;

  // Any thread. Returns false once the object is being destroyed.
  bool Post(platform::Message message) override;

  // A target to hand to workers: it may outlive this object, and posting
  // through it afterwards returns false instead of reaching a dead object.
  std::shared_ptr<platform::MessageTarget> Handle() const override;

  // Replaces the handler (on the object's thread).
  void SetHandler(Handler handler);

  // The Qt event type that carries a message.
  static QEvent::Type EventType();

 protected:
  bool event(QEvent* e) override;

 private:
  struct Liveness;
  std::shared_ptr<Liveness> liveness_;
  Handler handler_;
};

}  // namespace platform_qt
