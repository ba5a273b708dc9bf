#pragma once
// Message numbers of the machine link.
#include "platform/WinTypes.h"

constexpr UINT WM_HARD_START = 1124;          // the machine's start key (hand-key report)
constexpr UINT WM_COM_REQUEST = 1257;         // a request to send; also the controller's reply message
constexpr UINT WM_COM_REQUEST_RESET = 1258;   // a re-prepared request nobody handles
constexpr UINT WM_COM_VERSION_REPLY = 1261;   // replies of the link set-up commands
constexpr UINT WM_COMM_RXCHAR = 0x407;        // a byte from the text port
