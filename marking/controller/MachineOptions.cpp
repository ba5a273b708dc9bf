#include "marking/controller/MachineOptions.h"

#include "values/ShellValues.h"

MachineOptions MachineOptionsFrom(const MachineSetRecord& r) {
  MachineOptions o;
  o.originCorner = r.originCorner;
  o.frequencyGeneratorOn = r.boardOption;
  o.pulseFrequency = r.pulseFrequency;
  o.pulseDuty = r.pulseDuty;
  o.rotaryLeadInOn = r.eliminateSpaceSwitch;
  o.rotaryLeadIn = r.eliminateSpaceValue;
  // The jog window's position grid: 0..8 a handle of the bounds, 9 "No effect".
  o.startAtHandle = r.openJogAtStart;
  o.handleIndex = r.jogPositionIndex;
  o.rotaryRampOn = r.applyDithering;
  o.rotaryRampFactor = r.ditherRotateFactor;
  o.rotarySettleMs = r.ditherStableTime;
  return o;
}

MachineOptions CurrentMachineOptions() { return MachineOptionsFrom(MachineSettings); }
