#include "marking/controller/ControllerState.h"

#include "document/path/StepNodes.h"

std::atomic<int> PortLevelByte{0};
std::atomic<int> LastInputByte{0};
std::atomic<int> StartMarkDelay{0};

int XReplacesZ() { return YReplacesZ.load() ? 0 : 1; }
