#include <gtest/gtest.h>

#include <memory>

#include "RecordsTestSupport.h"
#include "marking/records/MarkRecords.h"
#include "platform/Cp936.h"
#include "platform/Prompt.h"

using namespace marking;
using records_test::FreshFolder;

namespace {

constexpr int kText = 2, kSerial = 16, kVin = 17, kBarcode = 19;

MarkRecordItem Item(int type, std::string marked, std::string current = {}, int queryKey = 0) {
  MarkRecordItem item;
  item.type = type;
  item.queryKey = queryKey;
  item.markedText = platform::Utf8ToCp936(marked);
  item.currentText = platform::Utf8ToCp936(current.empty() ? marked : current);
  return item;
}

const MarkTime kTime{2026, 3, 5, 8, 9, 10};

class MarkRecordsJob : public ::testing::Test {
 protected:
  void SetUp() override {
    prompt_ = std::make_shared<platform::ScriptedPrompt>();
    platform::SetPrompt(prompt_);
    db_ = std::make_unique<CMarkDatabase>(MarkDatabaseLocation::Embedded(FreshFolder()));
  }
  void TearDown() override { platform::SetPrompt(std::make_shared<platform::ScriptedPrompt>()); }

  std::shared_ptr<platform::ScriptedPrompt> prompt_;
  std::unique_ptr<CMarkDatabase> db_;
};

}  // namespace

TEST(MarkRecordBuild, ColumnsFollowTypesAndRolesAndJoinSeveralTexts) {
  std::vector<MarkRecordItem> items = {
      Item(kVin, "LSVAB4180E2001234"),
      Item(kText, "粤B12345", {}, 1),    // main key by role
      Item(kText, "Line 3", {}, 2),      // second key
      Item(kSerial, "SN0042", {}, 2),    // second key and serial number
      Item(kBarcode, "http://x/?a=1&b=%"),
      Item(kText, "not a key"),
  };
  MarkRecordItem off = Item(kVin, "WVWZZZ1JZXW000001");
  off.markEnabled = false;
  items.push_back(off);
  MarkRecordItem skipped = Item(kSerial, "SN9");
  skipped.pathSkipped = true;  // still marked, so still recorded
  items.push_back(skipped);

  auto record = BuildMarkRecord(items, kTime);
  ASSERT_TRUE(record);
  EXPECT_EQ(record->Key(MarkColumn::MainKey), "LSVAB4180E2001234%%粤B12345");
  EXPECT_EQ(record->Key(MarkColumn::SecondKey), "Line 3%%SN0042");
  EXPECT_EQ(record->Key(MarkColumn::Serial), "SN0042%%SN9");
  EXPECT_EQ(record->Key(MarkColumn::Code), "http://x/?a=1&b=%");
  EXPECT_EQ(record->time, "2026年03月05日08时09分");
  EXPECT_EQ(record->date, "20260305");

  auto onlyCode = BuildMarkRecord({Item(kBarcode, "QR")}, kTime);
  ASSERT_TRUE(onlyCode);
  EXPECT_EQ(onlyCode->keys, (std::array<std::string, 4>{"缺省", "缺省", "缺省", "QR"}));

  // Nothing to record: no key, serial-number or code text.
  EXPECT_FALSE(BuildMarkRecord({Item(kText, "plain"), Item(kSerial, "")}, kTime));
  EXPECT_FALSE(BuildMarkRecord({}, kTime));
}

TEST_F(MarkRecordsJob, WithoutAirNothingIsOpenedCheckedOrRecorded) {
  ASSERT_TRUE(db_->Open());
  ASSERT_TRUE(InsertMarkRecord(*db_, {Item(kVin, "LSVAB4180E2001234")}, kTime));
  db_->Close();
  bool stopped = false;
  MarkRecordJobOptions options{.airOn = false, .checkMarked = true, .onOperatorStop = [&] { stopped = true; }};
  EXPECT_EQ(OpenMarkDatabase({Item(kVin, "LSVAB4180E2001234")}, *db_, options), 1);
  EXPECT_FALSE(db_->IsOpen());
  EXPECT_TRUE(prompt_->Requests().empty());
  EXPECT_FALSE(InsertMarkRecord(*db_, {Item(kVin, "LSVAB4180E2001234")}, kTime));
  EXPECT_FALSE(stopped);
}

TEST_F(MarkRecordsJob, AnItemAlreadyMarkedAsksAndYesStopsTheJob) {
  ASSERT_TRUE(db_->Open());
  ASSERT_TRUE(InsertMarkRecord(*db_, {Item(kVin, "LSVAB4180E2001234")}, kTime));
  db_->Close();

  int stops = 0;
  MarkRecordJobOptions options{.airOn = true, .checkMarked = true, .onOperatorStop = [&] { ++stops; }};
  prompt_->QueueAnswer(IDYES);
  EXPECT_EQ(OpenMarkDatabase({Item(kText, "x"), Item(kVin, "LSVAB4180E2001234")}, *db_, options), 0);
  EXPECT_FALSE(db_->IsOpen());
  EXPECT_EQ(stops, 1);
  ASSERT_EQ(prompt_->Requests().size(), 1u);
  EXPECT_EQ(prompt_->Requests()[0].text, kAlreadyMarkedQuestion);
  EXPECT_EQ(prompt_->Requests()[0].type, MB_YESNO | MB_ICONQUESTION);

  // No: the job goes on with the database open, and records the item again.
  prompt_->QueueAnswer(IDNO);
  EXPECT_EQ(OpenMarkDatabase({Item(kVin, "LSVAB4180E2001234")}, *db_, options), 1);
  EXPECT_TRUE(db_->IsOpen());
  EXPECT_EQ(stops, 1);
  EXPECT_TRUE(InsertMarkRecord(*db_, {Item(kVin, "LSVAB4180E2001234")}, kTime));
  EXPECT_EQ(db_->Count(), 2);
}

TEST_F(MarkRecordsJob, OnlyWholeCurrentCodesOfMarkedObjectsAreLookedUp) {
  ASSERT_TRUE(db_->Open());
  ASSERT_TRUE(InsertMarkRecord(*db_, {Item(kVin, "LSVAB4180E2001234"), Item(kSerial, "P-0007-A"),
                                       Item(kBarcode, "O'Reilly 50%")},
                               kTime));
  // Found: each code as a whole.
  EXPECT_TRUE(FindMarkRecord(*db_, {Item(kVin, "LSVAB4180E2001234")}));
  EXPECT_TRUE(FindMarkRecord(*db_, {Item(kSerial, "P-0007-A")}));
  EXPECT_TRUE(FindMarkRecord(*db_, {Item(kBarcode, "O'Reilly 50%")}));
  // Not found: parts of recorded codes, or the next serial number.
  EXPECT_FALSE(FindMarkRecord(*db_, {Item(kSerial, "P-0007")}));
  EXPECT_FALSE(FindMarkRecord(*db_, {Item(kSerial, "P-0007-A", "P-0008-A")}));
  EXPECT_FALSE(FindMarkRecord(*db_, {Item(kBarcode, "50%")}));
  // A VIN is looked up only with its 17 characters.
  EXPECT_FALSE(FindMarkRecord(*db_, {Item(kVin, "LSVAB4180E200123")}));
  // A code in the wrong kind of object, or in an object not marked or skipped.
  EXPECT_FALSE(FindMarkRecord(*db_, {Item(kBarcode, "LSVAB4180E2001234")}));
  EXPECT_FALSE(FindMarkRecord(*db_, {Item(kText, "LSVAB4180E2001234", {}, 1)}));
  MarkRecordItem off = Item(kVin, "LSVAB4180E2001234");
  off.markEnabled = false;
  MarkRecordItem skipped = Item(kVin, "LSVAB4180E2001234");
  skipped.pathSkipped = true;
  EXPECT_FALSE(FindMarkRecord(*db_, {off, skipped}));
  EXPECT_TRUE(FindMarkRecord(*db_, {off, skipped, Item(kSerial, "P-0007-A")}));

  // Without the check there is no question.
  db_->Close();
  MarkRecordJobOptions unchecked{.airOn = true, .checkMarked = false};
  EXPECT_EQ(OpenMarkDatabase({Item(kVin, "LSVAB4180E2001234")}, *db_, unchecked), 1);
  EXPECT_TRUE(prompt_->Requests().empty());
}
