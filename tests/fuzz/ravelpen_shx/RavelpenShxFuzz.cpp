// SHX font files for the plotter library's text renderer: the first byte
// chooses the text font or the big font, the rest is the file.
#include <cstdint>
#include <vector>

#include "libs/ravelpen/CAutoCadDxfFileFormat.h"
#include "platform/Prompt.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool quiet = [] {
    platform::SetPrompt(std::make_shared<platform::ScriptedPrompt>());
    return true;
  }();
  (void)quiet;
  if (size < 1) return 0;
  const int big = data[0] & 1;
  std::vector<ravelpen::TextPoint> points;
  ravelpen::CAutoCadDxfFileFormat renderer(&points);
  renderer.OpenFontBytes(std::vector<std::uint8_t>(data + 1, data + size), big);
  if (renderer.ReadFontHeader(big)) renderer.UpdateFontScale(big);
  renderer.SetTextFrame(5, 30, 1);
  renderer.SetStartPoint(0, 0);
  renderer.RenderString("AZaz09 !~\xB0\xA1\xC4\xE3\x81\x40");
  if (points.size() > 10000000) __builtin_trap();
  return 0;
}
