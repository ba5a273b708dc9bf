#include "marking/dialogs/DialogControls.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QVariant>
#include <QWidget>

#include "platform/Prompt.h"

namespace machine_dialogs {

namespace {
constexpr const char* kControlId = "controlId";

// The framework's message for a text longer than its limit.
QString TooLongText(int maxChars) {
  return QStringLiteral("Please enter no more than %1 characters.").arg(maxChars);
}
}  // namespace

void SetControlId(QWidget* control, int id) { control->setProperty(kControlId, id); }

QWidget* FindControl(const QWidget* dialog, int id) {
  for (QWidget* child : dialog->findChildren<QWidget*>()) {
    const QVariant value = child->property(kControlId);
    if (value.isValid() && value.toInt() == id) return child;
  }
  return nullptr;
}

void CheckButton(QButtonGroup* group, int id) {
  if (QAbstractButton* button = group->button(id)) {
    button->setChecked(true);
    return;
  }
  group->setExclusive(false);
  for (QAbstractButton* b : group->buttons()) b->setChecked(false);
  group->setExclusive(true);
}

bool CheckMaxChars(QWidget* control, const QString& text, int maxChars) {
  if (text.size() <= maxChars) return true;
  platform::MessageBox(TooLongText(maxChars).toStdString(), "Vendrik", MB_OK | MB_ICONWARNING);
  if (control != nullptr) control->setFocus();
  return false;
}

}  // namespace machine_dialogs
