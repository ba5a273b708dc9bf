#include "text/fonts/shx/ShxTextToStrokes.h"

#include "text/fonts/shx/ShxStrokeRenderer.h"

namespace {

int Render(const std::string& text, ShxFontCache* fonts, const std::string& installFolder,
           const std::string& mainFontName, const std::string& bigFontName, const ShxLayout& layout, double* coords,
           std::uint8_t* flags, int* capacity, int* status, bool skipFailed, ShxFontsLacking* lacking) {
  int ownStatus = 0;
  if (!status) status = &ownStatus;
  *status = 0;
  // Without a counter there is nothing to count into, nor a capacity to respect.
  if (!capacity) return 0;
  const bool writing = coords && flags;
  ShxStrokeRenderer renderer(layout, writing ? coords : nullptr, writing ? flags : nullptr, capacity, status);
  renderer.SkipFailedGlyphs(skipFailed);
  if (fonts) {
    renderer.OpenFonts(*fonts, mainFontName, bigFontName);
  } else {
    renderer.OpenFonts(installFolder, mainFontName, bigFontName);
  }
  const int written = renderer.Render(text);
  if (lacking) {
    lacking->main = renderer.MainFontLacking();
    lacking->big = renderer.BigFontLacking();
  }
  return written;
}

}  // namespace

ShxLayout ShxLayoutOf(double originX, double originY, double height, double rotation, double slant, double mainWidth,
                      double spacing, double bigWidth) {
  ShxLayout layout;
  layout.originX = originX;
  layout.originY = originY;
  layout.height = height;
  layout.rotation = rotation;
  layout.slant = slant;
  layout.mainWidth = mainWidth;
  layout.spacing = spacing;
  layout.bigWidth = bigWidth;
  return layout;
}

int ShxTextToStrokes(const std::string& text, const std::string& installFolder, const std::string& mainFontName,
                     const std::string& bigFontName, double originX, double originY, double height, double rotation,
                     double slant, double mainWidth, double spacing, double bigWidth, double /*secondSpacing*/,
                     double* coords, std::uint8_t* flags, int* capacity, int* status) {
  return Render(text, nullptr, installFolder, mainFontName, bigFontName,
                ShxLayoutOf(originX, originY, height, rotation, slant, mainWidth, spacing, bigWidth), coords, flags,
                capacity, status, false, nullptr);
}

int ShxTextToStrokesWith(ShxFontCache& fonts, const std::string& text, const std::string& mainFontName,
                         const std::string& bigFontName, const ShxLayout& layout, bool skipFailures, double* coords,
                         std::uint8_t* flags, int* capacity, int* status, ShxFontsLacking* lacking) {
  return Render(text, &fonts, fonts.InstallFolder(), mainFontName, bigFontName, layout, coords, flags, capacity,
                status, skipFailures, lacking);
}
