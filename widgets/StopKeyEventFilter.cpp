#include "widgets/StopKeyEventFilter.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

#include "widgets/StopKeyFilter.h"

namespace {

// Whether the key may stop the job here. A window of the system hands the
// key on to its focus widget (or to itself without one), where it is seen
// again. A modal dialog or a menu takes its own keys: the operator answers
// the stop question with them, or closes the menu.
bool MayStopAt(QObject* receiver) {
  const auto* widget = qobject_cast<QWidget*>(receiver);
  if (widget == nullptr) return false;
  const QWidget* window = widget->window();
  return !window->isModal() && window->windowType() != Qt::Popup;
}

}  // namespace

void StopKeyEventFilter::InstallOn(QWidget* root) {
  auto* filter = new StopKeyEventFilter(root);
  root->installEventFilter(filter);
  for (QWidget* child : root->findChildren<QWidget*>()) child->installEventFilter(filter);
}

void StopKeyEventFilter::InstallOnApplication(QObject* owner) {
  if (QCoreApplication* app = QCoreApplication::instance()) app->installEventFilter(new StopKeyEventFilter(owner));
}

bool StopKeyEventFilter::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const int vk = widgets::VirtualKeyOf(static_cast<QKeyEvent*>(event)->key());
    if ((vk == 13 || vk == 27 || vk == 32) && MayStopAt(watched) && widgets::StopKeyTaken(vk))
      return true;
  }
  return QObject::eventFilter(watched, event);
}
