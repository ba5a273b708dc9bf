#include "marking/controller/CMarkControlWnd.h"

#include <chrono>
#include <thread>

#include "values/ShellValues.h"
#include "document/geometry/SharedHelpers.h"
#include "document/geometry/SharedState.h"
#include "document/objects/CObjElement.h"
#include "document/params/CDrawProperity.h"
#include "marking/controller/ControllerMessages.h"
#include "marking/controller/ControllerState.h"
#include "marking/link/LinkMessages.h"
#include "platform/Clock.h"
#include "platform/Prompt.h"

namespace {

int ReadDwordOr(const char* name, int fallback) {
  int value = fallback;
  ReadRegDword(name, value);
  return value;
}

// The delay's calibration comes from the registry; a missing or implausible
// value is measured again and stored.
void SetDelayFromStoredCpuSpeed(CPreciseDelay& delay) {
  int ticks = ReadDwordOr("CpuSpeed10", 0);
  if (ticks <= 0 || ticks > 999999) {
    ticks = delay.Calibrate();
    WriteRegDword("CpuSpeed10", ticks);
  }
  delay.SetTicksPer10us(ticks);
}

}  // namespace

CMarkControlWnd::CMarkControlWnd(platform::Clock* clock)
    : clock_(clock), delay_(clock), stepOut_(clock, &delay_) {
  successCount = ReadDwordOr("SuccessedNum", 0);
  float x = 0, y = 0;
  ReadRegFloat("MarkPositionX", x);
  ReadRegFloat("MarkPositionY", y);
  workPosition = CDoublePoint(x, y, 0);
  checkMarked = ReadDwordOr("CheckMarkVin", 0);
  dbOption = ReadDwordOr("DataBaseOpDir", 1);
  showPreview = ReadDwordOr("OpenViewMark", 0);
  nearestOrder = ReadDwordOr("OptimizeSpeed", 0);
  StartMarkDelay = ReadDwordOr("StartMarkDelay", 0);
  SetDelayFromStoredCpuSpeed(delay_);
}

CMarkControlWnd::~CMarkControlWnd() {
  WaitForJob();
  WriteRegDword("OpenViewMark", showPreview);
  WriteRegDword("DataBaseOpDir", dbOption);
  WriteRegDword("CheckMarkVin", checkMarked);
  WriteRegDword("SuccessedNum", successCount);
  WriteRegDword("OptimizeSpeed", nearestOrder);
  ClearJobList();
}

bool CMarkControlWnd::Create(platform::MessageTarget* parentFrame, int id) {
  if (parentFrame == nullptr) return false;
  parent_ = parentFrame;
  id_ = id;
  created_ = true;
  return true;
}

void CMarkControlWnd::SetSelfTarget(platform::MessageTarget* self) {
  self_ = self;
  link_.reset();
}

void CMarkControlWnd::SetLinkTimeoutScale(double scale) {
  linkTimeoutScale_ = scale;
  if (link_) link_->SetTimeoutScale(scale);
}

bool CMarkControlWnd::IsUsb() const { return stepOut_.IsUsbBoard(); }

void CMarkControlWnd::EnsureLink() {
  if (!propertyView_) {
    link_.reset();
    stepOut_.SetLink(nullptr);
    return;
  }
  if (link_) return;
  link_ = std::make_unique<CControllerLink>(propertyView_, self_);
  link_->SetBoardTypeSource([this] { return stepOut_.BoardType(); });
  link_->SetPolarityMaskSource([] { return PortLevelByte.load(); });
  link_->SetWorkerDoneFlag(&workerDone_);
  link_->SetTimeoutScale(linkTimeoutScale_);
  stepOut_.SetLink(link_.get());
}

bool CMarkControlWnd::HandleMessage(const platform::Message& message) {
  if (message.msg != WM_COM_REQUEST) return false;
  if (link_) link_->OnComReply(message);
  return true;
}

void CMarkControlWnd::SetContext(IMarkDocument* document, IMarkDisplay* display, IMarkView* view) {
  document_ = document;
  display_ = display;
  view_ = view;
  ILinkHost* host = view ? view->GetPropertyView() : nullptr;
  // A running job keeps the link it started with.
  if (host != propertyView_ && !jobRunning_.load()) {
    propertyView_ = host;
    link_.reset();
  }
  EnsureLink();
  stepOut_.SetMachineOptions(CurrentMachineOptions());
}

CDrawProperity* CMarkControlWnd::Record() const {
  CObjElement* e = Element(0);
  return e ? e->GetObjectAs<CDrawProperity>() : nullptr;
}

CObjElement* CMarkControlWnd::Element(int index) const {
  return document_ && index >= 0 && index < document_->GetElementCount() ? document_->GetElement(index) : nullptr;
}

int CMarkControlWnd::ElementCount() const { return document_ ? document_->GetElementCount() : 0; }

void CMarkControlWnd::Post(platform::MessageTarget* target, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (target) target->PostMessage(msg, wParam, lParam);
}

void CMarkControlWnd::PostToFrame(UINT msg, WPARAM wParam, LPARAM lParam) {
  Post(frame_ ? frame_->GetFrameTarget() : parent_, msg, wParam, lParam);
}

void CMarkControlWnd::PostToView(UINT msg, WPARAM wParam, LPARAM lParam) {
  Post(view_ ? view_->GetViewTarget() : nullptr, msg, wParam, lParam);
}

int CMarkControlWnd::AskYesNo(const std::string& text) {
  return platform::MessageBox(text, "Vendrik", MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void CMarkControlWnd::PumpOnce() {
  if (pump_) {
    pump_();
    return;
  }
  platform::PumpEvents();
  std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

void CMarkControlWnd::SleepMs(int ms) { stepOut_.SleepMs(ms); }

std::int64_t CMarkControlWnd::NowMs() {
  platform::Clock& clock = clock_ ? *clock_ : platform::CurrentClock();
  return clock.NowMicros() / 1000;
}

int CMarkControlWnd::RunInWorker(std::function<int()> work) {
  workerDone_ = 0;
  std::atomic<int> result{0};
  std::atomic<bool> finished{false};
  std::thread worker([&] {
    result = work();
    finished = true;
  });
  // The UI keeps handling messages (the link's replies among them).
  while (!finished.load()) PumpOnce();
  worker.join();
  workerDone_ = 1;
  return result.load();
}

int CMarkControlWnd::RunOriginWorker() {
  if (!link_) return 0;
  return RunInWorker([this] { return link_->BackToOrigin(false); });
}

int CMarkControlWnd::RunLinkInit() {
  CDrawProperity* record = Record();
  if (!record || !link_) return 0;
  const int ok = RunInWorker([this, record] {
    ReadRotaryOptions(*record);
    return SendParameters(*record);
  });
  return ok;
}

void CMarkControlWnd::ShowProgress(std::unique_ptr<IProgressBar>& bar, int pos) {
  if (bar) bar->SetPos(pos);
}

void CMarkControlWnd::StartMarking(IMarkDocument* document, IMarkDisplay* display, IMarkView* view) {
  WaitForJob();
  SetContext(document, display, view);
  SetDelayFromStoredCpuSpeed(delay_);
  StartMarkDelay = ReadDwordOr("StartMarkDelay", StartMarkDelay.load());

  overallBar_.reset();
  objectBar_.reset();
  if (frame_) {
    overallBar_ = frame_->CreatePaneControl(ID_PANE_PROGRESS_TOTAL, IDC_PROGRESS_TOTAL);
    objectBar_ = frame_->CreatePaneControl(ID_PANE_PROGRESS_LOCAL, IDC_PROGRESS_LOCAL);
  }
  if (!overallBar_ || !objectBar_) {
    overallBar_.reset();
    objectBar_.reset();
    MarkStatusWord.fetch_and(~MSW_MARKING);
    return;
  }
  for (auto* bar : {overallBar_.get(), objectBar_.get()}) {
    bar->SetRange(0, 100);
    bar->SetStep(1);
    bar->SetPos(0);
  }

  MarkStatusWord.fetch_and(~(MSW_STOP_REQUEST | MSW_STOP_CONFIRMED));
  displayShown_ = 0;
  previewDC_ = nullptr;
  if (showPreview && display_) {
    displayShown_ = 1;
    display_->ShowSyncDisplay(true);
    display_->GetClientSize(displayWidth_, displayHeight_);
    previewDC_ = display_->GetPreviewDC();
    if (previewDC_) previewDC_->SelectPen(platform::DcPen{platform::PS_SOLID, 1, 0x0064FF00});
  }

  if (IsUsb()) {
    jobRunning_ = true;
    workerDone_ = 0;
    jobThread_ = std::thread([this] {
      RunMarking();
      workerDone_ = 1;
    });
    return;
  }
  jobRunning_ = true;
  RunMarking();
}

void CMarkControlWnd::WaitForJob() {
  if (jobThread_.joinable()) jobThread_.join();
}

void CMarkControlWnd::EndMarking(WPARAM wParam, LPARAM) {
  ++endCalls_;
  const int result = static_cast<int>(wParam);
  WaitForJob();
  jobRunning_ = false;
  overallBar_.reset();
  objectBar_.reset();
  previewDC_ = nullptr;

  CDrawProperity* record = Record();
  if (record) {
    if (result == 1 && document_) document_->SaveIfNamed();
    const int limit = record->GetRepeatLimit();
    const bool mayReturn = limit == 0 || passCount < limit;
    if (result == 1 && IsWorkPositionMode() && mayReturn) {
      if (stepOut_.GetMachineOptions().startAtHandle)
        currentPosition = GetHeadPosition(*record, 0, atWorkPosition.load());
      MoveHead(currentPosition, workPosition, *record);
    } else {
      const int wasAtWork = atWorkPosition.exchange(0);
      if (!IsUsb()) {
        PortSeekOrigin();
      } else if (link_ && !link_->linkGivenUp.load()) {
        RunOriginWorker();
      }
      if (result != 1 && view_) view_->RefreshPointed(wasAtWork);
    }
  }
  ApplyCtrlPortBit0();
  MarkStatusWord.fetch_and(~MSW_MARKING);
}
