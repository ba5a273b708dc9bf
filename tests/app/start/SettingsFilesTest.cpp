#include <gtest/gtest.h>

#include <cstring>

#include "app/core/MachineSetFile.h"
#include "app/core/StartupValues.h"
#include "values/ShellValues.h"
#include "document/geometry/SharedHelpers.h"
#include "document/geometry/SharedState.h"
#include "tests/values/MachineSetClampCase.h"
#include "tests/app/start/TestFolder.h"

namespace {

MachineSetRecord PatternRecord() {
  MachineSetRecord r = DefaultMachineSetRecord();
  r.reserved0 = 0x11223344;
  r.rangeX = 200.0f;
  r.rangeY = 150.0f;
  r.startPath[2] = -12.5f;
  r.controlBit0Switch = 1;
  r.secondOptionByte = 0x5A;
  for (std::size_t i = 0; i < sizeof r.reserved224; ++i) r.reserved224[i] = static_cast<std::uint8_t>(i * 7 + 1);
  return r;
}

void WriteSoftTypeWord(const std::string& path, std::int32_t value, std::size_t size = kZephyneFileSize) {
  std::vector<unsigned char> bytes(size, 0xAB);
  if (size >= 68) std::memcpy(bytes.data() + 64, &value, 4);
  WriteBytes(path, bytes.data(), bytes.size());
}

}  // namespace

TEST(MachineSetFile, MissingFileGivesDefaultsWithTheStandardWorkArea) {
  const std::string dir = FreshFolder("missing");
  MachineSetRecord r;
  EXPECT_EQ(LoadMachineSetFile(MachineSetFilePath(dir, SOFT_TYPE_BIG_PORT_BOARD), r), 0);
  EXPECT_FLOAT_EQ(r.rangeX, 120.0f);
  EXPECT_FLOAT_EQ(r.rangeY, 100.0f);
  EXPECT_EQ(r.acceleration, 500);
  EXPECT_FLOAT_EQ(r.stepX, 4.0f);
}

TEST(MachineSetFile, RoundTripKeepsEveryByte) {
  const std::string dir = FreshFolder("roundtrip");
  const std::string path = MachineSetFilePath(dir, SOFT_TYPE_BIG_PORT_BOARD);
  const MachineSetRecord original = PatternRecord();
  ASSERT_TRUE(SaveMachineSetFile(path, original));
  const auto bytes = ReadBytes(path);
  ASSERT_EQ(bytes.size(), 296u);
  EXPECT_EQ(std::memcmp(bytes.data(), &original, 296), 0);

  MachineSetRecord loaded;
  EXPECT_EQ(LoadMachineSetFile(path, loaded), 1);
  EXPECT_EQ(std::memcmp(&loaded, &original, 296), 0);
}

TEST(MachineSetFile, LoadClampsOutOfRangeValues) {
  const std::string dir = FreshFolder("clamps");
  const std::string path = MachineSetFilePath(dir, SOFT_TYPE_BIG_PORT_BOARD);
  MachineSetRecord r = PatternRecord();
  PutOutOfRangeValues(r);
  WriteBytes(path, &r, sizeof r);

  MachineSetRecord loaded;
  ASSERT_EQ(LoadMachineSetFile(path, loaded), 1);
  ExpectOutOfRangeValuesClamped(loaded);
  // Fields without a clamp stay as stored.
  EXPECT_EQ(loaded.reserved0, 0x11223344);
  EXPECT_EQ(loaded.secondOptionByte, 0x5A);
}

TEST(MachineSetFile, ShortFileKeepsDefaultsForTheMissingBytes) {
  const std::string dir = FreshFolder("short");
  const std::string path = MachineSetFilePath(dir, SOFT_TYPE_BIG_PORT_BOARD);
  MachineSetRecord r = PatternRecord();
  r.normalDelay = 77;
  WriteBytes(path, &r, 40);  // up to and without the ranges
  MachineSetRecord loaded;
  ASSERT_EQ(LoadMachineSetFile(path, loaded), 1);
  EXPECT_EQ(loaded.reserved0, 0x11223344);
  EXPECT_EQ(loaded.normalDelay, 77);
  EXPECT_FLOAT_EQ(loaded.rangeX, 120.0f);
  EXPECT_EQ(loaded.acceleration, 500);
  EXPECT_EQ(loaded.reserved224[5], 0);
}

TEST(SoftTypeFile, SeventeenthWordSelectsTheBoardAndItsSettingsFile) {
  const std::string dir = FreshFolder("zephyne");
  const std::string path = ZephyneFilePath(dir);
  EXPECT_EQ(ReadSoftTypeFile(path, 2), 2);  // missing: unchanged
  WriteSoftTypeWord(path, 1);
  EXPECT_EQ(ReadSoftTypeFile(path, 0), 1);
  WriteSoftTypeWord(path, 7);
  EXPECT_EQ(ReadSoftTypeFile(path, 2), 0);  // out of range
  WriteSoftTypeWord(path, -1);
  EXPECT_EQ(ReadSoftTypeFile(path, 2), 0);
  WriteSoftTypeWord(path, 1, 60);
  EXPECT_EQ(ReadSoftTypeFile(path, 2), 2);  // too short: unchanged

  EXPECT_EQ(MachineSetFilePath(dir, SOFT_TYPE_USB), dir + "/MachineSetUsb.DAT");
  EXPECT_EQ(MachineSetFilePath(dir, SOFT_TYPE_SMALL_PORT_BOARD), dir + "/MachineSet.DAT");
  EXPECT_EQ(MachineSetFilePath("/", SOFT_TYPE_USB), "/MachineSetUsb.DAT");
}

TEST(SoftTypeFile, WritingKeepsTheOtherBytes) {
  const std::string dir = FreshFolder("zephyne-write");
  const std::string path = ZephyneFilePath(dir);
  WriteSoftTypeWord(path, 0);
  ASSERT_TRUE(WriteSoftTypeFile(path, 2));
  const auto bytes = ReadBytes(path);
  ASSERT_EQ(bytes.size(), kZephyneFileSize);
  EXPECT_EQ(bytes[0], 0xAB);
  EXPECT_EQ(bytes[127], 0xAB);
  EXPECT_EQ(ReadSoftTypeFile(path, 0), 2);

  const std::string fresh = ZephyneFilePath(FreshFolder("zephyne-new"));
  ASSERT_TRUE(WriteSoftTypeFile(fresh, 1));
  const auto freshBytes = ReadBytes(fresh);
  ASSERT_EQ(freshBytes.size(), kZephyneFileSize);
  EXPECT_EQ(freshBytes[64], 1);
  EXPECT_EQ(freshBytes[0], 0);
}

TEST(MachineSet, ShellValuesFollowTheBoardTypeFile) {
  FreshSettings();
  auto prompt = FreshPrompt();
  const std::string dir = FreshFolder("shell");
  g_installDir = dir + "/";  // a trailing separator is joined over
  WriteSoftTypeWord(ZephyneFilePath(dir), SOFT_TYPE_USB);
  MachineSetRecord usb = PatternRecord();
  usb.acceleration = 321;
  usb.controlBit0Switch = 1;
  WriteBytes(dir + "/MachineSetUsb.DAT", &usb, sizeof usb);
  WriteRegDword("CheckPCIBoard", 1);

  g_softType = 0;
  ReadSoftType();
  EXPECT_EQ(g_softType.load(), SOFT_TYPE_USB);
  EXPECT_EQ(LoadMachineSet(), 1);
  EXPECT_EQ(MachineSettingsLoaded, 1);
  EXPECT_EQ(g_machineSet.acceleration, 321);
  EXPECT_EQ(g_checkPciBoard.load(), 1);
  EXPECT_EQ(ControlBit0Switch.load(), 1);

  g_machineSet.acceleration = 654;
  EXPECT_EQ(SaveMachineSet(), 1);
  MachineSetRecord back;
  ASSERT_EQ(LoadMachineSetFile(dir + "/MachineSetUsb.DAT", back), 1);
  EXPECT_EQ(back.acceleration, 654);
  EXPECT_FALSE(std::filesystem::exists(dir + "/MachineSet.DAT"));
  EXPECT_TRUE(prompt->Texts().empty());
}

TEST(MachineSet, UnwritableFolderReportsAndKeepsTheRecord) {
  auto prompt = FreshPrompt();
  g_installDir = FreshFolder("gone") + "/no/such/folder";
  g_softType = SOFT_TYPE_BIG_PORT_BOARD;
  g_machineSet.acceleration = 999;
  EXPECT_EQ(SaveMachineSet(), 0);
  EXPECT_EQ(prompt->Texts(), std::vector<std::string>{"save parameter error!"});
  EXPECT_EQ(g_machineSet.acceleration, 999);
}

TEST(MachineSet, FreshInstallIsTheBigPortBoardWhateverTheEnvironment) {
  const std::string dir = FreshFolder("device");
  g_installDir = dir;
  ::setenv("VENDRIK_SERIAL_DEVICE", "/tmp/vendrik-board.test", 1);
  g_softType = SOFT_TYPE_USB;
  ReadSoftType();
  EXPECT_EQ(g_softType.load(), SOFT_TYPE_BIG_PORT_BOARD);

  WriteSoftTypeWord(ZephyneFilePath(dir), SOFT_TYPE_SMALL_PORT_BOARD);
  ReadSoftType();
  EXPECT_EQ(g_softType.load(), SOFT_TYPE_SMALL_PORT_BOARD);
  ::unsetenv("VENDRIK_SERIAL_DEVICE");
}
