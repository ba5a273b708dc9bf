// The sysfs reader of PCI configuration space, on a folder laid out as
// /sys/bus/pci/devices is.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "libs/qm318/PciConfigSpace.h"

namespace qm318 {
namespace {

class SysfsTree : public ::testing::Test {
 protected:
  void SetUp() override {
    root = std::filesystem::temp_directory_path() /
           ("qm318-sysfs-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root);
  }
  void TearDown() override { std::filesystem::remove_all(root); }

  void AddDevice(const std::string& name, std::vector<unsigned char> config) {
    std::filesystem::create_directories(root / name);
    std::ofstream out(root / name / "config", std::ios::binary);
    out.write(reinterpret_cast<const char*>(config.data()), static_cast<std::streamsize>(config.size()));
  }

  std::filesystem::path root;
};

std::vector<unsigned char> Config(std::uint32_t id, std::uint32_t bar3) {
  std::vector<unsigned char> c(64, 0);
  for (int i = 0; i < 4; ++i) {
    c[static_cast<std::size_t>(i)] = static_cast<unsigned char>(id >> (8 * i));
    c[static_cast<std::size_t>(0x1C + i)] = static_cast<unsigned char>(bar3 >> (8 * i));
  }
  return c;
}

TEST_F(SysfsTree, ListsSegmentZeroFunctionsInBusDeviceFunctionOrder) {
  AddDevice("0000:02:00.0", Config(1, 0));
  AddDevice("0000:00:1f.3", Config(2, 0));
  AddDevice("0000:00:02.0", Config(3, 0));
  AddDevice("0001:00:00.0", Config(4, 0));  // another segment: out of reach
  AddDevice("not-a-device", Config(5, 0));
  SysfsPciConfigSpace space(root.string());
  const std::vector<PciFunctionAddress> expected = {{0, 2, 0}, {0, 31, 3}, {2, 0, 0}};
  EXPECT_EQ(space.Functions(), expected);
}

TEST_F(SysfsTree, ReadsLittleEndianRegistersAndAllOnesWhenUnreadable) {
  AddDevice("0000:03:04.1", Config(0x850A10B5, 0xE001));
  AddDevice("0000:03:05.0", std::vector<unsigned char>(16, 0));  // an unprivileged reader sees a short file
  SysfsPciConfigSpace space(root.string());
  EXPECT_EQ(space.ReadDword({3, 4, 1}, 0), 0x850A10B5u);
  EXPECT_EQ(space.ReadDword({3, 4, 1}, 0x1C), 0xE001u);
  EXPECT_EQ(space.ReadDword({3, 5, 0}, 0x1C), 0xFFFFFFFFu);
  EXPECT_EQ(space.ReadDword({9, 9, 0}, 0), 0xFFFFFFFFu);
  EXPECT_EQ(space.ReadDword({3, 4, 1}, 2), 0xFFFFFFFFu);
}

TEST(SysfsMissing, MissingFolderListsNothing) {
  SysfsPciConfigSpace space("/nonexistent/qm318/sysfs");
  EXPECT_TRUE(space.Functions().empty());
}

}  // namespace
}  // namespace qm318
