// The layout view's dialogs: the framework's number checks, the size
// dialog's proportion and the mark order's moves.
#include <gtest/gtest.h>

#include "app/dialogs/CFormDialog.h"
#include "app/dialogs/CMarkOrderDlg.h"
#include "app/dialogs/CSizePositionDlg.h"

TEST(ViewDialogs, NumberChecksKeepTheDialogOpenWithTheStandardMessage) {
  const CFormDialog::Range rows{1, 10};
  struct Case {
    const char* text;
    bool integer;
    bool ranged;
    const char* message;  // null: accepted
  } cases[] = {
      {"2", true, true, nullptr},
      {" 10 ", true, true, nullptr},
      {"11", true, true, "Please enter an integer between 1 and 10."},
      {"0", true, true, "Please enter an integer between 1 and 10."},
      {"2.5", true, true, "Please enter an integer."},
      {"", false, false, "Please enter a number."},
      {"abc", false, false, "Please enter a number."},
      {"1e400", false, false, "Please enter a number."},
      {"1e39", false, false, "Please enter a number."},
      {"-3e38", false, false, nullptr},
      {"-12.5", false, false, nullptr},
      {"1000.5", false, true, "Please enter a number between 1 and 10."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const auto message = CFormDialog::CheckNumber(c.text, c.integer, c.ranged ? std::optional(rows) : std::nullopt);
    if (c.message == nullptr) {
      EXPECT_FALSE(message.has_value());
    } else {
      ASSERT_TRUE(message.has_value());
      EXPECT_EQ(*message, c.message);
    }
  }
}

TEST(ViewDialogs, SameFactorScalesTheOtherSideAndRefusesAZeroDivisor) {
  bool ok = false;
  EXPECT_EQ(CSizePositionDlg::ProportionalText("20", 10, 4, ok), "8.000");
  EXPECT_TRUE(ok);
  CSizePositionDlg::ProportionalText("20", 0, 4, ok);
  EXPECT_FALSE(ok);
  CSizePositionDlg::ProportionalText("wide", 10, 4, ok);
  EXPECT_FALSE(ok);
}

TEST(ViewDialogs, MarkOrderMovesNeverTouchTheRecordOrLeaveTheList) {
  int a = 0, b = 0, c = 0, d = 0;
  auto* record = reinterpret_cast<CObjElement*>(&a);
  auto* x = reinterpret_cast<CObjElement*>(&b);
  auto* y = reinterpret_cast<CObjElement*>(&c);
  auto* z = reinterpret_cast<CObjElement*>(&d);
  std::vector<CObjElement*> order{record, x, y, z};
  EXPECT_EQ(CMarkOrderDlg::MoveUp(order, 1), 1);
  EXPECT_EQ(CMarkOrderDlg::MoveDown(order, 3), 3);
  EXPECT_EQ(CMarkOrderDlg::MoveDown(order, 0), 0);
  EXPECT_EQ(CMarkOrderDlg::MoveDown(order, 1), 2);
  EXPECT_EQ(order, (std::vector<CObjElement*>{record, y, x, z}));
  EXPECT_EQ(CMarkOrderDlg::MoveUp(order, 3), 2);
  EXPECT_EQ(order, (std::vector<CObjElement*>{record, y, z, x}));
}
