#include "marking/records_ui/CMarkRecordDlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "marking/records/CMarkDatabase.h"
#include "marking/records/MarkRecordExport.h"
#include "marking/records/MarkTime.h"
#include "platform/InstallDir.h"
#include "platform/Prompt.h"

using namespace marking;

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

QSpinBox* DateField(QWidget* parent, const char* name, int low, int high) {
  auto* field = new QSpinBox(parent);
  field->setObjectName(name);
  field->setRange(low, high);
  return field;
}

}  // namespace

CMarkRecordDlg::CMarkRecordDlg(QWidget* parent, MarkDatabaseLocation location, std::string exportFolder)
    : QDialog(parent), location_(std::move(location)), exportFolder_(std::move(exportFolder)) {
  setWindowTitle(tr("Marking records"));
  BuildControls();
  SetOpeningDates();
}

CMarkRecordDlg::~CMarkRecordDlg() = default;

void CMarkRecordDlg::BuildControls() {
  auto* dates = new QGroupBox(tr("Date"), this);
  auto* dateGrid = new QGridLayout(dates);
  const char* fromNames[3] = {"fromYear", "fromMonth", "fromDay"};
  const char* toNames[3] = {"toYear", "toMonth", "toDay"};
  const int lows[3] = {1900, 1, 1};
  const int highs[3] = {9999, 12, 31};
  dateGrid->addWidget(new QLabel(tr("From"), dates), 0, 0);
  dateGrid->addWidget(new QLabel(tr("To"), dates), 1, 0);
  for (int i = 0; i < 3; ++i) {
    fromDate_[i] = DateField(dates, fromNames[i], lows[i], highs[i]);
    toDate_[i] = DateField(dates, toNames[i], lows[i], highs[i]);
    dateGrid->addWidget(fromDate_[i], 0, i + 1);
    dateGrid->addWidget(toDate_[i], 1, i + 1);
  }

  auto* keys = new QGroupBox(tr("Keys"), this);
  auto* keyGrid = new QGridLayout(keys);
  const QString keyLabels[kMarkKeyColumns] = {tr("Main key"), tr("Sub key"), tr("Serial number"), tr("2D code")};
  const char* checkNames[kMarkKeyColumns] = {"mainKeyCheck", "subKeyCheck", "serialCheck", "codeCheck"};
  const char* editNames[kMarkKeyColumns] = {"mainKeyEdit", "subKeyEdit", "serialEdit", "codeEdit"};
  for (int i = 0; i < kMarkKeyColumns; ++i) {
    keyChecks_[i] = new QCheckBox(keyLabels[i], keys);
    keyChecks_[i]->setObjectName(checkNames[i]);
    keyEdits_[i] = new QLineEdit(keys);
    keyEdits_[i]->setObjectName(editNames[i]);
    keyEdits_[i]->setEnabled(false);
    connect(keyChecks_[i], &QCheckBox::toggled, keyEdits_[i], &QLineEdit::setEnabled);
    keyGrid->addWidget(keyChecks_[i], i, 0);
    keyGrid->addWidget(keyEdits_[i], i, 1);
  }
  fuzzy_ = new QCheckBox(tr("Fuzzy match"), keys);
  fuzzy_->setObjectName("fuzzyCheck");
  fuzzy_->setChecked(true);
  keyGrid->addWidget(fuzzy_, kMarkKeyColumns, 0, 1, 2);

  auto* modes = new QGroupBox(tr("Query mode"), this);
  auto* modeBox = new QVBoxLayout(modes);
  mode_ = new QButtonGroup(this);
  const QString modeLabels[4] = {tr("Date range and all keys"), tr("Any key"), tr("Date range"), tr("All records")};
  for (int i = 0; i < 4; ++i) {
    auto* radio = new QRadioButton(modeLabels[i], modes);
    radio->setObjectName(QStringLiteral("mode%1").arg(i));
    mode_->addButton(radio, i);
    modeBox->addWidget(radio);
  }
  mode_->button(kQueryDateRange)->setChecked(true);

  list_ = new QTreeWidget(this);
  list_->setObjectName("resultList");
  list_->setRootIsDecorated(false);
  list_->setHeaderLabels({"序号", "主关键字", "次关键字", "流水号", "二维码", "日期"});
  const int widths[6] = {48, 150, 150, 100, 100, 200};
  for (int i = 0; i < 6; ++i) list_->setColumnWidth(i, widths[i]);

  count_ = new QLabel("0", this);
  count_->setObjectName("recordCount");
  query_ = new QPushButton(tr("Query"), this);
  query_->setObjectName("queryButton");
  export_ = new QPushButton(tr("Export"), this);
  export_->setObjectName("exportButton");
  connect(query_, &QPushButton::clicked, this, [this] { OnQuery(); });
  connect(export_, &QPushButton::clicked, this, [this] { OnExport(); });
  auto* close = new QDialogButtonBox(QDialogButtonBox::Close, this);
  connect(close, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* top = new QHBoxLayout;
  top->addWidget(dates);
  top->addWidget(keys);
  top->addWidget(modes);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(new QLabel(tr("Records:"), this));
  bottom->addWidget(count_);
  bottom->addStretch();
  bottom->addWidget(query_);
  bottom->addWidget(export_);
  bottom->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(list_, 1);
  layout->addLayout(bottom);
  resize(800, 520);
}

void CMarkRecordDlg::SetOpeningDates() {
  // From a year and a month back to today.
  const MarkTime now = MarkTime::Now();
  toDate_[0]->setValue(now.year);
  toDate_[1]->setValue(now.month);
  toDate_[2]->setValue(now.day);
  fromDate_[0]->setValue(now.year - 1);
  fromDate_[1]->setValue(now.month == 1 ? 12 : now.month - 1);
  fromDate_[2]->setValue(now.day);
}

MarkRecordQuery CMarkRecordDlg::CurrentQuery() const {
  MarkRecordQuery query;
  query.mode = mode_->checkedId() < 0 ? kQueryDateRange : mode_->checkedId();
  query.fromYear = fromDate_[0]->value();
  query.fromMonth = fromDate_[1]->value();
  query.fromDay = fromDate_[2]->value();
  query.toYear = toDate_[0]->value();
  query.toMonth = toDate_[1]->value();
  query.toDay = toDate_[2]->value();
  for (int i = 0; i < kMarkKeyColumns; ++i) {
    query.useKey[i] = keyChecks_[i]->isChecked();
    query.keyText[i] = keyEdits_[i]->text().toStdString();
  }
  query.fuzzy = fuzzy_->isChecked();
  return query;
}

void CMarkRecordDlg::OnQuery() {
  list_->clear();
  listed_.clear();
  count_->setText("0");
  CMarkDatabase db(location_);
  if (!db.Open()) return;
  auto rows = db.Query(CurrentQuery());
  if (!rows) return;
  listed_ = std::move(*rows);
  QList<QTreeWidgetItem*> lines;
  lines.reserve(static_cast<qsizetype>(listed_.size()));
  int number = 0;
  for (const MarkRecord& record : listed_) {
    // The time text stands under the header "日期".
    lines.append(new QTreeWidgetItem(QStringList{QString::number(++number), Q(record.keys[0]), Q(record.keys[1]),
                                                 Q(record.keys[2]), Q(record.keys[3]), Q(record.time)}));
  }
  list_->addTopLevelItems(lines);
  count_->setText(QString::number(listed_.size()));
}

std::string CMarkRecordDlg::OnExport() {
  if (listed_.empty()) return {};
  const std::string folder = exportFolder_.empty() ? platform::DefaultDataFolder() : exportFolder_;
  const std::string path = MakeExportPath(folder, MarkTime::Now());
  std::string error;
  if (!ExportMarkRecords(listed_, path, &error)) {
    platform::MessageBox("No install Excel driver!");
    return {};
  }
  return path;
}
