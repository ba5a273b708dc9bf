#pragma once
// Ravelpen: drives a two-axis stepper marking head with a pen or needle
// solenoid (and an optional rotary Z axis) through the parallel port. A host
// opens the port, sets the machine, builds a list of moves in millimetres
// (moves, lines, arcs, shapes, SHX texts, traced bitmaps), starts it and
// polls the state while a playback thread homes the head and steps the list.
//
// Calling order: OnOpenPort; InitialPrinter, InitialRange, OnSetStepLength,
// OnSetMachineOrigin, SetTextPara as needed; the move and shape calls;
// PrinterStart; GetPrinterState until 0 (PrinterEnd stops early);
// OnShutDownPort. PrintBmp builds and starts a job in one call.
#if defined(RAVELPEN_BUILD)
#define RAVELPEN_API __attribute__((visibility("default")))
#else
#define RAVELPEN_API
#endif

#ifndef __cplusplus
#include <stdbool.h>
#endif

#ifdef __cplusplus
extern "C" {
#endif

RAVELPEN_API int OnOpenPort(void);
RAVELPEN_API void OnShutDownPort(void);
RAVELPEN_API void OnUpdateMachinePara(void);
RAVELPEN_API void InitialPrinter(int emptySpeed, int lineSpeed, int backSpeed);
RAVELPEN_API void InitialRange(double width, double height);
RAVELPEN_API void OnSetStepLength(double micrometres);
RAVELPEN_API void OnSetMachineOrigin(int corner);
RAVELPEN_API void SetTextPara(double height, double angle, double widthFactor);

RAVELPEN_API int MoveToXY(double x, double y);
RAVELPEN_API int LineToXY(double x, double y);
RAVELPEN_API int PrintArc(double cx, double cy, double radius, double startAngle, double endAngle);
RAVELPEN_API int PrinterLine(double x, double y, double length, double angle);
RAVELPEN_API int PrinterTriangle(double x, double y, double radius, double angle);
RAVELPEN_API int PrinterWeldHole(double x, double y, double radius, double angle);
RAVELPEN_API int PrinterGlideHole(double x, double y, double length, double radius, double angle);
RAVELPEN_API int PrinterText(double x, double y, const char* text, int unused);
// 0 started, 1 no image, 2 settings out of range, 3 not 24 bits per pixel, 4 busy.
RAVELPEN_API int PrintBmp(const char* path);

RAVELPEN_API int PrinterStart(void);
RAVELPEN_API void PrinterEnd(void);
RAVELPEN_API int GetPrinterState(void);
RAVELPEN_API void SetPointer(int on);
RAVELPEN_API void MoveX(double unused, int away);
RAVELPEN_API void MoveY(double unused, int away);
RAVELPEN_API void RotateArixZ(long steps, long speed);
RAVELPEN_API int IsArixZeroX(void);
RAVELPEN_API int IsArixZeroY(void);
RAVELPEN_API int IsOriginXY(void);
RAVELPEN_API bool ReadKeyValue(void);

#ifdef __cplusplus
}
#endif
