#pragma once
// The hardware test's side of the board protocol: its one-byte commands and
// their request types, the speed block, how a command goes on the wire in
// each protocol variant, what a reply does to the step counters, and the
// rules of the frequency and scale edits and spins.
#include <cstdint>
#include <vector>

#include "platform/WinTypes.h"

// Request types of the hardware test's commands.
enum MotorTestType : int {
  TEST_NEEDLE = 16,       // '8' light test on, '7' off
  TEST_X_LEFT = 17,       // '1'
  TEST_X_RIGHT = 18,      // '2'
  TEST_Y_UP = 19,         // '3'
  TEST_Y_DOWN = 20,       // '4'
  TEST_Z_FIRST = 21,      // '5' (control 1158)
  TEST_Z_SECOND = 22,     // '6' (control 1157)
  TEST_X_STEP_LINE = 23,  // 'A'
  TEST_Y_STEP_LINE = 24,  // 'B'
  TEST_Z_STEP_LINE = 25,  // 'C'
  TEST_SPEED = 26,        // the speed block
  TEST_CLOSE = 27,        // '9'
  TEST_OPEN = 28,         // 0x40
};

constexpr int kTestSpeedBlockSize = 5;
// Without a time-out of its own a test command waits this long for its reply.
constexpr int kTestReplyTimeoutMs = 3000;

// Frequency and scale limits of the edits and spins.
constexpr int kFrequencyEditMax = 300;
constexpr int kFrequencySpinMax = 250;
constexpr double kScaleMin = 0.0001;
constexpr double kScaleMax = 100.0;

// '0', divider high and low, on-time high and low. Frequency clamped to
// 1..500; on-time = divider x scale x 0.01, truncated.
std::vector<BYTE> BuildTestSpeedBlock(int frequency, double scale);

// The bytes of a test command as sent. Framed: 0xFF, the command bytes from
// byte 1 on (a speed block's leading '0' becomes 0xA2), zero padding and the
// 8-bit sum of bytes 1..31 in byte 32. Plain: the bytes themselves.
std::vector<BYTE> WireTestCommand(int type, const BYTE* bytes, int length, bool framed);

// How long a test command waits for its reply before the dialog takes
// commands again.
int TestReplyTimeoutMs(int type);

// What a reply to a move command does to the X, Y, Z step counters (1000
// steps per move; a decrease of X or Y stops at 0). False for other types.
bool ApplyTestReplyToCounters(int type);

// Rules of the edits and spins. The edits return whether the typed value is
// taken; the spins return the new value (unchanged when the rule refuses).
bool FrequencyEditTaken(int current, long long typed);
bool ScaleEditTaken(double current, double typed);
int SpinFrequency(int current, int delta);
double SpinScale(double current, int delta, bool microStep);
bool ScaleSpinTaken(double before, double after);
