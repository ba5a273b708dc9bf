#pragma once
// The layout view's own settings files in the installation folder, each one
// packed little-endian record read and written whole: the paper print
// settings ("PaperPrintSet.DAT"), the reference arc ("ArcPointedInfo.DAT")
// and the spreadsheet link record ("ExcelMarkPara.dat").
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>

#include "libs/tabrion/CTabrion.h"

#pragma pack(push, 1)
struct PaperPrintSet {
  std::int32_t dpi = 0;             // printer resolution used to scale the print
  std::int32_t lineWidthIndex = 0;  // pen-width step
  std::int32_t scaleMode = 0;       // 0 automatic, 1 actual size at most, 2 custom
  std::uint8_t reserved12[36] = {};
  float edgeX = 0;                  // paper margins, mm
  float edgeY = 0;
  float customScale = 0;            // percent
  std::uint8_t reserved60[36] = {};
};

struct ArcPointedInfo {
  float point1X = 0;
  float point1Y = 0;
  float point2X = 0;
  float point2Y = 0;
  float centreX = 0;
  float centreY = 0;
  float radius = 0;
  std::int32_t arcOn = 0;     // reference arc shown
  std::int32_t arcBuilt = 0;  // the arc has been built
  std::uint8_t reserved36[256] = {};
};
#pragma pack(pop)
static_assert(sizeof(PaperPrintSet) == 96);
static_assert(offsetof(PaperPrintSet, edgeX) == 48);
static_assert(offsetof(PaperPrintSet, customScale) == 56);
static_assert(sizeof(ArcPointedInfo) == 292);
static_assert(offsetof(ArcPointedInfo, arcOn) == 28);

inline constexpr const char* kPaperPrintSetFile = "PaperPrintSet.DAT";
// The pen widths "Config printer" offers, one per line-width index.
inline constexpr int kPaperLineWidths[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 14, 16, 18, 20};
inline constexpr int kPaperLineWidthCount = static_cast<int>(std::size(kPaperLineWidths));
inline constexpr const char* kArcPointedInfoFile = "ArcPointedInfo.DAT";
inline constexpr const char* kExcelMarkParaFile = "ExcelMarkPara.dat";

// Reads exactly sizeof(T) bytes from the file in the folder into the record;
// false (record untouched) when the file is missing or shorter.
bool ReadSettingsRecord(const std::string& folder, const char* name, void* record, std::size_t size);

// A missing file reads as zero; then the corrections (300 dpi, margins at
// least 0.5 mm, custom scale 1..1000 % with 100 for less than 1, no negative
// choices, and no line width beyond the dialog's list).
PaperPrintSet LoadPaperPrintSet(const std::string& folder);
void CorrectPaperPrintSet(PaperPrintSet& set);
// Writes the record as it is (no corrections); false when it cannot be written.
bool SavePaperPrintSet(const std::string& folder, const PaperPrintSet& set);

// A missing file reads as zero; two points within 0.01 mm of each other turn
// the arc off.
ArcPointedInfo LoadArcPointedInfo(const std::string& folder);
// Writes the record whole; false when it cannot be written.
bool SaveArcPointedInfo(const std::string& folder, const ArcPointedInfo& info);

// False (record zeroed) when the file is missing.
bool LoadExcelMarkPara(const std::string& folder, _EXCEL_FILE_PARA& para);
