#pragma once
// What the marking controller needs of the windows around it, so that a job
// runs headless: the document, the layout view, the main frame, the marking
// display, the two progress bars and the marking-record database. The GUI
// hands in its windows through these; tests hand in doubles.
#include <memory>
#include <vector>

#include "document/geometry/CDoubleRect.h"
#include "platform/DeviceContext.h"
#include "platform/Messages.h"

class CObjElement;
class ILinkHost;

class IMarkDocument {
 public:
  virtual ~IMarkDocument() = default;
  // Element 0 is the machine parameter record; drawing objects follow.
  virtual int GetElementCount() const = 0;
  virtual CObjElement* GetElement(int index) const = 0;
  // Saves when the document has a path; false when it has none or fails.
  virtual bool SaveIfNamed() = 0;
};

class IMarkView {
 public:
  virtual ~IMarkView() = default;
  // Receives WM_MARK_OBJECT_DONE and the posted commands (WM_COMMAND).
  virtual platform::MessageTarget* GetViewTarget() = 0;
  // The selected elements in selection order.
  virtual std::vector<CObjElement*> GetSelection() = 0;
  virtual void StartCountdown(int seconds) = 0;
  virtual void UpdateCountdown(int seconds) = 0;
  virtual void EndCountdown() = 0;
  // Invalidates the pointed position; nonzero also clears the selection and
  // resets the tool.
  virtual void RefreshPointed(int flag) = 0;
  // The paper print option: print the layout at the start of each pass.
  virtual bool IsPaperPrintOn() = 0;
  // "Pointer position": edits x and y in place; false on Cancel.
  virtual bool EditPointerPosition(double& x, double& y) = 0;
  // The property view that owns the machine link (null without one).
  virtual ILinkHost* GetPropertyView() = 0;
};

class IProgressBar {
 public:
  virtual ~IProgressBar() = default;
  virtual void SetRange(int lower, int upper) = 0;
  virtual void SetStep(int step) = 0;
  // May be called from the marking worker.
  virtual void SetPos(int pos) = 0;
};

class IMarkFrame {
 public:
  virtual ~IMarkFrame() = default;
  // WM_MARK_FINISHED, WM_SHOW_MARK_COUNT, WM_SHOW_MARK_STATUS, WM_SHOW_MARK_TIME.
  virtual platform::MessageTarget* GetFrameTarget() = 0;
  // A progress bar in the status pane; null when it cannot be made.
  virtual std::unique_ptr<IProgressBar> CreatePaneControl(int paneId, int controlId) = 0;
  virtual void ShowCursorPos(double x, double y) = 0;
};

class IMarkDisplay {
 public:
  virtual ~IMarkDisplay() = default;
  virtual void ShowSyncDisplay(bool show) = 0;
  // The drawing surface of the display and its client size, or null.
  virtual platform::DeviceContext* GetPreviewDC() = 0;
  virtual void GetClientSize(int& width, int& height) = 0;
};

// The marking-record database as a job uses it.
class IMarkRecorder {
 public:
  virtual ~IMarkRecorder() = default;
  // At job start: 1 go on, 0 the operator stopped at the duplicate question
  // (the recorder has closed the database then; the controller ends the job).
  virtual int Open(IMarkDocument& document, bool airOn, bool checkMarked) = 0;
  virtual bool IsOpen() const = 0;
  // The item just marked; nothing when the database is closed.
  virtual void Insert(IMarkDocument& document) = 0;
  virtual void Close() = 0;
};
