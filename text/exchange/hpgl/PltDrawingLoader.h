#pragma once
// Reads a plot file into points the way the PLT list takes a drawing: detect
// the dialect, count, fill caller-sized arrays, accept only a finished plot.
#include <string>
#include <vector>

#include "document/geometry/CDoublePoint.h"
#include "text/exchange/hpgl/PltImport.h"

inline constexpr const char* kPltDialectMessage =
    "PLT is must AutoCad R14(HP_7475)\nor AutoCad R2000(HP_7550A)\nor Coreldraw9";
inline constexpr const char* kPltDataErrorMessage = "some image data had error!";

struct PltDrawing {
  int dialect = 0;       // 0: not a supported plot file
  bool tooLarge = false;  // counted more values than kPltMaxValues
  bool dataShort = false;  // the filling pass stored fewer values than counted
  bool accepted = false;   // filled with result 4 and the end command met
  // x, y in mm; flag bit 0 set when drawn to (pen down).
  std::vector<CDoublePoint> points;
};

PltDrawing LoadPltDrawing(const std::string& path);
