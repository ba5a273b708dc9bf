#pragma once
// Import of ASCII DXF drawings (LINE, LWPOLYLINE, CIRCLE, ARC, ELLIPSE, POINT,
// TEXT, SPLINE by its control points). Coordinates are taken as drawing
// millimetres; Z is ignored. What it leaves out is counted in its report.
#include <cstdint>
#include <string>
#include <vector>

// Pen flags of the points.
constexpr std::uint8_t kDxfPenUp = 0;    // travel to the point
constexpr std::uint8_t kDxfPenDown = 1;  // draw to the point
constexpr std::uint8_t kDxfDot = 6;      // a single dot (POINT entity)

// Status values.
constexpr int kDxfStatusRead = 1;    // the file was opened and read to its end
constexpr int kDxfStatusNoFile = 4;  // not opened (the same value as the plotter readers)

// Entities of one kind that an import left out of the drawing.
struct DxfLeftOut {
  // The entity's name, with the reason where the kind is one the reader
  // draws ("SPLINE (fit points only)", "TEXT (style not defined)"); kinds
  // it does not draw go by their name ("HATCH"), names that are no entity
  // name (and kinds past the first 16) as "other entities".
  std::string what;
  int count = 0;
};

// What an import could not draw, for the caller to tell.
struct DxfImportReport {
  // Font files that TEXT entities needed and that did not open, each once, in
  // the order met, named as the drawing's styles name them.
  std::vector<std::string> missingFonts;
  // The entities of the drawing (its blocks and its entities) left out, each
  // kind once in the order met.
  std::vector<DxfLeftOut> leftOut;
};

// More values than a drawing may hold (the plot list's limit): the counting
// pass stops soon after it passes them.
constexpr int kDxfMaxValues = 1 << 23;

constexpr int kDxfResultFilled = 4;
constexpr int kDxfResultNone = 0;

// Two passes. With values or flags null, or *capacity 0, the call counts:
// *capacity is reset and receives the number of values (two per point), or a
// number past kDxfMaxValues when there are more (the rest of the file is not
// read and the report covers only what was), and the result is 0. Otherwise *capacity is the room of values in doubles (flags
// must hold *capacity / 2 bytes): points are written from index 0 on, never
// beyond the room; when the file yields more, *capacity is raised to what it
// yields. *valueCount receives the values written. Result 4 when the room is
// above 3 and more than 3 values were written, else 0. TEXT entities are drawn
// with the stroke fonts of installFolder's "Fonts" folder, each font file read
// once per call; the report, when given, names the fonts that were missing.
int ImportDxfFile(const std::string& path, double* values, std::uint8_t* flags, int* capacity, int* valueCount,
                  int* status, const std::string& installFolder, DxfImportReport* report = nullptr);
// The same with the installation folder the texts use (FontPath).
int ImportDxfFile(const std::string& path, double* values, std::uint8_t* flags, int* capacity, int* valueCount,
                  int* status);
