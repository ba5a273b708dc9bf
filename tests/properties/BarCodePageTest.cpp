// The barcode page: the scanner's burst reported once after its last key,
// text the page writes itself taken for no scan, and the lists that follow
// the symbology.
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QTimerEvent>
#include <memory>

#include "platform/Clock.h"
#include "properties/pages/CUpdateBarCodePage.h"
#include "tests/properties/PaneFixture.h"
#include "values/PropertyMessages.h"

namespace {

class BarCodePageTest : public PaneTest {
 protected:
  void SetUp() override {
    PaneTest::SetUp();
    code_ = Add(OBJ_BARCODE, "code-1");
    view_->AddObject(code_, 0);
    Pump();
    page_ = dynamic_cast<CUpdateBarCodePage*>(Open("Barcode"));
    ASSERT_NE(page_, nullptr);
  }
  void Click(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(6, button->height() / 2));
    Pump();
  }
  QLineEdit* Scan() { return Control<QLineEdit>("edit1032"); }
  void ScanOn() {
    Click(Control<QCheckBox>("check1033"));
    layout_.received.clear();
  }
  // The page's scan timer fires, whenever the window system delivers it.
  void FireScanTimer() {
    ASSERT_TRUE(page_->IsScanTimerActive());
    QTimerEvent fired(page_->ScanTimerId());
    QCoreApplication::sendEvent(page_, &fired);
    Pump();
  }
  CObjElement* code_ = nullptr;
  CUpdateBarCodePage* page_ = nullptr;
};

}  // namespace

TEST_F(BarCodePageTest, BurstLongerThanTheGapIsReportedOnceWhole) {
  auto clock = std::make_shared<platform::SimulatedClock>();  // the gap runs on it
  platform::SetClock(clock);
  ScanOn();
  EXPECT_TRUE(Scan()->isEnabled());
  const QString code = "LSVAA4182E2184841-01";
  // Keys 30 ms apart: the burst lasts longer than one gap but never pauses for one.
  for (QChar ch : code) {
    QTest::keyClicks(Scan(), QString(ch));
    clock->Advance(30000);
  }
  // However late the timer fires, the gap has not passed on the clock: the
  // page looks again later.
  FireScanTimer();
  EXPECT_TRUE(layout_.Changes().empty());
  EXPECT_TRUE(page_->IsScanTimerActive());
  clock->Advance(CUpdateBarCodePage::kScanGapMs * 1000);
  FireScanTimer();
  EXPECT_FALSE(page_->IsScanTimerActive());
  platform::SetClock(nullptr);
  const auto changes = layout_.Changes();
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(changes[0].msg, WM_UPDATE_BARCODE);
  EXPECT_EQ(changes[0].id, 1032);
  EXPECT_EQ(PropToText(changes[0].value), code.toStdString());
  // Selected whole: the next scan replaces it.
  EXPECT_EQ(Scan()->selectedText(), code);
}

TEST_F(BarCodePageTest, TextThePageWritesIsNoScan) {
  ScanOn();
  page_->scanned = "WRITTEN-BY-THE-PAGE";
  page_->UpdateData(false);
  EXPECT_FALSE(page_->IsScanTimerActive());
  Pump();
  EXPECT_TRUE(layout_.Changes().empty());
}

TEST_F(BarCodePageTest, OutOfScanModeTheStringIsNotReported) {
  ScanOn();
  Click(Control<QCheckBox>("check1033"));
  EXPECT_FALSE(Scan()->isEnabled());
  layout_.received.clear();
  page_->scanned = "X";
  TypeAndEnter(Scan(), "ABC");
  EXPECT_TRUE(layout_.Changes().empty());
}

TEST_F(BarCodePageTest, SymbologyEnablesItsOwnLists) {
  Click(Control<QRadioButton>("radio1006"));
  EXPECT_FALSE(Control<QComboBox>("combo1007")->isEnabled());
  EXPECT_FALSE(Control<QComboBox>("combo1008")->isEnabled());
  for (const char* qr : {"combo1024", "combo1027", "combo1029"}) EXPECT_TRUE(Control<QComboBox>(qr)->isEnabled()) << qr;
  Click(Control<QRadioButton>("radio1005"));
  EXPECT_TRUE(Control<QComboBox>("combo1007")->isEnabled());
  EXPECT_FALSE(Control<QComboBox>("combo1024")->isEnabled());
  const auto changes = layout_.Changes();
  ASSERT_EQ(changes.size(), 2u);
  EXPECT_EQ(changes[0].id, 1006);
  EXPECT_EQ(changes[1].id, 1005);
}

TEST_F(BarCodePageTest, SamePrefixTypedAgainIsNotReported) {
  TypeAndEnter(Control<QLineEdit>("edit1011"), "AB");
  TypeAndEnter(Control<QLineEdit>("edit1011"), "AB");
  EXPECT_EQ(layout_.Changes().size(), 1u);
}

TEST(AdditionalDate, ShortAndFullYearWithTwoDigitMonthAndDay) {
  EXPECT_EQ(AdditionalDateEntries(2026, 3, 7), (QStringList{"No system date", "260307", "20260307"}));
}
