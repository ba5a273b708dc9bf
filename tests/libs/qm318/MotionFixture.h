#pragma once
// QM318's motion layer on the simulated bus: one card, a parameter file in a
// folder of the test's own, and a polling callback the tests can script.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

#include "libs/qm318/AxisPara.h"
#include "libs/qm318/LibraryState.h"
#include "libs/qm318/MotionLayer.h"
#include "tests/libs/qm318/BusFixture.h"

extern "C" {
int qm318_init_board();
double get_logical_pos(int, int);
double get_fact_pos(int, int);
double get_move_speed(int, int);
int one_stop(int, int);
int all_stop(int);
int get_input(int);
int set_output(int, int);
int work_move1(int, float, int, int, void (*)());
int work_move2(int, float, int, float, int, int, void (*)());
int work_move3(int, float, int, float, int, float, int, int, void (*)());
int work_move4(float, float, float, float, int, int, void (*)());
int free_move1(int, float, float, float, float, int, void (*)());
int free_move2(int, float, float, float, float, int, float, float, float, float, int, void (*)());
int free_move4(float, float, float, float, float, float, float, float, float, float, float, float, float, float, float,
               float, int, void (*)());
int continue_move1(int, int, int, void (*)());
int continue_move2(int, int, int, int, int, void (*)());
int work_inp2(int, float, int, float, int, int, void (*)());
int work_inp3(float, float, float, int, int, void (*)());
int work_inp4(float, float, float, float, int, int, void (*)());
int hand_move(int, int, void (*)());
int work_arc(int, int, float*, int, void (*)());
int home1(int, void (*)());
int home2(int, int, void (*)());
int home3(int, int, int, void (*)());
int home4(void (*)());
}

namespace qm318::test {

// The callback handed to the moves: counts its calls and runs the script.
inline std::function<void()> g_onPoll;
inline int g_polls = 0;
inline void PollHook() {
  ++g_polls;
  if (g_onPoll) g_onPoll();
}

class MotionFixture : public BusFixture {
 protected:
  void SetUp() override {
    BusFixture::SetUp();
    folder = std::filesystem::temp_directory_path() /
             ("qm318-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    ::setenv("VENDRIK_QM318_DIR", folder.c_str(), 1);
    g_onPoll = nullptr;
    g_polls = 0;
    para = DefaultAxisPara();
    for (int i = 0; i < 4; ++i) {
      para.start_speed0[i] = para.drive_speed0[i] = 50.0f;
      para.start_speed1[i] = 10.0f;
      para.drive_speed1[i] = 50.0f;
      para.acc_time1[i] = 0.1f;
      para.home_start_speed[i] = para.home_drive_speed[i] = 50.0f;
      para.jog_start_speed[i] = para.jog_drive_speed[i] = 20.0f;
    }
    card = &AddCard();
    bus->SetAccessCostNs(100'000);
  }
  void TearDown() override {
    g_onPoll = nullptr;
    std::filesystem::remove_all(folder);
  }

  void WriteParams(std::size_t bytes = sizeof(_AXIS_PARA)) {
    std::ofstream out(folder / "hx417.dat", std::ios::binary);
    out.write(reinterpret_cast<const char*>(&para), static_cast<std::streamsize>(bytes));
  }
  // Writes the record and starts the board; the recording starts afresh.
  void Start() {
    WriteParams();
    ASSERT_EQ(qm318_init_board(), 1);
    bus->ClearAccesses();
  }
  MotionLayer& Motion() { return TheMotionLayer(); }
  // Data written to the chip of the axis just before the command word.
  std::vector<DWORD> ParamsSent(int axis, int code) const {
    const WORD chip = axis <= 2 ? kBase : WORD(kBase + 0x10);
    const DWORD command = (axis % 2 == 1 ? 0x0100u : 0x0200u) + static_cast<DWORD>(code);
    std::vector<DWORD> out;
    DWORD low = 0;
    for (const auto& [port, value] : Writes()) {
      if (port == chip + 0xC) low = value;
      if (port == chip && value == command) out.push_back(low);
    }
    return out;
  }

  std::filesystem::path folder;
  _AXIS_PARA para{};
  sim::SimulatedCard* card = nullptr;
};

}  // namespace qm318::test
