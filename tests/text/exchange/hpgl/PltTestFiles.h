#pragma once
#include <string>
#include <vector>

#include "text/exchange/hpgl/PltImport.h"

// Path of a fixture in tests/data/plt.
std::string PltFixture(const std::string& name);
// Writes bytes to a fresh file in the test's own folder and returns its path.
std::string WritePltFile(const std::string& name, const std::string& bytes);
// A dialect-2 file: a preamble, the header with pen 1, then body.
std::string Dialect2File(const std::string& name, const std::string& body);
// A dialect-3 file: header "IN;SP1;WU0;...LT;" and body.
std::string Dialect3File(const std::string& name, const std::string& body);

using PltReaderFn = int (*)(const std::string&, double*, BYTE*, int*, int*, int*);

// Both passes of a reader, with the room the callers give (count + 100).
struct PltRead {
  int countResult = 0, counted = 0, countStatus = 0;
  int fillResult = 0, capacityAfter = 0, stored = 0, status = 0;
  std::vector<double> values;
  std::vector<BYTE> pens;
};
PltRead ReadBothPasses(PltReaderFn reader, const std::string& path, int spare = 100);
