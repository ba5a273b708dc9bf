// The job flow of the marking controller: set-up, pass blocks, passes,
// objects and the end of a job.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <thread>

#include "values/ShellValues.h"
#include "document/geometry/SharedHelpers.h"
#include "document/geometry/SharedState.h"
#include "document/objects/CObjElement.h"
#include "document/params/CDrawProperity.h"
#include "marking/controller/CMarkControlWnd.h"
#include "marking/controller/ControllerMessages.h"
#include "marking/controller/ControllerState.h"
#include "marking/controller/MarkOrder.h"
#include "marking/link/ILinkHost.h"
#include "marking/link/PortSerialWriter.h"
#include "platform/Prompt.h"

namespace {

constexpr std::uint32_t kStopBits = MSW_STOP_REQUEST | MSW_STOP_CONFIRMED;

bool StopRequested() { return (MarkStatusWord.load() & MSW_STOP_REQUEST) != 0; }
bool StopBitsSet() { return (MarkStatusWord.load() & kStopBits) != 0; }
int AirOn() { return (MarkStatusWord.load() & MSW_AIR_ON) ? 1 : 0; }

std::atomic_ref<int> BusyFlag(CObjElement* e) { return std::atomic_ref<int>(e->flag); }

}  // namespace

// The operator's answer to a stop: yes keeps it (both stop bits set, the job
// ends), no takes it back and the job goes on.
bool CMarkControlWnd::ConfirmStop(const std::string& question) {
  if (AskYesNo(question)) {
    MarkStatusWord.fetch_or(kStopBits);
    return true;
  }
  MarkStatusWord.fetch_and(~kStopBits);
  return false;
}

// A stop request: the board pauses, then the operator decides. A board that
// left the pause unanswered is not asked to end a stream at the job's end
// either (the end aborts), so a silent board cannot hold up the stop.
bool CMarkControlWnd::PauseAndConfirmStop(const std::string& question) {
  const bool paused = !IsUsb() || !link_ || link_->SendPause();
  if (!ConfirmStop(question)) return false;
  if (!paused) link_->commFailed = 1;
  return true;
}

bool CMarkControlWnd::StreamOpen() const { return link_ ? link_->streamOpen.load() != 0 : streamOpen_ != 0; }

void CMarkControlWnd::SetStreamOpen(int open) {
  streamOpen_ = open;
  if (link_) link_->streamOpen = open;
}

int CMarkControlWnd::IsWorkPositionMode() const {
  const MachineOptions& m = stepOut_.GetMachineOptions();
  return atWorkPosition.load() || (m.startAtHandle && m.handleIndex >= 0 && m.handleIndex < 9) ? 1 : 0;
}

void CMarkControlWnd::ReadRotaryOptions(const CDrawProperity& record) {
  if (propertyView_) propertyView_->ResetComRequest();
  RotateMark = record.IsRotateMark();
  YReplacesZ = record.IsYReplacesZ();
  ThreeAxisRotate = record.IsThreeAxisRotate();
  NoSeekOriginXY = record.IsNoSeekOriginXY();
  if (RotateMark.load()) nearestOrder = 0;
}

int CMarkControlWnd::SendParameters(const CDrawProperity& record) {
  if (!link_) return 0;
  ParameterBlockInput in;
  in.rotaryMode = record.IsRotateMark();
  in.rotaryOnY = record.IsYReplacesZ();
  in.threeAxisRotary = record.IsThreeAxisRotate();
  in.noSeekOriginXY = record.IsNoSeekOriginXY();
  in.airOn = AirOn() != 0;
  in.xRange = record.GetRangeX();
  in.yRange = record.GetRangeY();
  in.stepX = record.GetStepLengthX();
  in.stepY = record.GetStepLengthY();
  in.resetSpeed = record.GetResetSpeed();
  in.secondPenUpSpeed = record.GetPenUpSpeed2();
  in.penDownSpeed = record.GetPenDownSpeed();
  in.auxiliarySpeedOn = record.GetAuxSpeedSwitch() != 0;
  in.auxiliarySpeed = record.GetAuxSpeed();
  in.machineType = record.GetMachineType();
  in.startDelay = record.GetStartDelay();
  in.normalDelay = record.GetNormalDelay();
  in.strokeEndDelay = record.GetStrokeEndDelay();
  in.dotTime = record.GetDotTime();
  in.laser = record.GetLaserValue();
  in.needleDelayBefore = record.GetNeedleDelayBefore();
  in.needleDelayAfter = record.GetNeedleDelayAfter();
  return link_->SendParameters(in);
}

int CMarkControlWnd::SendSpeedSetup() {
  int frequency = MachineSettings.pulseFrequency;
  double duty = MachineSettings.pulseDuty;
  int ok;
  if (stepOut_.BoardType() == SOFT_TYPE_SMALL_PORT_BOARD) {
    CPortSerialWriter writer(PortLevelByte, clock_);
    ok = writer.SendPulseFrequency(0, frequency, duty) != 0;
  } else if (!IsUsb()) {
    ok = 1;
  } else {
    ok = link_ ? link_->SendSpeed(frequency, duty) : 0;
    MachineSettings.pulseFrequency = frequency;
    MachineSettings.pulseDuty = duty;
  }
  return ok;
}

void CMarkControlWnd::RunMarking() {
  stepOut_.BeginJob();
  CDrawProperity* record = Record();
  if (!record) {
    FinishJob(0, false);
    return;
  }
  ReadRotaryOptions(*record);
  BuildJobList(markMode.load());

  if (IsUsb() && !SendParameters(*record)) {
    // A refused parameter block is a failed job, not a finished one.
    FinishJob(0, false);
    return;
  }
  if (stepOut_.GetMachineOptions().frequencyGeneratorOn && !SendSpeedSetup()) {
    platform::MessageBox("Initial frequent error!");
    FinishJob(0, false);
    return;
  }
  if (!CheckRange(*record)) {
    FinishJob(0, false);
    return;
  }
  PreMark(*record);
  SortObjectsByClass();

  int total = record->GetContinuousCount();
  int passes = 0;
  int finished = 0;
  rotaryReturnPending_ = 0;
  // "Finish/Total" counts this job's passes from the start, not on from the last job's.
  if (AirOn()) PostToFrame(WM_SHOW_MARK_STATUS, static_cast<WPARAM>(total), finished);
  if (recorder_ && document_ && !recorder_->Open(*document_, AirOn() != 0, checkMarked != 0)) {
    FinishJob(0, false);
    return;
  }
  if (link_) {
    link_->commFailed = 0;
    link_->linkGivenUp = 0;
  }
  if (nearestOrder && !RotateMark.load()) MarkStatusWord.fetch_or(MSW_NEAREST_ORDER);
  else MarkStatusWord.fetch_and(~MSW_NEAREST_ORDER);

  int result = 1;
  bool originFailed = false;
  bool leave = false;
  while (total > 0 && result && !StopRequested() && !leave) {
    SetStartPosition(*record);
    SetStreamOpen(1);
    if (!SeekOrigin(*record)) {
      originFailed = true;
      total = 0;
      result = 0;
    } else {
      for (auto& counter : AxisStepCounters) counter = 0;
      if (IsUsb() && !link_->SendMarkBegin()) {
        result = 0;
        break;
      }
      if (record->IsStartBackRoad()) {
        stepOut_.ComputeSpeedTable(record->GetPenUpSpeed(), record->GetPenUpSpeed2(), record->GetResetSpeed(), *record);
        if (!FollowStartPath(*record)) {
          result = 0;
          break;
        }
      }
      firstNodeFlag_ = 1;
      passes = 0;
      for (;;) {
        if (passes >= total || passes >= record->GetResetAfterN()) {
          result = EndOfPass(*record, total, passes);
          if (StopRequested() && result && PauseAndConfirmStop("Are you terminated marking-6")) result = 0;
          if (!result) leave = true;
          break;
        }
        if (StopRequested()) {
          if (PauseAndConfirmStop("Are you terminated marking-1")) {
            result = 0;
            leave = true;
            break;
          }
          continue;
        }
        result = MarkPass(*record, passes, total, finished);
        if (!result) {
          leave = true;
          break;
        }
      }
      if (leave) break;
    }
    if (IsUsb() && link_ && !link_->commFailed.load() && !StopRequested()) {
      if (total > 0 && StreamOpen()) {
        if (!link_->SendStreamEnd()) {
          link_->commFailed = 1;
          break;
        }
      }
    }
  }

  if (recorder_ && recorder_->IsOpen()) recorder_->Close();
  if (!RotateMark.load() && !IsWorkPositionMode() && result) {
    stepOut_.ComputeSpeedTable(record->GetPenUpSpeed(), record->GetPenUpSpeed2(), record->GetResetSpeed(), *record);
    GoCornerInset(*record);
  }
  if (IsUsb() && link_) {
    if (link_->commFailed.load()) link_->SendAbort();
    else link_->SendStreamEnd();
  }
  FinishJob(result, originFailed);
}

void CMarkControlWnd::FinishJob(int result, bool originFailed) {
  // Every way out of a job ends here: temporary objects freed, stop bits
  // cleared, display hidden, and the end reported once.
  stepOut_.ForgetLastNode();
  ClearJobList();
  MarkStatusWord.fetch_and(~kStopBits);
  const int good = result && !originFailed ? 1 : 0;
  if (!good) atWorkPosition = 0;
  if (displayShown_ && display_) display_->ShowSyncDisplay(false);
  displayShown_ = 0;
  PostToFrame(WM_MARK_FINISHED, good);
}

void CMarkControlWnd::PreMark(CDrawProperity& record) {
  MarkStatusWord.fetch_and(~kStopBits);
  if (!IsUsb()) {
    ClearCtrlPortBit0();
    SleepMs(20);
  }
  const MachineOptions& m = stepOut_.GetMachineOptions();
  if (RotateMark.load() && m.rotaryLeadInOn) {
    const double steps = m.rotaryLeadIn * 1000.0 * record.GetRotaryFactor() / record.GetWorkDiameter();
    const int magnitude = static_cast<int>(std::min(std::fabs(steps), 2.0e9));
    if (magnitude > 0) {
      StepNode node;
      const std::uint8_t direction = XReplacesZ() ? SN_X_NEGATIVE : SN_Y_POSITIVE;
      node.flags = static_cast<std::uint8_t>((ThreeAxisRotate.load() ? SN_ROTARY_3AXIS : SN_ROTARY_2AXIS) |
                                             (steps >= 0 ? direction : 0));
      (XReplacesZ() ? node.stepsX : node.stepsY) = magnitude;
      stepOut_.ComputeSpeedTable(record.GetPenUpSpeed(), record.GetPenUpSpeed2(), record.GetPenDownSpeed(), record);
      // There and back, to take up the play of the rotary drive.
      stepOut_.OutputNode(node, AirOn(), record);
      node.flags ^= direction;
      stepOut_.OutputNode(node, AirOn(), record);
    }
  }
  if (record.GetResetAfterN() == 0) record.SetResetAfterN(1);
  if (record.GetContinuousCount() == 0) record.SetContinuousCount(1);
}

CDoublePoint CMarkControlWnd::OriginCornerPoint(const CDrawProperity& record) const {
  const double w = record.GetRangeX() / 2;
  const double h = record.GetRangeY() / 2;
  switch (stepOut_.GetMachineOptions().originCorner) {
    case 1: return CDoublePoint(-w, -h, 0);
    case 2: return CDoublePoint(w, h, 0);
    case 3: return CDoublePoint(w, -h, 0);
    default: return CDoublePoint(-w, h, 0);
  }
}

void CMarkControlWnd::SetStartPosition(const CDrawProperity& record) {
  const MachineOptions& m = stepOut_.GetMachineOptions();
  if (!IsWorkPositionMode()) {
    currentPosition = OriginCornerPoint(record);
  } else if (m.startAtHandle && m.handleIndex >= 0 && m.handleIndex < 9) {
    currentPosition = jobBounds_.GetHandlePoint(m.handleIndex);
    workPosition = currentPosition;
  }
  previewHead = currentPosition;
  if (previewDC_) {
    const int px = previewCentreX_ + static_cast<int>(previewScale_ * PixelsPerMmX * (previewHead.x + previewOffsetX_));
    const int py = previewCentreY_ - static_cast<int>(previewScale_ * PixelsPerMmY * (previewHead.y + previewOffsetY_));
    previewDC_->MoveTo(px, py);
  }
}

int CMarkControlWnd::SeekOrigin(CDrawProperity&) {
  if (IsWorkPositionMode()) return 1;
  if (IsUsb()) return link_ ? link_->BackToOrigin(false) : 0;
  return PortSeekOrigin();
}

// The waits between classes and between passes: the view counts the seconds
// down, and "Jump waiting..." (0x08) ends the wait at the next second.
void CMarkControlWnd::CountdownWait(int seconds) {
  if (seconds <= 0) return;
  if (view_) view_->StartCountdown(seconds);
  MarkStatusWord.fetch_and(~MSW_END_PAUSE);
  for (int n = seconds; n > 0 && !(MarkStatusWord.load() & MSW_END_PAUSE);) {
    SleepMs(1000);
    --n;
    if (view_) view_->UpdateCountdown(n);
  }
  if (view_) view_->EndCountdown();
}

void CMarkControlWnd::WaitUntilNotBusy(CObjElement* element) {
  // The view clears the flag when it has taken the object's done message; a
  // view that never does must not hang the job.
  const std::int64_t limit = 10000;
  const auto start = std::chrono::steady_clock::now();
  while (BusyFlag(element).load() != 0) {
    if (std::chrono::steady_clock::now() - start > std::chrono::milliseconds(limit)) {
      BusyFlag(element).store(0);
      break;
    }
    if (IsUsb()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    else PumpOnce();
  }
}

int CMarkControlWnd::MarkPass(CDrawProperity& record, int& passes, int total, int& finished) {
  const std::int64_t start = NowMs();
  const int air = AirOn();
  if (air && view_ && view_->IsPaperPrintOn()) PostToView(WM_COMMAND, ID_PRINT_LAYOUT_DIRECT);
  if (previewDC_) previewDC_->FillSolidRect(0, 0, displayWidth_, displayHeight_, 0x00FFFFFF);

  overallShown_ = 0;
  objectsDone_ = 0;
  stepOut_.ForgetLastNode();
  CObjElement* firstMarked = nullptr;
  int result = 1;
  for (int cls = 0; cls < kClassCount && !StopRequested(); ++cls) {
    if (classList_[cls].empty()) continue;
    MarkOrder working(classList_[cls]);
    if (cls > 0 && record.GetClassPause() > 0) CountdownWait(record.GetClassPause());
    if (StopRequested() && PauseAndConfirmStop("Terminate marking-4")) {
      result = 0;
      break;
    }
    while (!working.Empty() && !StopBitsSet()) {
      int direction = 0;
      CObjElement* element;
      if (MarkStatusWord.load() & MSW_NEAREST_ORDER)
        element = working.TakeNearest(currentPosition, direction);
      else
        element = working.TakeFirst();
      if (!element) break;
      WaitUntilNotBusy(element);
      if (!MarkObject(element, record, direction)) {
        result = 0;
        break;
      }
      if (!firstMarked) firstMarked = element;
      ++objectsDone_;
      const int pct = jobCount_ > 0 ? objectsDone_ * 100 / jobCount_ : 100;
      if (pct > overallShown_) {
        overallShown_ = pct;
        ShowProgress(overallBar_, pct);
      }
    }
    if (!result) break;
  }

  if (result) {
    ++passes;
    if (passes < total && passes < record.GetResetAfterN() && !StopBitsSet()) {
      if (!RotateMark.load()) {
        if (firstMarked) {
          const CDoublePoint target = firstMarked->GetStartPoint();
          if (!MoveStraight(currentPosition, target, record)) atWorkPosition = 0;
        }
      } else {
        RotaryReturn(currentPosition, LastRotaryPoint, record, record.IsBackZToOrigin());
      }
      CountdownWait(record.GetRestTime());
    }
  }
  if (air && result) {
    if (recorder_ && recorder_->IsOpen() && document_) recorder_->Insert(*document_);
    ++finished;
    PostToFrame(WM_SHOW_MARK_STATUS, static_cast<WPARAM>(record.GetContinuousCount()), finished);
    ++successCount;
    WriteRegDword("SuccessedNum", successCount);
    PostToFrame(WM_SHOW_MARK_COUNT, static_cast<WPARAM>(successCount));
    PostToView(WM_COMMAND, ID_NEXT_RECORD);
    if (document_) document_->SaveIfNamed();
  }
  PostToFrame(WM_SHOW_MARK_TIME, static_cast<WPARAM>(std::max<std::int64_t>(NowMs() - start, 0)));
  return result;
}

int CMarkControlWnd::MarkObject(CObjElement* element, CDrawProperity& record, int direction) {
  StepNode* head = nullptr;
  int count = 0;
  bool first = firstNodeFlag_ != 0;
  element->BuildStepNodes(head, record, currentPosition, count, first, direction);
  firstNodeFlag_ = first ? 1 : 0;
  if (RotateMark.load() && head) startPointKnown = 1;

  ObjectDelays delays;
  delays.penDown = element->penDownDelay != 0 ? element->penDownDelay : record.GetStartDelay();
  delays.penChange = element->penChangeDelay != 0 ? element->penChangeDelay : record.GetNormalDelay();
  delays.dotTime = record.GetDotTime();
  delays.strokeEnd = record.GetStrokeEndDelay();
  stepOut_.BeginObject(delays);

  const double es = element->emptySpeed;
  const double ls = element->lineSpeed;
  const double fast = es >= 1 && es <= 120 ? es : record.GetPenUpSpeed2();
  const double mark = ls >= 1 && ls <= 120 ? ls : record.GetPenDownSpeed();
  stepOut_.ComputeSpeedTable(record.GetPenUpSpeed(), fast, mark, record);

  ShowProgress(objectBar_, 0);
  const int air = AirOn();
  const int base = jobCount_ > 0 ? objectsDone_ * 100 / jobCount_ : 0;
  int shown = 0;
  int done = 0;
  int result = 1;
  for (StepNode* node = head; node; node = node->next) {
    if (StopBitsSet()) {
      if (!IsUsb()) stepOut_.NeedleUp();
      if (PauseAndConfirmStop("Are you terminated marking")) {
        result = 0;
        break;
      }
    }
    if (!stepOut_.OutputNode(*node, air, record)) {
      result = 0;
      break;
    }
    DrawPreviewNode(*node, record);
    ++done;
    const int pct = done * 100 / std::max(count, 1);
    if (pct > shown && pct <= 100) {
      shown = pct;
      ShowProgress(objectBar_, pct);
      if (jobCount_ > 0) ShowProgress(overallBar_, base + pct / jobCount_);
    }
  }
  FreeStepNodes(head);
  if (!result) return 0;
  if (air) {
    BusyFlag(element).store(1);
    element->StoreMarkedText();
    PostToView(WM_MARK_OBJECT_DONE, reinterpret_cast<WPARAM>(element));
  }
  return 1;
}

void CMarkControlWnd::DrawPreviewNode(const StepNode& node, const CDrawProperity& record) {
  if (!showPreview || !previewDC_) return;
  const double dx = node.stepsX * record.GetStepLengthX() * 0.001;
  const double dy = node.stepsY * record.GetStepLengthY() * 0.001;
  previewHead.x += (node.flags & SN_X_NEGATIVE) ? -dx : dx;
  previewHead.y -= (node.flags & SN_Y_POSITIVE) ? -dy : dy;
  const int px = previewCentreX_ + static_cast<int>(previewScale_ * PixelsPerMmX * (previewHead.x + previewOffsetX_));
  const int py = previewCentreY_ - static_cast<int>(previewScale_ * PixelsPerMmY * (previewHead.y + previewOffsetY_));
  if (node.flags & SN_NEEDLE_DOT) {
    for (auto [ox, oy] : {std::pair{0, 0}, {-1, -1}, {1, -1}, {-1, 1}, {1, 1}}) previewDC_->SetPixel(px + ox, py + oy, 0x00FF00);
    previewDC_->MoveTo(px, py);
  } else if (node.flags & SN_TOOL_DOWN) {
    previewDC_->LineTo(px, py);
  } else {
    previewDC_->MoveTo(px, py);
  }
}

int CMarkControlWnd::EndOfPass(CDrawProperity& record, int& total, int passes) {
  ++passCount;
  if (RotateMark.load()) {
    if (record.IsBackZToOrigin()) RotaryReturn(currentPosition, LastRotaryPoint, record, 1);
    else rotaryReturnPending_ = 1;
  }
  if (record.IsStartBackRoad()) {
    if (rotaryReturnPending_) {
      RotaryReturn(currentPosition, LastRotaryPoint, record, 1);
      rotaryReturnPending_ = 0;
    }
    stepOut_.ComputeSpeedTable(record.GetPenUpSpeed(), record.GetPenUpSpeed2(), record.GetResetSpeed(), record);
    if (!FollowBackPath(record)) return 0;
  }
  const bool reachedTotal = passes >= total;
  total -= passes;
  if (reachedTotal || record.GetRestTime() == 0) return 1;
  if (!IsWorkPositionMode()) {
    const int home = IsUsb() ? (link_ ? link_->BackToOrigin(true) : 0) : PortSeekOrigin();
    if (!home) {
      MarkStatusWord.fetch_or(MSW_STOP_REQUEST);
      return 1;
    }
  }
  CountdownWait(record.GetRestTime());
  return 1;
}
