#include "properties/pages/CUpdatePrintSetupPage.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

#include "document/objects/CObjElement.h"
#include "document/params/CDrawProperity.h"
#include "properties/framework/PageControls.h"
#include "values/PropertyMessages.h"
#include "widgets/CNotifyEdit.h"
#include "widgets/CSpinButton.h"

namespace {
constexpr double kPathStep = 2;
}  // namespace

CUpdatePrintSetupPage::CUpdatePrintSetupPage()
    : CPropertyPage(kDialogId, "Work style...", kPageCode, WM_UPDATE_PRINTSETUP) {
  PageControls controls(this);
  CSpinButton* spin = nullptr;
  CNotifyEdit* times = controls.Edit("Continue times:", kContinueTimes, &spin, kTimesSpin);
  spin->SetDeltaHandler([this](int d) { OnSpin(kTimesSpin, d); });
  CNotifyEdit* interval = controls.Edit("Continue interval:", kContinueInterval, &spin, kIntervalSpin);
  spin->SetDeltaHandler([this](int d) { OnSpin(kIntervalSpin, d); });
  CNotifyEdit* reset = controls.Edit("Reset(print times):", kResetTimes, &spin, kResetSpin);
  spin->SetDeltaHandler([this](int d) { OnSpin(kResetSpin, d); });
  CNotifyEdit* back = controls.Edit("Mark(n times) back origin:", kBackOrigin, &spin, kBackOriginSpin);
  spin->SetDeltaHandler([this](int d) { OnSpin(kBackOriginSpin, d); });
  back->hide();
  spin->hide();
  CNotifyEdit* layer = controls.Edit("Layer delay", kLayerDelay);
  bindings_.Edit(kContinueTimes, times, &continueTimes);
  bindings_.Edit(kContinueInterval, interval, &continueInterval);
  bindings_.Edit(kResetTimes, reset, &resetTimes);
  bindings_.Edit(kBackOrigin, back, &backOrigin);
  bindings_.Edit(kLayerDelay, layer, &layerDelay);
  for (auto [edit, id] : {std::pair{times, kContinueTimes}, std::pair{interval, kContinueInterval},
                          std::pair{reset, kResetTimes}, std::pair{back, kBackOrigin}, std::pair{layer, kLayerDelay}})
    edit->SetKeyHandler([this, id = id](int) { OnEditKey(id); });

  QGroupBox* pause = controls.Group("Pause pos");
  PageControls pauseControls(pause);
  QRadioButton* origin = pauseControls.Radio("Origin", kPauseOrigin);
  QRadioButton* start = pauseControls.Radio("Start", kPauseStart);
  bindings_.Radio(kPauseOrigin, {origin, start}, &pausePosition);
  QCheckBox* road = controls.Check("Star/Back road", kStartBackRoad);
  bindings_.Check(kStartBackRoad, road, &startBackRoad);
  connect(origin, &QRadioButton::clicked, this, [this] { OnClick(kPauseOrigin); });
  connect(start, &QRadioButton::clicked, this, [this] { OnClick(kPauseStart); });
  connect(road, &QCheckBox::clicked, this, [this] { OnClick(kStartBackRoad); });

  const char* labels[] = {"Start x1", "Start y1", "Start x2", "Start y2", "Back x1", "Back y1", "Back x2", "Back y2"};
  for (int i = 0; i < 8; ++i) {
    const int id = kStartX1 + i;
    const int spinId = kPathSpin + i;
    CNotifyEdit* edit = controls.Edit(labels[i], id, &spin, spinId);
    bindings_.Edit(id, edit, &path[i]).floatDigits = true;
    edit->SetKeyHandler([this, id](int) { OnEditKey(id); });
    spin->SetDeltaHandler([this, spinId](int d) { OnSpin(spinId, d); });
  }
  QPushButton* clear = controls.Button("Clear counter", kClearCounter);
  connect(clear, &QPushButton::clicked, this, [this] { OnClick(kClearCounter); });
  controls.Stretch();
  FinishControls();
}

void CUpdatePrintSetupPage::LoadFromObject(CObjElement& element) {
  auto* prop = element.GetObjectAs<CDrawProperity>();
  if (prop == nullptr) return;
  continueTimes = static_cast<unsigned>(prop->GetContinuousCount());
  continueInterval = static_cast<unsigned>(prop->GetRestTime());
  resetTimes = static_cast<unsigned>(prop->GetResetAfterN());
  backOrigin = prop->GetRepeatLimit();
  layerDelay = prop->GetClassPause();
  pausePosition = prop->IsPauseAtStart() ? 1 : 0;
  startBackRoad = prop->IsStartBackRoad();
  for (int i = 0; i < 2; ++i) {
    path[2 * i] = prop->GetStartPath(i).x;
    path[2 * i + 1] = prop->GetStartPath(i).y;
    path[4 + 2 * i] = prop->GetResetPath(i).x;
    path[4 + 2 * i + 1] = prop->GetResetPath(i).y;
  }
  rangeX = prop->GetRangeX();
  rangeY = prop->GetRangeY();
}

void CUpdatePrintSetupPage::ReceiveLinkedValue(int id, const PropValue& value) {
  if (id == 1010) rangeX = PropToDouble(value);
  if (id == 1011) rangeY = PropToDouble(value);
}

double CUpdatePrintSetupPage::HalfRangeOf(int id) const {
  // Ids alternate x and y from start x1 on.
  return ((id - kStartX1) % 2 == 0 ? rangeX : rangeY) / 2;
}

void CUpdatePrintSetupPage::OnEditKey(int id) {
  const PropValue before = ValueOf(id);
  UpdateData(true);
  bool rewrite = false;
  if (id == kContinueTimes && continueTimes == 0) {
    continueTimes = 1;
    rewrite = true;
  } else if (id == kResetTimes) {
    if (resetTimes == 0) {
      resetTimes = 1;
      rewrite = true;
    }
    if (resetTimes > continueTimes) {
      resetTimes = continueTimes;
      rewrite = true;
    }
  } else if (id >= kStartX1 && id <= kBackY2) {
    double& value = path[id - kStartX1];
    const double half = HalfRangeOf(id);
    if (value > half || value < -half) {
      value = value > half ? half : -half;
      rewrite = true;
    }
  }
  if (rewrite) bindings_.LoadOne(id);
  if (ValueOf(id) != before) PostChange(id);
}

void CUpdatePrintSetupPage::OnSpin(int spinId, int delta) {
  const bool up = delta < 0;
  int id = 0;
  bool always = true;
  PropValue before;
  switch (spinId) {
    case kTimesSpin:
      id = kContinueTimes;
      if (up) {
        continueTimes = continueTimes < kMaxCount ? continueTimes + 1 : 1;
      } else {
        continueTimes = continueTimes > 2 ? continueTimes - 1 : 1;
      }
      break;
    case kIntervalSpin:
      id = kContinueInterval;
      if (up) {
        continueInterval = continueInterval < kMaxCount ? continueInterval + 1 : kMaxCount;
      } else if (continueInterval > 0) {
        --continueInterval;
      }
      break;
    case kResetSpin:
      id = kResetTimes;
      if (up) {
        resetTimes = resetTimes < continueTimes ? resetTimes + 1 : continueTimes;
      } else {
        resetTimes = resetTimes > 2 ? resetTimes - 1 : 1;
      }
      break;
    case kBackOriginSpin:
      id = kBackOrigin;
      always = false;
      before = ValueOf(id);
      if (up) {
        ++backOrigin;
      } else if (backOrigin > 0) {
        --backOrigin;
      }
      break;
    default: {
      id = kStartX1 + (spinId - kPathSpin);
      double& value = path[id - kStartX1];
      const double half = HalfRangeOf(id);
      if (up) {
        value = value < half - kPathStep ? value + kPathStep : half;
      } else {
        value = value > kPathStep - half ? value - kPathStep : -half;
      }
      break;
    }
  }
  UpdateData(false);
  if (always || ValueOf(id) != before) PostChange(id);
}

void CUpdatePrintSetupPage::OnClick(int id) {
  UpdateData(true);
  PostChange(id);
}
