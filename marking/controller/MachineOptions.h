#pragma once
// The machine settings the marking controller reads straight from the shell's
// settings record (the rest reaches it through the document's parameter
// record), named for what they do in a job.
#include "values/MachineSetRecord.h"

struct MachineOptions {
  int originCorner = 0;           // 0 left-top, 1 left-bottom, 2 right-top, 3 right-bottom
  int frequencyGeneratorOn = 0;   // send the pulse frequency at job start ("Update frequent")
  int pulseFrequency = 0;         // Hz, 1..500 once sent
  double pulseDuty = 0;           // percent
  int rotaryLeadInOn = 0;         // "eliminate un-dir space"
  double rotaryLeadIn = 0;        // mm, -20..20
  int startAtHandle = 0;          // start the job at a handle of its bounds
  int handleIndex = 9;            // 0..8 the handle, 9 none
  int rotaryRampOn = 0;           // "Apply dithering"
  double rotaryRampFactor = 1;    // "Rotate factor"
  int rotarySettleMs = 0;         // "stable time" after three-axis rotary moves
};

MachineOptions MachineOptionsFrom(const MachineSetRecord& record);
// From the shell's record of this run.
MachineOptions CurrentMachineOptions();
