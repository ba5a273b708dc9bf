#include "libs/qm318/ChipLayer.h"

#include "libs/qm318/PciConfigSpace.h"
#include "libs/qm318/PortDriver.h"

namespace qm318 {
namespace {

constexpr std::uint32_t kCardId = 0x850A10B5;  // device 0x850A, vendor 0x10B5
constexpr int kBaseRegister = 0x1C;
constexpr WORD kCommand = 0x0, kRegister1 = 0x2, kRegister2 = 0x4, kRegister3 = 0x6;
constexpr WORD kDataLow = 0xC, kDataHigh = 0xE;
constexpr WORD kChipReset = 0x8000;
constexpr WORD kSelect = 0x0F;
constexpr std::uint32_t kStartMode1 = 0x0040, kStartMode2 = 0x0040, kStartMode3 = 0x0020;

}  // namespace

WORD ChipLayer::ChipPort(int card, int pair, int offset) const {
  const std::uint32_t base = bases_[static_cast<std::size_t>(card)];
  return static_cast<WORD>(base + (pair == 2 ? 0x10 : 0) + offset);
}

void ChipLayer::Write16(WORD port, std::uint32_t value) { ports_.load()->Write(port, value & 0xFFFF, 2); }

std::uint32_t ChipLayer::Read16(WORD port) {
  DWORD v = 0;
  ports_.load()->Read(port, v, 2);
  return v & 0xFFFF;
}

int ChipLayer::qm318_initial() {
  const int driver = open_port_driver();
  if (driver < 0) return driver;
  platform::PortSpace& ports = platform::CurrentPortSpace();

  std::array<std::uint32_t, kMaxCards> found{};
  int count = 0;
  PciConfigSpace& config = PciConfigSpaceFor(ports);
  PciFunctionAddress counted{-1, -1, -1};
  for (const PciFunctionAddress& at : config.Functions()) {
    // The first function of a device that qualifies numbers the card.
    if (at.bus == counted.bus && at.device == counted.device) continue;
    const std::uint32_t id = config.ReadDword(at, 0);
    if (id == 0xFFFFFFFFu || id != kCardId) continue;
    const std::uint32_t bar = config.ReadDword(at, kBaseRegister);
    if ((bar & 1) == 0) continue;
    const std::uint32_t base = bar & ~3u;
    if (base == 0) return -2;
    // The tables hold kMaxCards cards; further boards get no number.
    if (count == kMaxCards) break;
    found[static_cast<std::size_t>(count++)] = base;
    counted = at;
  }

  std::lock_guard lock(lock_);
  ports_ = &ports;
  bases_ = found;
  for (int card = 0; card < count; ++card) {
    const WORD base = static_cast<WORD>(found[static_cast<std::size_t>(card)]);
    Write16(base + kCommand, kChipReset);
    Write16(base + 0x10 + kCommand, kChipReset);
    CardState& state = Card(card);
    state.out1 = state.out2 = 0;
    state.axis3Borrowed = state.axis4Borrowed = false;
    for (int pass = 0; pass < 2; ++pass) {
      for (WORD chip : {WORD(0), WORD(0x10)}) {
        Write16(base + chip + kCommand, 0x0300 + kSelect);
        Write16(base + chip + kRegister1, kStartMode1);
        Write16(base + chip + kRegister2, kStartMode2);
        Write16(base + chip + kRegister3, kStartMode3);
      }
    }
    for (AxisShadow& axis : state.axes) {
      axis.mode1 = kStartMode1;
      axis.mode2 = kStartMode2;
      axis.mode3 = kStartMode3;
    }
  }
  cardCount_ = count;
  return count;
}

// --- access patterns -------------------------------------------------------

std::uint32_t& ChipLayer::ModeRef(int card, int axis, ModeReg reg) {
  AxisShadow& a = Axis(card, axis);
  return reg == kMode1 ? a.mode1 : reg == kMode2 ? a.mode2 : a.mode3;
}

void ChipLayer::ModeWrite(int card, int axis, ModeReg reg) {
  const int pair = PairOf(axis);
  Write16(ChipPort(card, pair, kCommand), AxisBit(axis) + kSelect);
  Write16(ChipPort(card, pair, reg * 2), ModeRef(card, axis, reg));
}

void ChipLayer::ParamWrite(int card, int pair, WORD command, std::int32_t value, bool wide) {
  const auto bits = static_cast<std::uint32_t>(value);
  Write16(ChipPort(card, pair, kDataLow), bits & 0xFFFF);
  if (wide) Write16(ChipPort(card, pair, kDataHigh), bits >> 16);
  Write16(ChipPort(card, pair, kCommand), command);
}

std::int32_t ChipLayer::ReadPosition(int card, int axis, WORD code) {
  const int pair = PairOf(axis);
  Write16(ChipPort(card, pair, kCommand), AxisBit(axis) + code);
  const std::uint32_t h1 = Read16(ChipPort(card, pair, kDataHigh));
  std::uint32_t low = Read16(ChipPort(card, pair, kDataLow));
  const std::uint32_t h2 = Read16(ChipPort(card, pair, kDataHigh));
  // A carry between the two halves shows as differing high words: read the
  // low word again so it belongs to the second high word.
  if (h1 != h2) low = Read16(ChipPort(card, pair, kDataLow));
  return static_cast<std::int32_t>((h2 << 16) | low);
}

// --- mode setters ----------------------------------------------------------

int ChipLayer::UpdateMode(int card, int axis, ModeReg reg, const BitChange& change) {
  if (!ValidCard(card) || !ValidAxis(axis)) return 1;
  std::lock_guard lock(lock_);
  std::uint32_t& shadow = ModeRef(card, axis, reg);
  shadow = (shadow & ~change.clear) | change.set;
  ModeWrite(card, axis, reg);
  return 0;
}

int ChipLayer::set_stop0_mode(int card, int axis, int enable, int level) {
  return UpdateMode(card, axis, kMode1, BitChange().Flag(enable, 0x0002).Flag(level, 0x0001));
}
int ChipLayer::set_stop1_mode(int card, int axis, int enable, int level) {
  return UpdateMode(card, axis, kMode1, BitChange().Flag(enable, 0x0008).Flag(level, 0x0004));
}
int ChipLayer::set_stop2_mode(int card, int axis, int enable, int level) {
  return UpdateMode(card, axis, kMode1, BitChange().Flag(enable, 0x0020).Flag(level, 0x0010));
}

int ChipLayer::set_actualcount_mode(int card, int axis, int a, int b, int kind) {
  if (!ValidCard(card) || !ValidAxis(axis)) return 1;
  std::lock_guard lock(lock_);
  AxisShadow& s = Axis(card, axis);
  s.mode2 = a ? (s.mode2 | 0x0200) : (s.mode2 & ~0x0200u);
  s.mode1 = b ? (s.mode1 | 0x0080) : (s.mode1 & ~0x0080u);
  if (kind == 0) s.mode2 &= ~0x0C00u;
  else if (kind == 1) s.mode2 = (s.mode2 & ~0x0C00u) | 0x0400;
  else if (kind == 2) s.mode2 = (s.mode2 & ~0x0C00u) | 0x0800;
  const int pair = PairOf(axis);
  Write16(ChipPort(card, pair, kCommand), AxisBit(axis) + kSelect);
  Write16(ChipPort(card, pair, kRegister1), s.mode1);
  Write16(ChipPort(card, pair, kRegister2), s.mode2);
  return 0;
}

int ChipLayer::set_pulse_mode(int card, int axis, int a, int b, int c) {
  return UpdateMode(card, axis, kMode2, BitChange().Flag(a, 0x0040).Flag(b, 0x0080).Flag(c, 0x0100));
}
int ChipLayer::set_limit_mode(int card, int axis, int a, int b) {
  return UpdateMode(card, axis, kMode2, BitChange().Flag(a, 0x0004).Flag(b, 0x0018));
}
int ChipLayer::set_softlimit_mode1(int card, int axis, int on) {
  return UpdateMode(card, axis, kMode2, BitChange().Flag(on, 0x0001));
}
int ChipLayer::set_softlimit_mode2(int card, int axis, int on) {
  return UpdateMode(card, axis, kMode2, BitChange().Flag(on, 0x0002));
}
int ChipLayer::set_softlimit_mode3(int card, int axis, int on) {
  return UpdateMode(card, axis, kMode2, BitChange().Flag(on, 0x0020));
}
int ChipLayer::set_inpos_mode(int card, int axis, int enable, int level) {
  return UpdateMode(card, axis, kMode2, BitChange().Flag(enable, 0x8000).Flag(level, 0x4000));
}
int ChipLayer::set_alarm_mode(int card, int axis, int enable, int level) {
  return UpdateMode(card, axis, kMode2, BitChange().Flag(enable, 0x2000).Flag(level, 0x1000));
}
int ChipLayer::set_ad_mode(int card, int axis, int on) {
  return UpdateMode(card, axis, kMode3, BitChange().Flag(on, 0x0004));
}
int ChipLayer::set_dec1_mode(int card, int axis, int on) {
  return UpdateMode(card, axis, kMode3, BitChange().Flag(on, 0x0002));
}
int ChipLayer::set_dec2_mode(int card, int axis, int on) {
  return UpdateMode(card, axis, kMode3, BitChange().Flag(on, 0x0001));
}
int ChipLayer::set_circle_mode(int card, int axis, int on) {
  return UpdateMode(card, axis, kMode3, BitChange().Flag(on, 0x0040));
}

int ChipLayer::set_input_filter(int card, int axis, int kind, int on) {
  if (!ValidCard(card) || !ValidAxis(axis)) return 1;
  std::uint32_t bit = 0;
  switch (kind) {
    case 1: bit = 0x0100; break;
    case 2: bit = 0x0200; break;
    case 3: bit = 0x0400; break;
    case 4: bit = 0x1000; break;  // bit 11 belongs to the filter time's neighbour
    default: return 1;
  }
  return UpdateMode(card, axis, kMode3, BitChange().Flag(on, bit));
}

int ChipLayer::set_filter_time(int card, int axis, int time) {
  if (!ValidCard(card) || !ValidAxis(axis)) return 1;
  if (time < 1 || time > 8) return 1;
  return UpdateMode(card, axis, kMode3, BitChange{static_cast<std::uint32_t>(time - 1) << 13, 0xE000});
}

// --- status ----------------------------------------------------------------

int ChipLayer::get_status(int card, int axis, int* out) {
  if (!ValidCard(card) || !ValidAxis(axis)) return 1;
  std::lock_guard lock(lock_);
  const int pair = PairOf(axis);
  const std::uint32_t rr0 = Read16(ChipPort(card, pair, kCommand));
  const std::uint32_t drivingBit = axis % 2 == 1 ? 0x1 : 0x2;
  int value = 0;
  if (rr0 & drivingBit) {
    Write16(ChipPort(card, pair, kCommand), AxisBit(axis) + kSelect);
    value = static_cast<int>(Read16(ChipPort(card, pair, kRegister1)) & 0xFF);
  }
  if (out) *out = value;
  return 0;
}

int ChipLayer::get_stopdata(int card, int axis, int* out) {
  if (!ValidCard(card) || !ValidAxis(axis)) return 1;
  std::lock_guard lock(lock_);
  const int pair = PairOf(axis);
  Write16(ChipPort(card, pair, kCommand), AxisBit(axis) + kSelect);
  const std::uint32_t s1 = Read16(ChipPort(card, pair, kRegister1));
  const std::uint32_t s2 = Read16(ChipPort(card, pair, kRegister2));
  const std::uint32_t value = ((s1 >> 8) & 0x7) | (((s1 >> 12) & 0x7) << 3) | ((s2 & 0x3) << 6);
  if (out) *out = static_cast<int>(value);
  return 0;
}

int ChipLayer::InterpolationStatusBit(int card, int pair, int bit, int* out) {
  if (!ValidCard(card) || !ValidPair(pair)) return 1;
  std::lock_guard lock(lock_);
  const std::uint32_t rr0 = Read16(ChipPort(card, pair, kCommand));
  if (out) *out = static_cast<int>((rr0 >> bit) & 1);
  return 0;
}

int ChipLayer::get_inp_status(int card, int pair, int* out) { return InterpolationStatusBit(card, pair, 8, out); }
int ChipLayer::get_inp_status2(int card, int pair, int* out) { return InterpolationStatusBit(card, pair, 9, out); }

// --- parameters and counters ----------------------------------------------

int ChipLayer::ClampedParam(int card, int axis, int value, int lo, int hi, WORD code, int AxisShadow::*shadow) {
  if (!ValidCard(card) || !ValidAxis(axis)) return 1;
  const int v = value < lo ? lo : value > hi ? hi : value;
  std::lock_guard lock(lock_);
  if (shadow) Axis(card, axis).*shadow = v;
  ParamWrite(card, PairOf(axis), AxisBit(axis) + code, v, code == 0x00);
  return 0;
}

int ChipLayer::set_range(int card, int axis, int value) {
  return ClampedParam(card, axis, value, 16000, 8000000, 0x00, &AxisShadow::range);
}
int ChipLayer::set_acac(int card, int axis, int value) { return ClampedParam(card, axis, value, 1, 65535, 0x01, nullptr); }
int ChipLayer::set_acc(int card, int axis, int value) { return ClampedParam(card, axis, value, 1, 8000, 0x02, &AxisShadow::acc); }
int ChipLayer::set_dec(int card, int axis, int value) { return ClampedParam(card, axis, value, 1, 8000, 0x03, nullptr); }
int ChipLayer::set_startv(int card, int axis, int value) {
  return ClampedParam(card, axis, value, 1, 8000, 0x04, &AxisShadow::startv);
}
int ChipLayer::set_speed(int card, int axis, int value) {
  return ClampedParam(card, axis, value, 1, 8000, 0x05, &AxisShadow::speed);
}

int ChipLayer::SignedParam(int card, int axis, int value, WORD code) {
  if (!ValidCard(card) || !ValidAxis(axis)) return 1;
  std::lock_guard lock(lock_);
  ParamWrite(card, PairOf(axis), AxisBit(axis) + code, value, true);
  return 0;
}

int ChipLayer::set_command_pos(int card, int axis, int value) { return SignedParam(card, axis, value, 0x09); }
int ChipLayer::set_actual_pos(int card, int axis, int value) { return SignedParam(card, axis, value, 0x0A); }
int ChipLayer::set_comp1(int card, int axis, int value) { return SignedParam(card, axis, value, 0x0B); }
int ChipLayer::set_comp2(int card, int axis, int value) { return SignedParam(card, axis, value, 0x0C); }
int ChipLayer::set_dec_pos(int card, int axis, int value) {
  if (value < 0) return 1;
  return SignedParam(card, axis, value, 0x07);
}

int ChipLayer::ReadCounter(int card, int axis, WORD code, int* out) {
  if (!ValidCard(card) || !ValidAxis(axis)) return 1;
  std::lock_guard lock(lock_);
  const std::int32_t v = ReadPosition(card, axis, code);
  if (out) *out = v;
  return 0;
}

int ChipLayer::get_command_pos(int card, int axis, int* out) { return ReadCounter(card, axis, 0x10, out); }
int ChipLayer::get_actual_pos(int card, int axis, int* out) { return ReadCounter(card, axis, 0x11, out); }

int ChipLayer::ReadWord(int card, int axis, WORD code, int* out) {
  if (!ValidCard(card) || !ValidAxis(axis)) return 1;
  std::lock_guard lock(lock_);
  const int pair = PairOf(axis);
  Write16(ChipPort(card, pair, kCommand), AxisBit(axis) + code);
  const auto v = static_cast<int>(Read16(ChipPort(card, pair, kDataLow)));
  if (out) *out = v;
  return 0;
}

int ChipLayer::get_speed(int card, int axis, int* out) { return ReadWord(card, axis, 0x12, out); }
int ChipLayer::get_ad(int card, int axis, int* out) { return ReadWord(card, axis, 0x13, out); }

}  // namespace qm318
