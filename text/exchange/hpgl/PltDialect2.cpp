// Plot files opening with "PU;PA0,0;SP<pen>;LT;": a stream of words and
// numbers in 1/40 mm, with absolute, relative and circle modes.
#include <cmath>

#include "text/exchange/hpgl/PltCircle.h"
#include "text/exchange/hpgl/PltFile.h"
#include "text/exchange/hpgl/PltHeaders.h"
#include "text/exchange/hpgl/PltImport.h"
#include "text/exchange/hpgl/PltPointSink.h"
#include "text/exchange/hpgl/PltReadOutcome.h"
#include "text/exchange/hpgl/PltToken.h"

namespace {

constexpr std::int64_t kMinSize = 108;
constexpr std::int64_t kHeaderLength = 16;

enum class Mode { None, Absolute, Relative, Circle };

bool IsNumberChar(char c) { return (c >= '0' && c <= '9') || c == '-'; }

// The state the words set and the numbers feed.
class Dialect2Plot {
 public:
  explicit Dialect2Plot(PltPointSink& sink) : sink_(sink) {}

  // False when the word ends the plot.
  bool Word(const PltToken& word) {
    if (word.Overlong()) return true;
    const std::string& w = word.Text();
    if (w == "SP") return false;
    if (w == "PU") return Set(kPltPenUp, mode_);
    if (w == "PD") return Set(kPltPenDown, mode_);
    if (w == "PA") return Set(pen_, Mode::Absolute);
    if (w == "PR") return Set(pen_, Mode::Relative);
    if (w == "PUPR" || w == "PRPU") return Set(kPltPenUp, Mode::Relative);
    if (w == "PDPR" || w == "PRPD") return Set(kPltPenDown, Mode::Relative);
    if (w == "PUPA" || w == "PAPU") return Set(kPltPenUp, Mode::Absolute);
    if (w == "PDPA" || w == "PAPD") return Set(kPltPenDown, Mode::Absolute);
    if (w == "PDPU" || w == "PUPD") return Set(kPltPenUp, mode_);
    if (w == "CI" || w == "IC") return Set(pen_, Mode::Circle);
    if (w.size() == 3 && w[0] == 'S') mode_ = Mode::None;
    return true;
  }

  void Number(const PltToken& number) {
    if (mode_ == Mode::None) return;
    // A run that holds no number (a lone '-') reads as 0; one too long or
    // too large to be finite spoils its pair.
    double v = number.Overlong() ? 0 : ParsePltValue(number.Text()) * kPltScaleDialect2;
    const bool valid = !number.Overlong() && std::isfinite(v);
    if (mode_ == Mode::Circle) {
      if (valid) {
        sink_.DropLast();
        AddPltCircle(sink_, lastX_, lastY_, v);
      }
      mode_ = Mode::None;
      return;
    }
    if (!haveX_) {
      x_ = v;
      xValid_ = valid;
      haveX_ = true;
      return;
    }
    haveX_ = false;
    if (!valid || !xValid_) return;
    double px = x_, py = v;
    if (mode_ == Mode::Relative) {
      px += lastX_;
      py += lastY_;
    }
    if (!std::isfinite(px) || !std::isfinite(py)) return;
    lastX_ = px;
    lastY_ = py;
    sink_.Add(px, py, pen_);
  }

 private:
  bool Set(BYTE pen, Mode mode) {
    pen_ = pen;
    mode_ = mode;
    haveX_ = false;
    return true;
  }

  PltPointSink& sink_;
  BYTE pen_ = kPltPenUp;
  Mode mode_ = Mode::None;
  bool haveX_ = false;
  bool xValid_ = false;
  double x_ = 0;
  double lastX_ = 0;
  double lastY_ = 0;
};

}  // namespace

int ImportPltDialect2(const std::string& path, double* values, BYTE* penFlags, int* capacity, int* valueCount,
                      int* status) {
  PltFile file(path);
  if (!BeginPltRead(file, kMinSize, valueCount, status)) return kPltResultNone;
  // The header is also taken at the very start of the file, where the
  // detector finds it too.
  const std::string header = file.ReadHeader();
  long at = -1;
  for (int pen = 1; pen <= 8 && at < 0; ++pen) at = FindIn(header, PltDialect2Header(pen));
  if (at < 0) return kPltResultNoHeader;
  PltPointSink sink(values, penFlags, *capacity);
  if (!file.StartStream(at + kHeaderLength)) {
    *status = kPltStatusTooShort;
    return kPltResultNoHeader;
  }

  Dialect2Plot plot(sink);
  PltToken token;
  char c = 0;
  bool have = file.NextByte(c);
  while (have && !sink.CountPassed()) {
    token.Clear();
    if (IsNumberChar(c)) {
      while (have && IsNumberChar(c)) {
        token.Append(c);
        have = file.NextByte(c);
      }
      plot.Number(token);
    } else {
      while (have && !IsNumberChar(c) && c != ';') {
        token.Append(c);
        have = file.NextByte(c);
      }
      if (!plot.Word(token)) {
        *status = kPltStatusEnd;
        break;
      }
    }
    if (have && (c == ';' || c == ',')) have = file.NextByte(c);
  }
  return FinishPltRead(sink, capacity, valueCount);
}
