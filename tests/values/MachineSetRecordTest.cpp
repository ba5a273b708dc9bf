#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "values/MachineSetRecord.h"
#include "values/ShellValues.h"
#include "tests/values/MachineSetClampCase.h"

namespace {

template <typename T>
T At(const std::vector<unsigned char>& bytes, std::size_t offset) {
  T v;
  std::memcpy(&v, bytes.data() + offset, sizeof v);
  return v;
}

std::vector<unsigned char> Bytes(const MachineSetRecord& r) {
  std::vector<unsigned char> b(sizeof r);
  std::memcpy(b.data(), &r, sizeof r);
  return b;
}

}  // namespace

TEST(MachineSetRecord, DefaultsSitAtTheirFileOffsets) {
  std::vector<unsigned char> b = Bytes(DefaultMachineSetRecord());
  ASSERT_EQ(b.size(), 296u);
  EXPECT_EQ(At<std::int32_t>(b, 8), 50);
  EXPECT_EQ(At<std::int32_t>(b, 16), 100);
  EXPECT_EQ(At<float>(b, 24), 25.0f);
  EXPECT_EQ(At<float>(b, 28), 32.0f);
  EXPECT_EQ(At<float>(b, 32), 45.0f);
  EXPECT_EQ(At<float>(b, 36), 4.0f);
  EXPECT_EQ(At<std::int32_t>(b, 68), 6);
  EXPECT_EQ(At<float>(b, 72), 30.0f);
  EXPECT_EQ(At<float>(b, 76), 10.0f);
  EXPECT_EQ(At<double>(b, 136), 4.0);
  EXPECT_EQ(At<float>(b, 144), 20.0f);
  EXPECT_EQ(At<std::int32_t>(b, 152), 50);
  EXPECT_EQ(At<double>(b, 168), 100.0);
  EXPECT_EQ(At<std::int32_t>(b, 176), 500);
  // Everything else is zero, padding and the reserved tail included.
  MachineSetRecord r = DefaultMachineSetRecord();
  r.normalDelay = r.startDelay = r.microstepExponent = r.dotTime = r.acceleration = 0;
  r.penDownSpeed = r.penUpSpeed = r.resetSpeed = r.stepX = r.transmissionConstant = r.motorDiameter = 0;
  r.auxiliarySpeed = 0;
  r.stepY = r.maxSpeed = 0;
  for (unsigned char c : Bytes(r)) ASSERT_EQ(c, 0);
}

TEST(MachineSetRecord, FieldsShareBytesTheWayTheFileDoes) {
  MachineSetRecord r = DefaultMachineSetRecord();
  r.startPath[2] = 1.5f;
  r.resetPath[3] = -2.0f;
  r.originCorner = 3;
  r.machineDouble1 = 50.0f;
  r.pulseDuty = 12.5;
  r.jogStepIndex = 4;
  r.openJogAtStart = 1;
  r.controlBit0Switch = 1;
  r.secondOptionByte = 0x22;
  r.boardOption = 7;
  r.objectEndDelay = 60000;
  std::vector<unsigned char> b = Bytes(r);
  EXPECT_EQ(At<float>(b, 0x68), 1.5f);
  EXPECT_EQ(At<float>(b, 0x7C), -2.0f);
  EXPECT_EQ(At<std::int32_t>(b, 128), 3);
  EXPECT_EQ(At<float>(b, 0x84), 50.0f);
  EXPECT_EQ(At<double>(b, 0xA0), 12.5);
  EXPECT_EQ(b[201], 4);
  EXPECT_EQ(b[202], 1);
  EXPECT_EQ(b[212], 1);
  EXPECT_EQ(b[213], 0x22);
  EXPECT_EQ(At<std::int32_t>(b, 216), 7);
  EXPECT_EQ(At<std::int32_t>(b, 0xDC), 60000);
}

TEST(MachineSetRecord, LoadClamps) {
  MachineSetRecord r = DefaultMachineSetRecord();
  PutOutOfRangeValues(r);
  ApplyMachineSetLoadClamps(r);
  ExpectOutOfRangeValuesClamped(r);

  MachineSetRecord edge = DefaultMachineSetRecord();  // limits themselves pass
  edge.stepX = 200;
  edge.stepY = 0.5;
  edge.microstepExponent = 8;
  edge.originCorner = 3;
  edge.acceleration = 1;
  ApplyMachineSetLoadClamps(edge);
  EXPECT_EQ(edge.stepX, 200.0f);
  EXPECT_EQ(edge.stepY, 0.5);
  EXPECT_EQ(edge.microstepExponent, 8);
  EXPECT_EQ(edge.originCorner, 3);
  EXPECT_EQ(edge.acceleration, 1);
}

TEST(ShellValues, StartUsableWithoutTheShell) {
  EXPECT_GT(PixelsPerMmX, 0);
  EXPECT_GT(PixelsPerMmY, 0);
  EXPECT_GT(TicksPerMicrosecond, 0);
  EXPECT_EQ(MachineSettingsLoaded, 0);
  EXPECT_EQ(std::memcmp(&MachineSettings, &g_machineSet, sizeof(MachineSetRecord)), 0);
  EXPECT_EQ(&g_machineSet, &MachineSettings);
  EXPECT_EQ(MachineSettings.acceleration, 500);
  g_softType = SOFT_TYPE_USB;
  EXPECT_EQ(SoftType.load(), 1);
  SoftType = 0;
}
