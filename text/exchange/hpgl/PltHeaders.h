#pragma once
// Byte patterns that mark the plotter dialects.
#include <string>

// "PU;PA0,0;SP<pen>;LT;" that opens a dialect-2 plot (16 bytes).
std::string PltDialect2Header(int pen);
// "SP<pen>;", a pen select.
std::string PltPenSelect(int pen);
