#include "properties/pages/CUpdateObjVinPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <cmath>

#include "document/objects/CObjElement.h"
#include "platform/Prompt.h"
#include "properties/framework/PageControls.h"
#include "properties/pages/PlacementSteps.h"
#include "properties/pages/VinText.h"
#include "text/objects/CObjText.h"
#include "text/objects/CObjTextVin.h"
#include "values/PropertyMessages.h"
#include "widgets/CNotifyEdit.h"
#include "widgets/CSpinButton.h"

namespace {
constexpr std::size_t kCheckAt = 8;
constexpr std::size_t kMakeOrderAt = 11;
constexpr std::size_t kMakeOrderLength = 6;
constexpr double kPositionStep = 5;
}  // namespace

CUpdateObjVinPage::CUpdateObjVinPage()
    : CPropertyPage(kDialogId, "VIN code(seventeen chars)", kPageCode, WM_UPDATE_OBJVIN) {
  PageControls c(this);
  struct EditDef {
    const char* label;
    int id;
    std::string* member;
    int limit;
  };
  const EditDef parts[] = {{"World made ID...(WMI No.1~3)", kWmi, &wmi, 3}, {"Driver type(No.4)", kChar4, &char4, 1},
                           {"Driver room type(No.5)", kChar5, &char5, 1},   {"Stop type(No.6)", kChar6, &char6, 1},
                           {"Driver power(No.7)", kChar7, &char7, 1},       {"Engine ID(No.8)", kChar8, &char8, 1},
                           {"No.9(Check char)", kCheckChar, &checkChar, 1}, {"Year(No.10)", kYear, &year, 1},
                           {"Assembly line(No.11)", kPlant, &plant, 1}};
  for (const EditDef& d : parts) {
    CNotifyEdit* edit = c.Edit(d.label, d.id);
    bindings_.Edit(d.id, edit, d.member).maxChars = d.limit;
  }
  CSpinButton* orderSpin = nullptr;
  CNotifyEdit* orderEdit = c.Edit("Make order(No.12~17)", kMakeOrder, &orderSpin, kMakeOrderSpin);
  bindings_.Edit(kMakeOrder, orderEdit, &makeOrder).maxChars = 6;
  std::array<CSpinButton*, 6> digitSpins{};
  for (std::size_t i = 0; i < digits.size(); ++i) {
    const std::string label = std::to_string(i + 1);
    CNotifyEdit* digit = c.Edit(label.c_str(), kDigitEdits[i], &digitSpins[i], kDigitSpins[i]);
    digit->setEnabled(false);
    bindings_.Edit(kDigitEdits[i], digit, &digits[i]).maxChars = 1;
  }
  CNotifyEdit* codeEdit = c.Edit("VIN code", kCode);
  bindings_.Edit(kCode, codeEdit, &code).maxChars = 17;
  CSpinButton* xSpin = nullptr;
  CSpinButton* ySpin = nullptr;
  CSpinButton* radiusSpin = nullptr;
  CSpinButton* rotateSpin = nullptr;
  CSpinButton* arcSpin = nullptr;
  CNotifyEdit* xEdit = c.Edit("X:", kX, &xSpin, kXSpin);
  CNotifyEdit* yEdit = c.Edit("Y:", kY, &ySpin, kYSpin);
  anchorLabels_.Take(*this, kX, kY);
  CNotifyEdit* radiusEdit = c.Edit("Radius", kRadius, &radiusSpin, kRadiusSpin);
  QComboBox* fixCombo = c.Combo("Fixed position", kFixPosition, FixPositionEntries());
  CNotifyEdit* rotateEdit = c.Edit("Rotate angle", kRotate, &rotateSpin, kRotateSpin);
  CNotifyEdit* arcEdit = c.Edit("Arc angle", kArcAngle, &arcSpin, kArcSpin);
  QCheckBox* zoomBox = c.Check("Zoom in", kZoom);
  QCheckBox* starBox = c.Check("Mark pentagonal star", kPentagonalStar);
  starBox->hide();
  QCheckBox* twoLineBox = c.Check("Two line", kTwoLine);
  CNotifyEdit* offsetXEdit = c.Edit("Offset X:", kOffsetX);
  CNotifyEdit* offsetYEdit = c.Edit("Offset Y:", kOffsetY);
  starCombo_ = c.Combo("", kStar, {"No pentagonal star", "pentagonal star", "add '*' char"});
  c.Stretch();

  bindings_.Edit(kX, xEdit, &x);
  bindings_.Edit(kY, yEdit, &y);
  bindings_.Edit(kRadius, radiusEdit, &radius);
  bindings_.ComboIndex(kFixPosition, fixCombo, &fixIndex);
  bindings_.ComboText(kFixPosition, fixCombo, &fixText);
  bindings_.Check(kZoom, zoomBox, &zoom);
  bindings_.Check(kPentagonalStar, starBox, &pentagonalStar);
  bindings_.Edit(kRotate, rotateEdit, &rotate);
  bindings_.Check(kTwoLine, twoLineBox, &twoLine);
  bindings_.Edit(kOffsetX, offsetXEdit, &offsetX);
  bindings_.Edit(kOffsetY, offsetYEdit, &offsetY);
  bindings_.ComboIndex(kStar, starCombo_, &starIndex);
  bindings_.ComboText(kStar, starCombo_, &starText);
  bindings_.Edit(kArcAngle, arcEdit, &arcAngle);

  const Part partFields[] = {{kWmi, &wmi, 0},   {kChar4, &char4, 3}, {kChar5, &char5, 4}, {kChar6, &char6, 5},
                             {kChar7, &char7, 6}, {kChar8, &char8, 7}, {kYear, &year, 9},  {kPlant, &plant, 10}};
  for (const Part& p : partFields) {
    if (auto* edit = findChild<CNotifyEdit*>(QString("edit%1").arg(p.id))) edit->SetKeyHandler([this, p](int) { OnPartKey(p); });
  }
  findChild<CNotifyEdit*>(QString("edit%1").arg(kCheckChar))->SetKeyHandler([this](int) { OnCheckCharKey(); });
  orderEdit->SetKeyHandler([this](int) { OnMakeOrderKey(); });
  codeEdit->SetKeyHandler([this](int) { OnCodeKey(); });
  for (auto [edit, id] : {std::pair{xEdit, kX}, {yEdit, kY}, {radiusEdit, kRadius}, {rotateEdit, kRotate},
                          {arcEdit, kArcAngle}, {offsetXEdit, kOffsetX}, {offsetYEdit, kOffsetY}})
    edit->SetKeyHandler([this, id = id](int) { OnPlacementKey(id); });
  orderSpin->SetDeltaHandler([this](int d) { OnMakeOrderSpin(d); });
  for (std::size_t i = 0; i < digitSpins.size(); ++i)
    digitSpins[i]->SetDeltaHandler([this, i](int d) { OnDigitSpin(static_cast<int>(i), d); });
  xSpin->SetDeltaHandler([this](int d) { OnPositionSpin(x, d, kX); });
  ySpin->SetDeltaHandler([this](int d) { OnPositionSpin(y, d, kY); });
  radiusSpin->SetDeltaHandler([this](int d) { OnRadiusSpin(d); });
  rotateSpin->SetDeltaHandler([this](int d) { OnRotateSpin(d); });
  arcSpin->SetDeltaHandler([this](int d) {
    if (StepArcAngle(arcAngle, d)) PostChange(kArcAngle);
    UpdateData(false);
  });
  for (auto [box, id] : {std::pair{zoomBox, kZoom}, {twoLineBox, kTwoLine}}) {
    connect(box, &QCheckBox::clicked, this, [this, id = id] {
      UpdateData(true);
      PostChange(id);
    });
  }
  connect(fixCombo, qOverload<int>(&QComboBox::activated), this, [this](int) { PostChange(kFixPosition); });
  connect(starCombo_, qOverload<int>(&QComboBox::activated), this, [this](int) {
    UpdateData(true);
    PostChange(kStar);
    UpdateData(false);
  });
  FinishControls();
}

void CUpdateObjVinPage::LoadFromObject(CObjElement& element) {
  auto* text = element.GetObjectAs<CObjText>();
  if (text == nullptr) return;
  const TextSettings& s = text->Settings();
  code = text->GetText();
  SplitCode();
  x = s.position.x;
  y = s.position.y;
  radius = s.arcRadius;
  rotate = s.deflection;
  arcAngle = s.arcSize;
  twoLine = (s.flags & TEXT_TWO_LINES) ? 1 : 0;
  offsetX = s.offsetX2;
  offsetY = s.offsetY2;
  FixPositionOf(s.fixedCorner, fixIndex, fixText);
  starIndex = s.starMode >= 0 && s.starMode <= 2 ? s.starMode : 0;
  AnchorLabelsFor(radius, xLabel, yLabel);
  if (auto* vin = element.GetObjectAs<CObjTextVin>()) zoom = vin->GetEnlarged();
}

bool CUpdateObjVinPage::LoadAdvancedValues(CObjElement& element) {
  auto* text = element.GetObjectAs<CObjText>();
  if (text == nullptr) return false;
  code = text->GetText();
  SplitCode();
  return true;
}

void CUpdateObjVinPage::SplitCode() {
  const auto part = [&](std::size_t at, std::size_t n) { return at < code.size() ? code.substr(at, n) : std::string(); };
  wmi = part(0, 3);
  char4 = part(3, 1);
  char5 = part(4, 1);
  char6 = part(5, 1);
  char7 = part(6, 1);
  char8 = part(7, 1);
  checkChar = part(kCheckAt, 1);
  year = part(9, 1);
  plant = part(10, 1);
  makeOrder = part(kMakeOrderAt, kMakeOrderLength);
  SpreadMakeOrder();
}

void CUpdateObjVinPage::SpreadMakeOrder() {
  // Position 1 is the make order's last character, position 6 its first.
  for (std::size_t i = 0; i < digits.size(); ++i)
    digits[i] = i < makeOrder.size() ? std::string(1, makeOrder[makeOrder.size() - 1 - i]) : std::string();
}

void CUpdateObjVinPage::PrepareValue(int id) {
  if (id == kFixPosition) UpdateData(true);
}

void CUpdateObjVinPage::OnInitDialog() {
  anchorLabels_.Show(radius, xLabel, yLabel);
  UpdateData(false);
}

void CUpdateObjVinPage::ShowRefusedLetters() {
  showingMessage_ = true;
  platform::MessageBox(kRefusedLetterText, "");
  showingMessage_ = false;
}

void CUpdateObjVinPage::OnPartKey(const Part& part) {
  if (showingMessage_) return;
  UpperVin(*part.value);
  const std::string copy = *part.value;
  if (!UpdateData(true)) return;
  UpperVin(*part.value);
  // The old part is back in both fields before the message shows.
  const bool refused = HasRefusedVinLetter(*part.value);
  if (refused) *part.value = copy;
  PutVinPart(code, part.at, *part.value);
  UpdateData(false);
  if (refused) ShowRefusedLetters();
  if (*part.value != copy) PostChange(part.id);
}

void CUpdateObjVinPage::OnCheckCharKey() {
  UpperVin(checkChar);
  const std::string copy = checkChar;
  if (!UpdateData(true)) return;
  UpperVin(checkChar);
  PutVinPart(code, kCheckAt, checkChar);
  UpdateData(false);
  if (checkChar != copy) PostChange(kCheckChar);
}

void CUpdateObjVinPage::OnMakeOrderKey() {
  if (showingMessage_) return;
  UpperVin(makeOrder);
  const std::string copy = makeOrder;
  if (!UpdateData(true)) return;
  if (makeOrder.size() == kMakeOrderLength) {
    UpperVin(makeOrder);
  } else {
    makeOrder = copy;
  }
  const bool refused = HasRefusedVinLetter(makeOrder);
  if (refused) {
    makeOrder = copy;
  } else {
    SpreadMakeOrder();
  }
  PutVinPart(code, kMakeOrderAt, makeOrder);
  UpdateData(false);
  if (refused) ShowRefusedLetters();
  if (makeOrder != copy) PostChange(kMakeOrder);
}

void CUpdateObjVinPage::OnCodeKey() {
  const std::string old = code;
  if (!UpdateData(true)) return;
  if (code.size() == kVinLength) {
    if (code != old) PostChange(kCode);
    return;
  }
  // A code of another length is not taken: the field shows again the code
  // the VIN keeps, as the make order does.
  code = old;
  UpdateData(false);
}

void CUpdateObjVinPage::OnPlacementKey(int id) {
  const double oldX = x, oldY = y, oldRadius = radius, oldRotate = rotate;
  const float oldArc = arcAngle, oldOffX = offsetX, oldOffY = offsetY;
  if (!UpdateData(true)) return;
  bool post = false;
  switch (id) {
    case kX: post = std::fabs(x - oldX) >= 0.0001; break;
    case kY: post = std::fabs(y - oldY) >= 0.0001; break;
    case kRadius:
      post = std::fabs(radius - oldRadius) >= 0.0001;
      anchorLabels_.Show(radius, xLabel, yLabel);
      UpdateData(false);
      break;
    case kRotate: post = std::fabs(rotate - oldRotate) >= 0.0001; break;
    case kArcAngle: post = std::fabs(arcAngle - oldArc) >= 0.001f; break;
    case kOffsetX: post = std::fabs(offsetX - oldOffX) >= 0.001f; break;
    case kOffsetY: post = std::fabs(offsetY - oldOffY) >= 0.001f; break;
    default: break;
  }
  if (post) PostChange(id);
}

void CUpdateObjVinPage::OnMakeOrderSpin(int delta) {
  if (makeOrder.size() != kMakeOrderLength) {
    platform::MessageBox(kSixCharsText);
    return;
  }
  if (!StepMakeOrder(makeOrder, delta < 0)) return;
  SpreadMakeOrder();
  UpdateData(false);
  PostChange(kMakeOrder);
}

void CUpdateObjVinPage::OnDigitSpin(int position, int delta) {
  std::string& digit = digits[static_cast<std::size_t>(position)];
  if (!StepVinDigit(digit, delta < 0)) return;
  // Position 1 is the last character of the make order.
  if (makeOrder.size() == kMakeOrderLength) makeOrder[kMakeOrderLength - 1 - static_cast<std::size_t>(position)] = digit[0];
  UpdateData(false);
  PostChange(kMakeOrder);
}

void CUpdateObjVinPage::OnPositionSpin(double& value, int delta, int id) {
  value += delta < 0 ? kPositionStep : -kPositionStep;
  UpdateData(false);
  PostChange(id);
}

void CUpdateObjVinPage::OnRadiusSpin(int delta) {
  if (!StepRadius(radius, delta)) return;
  anchorLabels_.Show(radius, xLabel, yLabel);
  UpdateData(false);
  PostChange(kRadius);
}

void CUpdateObjVinPage::OnRotateSpin(int delta) {
  const bool changed = StepArcAngle(rotate, delta);
  UpdateData(false);
  if (changed) PostChange(kRotate);
}
