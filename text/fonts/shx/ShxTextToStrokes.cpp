#include "text/fonts/shx/ShxTextToStrokes.h"

#include "text/fonts/shx/ShxStrokeRenderer.h"

int ShxTextToStrokes(const std::string& text, const std::string& installFolder, const std::string& mainFontName,
                     const std::string& bigFontName, double originX, double originY, double height, double rotation,
                     double slant, double mainWidth, double spacing, double bigWidth, double /*secondSpacing*/,
                     double* coords, std::uint8_t* flags, int* capacity, int* status) {
  int ownStatus = 0;
  if (!status) status = &ownStatus;
  *status = 0;
  // Without a counter there is nothing to count into, nor a capacity to respect.
  if (!capacity) return 0;
  ShxLayout layout;
  layout.originX = originX;
  layout.originY = originY;
  layout.height = height;
  layout.rotation = rotation;
  layout.slant = slant;
  layout.mainWidth = mainWidth;
  layout.spacing = spacing;
  layout.bigWidth = bigWidth;
  const bool writing = coords && flags;
  ShxStrokeRenderer renderer(layout, writing ? coords : nullptr, writing ? flags : nullptr, capacity, status);
  renderer.OpenFonts(installFolder, mainFontName, bigFontName);
  return renderer.Render(text);
}
