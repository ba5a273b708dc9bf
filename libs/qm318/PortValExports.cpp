// GetPortVal and SetPortVal as both libraries export them. Their decorated
// standard-call names end in "@12", which an ELF symbol cannot carry ('@'
// marks a symbol version there), so they keep the decorated name's
// leading underscore: _GetPortVal and _SetPortVal.
#include "libs/qm318/PortDriver.h"
#include "libs/qm318/Qm318Api.h"

QM318_API bool Qm318GetPortVal(WORD port, DWORD* value, BYTE size) __asm__("_GetPortVal");
QM318_API bool Qm318SetPortVal(WORD port, DWORD value, BYTE size) __asm__("_SetPortVal");

QM318_API bool Qm318GetPortVal(WORD port, DWORD* value, BYTE size) { return qm318::PortValRead(port, value, size); }
QM318_API bool Qm318SetPortVal(WORD port, DWORD value, BYTE size) { return qm318::PortValWrite(port, value, size); }
