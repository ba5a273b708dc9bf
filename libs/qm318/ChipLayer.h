#pragma once
// The chip layer of the four-axis pulse motion card: every card found on the
// PCI buses carries two two-axis pulse-generator chips (chip 1: axes 1 and 2,
// chip 2: axes 3 and 4) reached through 16-bit ports above the card's I/O
// base. One object holds what both motion libraries keep process-wide: the
// card table, the shadows of the registers the chips cannot read back, and
// the one lock every routine holds around its port accesses.
//
// Routines answer 0 when done and 1 for a card, axis, pair or value they
// refuse (before touching a port); the names are the exported ones.
#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>

#include "platform/PortIo.h"

namespace qm318 {

class ChipLayer {
 public:
  static constexpr int kMaxCards = 16;
  static constexpr int kInterpolationLimit = 8388607;

  // Card discovery and chip start-up: number of cards, or the refusal of the
  // port driver (negative), or -2 for a card with a zero I/O base.
  int qm318_initial();
  int qm318_end() { return 0; }
  int CardCount() const { return cardCount_; }
  std::uint32_t CardBase(int card) const { return bases_[static_cast<std::size_t>(card)]; }

  // Mode registers.
  int set_stop0_mode(int card, int axis, int enable, int level);
  int set_stop1_mode(int card, int axis, int enable, int level);
  int set_stop2_mode(int card, int axis, int enable, int level);
  int set_actualcount_mode(int card, int axis, int a, int b, int kind);
  int set_pulse_mode(int card, int axis, int a, int b, int c);
  int set_limit_mode(int card, int axis, int a, int b);
  int set_softlimit_mode1(int card, int axis, int on);
  int set_softlimit_mode2(int card, int axis, int on);
  int set_softlimit_mode3(int card, int axis, int on);
  int set_inpos_mode(int card, int axis, int enable, int level);
  int set_alarm_mode(int card, int axis, int enable, int level);
  int set_ad_mode(int card, int axis, int on);
  int set_dec1_mode(int card, int axis, int on);
  int set_dec2_mode(int card, int axis, int on);
  int set_circle_mode(int card, int axis, int on);
  int set_input_filter(int card, int axis, int kind, int on);
  int set_filter_time(int card, int axis, int time);

  // Status.
  int get_status(int card, int axis, int* out);
  int get_stopdata(int card, int axis, int* out);
  int get_inp_status(int card, int pair, int* out);
  int get_inp_status2(int card, int pair, int* out);

  // Drive parameters and counters.
  int set_range(int card, int axis, int value);
  int set_acac(int card, int axis, int value);
  int set_acc(int card, int axis, int value);
  int set_dec(int card, int axis, int value);
  int set_startv(int card, int axis, int value);
  int set_speed(int card, int axis, int value);
  int set_command_pos(int card, int axis, int value);
  int set_actual_pos(int card, int axis, int value);
  int set_comp1(int card, int axis, int value);
  int set_comp2(int card, int axis, int value);
  int set_dec_pos(int card, int axis, int value);
  int get_command_pos(int card, int axis, int* out);
  int get_actual_pos(int card, int axis, int* out);
  int get_speed(int card, int axis, int* out);
  int get_ad(int card, int axis, int* out);

  // Drives and interpolation.
  int pmove(int card, int axis, int pulses);
  int continue_move(int card, int axis, int dir);
  int dec_stop(int card, int axis);
  int sudden_stop(int card, int axis);
  int inp_move2(int card, int pair, int dx, int dy);
  int inp_cw_arc(int card, int pair, int endX, int endY, int centreX, int centreY);
  int inp_ccw_arc(int card, int pair, int endX, int endY, int centreX, int centreY);
  int inp_move3(int card, int dx, int dy, int dz);
  int inp_move4(int card, int dx, int dy, int dz, int du);
  int inp_dec_enable(int card, int pair);
  int inp_dec_disable(int card, int pair);
  int inp_clear(int) { return 0; }

  // Digital inputs and outputs.
  int read_di(int card, int* out);
  int write_do(int card, int value);
  int read_bit(int card, int bit);
  int write_bit(int card, int bit, int on);

  // Chip 2 reset after a three- or four-axis move; 1 for a bad card.
  int reset_chip2(int card);

 private:
  struct AxisShadow {
    std::uint32_t mode1 = 0, mode2 = 0, mode3 = 0;
    int range = 0, startv = 0, speed = 0, acc = 0;
  };
  struct CardState {
    std::array<AxisShadow, 4> axes{};
    std::uint32_t out1 = 0, out2 = 0;
    bool axis3Borrowed = false, axis4Borrowed = false;
  };
  enum ModeReg { kMode1 = 1, kMode2 = 2, kMode3 = 3 };

  bool ValidCard(int card) const { return card >= 0 && card < cardCount_; }
  static bool ValidAxis(int axis) { return axis >= 1 && axis <= 4; }
  static bool ValidPair(int pair) { return pair == 1 || pair == 2; }
  static bool InInterpolationRange(int v) { return v >= -kInterpolationLimit && v <= kInterpolationLimit; }
  AxisShadow& Axis(int card, int axis) { return cards_[static_cast<std::size_t>(card)].axes[static_cast<std::size_t>(axis - 1)]; }
  CardState& Card(int card) { return cards_[static_cast<std::size_t>(card)]; }

  // Port of a register of the axis's (or pair's) chip.
  WORD ChipPort(int card, int pair, int offset) const;
  static int PairOf(int axis) { return axis <= 2 ? 1 : 2; }
  static WORD AxisBit(int axis) { return axis % 2 == 1 ? 0x0100 : 0x0200; }

  void Write16(WORD port, std::uint32_t value);
  std::uint32_t Read16(WORD port);
  // The three access patterns.
  void ModeWrite(int card, int axis, ModeReg reg);
  void ParamWrite(int card, int pair, WORD command, std::int32_t value, bool wide);
  std::int32_t ReadPosition(int card, int axis, WORD command);

  // Bits to set and clear for flags that each own one group of bits.
  struct BitChange {
    std::uint32_t set = 0, clear = 0;
    BitChange& Flag(int on, std::uint32_t bits) {
      (on ? set : clear) |= bits;
      return *this;
    }
  };
  // Changes bits of one mode shadow and writes it.
  int UpdateMode(int card, int axis, ModeReg reg, const BitChange& change);
  std::uint32_t& ModeRef(int card, int axis, ModeReg reg);
  int ClampedParam(int card, int axis, int value, int lo, int hi, WORD code, int AxisShadow::*shadow);
  int SignedParam(int card, int axis, int value, WORD code);
  int ReadWord(int card, int axis, WORD code, int* out);
  // A 32-bit counter (logical or real position), checked and under the lock.
  int ReadCounter(int card, int axis, WORD code, int* out);
  int InterpolationStatusBit(int card, int pair, int bit, int* out);

  // Chip-2 repair after a multi-chip move; called under the lock.
  bool SecondChipCheck(int card);
  void ResetChip2Locked(int card);
  void RestoreBorrowed(int card, int axis, bool writeBack);
  int Arc(int card, int pair, int endX, int endY, int centreX, int centreY, WORD command);
  // inp_move3 (no du) and inp_move4.
  int MultiChipMove(int card, int dx, int dy, int dz, std::optional<int> du);
  void PrepareSecondAxisRange(int card, int pair);
  int InputRegisterBit(std::uint32_t reg, int n) const;

  // Written by qm318_initial before the count; read by every routine after its card check.
  std::atomic<platform::PortSpace*> ports_{nullptr};
  std::atomic<int> cardCount_{0};
  std::array<std::uint32_t, kMaxCards> bases_{};
  std::array<CardState, kMaxCards> cards_{};
  std::mutex lock_;
};

}  // namespace qm318
