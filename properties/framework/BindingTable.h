#pragma once
// One page's data exchange: which control shows which member, by which rule.
// Save reads the controls into the members in table order, validating as it
// goes (the first failure is reported with the framework's text and stops the
// reading); Load writes the members into the controls (doubles as "%.15g",
// floats with the digits a float holds, integers in decimal), leaving a
// control that shows its member's value already untouched. A number whose
// text is still the one its member shows leaves the member as it is, so a
// field the operator did not change never changes its value. ValueOf copies
// the member of a control id for the change record.
#include <QString>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "properties/framework/PropChange.h"

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QWidget;

// The framework's texts for controls that do not validate.
namespace validation {
inline constexpr const char* kNumber = "Please enter a number.";
inline constexpr const char* kInteger = "Please enter an integer.";
inline constexpr const char* kPositiveInteger = "Please enter a positive integer.";
inline constexpr const char* kNumberRange = "Please enter a number between %1 and %2.";
inline constexpr const char* kIntegerRange = "Please enter an integer between %1 and %2.";
inline constexpr const char* kMaxChars = "Please enter no more than %1 characters.";
}  // namespace validation

// Text of an edit as the members hold it: numbers in the C locale, names and
// texts in code page 936 bytes.
std::string FormatDoubleText(double value);  // "%.15g"
// "%.6g", or as many more digits (up to 9) as the value needs to read back
// as the same float.
std::string FormatFloatText(float value);

class BindingTable {
 public:
  using Member = std::variant<double*, float*, int*, unsigned*, std::string*, FloatPair*>;

  enum class Rule { Edit, Check, Radio, ComboIndex, ComboText, ValueOnly };

  struct Binding {
    int id = 0;
    Rule rule = Rule::Edit;
    QWidget* control = nullptr;
    std::vector<QAbstractButton*> radios;  // Radio: the group in order
    Member member;
    std::vector<int> sharedIds;  // further control ids standing for the same member
    std::optional<double> min;   // validated range of a number
    std::optional<double> max;
    int maxChars = 0;  // text length limit in bytes; 0: none
    // A double the machine settings keep as a 32-bit float: shown with the
    // digits of that float (1.8, not 1.79999995231628).
    bool floatDigits = false;
  };

  Binding& Edit(int id, QLineEdit* edit, Member member);
  Binding& Check(int id, QCheckBox* box, int* member);
  Binding& Radio(int firstId, std::vector<QAbstractButton*> group, int* member);
  Binding& ComboIndex(int id, QComboBox* combo, int* member);
  Binding& ComboText(int id, QComboBox* combo, std::string* member);
  // A member that travels with a control id but is shown by no bound control.
  Binding& Value(int id, Member member);

  // Reads every control; false after a failed validation (the message shown).
  bool Save();
  // The edit the last Save refused; null after one that read everything.
  QLineEdit* RefusedField() const { return refused_; }
  void Load();
  // Writes one binding only.
  void LoadOne(int id);
  PropValue ValueOf(int id) const;
  const Binding* Find(int id) const;

 private:
  bool SaveOne(Binding& b);
  // The text an edit shows for its member.
  static std::string ShownText(const Binding& b);
  std::vector<Binding> bindings_;
  QLineEdit* refused_ = nullptr;
};
