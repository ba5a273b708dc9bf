#include "properties/pages/CUpdateAutoTextPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <algorithm>
#include <cmath>

#include "document/objects/CObjElement.h"
#include "properties/framework/PageControls.h"
#include "properties/pages/CUpdateBarCodePage.h"
#include "properties/pages/PlacementSteps.h"
#include "text/objects/CObjText.h"
#include "text/objects/CObjTextAutoUpdate.h"
#include "values/PropertyMessages.h"
#include "widgets/CNotifyEdit.h"
#include "widgets/CSpinButton.h"

namespace {
constexpr double kPositionStep = 5;
}  // namespace

CUpdateAutoTextPage::CUpdateAutoTextPage() : CPropertyPage(kDialogId, "Auto text", kPageCode, WM_UPDATE_AUTOTEXT) {
  PageControls c(this);
  QComboBox* dateCombo = c.Combo("Additional time", kDate, TodayDateEntries());
  CNotifyEdit* prefixEdit = c.Edit("String 1", kPrefix);
  CNotifyEdit* serialEdit = c.Edit("Auto number", kSerial);
  CNotifyEdit* downEdit = c.Edit("Down limit:", kDownLimit);
  CNotifyEdit* upEdit = c.Edit("Up limit:", kUpLimit);
  CNotifyEdit* sameEdit = c.Edit("Same No:", kSameNo);
  CNotifyEdit* currentEdit = c.Edit("Current:", kCurrent);
  currentEdit->setEnabled(false);
  CSpinButton *jumpSpin = nullptr, *xSpin = nullptr, *ySpin = nullptr, *radiusSpin = nullptr;
  CSpinButton *offsetSpin = nullptr, *arcSpin = nullptr;
  CNotifyEdit* jumpEdit = c.Edit("Jump value:", kJump, &jumpSpin, kJumpSpin);
  CNotifyEdit* suffixEdit = c.Edit("String 3", kSuffix);
  CNotifyEdit* randEdit = c.Edit("rand code", kRandCode);
  randEdit->setEnabled(false);
  QCheckBox* randBox = c.Check("Add rand code", kRandOn);
  randLengthEdit_ = c.Edit("rand length", kRandLength);
  CNotifyEdit* xEdit = c.Edit("Left top(x):", kX, &xSpin, kXSpin);
  CNotifyEdit* yEdit = c.Edit("Left top(y):", kY, &ySpin, kYSpin);
  anchorLabels_.Take(*this, kX, kY);
  QCheckBox* arcBox = c.Check("Fixed arc length", kFixedArcLength);
  arcBox->hide();
  CNotifyEdit* offsetEdit = c.Edit("Offset angle:", kOffsetAngle, &offsetSpin, kOffsetSpin);
  CNotifyEdit* radiusEdit = c.Edit("Align radius:", kRadius, &radiusSpin, kRadiusSpin);
  c.Text("radius<0 rotate 180");
  CNotifyEdit* arcEdit = c.Edit("Arc angle", kArcAngle, &arcSpin, kArcSpin);
  c.Text("angle=0 auto");
  QComboBox* fixCombo = c.Combo("Fix position:", kFixPosition, FixPositionEntries());
  c.Stretch();

  bindings_.ComboIndex(kDate, dateCombo, &dateMode);
  bindings_.ComboText(kDate, dateCombo, &dateText);
  bindings_.Edit(kPrefix, prefixEdit, &prefix);
  bindings_.Edit(kSerial, serialEdit, &serial).maxChars = kSerialMaxChars;
  bindings_.Edit(kDownLimit, downEdit, &downLimit);
  bindings_.Edit(kUpLimit, upEdit, &upLimit);
  bindings_.Edit(kSameNo, sameEdit, &sameNo);
  bindings_.Edit(kCurrent, currentEdit, &current);
  bindings_.Edit(kJump, jumpEdit, &jump);
  bindings_.Edit(kSuffix, suffixEdit, &suffix);
  bindings_.Edit(kRandCode, randEdit, &randCode);
  bindings_.Check(kRandOn, randBox, &randOn);
  bindings_.Edit(kRandLength, randLengthEdit_, &randLength);
  bindings_.Edit(kX, xEdit, &x);
  bindings_.Edit(kY, yEdit, &y);
  bindings_.Check(kFixedArcLength, arcBox, &fixedArcLength);
  bindings_.Edit(kOffsetAngle, offsetEdit, &offsetAngle);
  bindings_.Edit(kRadius, radiusEdit, &radius);
  bindings_.Edit(kArcAngle, arcEdit, &arcAngle);
  bindings_.ComboIndex(kFixPosition, fixCombo, &fixIndex);
  bindings_.ComboText(kFixPosition, fixCombo, &fixText);

  for (auto [edit, id] : {std::pair{prefixEdit, kPrefix}, {serialEdit, kSerial}, {suffixEdit, kSuffix},
                          {downEdit, kDownLimit}, {upEdit, kUpLimit}, {jumpEdit, kJump}, {xEdit, kX}, {yEdit, kY},
                          {radiusEdit, kRadius}, {offsetEdit, kOffsetAngle}, {arcEdit, kArcAngle},
                          {sameEdit, kSameNo}})
    edit->SetKeyHandler([this, id = id](int) { OnKey(id); });
  static_cast<CNotifyEdit*>(randLengthEdit_)->SetKeyHandler([this](int) { OnKey(kRandLength); });
  for (auto [spin, id] : {std::pair{jumpSpin, kJump}, {xSpin, kX}, {ySpin, kY}, {radiusSpin, kRadius},
                          {offsetSpin, kOffsetAngle}, {arcSpin, kArcAngle}})
    spin->SetDeltaHandler([this, id = id](int d) { OnSpin(id, d); });
  connect(arcBox, &QCheckBox::clicked, this, [this] {
    UpdateData(true);
    PostChange(kFixedArcLength);
  });
  connect(randBox, &QCheckBox::clicked, this, [this] {
    UpdateData(true);
    PostChange(kRandOn);
    randLengthEdit_->setEnabled(randOn != 0);
  });
  connect(fixCombo, qOverload<int>(&QComboBox::activated), this, [this](int) { PostChange(kFixPosition); });
  connect(dateCombo, qOverload<int>(&QComboBox::activated), this, [this](int) {
    UpdateData(true);
    UpdateData(false);
    PostChange(kDate);
  });
  FinishControls();
}

void CUpdateAutoTextPage::LoadFromObject(CObjElement& element) {
  auto* text = element.GetObjectAs<CObjText>();
  if (text == nullptr) return;
  const TextSettings& s = text->Settings();
  x = std::round(s.position.x * 1000) / 1000;
  y = std::round(s.position.y * 1000) / 1000;
  radius = std::round(s.arcRadius * 10) / 10;
  offsetAngle = std::round(s.deflection * 1000) / 1000;
  arcAngle = static_cast<float>(std::round(s.arcSize * 1000) / 1000);
  fixedArcLength = s.arcArrangement;
  FixPositionOf(s.fixedCorner, fixIndex, fixText);
  auto* number = element.GetObjectAs<CObjTextAutoUpdate>();
  if (number == nullptr) return;
  const SerialSettings& ser = number->Serial();
  jump = static_cast<unsigned>(std::max(ser.step, 0));
  sameNo = static_cast<unsigned>(std::max(ser.marksPerNumber, 0));
  randOn = ser.tailSwitch;
  randLength = static_cast<unsigned>(std::clamp(ser.tailLength, 0, static_cast<int>(kRandLengthMax)));
  downLimit = ser.lower;
  upLimit = ser.upper;
  dateMode = ser.dateMode >= 0 && ser.dateMode <= 2 ? ser.dateMode : 0;
  LoadAdvancedValues(element);
}

bool CUpdateAutoTextPage::LoadAdvancedValues(CObjElement& element) {
  // What marking moves on: the parts, the tail and the marks counted.
  auto* number = element.GetObjectAs<CObjTextAutoUpdate>();
  if (number == nullptr) return false;
  const SerialSettings& ser = number->Serial();
  prefix = ser.prefix;
  serial = ser.serial;
  suffix = ser.suffix;
  randCode = ser.tail;
  current = static_cast<unsigned>(std::max(ser.marksCounted, 0));
  return true;
}

void CUpdateAutoTextPage::PrepareValue(int id) {
  if (id == kFixPosition) UpdateData(true);
}

void CUpdateAutoTextPage::OnInitDialog() {
  anchorLabels_.Show(radius, xLabel, yLabel);
  randLengthEdit_->setEnabled(randOn != 0);
  UpdateData(false);
}

void CUpdateAutoTextPage::OnKey(int id) {
  const std::string oldPrefix = prefix, oldSerial = serial, oldSuffix = suffix, oldDown = downLimit, oldUp = upLimit;
  const unsigned oldJump = jump, oldSame = sameNo, oldRand = randLength;
  const double oldX = x, oldY = y, oldRadius = radius, oldOffset = offsetAngle;
  const float oldArc = arcAngle;
  if (!UpdateData(true)) return;
  bool post = false;
  switch (id) {
    case kPrefix: post = prefix != oldPrefix; break;
    case kSerial: post = serial != oldSerial; break;
    case kSuffix: post = suffix != oldSuffix; break;
    case kDownLimit: post = downLimit != oldDown; break;
    case kUpLimit: post = upLimit != oldUp; break;
    case kJump: post = jump != oldJump; break;
    case kX: post = x != oldX; break;
    case kY: post = y != oldY; break;
    case kRadius:
      post = radius != oldRadius;
      if (post) anchorLabels_.Show(radius, xLabel, yLabel);
      break;
    case kOffsetAngle: post = std::fabs(offsetAngle - oldOffset) >= 0.0001; break;
    case kArcAngle: post = std::fabs(arcAngle - oldArc) >= 0.0001f; break;
    case kSameNo:
      post = sameNo != oldSame;
      if (post) {
        // The marks of the current number count again from 0.
        PostChange(kSameNo);
        current = 0;
        post = false;
      }
      break;
    case kRandLength:
      randLength = std::clamp(randLength, 1u, kRandLengthMax);
      post = randLength != oldRand;
      break;
    default: break;
  }
  if (post) PostChange(id);
  UpdateData(false);
}

void CUpdateAutoTextPage::OnSpin(int id, int delta) {
  const bool up = delta < 0;
  bool post = true;
  switch (id) {
    case kJump:
      if (up) {
        ++jump;
      } else if (jump > 0) {
        --jump;
      }
      break;
    case kX: x += up ? kPositionStep : -kPositionStep; break;
    case kY: y += up ? kPositionStep : -kPositionStep; break;
    case kRadius:
      post = StepRadius(radius, delta);
      if (post) anchorLabels_.Show(radius, xLabel, yLabel);
      break;
    case kOffsetAngle: post = StepOffsetAngle(offsetAngle, delta); break;
    case kArcAngle: post = StepArcAngle(arcAngle, delta); break;
    default: return;
  }
  UpdateData(false);
  if (post) PostChange(id);
}
