#include "marking/dialogs/DialogControls.h"

#include <QVariant>
#include <QWidget>

#include "platform/Prompt.h"

namespace machine_dialogs {

namespace {
constexpr const char* kControlId = "controlId";
}

void SetControlId(QWidget* control, int id) { control->setProperty(kControlId, id); }

QWidget* FindControl(const QWidget* dialog, int id) {
  for (QWidget* child : dialog->findChildren<QWidget*>()) {
    const QVariant value = child->property(kControlId);
    if (value.isValid() && value.toInt() == id) return child;
  }
  return nullptr;
}

QString TooLongText(int maxChars) {
  return QStringLiteral("Please enter no more than %1 characters.").arg(maxChars);
}

bool CheckMaxChars(QWidget* control, const QString& text, int maxChars) {
  if (text.size() <= maxChars) return true;
  platform::MessageBox(TooLongText(maxChars).toStdString(), "Vendrik", MB_OK | MB_ICONWARNING);
  if (control != nullptr) control->setFocus();
  return false;
}

}  // namespace machine_dialogs
