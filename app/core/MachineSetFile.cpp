#include "app/core/MachineSetFile.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "app/core/StartupValues.h"
#include "values/ShellValues.h"
#include "document/geometry/SharedHelpers.h"
#include "document/geometry/SharedState.h"
#include "platform/InstallDir.h"
#include "platform/Prompt.h"

namespace {

// Up to `limit` bytes of the file; false when it cannot be opened.
bool ReadFileBytes(const std::string& path, std::size_t limit, std::vector<unsigned char>& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  out.assign(limit, 0);
  in.read(reinterpret_cast<char*>(out.data()), static_cast<std::streamsize>(limit));
  out.resize(static_cast<std::size_t>(in.gcount()));
  return true;
}

// The default record of a fresh install. The stored default ranges are 0,
// which would give a work area of nothing; a new machine starts with the
// standard 120 x 100 mm area instead.
MachineSetRecord FreshInstallRecord() {
  MachineSetRecord record = DefaultMachineSetRecord();
  if (record.rangeX <= 0.0f) record.rangeX = 120.0f;
  if (record.rangeY <= 0.0f) record.rangeY = 100.0f;
  return record;
}

}  // namespace

std::string MachineSetFilePath(const std::string& folder, int softType) {
  return platform::JoinInstallPath(folder, softType == SOFT_TYPE_USB ? "MachineSetUsb.DAT" : "MachineSet.DAT");
}

std::string ZephyneFilePath(const std::string& folder) { return platform::JoinInstallPath(folder, "Zephyne.dat"); }

int LoadMachineSetFile(const std::string& path, MachineSetRecord& record) {
  record = FreshInstallRecord();
  std::vector<unsigned char> bytes;
  if (!ReadFileBytes(path, sizeof(MachineSetRecord), bytes)) return 0;
  std::memcpy(&record, bytes.data(), bytes.size());
  ApplyMachineSetLoadClamps(record);
  return 1;
}

bool SaveMachineSetFile(const std::string& path, const MachineSetRecord& record) {
  return platform::WriteFileAtomic(path, &record, sizeof(record));
}

int ReadSoftTypeFile(const std::string& path, int current) {
  std::vector<unsigned char> bytes;
  if (!ReadFileBytes(path, kZephyneFileSize, bytes)) return current;
  const std::size_t offset = kSoftTypeWord * 4;
  if (bytes.size() < offset + 4) return current;
  std::int32_t value = 0;
  std::memcpy(&value, bytes.data() + offset, 4);
  return (value < 0 || value > 2) ? 0 : value;
}

bool WriteSoftTypeFile(const std::string& path, int softType) {
  std::vector<unsigned char> bytes;
  if (!ReadFileBytes(path, kZephyneFileSize, bytes)) bytes.clear();
  bytes.resize(kZephyneFileSize, 0);
  const std::int32_t value = softType;
  std::memcpy(bytes.data() + kSoftTypeWord * 4, &value, 4);
  return platform::WriteFileAtomic(path, bytes.data(), bytes.size());
}

void ReadSoftType() {
  // Without the file a fresh install is the big port board; the board is
  // chosen in "Soft type and PCI-board", never by the environment.
  g_softType = ReadSoftTypeFile(ZephyneFilePath(g_installDir), SOFT_TYPE_BIG_PORT_BOARD);
}

int LoadMachineSet() {
  int check = 0;
  ReadRegDword("CheckPCIBoard", check);
  g_checkPciBoard = check;
  const int loaded = LoadMachineSetFile(MachineSetFilePath(g_installDir, g_softType.load()), g_machineSet);
  // Read or not, the record now holds the machine's settings: every new
  // document takes them over, so the parameter pages and new layouts agree
  // from the first start on.
  MachineSettingsLoaded = 1;
  ControlBit0Switch = g_machineSet.controlBit0Switch;
  return loaded;
}

int SaveMachineSet() {
  if (!SaveMachineSetFile(MachineSetFilePath(g_installDir, g_softType.load()), g_machineSet)) {
    platform::MessageBox(kSaveParameterError);
    return 0;
  }
  return 1;
}
