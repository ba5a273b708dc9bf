// The clipboard, select all, clear all, the mark order and the list's
// delete and combine requests.
#include "document/objects/CObjElement.h"
#include "tests/app/views/ViewCommandsFixture.h"
#include "values/PropertyMessages.h"

namespace {

constexpr int ID_EDIT_COPY = 57634;
constexpr int ID_EDIT_PASTE = 57637;
constexpr int ID_SELECT_ALL = 32799;

}  // namespace

using ClipboardCommandsTest = ViewCommandsTest;

TEST_F(ClipboardCommandsTest, PasteAfterTheCopiedObjectWasDeletedUsesTheClipboardsOwnCopy) {
  CObjElement* line = Line({0, 0}, {10, 0}, "line-1");
  Select({line});
  model_->OnCopy();
  model_->DeleteSelection();  // frees the original
  ASSERT_EQ(Count(), 1);
  ASSERT_TRUE(model_->RunCommand(ID_EDIT_PASTE, true));
  ASSERT_EQ(Count(), 2);
  EXPECT_EQ(At(1)->name, "line-1");
  EXPECT_NEAR(At(1)->GetBoundRect().left, 10, kTol);
  EXPECT_NEAR(At(1)->GetBoundRect().CenterY(), -10, kTol);
}

TEST_F(ClipboardCommandsTest, RepeatedPastesStepDownAndToTheRight) {
  CObjElement* line = Line({0, 0}, {10, 0}, "line-1");
  line->lock = 1;  // the copies are not locked and move to their places
  Select({line});
  model_->OnCopy();
  model_->OnPaste();
  model_->OnPaste();
  ASSERT_EQ(Count(), 4);
  EXPECT_NEAR(At(2)->GetBoundRect().left, 10, kTol);
  EXPECT_NEAR(At(2)->GetBoundRect().CenterY(), -10, kTol);
  EXPECT_NEAR(At(3)->GetBoundRect().left, 20, kTol);
  EXPECT_NEAR(At(3)->GetBoundRect().CenterY(), -20, kTol);
  EXPECT_EQ(model_->m_selection.GetElements(), std::vector<CObjElement*>{At(3)});
  EXPECT_EQ(pane_.listSelection, std::vector<CObjElement*>{At(3)});
}

TEST_F(ClipboardCommandsTest, PasteExtendsTheCopysNameButNeverRenamesTheOriginal) {
  CObjElement* line = Line({0, 0}, {10, 0}, "line-1");
  Line({0, 5}, {10, 5}, "Line-11");  // the prefix search ignores case
  Select({line});
  model_->OnCopy();
  model_->OnPaste();
  EXPECT_EQ(line->name, "line-1");
  EXPECT_EQ(At(3)->name, "line-111");
}

TEST_F(ClipboardCommandsTest, LongNameRefusesThePasteBeforeAnyChange) {
  CObjElement* line = Line({0, 0}, {10, 0}, std::string(30, 'n'));
  Select({line});
  model_->OnCopy();
  model_->OnPaste();
  EXPECT_EQ(Count(), 2);
  EXPECT_EQ(Messages(), std::vector<std::string>{"Object name's string is too long!"});
  EXPECT_TRUE(model_->m_selection.empty());
}

TEST_F(ClipboardCommandsTest, CutTakesTheObjectsOutAndPasteBringsThemBack) {
  CObjElement* a = Line({0, 0}, {10, 0}, "a");
  CObjElement* kept = Line({0, 2}, {10, 2}, "kept");
  CObjElement* b = Line({0, 5}, {10, 5}, "b");
  Select({b, a});
  model_->OnCut();
  ASSERT_EQ(Count(), 2);
  EXPECT_EQ(At(1), kept) << "what was not selected stays, in its place";
  EXPECT_EQ(pane_.removed, (std::vector<CObjElement*>{b, a})) << "the list lets go of them from the last back";
  EXPECT_TRUE(model_->m_selection.empty());
  model_->OnPaste();
  ASSERT_EQ(Count(), 4);
  EXPECT_EQ(At(2)->name, "b");
  EXPECT_EQ(At(3)->name, "a");
  EXPECT_EQ(At(2)->GetFlag2(), 0);
}

TEST_F(ClipboardCommandsTest, CommandsAreEnabledByTheSelectionClipboardAndObjects) {
  EXPECT_FALSE(model_->RunCommand(ID_EDIT_COPY, false));
  EXPECT_FALSE(model_->RunCommand(ID_EDIT_PASTE, false));
  EXPECT_FALSE(model_->RunCommand(ID_SELECT_ALL, false));
  CObjElement* line = Line({0, 0}, {10, 0}, "l");
  EXPECT_TRUE(model_->RunCommand(ID_SELECT_ALL, false));
  Select({line});
  EXPECT_TRUE(model_->RunCommand(ID_EDIT_COPY, false));
  model_->OnCopy();
  EXPECT_TRUE(model_->RunCommand(ID_EDIT_PASTE, false));
}

TEST_F(ClipboardCommandsTest, SelectAllAndClearAllCoverEveryObjectButTheRecord) {
  for (int i = 0; i < 50; ++i) Line({0, double(i)}, {10, double(i)}, "l" + std::to_string(i));
  model_->OnSelectAll();
  EXPECT_EQ(model_->m_selection.size(), 50u);
  EXPECT_EQ(pane_.listSelection.size(), 50u);
  model_->OnClearAll();
  EXPECT_EQ(Count(), 1);
  EXPECT_EQ(At(0)->type, OBJ_PROPERITY);
}

TEST_F(ClipboardCommandsTest, MarkOrderTakesOnlyAReorderingWithTheRecordFirst) {
  CObjElement* a = Line({0, 0}, {10, 0}, "a");
  CObjElement* b = Line({0, 5}, {10, 5}, "b");
  CObjElement* record = At(0);
  dialogs_.reorder = [](std::vector<CObjElement*>& order) { std::swap(order[1], order[2]); };
  model_->OnChangeMarkOrder();
  EXPECT_EQ(At(0), record);
  EXPECT_EQ(At(1), b);
  EXPECT_EQ(At(2), a);

  dialogs_.reorder = [](std::vector<CObjElement*>& order) { order.pop_back(); };
  model_->OnChangeMarkOrder();
  EXPECT_EQ(Count(), 3);
  dialogs_.reorder = [](std::vector<CObjElement*>& order) { std::swap(order[0], order[1]); };
  model_->OnChangeMarkOrder();
  EXPECT_EQ(At(0), record);
}

TEST_F(ClipboardCommandsTest, MarkOrderWithOneObjectDoesNothing) {
  Line({0, 0}, {10, 0}, "a");
  bool asked = false;
  dialogs_.reorder = [&asked](std::vector<CObjElement*>&) { asked = true; };
  model_->OnChangeMarkOrder();
  EXPECT_FALSE(asked);
}

TEST_F(ClipboardCommandsTest, ListDeleteRemovesTheSelectionAndMarksTheLayoutChanged) {
  CObjElement* a = Line({0, 0}, {10, 0}, "a");
  Line({0, 5}, {10, 5}, "b");
  Select({a});
  model_->OnMessage(platform::Message{WM_LIST_DELETE, 0, 0, nullptr});
  ASSERT_EQ(Count(), 2);
  EXPECT_EQ(At(1)->name, "b");
  EXPECT_TRUE(document_.IsModified());
}
