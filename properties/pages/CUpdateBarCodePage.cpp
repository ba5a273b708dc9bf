#include "properties/pages/CUpdateBarCodePage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <QTimerEvent>
#include <algorithm>
#include <cmath>
#include <ctime>

#include "document/objects/CObjElement.h"
#include "platform/Clock.h"
#include "properties/framework/PageControls.h"
#include "text/objects/CObjBarCode.h"
#include "values/PropertyMessages.h"
#include "widgets/CNotifyEdit.h"
#include "widgets/CSpinButton.h"

namespace {

QStringList FormatItems() {
  QStringList items{"Rectangle(Auto)", "Square(Auto)", "Rectangle/Square(Auto)"};
  for (int n : {10, 12, 14, 16, 18, 20, 22, 24, 26, 32, 36, 40, 44, 48, 52, 64, 72, 80, 88, 96, 104, 120, 132, 144})
    items << QString("Square-%1x%1").arg(n);
  for (const char* r : {"8x18", "8x32", "12x26", "12x36", "16x36", "16x48"}) items << QString("Rectangle-%1").arg(r);
  return items;
}

QStringList VersionItems() {
  QStringList items{"Auto"};
  for (int v = 1; v <= 40; ++v) items << QString("Ver-%1").arg(v);
  return items;
}

QStringList MaskItems() {
  QStringList items{"Auto"};
  for (int m = 0; m <= 7; ++m) items << QString(" %1").arg(m);
  return items;
}

}  // namespace

QStringList AdditionalDateEntries(int year, int month, int day) {
  const QString md = QString("%1%2").arg(month, 2, 10, QChar('0')).arg(day, 2, 10, QChar('0'));
  return {"No system date", QString::number(year - 2000) + md, QString::number(year) + md};
}

QStringList TodayDateEntries() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return AdditionalDateEntries(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

CUpdateBarCodePage::CUpdateBarCodePage() : CPropertyPage(kDialogId, "Barcode", kPageCode, WM_UPDATE_BARCODE) {
  PageControls c(this);
  QRadioButton* dm = c.Radio("DataMatrix", kDataMatrix);
  QRadioButton* qr = c.Radio("QR", kQr);
  QComboBox* formatCombo = c.Combo("Format", kFormat, FormatItems());
  QComboBox* typeCombo = c.Combo("Code type", kCodeType,
                                 {"ASCII", "C40", "Text", "X12", "EDIFACT", "Base 256", "opsimize mode", "high speed mode"});
  QComboBox* versionCombo = c.Combo("Barcode version", kVersion, VersionItems());
  QComboBox* maskCombo = c.Combo("Mask image", kMask, MaskItems());
  QComboBox* errorCombo = c.Combo("Error level", kErrorLevel, {" L (7%)", " M (15%)", " Q (25%)", " H (30%)"});
  QComboBox* optimizeCombo =
      c.Combo("Optimize path", kOptimize, {"none 0", "line-optimize 1", "col-optimize 2", "supper optimize 3"});
  CNotifyEdit* dotEdit = c.Edit("Dot size", kDotSize);
  CNotifyEdit* rotateEdit = c.Edit("Rotate angle", kRotate);
  CSpinButton *codeXSpin = nullptr, *codeYSpin = nullptr, *textXSpin = nullptr, *textYSpin = nullptr;
  CNotifyEdit* codeXEdit = c.Edit("Barcode(x)", kCodeX, &codeXSpin, kCodeXSpin);
  CNotifyEdit* codeYEdit = c.Edit("Barcode(y)", kCodeY, &codeYSpin, kCodeYSpin);
  CNotifyEdit* textXEdit = c.Edit("Text pos(x)", kTextX, &textXSpin, kTextXSpin);
  CNotifyEdit* textYEdit = c.Edit("Text(y)", kTextY, &textYSpin, kTextYSpin);
  QComboBox* alignCombo = c.Combo("Text align", kTextAlign, {"horizon", "vertial"});
  QCheckBox* outBox = c.Check("Out barcode text", kOutText);
  QCheckBox* twoLineBox = c.Check("2 line", kTwoLine);
  CNotifyEdit* offXEdit = c.Edit("No.2 offset(x):", kOffsetX);
  CNotifyEdit* offYEdit = c.Edit("No.2 offset(y):", kOffsetY);
  CNotifyEdit* prefixEdit = c.Edit("Prefix", kPrefix);
  CNotifyEdit* serialEdit = c.Edit("Auto", kSerial);
  CNotifyEdit* suffixEdit = c.Edit("Suffix", kSuffix);
  CNotifyEdit* jumpEdit = c.Edit("Jump interval", kJump);
  CNotifyEdit* sameEdit = c.Edit("Same no", kSameNo);
  CNotifyEdit* currentEdit = c.Edit("Current", kCurrent);
  currentEdit->setEnabled(false);
  QComboBox* dateCombo = c.Combo("Additional date", kDate, TodayDateEntries());
  QCheckBox* scanBox = c.Check("Scan input barcode", kScan);
  CNotifyEdit* stringEdit = c.Edit("String", kString);
  scanEdit_ = stringEdit;
  c.Stretch();
  dmLists_[0] = formatCombo;
  dmLists_[1] = typeCombo;
  qrLists_[0] = versionCombo;
  qrLists_[1] = errorCombo;
  qrLists_[2] = maskCombo;

  bindings_.Radio(kDataMatrix, {dm, qr}, &symbology);
  const std::pair<QComboBox*, std::pair<int*, std::string*>> lists[] = {
      {formatCombo, {&format, &formatText}},   {typeCombo, {&codeType, &codeTypeText}},
      {versionCombo, {&version, &versionText}}, {maskCombo, {&mask, &maskText}},
      {errorCombo, {&errorLevel, &errorText}}, {optimizeCombo, {&optimize, &optimizeText}},
      {alignCombo, {&align, &alignText}},       {dateCombo, {&dateMode, &dateText}}};
  for (const auto& [combo, members] : lists) {
    const int id = combo->objectName().mid(5).toInt();
    bindings_.ComboIndex(id, combo, members.first);
    bindings_.ComboText(id, combo, members.second);
    connect(combo, qOverload<int>(&QComboBox::activated), this, [this, id](int) {
      UpdateData(true);
      PostChange(id);
    });
  }
  bindings_.Edit(kDotSize, dotEdit, &dotSize);
  bindings_.Edit(kRotate, rotateEdit, &rotate);
  bindings_.Edit(kCodeX, codeXEdit, &codeX);
  bindings_.Edit(kCodeY, codeYEdit, &codeY);
  bindings_.Edit(kTextX, textXEdit, &textX);
  bindings_.Edit(kTextY, textYEdit, &textY);
  bindings_.Check(kOutText, outBox, &outText);
  bindings_.Check(kTwoLine, twoLineBox, &twoLine);
  bindings_.Edit(kOffsetX, offXEdit, &offsetX);
  bindings_.Edit(kOffsetY, offYEdit, &offsetY);
  bindings_.Edit(kPrefix, prefixEdit, &prefix);
  bindings_.Edit(kSerial, serialEdit, &serial);
  bindings_.Edit(kSuffix, suffixEdit, &suffix);
  bindings_.Edit(kJump, jumpEdit, &jump);
  bindings_.Edit(kSameNo, sameEdit, &sameNo);
  bindings_.Edit(kCurrent, currentEdit, &current);
  bindings_.Check(kScan, scanBox, &scan);
  bindings_.Edit(kString, stringEdit, &scanned);

  for (auto [edit, id] : {std::pair{prefixEdit, kPrefix}, {serialEdit, kSerial}, {suffixEdit, kSuffix},
                          {codeXEdit, kCodeX}, {codeYEdit, kCodeY}, {textXEdit, kTextX}, {textYEdit, kTextY},
                          {jumpEdit, kJump}, {sameEdit, kSameNo}, {dotEdit, kDotSize}, {rotateEdit, kRotate},
                          {offXEdit, kOffsetX}, {offYEdit, kOffsetY}, {stringEdit, kString}})
    edit->SetKeyHandler([this, id = id](int) { OnKey(id); });
  codeXSpin->SetDeltaHandler([this](int d) { OnSpin(codeX, d, kCodeX); });
  codeYSpin->SetDeltaHandler([this](int d) { OnSpin(codeY, d, kCodeY); });
  textXSpin->SetDeltaHandler([this](int d) { OnSpin(textX, d, kTextX); });
  textYSpin->SetDeltaHandler([this](int d) { OnSpin(textY, d, kTextY); });
  for (auto [radio, id] : {std::pair{dm, kDataMatrix}, {qr, kQr}}) {
    connect(radio, &QRadioButton::clicked, this, [this, id = id] {
      UpdateData(true);
      PostChange(id);
      EnableLists();
    });
  }
  for (auto [box, id] : {std::pair{outBox, kOutText}, {twoLineBox, kTwoLine}}) {
    connect(box, &QCheckBox::clicked, this, [this, id = id] {
      UpdateData(true);
      PostChange(id);
    });
  }
  connect(scanBox, &QCheckBox::clicked, this, [this] {
    UpdateData(true);
    PostChange(kScan);
    scanEdit_->setEnabled(scan != 0);
    if (scan) FocusScanText();
  });
  // Only keys the user (the scanner) types start or stretch the burst: a
  // text the page itself writes into the field is no scan.
  connect(stringEdit, &QLineEdit::textEdited, this, [this](const QString&) {
    if (!scan) return;
    lastScanKeyMicros_ = platform::CurrentClock().NowMicros();
    if (scanTimerId_ == 0) StartScanTimer(kScanGapMs);
  });
  FinishControls();
}

void CUpdateBarCodePage::LoadFromObject(CObjElement& element) {
  auto* code = element.GetObjectAs<CObjBarCode>();
  if (code == nullptr) return;
  const BarCodeSettings& c = code->Code();
  const TextSettings& s = code->Settings();
  const SerialSettings& ser = code->Serial();
  symbology = c.codeType == BARCODE_QR ? 1 : 0;
  format = c.dmSize;
  codeType = c.dmScheme;
  align = c.textDirection != 0 ? 1 : 0;
  version = c.qrVersion;
  errorLevel = c.qrLevel;
  mask = c.qrMask;
  optimize = c.dotOrder;
  dateMode = ser.dateMode >= 0 && ser.dateMode <= 2 ? ser.dateMode : 0;
  twoLine = (s.flags & TEXT_TWO_LINES) ? 1 : 0;
  offsetX = s.offsetX2;
  offsetY = s.offsetY2;
  codeX = std::round(s.position.x * 1000) / 1000;
  codeY = std::round(s.position.y * 1000) / 1000;
  textX = std::round(c.textPosition.x * 1000) / 1000;
  textY = std::round(c.textPosition.y * 1000) / 1000;
  outText = c.showText;
  scan = c.inputMode != 0 ? 1 : 0;
  scanned = c.fixedText;
  rotate = c.angle;
  dotSize = c.moduleSize;
  jump = static_cast<unsigned>(std::max(ser.step, 0));
  sameNo = static_cast<unsigned>(std::max(ser.marksPerNumber, 0));
  LoadAdvancedValues(element);
}

bool CUpdateBarCodePage::LoadAdvancedValues(CObjElement& element) {
  // What marking moves on: the parts and the marks counted.
  auto* code = element.GetObjectAs<CObjBarCode>();
  if (code == nullptr) return false;
  const SerialSettings& ser = code->Serial();
  prefix = ser.prefix;
  serial = ser.serial;
  suffix = ser.suffix;
  current = static_cast<unsigned>(std::max(ser.marksCounted, 0));
  return true;
}

void CUpdateBarCodePage::PrepareValue(int) {}

void CUpdateBarCodePage::OnInitDialog() {
  KillScanTimer();
  UpdateData(false);
  scanEdit_->setEnabled(scan != 0);
  EnableLists();
  if (scan) FocusScanText();
}

void CUpdateBarCodePage::showEvent(QShowEvent* event) {
  CPropertyPage::showEvent(event);
  // The next scan replaces the text shown.
  if (scan) FocusScanText();
}

void CUpdateBarCodePage::EnableLists() {
  for (QComboBox* combo : dmLists_) combo->setEnabled(symbology == 0);
  for (QComboBox* combo : qrLists_) combo->setEnabled(symbology == 1);
}

void CUpdateBarCodePage::FocusScanText() {
  scanEdit_->setFocus();
  scanEdit_->selectAll();
}

void CUpdateBarCodePage::OnKey(int id) {
  const std::string oldPrefix = prefix, oldSerial = serial, oldSuffix = suffix, oldScanned = scanned;
  const double oldCodeX = codeX, oldCodeY = codeY, oldTextX = textX, oldTextY = textY;
  const unsigned oldJump = jump, oldSame = sameNo;
  const float oldDot = dotSize, oldRotate = rotate, oldOffX = offsetX, oldOffY = offsetY;
  if (!UpdateData(true)) return;
  bool post = false;
  switch (id) {
    case kPrefix: post = prefix != oldPrefix; break;
    case kSerial: post = serial != oldSerial; break;
    case kSuffix: post = suffix != oldSuffix; break;
    case kCodeX: post = std::fabs(codeX - oldCodeX) >= 0.0001; break;
    case kCodeY: post = std::fabs(codeY - oldCodeY) >= 0.0001; break;
    case kTextX: post = std::fabs(textX - oldTextX) >= 0.0001; break;
    case kTextY: post = std::fabs(textY - oldTextY) >= 0.0001; break;
    case kJump: post = jump != oldJump; break;
    case kSameNo: post = sameNo != oldSame; break;
    case kDotSize: post = std::fabs(dotSize - oldDot) >= 0.001f; break;
    case kRotate: post = std::fabs(rotate - oldRotate) >= 0.001f; break;
    case kOffsetX: post = std::fabs(offsetX - oldOffX) >= 0.001f; break;
    case kOffsetY: post = std::fabs(offsetY - oldOffY) >= 0.001f; break;
    case kString:
      // Enter ends a burst at once.
      post = scan != 0 && scanned != oldScanned;
      if (scan) KillScanTimer();
      break;
    default: break;
  }
  if (post) PostChange(id);
}

void CUpdateBarCodePage::OnSpin(double& value, int delta, int id) {
  UpdateData(true);
  value += delta < 0 ? 1 : -1;
  UpdateData(false);
  PostChange(id);
}

void CUpdateBarCodePage::StartScanTimer(int ms) { scanTimerId_ = startTimer(ms); }

void CUpdateBarCodePage::KillScanTimer() {
  if (scanTimerId_ != 0) killTimer(scanTimerId_);
  scanTimerId_ = 0;
}

void CUpdateBarCodePage::timerEvent(QTimerEvent* event) {
  if (scanTimerId_ == 0 || event->timerId() != scanTimerId_) {
    CPropertyPage::timerEvent(event);
    return;
  }
  KillScanTimer();
  OnScanTimer();
}

void CUpdateBarCodePage::OnScanTimer() {
  if (!scan) return;
  // Woken before the keys stopped for the gap on the clock (a burst still
  // typing, or a simulated clock): look again when it may have passed.
  const std::int64_t quietMicros = platform::CurrentClock().NowMicros() - lastScanKeyMicros_;
  const std::int64_t gapMicros = std::int64_t{kScanGapMs} * 1000;
  if (quietMicros < gapMicros) {
    StartScanTimer(static_cast<int>(std::max<std::int64_t>(1, (gapMicros - quietMicros + 999) / 1000)));
    return;
  }
  const std::string before = scanned;
  UpdateData(true);
  FocusScanText();
  if (scanned != before) PostChange(kString);
}
