#pragma once
// The property view: the right-hand pane of a layout window. Its link half
// (this folder, headless) owns the communications control, the link and the
// one shared request, reads the serial settings, sets the link up on the USB
// board's adapter, asks the board for its protocol variant and hands requests
// to the link. Its object half (properties/view) holds the object list and
// the property sheet, relays their messages to the layout view and offers the
// layout view the calls that add, remove, find and show objects. It receives
// platform messages through HandleMessage and RelayMessage; the window that
// hosts it posts to `self` (SetSelfTarget).
#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "marking/link/CComLink.h"
#include "marking/link/CComRequest.h"
#include "marking/link/CommControl.h"
#include "marking/link/ILinkHost.h"
#include "marking/link/WireProtocol.h"
#include "marking/textport/CSerialPort.h"
#include "marking/textport/Rs232Text.h"
#include "platform/Messages.h"
#include "platform/serial/SerialDiscovery.h"
#include "properties/link/TimerHost.h"

// The 52-byte "COMSET_EX.DAT": thirteen little-endian 32-bit ints.
struct ComSettings {
  static constexpr int kCount = 13;
  static constexpr int kFileSize = 52;
  std::array<std::int32_t, kCount> values{0, 0, 3, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  int PortIndex() const { return values[0]; }
  int ParityIndex() const { return values[1]; }
  int BaudIndex() const { return values[2]; }
  int StopBitIndex() const { return values[3]; }
  int DataBitIndex() const { return values[4]; }
  int Rs232Open() const { return values[5]; }
};

class CDoublePoint;
class CObjElement;
class CObjPtrArray;
class CObjProperitySheet;
class CObjectListBox;
class QWidget;

// Where the list and the sheet lie in a pane of cx by cy pixels.
struct PaneLayout {
  int listX, listY, listWidth, listHeight;
  int sheetX, sheetY, sheetWidth, sheetHeight;
};

class CProperityView : public ILinkHost {
 public:
  static constexpr WPARAM kVersionTimerId = 1190;
  static constexpr unsigned kVersionTimerMs = 200;

  struct Options {
    std::shared_ptr<platform::serial::SerialDiscovery> discovery;  // default: configured device or sysfs
    std::unique_ptr<CommControl> control;                         // default: serial control over the discovery
    std::shared_ptr<ITimerHost> timers;                           // default: a thread timer host
    std::function<int()> boardType;                               // default: the shell's SoftType
    std::function<int()> portLevel;  // port level byte (bit 2 needle-on level); default 0
    std::string dataFolder;          // default: platform::DefaultDataFolder()
  };

  CProperityView();
  explicit CProperityView(Options options);
  ~CProperityView() override;
  CProperityView(const CProperityView&) = delete;
  CProperityView& operator=(const CProperityView&) = delete;

  // Where this view's own messages go (the host window's queue).
  void SetSelfTarget(platform::MessageTarget* self) { self_ = self; }
  platform::MessageTarget* GetSelfTarget() const { return self_; }

  // Start order of the view: notify window, settings, text port, USB link.
  // The program has one board and one text port: only the first view to
  // start opens them, and holds them until it is destroyed; the views of
  // later layout windows bind their layout view only.
  void OnInitialUpdate(platform::MessageTarget* layoutView);
  // The view that holds the program's link, or null.
  static CProperityView* LinkOwner();
  // Dispatches the view's messages; false when the message is not one of them.
  bool HandleMessage(const platform::Message& message);
  // The stop-key filter comes first; true when it took the message.
  bool PreTranslateMessage(const platform::Message& message);

  void LoadComSettings();
  // 1 when the text port was opened or did not have to be, 0 after an
  // opening error ("COM%d Open error!" shown).
  int OpenRs232Port();
  void CloseRs232Port();
  // WM_COMM_RXCHAR: one received byte of the text port.
  long OnComRxChar(const platform::Message& message);
  bool ExtractRs232Text();
  void OpenUsbLink();
  void CloseUsbLink();
  void SendPollCommand(int type, platform::MessageTarget* replyWnd, UINT replyMsg, int extra);
  void OnComRequest(const platform::Message& message);
  void OnTimer(WPARAM id);
  void OnVersionReply(const platform::Message& message);
  void OnDestroy();
  // The communications control's comm event, when the host delivers it.
  void OnCommEvent(const BYTE* data, std::size_t length);

  // ILinkHost
  bool IsLinkOpen() override;
  CComRequest* GetComRequest() override { return &request_; }
  platform::MessageTarget* GetRequestTarget() override { return self_; }
  int GetProtocolVariant() override { return protocol_.load(); }
  void ResetComRequest() override;

  // The object half. OnCreate builds the list and the sheet as children of
  // the host window (which owns them as widgets).
  bool OnCreate(QWidget* host);
  // The list and the sheet for a pane of cx by cy; false when either is 0 or less.
  static bool ComputeLayout(int cx, int cy, PaneLayout& layout);
  // Places them so; the sheet is never shorter than its pages need (the
  // pane scrolls to what lies below its bottom).
  void OnSize(int cx, int cy);
  // The list's and the sheet's messages; false when the message is not one of them.
  bool RelayMessage(const platform::Message& message);

  // Calls of the layout view (UI thread).
  int AddObject(CObjElement* object, int notify);
  void SelectListIndex(int index);
  void ShowObject(CObjElement* object);
  void SetObjectName(const std::string& name);
  bool HitTest(const CDoublePoint& point, CObjElement*& object, int& index);
  void SelectObject(CObjElement* object, int index);
  void RefreshSheet(CObjElement* object, int selectionCount);
  void ReloadPages(CObjElement* object);
  int FillObjectList(const CObjPtrArray& objects);
  void RemoveObject(CObjElement* object);
  void RemoveObjects(const std::vector<CObjElement*>& objects);
  // Appends the object's entry without selecting it or showing its pages: a
  // command that adds several objects selects them when it is done.
  void ListObject(CObjElement* object);
  // The layout view's selection, shown: the list selects exactly these
  // objects' entries (none: the work area's) and the pages follow. They stay
  // on the object they show while it is among them; else they show the last
  // listed one, or the work area when none is listed. The layout view is not
  // told: the selection is its own.
  void ShowSelection(const std::vector<CObjElement*>& objects);

  CObjectListBox* GetObjectList() const { return list_; }
  CObjProperitySheet* GetSheet() const { return sheet_; }

  CComLink* GetLink() { return link_.get(); }
  const ComSettings& GetComSettings() const { return comSettings_; }
  platform::MessageTarget* GetLayoutView() const { return layoutView_; }
  std::string ComSettingsPath() const;

  CSerialPort* GetSerialPort() const { return serialPort_.get(); }
  const std::string& GetRs232Text() const { return rs232Text_; }

  // When set, these replace the text port's own start, stop and byte handling
  // (a host that runs the port elsewhere, or a test).
  std::function<void()> openRs232Port;
  std::function<void()> closeRs232Port;
  std::function<void(const platform::Message&)> onComRxChar;

 private:
  int BoardType() const;
  void PostToSelf(UINT msg);
  void KillVersionTimer();

  Options options_;
  std::unique_ptr<CommControl> control_;
  std::unique_ptr<CComLink> link_;
  CComRequest request_;
  platform::MessageTarget* layoutView_ = nullptr;
  platform::MessageTarget* self_ = nullptr;
  std::atomic<int> protocol_{-1};
  // The version timer is running. A killed timer's WM_TIMER may still be
  // queued (the timer host posts and forgets): it must not ask again.
  bool versionTimerArmed_ = false;
  BYTE command_[kCommandBufferSize] = {};
  ComSettings comSettings_;
  std::string rs232Text_;
  Rs232TextBuffer rs232Buffer_;
  // Children of the host window, which deletes them; null before OnCreate.
  CObjectListBox* list_ = nullptr;
  CObjProperitySheet* sheet_ = nullptr;
  int PostListSelected(CObjElement* object);
  bool IsListed(CObjElement* object) const;
  // Last member: its monitor thread stops before anything it sends to is gone.
  std::unique_ptr<CSerialPort> serialPort_;
};
