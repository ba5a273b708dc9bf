#include "app/settings/PaperPrintSet.h"

#include <cstring>
#include <fstream>

#include "platform/InstallDir.h"

std::string PaperPrintSetPath(const std::string& installFolder) {
  return platform::JoinInstallPath(installFolder, "PaperPrintSet.DAT");
}

void CorrectPaperPrintSet(PaperPrintSet& record) {
  // Negated comparisons so a stored NaN takes the default too.
  if (!(record.edgeX > 0.5f)) record.edgeX = 0.5f;
  if (!(record.edgeY > 0.5f)) record.edgeY = 0.5f;
  if (!(record.customScale >= 1.0f)) record.customScale = 100.0f;
  if (record.customScale > 1000.0f) record.customScale = 1000.0f;
  if (record.dpi < 50) record.dpi = 300;
  if (record.lineWidthIndex < 0) record.lineWidthIndex = 0;
  if (record.scaleMode < 0) record.scaleMode = 0;
}

PaperPrintSet LoadPaperPrintSet(const std::string& path) {
  PaperPrintSet record;
  std::ifstream in(path, std::ios::binary);
  if (in) {
    char bytes[sizeof(PaperPrintSet)] = {};
    in.read(bytes, sizeof bytes);
    std::memcpy(&record, bytes, sizeof bytes);
  }
  CorrectPaperPrintSet(record);
  return record;
}

bool SavePaperPrintSet(const std::string& path, const PaperPrintSet& record) {
  return platform::WriteFileAtomic(path, &record, sizeof record);
}
