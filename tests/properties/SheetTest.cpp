#include <ostream>
#include <QLineEdit>

#include "document/params/CDrawProperity.h"
#include "properties/framework/CPropertyPage.h"
#include "properties/list/CObjectListBox.h"
#include "properties/pages/CUpdateDrawSizePage.h"
#include "properties/pages/CUpdateObjNamePage.h"
#include "properties/sheet/CObjProperitySheet.h"
#include "tests/properties/PaneFixture.h"
#include "values/PropertyMessages.h"
#include "values/ShellValues.h"

namespace {

using TabList = std::vector<std::string>;

struct PageSetCase {
  int type;
  TabList tabs;  // of the pages built so far, in the sheet's order
  friend void PrintTo(const PageSetCase& c, std::ostream* os) { *os << "type " << c.type; }
};

class PageSetTest : public PaneTest, public ::testing::WithParamInterface<PageSetCase> {};

TEST_P(PageSetTest, EachTypeShowsItsPagesInOrder) {
  CObjElement* object = GetParam().type == 0 ? workArea_ : Add(GetParam().type, "object-1");
  view_->AddObject(object, 0);
  Pump();
  EXPECT_EQ(Tabs(), GetParam().tabs);
}

INSTANTIATE_TEST_SUITE_P(
    Types, PageSetTest,
    ::testing::Values(PageSetCase{0, {"Mark parameter", "Work style...", "Rotate setting", "Range"}},
                      PageSetCase{1, {"Name", "Mark properity", "Line"}},
                      PageSetCase{2, {"Name", "Mark properity", "Text", "Font", "Fill object"}},
                      PageSetCase{3, {"Name", "Mark properity", "Rectangle", "Fill object"}},
                      PageSetCase{5, {"Name", "Dot image info"}},
                      PageSetCase{9, {"Name", "Mark properity", "Fill object", "Split image"}},
                      PageSetCase{19, {"Name", "Mark properity", "Barcode", "Font", "Fill object"}},
                      PageSetCase{21, {"Name", "Image"}}, PageSetCase{12, {}}, PageSetCase{4, {}}));

TEST_F(PaneTest, SheetStartsWithThePlaceholderPageAndItsCaption) {
  EXPECT_EQ(Tabs(), (TabList{"Default page"}));
  EXPECT_EQ(Sheet().Caption(), "\xE5\xAF\xB9\xE8\xB1\xA1\xE5\xB1\x9E\xE6\x80\xA7");
  EXPECT_EQ(Sheet().CurrentType(), CObjProperitySheet::kNoType);
}

TEST_F(PaneTest, ActivationIsReportedOnlyAfterTheParentHandledTheRebuild) {
  CObjElement* line = Add(1, "line-1");
  view_->AddObject(line, 0);
  CPropertyPage* name = Sheet().Page(PageSlot::ObjName);
  EXPECT_EQ(name->Link().GetValue(), 0);
  Sheet().setCurrentIndex(1);  // before the rebuilt notice came back
  Sheet().setCurrentIndex(0);
  Pump();
  EXPECT_EQ(line->activePage, 0);
  EXPECT_EQ(name->Link().GetValue(), 1);
  Open("Mark properity");
  EXPECT_EQ(line->activePage, 1);
}

TEST_F(PaneTest, OtherTypeRebuildsAndReopensTheTabLastShownForTheObject) {
  CObjElement* line = Add(1, "line-1");
  CObjElement* text = Add(2, "text-1");
  view_->AddObject(line, 0);
  Pump();
  Open("Mark properity");
  view_->AddObject(text, 0);
  Pump();
  EXPECT_EQ(Tabs(), (TabList{"Name", "Mark properity", "Text", "Font", "Fill object"}));
  EXPECT_EQ(Sheet().currentIndex(), 0);
  view_->SelectListIndex(List().FindObject(line));
  Pump();
  EXPECT_EQ(Tabs(), (TabList{"Name", "Mark properity", "Line"}));
  EXPECT_EQ(Sheet().currentIndex(), 1);
  Open("Name");
  EXPECT_EQ(Control<QLineEdit>("edit1000")->text(), QString("line-1"));
}

TEST_F(PaneTest, SameTypeRefillsThePagesWithoutRebuildingThem) {
  CObjElement* first = Add(1, "line-1");
  CObjElement* second = Add(1, "line-2");
  view_->AddObject(second, 0);
  Pump();
  Open("Mark properity");  // the tab line-2 was last shown with
  view_->AddObject(first, 0);
  Pump();
  CPropertyPage* marking = Open("Mark properity");
  ASSERT_TRUE(marking->IsInitialised());
  view_->SelectListIndex(List().FindObject(second));
  Pump();
  EXPECT_TRUE(marking->IsInitialised());  // not taken out of the sheet
  EXPECT_EQ(Sheet().ActivePage(), marking);
  EXPECT_EQ(marking->Link().GetObject(), second);
  // A refresh of an object not shown leaves the pages on the one shown.
  view_->RefreshSheet(first, 1);
  Pump();
  EXPECT_EQ(marking->Link().GetObject(), second);
  // The name page is refreshed when it comes to the front again.
  Open("Name");
  EXPECT_EQ(Control<QLineEdit>("edit1000")->text(), QString("line-2"));
}

TEST_F(PaneTest, WorkAreaFillsItsPagesAndRefreshesEvenWithSeveralSelected) {
  auto* prop = workArea_->GetObjectAs<CDrawProperity>();
  ASSERT_NE(prop, nullptr);
  prop->SetRangeX(150.12345);
  // The grid is the layout view's dot spacing.
  g_distanceHor = 0.5f;
  g_distanceVer = 0.75f;
  view_->AddObject(workArea_, 0);
  Pump();
  Open("Range");
  auto* page = Sheet().PageAs<CUpdateDrawSizePage>(PageSlot::DrawSize);
  EXPECT_DOUBLE_EQ(page->rangeX, 150.123);
  EXPECT_EQ(Control<QLineEdit>("edit1010")->text(), QString("150.123"));
  EXPECT_EQ(Control<QLineEdit>("edit1040")->text(), QString("0.5"));
  EXPECT_EQ(Control<QLineEdit>("edit1016")->text(), QString("0.75"));
  g_distanceHor = g_distanceVer = 1.0f;
  prop->SetRangeX(200);
  Sheet().SetObject(workArea_, 3, false);
  EXPECT_EQ(Control<QLineEdit>("edit1010")->text(), QString("200"));
  EXPECT_EQ(page->Link().GetObject(), workArea_);
}

TEST_F(PaneTest, NameFromTheLayoutViewIsShownAtOnce) {
  view_->AddObject(Add(1, "line-1"), 0);
  Pump();
  view_->SetObjectName("line-7");
  EXPECT_EQ(Control<QLineEdit>("edit1000")->text(), QString("line-7"));
  EXPECT_EQ(Sheet().PageAs<CUpdateObjNamePage>(PageSlot::ObjName)->GetName(), "line-7");
}

}  // namespace
