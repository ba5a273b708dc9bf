// Marking from the layout view: the start gate, the status-word bits the
// menu sets, the controller's option toggles, the border and orbit runs of
// the context menu, and what the view does after each marked object and when
// a text arrives on the text port.
#include <algorithm>
#include <atomic>
#include <memory>
#include <string>
#include <unordered_set>

#include "app/core/CommandIds.h"
#include "app/views/model/CVendrikViewModel.h"
#include "document/doc/CVendrikDoc.h"
#include "document/geometry/SharedHelpers.h"
#include "document/geometry/SharedState.h"
#include "document/objects/CObjElement.h"
#include "marking/controller/CMarkControlWnd.h"
#include "marking/controller/ControllerMessages.h"
#include "marking/handtools/JogRequest.h"
#include "marking/link/LinkMessages.h"
#include "marking/textport/Rs232Text.h"
#include "text/objects/CObjBarCode.h"
#include "text/objects/CObjText.h"
#include "text/objects/CObjTextAutoUpdate.h"
#include "text/objects/CObjTextDate.h"

std::atomic<std::uint8_t> g_jogWindowOpen{0};
std::atomic<std::uint8_t> g_machineInputByte{0};

namespace {

// The document as a marking job reads it; follows the view's document.
class ViewMarkDocument : public IMarkDocument {
 public:
  explicit ViewMarkDocument(CVendrikViewModel& view) : view_(view) {}
  int GetElementCount() const override {
    return view_.m_pDocument != nullptr ? view_.m_pDocument->Objects().GetSize() : 0;
  }
  CObjElement* GetElement(int index) const override {
    return view_.m_pDocument != nullptr ? view_.m_pDocument->Objects().GetAt(index) : nullptr;
  }
  bool SaveIfNamed() override { return view_.m_pDocument != nullptr && view_.m_pDocument->SaveIfNamed(1) != 0; }

 private:
  CVendrikViewModel& view_;
};

// Date format 12, the time of day.
constexpr int kTimeOfDayFormat = 12;

bool IsSerialTextSource(const CObjElement& element) { return element.dataSource == 2 || element.dataSource == 3; }

// The controller waits on this flag before it marks the object again.
void ClearBusy(CObjElement* element) { std::atomic_ref<int>(element->flag).store(0); }

// Serial numbers and codes store no increment or fixed-text flag of their
// own; both follow from what the objects already keep, so stored files load
// as they are. A number steps after marking while it has a serial part and a
// step other than 0. A code's text is fixed while its input mode takes the
// fixed input text (typed or scanned) instead of the composed serial text.
bool IncrementsAfterMark(const CObjTextAutoUpdate& number) {
  return !number.Serial().serial.empty() && number.Serial().step != 0;
}
bool HasFixedCodeText(const CObjBarCode& code) { return code.Code().inputMode != 0; }

// Whether the object steps its text after it was marked: a date but the time
// of day (refreshed just before it is marked), a VIN, a serial number with
// its increment, a code with its increment and a text that is not fixed.
bool AdvancesAfterMark(const CObjElement& element) {
  switch (element.type) {
    case OBJ_DATE: {
      const auto* date = element.GetObjectAs<CObjTextDate>();
      return date != nullptr && date->GetFormat() != kTimeOfDayFormat;
    }
    case OBJ_SERIAL: {
      const auto* number = element.GetObjectAs<CObjTextAutoUpdate>();
      return number != nullptr && IncrementsAfterMark(*number);
    }
    case OBJ_BARCODE: {
      const auto* code = element.GetObjectAs<CObjBarCode>();
      return code != nullptr && IncrementsAfterMark(*code) && !HasFixedCodeText(*code);
    }
    case OBJ_VIN: return true;
    default: return false;
  }
}

}  // namespace

IMarkDocument* CVendrikViewModel::MarkDocument() {
  if (!m_markDocument) m_markDocument = std::make_unique<ViewMarkDocument>(*this);
  return m_markDocument.get();
}

bool CVendrikViewModel::HasDrawingObjects() const {
  // Element 0 is the parameter record.
  return m_pDocument != nullptr && m_pDocument->Objects().GetSize() > 1;
}

bool CVendrikViewModel::IsInDocument(const CObjElement* element) const {
  if (m_pDocument == nullptr || element == nullptr) return false;
  const CObjPtrArray& objects = m_pDocument->Objects();
  for (int i = 1; i < objects.GetSize(); ++i) {
    if (objects.GetAt(i) == element) return true;
  }
  return false;
}

void CVendrikViewModel::StartMarking(int mode, int gas) {
  if (MarkStatusWord.load() & MSW_MARKING) return;
  if (!HasDrawingObjects()) return;
  MarkStatusWord.fetch_and(~MSW_AIR_ON);
  if (gas == 1) MarkStatusWord.fetch_or(MSW_AIR_ON);
  if (m_pMarkDialogs != nullptr && g_jogWindowOpen.load() != 0 && m_pMarkDialogs->HasJogWindow()) {
    m_pMarkDialogs->SaveJogSelection();
  }
  if (m_pMarkControl == nullptr) return;
  // The start button's thread posts its starts here too: only one wins.
  if (MarkStatusWord.fetch_or(MSW_MARKING) & MSW_MARKING) return;
  m_pMarkControl->markMode = mode;
  m_pMarkControl->StartMarking(MarkDocument(), m_pMarkDisplay, this);
}

void CVendrikViewModel::RegisterMarkingCommands() {
  const auto hasObjects = [this] { return HasDrawingObjects(); };
  const auto start = [this](int mode, int gas) { return [this, mode, gas] { StartMarking(mode, gas); }; };
  AddCommand(cmd::ID_START_MARK, start(MARK_MODE_MARK, 1), hasObjects, [] {
    return (MarkStatusWord.load() & (MSW_MARKING | MSW_AIR_ON)) == (MSW_MARKING | MSW_AIR_ON);
  });
  AddCommand(cmd::ID_MARK_NO_GAS, start(MARK_MODE_MARK, 0), hasObjects, [] {
    return (MarkStatusWord.load() & (MSW_MARKING | MSW_AIR_ON)) == MSW_MARKING;
  });
  AddCommand(cmd::ID_DEMO_OBJECT_BORDER, start(MARK_MODE_BORDER, 0), hasObjects);
  AddCommand(cmd::ID_DEMO_OBJECT_ORBIT, start(MARK_MODE_ORBIT, 0), hasObjects);
  AddCommand(cmd::ID_DEMO_MAX_BORDER, start(MARK_MODE_MAX_BORDER, 0), hasObjects);
  AddCommand(cmd::ID_MARK_BORDER, start(MARK_MODE_BORDER, 1), hasObjects);
  AddCommand(cmd::ID_MARK_ORBIT, start(MARK_MODE_ORBIT, 1), hasObjects);
  AddCommand(cmd::ID_MARK_MAX_BORDER, start(MARK_MODE_MAX_BORDER, 1), hasObjects);
  AddCommand(cmd::ID_PAUSE_MARK, [] { MarkStatusWord.fetch_or(MSW_STOP_REQUEST); });
  AddCommand(cmd::ID_JUMP_WAITING, [] { MarkStatusWord.fetch_or(MSW_END_PAUSE); });
  AddCommand(cmd::ID_PERMIT_MARK, [this] { TogglePermitMark(); });

  // The controller's options; nothing happens without a controller.
  const auto option = [this](int id, std::atomic<int> CMarkControlWnd::*flag) {
    AddCommand(
        id,
        [this, flag] {
          if (m_pMarkControl != nullptr) (m_pMarkControl->*flag) = (m_pMarkControl->*flag).load() ? 0 : 1;
        },
        {}, [this, flag] { return m_pMarkControl != nullptr && (m_pMarkControl->*flag).load() != 0; });
  };
  option(cmd::ID_MARK_INFO_DATABASE, &CMarkControlWnd::dbOption);
  option(cmd::ID_OPEN_MARK_WINDOW, &CMarkControlWnd::showPreview);
  option(cmd::ID_CHECK_VIN_MARKED, &CMarkControlWnd::checkMarked);
  AddCommand(cmd::ID_APPLY_OPTIMIZE_SPEED, [this] { OnApplyOptimizeSpeed(); }, {}, [this] { return IsOptimizeSpeedOn(); });
  AddCommand(
      cmd::ID_HAND_SCROLL_TO_ORIGIN,
      [this] {
        if (m_pMarkControl != nullptr) m_pMarkControl->SetContextAndGoStart(MarkDocument(), m_pMarkDisplay, this);
      },
      [this] { return m_pMarkControl != nullptr && m_pMarkControl->startPointKnown.load() != 0; });
  AddCommand(cmd::ID_DITHERING_SET, [this] { OnDithering(); });

  // Paper print with every pass that marks with air.
  AddCommand(cmd::ID_SYNC_PAPER_PRINT, [this] { m_paperPrinter = m_paperPrinter != 0 ? 0 : 1; }, {},
             [this] { return m_paperPrinter != 0; });
  AddCommand(cmd::ID_PRINT_LAYOUT_NOW, [this] {
    if (m_pMainFrame == nullptr) return;
    if (platform::MessageTarget* frame = m_pMainFrame->GetFrameTarget()) {
      frame->PostMessage(WM_COMMAND, static_cast<WPARAM>(cmd::ID_FILE_PRINT_DIRECT), 0);
    }
  });
}

bool CVendrikViewModel::OnMarkingKey(int key) {
  if (FilterStopKey(WM_KEYDOWN, static_cast<WPARAM>(key)) != 0) return true;
  constexpr int kEnterKey = 13;
  if (key != kEnterKey) return false;
  RunCommand(cmd::ID_START_MARK, true);
  return true;
}

void CVendrikViewModel::TogglePermitMark() {
  if (!HasLayoutSelection()) return;
  PushHistory();
  {
    std::lock_guard<std::recursive_mutex> lock(m_viewLock);
    // The document's objects (after the parameter record) looked up once,
    // not searched for each selected one.
    std::unordered_set<const CObjElement*> listed;
    if (m_pDocument != nullptr) {
      const CObjPtrArray& objects = m_pDocument->Objects();
      listed.insert(objects.begin() + std::min(1, objects.GetSize()), objects.end());
    }
    for (CObjElement* element : m_selection) {
      if (element != nullptr && listed.contains(element)) element->ToggleMarkEnabled();
    }
    m_hitCode = 255;
  }
  m_bMemValid = false;
  if (m_pWindow != nullptr) m_pWindow->Invalidate();
  SetLayoutModified();
}

void CVendrikViewModel::OnMarkObjectDone(CObjElement* element) {
  // The element may have been deleted while it was marked.
  if (!IsInDocument(element)) return;
  if (m_autoLinkExcel != 0 && element->IsTextType(0) && element->dataSource == 1) {
    ClearBusy(element);  // its text comes from the spreadsheet row
    return;
  }
  if (IsSerialTextSource(*element)) {
    ClearBusy(element);
    return;
  }
  const bool advances = AdvancesAfterMark(*element);
  bool redraw = false;
  switch (element->type) {
    case OBJ_DATE:
      if (advances) element->AdvanceAfterMark();
      redraw = true;
      break;
    case OBJ_SERIAL:
    case OBJ_BARCODE:
      redraw = advances && element->AdvanceAfterMark();
      m_pPropView->ReloadPages(element);
      break;
    case OBJ_VIN:
      element->AdvanceAfterMark();
      m_pPropView->ReloadPages(element);
      redraw = true;
      break;
    default:
      break;
  }
  ClearBusy(element);
  if (redraw) {
    m_bMemValid = false;
    if (m_pWindow != nullptr) m_pWindow->Invalidate();
  }
}

void CVendrikViewModel::OnRs232Text(const std::string& text) {
  if (m_pDocument == nullptr) return;
  CObjPtrArray& objects = m_pDocument->Objects();
  CObjElement* element = nullptr;
  CObjText* object = nullptr;
  // Only a text takes the received text, whatever else carries the source.
  for (int i = 1; i < objects.GetSize() && object == nullptr; ++i) {
    CObjElement* candidate = objects.GetAt(i);
    if (candidate == nullptr || !IsSerialTextSource(*candidate) || !candidate->IsTextType(0)) continue;
    object = candidate->GetObjectAs<CObjText>();
    element = candidate;
  }
  if (object == nullptr) return;
  PushHistory();
  const bool newlySelected = m_selection.size() != 1 || m_selection.front() != element;
  {
    std::lock_guard<std::recursive_mutex> lock(m_viewLock);
    object->SetText(text, object->GetFixedPoint(element->boundRect), true);
    object->RecalcPath();
    element->UpdateBoundRect();
    m_selection.Set({element});
  }
  // Shown already, its pages take the new text; the list and the pages then
  // show the text as selected.
  m_pPropView->RefreshSheet(element, 1);
  m_selection.ShowInPane();
  if (newlySelected) {
    // As a click on its entry: the grid and a following needle go to it.
    UpdateGridFromSelection();
    MoveNeedleToSelection(0, 0);
  }
  m_bMemValid = false;
  if (m_pWindow != nullptr) m_pWindow->Invalidate();
  MarkModified(1);
  if (element->dataSource == 3 && m_pTarget != nullptr) m_pTarget->PostMessage(WM_HARD_START, 0, 0);
}

bool CVendrikViewModel::OnMarkingMessage(const platform::Message& message) {
  switch (message.msg) {
    case WM_MARK_OBJECT_DONE:
      OnMarkObjectDone(reinterpret_cast<CObjElement*>(message.wParam));
      return true;
    case WM_RS232_TEXT:
      // The copy that travels with the message; the sender's string may
      // already hold the next text.
      if (message.payload) OnRs232Text(*std::static_pointer_cast<std::string>(message.payload));
      return true;
    case WM_JOG_REQUEST:
      OnJogRequest(message);
      return true;
    case WM_COM_REQUEST:
      OnMachineReply(message);
      return true;
    case WM_COMMAND:
      return RunCommand(static_cast<int>(message.wParam), true);
    default:
      return false;
  }
}
