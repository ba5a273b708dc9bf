#include "tests/text/exchange/dxf/DxfTestFiles.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "text/exchange/dxf/DxfImport.h"

namespace {
constexpr int kCanaries = 16;
constexpr double kCanaryValue = -999.0;
constexpr std::uint8_t kCanaryFlag = 0xEE;
}  // namespace

std::string DxfFixture(const std::string& name) { return std::string(VENDRIK_TEST_DATA_DIR) + "/dxf/" + name; }

std::string WriteDxfFile(const std::string& name, const std::string& bytes) {
  const char* data = std::getenv("VENDRIK_DATA_DIR");
  std::filesystem::path dir = data ? std::filesystem::path(data) : std::filesystem::temp_directory_path();
  dir /= "dxf-" + std::to_string(getpid());
  std::filesystem::create_directories(dir);
  const std::filesystem::path path = dir / name;
  std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return path.string();
}

std::string DxfGroups(const std::vector<std::pair<int, std::string>>& groups, const char* newline) {
  std::string out;
  for (const auto& [code, value] : groups) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%3d", code);
    out += buffer;
    out += newline;
    out += value;
    out += newline;
  }
  return out;
}

std::string DxfEntities(const std::vector<std::pair<int, std::string>>& groups) {
  return DxfGroups({{0, "SECTION"}, {2, "ENTITIES"}}) + DxfGroups(groups) + DxfGroups({{0, "ENDSEC"}, {0, "EOF"}});
}

DxfRead FillDxf(const std::string& path, const std::string& installFolder, int room) {
  DxfRead r;
  const int size = (room < 0 ? 0 : room);
  r.values.assign(static_cast<std::size_t>(size + kCanaries), kCanaryValue);
  r.flags.assign(static_cast<std::size_t>(size / 2 + kCanaries), kCanaryFlag);
  r.capacityAfter = room;
  r.fillResult = ImportDxfFile(path, r.values.data(), r.flags.data(), &r.capacityAfter, &r.stored, &r.status,
                               installFolder);
  for (int i = 0; i < kCanaries; ++i) {
    if (r.values[static_cast<std::size_t>(size + i)] != kCanaryValue) r.canariesIntact = false;
    if (r.flags[static_cast<std::size_t>(size / 2 + i)] != kCanaryFlag) r.canariesIntact = false;
  }
  // Nothing written beyond what the call says it stored.
  for (int i = r.stored; i < size; ++i)
    if (r.values[static_cast<std::size_t>(i)] != kCanaryValue) r.canariesIntact = false;
  return r;
}

DxfRead ReadDxfBothPasses(const std::string& path, const std::string& installFolder, int spare) {
  int counted = 12345;  // the counting pass must reset it
  int unused = -1, countStatus = 0;
  const int countResult =
      ImportDxfFile(path, nullptr, nullptr, &counted, &unused, &countStatus, installFolder);
  DxfRead r = FillDxf(path, installFolder, counted + spare);
  r.countResult = countResult;
  r.counted = counted;
  r.countStatus = countStatus;
  return r;
}
