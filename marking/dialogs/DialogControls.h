#pragma once
// Small pieces shared by the machine dialogs: controls found by their dialog
// ids, and the framework's check of a text's length when a dialog is closed.
#include <QString>
#include <QWidget>

class QButtonGroup;

namespace machine_dialogs {

// Marks a control with its dialog id so GetDlgItem finds it.
void SetControlId(QWidget* control, int id);
QWidget* FindControl(const QWidget* dialog, int id);
// Names the control and gives it its dialog id.
template <typename T>
T* Named(T* control, const char* name, int id) {
  control->setObjectName(name);
  SetControlId(control, id);
  return control;
}
// Checks the group's button with that id, or none when no button has it.
void CheckButton(QButtonGroup* group, int id);

// False (after the message, with the focus on the control) when the text is
// longer than maxChars.
bool CheckMaxChars(QWidget* control, const QString& text, int maxChars);

}  // namespace machine_dialogs
