#pragma once
// The Orvalio I/O card (a CH365 card with digital inputs and outputs, four
// analogue outputs, a PWM generator made of two timer counters, and an I2C
// EEPROM) for outside programs. Open the bridge, initialise, set the card's
// port base when its ports do not start at offset 0, then use the channels.
#include <cstdint>

#include "libs/drunvel/Drunvel.h"

#define ORVALIO_API __attribute__((visibility("default")))

extern "C" {

ORVALIO_API std::uint32_t Get_Cpu_Speed();
ORVALIO_API int OrvalioAddrRefresh(std::uint32_t index);
// text receives the library version as lower-case hexadecimal (at most 9 bytes).
ORVALIO_API int OrvalioGetDllVersion(char* text);
ORVALIO_API int OrvalioSetA15_A8(std::uint8_t value, std::uint32_t index);
ORVALIO_API std::uint16_t SetBaseAddr(std::uint16_t port);
ORVALIO_API CH365_HANDLE OrvalioOpenDevice(int enableMemory, int enableInterrupt, std::uint32_t index);
ORVALIO_API int OrvalioCloseDevice(std::uint32_t unused);
ORVALIO_API std::uint32_t OrvalioGetDrvVersion();
ORVALIO_API int Orvalio_InitDevice(std::uint32_t index);
ORVALIO_API int Orvalio_SetSpeed(std::uint32_t mode, std::uint32_t index);

ORVALIO_API int Delay_HardWareUS(std::uint32_t count);
// count in half microseconds.
ORVALIO_API int Delay_US(std::int64_t count);
ORVALIO_API int Delay_10NS(std::int64_t count, std::uint32_t speed);

ORVALIO_API int Set_Do_Bit(std::uint32_t bit, int on, std::uint32_t index);
ORVALIO_API int Set_Do_Byte(std::uint8_t value, std::uint32_t index);
ORVALIO_API int Set_Do_Word(std::uint16_t value, std::uint32_t index);
ORVALIO_API int Set_Do_Dword(std::uint32_t value, std::uint32_t index);
ORVALIO_API int Get_Di_Bit(std::uint32_t bit, std::uint32_t index);
ORVALIO_API std::uint8_t Get_Di_Byte(std::uint32_t index);
ORVALIO_API std::uint16_t Get_Di_Word(std::uint32_t index);
ORVALIO_API std::uint32_t Get_Di_Dword(std::uint32_t index);

// channel 1 to 4; bits 0 to 15 of value are used.
ORVALIO_API int Set_Da_Value(std::uint8_t channel, std::uint32_t value, std::uint32_t index);
ORVALIO_API int Set_Da_3d(std::uint32_t x, std::uint32_t y, std::uint32_t z, std::uint32_t index);
ORVALIO_API int Set_Pwm_Out(std::uint32_t frequency, float duty, std::uint32_t clock, std::uint32_t index);

ORVALIO_API int WriteI2C_Rom(std::uint8_t address, std::uint8_t value, std::uint32_t index);
ORVALIO_API int ReadI2C_Rom(std::uint8_t address, std::uint8_t* value, std::uint32_t index);

}  // extern "C"
