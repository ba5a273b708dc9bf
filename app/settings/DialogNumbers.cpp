#include "app/settings/DialogNumbers.h"

#include <QLineEdit>
#include <charconv>
#include <cmath>
#include <string>

#include "platform/NumberText.h"
#include "platform/Prompt.h"

namespace settings_dialogs {

QString FloatText(float value) { return QString::fromStdString(platform::FormatC("%.6g", static_cast<double>(value))); }

bool ReadFloat(QLineEdit* edit, float& value) {
  // The whole text must be the number: "12abc" is refused, as the
  // framework's own check does.
  std::string text = edit->text().trimmed().toStdString();
  if (!text.empty() && text.front() == '+') text.erase(0, 1);
  double parsed = 0.0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
  const bool ok = !text.empty() && error == std::errc() && end == text.data() + text.size();
  if (!ok || !std::isfinite(parsed) || std::fabs(parsed) > 3.4e38) {
    platform::MessageBox("Please enter a number.");
    edit->setFocus();
    edit->selectAll();
    return false;
  }
  value = static_cast<float>(parsed);
  return true;
}

}  // namespace settings_dialogs
