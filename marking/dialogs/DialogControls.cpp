#include "marking/dialogs/DialogControls.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QVariant>
#include <QWidget>

#include <charconv>
#include <cmath>
#include <string>

#include "platform/NumberText.h"
#include "platform/Prompt.h"

namespace machine_dialogs {

namespace {
constexpr const char* kControlId = "controlId";

// The framework's message for a text longer than its limit.
QString TooLongText(int maxChars) {
  return QStringLiteral("Please enter no more than %1 characters.").arg(maxChars);
}

std::string Trimmed(const QString& text) {
  std::string s = text.trimmed().toStdString();
  if (!s.empty() && s.front() == '+') s.erase(0, 1);
  return s;
}

bool Refuse(QWidget* control, const std::string& message) {
  platform::MessageBox(message, "Vendrik", MB_OK | MB_ICONWARNING);
  if (control != nullptr) control->setFocus();
  return false;
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

bool ParseWholeInt(const QString& text, long long& value) {
  const std::string s = Trimmed(text);
  const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
  return !s.empty() && error == std::errc() && end == s.data() + s.size();
}

bool ParseWholeDouble(const QString& text, double& value) {
  const std::string s = Trimmed(text);
  const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
  return !s.empty() && error == std::errc() && end == s.data() + s.size() && std::isfinite(value);
}

bool ReadIntInRange(QWidget* control, const QString& text, int lo, int hi, int& value) {
  long long parsed = 0;
  if (!ParseWholeInt(text, parsed)) return Refuse(control, "Please enter an integer.");
  if (parsed < lo || parsed > hi)
    return Refuse(control, platform::FormatC("Please enter an integer between %d and %d.", lo, hi));
  value = static_cast<int>(parsed);
  return true;
}

bool ReadFloatInRange(QWidget* control, const QString& text, double lo, double hi, float& value) {
  double parsed = 0;
  if (!ParseWholeDouble(text, parsed)) return Refuse(control, "Please enter a number.");
  if (parsed < lo || parsed > hi)
    return Refuse(control, platform::FormatC("Please enter a number between %g and %g.", lo, hi));
  value = static_cast<float>(parsed);
  return true;
}

bool ReadFloat(QWidget* control, const QString& text, float& value) {
  return ReadFloatInRange(control, text, -3.4e38, 3.4e38, value);
}

QString FloatText(double value) { return QString::fromStdString(platform::FormatC("%.6g", value)); }

}  // namespace machine_dialogs
