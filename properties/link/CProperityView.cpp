#include "properties/link/CProperityView.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

#include "values/ShellValues.h"
#include "document/geometry/SharedHelpers.h"
#include "document/geometry/SharedState.h"
#include "marking/link/LinkMessages.h"
#include "platform/InstallDir.h"
#include "platform/Prompt.h"

namespace {
CProperityView* g_linkOwner = nullptr;  // UI thread only
}  // namespace

CProperityView* CProperityView::LinkOwner() { return g_linkOwner; }

CProperityView::CProperityView() : CProperityView(Options{}) {}

CProperityView::CProperityView(Options options) : options_(std::move(options)) {
  if (!options_.discovery) options_.discovery = platform::serial::MakeDefaultSerialDiscovery();
  if (!options_.timers) options_.timers = std::make_shared<ThreadTimerHost>();
  control_ = options_.control ? std::move(options_.control)
                              : std::make_unique<SerialCommControl>(options_.discovery);
  link_ = std::make_unique<CComLink>(control_.get());
}

CProperityView::~CProperityView() {
  if (g_linkOwner == this) g_linkOwner = nullptr;
  serialPort_.reset();
  options_.timers->KillTimer(kVersionTimerId);
  link_.reset();
}

int CProperityView::BoardType() const { return options_.boardType ? options_.boardType() : SoftType.load(); }

void CProperityView::PostToSelf(UINT msg) {
  if (self_) self_->Post(request_.MakeSubmitMessage(msg));
}

std::string CProperityView::ComSettingsPath() const {
  const std::string folder = options_.dataFolder.empty() ? platform::DefaultDataFolder() : options_.dataFolder;
  return platform::JoinInstallPath(folder, "COMSET_EX.DAT");
}

void CProperityView::OnInitialUpdate(platform::MessageTarget* layoutView) {
  layoutView_ = layoutView;
  if (g_linkOwner != nullptr && g_linkOwner != this) return;
  g_linkOwner = this;
  if (link_) link_->SetNotifyWindow(layoutView);
  LoadComSettings();
  OpenRs232Port();
  OpenUsbLink();
}

bool CProperityView::HandleMessage(const platform::Message& message) {
  switch (message.msg) {
    case WM_COM_REQUEST: OnComRequest(message); return true;
    case WM_COM_VERSION_REPLY: OnVersionReply(message); return true;
    case WM_TIMER: OnTimer(message.wParam); return true;
    case WM_DESTROY: OnDestroy(); return true;
    case WM_COMM_RXCHAR:
      if (onComRxChar) {
        onComRxChar(message);
      } else {
        OnComRxChar(message);
      }
      CSerialPort::MarkHandled(message);
      return true;
    default: return false;  // 1258 among them: a re-prepared request is dropped
  }
}

bool CProperityView::PreTranslateMessage(const platform::Message& message) { return FilterStopKey(message) != 0; }

void CProperityView::LoadComSettings() {
  comSettings_ = ComSettings{};
  std::FILE* f = std::fopen(ComSettingsPath().c_str(), "rb");
  if (!f) return;
  unsigned char bytes[ComSettings::kFileSize];
  const std::size_t n = std::fread(bytes, 1, sizeof bytes, f);
  std::fclose(f);
  // A short file is not taken half: the defaults stay.
  if (n != sizeof bytes) return;
  for (int i = 0; i < ComSettings::kCount; ++i) {
    const unsigned char* p = bytes + 4 * i;
    comSettings_.values[static_cast<std::size_t>(i)] = static_cast<std::int32_t>(
        static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
        (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24));
  }
}

int CProperityView::OpenRs232Port() {
  if (openRs232Port) {
    openRs232Port();
    return 1;
  }
  const ComSettings& c = comSettings_;
  if (c.Rs232Open() == 0 || c.PortIndex() < 0 || c.PortIndex() > 127) {
    CloseRs232Port();
    return 1;
  }
  const Rs232LineSettings line =
      TranslateRs232Settings(c.BaudIndex(), c.ParityIndex(), c.DataBitIndex(), c.StopBitIndex());
  if (serialPort_) {
    serialPort_->StopMonitoring();
  } else {
    serialPort_ = std::make_unique<CSerialPort>();
  }
  const int number = c.PortIndex() + 1;
  if (serialPort_->InitPort(self_, number, line.baud, line.parity, line.dataBits, line.stopBits,
                            EV_RXCHAR | EV_RXFLAG, 512)) {
    serialPort_->StartMonitoring();
    return 1;
  }
  char text[64];
  std::snprintf(text, sizeof text, "COM%d Open error!", number);
  platform::MessageBox(text);
  return 0;  // the port object stays for the next attempt
}

void CProperityView::CloseRs232Port() {
  if (closeRs232Port) {
    closeRs232Port();
    return;
  }
  if (!serialPort_) return;
  serialPort_->StopMonitoring();
  serialPort_.reset();  // waits for the monitor thread
}

long CProperityView::OnComRxChar(const platform::Message& message) {
  rs232Buffer_.Append(static_cast<unsigned char>(message.wParam & 0xFF));
  if (ExtractRs232Text() && layoutView_) {
    // The string is overwritten by the next text, perhaps before the layout
    // view gets to this one: a copy travels with the message.
    layoutView_->PostMessage(WM_RS232_TEXT, reinterpret_cast<WPARAM>(&rs232Text_), 0,
                             std::make_shared<std::string>(rs232Text_));
  }
  return 0;
}

bool CProperityView::ExtractRs232Text() { return rs232Buffer_.Extract(rs232Text_); }

bool CProperityView::IsLinkOpen() { return link_ && link_->IsOpen(); }

void CProperityView::OpenUsbLink() {
  if (!link_) return;
  if (BoardType() != 1) {
    protocol_ = -1;
    link_->Close();
    return;
  }
  if (!link_->Close()) {
    platform::MessageBox("Change work mode error!");
    return;
  }
  auto ports = options_.discovery->Find();
  if (ports.empty()) {
    platform::MessageBox("Please install usb driver!");
    return;
  }
  std::sort(ports.begin(), ports.end(), [](const auto& a, const auto& b) { return a.number < b.number; });
  int port = 0;
  for (const auto& candidate : ports) {
    if (candidate.number <= 0) continue;
    if (options_.discovery->Probe(candidate.path)) {
      port = candidate.number;
      break;
    }
  }
  if (port == 0) {
    platform::MessageBox("Please insert usb line! Restart software");
    return;
  }
  if (link_->Open(port)) {
    protocol_ = -1;
    ResetComRequest();
    versionTimerArmed_ = true;
    options_.timers->SetTimer(self_, kVersionTimerId, kVersionTimerMs);
  }
}

void CProperityView::OnTimer(WPARAM id) {
  if (id != kVersionTimerId || !versionTimerArmed_) return;
  KillVersionTimer();
  SendPollCommand(COM_VERSION, self_, WM_COM_VERSION_REPLY, 0);
}

void CProperityView::KillVersionTimer() {
  versionTimerArmed_ = false;
  options_.timers->KillTimer(kVersionTimerId);
}

void CProperityView::SendPollCommand(int type, platform::MessageTarget* replyWnd, UINT replyMsg, int extra) {
  std::memset(command_, 0, sizeof command_);
  request_.SetFailureEvent();  // a sender still waiting on the last command gives up
  int length;
  if (type == COM_NEEDLE) {
    const int needleOnLevel = options_.portLevel ? (options_.portLevel() >> 2) & 1 : 0;
    const int needleBit = (OutputShadow.load() & OUT_NEEDLE) ? 1 : 0;
    BYTE data[30] = {};
    length = BuildFrame(command_, needleBit == needleOnLevel ? '8' : '7', data, 30);
  } else {
    length = BuildLetterCommand(command_, 'T');
  }
  request_.Prepare(type, command_, length, replyWnd, replyMsg, extra);
  PostToSelf(WM_COM_REQUEST);
}

void CProperityView::OnCommEvent(const BYTE* data, std::size_t length) {
  if (link_) link_->OnComm(data, length);
}

void CProperityView::OnComRequest(const platform::Message& message) {
  if (!link_) return;
  link_->Submit(RequestOf(message), CommandOf(message));
}

void CProperityView::OnVersionReply(const platform::Message& message) {
  CComRequest* request = RequestOf(message);
  const ComReply* carried = ReplyOf(message);
  if (!request) return;
  if (carried && carried->serial != request->GetSerial()) return;  // late, for an earlier command
  const int type = carried ? carried->type : request->GetType();
  if (type == COM_CLOSE || type == COM_SETUP) return;
  if (type != COM_VERSION) {
    platform::MessageBox("Get usb version error-1");
    return;
  }
  const std::vector<BYTE> reply = carried ? carried->bytes : request->GetReply();
  auto at = [&](std::size_t i) -> int { return i < reply.size() ? reply[i] : 0; };
  if (at(0) == 'T' && at(1) == 'T') {
    protocol_ = PROTOCOL_PLAIN;
    ResetComRequest();
  } else if (at(0) == 'V' && at(1) == '1') {
    protocol_ = PROTOCOL_FRAMED;
    ResetComRequest();
  } else if (at(2) == 'V') {
    protocol_ = PROTOCOL_FRAMED;
  } else {
    platform::MessageBox("Get usb version error-2");
  }
  if (link_) link_->SetProtocol(protocol_.load());
  if (protocol_.load() == PROTOCOL_FRAMED) {
    std::memset(command_, 0, sizeof command_);
    BYTE data[30] = {};
    const int length = BuildFrame(command_, ControlBit0Switch.load() ? ':' : ';', data, 30);
    request_.Prepare(COM_SETUP, command_, length, self_, WM_COM_VERSION_REPLY, 0);
    PostToSelf(WM_COM_REQUEST);
  }
}

void CProperityView::CloseUsbLink() {
  if (protocol_.load() == PROTOCOL_FRAMED) {
    std::memset(command_, 0, sizeof command_);
    request_.SetSuccessEvent();
    request_.SetFailureEvent();
    const int length = BuildLetterCommand(command_, 'C');
    request_.Prepare(COM_CLOSE, command_, length, self_, WM_COM_VERSION_REPLY, 0);
    PostToSelf(WM_COM_REQUEST);
  }
  protocol_ = -1;
}

void CProperityView::ResetComRequest() {
  if (BoardType() != 1) return;
  // The marking worker calls this too: its zero bytes are its own, so the
  // view's command buffer is never written from two threads.
  const BYTE zeros[kLetterCommandSize] = {};
  request_.Prepare(COM_ABORT, zeros, kLetterCommandSize, self_, WM_COM_REQUEST_RESET, 0);
  PostToSelf(WM_COM_REQUEST_RESET);
}

void CProperityView::OnDestroy() {
  CloseRs232Port();
  KillVersionTimer();
  if (protocol_.load() == PROTOCOL_FRAMED) {
    CloseUsbLink();
    // The window goes now and its queue with it: hand the close command to the
    // link directly, so the board hears it before the port closes.
    if (link_ && link_->IsOpen()) {
      link_->Submit(&request_, request_.GetCommand());
      // Bounded only against a link that is stuck: a busy machine may take
      // a while to run the writer.
      link_->WaitSent(std::chrono::seconds(2));
    }
  } else {
    ResetComRequest();
  }
  link_.reset();
  if (g_linkOwner == this) g_linkOwner = nullptr;
}
