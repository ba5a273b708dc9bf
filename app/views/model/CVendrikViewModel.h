#pragma once
// The layout view's state and commands, without any widget: the document and
// the windows around it, zoom and scroll, the tool and drag state, the
// selection, the layer switches, the spreadsheet link and the settings the
// view reads at its initial update. The widget (CVendrikView) maps its
// events to this class and paints through Draw. The view's features each add
// their handlers in files of their own beside this one.
//
// It is also the marking controller's view (IMarkView).
#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app/views/model/CProperityViewCalls.h"
#include "app/views/model/CStartButtonWatch.h"
#include "app/views/model/CViewSelection.h"
#include "app/views/model/ExcelLinkRecord.h"
#include "app/views/model/ViewDialogHost.h"
#include "app/views/model/ViewHostInterfaces.h"
#include "app/views/model/ViewMarkDialogs.h"
#include "app/views/model/ViewSettingsFiles.h"
#include "document/geometry/CDoublePoint.h"
#include "document/geometry/CDoubleRect.h"
#include "document/geometry/CPointList.h"
#include "libs/tabrion/CTabrion.h"
#include "marking/controller/MarkInterfaces.h"
#include "platform/DeviceContext.h"
#include "platform/Messages.h"
#include "properties/framework/PropChange.h"
#include "values/ShellValues.h"

class CMarkControlWnd;
class CObjElement;
struct PROPCHANGE;
class CDrawProperity;
class CObjPtrArray;
class CVendrikDoc;
class CObjText;
class ILinkHost;

// What a print is fitted to: the printable area in device pixels and the
// printer's resolution.
struct PrintPage {
  int widthPx = 0;
  int heightPx = 0;
  double dotsPerInch = 300;
};

class CVendrikViewModel : public IMarkView {
 public:
  static constexpr float kMinZoom = 0.25f;

  // Reads the view's registry values.
  CVendrikViewModel();
  // Writes them back.
  ~CVendrikViewModel() override;
  CVendrikViewModel(const CVendrikViewModel&) = delete;
  CVendrikViewModel& operator=(const CVendrikViewModel&) = delete;

  // The windows around the view; each may be null.
  void SetWindow(IViewWindow* window) { m_pWindow = window; }
  void SetTarget(platform::MessageTarget* target) { m_pTarget = target; }
  void SetDocument(CVendrikDoc* document) { m_pDocument = document; }
  void SetChildFrame(IViewChildFrame* frame) { m_pChildFrame = frame; }
  void SetMainFrame(IViewMainFrame* frame) { m_pMainFrame = frame; }
  void SetMarkControl(CMarkControlWnd* control) { m_pMarkControl = control; }
  // Null restores the null calls.
  void SetPropertyView(CProperityViewCalls* calls);
  // The machine link the marking controller talks through, asked for each
  // time (the window that holds the program's link may close).
  void SetLinkHostSource(std::function<ILinkHost*()> source) { m_linkHostSource = std::move(source); }

  // Initialisation (ViewInit.cpp).
  void OnInitialUpdate();
  void LoadSettingsFiles();
  // The scroll extents for the client size, centred; the origin follows.
  void UpdateScrollExtents();
  static int ScrollExtent(double rangeMm, double pxPerMm, double zoom, int clientSize);
  void OnDestroy();
  // WM_LOAD_MRK_FILE: the document's elements become those of the file, the
  // object list is filled again, the document takes the file's path and the
  // undo history starts empty. False when the reader refused the file (the
  // layout, its path and its history stay as they were).
  bool OnLoadMrkFile(const std::string& path);
  // Puts a default parameter record at index 0 unless one is there.
  void EnsureParameterRecord();

  // Port set-up and the start button (ViewHardware.cpp).
  void InitHardware();
  bool StartButtonWatch();
  void StopButtonWatch();
  CStartButtonWatch& ButtonWatch() { return m_buttonWatch; }
  // The clock of the watcher's read gaps and its poll period (tests).
  void SetButtonWatchTiming(platform::Clock* clock, std::chrono::milliseconds period);

  // Coordinates (ViewCoordinates.cpp). Screen pixels are scroll-area pixels.
  platform::DcPoint MmToScreen(double x, double y, const platform::DcPoint& origin) const;
  CDoublePoint ScreenToMm(int clientX, int clientY, const platform::DcPoint& origin) const;
  // The work area's centre in scroll pixels.
  platform::DcPoint Origin() const { return {m_centreX, m_centreY}; }
  // Draws into a picture of the viewport: scroll pixels less `viewport`.
  void DrawMmLine(platform::DeviceContext& dc, const CDoublePoint& a, const CDoublePoint& b,
                  const platform::DcPoint& viewport = {}) const;
  float DrawZoom();

  // Drawing (ViewDrawing.cpp): the viewport's picture, the scroll area's
  // pixels from `viewport` on, `width` x `height` of them.
  void OnEraseBkgnd(platform::DeviceContext& dc, int left, int top, int width, int height) const;
  // The layout, or in countdown mode only the countdown over the window's
  // saved picture of it.
  void OnDraw(platform::DeviceContext& dc, const platform::DcPoint& viewport, int width, int height);
  void DrawLayout(platform::DeviceContext& dc, const platform::DcPoint& viewport, int width, int height);
  void DrawWorkArea(platform::DeviceContext& dc, const platform::DcPoint& viewport, int width, int height);
  // Objects that lie wholly beyond `visible` (dropped there anyway) are passed over.
  void DrawObjects(platform::DeviceContext& dc, const platform::DcPoint& viewport, const platform::DcRect& visible);
  void DrawStartBackPaths(platform::DeviceContext& dc, const platform::DcPoint& viewport);
  // The whole text of every shown VIN whose large display is on, in the view
  // font across the middle of the client area, its check digit in colour.
  void DrawEnlargedVins(platform::DeviceContext& dc, const platform::DcPoint& viewport, int height);
  // "剩 %d 秒" with the seconds left (UTF-8), shown in countdown mode: red,
  // in the view font, its left end a quarter of its width left of the
  // client's centre and its baseline half its height below.
  std::string CountdownText() const;
  void DrawCountdown(platform::DeviceContext& dc, int width, int height) const;
  static bool IsDrawnType(int type);

  // Printing (ViewPrinting.cpp): every printable object fitted and centred.
  double PrintScale(const PrintPage& page, const CDoubleRect& drawing) const;
  int PrintPenWidth() const;
  void OnPrint(platform::DeviceContext& dc, const PrintPage& page);

  // Selection bounds (ViewMarkedBounds.cpp).
  void GetSelectionBounds(CDoubleRect& bounds) const;

  // Messages posted to the view; false when the message is not one of the
  // core's (the features' handlers take the rest).
  bool OnMessage(const platform::Message& message);
  // Tells the operator of every fill left out for its size since the last
  // notice (one message naming the objects). Every road that rebuilds
  // objects ends here: messages, commands, mouse edits and opening. While a
  // job runs the notice waits for the next road after it.
  void TellCutFills();

  // Menu and tool-bar commands of the view's features (ViewCommands.cpp).
  // Each feature registers its own in a Register...Commands() of its file,
  // called from the constructor. A command without `enabled` is always
  // enabled; `checked` gives the check mark of toggles and tools.
  struct ViewCommand {
    std::function<void()> run;
    std::function<bool()> enabled;
    std::function<bool()> checked;
  };
  void AddCommand(int id, std::function<void()> run, std::function<bool()> enabled = {},
                  std::function<bool()> checked = {});
  // Runs the command (execute) or tells whether it is there and enabled.
  bool RunCommand(int id, bool execute);
  bool IsCommandChecked(int id) const;
  // Whether the command is registered, enabled or not.
  bool HasCommand(int id) const { return m_commands.count(id) != 0; }

  // Undo history, renaming and the default colour (ViewHistory.cpp).
  // Snapshot slot n: "HistoryOp/History-n.qzt" under the installation folder.
  static constexpr int kHistorySlots = 10;
  static constexpr int ID_EDIT_UNDO = 57643;
  static constexpr int ID_EDIT_REDO = 32786;
  std::string HistoryFilePath(int slot) const;
  void SaveHistory(int keepSlot);
  void UndoHistory();
  void RedoHistory();
  // Puts a snapshot read back in place of the layout (the parameter record
  // and the project's file stay: the history never reaches past the Open or
  // New that began the project).
  void RestoreSnapshot(CObjPtrArray& loaded);
  bool CanUndo() const;
  bool CanRedo() const;
  // Open and New begin a project with an empty history, as at start-up: the
  // counters go back to 0 and this layout's snapshots are deleted.
  void StartNewHistory();
  // The snapshot folder is one for the program: it holds the snapshots of
  // the history that wrote there last. A layout window whose snapshots were
  // overwritten by another's (or that began a new project since) has none.
  bool HoldsSnapshots() const;
  // True when no other element of the layout has exactly this name; each
  // clash is reported.
  bool CheckNameUnique(const CObjElement* element, const std::string& name);
  // False (and the name page shown the old name again) on a clash.
  bool RenameObject(CObjElement* element, const std::string& name);
  void SetDefaultColor(int color);
  void RegisterHistoryCommands();
  int m_historyTop = 0;
  int m_historyCur = 0;
  // Names this layout's history in the snapshot folder; a new one for every
  // project begun.
  static unsigned NewHistoryToken();
  unsigned m_historyToken = NewHistoryToken();

  // Opening and new projects (ViewOpenNew.cpp). File Open and File New of
  // the active layout; false when nothing was read or the operator cancelled.
  static constexpr int ID_FILE_NEW = 57600;
  static constexpr int ID_FILE_OPEN = 57601;
  bool OnFileOpen();
  bool OnFileNew();
  // Reads a project into this layout as File Open does once a file was
  // chosen (asking first to save a changed layout); false when the operator
  // cancelled or the reader refused the file.
  bool OpenProjectFile(const std::string& path);
  // Asks "Mark data is repared !,Save data?" when the layout changed; false
  // when the operator cancelled or the save failed.
  bool AskSaveChanges();
  // The document's content released (its path too) and the read elements
  // taken in their place, with the view's state reset and the object list
  // filled again; `objects` is left empty.
  void ReplaceContent(CObjPtrArray& objects);
  void RegisterOpenNewCommands();
  // Called after a successful open or new (titles, the finished count).
  std::function<void()> m_onContentReplaced;

  // Object creation by drawing tool (ViewObjectCreation.cpp).
  void CreateObjectForTool(const platform::DcPoint& point, bool noAppend);
  // Every element a command adds goes this way: into the document and the
  // object list, which shows its pages. With select set it becomes the
  // selection and the list reports it back; without, the selection stays
  // (a command adding several selects them itself). Returns the element.
  CObjElement* AddElement(std::unique_ptr<CObjElement> element, int select);
  // The same for an element handed over by pointer (owned from then on).
  void AddElement(CObjElement* element, int select);
  void MarkModified(int flag);
  // The type's prefix and the first number no element's name begins with.
  std::string MakeDefaultName(int type) const;
  // The element from the points; null when there are too few.
  CObjElement* CreateToolObject(int toolCode);
  // Tool 17 (ViewSpecialPicture.cpp): the drawing chosen in the library,
  // centred in the dragged frame; null on Cancel or without a drawing. No
  // undo snapshot is taken for it.
  CObjElement* CreateSpecialPicture();
  void EndConstruction();

  // Tools and mouse editing (ViewTools.cpp, ViewMouseEditing.cpp,
  // ViewSelection.cpp). Points are viewport pixels; `buttons` has bit 0 for
  // the left button.
  struct ToolCommand {
    int id;
    int code;
  };
  static const std::vector<ToolCommand>& ToolCommands();
  static constexpr int ID_SELECT_NONE = 32872;
  void SetTool(int code);
  void RegisterToolCommands();
  void OnLButtonDown(const platform::DcPoint& point);
  void OnLButtonUp(const platform::DcPoint& point);
  void OnMouseMove(const platform::DcPoint& point, bool leftDown);
  // True when the context menu should be shown.
  bool OnRButtonDown(const platform::DcPoint& point);
  // Virtual key codes (VK_ values).
  void OnKeyDown(int key);
  void OnKeyUp(int key);
  // The Shift and Ctrl flags as a mouse event says the keys are held now: a
  // key let go while another window had the focus never reaches OnKeyUp.
  void SetModifierKeys(bool shift, bool ctrl);
  // Cursor resource number (0 the standard arrow).
  int CursorFor(bool pressed) const;
  CDoublePoint PixelToMm(const platform::DcPoint& point) const;
  platform::DcPoint MmToPixel(double x, double y) const;
  // The selection's handlers (ViewSelection.cpp): each passes on to
  // m_selection, the one place the selection changes.
  void AddToSelection(CObjElement* element);
  void UpdateSelectionBounds();
  void ClearSelection(bool keepFlags = false);
  void SelectInRect(const CDoubleRect& rect);
  // The grid of the add-point tool: the first selected dot image's pitch,
  // else the program's grid.
  void UpdateGridFromSelection();
  void ApplyDrag(int hitCode);
  // Every selected element leaves the list and the document, after one undo
  // snapshot (none when the caller took it); refused while a job runs.
  void DeleteSelection(bool snapshot = true);
  // Takes the selected elements out of the list and the document, their
  // exclusion bit set, in selection order; the selection is then empty.
  std::vector<std::unique_ptr<CObjElement>> RemoveSelectedElements();
  // Something of the layout is selected: the reference arc alone is no part
  // of it, and the edits of the layout leave it be.
  bool HasLayoutSelection() const;
  // While a marking job runs it holds the layout's elements: nothing that
  // takes elements out (delete, cut, clear all, undo, redo, open, new) runs then.
  static bool IsMarkingBusy();
  int HoverHitTest(const platform::DcPoint& point);
  // Dragged bounds for the offset (mm) from the bounds at button-down.
  static CDoubleRect DraggedBounds(const CDoubleRect& start, int hitCode, double dx, double dy);
  platform::DcPoint AngleSnapped(const platform::DcPoint& point) const;
  // The rubber band, construction and drag feedback and the selection frame.
  void DrawFeedback(platform::DeviceContext& dc);
  void DrawSelectionHandles(platform::DeviceContext& dc, const CDoubleRect& rect);
  // Points in mm joined by lines, in viewport pixels.
  void DrawMmPolyline(platform::DeviceContext& dc, const CPointList& points) const;
  CDoubleRect m_handleRects[8];
  platform::DcPoint m_snappedPoint;
  int m_shiftKey = 0;
  int m_ctrlKey = 0;
  int m_angleKey = 0;
  bool m_leftDown = false;
  bool m_dragShown = false;
  // Runs a command id on the view (Enter starts marking, nudges).
  std::function<void(int)> m_postCommand;
  // Repaints only what follows the mouse over the unchanged picture.
  std::function<void()> m_updateOverlay;

  // Undo history (ViewHistory.cpp): every editing command calls it before it
  // changes the layout.
  void PushHistory();
  // Command 32841 "Apply optimize speed": the controller's nearest-first
  // order on or off, kept in the registry at once.
  void OnApplyOptimizeSpeed();
  bool IsOptimizeSpeedOn() const;

  // Applying property changes (ViewApplyChanges.cpp, ViewApplyMachine.cpp,
  // ViewApplyGeometry.cpp): the change records of the property pages are
  // written into the object or the parameter record, the object rebuilt and
  // the layout redrawn. Each handler owns its record until it returns.
  bool OnApplyChangesMessage(const platform::Message& message);
  // False for a change about an object no longer in the layout (the page
  // reported it after the object was deleted): nothing is left to write.
  bool IsChangeTargetAlive(const PROPCHANGE& change) const;
  void OnUpdateDrawSize(const PROPCHANGE& change);
  void OnUpdatePrintParameter(const PROPCHANGE& change);
  void OnUpdatePrintSetup(const PROPCHANGE& change);
  void OnUpdateRoateSet(const PROPCHANGE& change);
  void OnListSelected(const PROPCHANGE& change);
  void OnUpdateObjLine(const PROPCHANGE& change);
  void OnUpdateObjName(const PROPCHANGE& change);
  void OnUpdatePrintProperity(const PROPCHANGE& change);
  void OnUpdateFillObj(const PROPCHANGE& change);
  void OnUpdatePolyline(const PROPCHANGE& change);
  void OnUpdateObjRect(const PROPCHANGE& change);
  void OnUpdateMBorder(const PROPCHANGE& change);
  void OnUpdateObjArc(const PROPCHANGE& change);
  void OnUpdateDotMatrix(const PROPCHANGE& change);
  void OnUpdateObjImageSize(const PROPCHANGE& change);
  void OnUpdatePltDivide(const PROPCHANGE& change);
  // The shared tail of the geometric objects: sheet, bounds, redraw, change mark.
  void FinishObjectChange(CObjElement* element);
  // The undo snapshot a change takes before it writes (counted by the hook).
  void TakeChangeSnapshot();
  // Turns the picture into a new dot image beside it; false when it has no dots.
  bool ConvertImageToDots(CObjElement* element);
  // The "Test mother line..." button: the head of a port board to its origin.
  void TestMotherLine();
  // Called on every change snapshot (tests count them).
  std::function<void()> m_changeSnapshotHook;

  // IMarkView (ViewMarkCalls.cpp).
  platform::MessageTarget* GetViewTarget() override { return m_pTarget; }
  std::vector<CObjElement*> GetSelection() override { return m_selection.GetElements(); }
  void StartCountdown(int seconds) override;
  void UpdateCountdown(int seconds) override;
  void EndCountdown() override;
  void RefreshPointed(int flag) override;
  bool IsPaperPrintOn() override { return m_paperPrinter != 0; }
  bool EditPointerPosition(double& x, double& y) override;
  ILinkHost* GetPropertyView() override { return m_linkHostSource ? m_linkHostSource() : nullptr; }
  // The client rectangle the countdown text takes.
  CDeviceRect CountdownRect() const;
  // The head marker's pixels about the pointed position.
  CDeviceRect PointedRect() const;

  // Marking commands, machine position, origin, jog and hardware test
  // (ViewMarking.cpp, ViewMachine.cpp; the windows they open through
  // IViewMarkDialogs, ViewMarkDialogs.h).
  void RegisterMarkingCommands();
  void RegisterMachineCommands();
  void SetMarkDialogs(IViewMarkDialogs* dialogs) { m_pMarkDialogs = dialogs; }
  void SetMarkDisplay(IMarkDisplay* display) { m_pMarkDisplay = display; }
  IMarkDocument* MarkDocument();
  bool HasDrawingObjects() const;
  // Mode 0..3 (MarkMode), gas 1 with the air valve on.
  void StartMarking(int mode, int gas);
  bool OnMarkingMessage(const platform::Message& message);
  // A key press: true when taken (the stop keys while a job runs, Enter).
  bool OnMarkingKey(int key);
  void OnMarkObjectDone(CObjElement* element);
  void OnRs232Text(const std::string& text);
  void TogglePermitMark();
  bool IsInDocument(const CObjElement* element) const;
  void OnDithering();
  void OnConfigMachineOrigin();
  void OnPointedPosition();
  void OnSelectPointedPosition();
  void OnMachineOrigin();
  void OnOriginByHand();
  void ApplyJogWindow();
  void OnTestHardware();
  // The hardware test dialog and the head position read after it.
  void RunHardwareTest();
  void OnJogRequest(const platform::Message& message);
  void JogMove(int code, const CDoublePoint& displacement, platform::Event* event);
  void SendMachineByte(int type, const BYTE* data, int length);
  void OnMachineReply(const platform::Message& message);
  IViewMarkDialogs* m_pMarkDialogs = nullptr;
  IMarkDisplay* m_pMarkDisplay = nullptr;
  std::unique_ptr<IMarkDocument> m_markDocument;
  int m_pendingCommand = 0;
  std::int64_t m_pendingSinceMicros = 0;  // on the process clock
  static constexpr std::chrono::milliseconds kMachineReplyWait{3000};
  BYTE m_commandBuffer[40] = {};

  // State shared by the view's features.
  std::recursive_mutex m_viewLock;
  CVendrikDoc* m_pDocument = nullptr;
  IViewChildFrame* m_pChildFrame = nullptr;
  IViewMainFrame* m_pMainFrame = nullptr;
  CMarkControlWnd* m_pMarkControl = nullptr;
  CProperityViewCalls* m_pPropView = nullptr;
  std::function<ILinkHost*()> m_linkHostSource;
  IViewWindow* m_pWindow = nullptr;
  platform::MessageTarget* m_pTarget = nullptr;

  float m_zoom = 1.0f;
  int m_scrollWidth = 0;
  int m_scrollHeight = 0;
  int m_centreX = 0;
  int m_centreY = 0;
  // The picture of the viewport is current (the widget keeps the picture).
  bool m_bMemValid = false;

  int m_layerOn[4] = {1, 1, 1, 1};
  std::atomic<int> m_bCountdown{0};
  std::atomic<int> m_countdown{0};

  int m_toolCode = 0;
  int m_dragState = 0;
  int m_hitCode = 255;
  CPointList m_pointList;
  platform::DcPoint m_dragStart;
  platform::DcPoint m_lastPoint;
  // The selection with its list synchronisation; the names the features use
  // for its bounds and the two drag copies refer into it.
  CViewSelection m_selection;
  CDoubleRect& m_selBounds = m_selection.Bounds();
  CDoubleRect& m_selBoundsAtDown = m_selection.BoundsAtDown();
  CDoubleRect& m_dragBounds = m_selection.DragBounds();
  int m_needleMode = 0;
  int m_trackMode = 0;
  int m_moveView = 0;
  int m_escapeKey = 0;
  float m_dotPitchX = 1.0f;
  float m_dotPitchY = 1.0f;

  CTabrion m_excel;
  _EXCEL_FILE_PARA m_excelPara;
  int m_autoLinkExcel = 0;
  int m_paperPrinter = 0;
  int m_excelRowIndex = 1;
  PaperPrintSet m_paperPrintSet;
  ArcPointedInfo m_arcInfo;
  // The reference arc drawn while it is on and built (made by the arc tools).
  std::unique_ptr<CObjElement> m_lookArc;

  // Spreadsheet link and variable texts (ExcelLinkRecord.h,
  // ViewSpreadsheetLink.cpp, ViewSpreadsheetFill.cpp).
  void RegisterSpreadsheetLinkCommands();
  void OnBandExcel();
  void OnConfigExcel();
  void OnPreRecord();
  void OnNextRecord();
  bool CanStepRecords() const;
  bool IsSheetOpen() const;
  // The sheet's last row (first row + row count - 1).
  int LastSheetRow() const;
  // WM_NEXT_RECORD: a row outside the sheet is refused (false) and the
  // record edit shows the current row again.
  bool SetRecordIndex(WPARAM row);
  bool OnSpreadsheetLinkMessage(const platform::Message& message);
  // The message of a result of CTabrion::InitialExcelDataBase (0 shows none).
  void ReportExcelOpenResult(int result);
  void FillFromSpreadsheetRow(CObjElement* element);
  // After "Data From" or "Excel col" changed: the cell of the current row
  // when the element's source is the spreadsheet.
  void FillFromSpreadsheetSource(CObjElement* element);
  void FillAllFromSpreadsheetRow();
  // Runs dialog 183 over the values; false on Cancel. The widget installs it.
  std::function<bool(ExcelSourceValues&)> m_editExcelSource;

  // Text and font property changes (ViewTextProperties.cpp).
  bool OnTextPropertyMessage(const platform::Message& message);
  void OnUpdateText(const PROPCHANGE& change);
  void OnUpdateFont(const PROPCHANGE& change);
  // The font pair "west+big" with a new western or big font file chosen.
  static std::string WithWestFont(const std::string& pair, const std::string& fileName);
  static std::string WithBigFont(const std::string& pair, const std::string& fileName);
  // The placement rows the serial number, date and VIN pages share with the
  // text page (their own rows come with their objects).
  void OnUpdateTextPlacement(const platform::Message& message, const PROPCHANGE& change);
  enum class TextPlacement {
    LeftTopX, LeftTopY, Radius, OffsetAngle, ArcAngle, FixedArc, FixPosition, TwoLine, SecondLineX, SecondLineY
  };

 private:
  // OnMessage and OnLButtonUp without the notice that follows them.
  bool OnViewMessage(const platform::Message& message);
  void EndLeftDrag(const platform::DcPoint& point);
  // undoFixPosition: a new fixed position takes an undo snapshot too (the
  // serial number's and the VIN's do, the text's and the date's do not).
  void ApplyTextPlacement(CObjElement& element, CObjText& text, TextPlacement what, const PropValue& value,
                          bool undoFixPosition = false);
  // An id the handler does not list writes nothing; the object is rebuilt
  // and shown unchanged all the same, and counts as changed.
  void RebuildTextUnchanged(CObjElement& element, CObjText& text);
  void OpenSpreadsheetLink();
  void ShowRecordAndFill();
  void FinishTextChange(CObjElement& element);
  // The one selected text or code of an arc command, its snapshot taken;
  // null when the command does not apply (ViewArcAlign.cpp).
  CObjText* TakeArcText(CObjElement*& element);
  void LayOutArcText(CObjElement& element, CObjText& text, const CDoublePoint& anchor, bool align);
  // The rows of the serial number, date, VIN, ruler and barcode pages that
  // go through their own objects (ViewTextProperties.cpp). The first three
  // return false for the rows they share with a plain text.
  bool ApplySerialRow(CObjElement& element, const PROPCHANGE& change);
  bool ApplyDateRow(CObjElement& element, const PROPCHANGE& change);
  bool ApplyVinRow(CObjElement& element, const PROPCHANGE& change);
  void OnUpdateObjRulerBar(const PROPCHANGE& change);
  void OnUpdateBarCode(const PROPCHANGE& change);
  void FinishCodeChange(CObjElement& element);
  // The font page's rows: false when the value is refused.
  bool ApplyFontRow(CObjText& text, const PROPCHANGE& change);
  void OnUpdateCodeOrRulerFont(CObjElement& element, const PROPCHANGE& change);

 public:
  // Import, arranging, clipboard, needle and reference arc, zoom and locks,
  // list messages (ViewImport.cpp, ViewTransforms.cpp, ViewClipboard.cpp,
  // ViewNeedle.cpp, ViewZoom.cpp, ViewListMessages.cpp, ViewElementList.cpp).
  void SetDialogs(IViewDialogs* dialogs) { m_pDialogs = dialogs; }
  void SetLayoutModified();
  std::string DefaultName(int type);
  // Exactly these elements become the selection, and the list shows them.
  void SelectElements(const std::vector<CObjElement*>& elements);
  // The element's list entry shows its current name and is selected.
  void RefreshListItem(CObjElement* element);
  // The property view shows the parameter record (list entry 0).
  void ShowNoObject();
  void RefreshSelectedPages();
  bool IsDrawingSelected(int type) const;
  int DrawingObjectCount() const;
  // Ends a pending construction: point list emptied, tool and drag state 0.
  void EndPendingConstruction();

  void RegisterImportCommands();
  void OnImportFile();
  bool OnImportFileMessage();
  bool ImportPltDrawing(std::string path);
  bool ImportDxfDrawing(std::string path);
  void OnImportModules();
  bool ImportPicture(const std::string& path);
  void OnImportPointsImage();
  bool ImportPointsImage(const std::string& path);
  // Centres the element's path on the origin and adds it.
  void AddCentredDrawing(std::unique_ptr<CObjElement> element);

  void RegisterTransformCommands();
  void OnRotate();
  void OnMatrixCopy();
  void MatrixCopy(const MatrixCopyValues& values);
  void OnFillVectorImage();
  void OnMirror(bool aboutVertical);
  void OnAlignCenter();
  // edge: 0 left, 1 right, 2 top, 3 bottom.
  void OnAlignEdge(int edge);
  void OnOffset();
  void OnObjectSize();
  void ApplySizeAndPosition(const CDoubleRect& requested);

  void RegisterClipboardCommands();
  void OnCopy();
  void OnCut();
  void OnPaste();
  void ClearClipboard();
  void OnSelectAll();
  void OnClearAll();
  void OnChangeMarkOrder();
  void OnCombineRequest();

  void RegisterNeedleCommands();
  int MoveNeedleToSelection(double dx, double dy);
  static bool ArcCentre(const CDoublePoint& p1, const CDoublePoint& p2, double radius, CDoublePoint& centre);
  bool BuildReferenceArc(int noRepaint, int useStoredCentre);
  void ReferenceArcDialog(int forceRadius);
  void SaveArcPointedInfo();
  // The direction of the rectangle's point seen from the arc's centre, in
  // degrees from 0 to 360 counter-clockwise (mode 0 its lower-left corner,
  // 1 the middle of its bottom, else its centre).
  double AngleFromArcCentre(const CDoubleRect& rect, int mode) const;
  // "Refer arc align" and "Align line" of a text or a 2-D code
  // (ViewArcAlign.cpp).
  void RegisterArcAlignCommands();
  void OnReferArcAlign();
  void OnAlignLine();
  bool IsAtWorkPosition() const;
  // The look arc is the selection (made so by "Select refer arc").
  bool IsReferenceArcSelected() const;
  // Moves the reference arc's record, rebuilds the arc and saves the record.
  void ShiftReferenceArc(double dx, double dy);
  // A click with Shift held or in "Mouse position" mode: the needle to the
  // clicked point; false when it did not move.
  bool MoveNeedleToClick(const platform::DcPoint& point);
  // Needle drag mode: a move of what the needle stands on (or of the
  // reference arc) takes the needle along. Before the drag is applied the
  // start is noted, afterwards the needle follows.
  struct NeedleDragStart {
    bool needleInside = false;
    ArcPointedInfo arc;
    CDoubleRect bounds;
  };
  NeedleDragStart BeginNeedleDrag() const;
  void FollowDragWithNeedle(const NeedleDragStart& start);

  void RegisterZoomCommands();
  void CentreView();
  void OnOringView();
  void OnZoomIn();
  void OnZoomOut();
  void OnWindowView();
  void OnWindowSize();
  void OnScroll(int bar);
  // delta: the wheel step; cursor: client pixels. The point under the
  // cursor stays there.
  bool OnMouseWheel(int delta, const platform::DcPoint& cursor);
  // Extents and origin for the zoom, without scrolling.
  void SetZoomExtents();
  void OnLocalZoom(const CDoubleRect& rect);
  enum class NudgeKey { PageUp, PageDown, End, Home, Left, Up, Right, Down };
  void NudgeSelection(NudgeKey key);
  void SetLocks(bool selectionOnly, int lock);
  // The scroll position less the origin, plus half the page, per axis.
  platform::DcPoint RulerOffsets() const;

  void RegisterListMessageCommands();
  bool OnListMessage(const platform::Message& message);
  void CombineSelection();
  CDrawProperity* GetParameterRecord() const;
  void OnApplyStartBackPath();
  bool IsLayerUsed(int layer) const;

  IViewDialogs* m_pDialogs = nullptr;
  // Copies owned by the clipboard: a paste never sees a deleted element.
  std::vector<std::unique_ptr<CObjElement>> m_clipboard;
  float m_pasteOffsetX = 10.0f;
  float m_pasteOffsetY = -10.0f;
  int m_arcPoint1Locked = 0;
  int m_selectArcMode = 0;
  bool m_initialUpdateDone = false;

 private:
  std::map<int, ViewCommand> m_commands;
  NullProperityViewCalls m_nullPropView;
  CStartButtonWatch m_buttonWatch;
  platform::Clock* m_watchClock = nullptr;
  std::chrono::milliseconds m_watchPeriod = CStartButtonWatch::kPollPeriod;
};
