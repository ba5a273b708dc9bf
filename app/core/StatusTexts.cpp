#include "app/core/StatusTexts.h"

#include <array>
#include <climits>

#include "platform/NumberText.h"

namespace {
constexpr std::array<StatusPane, 16> kPanes{{
    {ID_PANE_X_LABEL, "x:"},
    {ID_PANE_MOUSE_X, "       "},
    {ID_PANE_Y_LABEL, "y:"},
    {ID_PANE_MOUSE_Y, "       "},
    {ID_PANE_ORIGIN_LABEL, "Origin:"},
    {ID_PANE_CURSOR_POS, "0.0              "},
    {ID_PANE_TOTAL_LABEL, "Total:"},
    {ID_PANE_TOTAL_COUNT, "0     "},
    {ID_PANE_TIME, "Time", "0000.00\xE7\xA7\x92"},  // a job's time in seconds with 秒
    {ID_PANE_PROGRESS_TOTAL, "Mark progress(total)...  "},
    {ID_PANE_PROGRESS_LOCAL, "Mark progress(local)... "},
    {ID_PANE_MARK_COUNT, "Finish/Total"},
    {ID_PANE_SPARE, "          "},
    {ID_INDICATOR_CAPS, "Caps"},
    {ID_INDICATOR_NUM, "Nums"},
    {ID_INDICATOR_SCRL, "Scroll"},
}};
}  // namespace

std::span<const StatusPane> StatusPanes() { return kPanes; }

std::string FormatMousePos(double v) { return platform::FormatC("%.1f", v); }

std::string FormatCursorPos(double x, double y) { return platform::FormatC("x:%.2f,y=%.2f", x, y); }

std::string FormatTotalCount(int n) { return platform::FormatC("%d", n); }

std::string FormatMarkCount(int finished, int total) {
  return platform::FormatC("%d/%d\xE6\xAC\xA1", finished, total);  // 次
}

std::string FormatMarkTime(long long ms) {
  return platform::FormatC("%.2f\xE7\xA7\x92", static_cast<double>(ms) * 0.001);  // 秒
}

std::string FormatRecordNumber(int n) { return platform::FormatC("%d", n); }

int ParseRecordNumber(const std::string& text) {
  bool ok = false;
  const long long v = platform::ParseIntC(text, &ok);
  if (!ok) return 0;
  if (v > INT_MAX) return INT_MAX;
  if (v < INT_MIN) return INT_MIN;
  return static_cast<int>(v);
}
