// The device-0 family: each function is its CH365m twin on device index 0.
#include "libs/drunvel/Drunvel.h"

extern "C" {

CH365_HANDLE CH365OpenDevice(int enableMemory, int enableInterrupt) {
  return CH365mOpenDevice(0, enableMemory, enableInterrupt);
}
int CH365CloseDevice() { return CH365mCloseDevice(0); }
std::uint32_t CH365DriverCommand(CH365_CMD_BLOCK* block) { return CH365mDriverCommand(0, block); }
int CH365GetIoBaseAddr(std::uint32_t* base) { return CH365mGetIoBaseAddr(0, base); }
int CH365SetIoBaseAddr(std::uint32_t base) { return CH365mSetIoBaseAddr(0, base); }
int CH365GetMemBaseAddr(std::uint32_t* base) { return CH365mGetMemBaseAddr(0, base); }
int CH365SetMemBaseAddr(std::uint32_t base) { return CH365mSetMemBaseAddr(0, base); }
int CH365GetIntLine(std::uint32_t* line) { return CH365mGetIntLine(0, line); }
int CH365SetIntLine(std::uint32_t line) { return CH365mSetIntLine(0, line); }
int CH365WaitInterrupt() { return CH365mWaitInterrupt(0); }
int CH365AbortWaitInt() { return CH365mAbortWaitInt(0); }
int CH365SetIntRoutine(CH365_INT_ROUTINE routine) { return CH365mSetIntRoutine(0, routine); }
int CH365ReadIntCommand(std::uint8_t* buffer, std::uint32_t number) { return CH365mReadIntCommand(0, buffer, number); }
int CH365WriteIntCommand(const CH365_CMD_BLOCK* block, std::uint32_t number) {
  return CH365mWriteIntCommand(0, block, number);
}
int CH365ReadIoByte(std::uint32_t address, std::uint8_t* value) { return CH365mReadIoByte(0, address, value); }
int CH365ReadIoWord(std::uint32_t address, std::uint16_t* value) { return CH365mReadIoWord(0, address, value); }
int CH365ReadIoDword(std::uint32_t address, std::uint32_t* value) { return CH365mReadIoDword(0, address, value); }
int CH365WriteIoByte(std::uint32_t address, std::uint8_t value) { return CH365mWriteIoByte(0, address, value); }
int CH365WriteIoWord(std::uint32_t address, std::uint16_t value) { return CH365mWriteIoWord(0, address, value); }
int CH365WriteIoDword(std::uint32_t address, std::uint32_t value) { return CH365mWriteIoDword(0, address, value); }
int CH365ReadMemByte(std::uint32_t address, std::uint8_t* value) { return CH365mReadMemByte(0, address, value); }
int CH365ReadMemDword(std::uint32_t address, std::uint32_t* value) { return CH365mReadMemDword(0, address, value); }
int CH365WriteMemByte(std::uint32_t address, std::uint8_t value) { return CH365mWriteMemByte(0, address, value); }
int CH365WriteMemDword(std::uint32_t address, std::uint32_t value) { return CH365mWriteMemDword(0, address, value); }
int CH365ReadConfig(std::uint32_t offset, std::uint8_t* value) { return CH365mReadConfig(0, offset, value); }
int CH365WriteConfig(std::uint32_t offset, std::uint8_t value) { return CH365mWriteConfig(0, offset, value); }
int CH365SetA15_A8(std::uint8_t value) { return CH365mSetA15_A8(0, value); }
int CH365ReadI2C(std::uint8_t device, std::uint8_t address, std::uint8_t* value) {
  return CH365mReadI2C(0, device, address, value);
}
int CH365WriteI2C(std::uint8_t device, std::uint8_t address, std::uint8_t value) {
  return CH365mWriteI2C(0, device, address, value);
}

}  // extern "C"
