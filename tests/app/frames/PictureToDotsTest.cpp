// The operator's road from a picture file to dots: the main frame's "Import
// modules" command with the file dialog, the picture's "Image" page and its
// "Translate points..." button. The dots come out on the dot spacing the
// layout view read from the settings, centred where the picture was; the
// selected picture's frame lies where every object's does.
#include <QImage>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>

#include "app/frames/CChildFrame.h"
#include "app/frames/CMainFrame.h"
#include "app/views/CProperityPane.h"
#include "app/views/CVendrikView.h"
#include "document/doc/CVendrikDoc.h"
#include "document/geometry/SharedHelpers.h"
#include "document/objects/CObjDotCollect.h"
#include "document/objects/CObjElement.h"
#include "document/objects/CObjImage.h"
#include "platform/FileDialog.h"
#include "platform_qt/QtPictureDecoder.h"
#include "properties/framework/CPropertyPage.h"
#include "properties/link/CProperityView.h"
#include "properties/sheet/CObjProperitySheet.h"
#include "tests/app/frames/FramesFixture.h"
#include "tests/support/PcxTestFile.h"

namespace {

constexpr int ID_IMPORT_MODULES = 32857;
constexpr int kTranslatePoints = 1007;
constexpr float kSpacing = 0.5f;

// A 120 x 60 pixel logo: four black squares of 11 pixels, placed
// symmetrically, on a transparent ground (PNG) or white (PCX).
constexpr int kW = 120;
constexpr int kH = 60;
bool InSquare(int x, int y) { return ((x >= 14 && x <= 24) || (x >= 95 && x <= 105)) && ((y >= 9 && y <= 19) || (y >= 40 && y <= 50)); }

std::string WritePng(const std::string& path) {
  QImage logo(kW, kH, QImage::Format_ARGB32);
  logo.fill(Qt::transparent);
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x)
      if (InSquare(x, y)) logo.setPixel(x, y, qRgb(0, 0, 0));
  EXPECT_TRUE(logo.save(QString::fromStdString(path), "PNG"));
  return path;
}

std::string WritePcx(const std::string& path) {
  PcxPicture p;
  p.kind = PcxKind::Mono;
  p.width = kW;
  p.height = kH;
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) p.pixels.push_back(InSquare(x, y) ? 0 : 1);
  const std::string bytes = EncodePcx(p);
  std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return path;
}

bool OnCellCentre(double v, double cell) {
  const double halves = v / (cell / 2);
  return std::fabs(halves - std::round(halves)) < 1e-6 && static_cast<long>(std::round(halves)) % 2 != 0;
}

}  // namespace

class PictureToDotsTest : public FramesTest {
 protected:
  void SetUp() override {
    FramesTest::SetUp();
    platform_qt::InstallQtPictureDecoder();
    dialog_ = std::make_shared<platform::ScriptedFileDialog>();
    platform::SetFileDialog(dialog_);
    // The dot spacing the layout view reads when it is made.
    WriteRegFloat("DistanceHor", kSpacing);
    WriteRegFloat("DistanceVer", kSpacing);
  }
  void TearDown() override {
    FramesTest::TearDown();
    platform::SetFileDialog(std::make_shared<platform::ScriptedFileDialog>());
    platform::SetPictureDecoder(nullptr);
  }

  CObjElement* Last() const {
    CObjPtrArray& objects = app_->MainFrame()->ActiveChildFrame()->Document()->Objects();
    return objects[objects.GetSize() - 1];
  }

  // Brings the tab of the caption to the front as a click on it does.
  void ClickTab(CObjProperitySheet& sheet, const QString& caption) {
    QTabBar* bar = sheet.tabBar();
    for (int i = 0; i < bar->count(); ++i) {
      if (bar->tabText(i) == caption) {
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(i).center());
        PumpQt();
        return;
      }
    }
    ADD_FAILURE() << "no tab " << caption.toStdString();
  }

  // Delivers posted messages until the condition holds (a bounded number of
  // rounds, never a clock).
  static bool PumpUntil(const std::function<bool()>& done) {
    for (int round = 0; round < 100; ++round) {
      if (done()) return true;
      PumpQt();
    }
    return done();
  }

  std::shared_ptr<platform::ScriptedFileDialog> dialog_;
};

TEST_F(PictureToDotsTest, PngAndPcxLogosBecomeDotsOnTheViewsSpacingCentredOnThePicture) {
  ASSERT_TRUE(Start());
  CChildFrame* child = app_->MainFrame()->ActiveChildFrame();
  ASSERT_NE(child, nullptr);
  child->resize(1000, 800);
  PumpQt();
  for (const std::string& path : {WritePng(folder_ + "/logo.png"), WritePcx(folder_ + "/logo.pcx")}) {
    SCOPED_TRACE(path);
    dialog_->QueuePath(path);
    app_->MainFrame()->Action(ID_IMPORT_MODULES)->trigger();
    PumpQt();
    CObjElement* picture = Last();
    ASSERT_EQ(picture->type, OBJ_PICTURE);
    const CDoubleRect frame = picture->GetObjectAs<CObjImage>()->GetPictureRect();

    CObjProperitySheet* sheet = child->PropertyPane()->View()->GetSheet();
    ASSERT_NE(sheet, nullptr);
    ClickTab(*sheet, "Image");
    ASSERT_NE(sheet->ActivePage(), nullptr);
    auto* translate = sheet->ActivePage()->findChild<QPushButton*>(QString("button%1").arg(kTranslatePoints));
    ASSERT_NE(translate, nullptr);
    QTest::mouseClick(translate, Qt::LeftButton);
    // The change travels page -> sheet -> property view -> layout view.
    ASSERT_TRUE(PumpUntil([this] { return Last()->type == OBJ_DOTIMAGE; }));

    CObjElement* made = Last();
    ASSERT_EQ(made->type, OBJ_DOTIMAGE);
    const auto* dots = made->GetObjectAs<CObjDotCollect>();
    ASSERT_NE(dots, nullptr);
    EXPECT_DOUBLE_EQ(dots->GetCellWidth(), kSpacing);
    EXPECT_DOUBLE_EQ(dots->GetCellHeight(), kSpacing);
    const CPointList& points = dots->GetPathData().points;
    ASSERT_EQ(points.GetSize(), 4);  // one dot a square
    for (int i = 0; i < points.GetSize(); ++i) {
      EXPECT_TRUE(OnCellCentre(points[i].x, kSpacing)) << points[i].x;
      EXPECT_TRUE(OnCellCentre(points[i].y, kSpacing)) << points[i].y;
    }
    const CDoubleRect bounds = dots->GetBoundRect();
    EXPECT_NEAR(bounds.CenterX(), frame.CenterX(), kSpacing / 2);
    EXPECT_NEAR(bounds.CenterY(), frame.CenterY(), kSpacing / 2);
    // The dot size starts as the picture's: the squares' dots span it.
    EXPECT_NEAR(bounds.Width(), frame.Width(), kSpacing);
    EXPECT_NEAR(bounds.Height(), frame.Height(), kSpacing);
  }
  EXPECT_TRUE(prompt_->Texts().empty());
}

TEST_F(PictureToDotsTest, DamagedPcxFromTheMenuIsRefusedWithThePictureMessage) {
  ASSERT_TRUE(Start());
  const std::string path = WritePcx(folder_ + "/logo.pcx");
  std::filesystem::resize_file(path, 200);  // the lines end early
  const int before = app_->MainFrame()->ActiveChildFrame()->Document()->Objects().GetSize();
  dialog_->QueuePath(path);
  app_->MainFrame()->Action(ID_IMPORT_MODULES)->trigger();
  PumpQt();
  EXPECT_EQ(app_->MainFrame()->ActiveChildFrame()->Document()->Objects().GetSize(), before);
  EXPECT_EQ(prompt_->Texts(), std::vector<std::string>{"This picture cannot be read!"});
}

// The imported picture is selected: its frame lies 2 mm around the picture,
// as around every object.
TEST_F(PictureToDotsTest, ImportedPicturesSelectionFrameLiesTwoMillimetresAroundIt) {
  ASSERT_TRUE(Start());
  CChildFrame* child = app_->MainFrame()->ActiveChildFrame();
  child->resize(1000, 800);
  PumpQt();
  dialog_->QueuePath(WritePng(folder_ + "/logo.png"));
  app_->MainFrame()->Action(ID_IMPORT_MODULES)->trigger();
  PumpQt();
  CObjElement* picture = Last();
  ASSERT_EQ(picture->type, OBJ_PICTURE);
  const CDoubleRect frame = picture->GetObjectAs<CObjImage>()->GetPictureRect();
  CVendrikView* view = child->LayoutView();
  ASSERT_EQ(view->Model().m_selection.size(), 1u);
  view->viewport()->repaint();
  // Handle 0 is the frame's upper left corner, handle 4 its lower right.
  const CDoublePoint upperLeft = view->Model().m_handleRects[0].CenterPoint();
  const CDoublePoint lowerRight = view->Model().m_handleRects[4].CenterPoint();
  EXPECT_NEAR(upperLeft.x, frame.left - 2, 1e-9);
  EXPECT_NEAR(upperLeft.y, frame.top + 2, 1e-9);
  EXPECT_NEAR(lowerRight.x, frame.right + 2, 1e-9);
  EXPECT_NEAR(lowerRight.y, frame.bottom - 2, 1e-9);
}
