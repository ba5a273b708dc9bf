#pragma once
// Builds the controls of a page on a grid, each named after its control id
// ("edit1010", "spin1013", "check1114", "combo1162", "radio1165",
// "button1041", "label1010"), so pages read like their dialog templates and
// tests find a control by its id.
#include <QString>
#include <QStringList>

class CNotifyEdit;
class CSpinButton;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QWidget;

class PageControls {
 public:
  // Lays the controls out on `page` (or on a group box's own grid).
  explicit PageControls(QWidget* page);
  PageControls(QGroupBox* group);

  QGridLayout* Grid() const { return grid_; }
  int NextRow() const { return row_; }

  // A label and an edit in one row; with a spin id, an up-down pair beside it.
  CNotifyEdit* Edit(const char* label, int id, CSpinButton** spin = nullptr, int spinId = 0);
  // The same with an edit built by the caller (a CAlnumEdit and the like).
  CNotifyEdit* PlaceEdit(const char* label, CNotifyEdit* edit, int id, CSpinButton** spin = nullptr, int spinId = 0);
  QCheckBox* Check(const char* text, int id);
  QComboBox* Combo(const char* label, int id, const QStringList& items);
  QRadioButton* Radio(const char* text, int id);
  QPushButton* Button(const char* text, int id);
  QLabel* Text(const char* text);
  QGroupBox* Group(const char* title);
  // Puts an existing widget on its own row.
  void Place(QWidget* widget);
  void Stretch();

 private:
  QWidget* owner_;
  QGridLayout* grid_;
  int row_ = 0;
};
