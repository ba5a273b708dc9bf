#include <ostream>
#include <QTest>

#include "document/objects/CObjElement.h"
#include "properties/list/CObjectListBox.h"
#include "tests/properties/PaneFixture.h"
#include "values/PropertyMessages.h"

namespace {

class ObjectListBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    list.Create(&host, &parent);
    host.resize(300, 300);
    list.resize(300, 300);
    host.show();
    zero.type = 0;
  }
  CObjElement* Make(const std::string& name, int type = 1) {
    owned.push_back(std::make_unique<CObjElement>());
    owned.back()->name = name;
    owned.back()->type = type;
    return owned.back().get();
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (int i = 0; i < list.GetCount(); ++i) names.push_back(list.GetObjectAt(i)->name);
    return names;
  }
  void Click(int row, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::mouseClick(list.viewport(), Qt::LeftButton, mods, list.visualItemRect(list.item(row)).center());
    Pump();
  }

  QWidget host;
  platform::QueueMessageTarget parent;
  CObjectListBox list;
  CObjElement zero;
  std::vector<std::unique_ptr<CObjElement>> owned;
};

TEST_F(ObjectListBoxTest, ItemsStayInNameOrderWithTheWorkAreaFirst) {
  list.AddObject(&zero, 0, 0);
  list.AddObject(Make("line-2"), 1, 0);
  list.AddObject(Make("Arc-1"), 1, 0);
  const int at = list.AddObject(Make("line-10"), 1, 0);
  EXPECT_EQ(Names(), (std::vector<std::string>{"", "Arc-1", "line-10", "line-2"}));
  EXPECT_EQ(at, 2);
  EXPECT_EQ(list.GetSelectedIndexes(), (std::vector<int>{2}));
  list.AddObject(Make("box"), 1, 1);
  EXPECT_EQ(list.GetSelectedIndexes(), (std::vector<int>{0}));
  EXPECT_EQ(list.item(0)->sizeHint().height(), CObjectListBox::kItemHeight);
}

TEST_F(ObjectListBoxTest, TheParameterRecordKeepsTheFirstItemWhateverTheNames) {
  zero.name = "Object[Barcode]";
  const std::vector<std::string> expected{"Object[Barcode]", "arc-1", "DXF file-1", "line-1"};
  // Filled from the layout, and added one by one with the record coming last.
  std::vector<CObjElement*> all{&zero, Make("line-1"), Make("DXF file-1"), Make("arc-1")};
  list.FillFromArray(all);
  EXPECT_EQ(Names(), expected);
  list.ResetContent();
  for (std::size_t i = all.size(); i-- > 0;) list.AddObject(all[i], 0, 0);
  EXPECT_EQ(Names(), expected);
  // "Show no object" selects the record.
  EXPECT_EQ(list.SelectOnly(0), &zero);
}

TEST_F(ObjectListBoxTest, SelectionCallsKeepExactlyTheirItemsSelected) {
  std::vector<CObjElement*> all{&zero, Make("a"), Make("b"), Make("c")};
  EXPECT_EQ(list.FillFromArray(all), 4);
  list.SetSelection({1, 3});
  EXPECT_EQ(list.GetSelectedIndexes(), (std::vector<int>{1, 3}));
  list.SetSelection({3, 1, 2, 9, 1});  // a run given out of order, one index past the end
  EXPECT_EQ(list.GetSelectedIndexes(), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(list.currentRow(), 3);
  list.SetSelection({1, 3});
  EXPECT_EQ(list.GetSingleSelection(), nullptr);
  list.SetSelection({});
  EXPECT_EQ(list.GetSelectedIndexes(), (std::vector<int>{0}));
  EXPECT_EQ(list.SelectOnly(2), all[2]);
  EXPECT_EQ(list.GetSingleSelection(), all[2]);
  all[1]->name = "renamed";
  list.RefreshObject(all[1]);
  EXPECT_EQ(list.item(1)->text(), QString("renamed"));
  EXPECT_EQ(list.GetSingleSelection(), all[1]);
  list.RemoveObject(all[3], 1);
  EXPECT_EQ(list.GetCount(), 3);
  EXPECT_EQ(list.GetSelectedIndexes(), (std::vector<int>{0}));
  list.ResetContent();
  EXPECT_EQ(list.GetObjectAt(0), nullptr);
  EXPECT_TRUE(parent.Drain().empty());  // none of this is the user's selection
}

TEST_F(ObjectListBoxTest, DefaultNamesFollowTheListAndItsRenames) {
  list.AddObject(&zero, 0, 0);
  std::string name;
  list.MakeDefaultName(1, name);
  EXPECT_EQ(name, "line-1");
  CObjElement* twelve = Make("line-12");
  list.AddObject(twelve, 0, 0);
  list.MakeDefaultName(1, name);
  EXPECT_EQ(name, "line-2");
  twelve->name = "gear";
  list.RefreshObject(twelve);
  list.MakeDefaultName(1, name);
  EXPECT_EQ(name, "line-1");
  list.MakeDefaultName(0, name);
  EXPECT_EQ(name, "Object[Barcode]");
  name = "kept";
  list.MakeDefaultName(12, name);
  EXPECT_EQ(name, "kept");
  // Deleting a selection takes its entries out together, in whatever order
  // the layout holds them; an element the list does not show changes nothing.
  CObjElement* one = Make("line-1");
  CObjElement* three = Make("line-3");
  for (CObjElement* e : {one, Make("arc-1"), Make("line-2"), three}) list.AddObject(e, 0, 0);
  list.RemoveObjects({three, Make("line-9"), one});
  EXPECT_EQ(Names(), (std::vector<std::string>{"", "arc-1", "gear", "line-2"}));
  list.MakeDefaultName(1, name);
  EXPECT_EQ(name, "line-1");
}

TEST_F(ObjectListBoxTest, ClickingAnotherObjectReportsItOnceAndTheSameObjectNothing) {
  std::vector<CObjElement*> all{&zero, Make("a"), Make("b")};
  list.FillFromArray(all);
  list.SelectOnly(1);
  Click(2);
  std::vector<platform::Message> sent = parent.Drain();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].msg, WM_LIST_SELCHANGE);
  ASSERT_TRUE(PropChangeOf(sent[0]));
  EXPECT_EQ(PropChangeOf(sent[0])->object, all[2]);
  EXPECT_EQ(PropChangeOf(sent[0])->id, -1);
  Click(2);
  EXPECT_TRUE(parent.Drain().empty());
  QTest::keyClick(&list, Qt::Key_Up);
  Pump();
  sent = parent.Drain();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(PropChangeOf(sent[0])->object, all[1]);
}

struct MenuCase {
  int selected, caret, items;
  bool show, markOrderGrey, combineGrey, deleteGrey;
  friend void PrintTo(const MenuCase& c, std::ostream* os) {
    *os << c.selected << " selected, caret " << c.caret << ", " << c.items << " items";
  }
};

class ListMenuTest : public ::testing::TestWithParam<MenuCase> {};

TEST_P(ListMenuTest, GreysWhatDoesNotApply) {
  const MenuCase& c = GetParam();
  const auto state = CObjectListBox::ContextMenuState(c.selected, c.caret, c.items);
  EXPECT_EQ(state.show, c.show);
  if (!c.show) return;
  EXPECT_EQ(state.markOrderGrey, c.markOrderGrey);
  EXPECT_EQ(state.combineGrey, c.combineGrey);
  EXPECT_EQ(state.deleteGrey, c.deleteGrey);
}

INSTANTIATE_TEST_SUITE_P(States, ListMenuTest,
                         ::testing::Values(MenuCase{1, 2, 5, true, true, true, false},
                                           MenuCase{3, 2, 5, true, true, false, false},
                                           MenuCase{1, 0, 3, true, false, false, true},
                                           MenuCase{0, 0, 5, true, false, false, true},
                                           MenuCase{1, 0, 2, false, false, false, false},
                                           MenuCase{0, -1, 1, false, false, false, false}));

TEST_F(ObjectListBoxTest, MenuCommandsGoToTheParentWithoutParameters) {
  list.OnMenuCommand(CObjectListBox::kCmdDelete);
  list.OnMenuCommand(CObjectListBox::kCmdCombine);
  list.OnMenuCommand(CObjectListBox::kCmdMarkOrder);
  std::vector<UINT> messages;
  for (const auto& m : parent.Drain()) {
    messages.push_back(m.msg);
    EXPECT_EQ(m.wParam, 0u);
    EXPECT_EQ(m.lParam, 0);
  }
  EXPECT_EQ(messages, (std::vector<UINT>{WM_LIST_DELETE, WM_LIST_COMBINE, WM_LIST_MARKORDER}));
}

}  // namespace
