#pragma once
// The simulated PCI bus of the motion card tests: a port space (every access
// recorded, time moving on a virtual clock by a fixed cost per access) and the
// configuration space in which the cards show their ids and I/O bases.
// Install it with platform::SetPortSpace and qm318::SetPciConfigSpace.
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "libs/qm318/PciConfigSpace.h"
#include "libs/qm318/sim/SimulatedCard.h"
#include "platform/PortIo.h"

namespace qm318::sim {

class SimulatedMotionBus : public platform::PortSpace, public PciConfigSpace {
 public:
  static constexpr std::uint32_t kCardId = 0x850A10B5;

  // A motion card at the address with its I/O base (register 0x1C gets base | 1).
  SimulatedCard& AddCard(PciFunctionAddress at, std::uint16_t base);
  // Any other function: its id word and base register as given.
  void AddFunction(PciFunctionAddress at, std::uint32_t id, std::uint32_t baseRegister);
  SimulatedCard& Card(int index) { return *cards_[static_cast<std::size_t>(index)].card; }

  // platform::PortSpace
  bool Initialize() override { return allowAccess_; }
  void Shutdown() override {}
  bool Read(WORD port, DWORD& value, BYTE size) override;
  bool Write(WORD port, DWORD value, BYTE size) override;
  void SetAllowAccess(bool allow) { allowAccess_ = allow; }

  // PciConfigSpace
  std::vector<PciFunctionAddress> Functions() override;
  std::uint32_t ReadDword(const PciFunctionAddress& at, int offset) override;

  // Virtual clock.
  void SetAccessCostNs(std::int64_t ns) { accessCostNs_ = ns; }
  void Advance(std::int64_t ns);
  // Runs the clock until every card stands (or the limit passes); true when idle.
  bool RunUntilIdle(std::int64_t limitNs = 600'000'000'000);
  // Called under the bus lock after every access (tests change switches mid-move).
  void SetAccessHook(std::function<void(SimulatedMotionBus&)> hook) { hook_ = std::move(hook); }

  // Record of accesses.
  std::vector<platform::PortAccess> Accesses() const;
  std::vector<platform::PortAccess> Writes() const;
  void ClearAccesses();
  void SetRecording(bool on);
  std::size_t ConfigReads() const { return configReads_; }

 private:
  struct Entry {
    PciFunctionAddress at;
    std::uint32_t id = 0, bar = 0;
    std::unique_ptr<SimulatedCard> card;
  };
  void AdvanceLocked(std::int64_t ns);
  SimulatedCard* CardAt(WORD port);

  mutable std::recursive_mutex mutex_;
  std::vector<Entry> cards_;     // cards, in the order added
  std::vector<Entry> functions_; // every function, cards included (card = null)
  std::vector<platform::PortAccess> accesses_;
  bool recording_ = true;
  bool allowAccess_ = true;
  std::int64_t nowNs_ = 0;
  std::int64_t accessCostNs_ = 1000;
  std::size_t configReads_ = 0;
  std::function<void(SimulatedMotionBus&)> hook_;
};

}  // namespace qm318::sim
