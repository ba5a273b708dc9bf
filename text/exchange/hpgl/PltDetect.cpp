#include "text/exchange/hpgl/PltFile.h"
#include "text/exchange/hpgl/PltHeaders.h"
#include "text/exchange/hpgl/PltImport.h"

int DetectPltDialect(const std::string& path) {
  PltFile file(path);
  if (!file.IsOpen() || file.Size() <= 45) return 0;
  if (file.ReadAt(45, 5) == "PU;PA") return 1;
  if (file.Size() <= 92) return 0;
  const std::string header = file.ReadHeader();
  for (int pen = 1; pen <= 8; ++pen)
    if (FindIn(header, PltDialect2Header(pen)) >= 0) return 2;
  if (FindIn(header, "IN;") >= 0 && FindIn(header, "WU0;") >= 0) {
    for (int pen = 1; pen <= 8; ++pen)
      if (FindIn(header, PltPenSelect(pen), 1) >= 1) return 3;
  }
  return 0;
}
