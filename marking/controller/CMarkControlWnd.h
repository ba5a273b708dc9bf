#pragma once
// The marking controller, a hidden child of the main frame. It turns the
// current document into a marking job and runs it: work-area check, machine
// set-up, sorting into four mark classes, step nodes per object sent to the
// USB board or stepped through the port, progress, marking records, repeated
// passes, return home and the end report. It also moves the head for the view
// and the main frame (work position, moves to a point, jogs, head position).
//
// On the USB board the job and every head move run in a worker thread; the
// UI thread keeps handling messages meanwhile (replies of the link reach the
// controller through HandleMessage). On port boards everything runs on the
// calling thread, and the port waits pump messages.
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "document/geometry/CDoublePoint.h"
#include "document/geometry/CDoubleRect.h"
#include "marking/controller/CStepOutput.h"
#include "marking/controller/MarkInterfaces.h"
#include "marking/link/CControllerLink.h"
#include "marking/link/CPreciseDelay.h"
#include "platform/Event.h"
#include "platform/Messages.h"
#include "platform/WinTypes.h"

class CDisMarkFormView;
class CDrawProperity;
class CObjElement;
class ILinkHost;

namespace platform {
class Clock;
}

// Mark modes set by the view before StartMarking.
enum MarkMode { MARK_MODE_MARK = 0, MARK_MODE_BORDER = 1, MARK_MODE_ORBIT = 2, MARK_MODE_MAX_BORDER = 3 };

class CMarkControlWnd {
 public:
  static constexpr int kClassCount = 4;

  // clock: null for the process clock (tests give a simulated one).
  explicit CMarkControlWnd(platform::Clock* clock = nullptr);
  virtual ~CMarkControlWnd();
  CMarkControlWnd(const CMarkControlWnd&) = delete;
  CMarkControlWnd& operator=(const CMarkControlWnd&) = delete;

  // Hidden child of the frame with the given id; false when it cannot be made.
  bool Create(platform::MessageTarget* parentFrame, int id);
  bool IsCreated() const { return created_; }
  int Id() const { return id_; }
  platform::MessageTarget* ParentFrame() const { return parent_; }

  // Where the controller's own messages arrive (the reply window of its link
  // requests); the host passes them to HandleMessage.
  void SetSelfTarget(platform::MessageTarget* self);
  // The frame's services (progress bars, cursor position, posted reports).
  void SetFrame(IMarkFrame* frame) { frame_ = frame; }
  void SetRecorder(std::shared_ptr<IMarkRecorder> recorder) { recorder_ = std::move(recorder); }
  IMarkRecorder* Recorder() const { return recorder_.get(); }
  IMarkFrame* Frame() const { return frame_; }
  // Runs the UI's message loop once while a worker is busy (default: the
  // platform pump and a short sleep).
  void SetPump(std::function<void()> pump) { pump_ = std::move(pump); }
  // Link time-outs are shortened by this factor against a simulated board.
  void SetLinkTimeoutScale(double scale);
  // The marking display window; cleared when the display frame closes.
  CDisMarkFormView* DisplayWindow() const { return displayWindow_; }
  void SetDisplayWindow(CDisMarkFormView* view) { displayWindow_ = view; }

  // WM_COM_REQUEST replies; false for messages that are not the controller's.
  bool HandleMessage(const platform::Message& message);

  // Job entry points (UI thread).
  void StartMarking(IMarkDocument* document, IMarkDisplay* display, IMarkView* view);
  // WM_MARK_FINISHED, passed on by the main frame.
  void EndMarking(WPARAM wParam, LPARAM lParam = 0);
  int EndMarkingCalls() const { return endCalls_; }
  // Waits for a running job worker (USB board).
  void WaitForJob();
  bool IsJobRunning() const { return jobRunning_.load(); }

  // Port boards: the view's home command, and the origin seek of jobs.
  void PortBackToOrigin(IMarkDocument* document, IMarkDisplay* display, IMarkView* view);
  int PortSeekOrigin();

  // Head positioning for the view and the main frame.
  void SetContext(IMarkDocument* document, IMarkDisplay* display, IMarkView* view);
  void SetContextAndGoStart(IMarkDocument* document, IMarkDisplay* display, IMarkView* view);
  void GoWorkPosition(IMarkDocument* document, IMarkDisplay* display, IMarkView* view, int force);
  int MoveToPosition(IMarkDocument* document, IMarkDisplay* display, IMarkView* view, const CDoublePoint& target);
  void EditWorkPosition(IMarkDocument* document);
  int MoveBy(IMarkDocument* document, IMarkDisplay* display, IMarkView* view, const CDoublePoint& delta,
             platform::Event* event);
  CDoublePoint GetHeadPosition(const CDrawProperity& record, int store, int absolute);
  void EnsureLinkReady();

  // Move primitives of the job flow.
  int MoveHead(CDoublePoint& from, CDoublePoint& to, CDrawProperity& record);
  int MoveStraight(CDoublePoint& from, const CDoublePoint& to, CDrawProperity& record);
  int RotaryReturn(CDoublePoint& from, const CDoublePoint& to, CDrawProperity& record, int returnAxis);
  int FollowStartPath(CDrawProperity& record);
  int FollowBackPath(CDrawProperity& record);
  int GoCornerInset(CDrawProperity& record);

  // Nearest of the list to the position by start or end point (first of
  // equal distances); removes it. direction: 1 start nearer, -1 end nearer.
  static CObjElement* PickNearestObject(std::vector<CObjElement*>& list, const CDoublePoint& position,
                                        int& direction);

  // Set by the view before StartMarking.
  std::atomic<int> markMode{MARK_MODE_MARK};

  // State the view and the frame read or change.
  std::atomic<int> atWorkPosition{0};
  CDoublePoint workPosition;
  CDoublePoint currentPosition;
  CDoublePoint previewHead;
  // Counted by the job (a worker on the USB board) and switched by the view's
  // menu while a job may run.
  std::atomic<int> successCount{0};
  std::atomic<int> checkMarked{0};
  std::atomic<int> dbOption{1};
  std::atomic<int> showPreview{0};
  std::atomic<int> nearestOrder{0};
  std::atomic<int> passCount{0};
  // Set once a rotary job has recorded where its rotary seek starts (the
  // view's "Hand scroll object to orign" needs it).
  std::atomic<int> startPointKnown{0};
  // A poll of the view waits for its "TT" reply; the view clears it.
  std::atomic<int> pollPending{0};

  int IsWorkPositionMode() const;
  int LinkReady() const { return link_ ? link_->linkReady.load() : 0; }
  // The view clears it when the marking range changes, so the parameters go
  // to the board again before the next head move.
  void SetLinkReady(int ready) {
    if (link_) link_->linkReady = ready;
  }
  CStepOutput& StepOutput() { return stepOut_; }
  CControllerLink* Link() { return link_.get(); }
  const std::vector<CObjElement*>& ClassList(int i) const { return classList_[i]; }
  int JobCount() const { return jobCount_; }
  const CDoubleRect& JobBounds() const { return jobBounds_; }
  // Border objects made for this job; freed when it ends.
  int TemporaryObjectCount() const { return static_cast<int>(tempObjects_.size()); }

 private:
  // Job flow.
  void RunMarking();
  void FinishJob(int result, bool originFailed);
  void ReadRotaryOptions(const CDrawProperity& record);
  void BuildJobList(int mode);
  void ClearJobList();
  CObjElement* MakeBorderObject(const CDoubleRect& rect, const std::string& name);
  CObjElement* MakeOutlineObject(CObjElement* element, const std::string& name);
  int CheckRange(CDrawProperity& record);
  void SortObjectsByClass();
  void PreMark(CDrawProperity& record);
  void SetStartPosition(const CDrawProperity& record);
  int SeekOrigin(CDrawProperity& record);
  int MarkPass(CDrawProperity& record, int& passes, int total, int& finished);
  int MarkObject(CObjElement* element, CDrawProperity& record, int direction);
  int EndOfPass(CDrawProperity& record, int& total, int passes);
  void CountdownWait(int seconds);
  void WaitUntilNotBusy(CObjElement* element);
  int SendParameters(const CDrawProperity& record);
  int SendSpeedSetup();
  int AskYesNo(const std::string& text);
  bool ConfirmStop(const std::string& question);
  bool PauseAndConfirmStop(const std::string& question);
  void Post(platform::MessageTarget* target, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
  void PostToFrame(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
  void PostToView(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
  void DrawPreviewNode(const StepNode& node, const CDrawProperity& record);
  void ShowProgress(std::unique_ptr<IProgressBar>& bar, int pos);
  bool StreamOpen() const;
  void SetStreamOpen(int open);

  // Workers (USB board).
  int RunInWorker(std::function<int()> work);
  int RunOriginWorker();
  int RunLinkInit();
  void PumpOnce();
  void SleepMs(int ms);
  std::int64_t NowMs();

  CDrawProperity* Record() const;
  CObjElement* Element(int index) const;
  int ElementCount() const;
  CDoublePoint OriginCornerPoint(const CDrawProperity& record) const;
  void ShowWorkPosition();
  void EnsureLink();
  bool IsUsb() const;

  platform::Clock* clock_;
  bool created_ = false;
  int id_ = 0;
  platform::MessageTarget* parent_ = nullptr;
  platform::MessageTarget* self_ = nullptr;
  int endCalls_ = 0;
  CDisMarkFormView* displayWindow_ = nullptr;

  IMarkDocument* document_ = nullptr;
  IMarkDisplay* display_ = nullptr;
  IMarkView* view_ = nullptr;
  IMarkFrame* frame_ = nullptr;
  ILinkHost* propertyView_ = nullptr;
  std::shared_ptr<IMarkRecorder> recorder_;
  std::function<void()> pump_;
  double linkTimeoutScale_ = 1.0;

  CPreciseDelay delay_;
  CStepOutput stepOut_;
  std::unique_ptr<CControllerLink> link_;
  std::atomic<int> workerDone_{0};
  std::atomic<bool> jobRunning_{false};
  std::thread jobThread_;

  // Job.
  std::vector<CObjElement*> jobList_;
  std::vector<std::unique_ptr<CObjElement>> tempObjects_;
  std::vector<CObjElement*> classList_[kClassCount];
  int jobCount_ = 0;
  CDoubleRect jobBounds_;
  int firstNodeFlag_ = 0;
  int rotaryReturnPending_ = 0;
  int streamOpen_ = 0;
  int displayShown_ = 0;
  int overallShown_ = 0;
  int objectsDone_ = 0;
  std::unique_ptr<IProgressBar> overallBar_;
  std::unique_ptr<IProgressBar> objectBar_;

  // Preview.
  platform::DeviceContext* previewDC_ = nullptr;
  float previewScale_ = 1.0f;
  double previewOffsetX_ = 0, previewOffsetY_ = 0;
  int previewCentreX_ = 0, previewCentreY_ = 0;
  int displayWidth_ = 0, displayHeight_ = 0;
};
