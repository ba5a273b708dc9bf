// Pictures from the menu road, decoded by Qt's image readers and their
// format plugins (TIFF among them).
#include <QImage>

#include "document/objects/CObjElement.h"
#include "document/objects/CObjImage.h"
#include "platform_qt/QtPictureDecoder.h"
#include "tests/app/views/ViewCommandsFixture.h"

namespace {

constexpr int ID_IMPORT_MODULES = 32857;

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

TEST_F(PictureImportTest, TiffAndPngPicturesBecomePictureObjects) {
  QImage image(8, 6, QImage::Format_RGB32);
  image.fill(Qt::black);
  const std::string tiff = folder_ + "/picture.tif";
  ASSERT_TRUE(image.save(QString::fromStdString(tiff), "TIFF"));
  const std::string png = folder_ + "/picture.png";
  ASSERT_TRUE(image.save(QString::fromStdString(png), "PNG"));

  for (const std::string& path : {tiff, png}) {
    SCOPED_TRACE(path);
    files_->QueuePath(path);
    ASSERT_TRUE(model_->RunCommand(ID_IMPORT_MODULES, true));
    CObjElement* picture = At(Count() - 1);
    ASSERT_EQ(picture->type, OBJ_PICTURE);
    ASSERT_NE(picture->GetObjectAs<CObjImage>(), nullptr);
    EXPECT_TRUE(picture->GetObjectAs<CObjImage>()->IsLoaded());
  }
  EXPECT_EQ(Count(), 3);
  EXPECT_EQ(files_->Requests().front().defaultExt, "*.bmp");
  EXPECT_TRUE(Messages().empty());
}
