#include "platform_qt/XkbKeyboardLocks.h"

#include <xcb/xcb.h>
// The XKB header names a member "explicit", a C++ keyword.
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit

#include <QGuiApplication>
#include <cstdlib>
#include <cstring>

namespace platform_qt {
namespace {

// Lights are named by the keymap; these are the names every X keymap gives them.
constexpr const char* kCapsName = "Caps Lock";
constexpr const char* kNumName = "Num Lock";
constexpr const char* kScrollName = "Scroll Lock";

xcb_connection_t* QtConnection() {
  auto* app = qGuiApp;
  if (app == nullptr) return nullptr;
  auto* x11 = app->nativeInterface<QNativeInterface::QX11Application>();
  return x11 != nullptr ? x11->connection() : nullptr;
}

bool HasXkb(xcb_connection_t* c) {
  const xcb_query_extension_reply_t* ext = xcb_get_extension_data(c, &xcb_xkb_id);
  if (ext == nullptr || ext->present == 0) return false;
  xcb_xkb_use_extension_reply_t* use =
      xcb_xkb_use_extension_reply(c, xcb_xkb_use_extension(c, XCB_XKB_MAJOR_VERSION, XCB_XKB_MINOR_VERSION), nullptr);
  const bool supported = use != nullptr && use->supported != 0;
  std::free(use);
  return supported;
}

std::optional<bool> LightState(xcb_connection_t* c, xcb_intern_atom_cookie_t nameCookie) {
  xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(c, nameCookie, nullptr);
  const xcb_atom_t name = atom != nullptr ? atom->atom : xcb_atom_t{XCB_ATOM_NONE};
  std::free(atom);
  if (name == XCB_ATOM_NONE) return std::nullopt;
  xcb_xkb_get_named_indicator_reply_t* light = xcb_xkb_get_named_indicator_reply(
      c,
      xcb_xkb_get_named_indicator(c, XCB_XKB_ID_USE_CORE_KBD, XCB_XKB_LED_CLASS_DFLT_XI_CLASS, XCB_XKB_ID_DFLT_XI_ID,
                                  name),
      nullptr);
  std::optional<bool> state;
  if (light != nullptr && light->found != 0) state = light->on != 0;
  std::free(light);
  return state;
}

}  // namespace

platform::LockStates XkbKeyboardLocks::Read() {
  xcb_connection_t* c = QtConnection();
  if (c == nullptr || xcb_connection_has_error(c) != 0 || !HasXkb(c)) return {};
  // The three names are asked for at once (only names that exist: a keymap
  // without the light has no atom of that name).
  auto ask = [c](const char* name) {
    return xcb_intern_atom(c, 1, static_cast<std::uint16_t>(std::strlen(name)), name);
  };
  const xcb_intern_atom_cookie_t caps = ask(kCapsName);
  const xcb_intern_atom_cookie_t num = ask(kNumName);
  const xcb_intern_atom_cookie_t scroll = ask(kScrollName);
  platform::LockStates states;
  states.caps = LightState(c, caps);
  states.num = LightState(c, num);
  states.scroll = LightState(c, scroll);
  return states;
}

}  // namespace platform_qt
