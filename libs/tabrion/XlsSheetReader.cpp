#include "libs/tabrion/XlsSheetReader.h"

#include "libs/tabrion/BiffWorkbookReader.h"
#include "libs/tabrion/CompoundFileStream.h"

namespace tabrion {

ReadResult ReadXlsSheet(const std::string& path, int sheetNumber, LoadedSheet& out) {
  auto stream = ReadWorkbookStream(path);
  if (!stream) return ReadResult::cannotRead;
  return ReadBiffSheet(*stream, sheetNumber, out);
}

}  // namespace tabrion
