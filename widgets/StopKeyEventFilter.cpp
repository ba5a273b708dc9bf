#include "widgets/StopKeyEventFilter.h"

#include <QKeyEvent>
#include <QWidget>

#include "widgets/StopKeyFilter.h"

void StopKeyEventFilter::InstallOn(QWidget* root) {
  auto* filter = new StopKeyEventFilter(root);
  root->installEventFilter(filter);
  for (QWidget* child : root->findChildren<QWidget*>()) child->installEventFilter(filter);
}

bool StopKeyEventFilter::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const int vk = widgets::VirtualKeyOf(static_cast<QKeyEvent*>(event)->key());
    if ((vk == 13 || vk == 27 || vk == 32) && widgets::StopKeyTaken(vk)) return true;
  }
  return QObject::eventFilter(watched, event);
}
