#pragma once
// Numbers in the settings dialogs' edits: shown like the framework shows a
// float ("%.6g", C locale) and read back with its complaint when a text is
// no number.
#include <QString>

class QLineEdit;

namespace settings_dialogs {

QString FloatText(float value);
// False (after "Please enter a number.", with the focus on the edit) when the
// text is not a finite number.
bool ReadFloat(QLineEdit* edit, float& value);

}  // namespace settings_dialogs
