#include "text/exchange/hpgl/PltDrawingLoader.h"

#include "text/exchange/hpgl/PltImport.h"

namespace {
using PltReader = int (*)(const std::string&, double*, BYTE*, int*, int*, int*);
constexpr int kSpareValues = 100;
}  // namespace

PltDrawing LoadPltDrawing(const std::string& path) {
  PltDrawing drawing;
  drawing.dialect = DetectPltDialect(path);
  PltReader read = nullptr;
  switch (drawing.dialect) {
    case 1: read = &ImportPltDialect1; break;
    case 2: read = &ImportPltDialect2; break;
    case 3: read = &ImportPltDialect3; break;
    default: return drawing;
  }
  int counted = 0, stored = 0, status = 0;
  if (read(path, nullptr, nullptr, &counted, &stored, &status) != 0) return drawing;
  if (counted <= 1) return drawing;
  if (counted > kPltMaxValues) {
    drawing.tooLarge = true;
    return drawing;
  }
  std::vector<double> values(static_cast<std::size_t>(counted) + kSpareValues);
  std::vector<BYTE> pens((static_cast<std::size_t>(counted) + kSpareValues) / 2);
  int room = static_cast<int>(values.size());
  const int result = read(path, values.data(), pens.data(), &room, &stored, &status);
  int used = counted;
  if (stored < counted) {
    drawing.dataShort = true;
    used = stored;
  }
  if (result != kPltResultFilled || status != kPltStatusEnd) return drawing;
  int n = used / 2;
  if (drawing.dialect != 3) --n;
  drawing.points.reserve(n > 0 ? static_cast<std::size_t>(n) : 0);
  for (int i = 0; i < n; ++i)
    drawing.points.emplace_back(values[2 * i], values[2 * i + 1], static_cast<std::uint8_t>(pens[i] & 1));
  drawing.accepted = true;
  return drawing;
}
