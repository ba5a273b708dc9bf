#pragma once
// Port access for the motion card libraries. Where the card's own system
// installed a port driver, here the platform port layer stands in: opening
// gains the process's port permissions on the configured backend (real ports
// need the privilege for ioperm/iopl; the simulated backend always opens).
#include "platform/PortIo.h"

namespace qm318 {

// 0 when port access is available, -1 when the backend refuses it.
int open_port_driver();

// The primitives behind the exported GetPortVal and SetPortVal: size 1 is a
// byte, 2 a word, any other value a double word. Always true.
bool PortValRead(WORD port, DWORD* value, BYTE size);
bool PortValWrite(WORD port, DWORD value, BYTE size);

}  // namespace qm318
