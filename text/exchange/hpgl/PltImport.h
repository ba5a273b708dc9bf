#pragma once
// HPGL plot file (.plt) readers. Three plotter dialects are told apart by
// fixed byte patterns; each has its own reader with one two-pass contract:
// called with null arrays the reader only counts the coordinate values (two
// per point) into *capacity; called again with arrays it fills them.
#include <string>

#include "platform/WinTypes.h"

// More values than this are refused instead of allocated (4 million points).
// The counting pass stops soon after it passes them.
constexpr int kPltMaxValues = 1 << 23;

// Plotter units to millimetres.
constexpr double kPltScaleDialect1And3 = 0.024888003982080638;  // 1/40.18
constexpr double kPltScaleDialect2 = 0.025;                     // 1/40

// Pen flags of the points.
constexpr BYTE kPltPenUp = 0;    // travel to the point
constexpr BYTE kPltPenDown = 1;  // draw to the point

// Reader status values.
constexpr int kPltStatusEnd = 1;       // the plot's end command was met
constexpr int kPltStatusNoEnd = 2;     // the data ended without an end command
constexpr int kPltStatusNoFile = 4;    // the file cannot be opened
constexpr int kPltStatusTooShort = 8;  // the file is too short or holds no data

// Reader results.
constexpr int kPltResultFilled = 4;   // at least two values counted and stored
constexpr int kPltResultNone = 0;
constexpr int kPltResultNoHeader = -1;

// 1, 2 or 3 for a supported plotter dialect, 0 otherwise (also when the file
// cannot be opened).
int DetectPltDialect(const std::string& path);

// values: x and y alternately in mm; penFlags: one per point. With either
// array null the call counts only: *capacity is reset to 0 and receives the
// number of values, or a number past kPltMaxValues when there are more (the
// rest of the file is not read). With both arrays, *capacity is their room in doubles
// (the flag array must hold (*capacity + 1) / 2 bytes); values beyond the room
// are not stored but raise *capacity. *valueCount receives the values stored.
int ImportPltDialect1(const std::string& path, double* values, BYTE* penFlags, int* capacity, int* valueCount,
                      int* status);
int ImportPltDialect2(const std::string& path, double* values, BYTE* penFlags, int* capacity, int* valueCount,
                      int* status);
int ImportPltDialect3(const std::string& path, double* values, BYTE* penFlags, int* capacity, int* valueCount,
                      int* status);
