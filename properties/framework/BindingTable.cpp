#include "properties/framework/BindingTable.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <cfloat>
#include <cmath>
#include <climits>
#include <cstdlib>

#include "platform/Cp936.h"
#include "platform/NumberText.h"
#include "platform/Prompt.h"

namespace {

std::string Trimmed(const std::string& s) {
  const auto first = s.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  const auto last = s.find_last_not_of(" \t\r\n");
  return s.substr(first, last - first + 1);
}

// The whole text must be one decimal number (white space around it allowed):
// sign, digits with an optional point, an optional exponent.
bool ParseWholeDouble(const std::string& text, double& out) {
  const std::string t = Trimmed(text);
  std::size_t i = 0;
  auto digits = [&] {
    const std::size_t from = i;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i;
    return i - from;
  };
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
  std::size_t mantissa = digits();
  if (i < t.size() && t[i] == '.') {
    ++i;
    mantissa += digits();
  }
  if (mantissa == 0) return false;
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    ++i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    if (digits() == 0) return false;
  }
  if (i != t.size()) return false;
  bool ok = false;
  out = platform::ParseDoubleC(t, &ok);
  return ok && std::isfinite(out);
}

bool ParseWholeInteger(const std::string& text, long long& out) {
  const std::string t = Trimmed(text);
  if (t.empty()) return false;
  std::size_t i = (t[0] == '-' || t[0] == '+') ? 1 : 0;
  if (i == t.size() || t.size() - i > 18) return false;
  for (std::size_t k = i; k < t.size(); ++k)
    if (t[k] < '0' || t[k] > '9') return false;
  bool ok = false;
  out = platform::ParseIntC(t, &ok);
  return ok;
}

void Report(const std::string& text) { platform::MessageBox(text, "Vendrik", MB_OK | MB_ICONWARNING); }

std::string Fill(std::string pattern, const std::string& one, const std::string& two = {}) {
  if (auto at = pattern.find("%1"); at != std::string::npos) pattern.replace(at, 2, one);
  if (auto at = pattern.find("%2"); at != std::string::npos) pattern.replace(at, 2, two);
  return pattern;
}

std::string TextOf(const QLineEdit* edit) { return platform::Utf8ToCp936(edit->text().toStdString()); }

}  // namespace

std::string FormatDoubleText(double value) { return platform::FormatC("%.15g", value); }
std::string FormatFloatText(float value) {
  std::string text;
  for (int digits = 6; digits <= 9; ++digits) {
    text = platform::FormatC("%.*g", digits, static_cast<double>(value));
    if (static_cast<float>(platform::ParseDoubleC(text)) == value) break;
  }
  return text;
}

BindingTable::Binding& BindingTable::Edit(int id, QLineEdit* edit, Member member) {
  bindings_.push_back(Binding{id, Rule::Edit, edit, {}, member, {}, {}, {}, 0});
  return bindings_.back();
}

BindingTable::Binding& BindingTable::Check(int id, QCheckBox* box, int* member) {
  bindings_.push_back(Binding{id, Rule::Check, box, {}, member, {}, {}, {}, 0});
  return bindings_.back();
}

BindingTable::Binding& BindingTable::Radio(int firstId, std::vector<QAbstractButton*> group, int* member) {
  std::vector<int> others;
  for (std::size_t i = 1; i < group.size(); ++i) others.push_back(firstId + static_cast<int>(i));
  bindings_.push_back(Binding{firstId, Rule::Radio, nullptr, std::move(group), member, std::move(others), {}, {}, 0});
  return bindings_.back();
}

BindingTable::Binding& BindingTable::ComboIndex(int id, QComboBox* combo, int* member) {
  bindings_.push_back(Binding{id, Rule::ComboIndex, combo, {}, member, {}, {}, {}, 0});
  return bindings_.back();
}

BindingTable::Binding& BindingTable::ComboText(int id, QComboBox* combo, std::string* member) {
  bindings_.push_back(Binding{id, Rule::ComboText, combo, {}, member, {}, {}, {}, 0});
  return bindings_.back();
}

BindingTable::Binding& BindingTable::Value(int id, Member member) {
  bindings_.push_back(Binding{id, Rule::ValueOnly, nullptr, {}, member, {}, {}, {}, 0});
  return bindings_.back();
}

const BindingTable::Binding* BindingTable::Find(int id) const {
  for (const Binding& b : bindings_) {
    if (b.id == id) return &b;
    for (int other : b.sharedIds)
      if (other == id) return &b;
  }
  return nullptr;
}

PropValue BindingTable::ValueOf(int id) const {
  const Binding* b = Find(id);
  if (b == nullptr) return {};
  return std::visit([](auto* p) -> PropValue { return *p; }, b->member);
}

bool BindingTable::Save() {
  refused_ = nullptr;
  for (Binding& b : bindings_)
    if (!SaveOne(b)) return false;
  return true;
}

bool BindingTable::SaveOne(Binding& b) {
  switch (b.rule) {
    case Rule::ValueOnly: return true;
    case Rule::Check: *std::get<int*>(b.member) = static_cast<QCheckBox*>(b.control)->isChecked() ? 1 : 0; return true;
    case Rule::Radio: {
      int value = -1;
      for (std::size_t i = 0; i < b.radios.size(); ++i)
        if (b.radios[i]->isChecked()) value = static_cast<int>(i);
      *std::get<int*>(b.member) = value;
      return true;
    }
    case Rule::ComboIndex: *std::get<int*>(b.member) = static_cast<QComboBox*>(b.control)->currentIndex(); return true;
    case Rule::ComboText:
      *std::get<std::string*>(b.member) =
          platform::Utf8ToCp936(static_cast<QComboBox*>(b.control)->currentText().toStdString());
      return true;
    case Rule::Edit: break;
  }
  auto* edit = static_cast<QLineEdit*>(b.control);
  const std::string text = TextOf(edit);
  auto fail = [&](const std::string& message) {
    refused_ = edit;
    Report(message);
    edit->setFocus();
    return false;
  };
  if (auto* s = std::get_if<std::string*>(&b.member)) {
    if (b.maxChars > 0 && static_cast<int>(text.size()) > b.maxChars)
      return fail(Fill(validation::kMaxChars, std::to_string(b.maxChars)));
    **s = text;
    return true;
  }
  const bool isInteger = std::holds_alternative<int*>(b.member) || std::holds_alternative<unsigned*>(b.member);
  double number = 0;
  if (isInteger) {
    long long n = 0;
    if (auto* u = std::get_if<unsigned*>(&b.member)) {
      if (!ParseWholeInteger(text, n) || n < 0 || n > static_cast<long long>(UINT_MAX))
        return fail(validation::kPositiveInteger);
      **u = static_cast<unsigned>(n);
    } else {
      if (!ParseWholeInteger(text, n) || n < INT_MIN || n > INT_MAX) return fail(validation::kInteger);
      *std::get<int*>(b.member) = static_cast<int>(n);
    }
    number = static_cast<double>(n);
  } else {
    double held = 0;
    if (auto* d = std::get_if<double*>(&b.member)) held = **d;
    if (auto* f = std::get_if<float*>(&b.member)) held = **f;
    if (std::isfinite(held) && Trimmed(text) == ShownText(b)) {
      // Read back, the shown digits could differ from the member in its last bits.
      number = held;
    } else {
      if (!ParseWholeDouble(text, number)) return fail(validation::kNumber);
      if (auto* d = std::get_if<double*>(&b.member)) **d = number;
      if (auto* f = std::get_if<float*>(&b.member)) **f = static_cast<float>(number);
    }
  }
  if ((b.min && number < *b.min) || (b.max && number > *b.max)) {
    const std::string lo = FormatDoubleText(b.min.value_or(0));
    const std::string hi = FormatDoubleText(b.max.value_or(0));
    return fail(Fill(isInteger ? validation::kIntegerRange : validation::kNumberRange, lo, hi));
  }
  return true;
}

void BindingTable::Load() {
  for (const Binding& b : bindings_) LoadOne(b.id);
}

void BindingTable::LoadOne(int id) {
  const Binding* found = Find(id);
  if (found == nullptr) return;
  const Binding& b = *found;
  switch (b.rule) {
    case Rule::ValueOnly: return;
    case Rule::Check: static_cast<QCheckBox*>(b.control)->setChecked(*std::get<int*>(b.member) != 0); return;
    case Rule::Radio: {
      const int value = *std::get<int*>(b.member);
      for (std::size_t i = 0; i < b.radios.size(); ++i) {
        QAbstractButton* r = b.radios[i];
        const bool exclusive = r->autoExclusive();
        r->setAutoExclusive(false);  // lets "none checked" (-1) show
        r->setChecked(static_cast<int>(i) == value);
        r->setAutoExclusive(exclusive);
      }
      return;
    }
    case Rule::ComboIndex: static_cast<QComboBox*>(b.control)->setCurrentIndex(*std::get<int*>(b.member)); return;
    case Rule::ComboText: {
      auto* combo = static_cast<QComboBox*>(b.control);
      const QString text = QString::fromStdString(platform::Cp936ToUtf8(*std::get<std::string*>(b.member)));
      const int at = combo->findText(text);
      if (at >= 0) {
        combo->setCurrentIndex(at);
      } else if (combo->isEditable() && combo->currentText() != text) {
        // An editable list shows a name it does not offer as typed.
        combo->setEditText(text);
      }
      return;
    }
    case Rule::Edit: break;
  }
  auto* edit = static_cast<QLineEdit*>(b.control);
  std::string text = ShownText(b);
  if (std::holds_alternative<std::string*>(b.member)) text = platform::Cp936ToUtf8(text);
  // A field that shows its value already is left alone: setting the text (or
  // the limit) again would drop the operator's selection and move the cursor.
  if (b.maxChars > 0 && edit->maxLength() != b.maxChars) edit->setMaxLength(b.maxChars);
  const QString shown = QString::fromStdString(text);
  if (edit->text() != shown) edit->setText(shown);
}

std::string BindingTable::ShownText(const Binding& b) {
  if (auto* s = std::get_if<std::string*>(&b.member)) return **s;
  if (auto* d = std::get_if<double*>(&b.member)) {
    if (b.floatDigits && std::fabs(**d) <= FLT_MAX) return FormatFloatText(static_cast<float>(**d));
    return FormatDoubleText(**d);
  }
  if (auto* f = std::get_if<float*>(&b.member)) return FormatFloatText(**f);
  if (auto* i = std::get_if<int*>(&b.member)) return std::to_string(**i);
  if (auto* u = std::get_if<unsigned*>(&b.member)) return std::to_string(**u);
  return {};
}
