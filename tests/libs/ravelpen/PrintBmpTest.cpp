// PrintBmp builds and starts a job from a picture file in one call.
#include <filesystem>
#include <fstream>

#include "platform/InstallDir.h"
#include "tests/libs/ravelpen/BmpWriter.h"
#include "tests/libs/ravelpen/PlotterFixture.h"

namespace {

class PlotterPicture : public PlotterTest {
 protected:
  std::string WriteFile(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    const std::string path = platform::DefaultDataFolder() + "/" + name;
    std::filesystem::create_directories(platform::DefaultDataFolder());
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
    return path;
  }
  void StoreFloat(const char* name, float value) {
    std::vector<BYTE> bytes(64, 0);
    const std::string text = std::to_string(value);
    std::copy(text.begin(), text.end(), bytes.begin());
    settings_->WriteBinary(platform::kRegistryKey, name, bytes);
  }
};

TEST_F(PlotterPicture, ATracedPictureIsMarkedAroundTheWorkAreaCentre) {
  Raster raster(40, 40);
  raster.Fill(10, 10, 20, 20);
  const std::string path = WriteFile("square.bmp", Bmp24(raster));
  ASSERT_EQ(PrintBmp(path.c_str()), 0);
  WaitIdle();
  const auto strokes = head_->Strokes();
  ASSERT_FALSE(strokes.empty());
  // The picture's centre goes to MarkPosX + MachineRx / 2 with the stored
  // values (defaults 0 and 120), whatever InitialRange set.
  long long minX = 1 << 30, maxX = -(1 << 30);
  for (const auto& stroke : strokes)
    for (const HeadPoint& p : stroke) {
      minX = std::min(minX, p.x);
      maxX = std::max(maxX, p.x);
    }
  const double left = MachineX(minX);
  const double right = MachineX(maxX);
  EXPECT_NEAR((left + right) / 2, 60, 0.3);
  EXPECT_NEAR(right - left, 19 * 0.25, 0.3);
}

TEST_F(PlotterPicture, ResultsTellWhatStoppedThePicture) {
  EXPECT_EQ(PrintBmp((platform::DefaultDataFolder() + "/missing.bmp").c_str()), 1);
  EXPECT_EQ(PrintBmp(nullptr), 1);
  EXPECT_EQ(PrintBmp(WriteFile("palette.bmp", Bmp8(4, 4)).c_str()), 3);
  WaitIdle();

  StoreFloat("MachineRx", 5.0f);
  OnUpdateMachinePara();
  EXPECT_EQ(PrintBmp(WriteFile("any.bmp", Bmp8(4, 4)).c_str()), 2);
  StoreFloat("MachineRx", 120.0f);
  OnUpdateMachinePara();

  ASSERT_EQ(MoveToXY(-45, 40), 1);
  ASSERT_EQ(LineToXY(-5, 40), 1);
  ASSERT_EQ(PrinterStart(), 1);
  EXPECT_EQ(PrintBmp(WriteFile("busy.bmp", Bmp8(4, 4)).c_str()), 4);
  PrinterEnd();
}

}  // namespace
