// The 32 general inputs and outputs of a card: outputs 0-15 and inputs 0-15
// on chip 1, 16-31 on chip 2; outputs kept in shadows so single bits change.
#include "libs/qm318/ChipLayer.h"

namespace qm318 {
namespace {

constexpr WORD kOutput = 0x8;
// Input register of each group of eight inputs, relative to the card base.
constexpr WORD kInputRegister[4] = {0x08, 0x0A, 0x18, 0x1A};
// Register bit of input n (0-7) within its group.
constexpr int kInputBit[8] = {14, 15, 0, 1, 2, 6, 7, 8};

}  // namespace

int ChipLayer::InputRegisterBit(std::uint32_t reg, int n) const { return static_cast<int>((reg >> kInputBit[n]) & 1); }

int ChipLayer::read_di(int card, int* out) {
  if (!ValidCard(card)) return 1;
  std::lock_guard lock(lock_);
  const WORD base = static_cast<WORD>(CardBase(card));
  std::uint32_t value = 0;
  for (int group = 0; group < 4; ++group) {
    const std::uint32_t reg = Read16(base + kInputRegister[group]);
    for (int n = 0; n < 8; ++n) value |= static_cast<std::uint32_t>(InputRegisterBit(reg, n)) << (group * 8 + n);
  }
  if (out) *out = static_cast<int>(value);
  return 0;
}

int ChipLayer::write_do(int card, int value) {
  if (!ValidCard(card)) return 1;
  std::lock_guard lock(lock_);
  CardState& state = Card(card);
  const auto bits = static_cast<std::uint32_t>(value);
  state.out1 = bits & 0xFFFF;
  state.out2 = bits >> 16;
  Write16(ChipPort(card, 1, kOutput), state.out1);
  Write16(ChipPort(card, 2, kOutput), state.out2);
  return 0;
}

int ChipLayer::read_bit(int card, int bit) {
  if (!ValidCard(card)) return -1;
  std::lock_guard lock(lock_);
  if (bit < 0 || bit > 31) return -1;
  const std::uint32_t reg = Read16(static_cast<WORD>(CardBase(card)) + kInputRegister[bit / 8]);
  return InputRegisterBit(reg, bit % 8);
}

int ChipLayer::write_bit(int card, int bit, int on) {
  if (!ValidCard(card)) return 1;
  std::lock_guard lock(lock_);
  if (bit < 0 || bit > 31) return 1;
  CardState& state = Card(card);
  const int pair = bit < 16 ? 1 : 2;
  std::uint32_t& shadow = pair == 1 ? state.out1 : state.out2;
  const std::uint32_t mask = 1u << (bit % 16);
  shadow = on ? (shadow | mask) : (shadow & ~mask);
  Write16(ChipPort(card, pair, kOutput), shadow);
  return 0;
}

}  // namespace qm318
