#include "properties/pages/CObjPltDividePage.h"

#include <QPushButton>
#include <QVBoxLayout>

#include "document/objects/CObjElement.h"
#include "platform/Prompt.h"
#include "properties/pages/CDividePreviewEdit.h"
#include "values/PropertyMessages.h"

CObjPltDividePage::CObjPltDividePage() : CPropertyPage(kDialogId, "Split image", kPageCode, WM_UPDATE_PLTDIVIDE) {
  auto* layout = new QVBoxLayout(this);
  preview_ = new CDividePreviewEdit(this);
  layout->addWidget(preview_, 1);
  auto* split = new QPushButton("&Split image", this);
  split->setObjectName(QString("button%1").arg(kSplit));
  auto* remove = new QPushButton("&Delete selected", this);
  remove->setObjectName(QString("button%1").arg(kDeleteSelected));
  layout->addWidget(split);
  layout->addWidget(remove);
  connect(split, &QPushButton::clicked, this, [this] { OnSplit(); });
  connect(remove, &QPushButton::clicked, this, [this] { OnDeleteSelected(); });
  FinishControls();
}

void CObjPltDividePage::LoadFromObject(CObjElement& element) { preview_->SetElement(&element); }

void CObjPltDividePage::OnSplit() { Request(kSplit, "Please select split data!"); }

void CObjPltDividePage::OnDeleteSelected() { Request(kDeleteSelected, "Please select data!"); }

void CObjPltDividePage::Request(int id, const char* nothingSelected) {
  CObjElement* element = preview_->Element();
  if (element == nullptr) return;
  if (!element->HasSplitSelected()) {
    platform::MessageBox(nothingSelected);
    return;
  }
  if (!element->HasSplitUnselected()) {
    platform::MessageBox("Don't select all data!");
    return;
  }
  PostChange(id);
}
