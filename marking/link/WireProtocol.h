#pragma once
// The controller board's commands in both variants (plain and framed): letter
// commands, 33-byte frames with their additive checksum, stream records, the
// parameter and speed blocks, time-outs, and how replies are judged.
#include <array>
#include <cstdint>
#include <vector>

#include "platform/WinTypes.h"

// Command types carried by a request.
enum ComType : int {
  COM_ABORT = 0,
  COM_HELLO = 1,
  COM_STATUS = 2,
  COM_MARK_BEGIN = 3,
  COM_ORIGIN = 4,
  COM_PARAMETERS = 5,
  COM_STREAM = 6,
  COM_SPEED_BEGIN = 10,
  COM_SPEED = 11,
  COM_VERSION = 13,
  COM_CLOSE = 14,
  COM_NEEDLE = 16,
  COM_SETUP = 29,
};

constexpr int PROTOCOL_PLAIN = 0;
constexpr int PROTOCOL_FRAMED = 1;

constexpr int kCommandBufferSize = 40;
constexpr int kLetterCommandSize = 8;
constexpr int kFrameSize = 33;
constexpr int kRecordSize = 5;
constexpr int kFramedRecordSize = 6;
constexpr int kParameterBlockSize = 28;
constexpr int kSpeedBlockSize = 4;

// Frame command bytes.
constexpr BYTE FRAME_SPEED = 0xA2;
constexpr BYTE FRAME_PARAMETERS = 0xA3;
constexpr BYTE FRAME_ORIGIN = 0xA4;
constexpr BYTE FRAME_MARK_BEGIN = 0xA6;

// Stream records other than moves: five equal bytes.
constexpr BYTE RECORD_PAUSE = 0x50;
constexpr BYTE RECORD_END = 0x45;
constexpr BYTE RECORD_RESYNC = 0x55;

// Six zero bytes and the letter twice. Returns 8.
int BuildLetterCommand(BYTE* out, char letter);
// Low 8 bits of the sum of frame bytes 1..31.
BYTE FrameChecksum(const BYTE* frame);
// 0xFF, the command byte, up to 30 data bytes (zero-filled), the checksum.
// Returns 33.
int BuildFrame(BYTE* out, BYTE command, const BYTE* data, int dataLength);
// A stream record: five bytes, and in the framed variant their 8-bit sum.
// Returns the length (5 or 6).
int BuildRecord(BYTE* out, const BYTE record[5], bool framed);
int BuildFilledRecord(BYTE* out, BYTE fill, bool framed);
// A move: X steps, Y steps (16 bits each, high byte first) and the flags.
void MakeMoveRecord(BYTE out[5], std::uint16_t xSteps, std::uint16_t ySteps, BYTE flags);

// What goes on the wire for a command built in `in`: in the framed variant
// the frame of types 3, 4, 5, 11, the record and sum of type 6; the bytes as
// built for everything in the plain variant and for types 0 and the link
// set-up's own commands. Returns false when nothing is sent: hello and "WW"
// in the framed variant succeed at once, other types are not sent framed.
// `immediateSuccess` tells the two apart.
bool FrameForVariant(int type, const BYTE* in, int length, bool framed, std::vector<BYTE>& out, bool& immediateSuccess);

// Time-out of a command type in milliseconds (0: not awaited).
int CommandTimeoutMs(int type);
// The wait for the reply to a pause record. Nothing moves on a pause, so the
// board answers at once, as it does to the other commands without motion; the
// stream's ten minutes would keep the operator from the stop question.
constexpr int kPauseReplyTimeoutMs = 3000;

// Inputs of the parameter block, from element 0's parameter record and the
// machine settings.
struct ParameterBlockInput {
  bool rotaryMode = false;       // option "Rotate mark"
  bool rotaryOnY = false;        // option bit 4: mode bit 0x04 (drive on Y), else 0x02 (drive on X)
  bool threeAxisRotary = false;  // option bit 3
  bool noSeekOriginXY = false;   // option bit 6
  bool airOn = false;            // air valve on for this job
  double xRange = 0, yRange = 0;       // mm
  double stepX = 0, stepY = 0;         // micrometres per step
  double resetSpeed = 0, secondPenUpSpeed = 0, penDownSpeed = 0;
  bool auxiliarySpeedOn = false;
  double auxiliarySpeed = 0;
  int machineType = 0;  // 0, 1 or 2: chooses the speed constant
  int startDelay = 0, normalDelay = 0, strokeEndDelay = 0, dotTime = 0, laser = 0;
  int needleDelayBefore = 0, needleDelayAfter = 0;  // ms, 0..10000
};

// The speed constant of a machine type (122.1, 188.1 or 250.1).
double SpeedConstant(int machineType);
// The 28-byte parameter block.
std::array<BYTE, kParameterBlockSize> BuildParameterBlock(const ParameterBlockInput& in);
// The 4-byte speed block. Frequency is clamped to 1..500 and duty to 0..100,
// and the clamped values are written back.
std::array<BYTE, kSpeedBlockSize> BuildSpeedBlock(int& frequency, double& duty);
// divider = 14745600 / (f * 512) truncated to 16 bits, for f already clamped.
std::uint16_t PulseDivider(int frequency);

// How a reply answers a command.
struct ReplyVerdict {
  bool signal = false;    // false: the type has no check, the waiter runs into its time-out
  bool good = false;
  bool resend = false;    // the board asked for the command again (framed)
  bool stop = false;      // the board asked to stop (sets the stop-request bit)
  int originStatus = -1;  // byte 0 of an origin reply, -1 when none
};
// Judges reply bytes for a command type. `stopAlreadyRequested` is the
// stop-request bit before the reply (a stream reply counts as good then).
ReplyVerdict JudgeReply(int type, const BYTE* reply, int length, bool framed, bool stopAlreadyRequested);
