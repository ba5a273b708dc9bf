#pragma once
// Machine state of the marking side that the view, the port code and the
// controller share: the port level byte, the last input byte read, and the
// start-mark delay of the parameter page. Written from several threads.
#include <atomic>
#include <cstdint>

// Port level byte: bit 0 X origin level, bit 1 Y origin level, bit 2 needle
// down level, bit 3 needle up level (bits 4-7: the port word lines).
extern std::atomic<int> PortLevelByte;
// Last byte read from the input port by an origin seek (bit 6 chooses the
// objects of selectors 1 and 2).
extern std::atomic<int> LastInputByte;
// Delay owed once per job before the first marking move, in ms; used when
// 1..600000. Kept in the registry as "StartMarkDelay".
extern std::atomic<int> StartMarkDelay;

// The rotary drive is on X exactly when it is not on Y.
int XReplacesZ();
