// Head movements of the marking controller: the move primitives of the job
// flow and the entry points with which the view and the main frame move the
// head outside a job.
#include <cmath>
#include <cstdio>

#include "document/geometry/SharedHelpers.h"
#include "document/geometry/SharedState.h"
#include "document/objects/CObjElement.h"
#include "document/params/CDrawProperity.h"
#include "marking/controller/CMarkControlWnd.h"
#include "marking/controller/ControllerState.h"
#include "marking/link/ILinkHost.h"
#include "platform/Prompt.h"

namespace {

bool SamePoint(const CDoublePoint& a, const CDoublePoint& b) { return a.x == b.x && a.y == b.y; }

// Steps one straight move of the given steps as a single node; adjust may set
// the node's flags before it goes out. 1 when it went out (or had no steps).
template <class AdjustFn>
int OutputSingleMove(CStepOutput& out, double xSteps, double ySteps, CDrawProperity& record, AdjustFn&& adjust) {
  StepNode* node = nullptr;
  double carryX = 0, carryY = 0;
  int result = 1;
  if (AddStepNode(node, xSteps, ySteps, carryX, carryY, record.GetStepLengthX(), record.GetStepLengthY(), 0)) {
    adjust(*node);
    result = out.OutputNode(*node, (MarkStatusWord.load() & MSW_AIR_ON) ? 1 : 0, record);
    FreeStepNodes(node);
  }
  return result;
}

}  // namespace

int CMarkControlWnd::MoveStraight(CDoublePoint& from, const CDoublePoint& to, CDrawProperity& record) {
  stepOut_.ComputeSpeedTable(record.GetPenUpSpeed(), record.GetPenUpSpeed2(), record.GetResetSpeed(), record);
  if (SamePoint(from, to)) return 1;
  const double xSteps = (to.x - from.x) * 1000.0 / record.GetStepLengthX();
  const double ySteps = (to.y - from.y) * 1000.0 / record.GetStepLengthY();
  const int result = OutputSingleMove(stepOut_, xSteps, ySteps, record, [](StepNode&) {});
  from = CDoublePoint(to.x, to.y, from.flag);
  return result;
}

int CMarkControlWnd::MoveHead(CDoublePoint& from, CDoublePoint& to, CDrawProperity& record) {
  if (!IsUsb()) return MoveStraight(from, to, record);
  if (!link_) return 0;
  CDoublePoint a = from;
  const CDoublePoint b = to;
  const int result = RunInWorker([&]() -> int {
    if (!link_->SendMarkBegin()) return 0;
    SleepMs(50);
    const int moved = MoveStraight(a, b, record);
    link_->SendStreamEnd();
    return moved;
  });
  from = a;
  return result;
}

int CMarkControlWnd::RotaryReturn(CDoublePoint& from, const CDoublePoint& to, CDrawProperity& record,
                                  int returnAxis) {
  stepOut_.ComputeSpeedTable(record.GetPenUpSpeed(), record.GetPenUpSpeed2(), record.GetPenDownSpeed(), record);
  const double stepX = record.GetStepLengthX();
  const double stepY = record.GetStepLengthY();
  const int rotary = AxisStepCounters[AXIS_Z].load();
  double xSteps = 0, ySteps = 0;
  const bool onX = XReplacesZ() != 0;
  if (onX) {
    ySteps = (to.y - from.y) * 1000.0 / stepY;
    xSteps = returnAxis ? -static_cast<double>(rotary) : 0.0;
  } else {
    xSteps = (to.x - from.x) * 1000.0 / stepX;
    ySteps = returnAxis ? -static_cast<double>(rotary) : 0.0;
  }
  const int result = OutputSingleMove(stepOut_, xSteps, ySteps, record, [onX](StepNode& node) {
    // The rotary counter runs with the y sign of the ordinary axis.
    if (!onX) node.flags ^= SN_Y_POSITIVE;
    node.flags |= ThreeAxisRotate.load() ? SN_ROTARY_3AXIS : SN_ROTARY_2AXIS;
  });
  from = CDoublePoint(to.x, to.y, from.flag);
  return result;
}

int CMarkControlWnd::FollowStartPath(CDrawProperity& record) {
  for (int i = 0; i < 2; ++i) {
    const CDoublePoint p = record.GetStartPath(i);
    if (SamePoint(p, currentPosition)) continue;
    const CDoublePoint before = currentPosition;
    if (!MoveStraight(currentPosition, p, record)) return 0;
    if (record.IsStartBackRoad()) {
      previewHead.x += p.x - before.x;
      previewHead.y += p.y - before.y;
    }
  }
  return 1;
}

int CMarkControlWnd::FollowBackPath(CDrawProperity& record) {
  for (int i : {1, 0}) {
    const CDoublePoint p = record.GetResetPath(i);
    if (SamePoint(p, currentPosition)) continue;
    if (!MoveStraight(currentPosition, p, record)) return 0;
  }
  return 1;
}

int CMarkControlWnd::GoCornerInset(CDrawProperity& record) {
  const double w = record.GetRangeX() / 2;
  const double h = record.GetRangeY() / 2;
  CDoublePoint target;
  switch (stepOut_.GetMachineOptions().originCorner) {
    case 1: target = CDoublePoint(-w + 5, -h + 5, 0); break;
    case 2: target = CDoublePoint(w - 5, h - 5, 0); break;
    case 3: target = CDoublePoint(w - 5, -h + 5, 0); break;
    default: target = CDoublePoint(-w + 5, h - 5, 0); break;
  }
  if (std::hypot(target.x - currentPosition.x, target.y - currentPosition.y) <= 10.0) return 1;
  return MoveStraight(currentPosition, target, record);
}

void CMarkControlWnd::ShowWorkPosition() {
  if (frame_) frame_->ShowCursorPos(workPosition.x, workPosition.y);
}

CDoublePoint CMarkControlWnd::GetHeadPosition(const CDrawProperity& record, int store, int absolute) {
  const double nx = AxisStepCounters[AXIS_X].load() * record.GetStepLengthX() * 0.001;
  const double ny = AxisStepCounters[AXIS_Y].load() * record.GetStepLengthY() * 0.001;
  const double w = record.GetRangeX() / 2;
  const double h = record.GetRangeY() / 2;
  double x = 0, y = 0;
  if (absolute) {
    switch (stepOut_.GetMachineOptions().originCorner) {
      case 0: x = nx - w; y = h - ny; break;
      case 1: x = nx - w; y = -h - ny; break;
      case 2: x = nx + w; y = h - ny; break;
      case 3: x = nx + w; y = -h - ny; break;
      default: break;
    }
  } else {
    x = workPosition.x + nx;
    y = workPosition.y - ny;
  }
  if (store) {
    WriteRegFloat("MarkPositionX", static_cast<float>(x));
    WriteRegFloat("MarkPositionY", static_cast<float>(y));
    if (frame_) frame_->ShowCursorPos(x, y);
  }
  return CDoublePoint(x, y, 0);
}

void CMarkControlWnd::EnsureLinkReady() {
  if (!propertyView_ || LinkReady()) return;
  propertyView_->ResetComRequest();
  SleepMs(50);
  const int ready = RunLinkInit();
  if (link_) link_->linkReady = ready;
}

void CMarkControlWnd::SetContextAndGoStart(IMarkDocument* document, IMarkDisplay* display, IMarkView* view) {
  SetContext(document, display, view);
  CDrawProperity* record = Record();
  if (!record) return;
  rotaryReturnPending_ = 0;
  currentPosition.x = LastRotaryPoint.x;
  RotaryReturn(currentPosition, LastRotaryPoint, *record, 1);
}

void CMarkControlWnd::GoWorkPosition(IMarkDocument* document, IMarkDisplay* display, IMarkView* view, int force) {
  SetContext(document, display, view);
  CDrawProperity* record = Record();
  if (!record) return;
  const int wasOn = atWorkPosition.load();
  atWorkPosition = wasOn ? 0 : 1;
  if (!(wasOn && !force)) {
    int home;
    if (IsUsb()) {
      if (propertyView_) propertyView_->ResetComRequest();
      SleepMs(50);
      if (!LinkReady()) {
        MarkStatusWord.fetch_or(MSW_AIR_ON);
        const int ready = RunLinkInit();
        if (link_) link_->linkReady = ready;
        if (!ready) {
          platform::MessageBox("Point the working position parameter error!");
          return;
        }
      }
      home = RunOriginWorker();
    } else {
      home = PortSeekOrigin();
    }
    // The head stands at the origin corner after a home return.
    if (!home) {
      platform::MessageBox("Back to origin error!");
      atWorkPosition = 0;
    } else if (atWorkPosition.load()) {
      currentPosition = OriginCornerPoint(*record);
      const double w = record->GetRangeX() / 2;
      const double h = record->GetRangeY() / 2;
      if (workPosition.x < -w || workPosition.x > w) workPosition.x = 0;
      if (workPosition.y < -h || workPosition.y > h) workPosition.y = 0;
      if (MoveHead(currentPosition, workPosition, *record)) workPosition = GetHeadPosition(*record, 1, 1);
      else atWorkPosition = 0;
    } else {
      currentPosition = OriginCornerPoint(*record);
      workPosition = currentPosition;
    }
  }
  ShowWorkPosition();
}

int CMarkControlWnd::MoveToPosition(IMarkDocument* document, IMarkDisplay* display, IMarkView* view,
                                    const CDoublePoint& target) {
  SetContext(document, display, view);
  CDrawProperity* record = Record();
  if (!record) return 0;
  currentPosition = workPosition;
  CDoublePoint to = target;
  if (!MoveHead(currentPosition, to, *record)) {
    atWorkPosition = 0;
    return 0;
  }
  workPosition = GetHeadPosition(*record, 1, 1);
  WriteRegFloat("MarkPositionX", static_cast<float>(workPosition.x));
  WriteRegFloat("MarkPositionY", static_cast<float>(workPosition.y));
  workPosition = target;
  ShowWorkPosition();
  return 1;
}

void CMarkControlWnd::EditWorkPosition(IMarkDocument* document) {
  document_ = document;
  CDrawProperity* record = Record();
  if (!record || !view_) return;
  double x = workPosition.x, y = workPosition.y;
  if (!view_->EditPointerPosition(x, y)) return;
  const double w = record->GetRangeX() / 2;
  const double h = record->GetRangeY() / 2;
  if (x < -w) x = 5 - w;
  else if (x > w) x = w - 5;
  if (y < -h) y = 5 - h;
  else if (y > h) y = h - 5;
  workPosition = CDoublePoint(x, y, 0);
  WriteRegFloat("MarkPositionX", static_cast<float>(x));
  WriteRegFloat("MarkPositionY", static_cast<float>(y));
  if (atWorkPosition.load()) {
    if (MoveHead(currentPosition, workPosition, *record)) workPosition = GetHeadPosition(*record, 1, 1);
    else atWorkPosition = 0;
  }
  ShowWorkPosition();
}

int CMarkControlWnd::MoveBy(IMarkDocument* document, IMarkDisplay* display, IMarkView* view,
                            const CDoublePoint& delta, platform::Event* event) {
  SetContext(document, display, view);
  if (std::fabs(delta.x) <= 0.001 && std::fabs(delta.y) <= 0.001) {
    if (event) event->Set();
    return 1;
  }
  CDrawProperity* record = Record();
  int result = 1;
  if (record) {
    CDoublePoint from(0, 0, 0);
    CDoublePoint to(delta.x, delta.y, 0);
    if (!MoveHead(from, to, *record)) {
      atWorkPosition = 0;
      result = 0;
    }
    if (event) event->Set();
    for (auto& counter : AxisStepCounters) counter = 0;
  }
  return result;
}

void CMarkControlWnd::PortBackToOrigin(IMarkDocument* document, IMarkDisplay* display, IMarkView* view) {
  SetContext(document, display, view);
  CDrawProperity* record = Record();
  if (!record) return;
  std::string error;
  int xSteps = 0, ySteps = 0;
  const int home = stepOut_.SeekOriginOnce(*record, 5.0, error, &xSteps, &ySteps);
  if (home) {
    char text[96];
    std::snprintf(text, sizeof text, "Position:X=%.3f , Y=%.3f",
                  xSteps * record->GetStepLengthX() * 0.001 - record->GetRangeX() / 2,
                  record->GetRangeY() / 2 - ySteps * record->GetStepLengthY() * 0.001);
    platform::MessageBox(text);
    return;
  }
  if (!error.empty()) platform::MessageBox(error);
  atWorkPosition = 0;
}

int CMarkControlWnd::PortSeekOrigin() {
  CDrawProperity* record = Record();
  if (!record) return 0;
  int result = 0;
  // Jobs seek both axes even where the home command leaves the rotary one.
  for (int attempt = 0; attempt < 3; ++attempt) {
    std::string error;
    result = stepOut_.SeekOriginOnce(*record, 1.0, error, nullptr, nullptr, CStepOutput::NoSeekAxis::Sought);
    if (!result && !error.empty()) platform::MessageBox(error);
  }
  passCount = 0;
  return result;
}
