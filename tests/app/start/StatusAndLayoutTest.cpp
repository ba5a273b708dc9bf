#include <gtest/gtest.h>

#include <clocale>
#include <set>

#include "app/core/CommandIds.h"
#include "app/core/FrameGeometry.h"
#include "app/core/NameTables.h"
#include "app/core/RecentFileList.h"
#include "app/core/StatusTexts.h"

TEST(StatusTexts, PanesInOrderWithTheirWidths) {
  const auto panes = StatusPanes();
  ASSERT_EQ(panes.size(), 16u);
  const int ids[] = {32876, 32874, 32877, 32875, 61362, 61363, 61365, 61364,
                     61361, 61352, 61351, 61360, 61353, 59137, 59138, 59139};
  const std::size_t widths[] = {2, 7, 2, 7, 7, 17, 6, 6, 4, 25, 24, 12, 10, 4, 4, 6};
  for (std::size_t i = 0; i < panes.size(); ++i) {
    EXPECT_EQ(panes[i].id, ids[i]) << i;
    EXPECT_EQ(std::string(panes[i].initialText).size(), widths[i]) << i;
  }
}

TEST(StatusTexts, FormatsInTheCLocaleWhateverTheProcessLocale) {
  const bool german = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
  EXPECT_EQ(FormatMarkCount(3, 10), "3/10\xE6\xAC\xA1");
  EXPECT_EQ(FormatMarkTime(1500), "1.50\xE7\xA7\x92");
  EXPECT_EQ(FormatMarkTime(0), "0.00\xE7\xA7\x92");
  EXPECT_EQ(FormatCursorPos(-1.005, 12.5), "x:-1.00,y=12.50");
  EXPECT_EQ(FormatMousePos(3.25), "3.2");
  EXPECT_EQ(FormatTotalCount(42), "42");
  if (german) std::setlocale(LC_ALL, "C");
}

TEST(StatusTexts, RecordNumberReadLikeAtoi) {
  EXPECT_EQ(ParseRecordNumber("abc"), 0);
  EXPECT_EQ(ParseRecordNumber(""), 0);
  EXPECT_EQ(ParseRecordNumber("25"), 25);
  EXPECT_EQ(ParseRecordNumber(" 7x"), 7);
  EXPECT_EQ(ParseRecordNumber("-3"), -3);
  EXPECT_EQ(ParseRecordNumber("99999999999"), 2147483647);
}

TEST(FrameGeometry, SplitterProportions) {
  EXPECT_EQ(InitialLayoutPaneWidth(1000), 640);
  EXPECT_EQ(InitialLayoutPaneWidth(99), 63);
  const ColumnWidths w = SplitColumnWidths(1000);
  EXPECT_EQ(w.layout, 610);
  EXPECT_EQ(w.property, 390);
  const ColumnWidths odd = SplitColumnWidths(333);
  EXPECT_EQ(odd.property, 129);
  EXPECT_EQ(odd.layout + odd.property, 333);
}

TEST(FrameGeometry, SyncDisplayCoversTheLowerSevenTenthsEvenLowOnTheScreen) {
  const ScreenRect r = SyncDisplayRect({800, 100, 1200, 600});
  EXPECT_EQ(r.left, 800);
  EXPECT_EQ(r.right, 1200);
  EXPECT_EQ(r.bottom, 600);
  EXPECT_EQ(r.Height(), 350);
  // A pane whose top is below 7/10 of its height: the old rule's height
  // (7/10 of the height minus the top) went negative here.
  const ScreenRect low = SyncDisplayRect({0, 900, 300, 1000});
  EXPECT_EQ(low.Height(), 70);
  EXPECT_EQ(low.top, 930);
  const ScreenRect flat = SyncDisplayRect({0, 500, 300, 500});
  EXPECT_EQ(flat.Height(), 0);
}

TEST(CommandTable, IdsAreUniqueAndFindable) {
  std::set<int> seen;
  for (const auto& c : cmd::CommandTable()) {
    EXPECT_TRUE(seen.insert(c.id).second) << c.id;
    EXPECT_EQ(cmd::FindCommand(c.id), &c);
  }
  EXPECT_STREQ(cmd::FindCommand(cmd::ID_VIEW_EDIT_TOOLBAR)->menuText, "Display edit toolbar(&H)");
  EXPECT_EQ(cmd::FindCommand(4242), nullptr);
}

TEST(RecentFileList, NewestFirstNoDoublesAtMostFour) {
  CRecentFileList list(4);
  for (const char* p : {"a.mrk", "b.mrk", "c.mrk", "d.mrk", "e.mrk"}) list.Add(p);
  EXPECT_EQ(list.Entries(), (std::vector<std::string>{"e.mrk", "d.mrk", "c.mrk", "b.mrk"}));
  list.Add("c.mrk");
  EXPECT_EQ(list.Entries(), (std::vector<std::string>{"c.mrk", "e.mrk", "d.mrk", "b.mrk"}));
  list.Remove(1);
  list.Remove(9);
  EXPECT_EQ(list.Entries(), (std::vector<std::string>{"c.mrk", "d.mrk", "b.mrk"}));
  list.SetEntries({"x", "y", "x", "", "z", "w", "v"});
  EXPECT_EQ(list.Entries(), (std::vector<std::string>{"x", "y", "z", "w"}));
}

TEST(RecentFileList, ReaddingAnEntryByReferenceKeepsIt) {
  CRecentFileList list(4);
  list.Add("/layouts/first-with-a-long-enough-name-to-live-on-the-heap.mrk");
  list.Add("/layouts/second-with-a-long-enough-name-to-live-on-the-heap.mrk");
  list.Add(list.Entries()[1]);
  EXPECT_EQ(list.Entries()[0], "/layouts/first-with-a-long-enough-name-to-live-on-the-heap.mrk");
  EXPECT_EQ(list.Entries().size(), 2u);
}

TEST(NameTables, DateSamplesOfTheLocalTime) {
  std::tm t{};
  t.tm_year = 2009 - 1900;
  t.tm_mon = 2;
  t.tm_mday = 5;
  t.tm_hour = 9;
  t.tm_min = 5;
  t.tm_sec = 7;
  const auto s2009 = FormatDateSamples(t);
  EXPECT_EQ(s2009[0], "09Y03M");
  EXPECT_EQ(s2009[3], "2009.03.05");
  EXPECT_EQ(s2009[4], "2009Y03M05D09H");
  EXPECT_EQ(s2009[8], "2009 03 05");
  EXPECT_EQ(s2009[10], "090305");
  EXPECT_EQ(s2009[11], "90305");
  EXPECT_EQ(s2009[12], "090507(HMS)");
  t.tm_year = 2011 - 1900;
  t.tm_mon = 11;
  t.tm_mday = 25;
  t.tm_hour = 23;
  EXPECT_EQ(FormatDateSamples(t)[11], "B1225");
  EXPECT_EQ(FormatDateSamples(t)[2], "2011Y12M25D");
  EXPECT_EQ(FormatDateSamples(t)[12], "230507(HMS)");
  EXPECT_EQ(AnchorNames()[2], "Rigth top-2");
  EXPECT_EQ(AnchorNames()[9], "");
}
