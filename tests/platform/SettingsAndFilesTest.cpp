#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <vector>

#include "platform/InstallDir.h"
#include "platform/NumberText.h"
#include "platform/SettingsStore.h"

namespace fs = std::filesystem;

namespace {

std::string FreshFolder(const std::string& name) {
  const fs::path dir = fs::path(platform::DefaultDataFolder()) / name;
  fs::remove_all(dir);
  fs::create_directories(dir);
  return dir.string();
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

// A float as the registry helpers keep it: "%f" text in a zeroed 64-byte value.
std::vector<BYTE> FloatValue(float f) {
  std::vector<BYTE> bytes(64, 0);
  const std::string text = platform::FormatC("%f", f);
  std::memcpy(bytes.data(), text.data(), text.size());
  return bytes;
}

// Each store kind must behave the same.
class SettingsStoreTest : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    if (GetParam()) {
      // Cases may run at once in separate processes: each has its own folder.
      path_ = FreshFolder(std::string("settings-") + ::testing::UnitTest::GetInstance()->current_test_info()->name()) +
              "/settings.ini";
      store_ = platform::MakeFileSettingsStore(path_);
    } else {
      store_ = platform::MakeMemorySettingsStore();
    }
  }
  std::string path_;
  std::shared_ptr<platform::SettingsStore> store_;
};

TEST_P(SettingsStoreTest, ValuesRoundTripUnderTheKey) {
  const std::string key = platform::kRegistryKey;
  ASSERT_TRUE(store_->CreateKey(key));
  ASSERT_TRUE(store_->WriteDword(key, "PCI9865Base", 0xD000));
  ASSERT_TRUE(store_->WriteDword(key, "DefaultColor", 0xFFFFFFFFu));
  ASSERT_TRUE(store_->WriteBinary(key, "MarkPositionX", FloatValue(12.5f)));
  ASSERT_TRUE(store_->WriteString(key, "FontPath", "/opt/vendrik data/[x]=%20\n"));

  DWORD d = 0;
  EXPECT_TRUE(store_->ReadDword(key, "PCI9865Base", d));
  EXPECT_EQ(d, 0xD000u);
  EXPECT_TRUE(store_->ReadDword(key, "DefaultColor", d));
  EXPECT_EQ(d, 0xFFFFFFFFu);
  std::vector<BYTE> bytes;
  EXPECT_TRUE(store_->ReadBinary(key, "MarkPositionX", bytes));
  EXPECT_EQ(bytes, FloatValue(12.5f));
  std::string s;
  EXPECT_TRUE(store_->ReadString(key, "FontPath", s));
  EXPECT_EQ(s, "/opt/vendrik data/[x]=%20\n");

  // Overwrite keeps one value.
  ASSERT_TRUE(store_->WriteDword(key, "PCI9865Base", 0x378));
  EXPECT_TRUE(store_->ReadDword(key, "PCI9865Base", d));
  EXPECT_EQ(d, 0x378u);
}

TEST_P(SettingsStoreTest, MissingOrMismatchedValuesLeaveTheOutputAlone) {
  const std::string key = platform::kRegistryKey;
  DWORD d = 1234;
  std::vector<BYTE> bytes = {9, 9};
  std::string s = "default";
  // No key yet: reads fail, writes do not create it.
  EXPECT_FALSE(store_->KeyExists(key));
  EXPECT_FALSE(store_->ReadDword(key, "OptimizeSpeed", d));
  EXPECT_FALSE(store_->WriteDword(key, "OptimizeSpeed", 5));
  EXPECT_FALSE(store_->KeyExists(key));

  ASSERT_TRUE(store_->CreateKey(key));
  EXPECT_TRUE(store_->KeyExists(key));
  EXPECT_FALSE(store_->ReadDword(key, "OptimizeSpeed", d));
  EXPECT_FALSE(store_->ReadBinary(key, "DistanceVer", bytes));
  EXPECT_FALSE(store_->ReadString(key, "FontPath", s));
  // A value of another kind is not read as this kind.
  ASSERT_TRUE(store_->WriteDword(key, "DistanceVer", 3));
  EXPECT_FALSE(store_->ReadBinary(key, "DistanceVer", bytes));
  EXPECT_FALSE(store_->ReadDword("Software\\Other", "DistanceVer", d));
  EXPECT_EQ(d, 1234u);
  EXPECT_EQ(bytes, (std::vector<BYTE>{9, 9}));
  EXPECT_EQ(s, "default");
}

INSTANTIATE_TEST_SUITE_P(MemoryAndFile, SettingsStoreTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "File" : "Memory"; });

TEST(FileSettingsStore, ReopenedFileGivesTheSameValuesAndSkipsBadLines) {
  const std::string path = FreshFolder("settings-reopen") + "/settings.ini";
  const std::string key = platform::kRegistryKey;
  {
    auto store = platform::MakeFileSettingsStore(path);
    ASSERT_TRUE(store->CreateKey(key));
    ASSERT_TRUE(store->WriteDword(key, "SuccessedNum", 77));
    ASSERT_TRUE(store->WriteBinary(key, "PhyScreenWidth", FloatValue(344.0f)));
    // Names the file format could mistake for comments, and the key's default value.
    ASSERT_TRUE(store->WriteDword(key, "#1", 1));
    ASSERT_TRUE(store->WriteString(key, ";note", "a;b#c"));
    ASSERT_TRUE(store->WriteDword(key, "", 3));
  }
  {
    auto reopened = platform::MakeFileSettingsStore(path);
    DWORD d = 0;
    std::string s;
    EXPECT_TRUE(reopened->ReadDword(key, "#1", d));
    EXPECT_EQ(d, 1u);
    EXPECT_TRUE(reopened->ReadString(key, ";note", s));
    EXPECT_EQ(s, "a;b#c");
    EXPECT_TRUE(reopened->ReadDword(key, "", d));
    EXPECT_EQ(d, 3u);
  }
  // Damage the file by hand: garbage, a half line, a bad hex value.
  {
    std::ofstream out(path, std::ios::app | std::ios::binary);
    out << "garbage without equals\nBroken=hex:abc\nAlso=dword:xyz\n=dword:\nGood=dword:0000002a\r\n[unclosed\nLost=dword:1\n";
  }
  auto store = platform::MakeFileSettingsStore(path);
  DWORD d = 0;
  EXPECT_TRUE(store->ReadDword(key, "SuccessedNum", d));
  EXPECT_EQ(d, 77u);
  EXPECT_TRUE(store->ReadDword(key, "Good", d));
  EXPECT_EQ(d, 42u);
  EXPECT_TRUE(store->ReadDword(key, "successednum", d)) << "value names ignore case";
  std::vector<BYTE> bytes;
  EXPECT_TRUE(store->ReadBinary(key, "PhyScreenWidth", bytes));
  EXPECT_EQ(bytes, FloatValue(344.0f));
  d = 5;
  EXPECT_FALSE(store->ReadDword(key, "Broken", d));
  EXPECT_FALSE(store->ReadDword(key, "Also", d));
  EXPECT_FALSE(store->ReadDword(key, "Lost", d));
  EXPECT_EQ(d, 5u);
}

TEST(FileSettingsStore, FailedSaveIsReportedAndNotKept) {
  const std::string folder = FreshFolder("settings-nofolder");
  const std::string path = folder + "/sub/settings.ini";
  auto store = platform::MakeFileSettingsStore(path);
  EXPECT_FALSE(store->CreateKey(platform::kRegistryKey)) << "the folder does not exist";
  EXPECT_FALSE(store->KeyExists(platform::kRegistryKey));
  fs::create_directories(folder + "/sub");
  EXPECT_TRUE(store->CreateKey(platform::kRegistryKey));
  EXPECT_TRUE(store->WriteDword(platform::kRegistryKey, "CpuSpeed10", 30));
  fs::remove_all(folder + "/sub");
  EXPECT_FALSE(store->WriteDword(platform::kRegistryKey, "CpuSpeed10", 31));
  DWORD d = 0;
  EXPECT_TRUE(store->ReadDword(platform::kRegistryKey, "CpuSpeed10", d));
  EXPECT_EQ(d, 30u);
}

TEST(SettingsGlobal, DefaultStoreLivesInTheConfigFolder) {
  platform::SetSettingsStore(nullptr);
  auto& store = platform::Settings();
  ASSERT_TRUE(store.CreateKey(platform::kRegistryKey));
  ASSERT_TRUE(store.WriteDword(platform::kRegistryKey, "CheckPCIBoard", 1));
  const std::string text = ReadAll(platform::DefaultConfigFolder() + "/settings.ini");
  EXPECT_NE(text.find("CheckPCIBoard"), std::string::npos);
  EXPECT_NE(text.find("BrontavelV20"), std::string::npos);
}

TEST(InstallDir, JoinsWithOneSeparatorExceptAfterARoot) {
  EXPECT_EQ(platform::JoinInstallPath("/opt/vendrik", "Fonts"), "/opt/vendrik/Fonts");
  EXPECT_EQ(platform::JoinInstallPath("/op", "Fonts"), "/op/Fonts");
  EXPECT_EQ(platform::JoinInstallPath("C:\\", "Fonts"), "C:\\Fonts");
  EXPECT_EQ(platform::JoinInstallPath("/", "Fonts"), "/Fonts");
  EXPECT_EQ(platform::JoinInstallPath("", "Fonts"), "Fonts");
}

TEST(InstallDir, DataAndConfigFoldersComeFromTheEnvironmentAndExist) {
  const std::string data = platform::DefaultDataFolder();
  EXPECT_EQ(data, std::getenv("VENDRIK_DATA_DIR") ? std::string(std::getenv("VENDRIK_DATA_DIR")) : data);
  EXPECT_TRUE(fs::is_directory(data));
  EXPECT_TRUE(fs::is_directory(platform::DefaultConfigFolder()));
}

TEST(WriteFileAtomic, ReplacesWholeFileAndKeepsItsMode) {
  const std::string path = FreshFolder("atomic-ok") + "/MachineSet.DAT";
  const std::vector<char> first(296, 'a');
  ASSERT_TRUE(platform::WriteFileAtomic(path, first.data(), first.size()));
  ::chmod(path.c_str(), 0640);
  const std::string second = "short";
  ASSERT_TRUE(platform::WriteFileAtomic(path, second.data(), second.size()));
  EXPECT_EQ(ReadAll(path), "short");
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_TRUE(platform::WriteFileAtomic(path, nullptr, 0));
  EXPECT_EQ(ReadAll(path), "");
  EXPECT_FALSE(platform::WriteFileAtomic(path, nullptr, 3));
}

TEST(WriteFileAtomic, FailedWriteLeavesTheOldFileAndNoTemporaries) {
  const std::string folder = FreshFolder("atomic-fail");
  const std::string path = folder + "/MachineSetUsb.DAT";
  const std::string old(296, 'o');
  ASSERT_TRUE(platform::WriteFileAtomic(path, old.data(), old.size()));

  // A file-size limit makes the write fail half-way, as a full disk would.
  struct rlimit saved {};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  auto previous = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = saved;
  small.rlim_cur = 100;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const std::string fresh(296, 'n');
  const bool written = platform::WriteFileAtomic(path, fresh.data(), fresh.size());
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previous);

  EXPECT_FALSE(written);
  EXPECT_EQ(ReadAll(path), old);
  std::size_t files = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder)) ++files;
  EXPECT_EQ(files, 1u);
  // A folder in the way of the target is a failure too.
  fs::create_directories(folder + "/taken/inner");
  EXPECT_FALSE(platform::WriteFileAtomic(folder + "/taken", fresh.data(), fresh.size()));
  EXPECT_FALSE(platform::WriteFileAtomic(folder + "/missing/x.DAT", fresh.data(), fresh.size()));
}

}  // namespace
