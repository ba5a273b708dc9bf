#include <ostream>
#include <QTest>

#include "document/geometry/CDoublePoint.h"
#include "document/geometry/SharedState.h"
#include "properties/framework/CPropertyPage.h"
#include "properties/list/CObjectListBox.h"
#include "properties/sheet/CObjProperitySheet.h"
#include "tests/properties/PaneFixture.h"
#include "values/PropertyMessages.h"

namespace {

struct LayoutCase {
  int cx, cy;
  PaneLayout expected;
  friend void PrintTo(const LayoutCase& c, std::ostream* os) { *os << c.cx << " by " << c.cy; }
};

class PaneLayoutTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(PaneLayoutTest, ListAboveSheetWithTheirMinimumSizes) {
  PaneLayout got{};
  ASSERT_TRUE(CProperityView::ComputeLayout(GetParam().cx, GetParam().cy, got));
  const PaneLayout& e = GetParam().expected;
  EXPECT_EQ(std::vector<int>({got.listX, got.listY, got.listWidth, got.listHeight}),
            std::vector<int>({e.listX, e.listY, e.listWidth, e.listHeight}));
  EXPECT_EQ(std::vector<int>({got.sheetX, got.sheetY, got.sheetWidth, got.sheetHeight}),
            std::vector<int>({e.sheetX, e.sheetY, e.sheetWidth, e.sheetHeight}));
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, PaneLayoutTest,
    ::testing::Values(LayoutCase{400, 900, {6, 6, 386, 266, 2, 266, 386, 634}},
                      LayoutCase{100, 900, {6, 6, 340, 266, 2, 266, 340, 634}},   // narrow: 340 wide
                      LayoutCase{500, 300, {6, 6, 486, 86, 2, 86, 486, 460}},     // short: 460 high
                      LayoutCase{360, 5, {6, 6, 346, -2, 2, -2, 346, 460}}));     // cuts toward zero

TEST(PaneLayoutTest, NothingForAnEmptyPane) {
  PaneLayout layout{};
  EXPECT_FALSE(CProperityView::ComputeLayout(0, 500, layout));
  EXPECT_FALSE(CProperityView::ComputeLayout(500, -1, layout));
}

TEST_F(PaneTest, ListSelectionShowsTheObjectAndTheLayoutViewFollows) {
  CObjElement* line = Add(1, "line-1");
  CObjElement* text = Add(2, "text-1");
  List().AddObject(line, 0, 0);
  List().AddObject(text, 0, 0);
  auto record = std::make_shared<PROPCHANGE>();
  record->object = text;
  std::weak_ptr<PROPCHANGE> watch = record;
  PostPropChange(*view_->GetSelfTarget(), WM_LIST_SELCHANGE, std::move(record));
  Pump();
  EXPECT_TRUE(watch.expired());
  EXPECT_EQ(Sheet().CurrentType(), 2);
  ASSERT_EQ(layout_.received.size(), 1u);
  EXPECT_EQ(layout_.received[0].msg, WM_LIST_SELECTED);
  EXPECT_TRUE(layout_.received[0].hasRecord);
  EXPECT_EQ(layout_.received[0].id, -1);
  EXPECT_EQ(layout_.received[0].object, text);
}

TEST_F(PaneTest, ListCommandsReachTheLayoutView) {
  List().OnMenuCommand(CObjectListBox::kCmdMarkOrder);
  List().OnMenuCommand(CObjectListBox::kCmdDelete);
  List().OnMenuCommand(CObjectListBox::kCmdCombine);
  Pump();
  ASSERT_EQ(layout_.received.size(), 3u);
  EXPECT_EQ(layout_.received[0].msg, WM_COMMAND);
  EXPECT_EQ(layout_.received[0].wParam, 32835u);
  EXPECT_EQ(layout_.received[1].msg, WM_LIST_DELETE);
  EXPECT_EQ(layout_.received[2].msg, WM_LIST_COMBINE);
  for (const Received& r : layout_.received) EXPECT_EQ(r.lParam, 0);
}

TEST_F(PaneTest, AddObjectSelectsItAndNotifiesOnlyWhenAsked) {
  CObjElement* line = Add(1, "line-1");
  EXPECT_EQ(view_->AddObject(line, 0), 0);
  Pump();
  EXPECT_TRUE(layout_.received.empty());
  EXPECT_EQ(List().GetSingleSelection(), line);
  CObjElement* arc = Add(6, "arc-1");
  EXPECT_EQ(view_->AddObject(arc, 1), 1);
  Pump();
  ASSERT_EQ(layout_.received.size(), 1u);
  EXPECT_EQ(layout_.received[0].msg, WM_LIST_SELECTED);
  EXPECT_EQ(layout_.received[0].object, arc);
}

TEST_F(PaneTest, HitTestSkipsTheWorkAreaAndPictures) {
  workArea_->boundRect = CDoubleRect(-100, 100, 100, -100);
  CObjElement* picture = Add(21, "Picture-1");
  picture->boundRect = CDoubleRect(0, 10, 10, 0);
  CObjElement* line = Add(1, "line-1");
  line->boundRect = CDoubleRect(20, 10, 30, 0);
  List().AddObject(picture, 0, 0);
  List().AddObject(line, 0, 0);
  CObjElement* hit = nullptr;
  int index = -1;
  EXPECT_FALSE(view_->HitTest(CDoublePoint(5, 5), hit, index));
  EXPECT_EQ(index, 3);
  EXPECT_TRUE(view_->HitTest(CDoublePoint(31.5, -1.5), hit, index));  // within the 2 mm margin
  EXPECT_EQ(hit, line);
  EXPECT_EQ(index, List().FindObject(line));
}

TEST_F(PaneTest, SelectObjectAndReloadPagesNeedASingleSelection) {
  CObjElement* first = Add(1, "line-1");
  CObjElement* second = Add(1, "line-2");
  List().AddObject(first, 0, 0);
  List().AddObject(second, 0, 0);
  view_->SelectObject(second, List().FindObject(second));
  Pump();
  EXPECT_EQ(List().GetSingleSelection(), second);
  ASSERT_EQ(layout_.received.size(), 1u);
  view_->SelectObject(second, List().FindObject(second));  // already the selection: nothing
  Pump();
  EXPECT_EQ(layout_.received.size(), 1u);

  List().SetSelection({1, 2});
  view_->ReloadPages(workArea_);
  EXPECT_EQ(Sheet().Page(PageSlot::DrawSize)->Link().GetObject(), nullptr);
  List().SetSelection({0});
  view_->ReloadPages(workArea_);
  EXPECT_EQ(Sheet().Page(PageSlot::DrawSize)->Link().GetObject(), workArea_);
}

TEST_F(PaneTest, ChangeRecordsGoOnWithTheirNumberAndLParamZero) {
  for (UINT msg : kPropertyChangeMessages) {
    auto record = std::make_shared<PROPCHANGE>();
    record->id = 7;
    view_->GetSelfTarget()->PostMessage(msg, reinterpret_cast<WPARAM>(record.get()), 99, record);
  }
  Pump();
  ASSERT_EQ(layout_.received.size(), std::size(kPropertyChangeMessages));
  for (std::size_t i = 0; i < layout_.received.size(); ++i) {
    EXPECT_EQ(layout_.received[i].msg, kPropertyChangeMessages[i]);
    EXPECT_EQ(layout_.received[i].lParam, 0);
    EXPECT_EQ(layout_.received[i].id, 7);
  }
}

}  // namespace

namespace {

TEST_F(PaneTest, ReportsAboutAnObjectThatLeftTheListTouchNothing) {
  CObjElement* line = Add(1, "line-1");
  CObjElement* gone = Add(2, "text-1");
  view_->AddObject(line, 0);
  Pump();
  gone->activePage = 5;
  view_->GetSelfTarget()->PostMessage(WM_PAGE_ACTIVATED, 51, reinterpret_cast<LPARAM>(gone));
  auto record = std::make_shared<PROPCHANGE>();
  record->object = gone;
  PostPropChange(*view_->GetSelfTarget(), WM_LIST_SELCHANGE, std::move(record));
  Pump();
  EXPECT_EQ(gone->activePage, 5);
  EXPECT_EQ(Sheet().CurrentType(), 1);
}

}  // namespace

namespace {

TEST_F(PaneTest, StopKeysInTheObjectListStopTheMarkingInstead) {
  CObjElement* line = Add(1, "line-1");
  List().AddObject(line, 0, 0);
  List().SelectOnly(0);
  MarkStatusWord = MSW_MARKING;
  QTest::keyClick(&List(), Qt::Key_Space);
  QTest::keyClick(&List(), Qt::Key_Down);  // other keys still move the caret
  Pump();
  EXPECT_TRUE(MarkStatusWord.load() & MSW_STOP_REQUEST);
  EXPECT_EQ(List().GetSingleSelection(), line);
}

}  // namespace
