#include "tools/bigfont/BigFontConverter.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>

#include "tools/bigfont/BigFontFile.h"
#include "tools/bigfont/ContourSimplifier.h"
#include "tools/bigfont/OutlineFace.h"
#include "tools/bigfont/ShapeEncoder.h"

namespace {

// The stroke-font engine reads at most this much of a character's record.
constexpr std::size_t kLargestRecord = 10240;
// Lead bytes of the double-byte characters of code page 936.
constexpr BigFontRange kLeadBytes{0x81, 0xFE};

}  // namespace

bool ConvertToBigFont(const std::vector<OutlineFaceSource>& faces, const std::vector<Gb2312Character>& characters,
                      const BigFontSettings& settings, std::vector<std::uint8_t>& out, BigFontReport& report,
                      std::string& error) {
  report = BigFontReport{};
  if (settings.emUnits < 16 || settings.emUnits > 255) {
    error = "the em square must be 16 to 255 units";
    return false;
  }
  std::vector<std::unique_ptr<OutlineFace>> opened;
  for (const OutlineFaceSource& source : faces) {
    opened.push_back(std::make_unique<OutlineFace>(settings.emUnits, settings.curveTolerance));
    if (!opened.back()->Open(source.path, source.faceIndex, error)) {
      error = source.path + ": " + error;
      return false;
    }
  }
  std::vector<BigFontGlyph> glyphs;
  FlatGlyph flat;
  for (const Gb2312Character& c : characters) {
    std::optional<FlatGlyph> chosen;
    for (const auto& face : opened) {
      if (!face->Load(c.unicode, flat)) continue;
      const bool draws = !flat.contours.empty();
      if (!chosen || draws) chosen = flat;
      if (draws) break;
    }
    if (!chosen) {
      ++report.missing;
      continue;
    }
    const int advance = static_cast<int>(std::lround(chosen->advance));
    // A character too detailed for the engine's record is thinned harder.
    std::vector<std::uint8_t> shape;
    for (double tolerance = settings.thinTolerance;; tolerance *= 2) {
      shape = EncodeShape(ContourSimplifier(tolerance, settings.smallestContour).Simplify(chosen->contours), advance);
      if (shape.size() + 1 <= kLargestRecord) break;
    }
    report.largestShape = std::max(report.largestShape, shape.size());
    glyphs.push_back({c.code, std::move(shape)});
  }
  std::sort(glyphs.begin(), glyphs.end(), [](const BigFontGlyph& a, const BigFontGlyph& b) { return a.code < b.code; });
  report.characters = static_cast<int>(glyphs.size());
  return BigFontBytes(settings.name, static_cast<std::uint8_t>(settings.emUnits), {kLeadBytes}, glyphs, out, error);
}
