// Plot files with "IN;", "WU0;" and a pen select in their header: commands
// split at ';' (a line break may start each), "PUx y" and "PDx y" in
// 1/40.18 mm, "SP0" ends the plot.
#include <algorithm>

#include "text/exchange/hpgl/PltFile.h"
#include "text/exchange/hpgl/PltHeaders.h"
#include "text/exchange/hpgl/PltImport.h"
#include "text/exchange/hpgl/PltPointSink.h"
#include "text/exchange/hpgl/PltReadOutcome.h"
#include "text/exchange/hpgl/PltToken.h"

namespace {

constexpr std::int64_t kMinSize = 108;

// "XXx y": x is the first space-separated number after the first two
// characters, y the number after it up to a ','. Both must be there.
bool ParseCoordinate(const std::string& token, double& x, double& y) {
  std::size_t i = 2;
  while (i < token.size() && token[i] == ' ') ++i;
  const std::size_t xEnd = std::min(token.find(' ', i), token.size());
  if (xEnd == i || xEnd >= token.size()) return false;
  std::size_t j = xEnd;
  while (j < token.size() && token[j] == ' ') ++j;
  const std::size_t yEnd = std::min(token.find(',', j), token.size());
  return ParsePltNumber(token.substr(i, xEnd - i), x) && ParsePltNumber(token.substr(j, yEnd - j), y);
}

// Where the plot data starts: at "LT;" when it follows the first byte, else at
// the last of the pens' first selects. -1 when the header is not this dialect's.
long DataStart(const std::string& header) {
  if (FindIn(header, "IN;") < 0 || FindIn(header, "WU0;", 1) < 1) return -1;
  bool penAfterStart = false;
  long lastSelect = -1;
  for (int pen = 1; pen <= 8; ++pen) {
    if (FindIn(header, PltPenSelect(pen), 1) >= 1) penAfterStart = true;
    lastSelect = std::max(lastSelect, FindIn(header, PltPenSelect(pen)));
  }
  if (!penAfterStart) return -1;
  const long lt = FindIn(header, "LT;");
  return lt > 0 ? lt : lastSelect;
}

}  // namespace

int ImportPltDialect3(const std::string& path, double* values, BYTE* penFlags, int* capacity, int* valueCount,
                      int* status) {
  PltFile file(path);
  if (!BeginPltRead(file, kMinSize, valueCount, status)) return kPltResultNone;
  const long start = DataStart(file.ReadHeader());
  if (start < 0) return kPltResultNoHeader;
  PltPointSink sink(values, penFlags, *capacity);
  if (!file.StartStream(start)) {
    *status = kPltStatusTooShort;
    return kPltResultNoHeader;
  }

  PltToken token;
  int lead = 0;  // 0: a carriage return may be skipped, 1: a line feed may, 2: neither
  bool more = true;
  while (more && !sink.CountPassed()) {
    char c = 0;
    more = file.NextByte(c);
    if (more && c != ';') {
      if (lead == 0 && c == '\r') {
        lead = 1;
      } else if (lead <= 1 && c == '\n') {
        lead = 2;
      } else {
        lead = 2;
        token.Append(c);
      }
      continue;
    }
    lead = 0;
    if (token.Empty()) continue;
    const std::string& t = token.Text();
    if (!token.Overlong() && t != "LT") {
      if (t.size() == 3 && t[0] == 'S' && t[1] == 'P') {
        if (t[2] == '0') {
          *status = kPltStatusEnd;
          break;
        }
      } else {
        double x = 0, y = 0;
        if (ParseCoordinate(t, x, y))
          sink.Add(x * kPltScaleDialect1And3, y * kPltScaleDialect1And3, t[1] == 'U' ? kPltPenUp : kPltPenDown);
      }
    }
    token.Clear();
  }
  return FinishPltRead(sink, capacity, valueCount);
}
