#pragma once
// A modal dialog of labelled edits whose values are exchanged as text in the
// C locale, with the framework's range checks: OK keeps the dialog open with
// the standard message while a value is no number or out of its range.
#include <QDialog>
#include <QString>
#include <optional>
#include <string>
#include <vector>

class QFormLayout;
class QLineEdit;
class QCheckBox;

class CFormDialog : public QDialog {
 public:
  CFormDialog(const QString& caption, QWidget* parent);

  struct Range {
    double min = 0;
    double max = 0;
  };
  // An edit with its starting text; integer fields take whole numbers only,
  // the others numbers a float holds.
  QLineEdit* AddNumber(int controlId, const QString& label, const std::string& text, bool integer = false,
                       std::optional<Range> range = std::nullopt);
  QLineEdit* AddText(int controlId, const QString& label, const std::string& text);
  QCheckBox* AddCheck(int controlId, const QString& label, bool on);
  QFormLayout* Form() const { return form_; }

  // The message the check of one text gives, or nothing when it passes.
  static std::optional<std::string> CheckNumber(const std::string& text, bool integer, std::optional<Range> range);
  double Number(QLineEdit* edit) const;

  void accept() override;

 private:
  struct Field {
    QLineEdit* edit;
    bool integer;
    std::optional<Range> range;
  };
  QFormLayout* form_;
  std::vector<Field> numbers_;
};
