#pragma once
// The jog dialog's request to the layout view: WM_JOG_REQUEST with the code in
// wParam and a JogRequest payload. The view moves the head (or handles the
// other codes) and sets the event when it is done; the dialog takes no new
// request until then, or until its wait runs out.
#include <memory>

#include "platform/Event.h"
#include "platform/Messages.h"
#include "platform/WinTypes.h"

constexpr UINT WM_JOG_REQUEST = 1260;

// Request codes.
constexpr int JOG_X_PLUS = 1;
constexpr int JOG_X_MINUS = 2;
constexpr int JOG_Y_PLUS = 3;
constexpr int JOG_Y_MINUS = 4;
constexpr int JOG_CLOSING = 899;  // the dialog is closed by its close command
constexpr int JOG_TOGGLE = 1000;  // the "1/0" button

struct JogRequest {
  int code = 0;
  std::shared_ptr<platform::Event> done;  // set by the view when it has handled the request
  float step = 0.0f;  // mm, used when the step choice is none of the five fixed steps
};

// The request carried by a WM_JOG_REQUEST message, or null for other messages.
inline const JogRequest* JogRequestOf(const platform::Message& message) {
  if (message.msg != WM_JOG_REQUEST || !message.payload) return nullptr;
  return static_cast<const JogRequest*>(message.payload.get());
}
