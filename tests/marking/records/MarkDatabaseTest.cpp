#include <gtest/gtest.h>

#include <QSqlDatabase>
#include <QSqlRecord>
#include <QThread>
#include <filesystem>
#include <fstream>
#include <memory>
#include <atomic>

#include "RecordsTestSupport.h"
#include "marking/records/CMarkDatabase.h"
#include "platform/SettingsStore.h"

using namespace marking;
using records_test::FreshFolder;
using records_test::Record;

namespace {

std::vector<std::string> MainKeys(const std::vector<MarkRecord>& rows) {
  std::vector<std::string> keys;
  for (const auto& row : rows) keys.push_back(row.Key(MarkColumn::MainKey));
  return keys;
}

std::vector<std::string> ColumnsOf(const std::string& file) {
  std::vector<std::string> names;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "inspect");
    db.setDatabaseName(QString::fromStdString(file));
    EXPECT_TRUE(db.open());
    QSqlRecord columns = db.record(QString::fromUtf8(kMarkTable));
    for (int i = 0; i < columns.count(); ++i) names.push_back(columns.fieldName(i).toStdString());
    db.close();
  }
  QSqlDatabase::removeDatabase("inspect");
  return names;
}

const std::vector<std::string> kSixColumns = {"主关键字", "次关键字", "流水号", "二维码", "时间", "日期"};

}  // namespace

TEST(MarkTime, TextsPadEveryFieldSoDatesCompareAndNamesNeverCollide) {
  MarkTime time{2026, 1, 5, 9, 7, 3};
  EXPECT_EQ(time.TimeText(), "2026年01月05日09时07分");
  EXPECT_EQ(time.DateText(), "20260105");
  EXPECT_EQ(time.StampText(), "20260105090703");
  EXPECT_EQ((MarkTime{2026, 12, 25, 23, 59, 59}.TimeText()), "2026年12月25日23时59分");
  // 11 January and 1 November at 1:01:01 would both be "2026111111" unpadded.
  EXPECT_NE((MarkTime{2026, 1, 11, 1, 1, 1}.StampText()), (MarkTime{2026, 11, 1, 1, 1, 1}.StampText()));
}

TEST(MarkDatabaseLocation, ConnectionStringsNameAServerOrSayWhatIsWrong) {
  auto server = MarkDatabaseLocation::Parse(
      "driver=QPSQL; HOST=db.plant;Port=5432;DATABASE=marks;USER=vendrik;PASSWORD=a=b;OPTIONS=connect_timeout=5;sslmode=require");
  ASSERT_TRUE(server);
  EXPECT_EQ(server->driver, "QPSQL");
  EXPECT_EQ(server->hostName, "db.plant");
  EXPECT_EQ(server->port, 5432);
  EXPECT_EQ(server->databaseName, "marks");
  EXPECT_EQ(server->userName, "vendrik");
  EXPECT_EQ(server->password, "a=b");
  EXPECT_EQ(server->options, "connect_timeout=5;sslmode=require");
  EXPECT_FALSE(server->IsEmbedded());

  std::string error;
  EXPECT_FALSE(MarkDatabaseLocation::Parse("DRIVER=QPSQL;HOST=x", &error));
  EXPECT_NE(error.find("DATABASE"), std::string::npos);
  EXPECT_FALSE(MarkDatabaseLocation::Parse("DATABASE=marks", &error));
  EXPECT_NE(error.find("DRIVER"), std::string::npos);
  EXPECT_FALSE(MarkDatabaseLocation::Parse("DRIVER=QPSQL;DATABASE=m;PORT=54x", &error));
  EXPECT_FALSE(MarkDatabaseLocation::Parse("DRIVER=QPSQL;DATABASE=m;SERVER=x", &error));
  EXPECT_NE(error.find("SERVER"), std::string::npos);
  EXPECT_FALSE(MarkDatabaseLocation::Parse("DRIVER=QPSQL;DATABASE=m;junk", &error));
}

TEST(MarkDatabaseLocation, SettingsChooseTheStoreAndABadStringKeepsRecordsLocal) {
  auto store = platform::MakeMemorySettingsStore();
  store->CreateKey(platform::kRegistryKey);
  platform::SetSettingsStore(store);
  std::string error;
  MarkDatabaseLocation local = MarkDatabaseLocation::FromSettings("/data/vendrik", &error);
  EXPECT_TRUE(local.IsEmbedded());
  EXPECT_EQ(local.databaseName, "/data/vendrik/MarkDataBaseV2.db");
  EXPECT_EQ(local.BackupFolder(), "/data/vendrik");
  EXPECT_TRUE(error.empty());

  store->WriteString(platform::kRegistryKey, kMarkDatabaseConnectValue, "DRIVER=QODBC;DATABASE=MarkDsn");
  EXPECT_EQ(MarkDatabaseLocation::FromSettings("/data/vendrik").driver, "QODBC");

  store->WriteString(platform::kRegistryKey, kMarkDatabaseConnectValue, "DRIVER=QODBC");
  MarkDatabaseLocation fallback = MarkDatabaseLocation::FromSettings("/data/vendrik", &error);
  EXPECT_TRUE(fallback.IsEmbedded());
  EXPECT_FALSE(error.empty());
  platform::SetSettingsStore(platform::MakeMemorySettingsStore());
}

TEST(MarkDatabase, OpenMakesTheTableOnceAndRecordsOutliveTheConnection) {
  const std::string folder = FreshFolder() + "/not/there/yet";
  const MarkDatabaseLocation location = MarkDatabaseLocation::Embedded(folder);
  {
    CMarkDatabase db(location);
    ASSERT_TRUE(db.Open()) << db.LastError();
    EXPECT_TRUE(db.Open());  // a second open is harmless
    EXPECT_TRUE(db.Insert(Record("VIN1", "缺省", "缺省", "缺省")));
  }
  EXPECT_TRUE(std::filesystem::exists(folder + "/MarkDataBaseV2.db"));
  EXPECT_EQ(ColumnsOf(folder + "/MarkDataBaseV2.db"), kSixColumns);
  CMarkDatabase again(location);
  ASSERT_TRUE(again.Open());
  EXPECT_EQ(again.Count(), 1);
  auto rows = again.Query(MarkRecordQuery{.mode = kQueryAll});
  ASSERT_TRUE(rows);
  EXPECT_EQ(*rows, std::vector<MarkRecord>{Record("VIN1", "缺省", "缺省", "缺省")});
}

TEST(MarkDatabase, FailuresSayWhyAndLeaveTheDatabaseClosed) {
  MarkDatabaseLocation missingDriver;
  missingDriver.driver = "QNOSUCHDRIVER";
  missingDriver.databaseName = "x";
  CMarkDatabase db(missingDriver);
  EXPECT_FALSE(db.Open());
  EXPECT_FALSE(db.IsOpen());
  EXPECT_NE(db.LastError().find("QNOSUCHDRIVER"), std::string::npos);
  EXPECT_FALSE(db.Insert(Record("A", "", "", "")));
  EXPECT_FALSE(db.Contains(MarkColumn::MainKey, "A"));
  EXPECT_FALSE(db.Query(MarkRecordQuery{}));

  // The database file's place is taken by a folder.
  const std::string folder = FreshFolder();
  std::filesystem::create_directories(folder + "/MarkDataBaseV2.db");
  CMarkDatabase blocked(MarkDatabaseLocation::Embedded(folder));
  EXPECT_FALSE(blocked.Open());
  EXPECT_FALSE(blocked.LastError().empty());
}

TEST(MarkDatabase, QuotesAndWildcardsAreStoredAndFoundExactly) {
  CMarkDatabase db(MarkDatabaseLocation::Embedded(FreshFolder()));
  ASSERT_TRUE(db.Open());
  const std::vector<std::string> awkward = {"O'Brien", "say \"hi\"", "100%", "A_C", "back\\slash", "!bang", "粤B·12345",
                                            "'); DROP TABLE 标记信息; --"};
  for (const auto& text : awkward) ASSERT_TRUE(db.Insert(Record(text, text, text, text))) << db.LastError();
  auto rows = db.Query(MarkRecordQuery{.mode = kQueryAll});
  ASSERT_TRUE(rows);
  EXPECT_EQ(MainKeys(*rows), awkward);
  for (const auto& text : awkward) {
    for (int column = 0; column < kMarkKeyColumns; ++column)
      EXPECT_TRUE(db.Contains(static_cast<MarkColumn>(column), text)) << text;
    MarkRecordQuery exact{.mode = kQueryAnyKey, .useKey = {true, false, false, false}, .fuzzy = false};
    exact.keyText[0] = text;
    EXPECT_EQ(MainKeys(db.Query(exact).value()), std::vector<std::string>{text});
  }
  // Wildcards in a look-up are plain characters.
  EXPECT_FALSE(db.Contains(MarkColumn::MainKey, "ABC"));
  EXPECT_FALSE(db.Contains(MarkColumn::MainKey, "%"));
  MarkRecordQuery fuzzy{.mode = kQueryAnyKey, .useKey = {true, false, false, false}};
  fuzzy.keyText[0] = "%";
  EXPECT_EQ(MainKeys(db.Query(fuzzy).value()), std::vector<std::string>{"100%"});
  fuzzy.keyText[0] = "_";
  EXPECT_EQ(MainKeys(db.Query(fuzzy).value()), std::vector<std::string>{"A_C"});
}

TEST(MarkDatabase, DuplicateCheckMatchesWholeTextsNeverParts) {
  CMarkDatabase db(MarkDatabaseLocation::Embedded(FreshFolder()));
  ASSERT_TRUE(db.Open());
  ASSERT_TRUE(db.Insert(Record("LSVAB4180E2001234", "缺省", "SN0012%%SN0013", "缺省")));
  EXPECT_TRUE(db.Contains(MarkColumn::MainKey, "LSVAB4180E2001234"));
  EXPECT_FALSE(db.Contains(MarkColumn::MainKey, "LSVAB4180E200123"));   // a prefix
  EXPECT_FALSE(db.Contains(MarkColumn::MainKey, "SVAB4180E2001234"));   // a suffix
  EXPECT_FALSE(db.Contains(MarkColumn::MainKey, "lsvab4180e2001234"));  // case counts
  // Texts joined in one column are each whole values.
  EXPECT_TRUE(db.Contains(MarkColumn::Serial, "SN0012"));
  EXPECT_TRUE(db.Contains(MarkColumn::Serial, "SN0013"));
  EXPECT_TRUE(db.Contains(MarkColumn::Serial, "SN0012%%SN0013"));
  EXPECT_FALSE(db.Contains(MarkColumn::Serial, "SN001"));
  EXPECT_FALSE(db.Contains(MarkColumn::Serial, "0012"));
  // Only the asked column counts.
  EXPECT_FALSE(db.Contains(MarkColumn::Code, "SN0012"));
  EXPECT_FALSE(db.Contains(MarkColumn::MainKey, ""));
}

TEST(MarkDatabase, HistoryLookupsByDateAndKeys) {
  CMarkDatabase db(MarkDatabaseLocation::Embedded(FreshFolder()));
  ASSERT_TRUE(db.Open());
  ASSERT_TRUE(db.Insert(Record("VIN-A", "batch7", "S1", "QR1", "20251130")));
  ASSERT_TRUE(db.Insert(Record("VIN-B", "batch7", "S2", "QR2", "20251201")));
  ASSERT_TRUE(db.Insert(Record("VIN-C", "batch8", "S3", "QR3", "20260115")));
  ASSERT_TRUE(db.Insert(Record("XVIN-AX", "batch9", "S4", "QR4", "20260301")));

  MarkRecordQuery range{.mode = kQueryDateRange, .fromYear = 2025, .fromMonth = 12, .fromDay = 1,
                        .toYear = 2026, .toMonth = 1, .toDay = 15};
  EXPECT_EQ(MainKeys(db.Query(range).value()), (std::vector<std::string>{"VIN-B", "VIN-C"}));

  // Date range and keys: every chosen key must hold.
  MarkRecordQuery both = range;
  both.mode = kQueryDateAndKeys;
  both.fromYear = 2025;
  both.fromMonth = 1;
  both.toYear = 2026;
  both.toMonth = 12;
  both.useKey = {false, true, false, false};
  both.keyText[1] = "batch7";
  EXPECT_EQ(MainKeys(db.Query(both).value()), (std::vector<std::string>{"VIN-A", "VIN-B"}));
  both.useKey[2] = true;
  both.keyText[2] = "S2";
  EXPECT_EQ(MainKeys(db.Query(both).value()), (std::vector<std::string>{"VIN-B"}));
  // A check without a text, or a text without its check, does not count.
  both.useKey = {true, false, false, false};
  both.keyText[0] = "";
  EXPECT_EQ(db.Query(both).value().size(), 4u);

  // Any key: fuzzy is a contains-match, exact is the whole text.
  MarkRecordQuery any{.mode = kQueryAnyKey, .useKey = {true, false, false, true}};
  any.keyText[0] = "VIN-A";
  any.keyText[3] = "QR3";
  EXPECT_EQ(MainKeys(db.Query(any).value()), (std::vector<std::string>{"VIN-A", "VIN-C", "XVIN-AX"}));
  any.fuzzy = false;
  EXPECT_EQ(MainKeys(db.Query(any).value()), (std::vector<std::string>{"VIN-A", "VIN-C"}));
  // Any key without a key asks nothing and finds nothing.
  EXPECT_TRUE(db.Query(MarkRecordQuery{.mode = kQueryAnyKey}).value().empty());

  EXPECT_EQ(db.Query(MarkRecordQuery{.mode = kQueryAll}).value().size(), 4u);
}

TEST(MarkDatabase, ClearKeepsEveryRecordInADatedBackupFirst) {
  const std::string folder = FreshFolder();
  CMarkDatabase db(MarkDatabaseLocation::Embedded(folder));
  ASSERT_TRUE(db.Open());
  ASSERT_TRUE(db.Insert(Record("VIN-A", "O'Neil", "S1", "QR1")));
  ASSERT_TRUE(db.Insert(Record("VIN-B", "缺省", "S2", "QR2")));

  MarkClearResult first = db.ClearWithBackup(MarkTime{2026, 1, 2, 3, 4, 5});
  ASSERT_TRUE(first.cleared) << first.error;
  EXPECT_EQ(first.backupPath, folder + "/MarkDataBase20260102030405.db");
  EXPECT_EQ(db.Count(), 0);
  EXPECT_EQ(ColumnsOf(folder + "/MarkDataBaseV2.db"), kSixColumns);
  {
    MarkDatabaseLocation at = MarkDatabaseLocation::Embedded(folder);
    at.databaseName = first.backupPath;
    CMarkDatabase backup(at);
    ASSERT_TRUE(backup.Open());
    EXPECT_EQ(*backup.Query(MarkRecordQuery{.mode = kQueryAll}),
              (std::vector<MarkRecord>{Record("VIN-A", "O'Neil", "S1", "QR1"), Record("VIN-B", "缺省", "S2", "QR2")}));
  }
  EXPECT_FALSE(std::filesystem::exists(first.backupPath + ".tmp"));

  // A second clear in the same second keeps the first backup.
  ASSERT_TRUE(db.Insert(Record("VIN-C", "", "", "")));
  MarkClearResult second = db.ClearWithBackup(MarkTime{2026, 1, 2, 3, 4, 5});
  ASSERT_TRUE(second.cleared) << second.error;
  EXPECT_EQ(second.backupPath, folder + "/MarkDataBase20260102030405-2.db");
  EXPECT_TRUE(std::filesystem::exists(first.backupPath));
  // Records added after a clear are kept as usual.
  EXPECT_TRUE(db.Insert(Record("VIN-D", "", "", "")));
  EXPECT_EQ(db.Count(), 1);
}

TEST(MarkDatabase, AFailedBackupDeletesNothing) {
  const std::string folder = FreshFolder();
  MarkDatabaseLocation location = MarkDatabaseLocation::Embedded(folder);
  // The backup folder is a plain file: no backup can be made there.
  location.backupFolder = folder + "/blocked";
  std::ofstream(location.backupFolder) << "x";
  CMarkDatabase db(location);
  ASSERT_TRUE(db.Open());
  ASSERT_TRUE(db.Insert(Record("VIN-A", "", "", "")));
  MarkClearResult result = db.ClearWithBackup(MarkTime{2026, 1, 2, 3, 4, 5});
  EXPECT_FALSE(result.cleared);
  EXPECT_FALSE(result.error.empty());
  EXPECT_EQ(db.Count(), 1);
  EXPECT_TRUE(db.Contains(MarkColumn::MainKey, "VIN-A"));
}

TEST(MarkDatabase, AJobAndTheHistoryOnOtherThreadsShareTheFileWithoutLosingRecords) {
  const MarkDatabaseLocation location = MarkDatabaseLocation::Embedded(FreshFolder());
  constexpr int kEach = 150;
  std::atomic<int> failures{0};
  auto job = [&](const std::string& prefix) {
    CMarkDatabase db(location);
    if (!db.Open()) {
      ++failures;
      return;
    }
    for (int i = 0; i < kEach; ++i) {
      const std::string vin = prefix + std::to_string(i);
      if (db.Contains(MarkColumn::MainKey, vin) || !db.Insert(Record(vin, "", "", ""))) ++failures;
    }
    db.Close();
  };
  // Qt threads, so Qt's own per-thread data is released with them.
  std::unique_ptr<QThread> first(QThread::create(job, "A"));
  std::unique_ptr<QThread> second(QThread::create(job, "B"));
  first->start();
  second->start();
  // Meanwhile the history looks at it from this thread.
  for (int i = 0; i < 20; ++i) {
    CMarkDatabase history(location);
    if (history.Open()) {
      EXPECT_TRUE(history.Query(MarkRecordQuery{.mode = kQueryAll}));
    }
  }
  first->wait();
  second->wait();
  EXPECT_EQ(failures, 0);
  CMarkDatabase db(location);
  ASSERT_TRUE(db.Open());
  EXPECT_EQ(db.Count(), 2 * kEach);
}

TEST(MarkDatabase, ClearingWhileAJobRecordsLosesNoRecord) {
  const std::string folder = FreshFolder();
  const MarkDatabaseLocation location = MarkDatabaseLocation::Embedded(folder);
  constexpr int kRecords = 200;
  std::atomic<int> written{0};
  std::atomic<bool> opened{true};
  std::unique_ptr<QThread> job(QThread::create([&] {
    CMarkDatabase db(location);
    if (!db.Open()) {
      opened = false;
      return;
    }
    for (int i = 0; i < kRecords; ++i)
      if (db.Insert(Record("VIN" + std::to_string(i), "", "", ""))) ++written;
  }));
  job->start();
  while (opened && written < kRecords / 4) QThread::yieldCurrentThread();
  ASSERT_TRUE(opened);
  CMarkDatabase clearer(location);
  MarkClearResult result = clearer.ClearWithBackup(MarkTime{2026, 5, 6, 7, 8, 9});
  job->wait();
  ASSERT_TRUE(result.cleared) << result.error;
  EXPECT_EQ(written, kRecords);

  MarkDatabaseLocation at = location;
  at.databaseName = result.backupPath;
  CMarkDatabase backup(at);
  ASSERT_TRUE(backup.Open());
  ASSERT_TRUE(clearer.Open());
  EXPECT_EQ(*backup.Count() + *clearer.Count(), kRecords);
  EXPECT_GE(*backup.Count(), kRecords / 4);
}
