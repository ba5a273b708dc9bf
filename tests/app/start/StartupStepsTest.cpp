#include <gtest/gtest.h>

#include <cmath>

#include "app/core/StartupSteps.h"
#include "app/core/StartupValues.h"
#include "values/ShellValues.h"
#include "document/geometry/SharedHelpers.h"
#include "document/geometry/SharedState.h"
#include "platform/Clock.h"
#include "tests/app/start/TestFolder.h"

namespace {

class UnreachableBoard : public platform::PortSpace {
 public:
  bool Initialize() override { return false; }
  void Shutdown() override {}
  bool Read(WORD, DWORD&, BYTE) override { return false; }
  bool Write(WORD, DWORD, BYTE) override { return false; }
};

class NoCounterClock : public platform::SteadyClock {
 public:
  std::int64_t CounterFrequency() override { return 0; }
};

}  // namespace

TEST(StartupSteps, PortAccessFallsBackToSimulatedSpaceWhenTheBoardCannotBeReached) {
  auto prompt = FreshPrompt();
  g_winIoReady = 0;
  EXPECT_TRUE(OpenPortAccess(std::make_shared<UnreachableBoard>()));
  EXPECT_EQ(prompt->Texts(), std::vector<std::string>{"Initial port error!"});
  EXPECT_NE(dynamic_cast<platform::SimulatedPortSpace*>(&platform::CurrentPortSpace()), nullptr);
  EXPECT_EQ(g_winIoReady.load(), 1);

  // No board configured: the simulated space, silently.
  prompt->Clear();
  EXPECT_TRUE(OpenPortAccess(nullptr));
  EXPECT_TRUE(prompt->Texts().empty());
  EXPECT_NE(dynamic_cast<platform::SimulatedPortSpace*>(&platform::CurrentPortSpace()), nullptr);

  // A reachable board is used as it is.
  auto board = std::make_shared<platform::SimulatedPortSpace>();
  EXPECT_TRUE(OpenPortAccess(board));
  EXPECT_EQ(&platform::CurrentPortSpace(), board.get());
  EXPECT_TRUE(prompt->Texts().empty());
}

TEST(StartupSteps, PortBaseFromRegistryElseFirstParallelPort) {
  auto settings = FreshSettings();
  ReadPortBase();
  EXPECT_EQ(OutPortAddress.load(), 888);
  EXPECT_EQ(InPortAddress.load(), 889);
  EXPECT_EQ(CtrlPortAddress.load(), 890);
  WriteRegDword("PCI9865Base", 0xD800);
  ReadPortBase();
  EXPECT_EQ(OutPortAddress.load(), 0xD800);
  EXPECT_EQ(CtrlPortAddress.load(), 0xD802);
}

TEST(StartupSteps, InstallFolderFromFontPathTrimmedOrDataFolder) {
  auto settings = platform::MakeMemorySettingsStore();
  platform::SetSettingsStore(settings);
  // Key missing: created, and the data folder stands in for FontPath.
  ReadInstallFolder();
  EXPECT_TRUE(settings->KeyExists(platform::kRegistryKey));
  EXPECT_EQ(g_installDir, platform::DefaultDataFolder());

  settings->WriteString(platform::kRegistryKey, "FontPath", "/srv/marking/");
  ReadInstallFolder();
  EXPECT_EQ(g_installDir, "/srv/marking");
  settings->WriteString(platform::kRegistryKey, "FontPath", "C:\\Marking\\");
  ReadInstallFolder();
  EXPECT_EQ(g_installDir, "C:\\Marking");
  // A root of three characters keeps its separator.
  EXPECT_EQ(TrimInstallFolder("/a/"), "/a/");
  EXPECT_EQ(TrimInstallFolder("C:\\"), "C:\\");
  EXPECT_EQ(TrimInstallFolder("/"), "/");
}

TEST(StartupSteps, CounterCalibration) {
  auto prompt = FreshPrompt();
  platform::SetClock(std::make_shared<platform::SimulatedClock>());
  EXPECT_TRUE(CalibrateCounter());
  EXPECT_DOUBLE_EQ(g_ticksPerMicrosecond, platform::CurrentClock().CounterFrequency() * 1e-6);

  platform::SetClock(std::make_shared<NoCounterClock>());
  EXPECT_FALSE(CalibrateCounter());
  EXPECT_EQ(prompt->Texts(), std::vector<std::string>{"System don't support high frequent counter!"});
  platform::SetClock(std::make_shared<platform::SteadyClock>());
}

TEST(StartupSteps, ScreenScaleNeverInfiniteOrZero) {
  FreshSettings();
  // Reported size.
  SetScreenScale({1920, 1080, 480.0, 270.0});
  EXPECT_DOUBLE_EQ(g_pxPerMmX, 4.0);
  EXPECT_DOUBLE_EQ(g_pxPerMmY, 4.0);
  EXPECT_DOUBLE_EQ(g_physScreenWidthMm, 480.0);

  // The operator's measured size wins.
  WriteRegFloat("PhyScreenWidth", 400.0f);
  WriteRegFloat("PhyScreenHeight", 216.0f);
  SetScreenScale({1920, 1080, 480.0, 270.0});
  EXPECT_DOUBLE_EQ(g_pxPerMmX, 4.8);
  EXPECT_DOUBLE_EQ(g_pxPerMmY, 5.0);

  // A stored width of 0 falls back to the reported size.
  WriteRegFloat("PhyScreenWidth", 0.0f);
  WriteRegFloat("PhyScreenHeight", -3.0f);
  SetScreenScale({1920, 1080, 480.0, 270.0});
  EXPECT_DOUBLE_EQ(g_pxPerMmX, 4.0);
  EXPECT_DOUBLE_EQ(g_pxPerMmY, 4.0);

  // Nothing known about the screen: 96 dpi.
  SetScreenScale({1920, 1080, 0.0, 0.0});
  EXPECT_NEAR(g_pxPerMmX, 96.0 / 25.4, 1e-9);
  SetScreenScale({0, 0, 0.0, 0.0});
  EXPECT_TRUE(std::isfinite(g_pxPerMmX) && g_pxPerMmX > 0);
  EXPECT_TRUE(std::isfinite(g_pxPerMmY) && g_pxPerMmY > 0);
}
