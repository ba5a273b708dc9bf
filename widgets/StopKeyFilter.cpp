#include "widgets/StopKeyFilter.h"

#include <Qt>
#include <atomic>

namespace widgets {
namespace {
std::atomic<StopKeyFilterFn> installed{nullptr};
}

void InstallStopKeyFilter(StopKeyFilterFn filter) { installed.store(filter); }

bool StopKeyTaken(int virtualKey) {
  StopKeyFilterFn filter = installed.load();
  return virtualKey != 0 && filter != nullptr && filter(WM_KEYDOWN, static_cast<WPARAM>(virtualKey)) != 0;
}

int VirtualKeyOf(int qtKey) {
  switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Space: return 32;
    case Qt::Key_Up: return 38;
    case Qt::Key_Down: return 40;
    default: return 0;
  }
}

}  // namespace widgets
