#include "libs/ch365bus/Ch365Bus.h"

#include "libs/ch365bus/SysfsPciBus.h"
#include "platform/ReplaceableInstance.h"

namespace ch365 {
namespace {

// Holds the shared pointer itself, so callers keep the bus they started with.
struct BusSlot {
  std::shared_ptr<Ch365Bus> bus;
};

platform::ReplaceableInstance<BusSlot> g_bus;

BusSlot& Slot() {
  return g_bus.Get([] { return std::make_shared<BusSlot>(BusSlot{std::make_shared<SysfsPciBus>()}); });
}

}  // namespace

std::shared_ptr<Ch365Bus> CurrentBus() { return Slot().bus; }

void SetBus(std::shared_ptr<Ch365Bus> bus) { g_bus.Set(std::make_shared<BusSlot>(BusSlot{std::move(bus)})); }

}  // namespace ch365
