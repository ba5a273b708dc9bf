// The operator's road from a picture file to dots: the main frame's "Import
// modules" command with the file dialog, the picture's "Image" page and its
// "Translate points..." button. The dots come out on the dot spacing the
// layout view read from the settings, centred where the picture was; the
// selected picture's frame lies where every object's does.
#include <QImage>
#include <QPainter>
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

// Pictures written by a tool of their own (tests/data/pictures/make_pictures.py).
std::string PictureFile(const std::string& name) { return std::string(VENDRIK_TEST_DATA_DIR) + "/pictures/" + name; }

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

  // Imports the file through "Import modules"; the picture made, or null.
  CObjElement* Import(const std::string& path) {
    dialog_->QueuePath(path);
    app_->MainFrame()->Action(ID_IMPORT_MODULES)->trigger();
    PumpQt();
    CObjElement* picture = Last();
    EXPECT_EQ(picture->type, OBJ_PICTURE);
    return picture->type == OBJ_PICTURE ? picture : nullptr;
  }

  // Presses "Translate points..." on the selected picture's "Image" page.
  void PressTranslate() {
    CObjProperitySheet* sheet = app_->MainFrame()->ActiveChildFrame()->PropertyPane()->View()->GetSheet();
    ASSERT_NE(sheet, nullptr);
    ClickTab(*sheet, "Image");
    ASSERT_NE(sheet->ActivePage(), nullptr);
    auto* translate = sheet->ActivePage()->findChild<QPushButton*>(QString("button%1").arg(kTranslatePoints));
    ASSERT_NE(translate, nullptr);
    QTest::mouseClick(translate, Qt::LeftButton);
  }

  // Imports the file and presses "Translate points..." on its "Image" page;
  // gives the picture's rectangle and the dot image made from it (null when
  // none was made).
  const CObjDotCollect* ImportAndTranslate(const std::string& path, CDoubleRect& frame) {
    CObjElement* picture = Import(path);
    if (picture == nullptr) return nullptr;
    frame = picture->GetObjectAs<CObjImage>()->GetPictureRect();
    PressTranslate();
    // The change travels page -> sheet -> property view -> layout view.
    EXPECT_TRUE(PumpUntil([this] { return Last()->type == OBJ_DOTIMAGE; }));
    CObjElement* made = Last();
    if (made->type != OBJ_DOTIMAGE) return nullptr;
    return made->GetObjectAs<CObjDotCollect>();
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
    CDoubleRect frame;
    const CObjDotCollect* dots = ImportAndTranslate(path, frame);
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

// A solid disc and a bar, their ink centred in the picture: the disc falls
// into blobs of uneven sizes (a blob grows only along its rows), so the blobs'
// middles do not lie evenly about the picture's middle. The dots still span
// the picture and stay inside it, centred on it.
TEST_F(PictureToDotsTest, SolidLogoWithUnevenBlobsGivesDotsCentredInsideThePicture) {
  ASSERT_TRUE(Start());
  CChildFrame* child = app_->MainFrame()->ActiveChildFrame();
  child->resize(1000, 800);
  PumpQt();
  QImage logo(200, 120, QImage::Format_RGB32);
  logo.fill(Qt::white);
  {
    QPainter painter(&logo);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawEllipse(QPoint(60, 60), 40, 40);
    painter.drawRect(110, 30, 70, 60);
  }
  const std::string path = folder_ + "/disc.png";
  ASSERT_TRUE(logo.save(QString::fromStdString(path), "PNG"));

  CDoubleRect frame;
  const CObjDotCollect* dots = ImportAndTranslate(path, frame);
  ASSERT_NE(dots, nullptr);
  const CPointList& points = dots->GetPathData().points;
  ASSERT_GT(points.GetSize(), 2);
  const CDoubleRect bounds = dots->GetBoundRect();
  EXPECT_NEAR(bounds.CenterX(), frame.CenterX(), kSpacing / 2);
  EXPECT_NEAR(bounds.CenterY(), frame.CenterY(), kSpacing / 2);
  for (int i = 0; i < points.GetSize(); ++i) {
    EXPECT_GE(points[i].x, frame.left - kSpacing / 2) << i;
    EXPECT_LE(points[i].x, frame.right + kSpacing / 2) << i;
    EXPECT_LE(points[i].y, frame.top + kSpacing / 2) << i;
    EXPECT_GE(points[i].y, frame.bottom - kSpacing / 2) << i;
  }
}

// The same two squares on white as a BMP (one of them without the padding
// after its last row, as some writers leave it), a 1-bit greyscale PNG (Qt
// hands its black over as index 1), a 1-bit PNG whose palette lists white
// first, an 8-bit greyscale PNG, a PCX, and run-length coded BMPs of 8 bits
// (two colours or 64 greys) and 4 bits whose codes move past the white and
// end above the top square: one dot a square from each.
TEST_F(PictureToDotsTest, EveryFormatOfAPictureGivesTheSameDots) {
  ASSERT_TRUE(Start());
  app_->MainFrame()->ActiveChildFrame()->resize(1000, 800);
  PumpQt();
  std::vector<CDoublePoint> first;
  for (const char* name : {"squares.bmp", "squares-unpadded.bmp", "squares-grey1.png", "squares-palette1.png",
                           "squares-grey8.png", "squares.pcx", "squares-rle8.bmp", "squares-rle8-64.bmp",
                           "squares-rle4.bmp"}) {
    SCOPED_TRACE(name);
    CDoubleRect frame;
    const CObjDotCollect* dots = ImportAndTranslate(PictureFile(name), frame);
    ASSERT_NE(dots, nullptr);
    const CPointList& points = dots->GetPathData().points;
    ASSERT_EQ(points.GetSize(), 2);
    if (first.empty()) {
      for (int i = 0; i < points.GetSize(); ++i) first.push_back(points[i]);
      continue;
    }
    for (int i = 0; i < points.GetSize(); ++i) {
      EXPECT_DOUBLE_EQ(points[i].x, first[static_cast<std::size_t>(i)].x) << i;
      EXPECT_DOUBLE_EQ(points[i].y, first[static_cast<std::size_t>(i)].y) << i;
    }
  }
  EXPECT_TRUE(prompt_->Texts().empty());
}

// A PCX whose lines end early, 64 x 64 BMPs with 8 of their 64 rows (a
// copy broken off), uncompressed or run-length coded in 8 or 4 bits, and a
// two-colour BMP whose header counts 24 colours, so that its palette runs
// past the offset of its rows and the rows Qt reads after the palette end
// before the file does: Qt's reader would take each with the missing rows
// made of leftover memory.
TEST_F(PictureToDotsTest, PicturesCutShortAreRefusedWithThePictureMessage) {
  ASSERT_TRUE(Start());
  const std::string pcx = WritePcx(folder_ + "/logo.pcx");
  std::filesystem::resize_file(pcx, 200);  // the lines end early
  const std::string longPalette = folder_ + "/long-palette.bmp";
  std::filesystem::copy_file(PictureFile("squares.bmp"), longPalette);
  {
    std::fstream file(longPalette, std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(46);  // the count of colours
    file.put('\x18');
  }
  for (const std::string& path :
       {pcx, PictureFile("cut.bmp"), PictureFile("cut-rle8.bmp"), PictureFile("cut-rle4.bmp"), longPalette}) {
    SCOPED_TRACE(path);
    prompt_->Clear();
    const int before = app_->MainFrame()->ActiveChildFrame()->Document()->Objects().GetSize();
    dialog_->QueuePath(path);
    app_->MainFrame()->Action(ID_IMPORT_MODULES)->trigger();
    PumpQt();
    EXPECT_EQ(app_->MainFrame()->ActiveChildFrame()->Document()->Objects().GetSize(), before);
    EXPECT_EQ(prompt_->Texts(), std::vector<std::string>{"This picture cannot be read!"});
  }
}

// 499 x 499 lone dark pixels two apart, on the finest dot spacing of 0.1 mm:
// 249001 dots, more than can be marked. None are made, and the operator is
// told why.
TEST_F(PictureToDotsTest, APictureOfMoreDotsThanCanBeMarkedMakesNoneAndSaysWhy) {
  WriteRegFloat("DistanceHor", 0.1f);
  WriteRegFloat("DistanceVer", 0.1f);
  ASSERT_TRUE(Start());
  CObjElement* picture = Import(PictureFile("dotgrid.png"));
  ASSERT_NE(picture, nullptr);
  const int before = app_->MainFrame()->ActiveChildFrame()->Document()->Objects().GetSize();
  PressTranslate();
  EXPECT_TRUE(PumpUntil([this] { return !prompt_->Texts().empty(); }));
  EXPECT_EQ(prompt_->Texts(),
            std::vector<std::string>{"The dots of \"" + picture->name +
                                     "\" would be more than can be marked and are not made: choose a smaller dot "
                                     "size or a wider dot spacing."});
  EXPECT_EQ(app_->MainFrame()->ActiveChildFrame()->Document()->Objects().GetSize(), before);
  EXPECT_EQ(Last(), picture);
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
