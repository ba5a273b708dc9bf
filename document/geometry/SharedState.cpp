#include "document/geometry/SharedState.h"

std::atomic<std::uint32_t> MarkStatusWord{0};
std::atomic<int> OutputShadow{0};
std::atomic<int> ControlShadow{0};
std::atomic<int> PulseLevels{0};
std::atomic<std::uint8_t> ControlBit0Switch{0};
std::atomic<std::int32_t> AxisStepCounters[3] = {0, 0, 0};
std::atomic<int> g_headStepsChanged{0};

std::atomic<WORD> OutPortAddress{0};
std::atomic<WORD> InPortAddress{0};
std::atomic<WORD> CtrlPortAddress{0};

void SetPortAddresses(WORD base) {
  OutPortAddress = base;
  InPortAddress = static_cast<WORD>(base + 1);
  CtrlPortAddress = static_cast<WORD>(base + 2);
}
