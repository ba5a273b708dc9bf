#pragma once
// "PaperPrintSet.DAT": how a layout is printed on paper (resolution, line
// width, scale and margins). 96 bytes, read and written whole.
#include <cstddef>
#include <cstdint>
#include <string>

#pragma pack(push, 1)
struct PaperPrintSet {
  std::int32_t dpi = 0;             // printer resolution used to scale the print
  std::int32_t lineWidthIndex = 0;  // "Line width:" list selection
  std::int32_t scaleMode = 0;       // 0 automatic, 1 actual scale (1:1), 2 custom
  std::uint8_t reserved1[36] = {};
  float edgeX = 0.0f;               // paper margins, mm
  float edgeY = 0.0f;
  float customScale = 0.0f;         // percent
  std::uint8_t reserved2[36] = {};
};
#pragma pack(pop)
static_assert(sizeof(PaperPrintSet) == 96);
static_assert(offsetof(PaperPrintSet, edgeX) == 48);
static_assert(offsetof(PaperPrintSet, customScale) == 56);

// "PaperPrintSet.DAT" in the installation folder.
std::string PaperPrintSetPath(const std::string& installFolder);

// Values a stored record may not keep: 300 dpi, index and mode 0, margins of
// at least 0.5 mm, a custom scale of 1..1000 % (100 when below 1).
void CorrectPaperPrintSet(PaperPrintSet& record);

// The file's record with the corrections; a missing or short file reads as
// zeros (the rest of the record) before them.
PaperPrintSet LoadPaperPrintSet(const std::string& path);
// Writes the record as it is; false when the file cannot be written.
bool SavePaperPrintSet(const std::string& path, const PaperPrintSet& record);
