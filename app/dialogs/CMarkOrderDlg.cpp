#include "app/dialogs/CMarkOrderDlg.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <utility>

#include "document/objects/CObjElement.h"
#include "platform/Cp936.h"

CMarkOrderDlg::CMarkOrderDlg(std::vector<CObjElement*> order, QWidget* parent)
    : QDialog(parent), order_(std::move(order)) {
  setWindowTitle("Change object mark order");
  auto* layout = new QVBoxLayout(this);
  auto* row = new QHBoxLayout();
  list_ = new QListWidget(this);
  list_->setObjectName("list1142");
  row->addWidget(list_);
  auto* buttons = new QVBoxLayout();
  auto* up = new QPushButton(QString::fromUtf8("\xe2\x96\xb2"), this);
  up->setObjectName("button1143");
  auto* down = new QPushButton(QString::fromUtf8("\xe2\x96\xbc"), this);
  down->setObjectName("button1144");
  buttons->addWidget(up);
  buttons->addWidget(down);
  buttons->addStretch(1);
  row->addLayout(buttons);
  layout->addLayout(row);
  auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  QObject::connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
  QObject::connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(box);
  auto step = [this](int (*move)(std::vector<CObjElement*>&, int)) {
    const int from = list_->currentRow();
    Show(from, move(order_, from));
  };
  QObject::connect(up, &QPushButton::clicked, this, [step] { step(&MoveUp); });
  QObject::connect(down, &QPushButton::clicked, this, [step] { step(&MoveDown); });
  QObject::connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (row == 0 && list_->count() > 1) list_->setCurrentRow(1);  // the record stays first
  });
  Fill(1);
}

int CMarkOrderDlg::MoveUp(std::vector<CObjElement*>& order, int index) {
  if (index <= 1 || index >= static_cast<int>(order.size())) return index;
  std::swap(order[static_cast<std::size_t>(index)], order[static_cast<std::size_t>(index - 1)]);
  return index - 1;
}

int CMarkOrderDlg::MoveDown(std::vector<CObjElement*>& order, int index) {
  if (index < 1 || index + 1 >= static_cast<int>(order.size())) return index;
  std::swap(order[static_cast<std::size_t>(index)], order[static_cast<std::size_t>(index + 1)]);
  return index + 1;
}

void CMarkOrderDlg::Show(int from, int to) {
  // Only the two rows that changed places change: refilling a list of
  // thousands of objects at every click would lag.
  if (from != to) {
    QListWidgetItem* a = list_->item(from);
    QListWidgetItem* b = list_->item(to);
    const QString text = a->text();
    a->setText(b->text());
    b->setText(text);
  }
  list_->setCurrentRow(to);
}

void CMarkOrderDlg::Fill(int selected) {
  list_->clear();
  for (const CObjElement* element : order_) {
    list_->addItem(QString::fromStdString(platform::Cp936ToUtf8(element->name)));
  }
  list_->setCurrentRow(selected);
}
