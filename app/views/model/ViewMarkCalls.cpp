// What the marking controller asks of the view (countdown, pointed position,
// selection) and the core's messages.
#include "app/views/model/CVendrikViewModel.h"
#include "document/geometry/SharedHelpers.h"
#include "document/objects/CObjElement.h"
#include "marking/controller/CMarkControlWnd.h"
#include "marking/link/LinkMessages.h"
#include "platform/NumberText.h"
#include "values/ShellValues.h"

namespace {
constexpr UINT ID_START_MARK = 32822;
// "剩 %d 秒"
constexpr const char* kCountdownFormat = "\xE5\x89\xA9 %d \xE7\xA7\x92";
}  // namespace

std::string CVendrikViewModel::CountdownText() const { return platform::FormatC(kCountdownFormat, m_countdown.load()); }

CDeviceRect CVendrikViewModel::CountdownRect() const {
  const int w = m_pWindow != nullptr ? m_pWindow->ClientWidth() : 0;
  const int h = m_pWindow != nullptr ? m_pWindow->ClientHeight() : 0;
  // The text is about 36 points high and a few characters wide about the centre.
  return {w / 2 - 200, h / 2 - 80, w / 2 + 200, h / 2 + 80};
}

CDeviceRect CVendrikViewModel::PointedRect() const {
  if (m_pMarkControl == nullptr || m_pWindow == nullptr) return {};
  const platform::DcPoint scroll = m_pWindow->GetScrollPosition();
  const platform::DcPoint p = MmToScreen(m_pMarkControl->workPosition.x, m_pMarkControl->workPosition.y,
                                         {m_centreX - scroll.x, m_centreY - scroll.y});
  return {p.x - 8, p.y - 8, p.x + 9, p.y + 9};
}

void CVendrikViewModel::StartCountdown(int seconds) {
  m_countdown = seconds;
  m_bCountdown = 1;
  if (m_pWindow != nullptr) m_pWindow->Invalidate();
}

void CVendrikViewModel::UpdateCountdown(int seconds) {
  m_countdown = seconds;
  if (m_pWindow != nullptr) m_pWindow->InvalidateRect(CountdownRect());
}

void CVendrikViewModel::EndCountdown() {
  m_bCountdown = 0;
  if (m_pWindow != nullptr) m_pWindow->Invalidate();
}

void CVendrikViewModel::RefreshPointed(int flag) {
  if (m_pWindow != nullptr) m_pWindow->InvalidateRect(PointedRect());
  if (flag == 0) return;
  ClearSelection();
  std::lock_guard<std::recursive_mutex> lock(m_viewLock);
  m_toolCode = 0;
  m_dragState = 0;
  m_pointList.RemoveAll();
  m_bMemValid = false;
  if (m_pWindow != nullptr) m_pWindow->Invalidate();
}

bool CVendrikViewModel::EditPointerPosition(double& x, double& y) {
  return m_pWindow != nullptr && m_pWindow->EditPointerPosition(x, y);
}

void CVendrikViewModel::OnApplyOptimizeSpeed() {
  if (m_pMarkControl == nullptr) return;
  m_pMarkControl->nearestOrder = m_pMarkControl->nearestOrder.load() ? 0 : 1;
  // Kept at once: the choice survives a program that does not end cleanly.
  WriteRegDword("OptimizeSpeed", m_pMarkControl->nearestOrder.load());
}

bool CVendrikViewModel::IsOptimizeSpeedOn() const {
  return m_pMarkControl != nullptr && m_pMarkControl->nearestOrder.load() != 0;
}

bool CVendrikViewModel::OnMessage(const platform::Message& message) {
  const bool handled = OnViewMessage(message);
  // Whatever the message rebuilt, a fill it left out is told.
  TellCutFills();
  return handled;
}

bool CVendrikViewModel::OnViewMessage(const platform::Message& message) {
  if (OnMarkingMessage(message)) return true;
  if (OnApplyChangesMessage(message)) return true;
  if (OnSpreadsheetLinkMessage(message) || OnTextPropertyMessage(message)) return true;
  if (OnListMessage(message)) return true;
  switch (message.msg) {
    case WM_HARD_START:
      if (m_pTarget != nullptr) m_pTarget->PostMessage(WM_COMMAND, ID_START_MARK, 0);
      return true;
    default:
      return false;
  }
}
