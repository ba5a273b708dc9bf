#pragma once
// Small helpers many parts share: grid snapping, rounding through decimal
// text, millimetre moves to whole steps, the stop-key filter, the registry
// accessors of the configuration key and the port byte wrappers.
#include <string>

#include "document/geometry/CDoublePoint.h"
#include "platform/Messages.h"
#include "platform/WinTypes.h"

// Moves the point onto the nearest cell centre of a grid of the given steps
// (odd multiples of step / 2). A zero, negative or non-finite step leaves
// that coordinate alone. The flag is kept.
void SnapPointToGrid(CDoublePoint& point, double xStep, double yStep);

void FormatFloat1(float value, std::string& out);  // "%.1f"
void RoundFloat1(float& value);                    // through "%.1f"
void RoundFloat3(float& value);                    // through "%.3f"
void RoundDouble3(double& value);                  // through "%.3f"

// Whole steps to output now for a move of `distance` steps, carrying the
// rounding remainder (in units of `stepLength`) from move to move. The carry
// stays within half a step, so runs of moves add up to the rounded total.
int QuantizeSteps(double distance, double& carry, double stepLength);

// While a job runs, Enter, Escape or Space pressed (WM_KEYDOWN) requests a
// stop and returns 1 so the caller drops the message; else 0.
int FilterStopKey(UINT message, WPARAM key);
inline int FilterStopKey(const platform::Message& m) { return FilterStopKey(m.msg, m.wParam); }

// Values under platform::kRegistryKey. Each returns 1 on success and 0 when the
// key or value is missing or cannot be written; outputs stay untouched then.
// The key is never created here.
int ReadRegDword(DWORD& value, const std::string& name);
int WriteRegDword(DWORD value, const std::string& name);
int ReadRegFloat(float& value, const std::string& name);   // "%f" text in up to 64 bytes
int WriteRegFloat(float value, const std::string& name);   // "%f" text in 64 zero-padded bytes
// The same with the value name first and an int, as the shell calls them.
int ReadRegDword(const std::string& name, int& value);
int WriteRegDword(const std::string& name, int value);
int ReadRegFloat(const std::string& name, float& value);
int WriteRegFloat(const std::string& name, float value);

// Port bytes through GetPortVal/SetPortVal; results are not checked.
void WriteOutPort(BYTE value);
inline void WriteOutPort(const BYTE* value) { WriteOutPort(*value); }
void WriteCtrlPort(BYTE value);
void ClearCtrlPortBit0();
void ApplyCtrlPortBit0();
BYTE ReadInPort();
// Update OutputShadow for one axis (the caller writes the port): direction
// bit = (direction != 0) xor MSW_INVERT_DIR; pulse bit = active level when
// pulse != 0, rest level otherwise. pulse == 1 counts one step, +1 for
// direction 0, -1 otherwise.
void SetAxisXDirection(int direction, int pulse);
void SetAxisYDirection(int direction, int pulse);
void SetAxisZDirection(int direction, int pulse);
