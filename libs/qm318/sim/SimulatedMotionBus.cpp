#include "libs/qm318/sim/SimulatedMotionBus.h"

#include <algorithm>

namespace qm318::sim {

SimulatedCard& SimulatedMotionBus::AddCard(PciFunctionAddress at, std::uint16_t base) {
  std::lock_guard lock(mutex_);
  Entry e;
  e.at = at;
  e.id = kCardId;
  e.bar = base | 1u;
  e.card = std::make_unique<SimulatedCard>(base);
  cards_.push_back(std::move(e));
  functions_.push_back(Entry{at, kCardId, base | 1u, nullptr});
  return *cards_.back().card;
}

void SimulatedMotionBus::AddFunction(PciFunctionAddress at, std::uint32_t id, std::uint32_t baseRegister) {
  std::lock_guard lock(mutex_);
  functions_.push_back(Entry{at, id, baseRegister, nullptr});
}

std::vector<PciFunctionAddress> SimulatedMotionBus::Functions() {
  std::lock_guard lock(mutex_);
  std::vector<PciFunctionAddress> out;
  for (const Entry& e : functions_) out.push_back(e.at);
  std::sort(out.begin(), out.end());
  out.erase(std::unique(out.begin(), out.end()), out.end());
  return out;
}

std::uint32_t SimulatedMotionBus::ReadDword(const PciFunctionAddress& at, int offset) {
  std::lock_guard lock(mutex_);
  ++configReads_;
  for (const Entry& e : functions_) {
    if (e.at != at) continue;
    if (offset == 0) return e.id;
    if (offset == 0x1C) return e.bar;
    return 0;
  }
  return 0xFFFFFFFFu;
}

SimulatedCard* SimulatedMotionBus::CardAt(WORD port) {
  for (Entry& e : cards_)
    if (e.card->Owns(port)) return e.card.get();
  return nullptr;
}

void SimulatedMotionBus::AdvanceLocked(std::int64_t ns) {
  nowNs_ += ns;
  for (Entry& e : cards_) e.card->AdvanceTo(nowNs_);
}

bool SimulatedMotionBus::Read(WORD port, DWORD& value, BYTE size) {
  if (size != 1 && size != 2 && size != 4) return false;
  std::lock_guard lock(mutex_);
  AdvanceLocked(accessCostNs_);
  SimulatedCard* card = CardAt(port);
  value = card ? card->Read(port) : 0xFFFFFFFFu;
  if (size == 1) value &= 0xFF;
  if (size == 2) value &= 0xFFFF;
  if (recording_) accesses_.push_back({false, port, value, size, nowNs_ / 1000});
  if (hook_) hook_(*this);
  return true;
}

bool SimulatedMotionBus::Write(WORD port, DWORD value, BYTE size) {
  if (size != 1 && size != 2 && size != 4) return false;
  std::lock_guard lock(mutex_);
  AdvanceLocked(accessCostNs_);
  if (size == 1) value &= 0xFF;
  if (size == 2) value &= 0xFFFF;
  if (SimulatedCard* card = CardAt(port)) card->Write(port, static_cast<std::uint16_t>(value), nowNs_);
  if (recording_) accesses_.push_back({true, port, value, size, nowNs_ / 1000});
  if (hook_) hook_(*this);
  return true;
}

void SimulatedMotionBus::Advance(std::int64_t ns) {
  std::lock_guard lock(mutex_);
  AdvanceLocked(ns);
}

bool SimulatedMotionBus::RunUntilIdle(std::int64_t limitNs) {
  std::lock_guard lock(mutex_);
  const std::int64_t end = nowNs_ + limitNs;
  auto idle = [this] {
    return std::all_of(cards_.begin(), cards_.end(), [](const Entry& e) { return e.card->Idle(); });
  };
  while (!idle() && nowNs_ < end) AdvanceLocked(1'000'000);
  return idle();
}

std::vector<platform::PortAccess> SimulatedMotionBus::Accesses() const {
  std::lock_guard lock(mutex_);
  return accesses_;
}

std::vector<platform::PortAccess> SimulatedMotionBus::Writes() const {
  std::lock_guard lock(mutex_);
  std::vector<platform::PortAccess> out;
  for (const auto& a : accesses_)
    if (a.write) out.push_back(a);
  return out;
}

void SimulatedMotionBus::ClearAccesses() {
  std::lock_guard lock(mutex_);
  accesses_.clear();
}

void SimulatedMotionBus::SetRecording(bool on) {
  std::lock_guard lock(mutex_);
  recording_ = on;
}

}  // namespace qm318::sim
