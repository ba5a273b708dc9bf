#pragma once
// How the motion card libraries export a routine: a plain C symbol, visible
// outside the library while everything else stays hidden. The card's own
// system called them with the standard calling convention; on x86-64 Linux
// there is one calling convention, so the symbols carry only their names.
#define QM318_API extern "C" __attribute__((visibility("default")))

// The polling callback of the motion routines: no arguments, no result.
using QM318_CALLBACK = void (*)();
