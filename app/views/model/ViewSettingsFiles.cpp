#include "app/views/model/ViewSettingsFiles.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>

#include "platform/InstallDir.h"

bool ReadSettingsRecord(const std::string& folder, const char* name, void* record, std::size_t size) {
  const std::string path = platform::JoinInstallPath(folder, name);
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
  if (!file) return false;
  // Read into a scratch copy: a short file must not leave half a record.
  std::unique_ptr<unsigned char[]> bytes(new unsigned char[size]);
  if (std::fread(bytes.get(), 1, size, file.get()) != size) return false;
  std::memcpy(record, bytes.get(), size);
  return true;
}

void CorrectPaperPrintSet(PaperPrintSet& set) {
  // NaN from a damaged file takes the defaults too.
  if (!(set.edgeX > 0.5f)) set.edgeX = 0.5f;
  if (!(set.edgeY > 0.5f)) set.edgeY = 0.5f;
  if (!(set.customScale >= 1.0f)) set.customScale = 100.0f;
  if (set.customScale > 1000.0f) set.customScale = 1000.0f;
  if (set.dpi < 50) set.dpi = 300;
  if (set.lineWidthIndex < 0) set.lineWidthIndex = 0;
  // A damaged index would overflow the print's pen width.
  if (set.lineWidthIndex >= kPaperLineWidthCount) set.lineWidthIndex = kPaperLineWidthCount - 1;
  if (set.scaleMode < 0) set.scaleMode = 0;
}

PaperPrintSet LoadPaperPrintSet(const std::string& folder) {
  PaperPrintSet set;
  if (!ReadSettingsRecord(folder, kPaperPrintSetFile, &set, sizeof set)) set = PaperPrintSet{};
  CorrectPaperPrintSet(set);
  return set;
}

bool SavePaperPrintSet(const std::string& folder, const PaperPrintSet& set) {
  return platform::WriteFileAtomic(platform::JoinInstallPath(folder, kPaperPrintSetFile), &set, sizeof set);
}

ArcPointedInfo LoadArcPointedInfo(const std::string& folder) {
  ArcPointedInfo info;
  if (!ReadSettingsRecord(folder, kArcPointedInfoFile, &info, sizeof info)) info = ArcPointedInfo{};
  if (std::fabs(info.point1X - info.point2X) < 0.01f && std::fabs(info.point1Y - info.point2Y) < 0.01f) {
    info.arcOn = 0;
    info.arcBuilt = 0;
  }
  return info;
}

bool SaveArcPointedInfo(const std::string& folder, const ArcPointedInfo& info) {
  return platform::WriteFileAtomic(platform::JoinInstallPath(folder, kArcPointedInfoFile), &info, sizeof info);
}

bool LoadExcelMarkPara(const std::string& folder, _EXCEL_FILE_PARA& para) {
  if (ReadSettingsRecord(folder, kExcelMarkParaFile, &para, sizeof para)) {
    para.filePath[sizeof para.filePath - 1] = '\0';  // the reader takes it as a C string
    return true;
  }
  para = _EXCEL_FILE_PARA{};
  return false;
}
