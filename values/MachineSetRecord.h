#pragma once
// The machine settings record of "MachineSet.DAT" / "MachineSetUsb.DAT":
// 296 bytes, packed, little-endian, read and written whole. Field offsets are
// the file layout; do not reorder.
#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)
struct MachineSetRecord {
  std::int32_t reserved0;             // 0   kept
  std::int32_t reserved4;             // 4   kept
  std::int32_t normalDelay;           // 8   air-on / per-dot delay
  std::int32_t strokeEndDelay;        // 12  air-off delay
  std::int32_t startDelay;            // 16
  std::int32_t reserved20;            // 20
  float penDownSpeed;                 // 24
  float penUpSpeed;                   // 28
  float resetSpeed;                   // 32
  float stepX;                        // 36  micrometres per step
  float rangeX;                       // 40  work area, mm
  float rangeY;                       // 44  work area, mm
  std::int32_t classPause;            // 48  layer delay, seconds
  std::int32_t ditherStableTime;      // 52  ms
  std::int32_t applyDithering;        // 56
  float ditherRotateFactor;           // 60
  std::uint8_t optionByte;            // 64  the eight option switches
  std::uint8_t pad65[3];              // 65
  std::int32_t microstepExponent;     // 68
  float transmissionConstant;         // 72
  float motorDiameter;                // 76
  float stepAngle;                    // 80  written by the parameter page, read by nobody
  float workpieceDiameter;            // 84
  double transmissionCorrection;      // 88
  float startPath[4];                 // 96  point 1 x, y, point 2 x, y (mm)
  float resetPath[4];                 // 112 point 1 x, y, point 2 x, y (mm)
  std::int32_t originCorner;          // 128 0..3
  float machineDouble1;               // 132 rotary seek x / mother line position
  double stepY;                       // 136 micrometres per step
  float auxiliarySpeed;               // 144 rotary speed
  std::int32_t auxiliarySpeedSwitch;  // 148 apply rotary speed
  std::int32_t dotTime;               // 152
  std::int32_t pulseFrequency;        // 156 small board's pulse output
  double pulseDuty;                   // 160 percent
  double maxSpeed;                    // 168 pen-up high speed
  std::int32_t acceleration;          // 176
  std::int32_t laserValue;            // 180 pre-gas time
  std::int32_t needleDelayBefore;     // 184 ms
  std::int32_t needleDelayAfter;      // 188 ms
  std::int32_t machineType;           // 192 speed choice
  std::int32_t repeatLimit;           // 196 back to origin after n marks
  std::uint8_t jogPositionIndex;      // 200 jog dialog radio choices
  std::uint8_t jogStepIndex;          // 201
  std::uint8_t openJogAtStart;        // 202
  std::uint8_t pad203;                // 203
  std::int32_t eliminateSpaceSwitch;  // 204 work-area page switch
  float eliminateSpaceValue;          // 208 work-area page value
  std::uint8_t controlBit0Switch;     // 212 free mode: control port bit 0 high
  std::uint8_t secondOptionByte;      // 213
  std::uint8_t pad214[2];             // 214
  std::int32_t boardOption;           // 216 board-type dialog value
  std::int32_t objectEndDelay;        // 220 ms
  std::uint8_t reserved224[72];       // 224..295 zero
};
#pragma pack(pop)

static_assert(sizeof(MachineSetRecord) == 296, "the settings files hold exactly 296 bytes");
static_assert(offsetof(MachineSetRecord, optionByte) == 64);
static_assert(offsetof(MachineSetRecord, transmissionCorrection) == 88);
static_assert(offsetof(MachineSetRecord, originCorner) == 128);
static_assert(offsetof(MachineSetRecord, stepY) == 136);
static_assert(offsetof(MachineSetRecord, maxSpeed) == 168);
static_assert(offsetof(MachineSetRecord, jogPositionIndex) == 200);
static_assert(offsetof(MachineSetRecord, controlBit0Switch) == 212);
static_assert(offsetof(MachineSetRecord, objectEndDelay) == 220);

// All zero but for the defaults of the settings file (used when the file is
// missing, and under a short file).
MachineSetRecord DefaultMachineSetRecord();

// The load clamps (origin corner, step X and Y, microstep exponent,
// acceleration, laser value, maximum speed against the pen-up speed).
void ApplyMachineSetLoadClamps(MachineSetRecord& record);
