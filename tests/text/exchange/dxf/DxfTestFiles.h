#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// Path of a fixture in tests/data/dxf.
std::string DxfFixture(const std::string& name);
// Writes bytes to a fresh file in the test's own folder and returns its path.
std::string WriteDxfFile(const std::string& name, const std::string& bytes);
// Group code and value lines, group codes right-aligned in three columns.
std::string DxfGroups(const std::vector<std::pair<int, std::string>>& groups, const char* newline = "\n");
// The groups inside an ENTITIES section.
std::string DxfEntities(const std::vector<std::pair<int, std::string>>& groups);

// Both passes, with the room the layout view gives (count + 100); the arrays
// carry canaries beyond that room.
struct DxfRead {
  int countResult = 0, counted = 0, countStatus = 0;
  int fillResult = 0, capacityAfter = 0, stored = 0, status = 0;
  std::vector<double> values;
  std::vector<std::uint8_t> flags;
  bool canariesIntact = true;

  int Points() const { return stored / 2; }
  double X(int i) const { return values[2 * i]; }
  double Y(int i) const { return values[2 * i + 1]; }
  std::uint8_t Flag(int i) const { return flags[i]; }
};
DxfRead ReadDxfBothPasses(const std::string& path, const std::string& installFolder, int spare = 100);
// A filling pass with a room chosen by the test.
DxfRead FillDxf(const std::string& path, const std::string& installFolder, int room);
