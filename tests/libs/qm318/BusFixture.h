#pragma once
// A simulated PCI bus with one motion card at I/O base 0xE000, installed as
// the port and configuration space of the library under test.
#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "libs/qm318/PciConfigSpace.h"
#include "libs/qm318/sim/SimulatedMotionBus.h"

namespace qm318::test {

constexpr WORD kBase = 0xE000;
using PortWrite = std::pair<WORD, DWORD>;

class BusFixture : public ::testing::Test {
 protected:
  void SetUp() override { Install(); }

  void Install() {
    bus = std::make_shared<sim::SimulatedMotionBus>();
    platform::SetPortSpace(bus);
    SetPciConfigSpace(bus);
  }
  sim::SimulatedCard& AddCard(PciFunctionAddress at = {1, 4, 0}, WORD base = kBase) { return bus->AddCard(at, base); }

  std::vector<PortWrite> Writes() const {
    std::vector<PortWrite> out;
    for (const auto& a : bus->Writes()) out.emplace_back(a.port, a.value);
    return out;
  }
  std::vector<PortWrite> WritesTo(WORD port) const {
    std::vector<PortWrite> out;
    for (const auto& w : Writes())
      if (w.first == port) out.push_back(w);
    return out;
  }
  std::size_t CountWrites(WORD port, DWORD value) const {
    std::size_t n = 0;
    for (const auto& w : Writes()) n += w.first == port && w.second == value;
    return n;
  }

  std::shared_ptr<sim::SimulatedMotionBus> bus;
};

}  // namespace qm318::test
