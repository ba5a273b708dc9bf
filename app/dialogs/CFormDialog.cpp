#include "app/dialogs/CFormDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>
#include <cmath>
#include <limits>

#include "platform/NumberText.h"
#include "platform/Prompt.h"

CFormDialog::CFormDialog(const QString& caption, QWidget* parent) : QDialog(parent) {
  setWindowTitle(caption);
  auto* layout = new QVBoxLayout(this);
  form_ = new QFormLayout();
  layout->addLayout(form_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  QObject::connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
}

QLineEdit* CFormDialog::AddNumber(int controlId, const QString& label, const std::string& text, bool integer,
                                  std::optional<Range> range) {
  QLineEdit* edit = AddText(controlId, label, text);
  numbers_.push_back(Field{edit, integer, range});
  return edit;
}

QLineEdit* CFormDialog::AddText(int controlId, const QString& label, const std::string& text) {
  auto* edit = new QLineEdit(QString::fromStdString(text), this);
  edit->setObjectName(QString("edit%1").arg(controlId));
  form_->addRow(label, edit);
  return edit;
}

QCheckBox* CFormDialog::AddCheck(int controlId, const QString& label, bool on) {
  auto* check = new QCheckBox(label, this);
  check->setObjectName(QString("check%1").arg(controlId));
  check->setChecked(on);
  form_->addRow(check);
  return check;
}

std::optional<std::string> CFormDialog::CheckNumber(const std::string& text, bool integer, std::optional<Range> range) {
  const std::size_t first = text.find_first_not_of(' ');
  const std::string trimmed = first == std::string::npos ? std::string() : text.substr(first, text.find_last_not_of(' ') - first + 1);
  bool ok = !trimmed.empty();
  for (char c : trimmed) {
    const bool digit = std::isdigit(static_cast<unsigned char>(c)) != 0;
    const bool sign = c == '-' || c == '+';
    const bool fraction = !integer && (c == '.' || c == 'e' || c == 'E');
    if (!digit && !sign && !fraction) ok = false;
  }
  bool parsed = false;
  const double value = integer ? static_cast<double>(platform::ParseIntC(trimmed, &parsed)) : platform::ParseDoubleC(trimmed, &parsed);
  // The other fields are kept as floats: a number no float holds is no number.
  const bool fits = integer || std::fabs(value) <= std::numeric_limits<float>::max();
  if (!ok || !parsed || !std::isfinite(value) || !fits) {
    return std::string(integer ? "Please enter an integer." : "Please enter a number.");
  }
  if (range && (value < range->min || value > range->max)) {
    return integer ? platform::FormatC("Please enter an integer between %d and %d.", static_cast<int>(range->min),
                                       static_cast<int>(range->max))
                   : platform::FormatC("Please enter a number between %g and %g.", range->min, range->max);
  }
  return std::nullopt;
}

double CFormDialog::Number(QLineEdit* edit) const { return platform::ParseDoubleC(edit->text().toStdString()); }

void CFormDialog::accept() {
  for (const Field& field : numbers_) {
    if (const auto message = CheckNumber(field.edit->text().toStdString(), field.integer, field.range)) {
      platform::MessageBox(*message);
      field.edit->setFocus();
      field.edit->selectAll();
      return;
    }
  }
  QDialog::accept();
}
