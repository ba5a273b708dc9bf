// Plotter output with "PU;PA" at byte 45: commands split at ';', absolute
// coordinates "PAx,y" in 1/40.18 mm, pen words "PU"/"PD", "SP" ends the plot.
#include "text/exchange/hpgl/PltFile.h"
#include "text/exchange/hpgl/PltImport.h"
#include "text/exchange/hpgl/PltPointSink.h"
#include "text/exchange/hpgl/PltReadOutcome.h"
#include "text/exchange/hpgl/PltToken.h"

namespace {

constexpr std::int64_t kDataStart = 45;

// "XXx,y": x after the first two characters up to the first ',', y after it.
// Both numbers must be there; a torn or empty command gives no point.
bool ParseCoordinate(const std::string& token, double& x, double& y) {
  if (token.size() < 3) return false;
  const std::size_t comma = token.find(',', 2);
  if (comma == std::string::npos) return false;
  return ParsePltNumber(token.substr(2, comma - 2), x) && ParsePltNumber(token.substr(comma + 1), y);
}

}  // namespace

int ImportPltDialect1(const std::string& path, double* values, BYTE* penFlags, int* capacity, int* valueCount,
                      int* status) {
  PltFile file(path);
  if (!BeginPltRead(file, kDataStart, valueCount, status)) return kPltResultNone;
  PltPointSink sink(values, penFlags, *capacity);
  if (!file.StartStream(kDataStart)) {
    *status = kPltStatusTooShort;
    return kPltResultNoHeader;
  }

  BYTE pen = kPltPenUp;
  PltToken token;
  bool more = true;
  while (more && !sink.CountPassed()) {
    char c = 0;
    more = file.NextByte(c);
    if (more && c != ';') {
      token.Append(c);
      continue;
    }
    if (token.Empty()) continue;
    const std::string& t = token.Text();
    if (!token.Overlong()) {
      if (t == "PU") {
        pen = kPltPenUp;
      } else if (t == "PD") {
        pen = kPltPenDown;
      } else if (t == "SP") {
        *status = kPltStatusEnd;
        break;
      } else if (t.size() == 3 && t[0] == 'S' && t[1] == 'P' && t[2] >= '0' && t[2] <= '9') {
        // a pen select
      } else {
        double x = 0, y = 0;
        if (ParseCoordinate(t, x, y)) sink.Add(x * kPltScaleDialect1And3, y * kPltScaleDialect1And3, pen);
      }
    }
    token.Clear();
  }
  return FinishPltRead(sink, capacity, valueCount);
}
