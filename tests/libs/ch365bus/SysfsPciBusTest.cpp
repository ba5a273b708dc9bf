// The sysfs backend on a made-up device tree: discovery by vendor and device
// id, the I/O window through its resource file, the memory window mapped,
// configuration through "config", and the exclusive-use lock.
#include "libs/ch365bus/SysfsPciBus.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "libs/ch365bus/Ch365Commands.h"
#include "libs/drunvel/Drunvel.h"

namespace {

namespace fs = std::filesystem;
using namespace ch365;

constexpr std::uint64_t kIoStart = 0xD000;
constexpr std::uint64_t kMemStart = 0xFE800000;

class SysfsPciBusTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() /
            ("ch365-sysfs-" + std::to_string(::getpid()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(root_);
  }
  void TearDown() override {
    for (std::uint32_t i = 0; i < kMaxDevices; ++i) CH365mCloseDevice(i);
    ch365::SetBus(std::make_shared<SysfsPciBus>(root_.string() + "/none"));
    fs::remove_all(root_);
  }

  static void WriteFile(const fs::path& path, const std::string& text) { std::ofstream(path) << text; }
  static void WriteZeros(const fs::path& path, std::size_t size) {
    std::ofstream out(path, std::ios::binary);
    out << std::string(size, '\0');
  }

  // A device folder as the kernel lays it out; withIo false leaves out the I/O region.
  fs::path AddDevice(const std::string& name, unsigned vendor, unsigned device, bool withIo = true) {
    const fs::path dir = root_ / name;
    fs::create_directories(dir);
    char text[32];
    std::snprintf(text, sizeof text, "0x%04x\n", vendor);
    WriteFile(dir / "vendor", text);
    std::snprintf(text, sizeof text, "0x%04x\n", device);
    WriteFile(dir / "device", text);
    std::vector<char> config(256, 0);
    config[0x3C] = 10;
    std::ofstream(dir / "config", std::ios::binary).write(config.data(), config.size());
    std::string resource;
    char line[96];
    std::snprintf(line, sizeof line, "0x%016llx 0x%016llx 0x%016llx\n", withIo ? 0ull + kIoStart : 0ull,
                  withIo ? kIoStart + 0xFF : 0ull, withIo ? 0x40101ull : 0ull);
    resource += line;
    std::snprintf(line, sizeof line, "0x%016llx 0x%016llx 0x%016llx\n", 0ull + kMemStart, 0ull + kMemStart + 0x7FFF,
                  0x40200ull);
    resource += line;
    resource += "0x0000000000000000 0x0000000000000000 0x0000000000000000\n";
    WriteFile(dir / "resource", resource);
    WriteZeros(dir / "resource0", 256);
    WriteZeros(dir / "resource1", 0x8000);
    return dir;
  }

  static std::vector<std::uint8_t> FileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  fs::path root_;
};

TEST_F(SysfsPciBusTest, FindsOnlyBridgesByTheirIdsInNameOrder) {
  AddDevice("0000:05:00.0", kVendorId, kDeviceId);
  AddDevice("0000:00:1f.0", 0x8086, 0x1234);
  AddDevice("0000:03:00.0", kVendorId, kDeviceId);
  AddDevice("0000:04:00.0", kVendorId, 0x5050);
  SysfsPciBus bus(root_.string());
  EXPECT_EQ(bus.DevicePaths(),
            (std::vector<std::string>{(root_ / "0000:03:00.0").string(), (root_ / "0000:05:00.0").string()}));
  EXPECT_TRUE(SysfsPciBus((root_ / "missing").string()).DevicePaths().empty());
}

TEST_F(SysfsPciBusTest, LibraryReachesTheWindowsThroughTheResourceFiles) {
  const fs::path dir = AddDevice("0000:03:00.0", kVendorId, kDeviceId);
  ch365::SetBus(std::make_shared<SysfsPciBus>(root_.string()));
  ASSERT_NE(CH365mOpenDevice(0, 1, 1), CH365_INVALID_HANDLE);
  std::uint32_t io = 0, mem = 0, line = 0;
  ASSERT_EQ(CH365mGetIoBaseAddr(0, &io), 1);
  ASSERT_EQ(CH365mGetMemBaseAddr(0, &mem), 1);
  ASSERT_EQ(CH365mGetIntLine(0, &line), 1);
  EXPECT_EQ(io, kIoStart);
  EXPECT_EQ(mem, kMemStart);
  EXPECT_EQ(line, 10u);

  ASSERT_EQ(CH365mWriteIoByte(0, 0x10, 0x5A), 1);
  ASSERT_EQ(CH365mWriteIoDword(0, 0x20, 0x11223344), 1);
  ASSERT_EQ(CH365mWriteMemDword(0, 0x100, 0xCAFEF00D), 1);
  ASSERT_EQ(CH365mWriteConfig(0, 0x40, 0x77), 1);
  EXPECT_EQ(FileBytes(dir / "resource0")[0x10], 0x5A);
  EXPECT_EQ(FileBytes(dir / "resource0")[0x23], 0x11);
  EXPECT_EQ(FileBytes(dir / "resource1")[0x101], 0xF0);
  EXPECT_EQ(FileBytes(dir / "config")[0x40], 0x77);
  std::uint32_t value = 0;
  ASSERT_EQ(CH365mReadMemDword(0, 0x100, &value), 1);
  EXPECT_EQ(value, 0xCAFEF00Du);

  // Outside the windows, and moving them, are refused.
  EXPECT_EQ(CH365mWriteIoByte(0, kIoStart + 0x100, 1), 0);
  EXPECT_EQ(CH365mWriteMemByte(0, kMemStart + 0x8000, 1), 0);
  EXPECT_EQ(CH365mSetIoBaseAddr(0, 0xC000), 0);
  EXPECT_EQ(CH365mSetIoBaseAddr(0, kIoStart), 1);
  // Interrupts do not come through sysfs.
  EXPECT_EQ(CH365mWaitInterrupt(0), 0);
}

TEST_F(SysfsPciBusTest, ExclusiveUseKeepsOtherOpensOut) {
  const fs::path dir = AddDevice("0000:03:00.0", kVendorId, kDeviceId);
  SysfsPciBus bus(root_.string());
  auto first = bus.Open(dir.string(), false);
  ASSERT_TRUE(first);
  auto second = bus.Open(dir.string(), false);
  ASSERT_TRUE(second);
  CH365_CMD_BLOCK exclusive{kSetExclusive, 0, 1, {1}};
  std::uint32_t returned = 0;
  // Shared holders keep the lock from becoming exclusive.
  EXPECT_FALSE(first->Control(kIoControlCode, reinterpret_cast<std::uint8_t*>(&exclusive), 16, 16, returned));
  second.reset();
  EXPECT_TRUE(first->Control(kIoControlCode, reinterpret_cast<std::uint8_t*>(&exclusive), 16, 16, returned));
  EXPECT_FALSE(bus.Open(dir.string(), false));
  EXPECT_TRUE(bus.Open(dir.string(), true)) << "the interrupt handle takes no part in the lock";
  CH365_CMD_BLOCK shared{kSetExclusive, 0, 1, {0}};
  EXPECT_TRUE(first->Control(kIoControlCode, reinterpret_cast<std::uint8_t*>(&shared), 16, 16, returned));
  EXPECT_TRUE(bus.Open(dir.string(), false));
}

TEST_F(SysfsPciBusTest, DeviceWithoutAnIoWindowOrAccessCannotBeOpened) {
  const fs::path noIo = AddDevice("0000:03:00.0", kVendorId, kDeviceId, false);
  const fs::path locked = AddDevice("0000:04:00.0", kVendorId, kDeviceId);
  SysfsPciBus bus(root_.string());
  EXPECT_FALSE(bus.Open(noIo.string(), false));
  fs::remove(locked / "resource0");
  EXPECT_FALSE(bus.Open(locked.string(), false));
  EXPECT_FALSE(bus.Open((root_ / "gone").string(), false));
  ch365::SetBus(std::make_shared<SysfsPciBus>(root_.string()));
  EXPECT_EQ(CH365mOpenDevice(0, 1, 1), CH365_INVALID_HANDLE);
  EXPECT_EQ(CH365mOpenDevice(1, 1, 1), CH365_INVALID_HANDLE);
}

// Command blocks the driver layer must refuse whatever the bridge.
TEST_F(SysfsPciBusTest, DriverLayerRefusesMalformedRequests) {
  const fs::path dir = AddDevice("0000:03:00.0", kVendorId, kDeviceId);
  SysfsPciBus bus(root_.string());
  auto handle = bus.Open(dir.string(), false);
  ASSERT_TRUE(handle);
  std::uint32_t returned = 0;
  CH365_CMD_BLOCK block{kReadIoByte, kIoStart, 1, {}};
  auto* bytes = reinterpret_cast<std::uint8_t*>(&block);
  EXPECT_FALSE(handle->Control(0x223CDC, bytes, 16, 16, returned)) << "other control code";
  EXPECT_FALSE(handle->Control(kIoControlCode, bytes, 11, 11, returned)) << "short header";
  EXPECT_FALSE(handle->Control(kIoControlCode, nullptr, 16, 16, returned));
  CH365_CMD_BLOCK longRead{kReadIoBlock, kIoStart, 40, {}};
  EXPECT_FALSE(handle->Control(kIoControlCode, reinterpret_cast<std::uint8_t*>(&longRead), 16, 16, returned))
      << "length past the buffer";
  EXPECT_TRUE(handle->Control(kIoControlCode, bytes, 16, 16, returned));
  EXPECT_EQ(returned, 16u);
}

}  // namespace
