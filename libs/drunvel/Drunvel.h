#pragma once
// Access to boards built on the CH365 PCI bridge, for up to 16 bridges by
// device index. The CH365m functions take the index first; the CH365
// functions without the m act on device 0. BOOL results are 1 or 0.
#include <cstdint>

#include "libs/ch365bus/Ch365Commands.h"

#define DRUNVEL_API __attribute__((visibility("default")))

using CH365_HANDLE = std::intptr_t;  // -1: not open
using CH365_INT_ROUTINE = void (*)();
constexpr CH365_HANDLE CH365_INVALID_HANDLE = -1;

extern "C" {

DRUNVEL_API CH365_HANDLE CH365mOpenDevice(std::uint32_t index, int enableMemory, int enableInterrupt);
DRUNVEL_API int CH365mCloseDevice(std::uint32_t index);
DRUNVEL_API std::uint32_t CH365mDriverCommand(std::uint32_t index, CH365_CMD_BLOCK* block);
DRUNVEL_API int CH365mGetIoBaseAddr(std::uint32_t index, std::uint32_t* base);
DRUNVEL_API int CH365mSetIoBaseAddr(std::uint32_t index, std::uint32_t base);
DRUNVEL_API int CH365mGetMemBaseAddr(std::uint32_t index, std::uint32_t* base);
DRUNVEL_API int CH365mSetMemBaseAddr(std::uint32_t index, std::uint32_t base);
DRUNVEL_API int CH365mGetIntLine(std::uint32_t index, std::uint32_t* line);
DRUNVEL_API int CH365mSetIntLine(std::uint32_t index, std::uint32_t line);
DRUNVEL_API int CH365mWaitInterrupt(std::uint32_t index);
DRUNVEL_API int CH365mAbortWaitInt(std::uint32_t index);
DRUNVEL_API int CH365mSetIntRoutine(std::uint32_t index, CH365_INT_ROUTINE routine);
// buffer holds 32780 bytes.
DRUNVEL_API int CH365mReadIntCommand(std::uint32_t index, std::uint8_t* buffer, std::uint32_t number);
DRUNVEL_API int CH365mWriteIntCommand(std::uint32_t index, const CH365_CMD_BLOCK* block, std::uint32_t number);
DRUNVEL_API int CH365mReadIoByte(std::uint32_t index, std::uint32_t address, std::uint8_t* value);
DRUNVEL_API int CH365mReadIoWord(std::uint32_t index, std::uint32_t address, std::uint16_t* value);
DRUNVEL_API int CH365mReadIoDword(std::uint32_t index, std::uint32_t address, std::uint32_t* value);
DRUNVEL_API int CH365mWriteIoByte(std::uint32_t index, std::uint32_t address, std::uint8_t value);
DRUNVEL_API int CH365mWriteIoWord(std::uint32_t index, std::uint32_t address, std::uint16_t value);
DRUNVEL_API int CH365mWriteIoDword(std::uint32_t index, std::uint32_t address, std::uint32_t value);
DRUNVEL_API int CH365mReadMemByte(std::uint32_t index, std::uint32_t address, std::uint8_t* value);
DRUNVEL_API int CH365mReadMemDword(std::uint32_t index, std::uint32_t address, std::uint32_t* value);
DRUNVEL_API int CH365mWriteMemByte(std::uint32_t index, std::uint32_t address, std::uint8_t value);
DRUNVEL_API int CH365mWriteMemDword(std::uint32_t index, std::uint32_t address, std::uint32_t value);
DRUNVEL_API int CH365mReadConfig(std::uint32_t index, std::uint32_t offset, std::uint8_t* value);
DRUNVEL_API int CH365mWriteConfig(std::uint32_t index, std::uint32_t offset, std::uint8_t value);
DRUNVEL_API int CH365mSetA15_A8(std::uint32_t index, std::uint8_t value);
DRUNVEL_API int CH365mReadI2C(std::uint32_t index, std::uint8_t device, std::uint8_t address, std::uint8_t* value);
DRUNVEL_API int CH365mWriteI2C(std::uint32_t index, std::uint8_t device, std::uint8_t address, std::uint8_t value);
// type: a command code 16 to 30.
DRUNVEL_API int CH365mAccessBlock(std::uint32_t index, std::uint32_t type, std::uint32_t address, void* buffer,
                                  std::uint32_t length);
DRUNVEL_API int CH365mSetExclusive(std::uint32_t index, int exclusive);

DRUNVEL_API CH365_HANDLE CH365OpenDevice(int enableMemory, int enableInterrupt);
DRUNVEL_API int CH365CloseDevice();
DRUNVEL_API std::uint32_t CH365GetVersion();
DRUNVEL_API std::uint32_t CH365GetDrvVersion();
DRUNVEL_API std::uint32_t CH365DriverCommand(CH365_CMD_BLOCK* block);
DRUNVEL_API int CH365GetIoBaseAddr(std::uint32_t* base);
DRUNVEL_API int CH365SetIoBaseAddr(std::uint32_t base);
DRUNVEL_API int CH365GetMemBaseAddr(std::uint32_t* base);
DRUNVEL_API int CH365SetMemBaseAddr(std::uint32_t base);
DRUNVEL_API int CH365GetIntLine(std::uint32_t* line);
DRUNVEL_API int CH365SetIntLine(std::uint32_t line);
DRUNVEL_API int CH365WaitInterrupt();
DRUNVEL_API int CH365AbortWaitInt();
DRUNVEL_API int CH365SetIntRoutine(CH365_INT_ROUTINE routine);
DRUNVEL_API int CH365ReadIntCommand(std::uint8_t* buffer, std::uint32_t number);
DRUNVEL_API int CH365WriteIntCommand(const CH365_CMD_BLOCK* block, std::uint32_t number);
DRUNVEL_API int CH365ReadIoByte(std::uint32_t address, std::uint8_t* value);
DRUNVEL_API int CH365ReadIoWord(std::uint32_t address, std::uint16_t* value);
DRUNVEL_API int CH365ReadIoDword(std::uint32_t address, std::uint32_t* value);
DRUNVEL_API int CH365WriteIoByte(std::uint32_t address, std::uint8_t value);
DRUNVEL_API int CH365WriteIoWord(std::uint32_t address, std::uint16_t value);
DRUNVEL_API int CH365WriteIoDword(std::uint32_t address, std::uint32_t value);
DRUNVEL_API int CH365ReadMemByte(std::uint32_t address, std::uint8_t* value);
DRUNVEL_API int CH365ReadMemDword(std::uint32_t address, std::uint32_t* value);
DRUNVEL_API int CH365WriteMemByte(std::uint32_t address, std::uint8_t value);
DRUNVEL_API int CH365WriteMemDword(std::uint32_t address, std::uint32_t value);
DRUNVEL_API int CH365ReadConfig(std::uint32_t offset, std::uint8_t* value);
DRUNVEL_API int CH365WriteConfig(std::uint32_t offset, std::uint8_t value);
DRUNVEL_API int CH365SetA15_A8(std::uint8_t value);
DRUNVEL_API int CH365ReadI2C(std::uint8_t device, std::uint8_t address, std::uint8_t* value);
DRUNVEL_API int CH365WriteI2C(std::uint8_t device, std::uint8_t address, std::uint8_t value);
// Busy wait timed by the first open bridge's counter; 0 when none is open.
DRUNVEL_API int CH365DelayUS(std::uint32_t micros);

}  // extern "C"
