// The layout view's selection object on its own: what a report of the object
// list selects, what it refuses, and the hook a cleared selection runs.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/views/model/CProperityViewCalls.h"
#include "app/views/model/CViewSelection.h"
#include "document/objects/CObjElement.h"

namespace {

// A list whose selected entries are set by the test; it records what the
// selection asks it to select.
class ListDouble : public NullProperityViewCalls {
 public:
  std::vector<CObjElement*> SelectedListObjects() override { return listed; }
  void ShowSelection(const std::vector<CObjElement*>& objects) override { shown.push_back(objects); }
  std::vector<CObjElement*> listed;
  std::vector<std::vector<CObjElement*>> shown;
};

struct ListReport {
  const char* name;
  std::vector<int> listed;  // indexes into the layout: 0 the record, 1.. objects
  int reported;
  std::vector<int> selected;
  bool listSynced;  // the list was told the selection again
};

class ListSelectionTest : public ::testing::TestWithParam<ListReport> {
 protected:
  void SetUp() override {
    for (int i = 0; i < 4; ++i) {
      elements_.push_back(std::make_unique<CObjElement>());
      elements_.back()->type = i == 0 ? OBJ_PROPERITY : OBJ_LINE;
      elements_.back()->boundRect = CDoubleRect(i, i + 1, i + 1, i);
    }
    selection_.SetList(&list_);
  }
  CObjElement* At(int i) const { return elements_[static_cast<std::size_t>(i)].get(); }

  std::vector<std::unique_ptr<CObjElement>> elements_;
  ListDouble list_;
  CViewSelection selection_;
};

TEST_P(ListSelectionTest, TheListsReportBecomesTheSelection) {
  const ListReport& report = GetParam();
  selection_.Add(At(3));  // whatever was selected before goes
  for (int i : report.listed) list_.listed.push_back(At(i));
  selection_.TakeListSelection(At(report.reported));
  std::vector<CObjElement*> expected;
  for (int i : report.selected) expected.push_back(At(i));
  EXPECT_EQ(selection_.GetElements(), expected);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(At(i)->selected != 0, selection_.Contains(At(i))) << i;
  EXPECT_EQ(!list_.shown.empty(), report.listSynced);
}

INSTANTIATE_TEST_SUITE_P(
    Reports, ListSelectionTest,
    ::testing::Values(ListReport{"OneEntryTheReportedObject", {2}, 2, {2}, false},
                      ListReport{"TheRecordSelectsNothing", {0}, 0, {}, false},
                      ListReport{"OneEntryLeftOfTwoNotTheReportedOne", {1}, 2, {1}, true},
                      ListReport{"NoListAtHandTheReportedObject", {}, 1, {1}, false},
                      ListReport{"SeveralEntriesAllOfThem", {1, 2}, 2, {1, 2}, true},
                      ListReport{"SeveralWithTheRecordLeaveItOut", {0, 1, 3}, 3, {1, 3}, true}),
    [](const ::testing::TestParamInfo<ListReport>& info) { return std::string(info.param.name); });

TEST_F(ListSelectionTest, ClearingRunsTheHooksAndBoundsFollowTheElements) {
  int cleared = 0;
  selection_.AddClearedHook([&cleared] { ++cleared; });
  selection_.Set({At(1), At(2), At(0)});
  EXPECT_EQ(cleared, 1);
  EXPECT_EQ(selection_.size(), 2u) << "the parameter record is never selected";
  EXPECT_EQ(selection_.Bounds(), CDoubleRect(1, 3, 3, 1));
  EXPECT_EQ(selection_.DragBounds(), selection_.Bounds());
  selection_.Clear(true);  // elements that are gone keep their flags
  EXPECT_EQ(cleared, 2);
  EXPECT_TRUE(selection_.empty());
  EXPECT_EQ(At(1)->selected, 1);
}

}  // namespace
