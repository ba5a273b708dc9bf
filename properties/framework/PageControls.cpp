#include "properties/framework/PageControls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "widgets/CNotifyEdit.h"
#include "widgets/CSpinButton.h"

PageControls::PageControls(QWidget* page) : owner_(page), grid_(new QGridLayout(page)) {
  grid_->setContentsMargins(8, 8, 8, 8);
  grid_->setColumnStretch(1, 1);
}

PageControls::PageControls(QGroupBox* group) : owner_(group), grid_(new QGridLayout(group)) {
  grid_->setColumnStretch(1, 1);
}

CNotifyEdit* PageControls::Edit(const char* label, int id, CSpinButton** spin, int spinId) {
  return PlaceEdit(label, new CNotifyEdit(owner_), id, spin, spinId);
}

CNotifyEdit* PageControls::PlaceEdit(const char* label, CNotifyEdit* edit, int id, CSpinButton** spin, int spinId) {
  auto* text = new QLabel(QString::fromUtf8(label), owner_);
  text->setObjectName(QString("label%1").arg(id));
  edit->setParent(owner_);
  edit->setObjectName(QString("edit%1").arg(id));
  grid_->addWidget(text, row_, 0);
  grid_->addWidget(edit, row_, 1);
  if (spin != nullptr) {
    *spin = new CSpinButton(owner_);
    (*spin)->setObjectName(QString("spin%1").arg(spinId));
    grid_->addWidget(*spin, row_, 2);
  }
  ++row_;
  return edit;
}

QCheckBox* PageControls::Check(const char* text, int id) {
  auto* box = new QCheckBox(QString::fromUtf8(text), owner_);
  box->setObjectName(QString("check%1").arg(id));
  grid_->addWidget(box, row_++, 0, 1, 3);
  return box;
}

QComboBox* PageControls::Combo(const char* label, int id, const QStringList& items) {
  auto* text = new QLabel(QString::fromUtf8(label), owner_);
  text->setObjectName(QString("label%1").arg(id));
  auto* combo = new QComboBox(owner_);
  combo->setObjectName(QString("combo%1").arg(id));
  combo->addItems(items);
  combo->setCurrentIndex(-1);
  grid_->addWidget(text, row_, 0);
  grid_->addWidget(combo, row_, 1);
  ++row_;
  return combo;
}

QRadioButton* PageControls::Radio(const char* text, int id) {
  auto* radio = new QRadioButton(QString::fromUtf8(text), owner_);
  radio->setObjectName(QString("radio%1").arg(id));
  grid_->addWidget(radio, row_++, 0, 1, 3);
  return radio;
}

QPushButton* PageControls::Button(const char* text, int id) {
  auto* button = new QPushButton(QString::fromUtf8(text), owner_);
  button->setObjectName(QString("button%1").arg(id));
  grid_->addWidget(button, row_++, 0, 1, 3);
  return button;
}

QLabel* PageControls::Text(const char* text) {
  auto* label = new QLabel(QString::fromUtf8(text), owner_);
  grid_->addWidget(label, row_++, 0, 1, 3);
  return label;
}

QGroupBox* PageControls::Group(const char* title) {
  auto* group = new QGroupBox(QString::fromUtf8(title), owner_);
  grid_->addWidget(group, row_++, 0, 1, 3);
  return group;
}

void PageControls::Place(QWidget* widget) { grid_->addWidget(widget, row_++, 0, 1, 3); }

void PageControls::Stretch() { grid_->setRowStretch(row_++, 1); }
