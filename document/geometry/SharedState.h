#pragma once
// Process-wide machine state shared by the view, the marking engine, the key
// filter and the link's reply handler. Written from several threads, so every
// value is an atomic. All start at zero.
#include <atomic>
#include <cstdint>

#include "platform/WinTypes.h"

// Bits of MarkStatusWord.
constexpr std::uint32_t MSW_MARKING = 0x80;         // a marking job runs
constexpr std::uint32_t MSW_AIR_ON = 0x40;          // air valve on for this job
constexpr std::uint32_t MSW_STOP_REQUEST = 0x20;    // operator asked to stop
constexpr std::uint32_t MSW_STOP_CONFIRMED = 0x10;  // stop confirmed
constexpr std::uint32_t MSW_END_PAUSE = 0x08;       // end a countdown wait ("Jump waiting...")
constexpr std::uint32_t MSW_INVERT_DIR = 0x04;      // invert the port boards' direction bits
constexpr std::uint32_t MSW_NEAREST_ORDER = 0x02;   // nearest-next object order for this job

// Bits of OutputShadow (the output port byte).
constexpr int OUT_X_PULSE = 0x01;
constexpr int OUT_X_DIR = 0x02;
constexpr int OUT_Y_PULSE = 0x04;
constexpr int OUT_Y_DIR = 0x08;
constexpr int OUT_Z_PULSE = 0x10;
constexpr int OUT_Z_DIR = 0x20;
constexpr int OUT_NEEDLE = 0x80;

// Bits of PulseLevels.
constexpr int PULSE_LEVEL_REST = 0x01;    // level of a pulse line at rest
constexpr int PULSE_LEVEL_ACTIVE = 0x02;  // level while a step pulse is given

enum AxisIndex { AXIS_X = 0, AXIS_Y = 1, AXIS_Z = 2 };

extern std::atomic<std::uint32_t> MarkStatusWord;
extern std::atomic<int> OutputShadow;   // low byte meant for the output port
extern std::atomic<int> ControlShadow;  // low byte meant for the control port
extern std::atomic<int> PulseLevels;
// Non-zero puts control bit 0x01 high. The shell copies it from byte 212 of
// the machine settings record whenever that changes.
extern std::atomic<std::uint8_t> ControlBit0Switch;
extern std::atomic<std::int32_t> AxisStepCounters[3];  // X, Y, Z in steps
// Set when something other than a marking job moved the head's step counters
// (the hardware test); the view clears it once it has read the new position.
extern std::atomic<int> g_headStepsChanged;

extern std::atomic<WORD> OutPortAddress;   // configured base
extern std::atomic<WORD> InPortAddress;    // base + 1
extern std::atomic<WORD> CtrlPortAddress;  // base + 2

// Output = base, input = base + 1, control = base + 2.
void SetPortAddresses(WORD base);
