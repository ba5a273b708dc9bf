#include "text/layout/ShxTextLayout.h"

#include <memory>
#include <vector>

#include "text/fonts/shx/ShxTextToStrokes.h"
#include "text/layout/TextFinishing.h"
#include "text/layout/TextLines.h"

void SplitStrokeFontPair(const std::string& pair, std::string& mainFile, std::string& bigFile) {
  const std::size_t plus = pair.find('+');
  if (plus == std::string::npos) {
    mainFile = pair + ".shx";
    bigFile = ".shx";
  } else {
    mainFile = pair.substr(0, plus) + ".shx";
    bigFile = pair.substr(plus + 1) + ".shx";
  }
}

namespace {

// One line through both passes of the engine, appended to the working list.
void LayoutShxLine(TextLayoutContext& ctx, ShxFontCache& fonts, const std::string& line, const CDoublePoint& origin,
                   const std::string& mainFile, const std::string& bigFile, std::vector<double>& xy,
                   std::vector<std::uint8_t>& flags, CPointList& work) {
  const TextSettings& s = ctx.s;
  const ShxLayout layout = ShxLayoutOf(origin.x, origin.y, s.charHeight, s.rotation, s.slant, 1.0, s.charSpacing, 1.0);
  int count = 0;
  int status = 0;
  ShxFontsLacking lacking;
  // A glyph the engine cannot interpret is left out, not the line with it;
  // the failure is reported.
  const int counted =
      ShxTextToStrokesWith(fonts, line, mainFile, bigFile, layout, true, nullptr, nullptr, &count, &status, &lacking);
  ctx.report.strokeStatus |= status;
  if (lacking.main) ctx.report.NoteMissingFont(mainFile);
  if (lacking.big) ctx.report.NoteMissingFont(bigFile);
  if (counted != 0 || count <= 2) return;
  xy.assign(static_cast<std::size_t>(count) + 10, 0.0);
  flags.assign((static_cast<std::size_t>(count) + 10) / 2, 0);
  int capacity = count;
  const int written =
      ShxTextToStrokesWith(fonts, line, mainFile, bigFile, layout, true, xy.data(), flags.data(), &capacity, &status);
  ctx.report.strokeStatus |= status;
  if (status & SHX_GLYPH_FAILED) ++ctx.report.glyphsFailed;
  const int points = written / 2;
  for (int k = 0; k < points; ++k) {
    std::uint8_t f = 0;
    if (flags[static_cast<std::size_t>(k)] & SHX_PEN_DOWN) f = PT_JOINED;
    if (flags[static_cast<std::size_t>(k)] & SHX_CHAR_FIRST) f |= PT_TEXT_MARK;
    work.Add(CDoublePoint(xy[2 * static_cast<std::size_t>(k)], xy[2 * static_cast<std::size_t>(k) + 1], f));
  }
}

}  // namespace

void LayoutShx(TextLayoutContext& ctx, const CDoublePoint& anchor, bool align) {
  const TextSettings& s = ctx.s;
  if (s.text.empty()) return;
  std::string mainFile;
  std::string bigFile;
  SplitStrokeFontPair(s.strokeFontPair, mainFile, bigFile);
  // Each font file is read once for all the lines.
  std::unique_ptr<ShxFontCache> own;
  if (!ctx.strokeFonts) own = std::make_unique<ShxFontCache>(ctx.installFolder);
  ShxFontCache& fonts = ctx.strokeFonts ? *ctx.strokeFonts : *own;
  CPointList work;
  std::vector<double> xy;
  std::vector<std::uint8_t> flags;
  CDoublePoint line = s.position;
  for (const std::string& text : SplitTextLines(DecorateText(s))) {
    if (!text.empty()) {
      const CDoublePoint origin(line.x, line.y - s.charHeight);
      LayoutShxLine(ctx, fonts, text, origin, mainFile, bigFile, xy, flags, work);
    }
    line = NextLineStart(s, line);
  }
  ScaleByRatios(s, work);
  if (!(s.flags & TEXT_TWO_LINES)) FitCharWidth(s, work);
  FinishLayout(ctx, work, anchor, align);
}
