// The layout view moving the head: origin corner, pointed and selected work
// positions, the machine origin, the hand-positioning (jog) window, the
// hardware test, the view's one-byte machine commands and the board's
// replies to the view's own requests.
#include <algorithm>
#include <cstring>

#include "app/core/CommandIds.h"
#include "app/core/MachineSetFile.h"
#include "app/views/model/CVendrikViewModel.h"
#include "document/doc/CVendrikDoc.h"
#include "document/geometry/SharedHelpers.h"
#include "document/geometry/SharedState.h"
#include "document/objects/CObjElement.h"
#include "document/params/CDrawProperity.h"
#include "marking/controller/CMarkControlWnd.h"
#include "marking/handtools/JogRequest.h"
#include "marking/link/LinkMessages.h"
#include "marking/link/WireProtocol.h"
#include "platform/Clock.h"
#include "platform/Prompt.h"
#include "properties/link/CProperityView.h"
#include "values/ShellValues.h"

namespace {

constexpr int kMachineByteType = 12;  // the view's one-byte command
constexpr int kPollFromJog = 1000;    // extra of the jog window's poll
constexpr int kPollFromTest = 0;      // extra of the hardware test's poll
constexpr int kNeedleControlBit = 0x80;

bool IsUsbBoard() { return g_softType.load() == SOFT_TYPE_USB; }

// The five fixed steps by the jog window's choice, else the request's own.
double JogStepMm(int index, const JogRequest* request) {
  static constexpr double kSteps[] = {10, 5, 1, 0.5, 0.1};
  if (index >= 0 && index < 5) return kSteps[index];
  return request != nullptr ? request->step : 0.0;
}

// Control bit 7 (the needle output) follows data bit 3 again.
void RestoreNeedleControlBit() {
  if (OutputShadow.load() & OUT_Y_DIR) ControlShadow.fetch_or(kNeedleControlBit);
  else ControlShadow.fetch_and(~kNeedleControlBit);
}

}  // namespace

void CVendrikViewModel::RegisterMachineCommands() {
  AddCommand(cmd::ID_CONFIG_MACHINE_ORIGIN, [this] { OnConfigMachineOrigin(); });
  AddCommand(cmd::ID_POINTED_POSITION, [this] { OnPointedPosition(); });
  AddCommand(cmd::ID_SELECT_POINTED_POSITION, [this] { OnSelectPointedPosition(); }, {},
             [this] { return m_pMarkControl != nullptr && m_pMarkControl->atWorkPosition.load() != 0; });
  AddCommand(cmd::ID_MACHINE_ORIGIN, [this] { OnMachineOrigin(); });
  AddCommand(cmd::ID_ORIGIN_BY_HAND, [this] { OnOriginByHand(); }, {}, [] { return g_jogWindowOpen.load() != 0; });
  AddCommand(cmd::ID_TEST_HARDWARE, [this] { OnTestHardware(); });
}

void CVendrikViewModel::OnDithering() {
  if (m_pMarkDialogs == nullptr) return;
  DitheringValues values{g_machineSet.ditherStableTime, g_machineSet.applyDithering, g_machineSet.ditherRotateFactor};
  if (!m_pMarkDialogs->EditDithering(values)) return;
  g_machineSet.ditherStableTime = values.stableTime;
  g_machineSet.applyDithering = values.applyDithering;
  g_machineSet.ditherRotateFactor = values.rotateFactor;
  SaveMachineSet();
}

void CVendrikViewModel::OnConfigMachineOrigin() {
  if (m_pMarkDialogs == nullptr) return;
  int corner = g_machineSet.originCorner;
  if (!m_pMarkDialogs->EditOriginCorner(corner)) return;
  g_machineSet.originCorner = std::clamp(corner, 0, 3);
  SaveMachineSet();
  m_bMemValid = false;
  if (m_pWindow != nullptr) m_pWindow->Invalidate();
}

void CVendrikViewModel::OnPointedPosition() {
  if (m_pMarkControl != nullptr) m_pMarkControl->EditWorkPosition(MarkDocument());
  m_bMemValid = false;
  if (m_pWindow != nullptr) m_pWindow->Invalidate();
}

void CVendrikViewModel::OnSelectPointedPosition() {
  g_jogWindowOpen = 0;
  ApplyJogWindow();
  if (m_pMarkControl != nullptr) {
    if (m_selection.size() == 1) {
      CDoubleRect bounds;
      GetSelectionBounds(bounds);
      m_pMarkControl->workPosition = CDoublePoint(bounds.left, bounds.CenterY(), 0);
    }
    if (m_pMarkControl->atWorkPosition.load() == 0) {
      // The needle follows the selection.
      m_needleMode = 2;
      m_trackMode = 3;
      m_pMarkControl->GoWorkPosition(MarkDocument(), m_pMarkDisplay, this, 0);
    }
    if (m_pMarkControl->atWorkPosition.load() == 0) m_needleMode = 0;
  }
  m_bMemValid = false;
  if (m_pWindow != nullptr) m_pWindow->Invalidate();
}

void CVendrikViewModel::OnMachineOrigin() {
  if (m_pMarkControl != nullptr) m_pMarkControl->GoWorkPosition(MarkDocument(), m_pMarkDisplay, this, 1);
  m_bMemValid = false;
  if (m_pWindow != nullptr) m_pWindow->Invalidate();
}

void CVendrikViewModel::OnOriginByHand() {
  if (m_pMarkControl != nullptr) m_pMarkControl->SetContext(MarkDocument(), m_pMarkDisplay, this);
  g_jogWindowOpen = g_jogWindowOpen.load() != 0 ? 0 : 1;
  if (m_pMarkControl != nullptr) {
    m_pMarkControl->atWorkPosition = 0;
    if (IsUsbBoard()) m_pMarkControl->EnsureLinkReady();
  }
  ApplyJogWindow();
}

void CVendrikViewModel::ApplyJogWindow() {
  if (m_pMarkDialogs == nullptr) return;
  const bool open = g_jogWindowOpen.load() != 0;
  const bool shown = m_pMarkDialogs->HasJogWindow();
  if (shown && !open) m_pMarkDialogs->EndJog(0);
  else if (!shown && open) m_pMarkDialogs->CreateJogWindow();
}

void CVendrikViewModel::OnJogRequest(const platform::Message& message) {
  const JogRequest* request = JogRequestOf(message);
  platform::Event* event = request != nullptr && request->done ? request->done.get() : nullptr;
  const auto release = [event] {
    if (event != nullptr) event->Set();
  };
  if (MarkStatusWord.load() & MSW_MARKING) {
    release();
    return;
  }
  const int code = request != nullptr ? request->code : static_cast<int>(message.wParam);
  if (code == JOG_CLOSING) {
    g_jogWindowOpen = 0;
    release();
    return;
  }
  const double step = JogStepMm(g_machineSet.jogStepIndex, request);
  CDoublePoint displacement(0, 0, 0);
  switch (code) {
    case JOG_X_PLUS: displacement.x = step; break;
    case JOG_X_MINUS: displacement.x = -step; break;
    case JOG_Y_PLUS: displacement.y = -step; break;
    case JOG_Y_MINUS: displacement.y = step; break;
    default: break;
  }
  // A command whose reply never came does not hold the head for good.
  if (m_pendingCommand != 0 && platform::CurrentClock().NowMicros() - m_pendingSinceMicros >
                                   std::chrono::microseconds(kMachineReplyWait).count()) {
    m_pendingCommand = 0;
  }
  // Otherwise dropped: the jog window's own wait runs out.
  if (m_pendingCommand == 0) JogMove(code, displacement, event);
}

void CVendrikViewModel::JogMove(int code, const CDoublePoint& displacement, platform::Event* event) {
  if (!IsUsbBoard()) {
    // Only the "1/0" button switches the needle; an arrow moves the head
    // with the needle as it is.
    if (code == JOG_TOGGLE) {
      ControlShadow.fetch_xor(kNeedleControlBit);
      WriteCtrlPort(static_cast<BYTE>(ControlShadow.load() & 0xFF));
    }
    if (m_pMarkControl != nullptr) m_pMarkControl->MoveBy(MarkDocument(), m_pMarkDisplay, this, displacement, event);
    if (event != nullptr) event->Set();
    m_pendingCommand = 0;
    return;
  }
  ControlShadow.fetch_xor(kNeedleControlBit);
  if (code == JOG_TOGGLE) {
    auto* view = dynamic_cast<CProperityView*>(GetPropertyView());
    if (view != nullptr && view->GetProtocolVariant() >= 0) {
      view->SendPollCommand(view->GetProtocolVariant() == PROTOCOL_FRAMED ? COM_NEEDLE : COM_STATUS, m_pTarget,
                            WM_COM_REQUEST, kPollFromJog);
    }
    if (event != nullptr) event->Set();
    return;
  }
  if (m_pMarkControl != nullptr) m_pMarkControl->MoveBy(MarkDocument(), m_pMarkDisplay, this, displacement, event);
  if (event != nullptr) event->Set();
  m_pendingCommand = 0;
  RestoreNeedleControlBit();
}

void CVendrikViewModel::SendMachineByte(int type, const BYTE* data, int length) {
  if (MarkStatusWord.load() & MSW_MARKING) return;
  ILinkHost* host = GetPropertyView();
  CComRequest* request = host != nullptr ? host->GetComRequest() : nullptr;
  platform::MessageTarget* target = host != nullptr ? host->GetRequestTarget() : nullptr;
  // Without a link nothing would ever answer.
  if (request == nullptr || target == nullptr) return;
  m_pendingCommand = type;
  m_pendingSinceMicros = platform::CurrentClock().NowMicros();
  length = std::clamp(length, 0, static_cast<int>(sizeof m_commandBuffer));
  std::memmove(m_commandBuffer, data, static_cast<std::size_t>(length));
  if (host->GetProtocolVariant() == PROTOCOL_FRAMED) {
    BYTE frame[kFrameSize];
    length = BuildFrame(frame, m_commandBuffer[0], m_commandBuffer + 1, 30);
    std::memcpy(m_commandBuffer, frame, static_cast<std::size_t>(length));
  }
  request->Prepare(type, m_commandBuffer, length, m_pTarget, WM_COM_REQUEST, 0);
  target->Post(request->MakeSubmitMessage(WM_COM_REQUEST));
}

void CVendrikViewModel::OnMachineReply(const platform::Message& message) {
  const ComReply* reply = ReplyOf(message);
  if (reply == nullptr) return;
  switch (reply->type) {
    case COM_STATUS: {
      const std::vector<BYTE>& bytes = reply->bytes;
      if (bytes.size() < 2 || bytes[0] != 'T' || bytes[1] != 'T') return;
      if (bytes.size() > 6) g_machineInputByte = bytes[6];
      if (reply->extra == kPollFromTest) {
        RunHardwareTest();
      } else if (reply->extra == kPollFromJog) {
        std::memset(m_commandBuffer, 0, sizeof m_commandBuffer);
        const bool needleDiffers = ((ControlShadow.load() >> 7) & 1) != ((OutputShadow.load() >> 2) & 1);
        const BYTE command = needleDiffers ? '7' : '8';
        SendMachineByte(kMachineByteType, &command, 1);
      }
      if (m_pMarkControl != nullptr) m_pMarkControl->pollPending = 0;
      return;
    }
    case kMachineByteType:
      m_pendingCommand = 0;
      return;
    case COM_NEEDLE:
      return;
    default:
      platform::MessageBox("Unknown message");
      return;
  }
}

void CVendrikViewModel::OnTestHardware() {
  if (!IsUsbBoard()) {
    RunHardwareTest();
    return;
  }
  auto* view = dynamic_cast<CProperityView*>(GetPropertyView());
  const int protocol = view != nullptr ? view->GetProtocolVariant() : -1;
  if (protocol == PROTOCOL_PLAIN) {
    view->SendPollCommand(COM_STATUS, m_pTarget, WM_COM_REQUEST, kPollFromTest);
  } else if (protocol == PROTOCOL_FRAMED) {
    RunHardwareTest();
  }
}

void CVendrikViewModel::RunHardwareTest() {
  if (m_pMarkDialogs == nullptr) return;
  const int stepsX = AxisStepCounters[AXIS_X].load();
  const int stepsY = AxisStepCounters[AXIS_Y].load();
  m_pMarkDialogs->RunMotorTest();
  if (m_pMarkControl != nullptr && m_pMarkControl->atWorkPosition.load() != 0) {
    const CObjElement* first = m_pDocument != nullptr ? m_pDocument->Objects().GetAt(0) : nullptr;
    const CDrawProperity* record = first != nullptr ? first->GetObjectAs<CDrawProperity>() : nullptr;
    if (record != nullptr &&
        (stepsX != AxisStepCounters[AXIS_X].load() || stepsY != AxisStepCounters[AXIS_Y].load())) {
      m_pMarkControl->workPosition = m_pMarkControl->GetHeadPosition(*record, 1, 1);
      m_bMemValid = false;
      if (m_pWindow != nullptr) m_pWindow->Invalidate();
    }
  }
  g_headStepsChanged = 0;
}
