// Pictures from the menu road, decoded by Qt's image readers and their
// format plugins (TIFF and TGA among them).
#include <QImage>
#include <fstream>

#include "document/objects/CObjElement.h"
#include "document/objects/CObjImage.h"
#include "platform_qt/QtPictureDecoder.h"
#include "tests/app/views/ViewCommandsFixture.h"
#include "tests/support/PcxTestFile.h"

namespace {

constexpr int ID_IMPORT_MODULES = 32857;

// An uncompressed true-colour TGA of version 2 (the version Qt's reader
// takes), bottom-up rows of blue, green, red, then the version 2 footer.
std::string Tga(int width, int height) {
  std::string bytes(18, '\0');
  bytes[2] = 2;
  bytes[12] = static_cast<char>(width & 0xFF);
  bytes[13] = static_cast<char>(width >> 8);
  bytes[14] = static_cast<char>(height & 0xFF);
  bytes[15] = static_cast<char>(height >> 8);
  bytes[16] = 24;
  for (int i = 0; i < width * height; ++i) bytes += (i % 2 == 0) ? std::string(3, '\0') : std::string(3, '\xff');
  bytes += std::string(8, '\0') + "TRUEVISION-XFILE." + std::string(1, '\0');
  return bytes;
}

}  // namespace

class PictureImportTest : public ViewCommandsTest {
 protected:
  void SetUp() override {
    ViewCommandsTest::SetUp();
    platform_qt::InstallQtPictureDecoder();
  }
  void TearDown() override {
    platform::SetPictureDecoder(nullptr);
    ViewCommandsTest::TearDown();
  }
};

TEST_F(PictureImportTest, TiffPngTgaAndPcxPicturesBecomePictureObjects) {
  QImage image(8, 6, QImage::Format_RGB32);
  image.fill(Qt::black);
  const std::string tiff = folder_ + "/picture.tif";
  ASSERT_TRUE(image.save(QString::fromStdString(tiff), "TIFF"));
  const std::string png = folder_ + "/picture.png";
  ASSERT_TRUE(image.save(QString::fromStdString(png), "PNG"));

  const std::string tga = folder_ + "/picture.tga";
  const std::string bytes = Tga(5, 4);
  std::ofstream(tga, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));

  PcxPicture picture;
  picture.kind = PcxKind::Rgb;
  picture.width = 6;
  picture.height = 3;
  picture.pixels.assign(18, 0x123456);
  const std::string pcx = folder_ + "/picture.pcx";
  const std::string pcxBytes = EncodePcx(picture);
  std::ofstream(pcx, std::ios::binary).write(pcxBytes.data(), static_cast<std::streamsize>(pcxBytes.size()));

  for (const std::string& path : {tiff, png, tga, pcx}) {
    SCOPED_TRACE(path);
    files_->QueuePath(path);
    ASSERT_TRUE(model_->RunCommand(ID_IMPORT_MODULES, true));
    CObjElement* picture = At(Count() - 1);
    ASSERT_EQ(picture->type, OBJ_PICTURE);
    ASSERT_NE(picture->GetObjectAs<CObjImage>(), nullptr);
    EXPECT_TRUE(picture->GetObjectAs<CObjImage>()->IsLoaded());
  }
  EXPECT_EQ(Count(), 5);
  EXPECT_EQ(files_->Requests().front().defaultExt, "*.bmp");
  EXPECT_TRUE(Messages().empty());
}
