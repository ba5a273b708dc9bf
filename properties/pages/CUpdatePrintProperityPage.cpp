#include "properties/pages/CUpdatePrintProperityPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "document/objects/CObjElement.h"
#include "platform/ColorDialog.h"
#include "platform/Cp936.h"
#include "properties/framework/PageControls.h"
#include "values/PropertyMessages.h"
#include "widgets/CColorButton.h"
#include "widgets/CNotifyEdit.h"
#include "widgets/CSpinButton.h"

namespace {

QStringList ExcelColumns() {
  QStringList columns;
  for (char c = 'A'; c <= 'Z'; ++c) columns << QString(QChar(c));
  return columns;
}

constexpr COLORREF kCaptionColour = 0xFFFFFF;
constexpr COLORREF kDisabledCaptionColour = 128;
constexpr int kBevel = 2;

}  // namespace

CUpdatePrintProperityPage::CUpdatePrintProperityPage()
    : CPropertyPage(kDialogId, "Mark properity", kPageCode, WM_UPDATE_PRINTPROPERITY) {
  PageControls controls(this);
  markCheck_ = controls.Check("Mark this object?", kMarkCheck);
  startEdit_ = controls.Edit("Start delay", kStartDelay, &startSpin_, kStartDelaySpin);
  changeEdit_ = controls.Edit("Change delay", kChangeDelay, &changeSpin_, kChangeDelaySpin);
  timesEdit_ = controls.Edit("Times", kTimes, &timesSpin_, kTimesSpin);
  // The repeat count is kept but not offered.
  timesEdit_->hide();
  timesSpin_->hide();
  findChild<QLabel*>(QString("label%1").arg(kTimes))->hide();
  layerCombo_ = controls.Combo("Select layer", kLayerCombo,
                               {"The first layer", "The second layer", "The third layer", "The forth layer"});

  QGroupBox* keyGroup = controls.Group("Database--Look main key");
  PageControls keys(keyGroup);
  QRadioButton* keyNone = keys.Radio("None key(Not add database)", kKeyNone);
  QRadioButton* keyMain = keys.Radio("Main key(Vin default)", kKeyNone + 1);
  QRadioButton* keySub = keys.Radio("Sub key", kKeyNone + 2);
  keys.Text("Auto number is main key by default");

  CNotifyEdit* emptyEdit = controls.Edit("Empty speed", kEmptySpeed);
  CNotifyEdit* lineEdit = controls.Edit("Line speed", kLineSpeed);
  sourceCombo_ = controls.Combo("Data From", kDataSourceCombo, {"Local", "Excel file", "RS232", "RS232-auto"});
  columnCombo_ = controls.Combo("Excel col", kExcelColumnCombo, ExcelColumns());

  auto* classBox = new QWidget(this);
  PageControls classes(classBox);
  QRadioButton* share = classes.Radio("Share", kClassShare);
  QRadioButton* type1 = classes.Radio("Type-1", kClassShare + 1);
  QRadioButton* type2 = classes.Radio("Type-2", kClassShare + 2);
  controls.Place(classBox);

  auto* colorLabel = new QLabel("Color:", this);
  colorButton_ = new CColorButton(this);
  colorButton_->setText(" ");
  colorButton_->setObjectName(QString("button%1").arg(kColorButton));
  controls.Place(colorLabel);
  controls.Place(colorButton_);
  defaultColorButton_ = controls.Button("Apply default color", kDefaultColorButton);
  controls.Stretch();

  // Member order; the list indexes come before the item texts, so a change of
  // a list carries its index.
  bindings_.Check(kMarkCheck, markCheck_, &markOn);
  bindings_.Edit(kStartDelay, startEdit_, &startDelay);
  bindings_.Edit(kChangeDelay, changeEdit_, &changeDelay);
  bindings_.Edit(kTimes, timesEdit_, &times);
  bindings_.ComboIndex(kLayerCombo, layerCombo_, &layerIndex);
  bindings_.ComboText(kLayerCombo, layerCombo_, &layerText);
  bindings_.Radio(kKeyNone, {keyNone, keyMain, keySub}, &databaseKey);
  bindings_.Edit(kEmptySpeed, emptyEdit, &emptySpeed);
  bindings_.Edit(kLineSpeed, lineEdit, &lineSpeed);
  bindings_.ComboIndex(kDataSourceCombo, sourceCombo_, &dataSourceIndex);
  bindings_.ComboText(kDataSourceCombo, sourceCombo_, &dataSourceText);
  bindings_.ComboIndex(kExcelColumnCombo, columnCombo_, &excelColumnIndex);
  bindings_.ComboText(kExcelColumnCombo, columnCombo_, &excelColumnText);
  bindings_.Radio(kClassShare, {share, type1, type2}, &markClass);
  bindings_.Value(kColorButton, &colour).sharedIds = {kDefaultColorButton};

  connect(markCheck_, &QCheckBox::clicked, this, [this] {
    UpdateData(true);
    EnableMarkControls();
    PostChange(kMarkCheck);
  });
  startSpin_->SetDeltaHandler([this](int d) { OnDelaySpin(startDelay, d, kStartDelay); });
  changeSpin_->SetDeltaHandler([this](int d) { OnDelaySpin(changeDelay, d, kChangeDelay); });
  timesSpin_->SetDeltaHandler([this](int d) { OnTimesSpin(d); });
  startEdit_->SetKeyHandler([this](int) { OnUnsignedKey(startDelay, kStartDelay); });
  changeEdit_->SetKeyHandler([this](int) { OnUnsignedKey(changeDelay, kChangeDelay); });
  timesEdit_->SetKeyHandler([this](int) { OnUnsignedKey(times, kTimes); });
  emptyEdit->SetKeyHandler([this](int) { OnFloatKey(emptySpeed, kEmptySpeed); });
  lineEdit->SetKeyHandler([this](int) { OnFloatKey(lineSpeed, kLineSpeed); });
  connect(layerCombo_, &QComboBox::activated, this, [this](int index) {
    layerIndex = index;
    layerText = platform::Utf8ToCp936(layerCombo_->itemText(index).toStdString());
    PostChange(kLayerCombo);
  });
  int id = kKeyNone;
  for (QRadioButton* r : {keyNone, keyMain, keySub}) {
    connect(r, &QRadioButton::clicked, this, [this, id] {
      UpdateData(true);
      PostChange(id);
    });
    ++id;
  }
  for (QRadioButton* r : {share, type1, type2}) {
    connect(r, &QRadioButton::clicked, this, [this] {
      UpdateData(true);
      PostChange(kClassShare);
    });
  }
  connect(colorButton_, &QPushButton::clicked, this, [this] { OnColorClicked(); });
  connect(defaultColorButton_, &QPushButton::clicked, this, [this] { PostChange(kDefaultColorButton); });
  connect(sourceCombo_, &QComboBox::activated, this, [this](int index) {
    UpdateData(true);
    SelectStored(sourceCombo_, index, dataSourceText);
    dataSourceIndex = index;
    EnableDataSource();
    UpdateData(false);
    PostChange(kDataSourceCombo);
  });
  connect(columnCombo_, &QComboBox::activated, this, [this](int index) {
    UpdateData(true);
    SelectStored(columnCombo_, index, excelColumnText);
    excelColumnIndex = index;
    UpdateData(false);
    PostChange(kExcelColumnCombo);
  });
  FinishControls();
}

void CUpdatePrintProperityPage::SetTextValues(int allowed, int dataSource, int excelColumn, int markClassValue) {
  dataSourceAllowed = allowed;
  dataSourceIndex = dataSource;
  excelColumnIndex = excelColumn;
  markClass = markClassValue;
}

void CUpdatePrintProperityPage::LoadFromObject(CObjElement& element) {
  startDelay = static_cast<unsigned>(element.penDownDelay);
  changeDelay = static_cast<unsigned>(element.penChangeDelay);
  times = static_cast<unsigned>(element.markCount);
  markOn = element.IsMarkEnabled();
  layerIndex = element.layer;
  databaseKey = element.queryKey;
  emptySpeed = element.emptySpeed;
  lineSpeed = element.lineSpeed;
  colour = static_cast<COLORREF>(element.color);
  colorButton_->SetColor(colour);
}

void CUpdatePrintProperityPage::SelectStored(QComboBox* combo, int index, std::string& text) {
  combo->setCurrentIndex(index);
  text = index >= 0 && index < combo->count() ? platform::Utf8ToCp936(combo->itemText(index).toStdString())
                                              : std::string();
}

void CUpdatePrintProperityPage::OnInitDialog() {
  EnableMarkControls();
  SelectStored(layerCombo_, layerIndex, layerText);
  EnableDataSource();
  if (dataSourceAllowed) {
    SelectStored(sourceCombo_, dataSourceIndex, dataSourceText);
    SelectStored(columnCombo_, excelColumnIndex, excelColumnText);
  }
  colorButton_->Attach(kColorButton, this, colour, kCaptionColour, kDisabledCaptionColour, kBevel);
  UpdateData(false);
}

void CUpdatePrintProperityPage::RestoreComboSelections() {
  SelectStored(sourceCombo_, dataSourceIndex, dataSourceText);
  SelectStored(columnCombo_, excelColumnIndex, excelColumnText);
  // A refill without a new page keeps the controls: their enabling must
  // follow the newly shown object too.
  EnableMarkControls();
  EnableDataSource();
  colorButton_->SetColor(colour);
}

void CUpdatePrintProperityPage::EnableMarkControls() {
  const bool on = markOn != 0;
  for (QWidget* w : std::initializer_list<QWidget*>{startEdit_, changeEdit_, timesEdit_, startSpin_, changeSpin_,
                                                    timesSpin_})
    w->setEnabled(on);
}

void CUpdatePrintProperityPage::EnableDataSource() {
  sourceCombo_->setEnabled(dataSourceAllowed != 0);
  columnCombo_->setEnabled(dataSourceAllowed != 0 && dataSourceIndex == 1);
}

void CUpdatePrintProperityPage::OnDelaySpin(unsigned& value, int delta, int id) {
  if (delta < 0) {
    value = value < kMaxDelay ? value + kDelayStep : kMaxDelay;
  } else {
    value = value > kDelayStep ? value - kDelayStep : 0;
  }
  UpdateData(false);
  PostChange(id);
}

void CUpdatePrintProperityPage::OnTimesSpin(int delta) {
  if (delta < 0) {
    times = times < kMaxTimes ? times + 1 : kMaxTimes;
  } else {
    times = times > 1 ? times - 1 : 1;
  }
  UpdateData(false);
  PostChange(kTimes);
}

void CUpdatePrintProperityPage::OnUnsignedKey(const unsigned& value, int id) {
  const unsigned before = value;
  UpdateData(true);
  if (value != before) PostChange(id);
}

void CUpdatePrintProperityPage::OnFloatKey(const float& value, int id) {
  const float before = value;
  UpdateData(true);
  if (value != before) PostChange(id);
}

void CUpdatePrintProperityPage::OnColorClicked() {
  platform::ColorDialogRequest request;
  request.initial = colour;
  request.fullOpen = true;
  const std::optional<COLORREF> chosen = platform::CurrentColorDialog().Ask(request);
  if (!chosen) return;
  colour = *chosen;
  colorButton_->SetColor(colour);
  PostChange(kColorButton);
}
