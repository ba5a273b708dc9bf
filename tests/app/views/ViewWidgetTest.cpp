// The layout view's widget on the offscreen platform: it paints the visible
// viewport of a scroll area and prints the layout on one page.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QPrinter>
#include <QScrollBar>
#include <filesystem>

#include "app/views/CRulerBars.h"
#include "app/views/CVendrikView.h"
#include "document/doc/CVendrikDoc.h"
#include "document/objects/CObjElement.h"
#include "document/objects/CObjLine.h"
#include "platform/InstallDir.h"
#include "platform_qt/QPainterDeviceContext.h"
#include <QPainter>
#include "platform/SettingsStore.h"
#include "values/ShellValues.h"

namespace {

void EnsureQtApplication() {
  static int argc = 1;
  static char name[] = "test_view_widget";
  static char* argv[] = {name, nullptr};
  static QApplication* app = new QApplication(argc, argv);  // never destroyed
  (void)app;
}

class ViewWidgetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureQtApplication();
    auto settings = platform::MakeMemorySettingsStore();
    settings->CreateKey(platform::kRegistryKey);
    platform::SetSettingsStore(settings);
    folder_ = platform::DefaultDataFolder() + "/" + ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::filesystem::create_directories(folder_);
    g_installDir = folder_;
    g_softType = SOFT_TYPE_USB;
    g_pxPerMmX = 4;
    g_pxPerMmY = 4;
    g_machineSet.rangeX = 100;
    g_machineSet.rangeY = 80;
    g_distanceHor = 10;
    g_distanceVer = 10;
    view_ = std::make_unique<CVendrikView>();
    view_->resize(500, 400);
    view_->SetDocument(&document_);
    view_->OnInitialUpdate();
    g_distanceHor = 10;
    g_distanceVer = 10;
  }
  void TearDown() override { view_.reset(); }

  void AddLine(CDoublePoint a, CDoublePoint b) {
    auto element = std::make_unique<CObjElement>(
        CObjCreateRecord{"line", OBJ_LINE, new CObjLine(a, b), static_cast<int>(sizeof(CObjLine)), {}});
    element->RefreshTypeObject();
    element->UpdateBoundRect();
    document_.Objects().Add(std::move(element));
  }

  std::string folder_;
  CVendrikDoc document_;
  std::unique_ptr<CVendrikView> view_;
};

int CountPdfPages(const QByteArray& pdf) {
  int pages = 0;
  for (qsizetype at = pdf.indexOf("/Type /Page"); at >= 0; at = pdf.indexOf("/Type /Page", at + 1)) {
    if (pdf.mid(at, 12) != "/Type /Pages") ++pages;
  }
  return pages;
}

}  // namespace

TEST_F(ViewWidgetTest, PaintsTheVisibleViewportWithScrollBars) {
  view_->show();
  QApplication::processEvents();
  EXPECT_TRUE(view_->horizontalScrollBar()->isVisible());
  EXPECT_TRUE(view_->verticalScrollBar()->isVisible());
  const QImage picture = view_->viewport()->grab().toImage();
  ASSERT_FALSE(picture.isNull());
  // The viewport only: never the whole scroll area.
  EXPECT_EQ(picture.size(), view_->viewport()->size());
  // The work area's centre shows the red axes.
  const QPoint origin = view_->OriginInViewport();
  ASSERT_TRUE(picture.rect().contains(origin));
  bool red = false;
  for (int dx = -3; dx <= 3 && !red; ++dx) {
    red = picture.pixelColor(origin.x() + dx, origin.y() + 7) == QColor(255, 0, 0);
  }
  EXPECT_TRUE(red);
  // Scrolling moves the origin by the same pixels.
  const int x0 = view_->OriginInViewport().x();
  view_->horizontalScrollBar()->setValue(view_->horizontalScrollBar()->value() + 10);
  EXPECT_EQ(view_->OriginInViewport().x(), x0 - 10);
}

TEST_F(ViewWidgetTest, PrintsTheLayoutOnOnePage) {
  AddLine({-40, -30, 0}, {40, 30, 1});
  const QString path = QString::fromStdString(folder_ + "/layout.pdf");
  QFile::remove(path);
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(path);
  view_->PrintTo(printer);
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray pdf = file.readAll();
  EXPECT_TRUE(pdf.startsWith("%PDF"));
  EXPECT_EQ(CountPdfPages(pdf), 1);
}

// The painter context draws a layout's runs of thin segments straight into
// its image: every pixel of each segment, both ends, in the pen's colour,
// and what leaves the image is clipped by the painter.
TEST(PainterPolyline, ThinRunsReachEveryPixelOfTheirSegments) {
  EnsureQtApplication();
  QImage image(40, 30, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    platform_qt::QPainterDeviceContext dc(painter, &image);
    dc.SelectPen({platform::PS_SOLID, 1, RGB(10, 20, 30)});
    const platform::DcPoint run[] = {{2, 2}, {12, 2}, {12, 9}, {5, 20}, {60, 25}};
    dc.Polyline(run, 5);
    EXPECT_EQ(dc.GetCurrentPosition(), (platform::DcPoint{60, 25}));
  }
  const QColor pen(10, 20, 30);
  int drawn = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) drawn += image.pixelColor(x, y) == pen ? 1 : 0;
  for (const QPoint p : {QPoint(2, 2), QPoint(7, 2), QPoint(12, 2), QPoint(12, 9), QPoint(5, 20)}) {
    EXPECT_EQ(image.pixelColor(p), pen) << p.x() << "," << p.y();
  }
  int lastColumn = 0;
  for (int y = 0; y < 30; ++y) lastColumn += image.pixelColor(39, y) == pen ? 1 : 0;
  EXPECT_EQ(lastColumn, 1);  // the segment that leaves the image is drawn up to its edge
  // 11 + 7 + 11 pixels inside (shared corners once), and the clipped part.
  EXPECT_GE(drawn, 11 + 7 + 11 + 30);
  EXPECT_LE(drawn, 11 + 7 + 11 + 40);
}

// A ruler draws its scale only once it has an origin (-1 until then).
TEST(RulerBar, DrawsTicksOnlyWithAnOrigin) {
  EnsureQtApplication();
  g_pxPerMmX = 4;
  QWidget parent;
  CTopRulerBar ruler(&parent);
  ruler.resize(300, CRulerBar::kThickness);
  ruler.SetZeroSource([] { return 100; });
  auto blackPixels = [&] {
    const QImage image = ruler.grab().toImage();
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) n += image.pixelColor(x, y) == QColor(Qt::black) ? 1 : 0;
    return n;
  };
  EXPECT_EQ(ruler.OriginX(), -1);
  EXPECT_EQ(blackPixels(), 0);
  ruler.SetOrigin(10, 20);
  // A tick every 10 pixels over the 282-pixel band, 4 to 12 pixels long.
  EXPECT_GT(blackPixels(), 27 * 4);
}
