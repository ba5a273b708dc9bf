#include "text/exchange/hpgl/PltHeaders.h"

std::string PltDialect2Header(int pen) { return "PU;PA0,0;SP" + std::to_string(pen) + ";LT;"; }

std::string PltPenSelect(int pen) { return "SP" + std::to_string(pen) + ";"; }
