// The card's channels: digital outputs and inputs, analogue outputs, the PWM
// generator and the EEPROM. A write that fails makes the call fail.
#include <array>

#include "libs/orvaliodll/OrvalioState.h"
#include "libs/orvaliodll/Orvaliodll.h"
#include "platform/Prompt.h"

namespace {

using orvalio::TheState;

// Low-byte ports of analogue channels 1 to 4; writing one loads its channel.
constexpr std::array<std::uint32_t, 4> kDaLowByte = {8, 11, 12, 15};

constexpr std::uint8_t kEepromDevice = 0x50;
constexpr std::uint8_t kTimer0RateGenerator = 0x34;  // counter 0, low then high byte, mode 2, binary
constexpr std::uint8_t kTimer1OneShot = 0x72;        // counter 1, low then high byte, mode 1, binary
constexpr std::uint32_t kMaxPwmFrequency = 100000;
constexpr std::uint32_t kMaxPwmClock = 10000000;
// A timer counter holds 16 bits, and a rate generator needs a count of 2 at least.
constexpr float kMinPeriodCount = 2;
constexpr float kMaxPeriodCount = 65535;

std::uint32_t Port(std::uint32_t offset) { return TheState().cardBase + offset; }

// The 8-bit mask of a bit number; numbers 8 to 31 (mod 32) give none.
std::uint8_t BitMask(std::uint32_t bit) { return static_cast<std::uint8_t>((1u << (bit % 32)) & 0xFF); }

// A timer count as two bytes, low first.
bool WriteCount(std::uint32_t index, std::uint32_t port, float count) {
  const auto low = static_cast<std::uint8_t>(static_cast<std::uint32_t>(count) & 0xFF);
  const auto high = static_cast<std::uint8_t>(static_cast<std::uint32_t>(count / 256) & 0xFF);
  return CH365mWriteIoByte(index, port, low) && CH365mWriteIoByte(index, port, high);
}

}  // namespace

extern "C" {

int Set_Do_Byte(std::uint8_t value, std::uint32_t index) {
  return CH365mWriteIoByte(index, Port(orvalio::kDigitalPort), value);
}
int Set_Do_Word(std::uint16_t value, std::uint32_t index) {
  return CH365mWriteIoWord(index, Port(orvalio::kDigitalPort), value);
}
int Set_Do_Dword(std::uint32_t value, std::uint32_t index) {
  return CH365mWriteIoDword(index, Port(orvalio::kDigitalPort), value);
}

// The inputs are read on the opened bridge; a failed read gives 0.
std::uint8_t Get_Di_Byte(std::uint32_t /*index*/) {
  std::uint8_t value = 0;
  return CH365mReadIoByte(TheState().openedIndex, Port(orvalio::kDigitalPort), &value) ? value : 0;
}
std::uint16_t Get_Di_Word(std::uint32_t /*index*/) {
  std::uint16_t value = 0;
  return CH365mReadIoWord(TheState().openedIndex, Port(orvalio::kDigitalPort), &value) ? value : 0;
}
std::uint32_t Get_Di_Dword(std::uint32_t /*index*/) {
  std::uint32_t value = 0;
  return CH365mReadIoDword(TheState().openedIndex, Port(orvalio::kDigitalPort), &value) ? value : 0;
}

int Set_Do_Bit(std::uint32_t bit, int on, std::uint32_t index) {
  if (TheState().cardBase > orvalio::kMaxCardBase) return 0;
  const std::uint8_t mask = BitMask(bit);
  const std::uint8_t shadow = on != 0 ? (TheState().doShadow | mask) : (TheState().doShadow & ~mask);
  TheState().doShadow = shadow;
  return Set_Do_Byte(shadow, index);
}

int Get_Di_Bit(std::uint32_t bit, std::uint32_t index) {
  if (TheState().cardBase > orvalio::kMaxCardBase) return 2;
  return (Get_Di_Byte(index) & BitMask(bit)) != 0 ? 1 : 0;
}

int Set_Da_Value(std::uint8_t channel, std::uint32_t value, std::uint32_t index) {
  // The bridge serves 16 device indexes; a larger one has no bridge to write to.
  if (channel < 1 || channel > kDaLowByte.size() || index >= ch365::kMaxDevices) return 0;
  const bool high = CH365mWriteIoByte(index, Port(orvalio::kDaHighByte), static_cast<std::uint8_t>(value >> 8));
  const bool low = CH365mWriteIoByte(index, Port(kDaLowByte[channel - 1]), static_cast<std::uint8_t>(value));
  return high && low ? 1 : 0;
}

int Set_Da_3d(std::uint32_t x, std::uint32_t y, std::uint32_t z, std::uint32_t index) {
  const int a = Set_Da_Value(1, x, index);
  const int b = Set_Da_Value(2, y, index);
  const int c = Set_Da_Value(3, z, index);
  return a && b && c ? 1 : 0;
}

int Set_Pwm_Out(std::uint32_t frequency, float duty, std::uint32_t clock, std::uint32_t index) {
  const bool argumentsFit = frequency >= 1 && frequency <= kMaxPwmFrequency && duty > 0 && duty <= 1 &&
                            clock <= kMaxPwmClock;
  const float period = argumentsFit ? static_cast<float>(clock) / static_cast<float>(frequency) : 0;
  // The period count must fit the 16-bit counter; a larger one would be cut
  // to its low 16 bits and give a wrong frequency.
  if (!argumentsFit || period < kMinPeriodCount || period > kMaxPeriodCount) {
    platform::MessageBox("Set_Pwm_Out函数调用参数错误", "错误", MB_OK);
    return 0;
  }
  const float low = (1 - duty) * period;
  const bool ok = CH365mWriteIoByte(index, Port(orvalio::kTimerControl), kTimer0RateGenerator) &&
                  WriteCount(index, Port(orvalio::kTimerCounter0), period) &&
                  CH365mWriteIoByte(index, Port(orvalio::kTimerControl), kTimer1OneShot) &&
                  WriteCount(index, Port(orvalio::kTimerCounter1), low);
  return ok ? 1 : 0;
}

int WriteI2C_Rom(std::uint8_t address, std::uint8_t value, std::uint32_t index) {
  CH365mWriteIoByte(index, TheState().ioBase + ch365::kRegI2cControl, 0);
  if (!CH365mWriteI2C(index, kEepromDevice, address, value)) {
    orvalio::ShowError("写数据失败！");
    return 0;
  }
  return 1;
}

int ReadI2C_Rom(std::uint8_t address, std::uint8_t* value, std::uint32_t index) {
  CH365mWriteIoByte(index, TheState().ioBase + ch365::kRegI2cControl, 0);
  std::uint8_t byte = 0xFF;
  if (value == nullptr || !CH365mReadI2C(index, kEepromDevice, address, &byte)) {
    orvalio::ShowError("读数据失败！");
    return 0;
  }
  *value = byte;
  return 1;
}

}  // extern "C"
