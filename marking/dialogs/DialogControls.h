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

// Numbers read whole from a text in the C locale ("12abc" is no number).
bool ParseWholeInt(const QString& text, long long& value);
bool ParseWholeDouble(const QString& text, double& value);
// The framework's checks of a number edit when a dialog is closed: false
// (after its message, with the focus on the control) when the text is no
// number or lies outside lo..hi.
bool ReadIntInRange(QWidget* control, const QString& text, int lo, int hi, int& value);
bool ReadFloatInRange(QWidget* control, const QString& text, double lo, double hi, float& value);
// Any finite float ("Please enter a number." otherwise).
bool ReadFloat(QWidget* control, const QString& text, float& value);
// A float as the framework shows it ("%.6g", C locale).
QString FloatText(double value);

}  // namespace machine_dialogs
