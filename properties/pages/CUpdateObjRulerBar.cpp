#include "properties/pages/CUpdateObjRulerBar.h"

#include <QCheckBox>
#include <QComboBox>
#include <algorithm>
#include <array>
#include <cmath>

#include "document/objects/CObjElement.h"
#include "properties/framework/PageControls.h"
#include "text/objects/CObjTextRuler.h"
#include "values/PropertyMessages.h"
#include "widgets/CNotifyEdit.h"
#include "widgets/CSpinButton.h"

namespace {
constexpr float kArcFormRadius = 2;
constexpr float kFactorMax = 100;
constexpr std::array kOutTextNames = {"None", "Big mark", "Big/Mid mark", "Big(unsigned)", "Big/Mid(unsigned)"};
constexpr std::array kSymmetryNames = {"Any", "Y+ symmetry", "Y- symmetry", "X+ symmetry", "X- symmetry"};
constexpr std::array kStartEndNames = {"all marker", "disable header", "disable end"};

template <std::size_t N>
QStringList Items(const std::array<const char*, N>& names) {
  QStringList items;
  for (const char* name : names) items << name;
  return items;
}

// A stored list index as the page shows it: the entry and its text, the
// first entry for an index the list does not have.
template <std::size_t N>
int ListIndex(int stored, const std::array<const char*, N>& names, std::string& text) {
  const int index = stored >= 0 && stored < static_cast<int>(N) ? stored : 0;
  text = names[static_cast<std::size_t>(index)];
  return index;
}
}  // namespace

CUpdateObjRulerBar::CUpdateObjRulerBar() : CPropertyPage(kDialogId, "Ruler", kPageCode, WM_UPDATE_OBJRULERBAR) {
  PageControls c(this);
  struct Field {
    const char* label;
    int id;
    BindingTable::Member member;
  };
  const Field fields[] = {{"Graduation nums", kGraduations, &graduations}, {"Unit width", kUnitWidth, &unitWidth},
                          {"Ruler height", kHeight, &height},              {"Big lines", kBigLines, &bigLines},
                          {"small line factor", kSmallFactor, &smallFactor},
                          {"middle line factor", kMiddleFactor, &middleFactor},
                          {"start value", kStartValue, &startValue},       {"Radix point nums", kDecimals, &decimals},
                          {"Unit value", kUnitValue, &unitValue},          {"Reverse nums", kReverse, &reverse},
                          {"Sector radius", kSectorRadius, &sectorRadius}, {"Width(degree)", kWidthDegree, &widthDegree},
                          {"Text distance", kTextDistance, &textDistance}};
  for (const Field& f : fields) {
    CNotifyEdit* edit = c.Edit(f.label, f.id);
    bindings_.Edit(f.id, edit, f.member);
    edit->SetKeyHandler([this, id = f.id](int) { OnKey(id); });
    if (f.id == kWidthDegree) widthEdit_ = edit;
  }
  CNotifyEdit* startEdit = c.Edit("Start angle", kStartAngle, &startAngleSpin_, kStartAngleSpin);
  startAngleEdit_ = startEdit;
  bindings_.Edit(kStartAngle, startEdit, &startAngle);
  startEdit->SetKeyHandler([this](int) { OnKey(kStartAngle); });
  QComboBox* outCombo = c.Combo("Out text", kOutText, Items(kOutTextNames));
  symmetryCombo_ = c.Combo("Symmetry align", kSymmetry, Items(kSymmetryNames));
  startEndCombo_ = c.Combo("Start-end flag", kStartEnd, Items(kStartEndNames));
  QCheckBox* bottomBox = c.Check("Ruler bottom", kBottom);
  QCheckBox* oneWayBox = c.Check("Un-direction", kOneWay);
  c.Stretch();
  bindings_.ComboIndex(kOutText, outCombo, &outText);
  bindings_.ComboText(kOutText, outCombo, &outTextText);
  bindings_.ComboIndex(kSymmetry, symmetryCombo_, &symmetry);
  bindings_.ComboText(kSymmetry, symmetryCombo_, &symmetryText);
  bindings_.ComboIndex(kStartEnd, startEndCombo_, &startEnd);
  bindings_.ComboText(kStartEnd, startEndCombo_, &startEndText);
  bindings_.Check(kBottom, bottomBox, &bottom);
  bindings_.Check(kOneWay, oneWayBox, &oneWay);

  startAngleSpin_->SetDeltaHandler([this](int d) {
    UpdateData(true);
    const float before = startAngle;
    startAngle += d < 0 ? widthDegree : -widthDegree;
    UpdateData(false);
    if (startAngle != before) PostChange(kStartAngle);
  });
  for (auto [combo, id] : {std::pair{outCombo, kOutText}, {symmetryCombo_, kSymmetry}, {startEndCombo_, kStartEnd}}) {
    connect(combo, qOverload<int>(&QComboBox::activated), this, [this, id = id](int) {
      UpdateData(true);
      UpdateData(false);
      PostChange(id);
      EnableArcControls();
    });
  }
  for (auto [box, id] : {std::pair{bottomBox, kBottom}, {oneWayBox, kOneWay}}) {
    connect(box, &QCheckBox::clicked, this, [this, id = id] {
      UpdateData(true);
      PostChange(id);
    });
  }
  FinishControls();
}

void CUpdateObjRulerBar::LoadFromObject(CObjElement& element) {
  auto* ruler = element.GetObjectAs<CObjTextRuler>();
  if (ruler == nullptr) return;
  const RulerSettings& r = ruler->Ruler();
  graduations = r.units;
  unitWidth = r.lineW;
  height = r.rHeight;
  bigLines = r.bigUnits;
  smallFactor = r.sf;
  middleFactor = r.mf;
  startValue = r.sv;
  decimals = r.zero;
  unitValue = r.uv;
  reverse = r.reverse;
  sectorRadius = r.ur;
  widthDegree = r.arcW;
  textDistance = r.textDis;
  startAngle = r.sAngle;
  // The texts too: a list shows the text it holds over the index.
  outText = ListIndex(r.textMode, kOutTextNames, outTextText);
  symmetry = ListIndex(r.arcMode, kSymmetryNames, symmetryText);
  startEnd = ListIndex(ruler->Marks().startEnd, kStartEndNames, startEndText);
  bottom = r.dir != 0 ? 1 : 0;
  oneWay = ruler->Marks().oneWay != 0 ? 1 : 0;
}

void CUpdateObjRulerBar::OnInitDialog() {
  UpdateData(false);
  EnableArcControls();
}

void CUpdateObjRulerBar::EnableArcControls() {
  const bool any = symmetry == 0;
  startAngleEdit_->setEnabled(any);
  startAngleSpin_->setEnabled(any);
  const bool arc = std::fabs(sectorRadius) > kArcFormRadius;
  widthEdit_->setEnabled(arc);
  symmetryCombo_->setEnabled(arc);
  startEndCombo_->setEnabled(arc);
}

void CUpdateObjRulerBar::OnKey(int id) {
  const int oldInts[] = {graduations, bigLines, decimals, reverse};
  const float oldFloats[] = {unitWidth, height, smallFactor, middleFactor, startValue, unitValue,
                             sectorRadius, widthDegree, textDistance, startAngle};
  if (!UpdateData(true)) return;
  bool post = false;
  switch (id) {
    case kGraduations: post = graduations != oldInts[0]; break;
    case kBigLines: post = bigLines != oldInts[1]; break;
    case kDecimals: post = decimals != oldInts[2]; break;
    case kReverse: post = reverse != oldInts[3]; break;
    case kSmallFactor:
    case kMiddleFactor: {
      float& factor = id == kSmallFactor ? smallFactor : middleFactor;
      factor = std::clamp(factor, 0.0f, kFactorMax);
      post = std::fabs(factor - oldFloats[id == kSmallFactor ? 2 : 3]) >= 0.001f;
      break;
    }
    default: {
      const std::pair<int, const float*> floats[] = {
          {kUnitWidth, &unitWidth},       {kHeight, &height},          {kStartValue, &startValue},
          {kUnitValue, &unitValue},       {kSectorRadius, &sectorRadius}, {kWidthDegree, &widthDegree},
          {kTextDistance, &textDistance}, {kStartAngle, &startAngle}};
      const int oldIndex[] = {0, 1, 4, 5, 6, 7, 8, 9};
      for (std::size_t i = 0; i < std::size(floats); ++i)
        if (floats[i].first == id) post = std::fabs(*floats[i].second - oldFloats[oldIndex[i]]) >= 0.001f;
      break;
    }
  }
  if (id == kSectorRadius) EnableArcControls();
  UpdateData(false);
  if (post) PostChange(id);
}
