#pragma once
// Small pieces shared by the machine dialogs: controls found by their dialog
// ids, and the framework's check of a text's length when a dialog is closed.
#include <QString>

class QWidget;

namespace machine_dialogs {

// Marks a control with its dialog id so GetDlgItem finds it.
void SetControlId(QWidget* control, int id);
QWidget* FindControl(const QWidget* dialog, int id);

// The framework's message for a text longer than its limit.
QString TooLongText(int maxChars);
// False (after the message, with the focus on the control) when the text is
// longer than maxChars.
bool CheckMaxChars(QWidget* control, const QString& text, int maxChars);

}  // namespace machine_dialogs
