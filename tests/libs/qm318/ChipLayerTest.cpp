// The chip layer through the QM318m exports (prefixed names) on the simulated
// bus: card discovery, register sequences, clamps, reads and digital I/O.
#include <climits>
#include <cstdint>
#include <atomic>
#include <functional>
#include <thread>

#include "tests/libs/qm318/BusFixture.h"

extern "C" {
int qm318_initial();
int qm318_end();
int qm318_set_stop0_mode(int, int, int, int);
int qm318_set_actualcount_mode(int, int, int, int, int);
int qm318_set_pulse_mode(int, int, int, int, int);
int qm318_set_limit_mode(int, int, int, int);
int qm318_set_softlimit_mode3(int, int, int);
int qm318_set_inpos_mode(int, int, int, int);
int qm318_set_ad_mode(int, int, int);
int qm318_set_circle_mode(int, int, int);
int qm318_set_input_filter(int, int, int, int);
int qm318_set_filter_time(int, int, int);
int qm318_get_status(int, int, int*);
int qm318_get_stopdata(int, int, int*);
int qm318_get_inp_status(int, int, int*);
int qm318_get_inp_status2(int, int, int*);
int qm318_set_range(int, int, int);
int qm318_set_acac(int, int, int);
int qm318_set_acc(int, int, int);
int qm318_set_dec(int, int, int);
int qm318_set_startv(int, int, int);
int qm318_set_speed(int, int, int);
int qm318_set_command_pos(int, int, int);
int qm318_set_actual_pos(int, int, int);
int qm318_set_comp1(int, int, int);
int qm318_set_comp2(int, int, int);
int qm318_set_dec_pos(int, int, int);
int qm318_get_command_pos(int, int, int*);
int qm318_get_actual_pos(int, int, int*);
int qm318_get_speed(int, int, int*);
int qm318_get_ad(int, int, int*);
int qm318_pmove(int, int, int);
int qm318_continue_move(int, int, int);
int qm318_dec_stop(int, int);
int qm318_sudden_stop(int, int);
int qm318_inp_move2(int, int, int, int);
int qm318_inp_cw_arc(int, int, int, int, int, int);
int qm318_inp_ccw_arc(int, int, int, int, int, int);
int qm318_inp_move3(int, int, int, int);
int qm318_inp_move4(int, int, int, int, int);
int qm318_inp_dec_enable(int, int);
int qm318_inp_dec_disable(int, int);
int qm318_inp_clear(int);
int qm318_read_di(int, int*);
int qm318_write_do(int, int);
int qm318_read_bit(int, int);
int qm318_write_bit(int, int, int);
}
bool Qm318GetPortVal(WORD, DWORD*, BYTE) __asm__("_GetPortVal");
bool Qm318SetPortVal(WORD, DWORD, BYTE) __asm__("_SetPortVal");

namespace qm318::test {
namespace {

// The sixteen writes of one start-up pass pair, as a card receives them.
std::vector<PortWrite> StartUpWrites(WORD base) {
  std::vector<PortWrite> w = {{base, 0x8000}, {WORD(base + 0x10), 0x8000}};
  for (int pass = 0; pass < 2; ++pass)
    for (WORD chip : {WORD(0), WORD(0x10)}) {
      w.push_back({WORD(base + chip), 0x030F});
      w.push_back({WORD(base + chip + 2), 0x0040});
      w.push_back({WORD(base + chip + 4), 0x0040});
      w.push_back({WORD(base + chip + 6), 0x0020});
    }
  return w;
}

class Discovery : public BusFixture {};

TEST_F(Discovery, StartsEveryChipWithTheExactSequence) {
  AddCard();
  EXPECT_EQ(qm318_initial(), 1);
  EXPECT_EQ(Writes(), StartUpWrites(kBase));
  // Configuration space comes from the bus's own reader, never the 0xCF8/0xCFC ports.
  for (const auto& a : bus->Accesses()) EXPECT_TRUE(a.port != 0xCF8 && a.port != 0xCFC);
  EXPECT_GT(bus->ConfigReads(), 0u);
}

// The platform's plain simulated ports reach no real card, whatever sysfs lists.
TEST_F(Discovery, SimulatedPortsFindNoRealCard) {
  SetPciConfigSpace(nullptr);
  auto ports = std::make_shared<platform::SimulatedPortSpace>();
  platform::SetPortSpace(ports);
  EXPECT_EQ(qm318_initial(), 0);
  EXPECT_TRUE(ports->Accesses().empty());
  EXPECT_EQ(qm318_write_do(0, 1), 1);
}

// Real ports need the privilege for ioperm: without it the scan never starts.
TEST_F(Discovery, RealPortsAreCheckedAtOpen) {
  const bool privileged = platform::MakeLinuxPortSpace()->Initialize();
  platform::SetPortSpace(platform::MakeLinuxPortSpace());
  SetPciConfigSpace(bus);
  AddCard();
  if (privileged) GTEST_SKIP() << "running with port privileges";
  EXPECT_EQ(qm318_initial(), -1);
  EXPECT_EQ(bus->ConfigReads(), 0u);
}

TEST_F(Discovery, NumbersBoardsInBusAndDeviceOrder) {
  AddCard({3, 0, 0}, 0xD000);
  AddCard({1, 7, 0}, 0xC000);
  AddCard({1, 2, 0}, 0xB000);
  ASSERT_EQ(qm318_initial(), 3);
  bus->ClearAccesses();
  for (int card = 0; card < 3; ++card) qm318_write_do(card, 1);
  const auto w = Writes();
  ASSERT_EQ(w.size(), 6u);
  EXPECT_EQ(w[0].first, 0xB008);
  EXPECT_EQ(w[2].first, 0xC008);
  EXPECT_EQ(w[4].first, 0xD008);
}

TEST_F(Discovery, CountsADeviceOnceAtItsFirstFunctionWithAnIoBase) {
  bus->AddFunction({0, 5, 0}, 0xFFFFFFFF, 0xFFFFFFFF);            // reads all ones
  bus->AddFunction({0, 6, 0}, sim::SimulatedMotionBus::kCardId, 0xF0000000);  // memory base: skipped
  AddCard({0, 6, 1}, 0xA000);
  bus->AddFunction({0, 6, 2}, sim::SimulatedMotionBus::kCardId, 0x9001);
  bus->AddFunction({0, 7, 0}, 0x12345678, 0x8001);                // another board
  EXPECT_EQ(qm318_initial(), 1);
  EXPECT_EQ(Writes().front(), PortWrite(0xA000, 0x8000));
}

TEST_F(Discovery, ZeroIoBaseStopsTheScanAndKeepsTheEarlierState) {
  AddCard({0, 1, 0}, 0xA000);
  ASSERT_EQ(qm318_initial(), 1);
  bus->AddFunction({0, 2, 0}, sim::SimulatedMotionBus::kCardId, 0x0001);
  bus->ClearAccesses();
  EXPECT_EQ(qm318_initial(), -2);
  EXPECT_TRUE(Writes().empty());
  EXPECT_EQ(qm318_write_do(0, 3), 0);  // card 0 of the first scan still answers
}

TEST_F(Discovery, SeventeenthBoardGetsNoNumberInsteadOfOverrunningTheTables) {
  for (int n = 0; n < 17; ++n) AddCard({0, n, 0}, static_cast<WORD>(0x8000 + 0x40 * n));
  EXPECT_EQ(qm318_initial(), 16);
  bus->ClearAccesses();
  EXPECT_EQ(qm318_write_do(16, 1), 1);
  EXPECT_EQ(qm318_write_do(15, 1), 0);
  EXPECT_EQ(Writes().front().first, 0x8000 + 0x40 * 15 + 8);
}

TEST_F(Discovery, RefusedPortAccessIsReportedBeforeAnyConfigurationRead) {
  AddCard();
  bus->SetAllowAccess(false);
  EXPECT_EQ(qm318_initial(), -1);
  EXPECT_EQ(bus->ConfigReads(), 0u);
}

// Every chip routine answers 1 (read_bit -1) without a card, touching no port.
TEST_F(Discovery, EveryRoutineRefusesWithoutACard) {
  ASSERT_EQ(qm318_initial(), 0);
  int out = 77;
  const std::vector<std::function<int()>> calls = {
      [&] { return qm318_set_stop0_mode(0, 1, 1, 1); }, [&] { return qm318_set_actualcount_mode(0, 1, 1, 1, 1); },
      [&] { return qm318_set_pulse_mode(0, 1, 1, 1, 1); }, [&] { return qm318_set_limit_mode(0, 1, 1, 1); },
      [&] { return qm318_set_softlimit_mode3(0, 1, 1); }, [&] { return qm318_set_inpos_mode(0, 1, 1, 1); },
      [&] { return qm318_set_ad_mode(0, 1, 1); }, [&] { return qm318_set_circle_mode(0, 1, 1); },
      [&] { return qm318_set_input_filter(0, 1, 1, 1); }, [&] { return qm318_set_filter_time(0, 1, 2); },
      [&] { return qm318_get_status(0, 1, &out); }, [&] { return qm318_get_stopdata(0, 1, &out); },
      [&] { return qm318_get_inp_status(0, 1, &out); }, [&] { return qm318_get_inp_status2(0, 1, &out); },
      [&] { return qm318_set_range(0, 1, 1); }, [&] { return qm318_set_acac(0, 1, 1); },
      [&] { return qm318_set_acc(0, 1, 1); }, [&] { return qm318_set_dec(0, 1, 1); },
      [&] { return qm318_set_startv(0, 1, 1); }, [&] { return qm318_set_speed(0, 1, 1); },
      [&] { return qm318_set_command_pos(0, 1, 1); }, [&] { return qm318_set_actual_pos(0, 1, 1); },
      [&] { return qm318_set_comp1(0, 1, 1); }, [&] { return qm318_set_comp2(0, 1, 1); },
      [&] { return qm318_set_dec_pos(0, 1, 1); }, [&] { return qm318_get_command_pos(0, 1, &out); },
      [&] { return qm318_get_actual_pos(0, 1, &out); }, [&] { return qm318_get_speed(0, 1, &out); },
      [&] { return qm318_get_ad(0, 1, &out); }, [&] { return qm318_pmove(0, 1, 5); },
      [&] { return qm318_continue_move(0, 1, 0); }, [&] { return qm318_dec_stop(0, 1); },
      [&] { return qm318_sudden_stop(0, 1); }, [&] { return qm318_inp_move2(0, 1, 1, 1); },
      [&] { return qm318_inp_cw_arc(0, 1, 1, 1, 1, 1); }, [&] { return qm318_inp_ccw_arc(0, 1, 1, 1, 1, 1); },
      [&] { return qm318_inp_move3(0, 1, 1, 1); }, [&] { return qm318_inp_move4(0, 1, 1, 1, 1); },
      [&] { return qm318_inp_dec_enable(0, 1); }, [&] { return qm318_inp_dec_disable(0, 1); },
      [&] { return qm318_read_di(0, &out); }, [&] { return qm318_write_do(0, 1); },
      [&] { return qm318_write_bit(0, 1, 1); }, [&] { return -qm318_read_bit(0, 1); }};
  for (std::size_t n = 0; n < calls.size(); ++n) EXPECT_EQ(calls[n](), 1) << "call " << n;
  EXPECT_EQ(out, 77);
  EXPECT_TRUE(bus->Accesses().empty());
  EXPECT_EQ(qm318_pmove(5, 1, 0), 0);  // zero pulses: done before any check
  EXPECT_EQ(qm318_inp_clear(-3), 0);
}

class Chip : public BusFixture {
 protected:
  void SetUp() override {
    BusFixture::SetUp();
    card = &AddCard();
    ASSERT_EQ(qm318_initial(), 1);
    bus->ClearAccesses();
  }
  sim::SimulatedCard* card = nullptr;
};

// Parameter setters: value after clamping as data low/high, then the command word.
struct ParamCase {
  const char* name;
  int (*setter)(int, int, int);
  int axis, value;
  std::vector<PortWrite> writes;
};

class ParamWrites : public Chip, public ::testing::WithParamInterface<ParamCase> {};

TEST_P(ParamWrites, ClampAndSendTheValue) {
  const ParamCase& c = GetParam();
  EXPECT_EQ(c.setter(0, c.axis, c.value), 0);
  EXPECT_EQ(Writes(), c.writes);
}

INSTANTIATE_TEST_SUITE_P(
    Chip, ParamWrites,
    ::testing::Values(
        ParamCase{"RangeBelow", qm318_set_range, 1, 1000, {{0xE00C, 16000}, {0xE00E, 0}, {0xE000, 0x0100}}},
        ParamCase{"RangeAbove", qm318_set_range, 2, 9000000, {{0xE00C, 0x1200}, {0xE00E, 0x7A}, {0xE000, 0x0200}}},
        ParamCase{"SpeedZero", qm318_set_speed, 1, 0, {{0xE00C, 1}, {0xE000, 0x0105}}},
        ParamCase{"SpeedHigh", qm318_set_speed, 3, 10000, {{0xE01C, 8000}, {0xE010, 0x0105}}},
        ParamCase{"Acac", qm318_set_acac, 4, 70000, {{0xE01C, 65535}, {0xE010, 0x0201}}},
        ParamCase{"Acc", qm318_set_acc, 1, -5, {{0xE00C, 1}, {0xE000, 0x0102}}},
        ParamCase{"Dec", qm318_set_dec, 2, 8001, {{0xE00C, 8000}, {0xE000, 0x0203}}},
        ParamCase{"StartSpeed", qm318_set_startv, 1, 77, {{0xE00C, 77}, {0xE000, 0x0104}}},
        ParamCase{"CommandPosMinusOne", qm318_set_command_pos, 1, -1, {{0xE00C, 0xFFFF}, {0xE00E, 0xFFFF}, {0xE000, 0x0109}}},
        ParamCase{"ActualPos", qm318_set_actual_pos, 4, 0x12345, {{0xE01C, 0x2345}, {0xE01E, 1}, {0xE010, 0x020A}}},
        ParamCase{"Comp1", qm318_set_comp1, 1, -2, {{0xE00C, 0xFFFE}, {0xE00E, 0xFFFF}, {0xE000, 0x010B}}},
        ParamCase{"Comp2", qm318_set_comp2, 2, 3, {{0xE00C, 3}, {0xE00E, 0}, {0xE000, 0x020C}}},
        ParamCase{"DecPos", qm318_set_dec_pos, 3, 70000, {{0xE01C, 70000 & 0xFFFF}, {0xE01E, 1}, {0xE010, 0x0107}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Chip, RefusesBadAxisBeforeAnyAccess) {
  EXPECT_EQ(qm318_set_range(0, 0, 20000), 1);
  EXPECT_EQ(qm318_set_range(0, 5, 20000), 1);
  EXPECT_EQ(qm318_get_inp_status(0, 3, nullptr), 1);
  EXPECT_EQ(qm318_set_range(-1, 1, 20000), 1);
  EXPECT_EQ(qm318_set_dec_pos(0, 1, -1), 1);
  EXPECT_TRUE(bus->Accesses().empty());
}

// Mode setters: selection of the axis, then the changed shadow.
struct ModeCase {
  const char* name;
  std::function<int()> call;
  std::vector<PortWrite> writes;
};

class ModeWrites : public Chip, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(ModeWrites, SelectTheAxisAndWriteTheShadow) {
  EXPECT_EQ(GetParam().call(), 0);
  EXPECT_EQ(Writes(), GetParam().writes);
}

INSTANTIATE_TEST_SUITE_P(
    Chip, ModeWrites,
    ::testing::Values(
        ModeCase{"Stop0OnAxis3", [] { return qm318_set_stop0_mode(0, 3, 1, 0); }, {{0xE010, 0x010F}, {0xE012, 0x0042}}},
        ModeCase{"Stop0LevelAxis2", [] { return qm318_set_stop0_mode(0, 2, 0, 1); }, {{0xE000, 0x020F}, {0xE002, 0x0041}}},
        ModeCase{"PulseModeClearsA", [] { return qm318_set_pulse_mode(0, 1, 0, 1, 1); }, {{0xE000, 0x010F}, {0xE004, 0x0180}}},
        ModeCase{"LimitB", [] { return qm318_set_limit_mode(0, 4, 0, 1); }, {{0xE010, 0x020F}, {0xE014, 0x0058}}},
        ModeCase{"InposBoth", [] { return qm318_set_inpos_mode(0, 1, 1, 1); }, {{0xE000, 0x010F}, {0xE004, 0xC040}}},
        ModeCase{"CircleMode", [] { return qm318_set_circle_mode(0, 1, 1); }, {{0xE000, 0x010F}, {0xE006, 0x0060}}},
        ModeCase{"AdModeOff", [] { return qm318_set_ad_mode(0, 1, 0); }, {{0xE000, 0x010F}, {0xE006, 0x0020}}},
        ModeCase{"InputFilterKind4IsBit12", [] { return qm318_set_input_filter(0, 1, 4, 1); }, {{0xE000, 0x010F}, {0xE006, 0x1020}}},
        ModeCase{"FilterTime2", [] { return qm318_set_filter_time(0, 1, 2); }, {{0xE000, 0x010F}, {0xE006, 0x2020}}},
        ModeCase{"FilterTime8", [] { return qm318_set_filter_time(0, 2, 8); }, {{0xE000, 0x020F}, {0xE006, 0xE020}}},
        ModeCase{"ActualCountKind2", [] { return qm318_set_actualcount_mode(0, 1, 1, 1, 2); },
                 {{0xE000, 0x010F}, {0xE002, 0x00C0}, {0xE004, 0x0A40}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Chip, FilterTimeAndKindOutsideTheirRangesChangeNothing) {
  EXPECT_EQ(qm318_set_filter_time(0, 1, 9), 1);
  EXPECT_EQ(qm318_set_filter_time(0, 1, 0), 1);
  EXPECT_EQ(qm318_set_input_filter(0, 1, 5, 1), 1);
  EXPECT_TRUE(Writes().empty());
  qm318_set_filter_time(0, 1, 3);
  EXPECT_EQ(WritesTo(0xE006).back().second, 0x4020u);  // earlier refusals left the shadow alone
}

TEST_F(Chip, StatusOfAnIdleAxisIsZeroWithoutSelectingIt) {
  int status = -1;
  EXPECT_EQ(qm318_get_status(0, 1, &status), 0);
  EXPECT_EQ(status, 0);
  EXPECT_TRUE(Writes().empty());
}

TEST_F(Chip, StatusWhileDrivingShowsTheRampAndEndsAtZero) {
  qm318_set_range(0, 2, 8000000);
  qm318_set_startv(0, 2, 100);
  qm318_set_speed(0, 2, 4000);
  qm318_set_acc(0, 2, 100);
  qm318_pmove(0, 2, 3000);
  int status = 0;
  qm318_get_status(0, 2, &status);
  EXPECT_NE(status & 0x1C, 0);
  ASSERT_TRUE(bus->RunUntilIdle());
  qm318_get_status(0, 2, &status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(card->Axis(2).pulsesPlus, 3000u);
}

TEST_F(Chip, StopDataReportsTheLimitThatEndedTheDrive) {
  card->Axis(1).mechanics.limitPlus = 50;
  qm318_set_startv(0, 1, 1000);
  qm318_set_speed(0, 1, 1000);
  qm318_pmove(0, 1, 1000);
  ASSERT_TRUE(bus->RunUntilIdle());
  int data = 0;
  EXPECT_EQ(qm318_get_stopdata(0, 1, &data), 0);
  EXPECT_EQ(data, 0x08);  // status 1 bit 12: the positive limit
  EXPECT_EQ(card->Axis(1).position, 50);
}

// A carry from the low into the high word between the reads never shows.
TEST_F(Chip, PositionReadsSurviveACarryBetweenTheHalves) {
  for (int (*read)(int, int, int*) : {qm318_get_command_pos, qm318_get_actual_pos}) {
    qm318_set_command_pos(0, 1, 65500);
    qm318_set_actual_pos(0, 1, 65500);
    qm318_set_range(0, 1, 16000);  // 500 x: four pulses per port access
    qm318_set_startv(0, 1, 8000);
    qm318_set_speed(0, 1, 8000);
    qm318_pmove(0, 1, 100);
    int last = 65500, status = 1;
    while (status != 0) {
      int pos = 0;
      read(0, 1, &pos);
      EXPECT_GE(pos, last);
      EXPECT_LE(pos, 65600);
      last = pos;
      qm318_get_status(0, 1, &status);
    }
  }
}

TEST_F(Chip, SpeedAndAccelerationReadTheLowDataWord) {
  qm318_set_startv(0, 1, 10);
  qm318_set_speed(0, 1, 500);
  qm318_set_acc(0, 1, 20);
  qm318_continue_move(0, 1, 0);
  bus->Advance(2'000'000'000);
  int speed = 0, acc = -1;
  qm318_get_speed(0, 1, &speed);
  qm318_get_ad(0, 1, &acc);
  EXPECT_EQ(speed, 500);
  EXPECT_EQ(acc, 0);
  qm318_sudden_stop(0, 1);
}

// --- drives --------------------------------------------------------------------

TEST_F(Chip, NegativePmoveSendsRangeCountAndDirection) {
  qm318_set_range(0, 1, 100000);
  qm318_set_startv(0, 1, 1000);
  qm318_set_speed(0, 1, 1000);
  bus->ClearAccesses();
  EXPECT_EQ(qm318_pmove(0, 1, -500), 0);
  const std::vector<PortWrite> expected = {{0xE00C, 100000 & 0xFFFF}, {0xE00E, 1}, {0xE000, 0x0100},
                                           {0xE00C, 500}, {0xE00E, 0}, {0xE000, 0x0106}, {0xE000, 0x0121}};
  EXPECT_EQ(Writes(), expected);
  ASSERT_TRUE(bus->RunUntilIdle());
  EXPECT_EQ(card->Axis(1).pulsesMinus, 500u);
}

TEST_F(Chip, PmoveOfIntMinSendsItsMagnitude) {
  EXPECT_EQ(qm318_pmove(0, 2, INT_MIN), 0);
  const auto w = Writes();
  ASSERT_EQ(w.size(), 7u);
  EXPECT_EQ(w[3], PortWrite(0xE00C, 0));
  EXPECT_EQ(w[4], PortWrite(0xE00E, 0x8000));
  EXPECT_EQ(w[6], PortWrite(0xE000, 0x0221));
  qm318_sudden_stop(0, 2);
}

TEST_F(Chip, ContinuousDriveRunsUntilStopped) {
  qm318_set_range(0, 3, 8000000);
  qm318_set_speed(0, 3, 100);
  qm318_set_startv(0, 3, 100);
  EXPECT_EQ(qm318_continue_move(0, 3, 1), 0);
  EXPECT_EQ(WritesTo(0xE010).back().second, 0x0123u);
  bus->Advance(1'000'000'000);
  EXPECT_TRUE(card->Axis(3).Driving());
  EXPECT_EQ(qm318_dec_stop(0, 3), 0);
  EXPECT_TRUE(bus->RunUntilIdle());
  EXPECT_NEAR(static_cast<double>(card->Axis(3).pulsesMinus), 100.0, 2.0);
}

TEST_F(Chip, InterpolationRefusesZeroAndOversizedDistances) {
  EXPECT_EQ(qm318_inp_move2(0, 1, 0, 0), 0);
  EXPECT_TRUE(bus->Accesses().empty());
  EXPECT_EQ(qm318_inp_move2(0, 1, 8388608, 0), 1);
  EXPECT_EQ(qm318_inp_move3(0, 0, -8388608, 0), 1);
  EXPECT_EQ(qm318_inp_cw_arc(0, 1, 0, 0, 8388608, 0), 1);
  EXPECT_EQ(qm318_inp_move4(0, 1, 1, 1, 8388608), 1);
  EXPECT_TRUE(bus->Accesses().empty());
}

TEST_F(Chip, SecondAxisRangeIsScaledForLinesAndThreeAxisMoves) {
  qm318_set_range(0, 1, 123457);
  bus->ClearAccesses();
  qm318_inp_move2(0, 1, 10, 5);
  const std::vector<PortWrite> line = {{0xE00A, 0x0500}, {0xE00C, 174568 & 0xFFFF}, {0xE00E, 174568 >> 16},
                                       {0xE000, 0x0200}, {0xE00C, 10}, {0xE00E, 0}, {0xE000, 0x0106},
                                       {0xE00C, 5}, {0xE00E, 0}, {0xE000, 0x0206}, {0xE000, 0x0030}};
  EXPECT_EQ(Writes(), line);
  ASSERT_TRUE(bus->RunUntilIdle());
  bus->ClearAccesses();
  qm318_inp_move3(0, 10, 5, 3);
  const auto w = Writes();
  EXPECT_EQ(CountWrites(0xE01C, 213827 & 0xFFFF), 1u);
  EXPECT_EQ(CountWrites(0xE01E, 213827 >> 16), 1u);
  EXPECT_EQ(w.back(), PortWrite(0xE000, 0x0030));
  EXPECT_EQ(w[w.size() - 2], PortWrite(0xE010, 0x0030));
}

// Pulses per axis of interpolated lines match the distances exactly.
struct LineCase {
  int dx, dy, dz, du;
};
class Lines : public Chip, public ::testing::WithParamInterface<LineCase> {};

TEST_P(Lines, EveryAxisGetsItsPulses) {
  const LineCase& c = GetParam();
  for (int axis = 1; axis <= 4; ++axis) {
    qm318_set_startv(0, axis, 2000);
    qm318_set_speed(0, axis, 2000);
  }
  const int axesMoved = c.du != 0 ? 4 : c.dz != 0 ? 3 : 2;
  if (axesMoved == 4) qm318_inp_move4(0, c.dx, c.dy, c.dz, c.du);
  else if (axesMoved == 3) qm318_inp_move3(0, c.dx, c.dy, c.dz);
  else qm318_inp_move2(0, 1, c.dx, c.dy);
  ASSERT_TRUE(bus->RunUntilIdle());
  const int want[4] = {c.dx, c.dy, c.dz, c.du};
  for (int axis = 1; axis <= 4; ++axis) {
    const auto& a = card->Axis(axis);
    EXPECT_EQ(static_cast<long long>(a.pulsesPlus) - static_cast<long long>(a.pulsesMinus), want[axis - 1]) << axis;
    EXPECT_EQ(a.pulsesPlus + a.pulsesMinus, static_cast<unsigned long long>(std::abs(want[axis - 1]))) << axis;
  }
}

INSTANTIATE_TEST_SUITE_P(Chip, Lines,
                         ::testing::Values(LineCase{1000, -377, 0, 0}, LineCase{-1, 999, 0, 0}, LineCase{7, 7, 0, 0},
                                           LineCase{500, 200, -300, 0}, LineCase{-250, 10, 999, -640}));

TEST_F(Chip, LineOnChip2RunsAxes3And4) {
  qm318_set_startv(0, 3, 1000);
  qm318_set_speed(0, 3, 1000);
  qm318_inp_move2(0, 2, -300, 120);
  EXPECT_EQ(WritesTo(0xE01A).back().second, 0x0D00u);
  ASSERT_TRUE(bus->RunUntilIdle());
  EXPECT_EQ(card->Axis(3).logical, -300);
  EXPECT_EQ(card->Axis(4).logical, 120);
}

TEST_F(Chip, ArcsEndAtTheirEndPoint) {
  qm318_set_startv(0, 1, 2000);
  qm318_set_speed(0, 1, 2000);
  for (int (*arc)(int, int, int, int, int, int) : {qm318_inp_ccw_arc, qm318_inp_cw_arc}) {
    qm318_set_command_pos(0, 1, 0);
    qm318_set_command_pos(0, 2, 0);
    // Quarter circle of radius 400 about (0, 400) relative to the start.
    EXPECT_EQ(arc(0, 1, 400, 400, 0, 400), 0);
    ASSERT_TRUE(bus->RunUntilIdle());
    int x = 0, y = 0;
    qm318_get_command_pos(0, 1, &x);
    qm318_get_command_pos(0, 2, &y);
    EXPECT_EQ(x, 400);
    EXPECT_EQ(y, 400);
  }
  EXPECT_EQ(CountWrites(0xE000, 0x0032), 1u);
  EXPECT_EQ(CountWrites(0xE000, 0x0033), 1u);
}

TEST_F(Chip, InterpolationStatusShowsTheRunningMove) {
  qm318_set_startv(0, 1, 100);
  qm318_set_speed(0, 1, 100);
  qm318_inp_move2(0, 1, 100, 50);
  int running = 0, ready = 0;
  qm318_get_inp_status(0, 1, &running);
  qm318_get_inp_status2(0, 1, &ready);
  EXPECT_EQ(running, 1);
  EXPECT_EQ(ready, 1);
  ASSERT_TRUE(bus->RunUntilIdle());
  qm318_get_inp_status(0, 1, &running);
  EXPECT_EQ(running, 0);
}

TEST_F(Chip, InterpolationDecelerationCommandsGoToThePairsChip) {
  EXPECT_EQ(qm318_inp_dec_enable(0, 2), 0);
  EXPECT_EQ(qm318_inp_dec_disable(0, 1), 0);
  EXPECT_EQ(qm318_inp_dec_enable(0, 3), 1);
  EXPECT_EQ(Writes(), (std::vector<PortWrite>{{0xE010, 0x003B}, {0xE000, 0x003C}}));
}

// After a three-axis move chip 2 keeps showing interpolation and refuses
// drives: the next drive of axis 3 resets it and gives back its own speeds.
TEST_F(Chip, DriveAfterAThreeAxisMoveRepairsChip2AndRestoresAxis3) {
  qm318_set_acc(0, 3, 33);
  qm318_set_startv(0, 3, 44);
  qm318_set_speed(0, 3, 55);
  qm318_set_startv(0, 1, 1000);
  qm318_set_speed(0, 1, 1000);
  qm318_inp_move3(0, 100, 100, 100);
  ASSERT_TRUE(bus->RunUntilIdle());
  ASSERT_EQ(card->Resets(2), 1);  // the start-up reset
  bus->ClearAccesses();
  qm318_pmove(0, 3, 40);
  EXPECT_EQ(card->Resets(2), 2);
  const auto w = Writes();
  EXPECT_EQ(w[0], PortWrite(0xE010, 0x8000));
  const std::vector<PortWrite> restore = {{0xE01C, 33}, {0xE010, 0x0102}, {0xE01C, 44}, {0xE010, 0x0104},
                                          {0xE01C, 55}, {0xE010, 0x0105}};
  EXPECT_TRUE(std::search(w.begin(), w.end(), restore.begin(), restore.end()) != w.end());
  ASSERT_TRUE(bus->RunUntilIdle());
  EXPECT_EQ(card->Axis(3).logical, 140);
  bus->ClearAccesses();
  qm318_pmove(0, 3, 1);
  EXPECT_EQ(CountWrites(0xE010, 0x0102), 0u);  // given back once only
  EXPECT_EQ(card->Resets(2), 2);
}

TEST_F(Chip, ResetOfChip2RewritesTheModeShadowsOfAxes3And4) {
  qm318_set_stop0_mode(0, 4, 1, 1);
  qm318_set_startv(0, 1, 1000);
  qm318_set_speed(0, 1, 1000);
  qm318_inp_move4(0, 10, 10, 10, 10);
  ASSERT_TRUE(bus->RunUntilIdle());
  bus->ClearAccesses();
  qm318_sudden_stop(0, 3);
  const std::vector<PortWrite> expected = {{0xE010, 0x0127}, {0xE010, 0x8000}, {0xE010, 0x010F}, {0xE012, 0x0040},
                                           {0xE014, 0x0040}, {0xE016, 0x0020}, {0xE010, 0x020F}, {0xE012, 0x0043},
                                           {0xE014, 0x0040}, {0xE016, 0x0020}};
  EXPECT_EQ(Writes(), expected);
  EXPECT_EQ(card->Axis(4).mode1, 0x0043u);
}

// Another thread's routine cannot slip into the reset and its rewrites.
TEST_F(Chip, ChipTwoResetIsNotSplitByAnotherThread) {
  qm318_set_startv(0, 1, 8000);
  qm318_set_speed(0, 1, 8000);
  std::atomic<bool> done{false};
  std::thread other([&done] {
    for (int n = 0; !done; ++n) qm318_write_bit(0, 20, n % 2);
  });
  for (int round = 0; round < 20; ++round) {
    qm318_inp_move3(0, 5, 5, 5);
    bus->RunUntilIdle();
    qm318_pmove(0, 3, 1);
  }
  done = true;
  other.join();
  const auto w = Writes();
  int resets = 0;
  for (std::size_t n = 0; n < w.size(); ++n) {
    if (w[n] != PortWrite(0xE010, 0x8000)) continue;
    ++resets;
    ASSERT_LE(n + 9, w.size());
    for (std::size_t k = n + 1; k <= n + 8; ++k) EXPECT_TRUE(w[k].first >= 0xE010 && w[k].first <= 0xE016) << k;
  }
  EXPECT_EQ(resets, 20);
}

// --- digital I/O and port primitives ---------------------------------------------

TEST_F(Chip, OutputsGoToTheirChipsFromTheShadows) {
  EXPECT_EQ(qm318_write_do(0, 65538), 0);
  EXPECT_EQ(Writes(), (std::vector<PortWrite>{{0xE008, 0x0002}, {0xE018, 0x0001}}));
  qm318_write_do(0, 0);
  bus->ClearAccesses();
  EXPECT_EQ(qm318_write_bit(0, 17, 1), 0);
  EXPECT_EQ(qm318_write_bit(0, 3, 1), 0);
  EXPECT_EQ(qm318_write_bit(0, 17, 0), 0);
  EXPECT_EQ(Writes(), (std::vector<PortWrite>{{0xE018, 0x0002}, {0xE008, 0x0008}, {0xE018, 0x0000}}));
  EXPECT_EQ(qm318_write_bit(0, 32, 1), 1);
  EXPECT_EQ(qm318_write_bit(0, -1, 1), 1);
}

TEST_F(Chip, InputsMapRegisterBitsToNumbers) {
  for (int axis = 1; axis <= 4; ++axis) {
    card->Axis(axis).forcedMask = 0xFFFF;
    card->Axis(axis).forcedInputs = 0;
  }
  card->Axis(1).forcedInputs = 0x4001;  // inputs 0 and 2
  card->Axis(4).forcedInputs = 0x8180;  // inputs 25, 30, 31
  int di = 0;
  EXPECT_EQ(qm318_read_di(0, &di), 0);
  EXPECT_EQ(static_cast<std::uint32_t>(di), 0x5u | (1u << 25) | (1u << 30) | (1u << 31));
  EXPECT_EQ(qm318_read_bit(0, 2), 1);
  EXPECT_EQ(qm318_read_bit(0, 1), 0);
  EXPECT_EQ(qm318_read_bit(0, 31), 1);
  EXPECT_EQ(qm318_read_bit(0, 32), -1);
  EXPECT_EQ(qm318_read_bit(1, 0), -1);
}

// Two threads changing different output bits of one chip keep both changes.
TEST_F(Chip, OutputBitsFromTwoThreadsAreNotLost) {
  bus->SetRecording(false);
  auto toggle = [](int bit) {
    for (int n = 0; n < 2000; ++n) qm318_write_bit(0, bit, n % 2);
    qm318_write_bit(0, bit, 1);
  };
  std::thread a(toggle, 4), b(toggle, 9);
  a.join();
  b.join();
  EXPECT_EQ(card->Outputs(1), 0x0210);
}

TEST_F(Chip, EndLeavesTheLibraryWorking) {
  EXPECT_EQ(qm318_end(), 0);
  EXPECT_EQ(qm318_write_do(0, 1), 0);
}

struct PortValCase {
  BYTE size;
  DWORD expected;
  BYTE accessSize;
};
class PortVal : public BusFixture, public ::testing::WithParamInterface<PortValCase> {};

TEST_P(PortVal, ReadsZeroExtendedAndWidensOddSizes) {
  DWORD value = 1;
  EXPECT_TRUE(Qm318GetPortVal(0x300, &value, GetParam().size));
  EXPECT_EQ(value, GetParam().expected);
  EXPECT_TRUE(Qm318SetPortVal(0x300, 0x12345678, GetParam().size));
  const auto a = bus->Accesses();
  ASSERT_EQ(a.size(), 2u);
  EXPECT_EQ(a[0].size, GetParam().accessSize);
  EXPECT_EQ(a[1].size, GetParam().accessSize);
  EXPECT_EQ(a[1].value, 0x12345678u & (GetParam().accessSize == 1 ? 0xFF : GetParam().accessSize == 2 ? 0xFFFF : ~0u));
}

INSTANTIATE_TEST_SUITE_P(Ports, PortVal,
                         ::testing::Values(PortValCase{1, 255, 1}, PortValCase{2, 65535, 2},
                                           PortValCase{4, 0xFFFFFFFF, 4}, PortValCase{0, 0xFFFFFFFF, 4},
                                           PortValCase{3, 0xFFFFFFFF, 4}));

}  // namespace
}  // namespace qm318::test
