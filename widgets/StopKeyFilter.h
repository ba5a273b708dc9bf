#pragma once
// The marking stop filter as the widgets see it. The filter itself lives with
// the marking state above this library; the program installs it once (the
// owners of these widgets do so when they are built), and until then no key
// is taken.
#include "platform/WinTypes.h"

namespace widgets {

// Returns nonzero when the key-down message requested a stop and must be dropped.
using StopKeyFilterFn = int (*)(UINT message, WPARAM key);

void InstallStopKeyFilter(StopKeyFilterFn filter);
// True when the installed filter took this key-down (virtual key code).
bool StopKeyTaken(int virtualKey);
// The virtual key code of a Qt key, or 0 for keys the filters do not know.
int VirtualKeyOf(int qtKey);

}  // namespace widgets
