#include <gtest/gtest.h>

#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <filesystem>
#include <memory>

#include "../records/RecordsTestSupport.h"
#include "marking/records/CMarkDatabase.h"
#include "marking/records_ui/CMarkRecordDlg.h"
#include "platform/Prompt.h"

using namespace marking;
using records_test::FreshFolder;
using records_test::ReadZipEntry;
using records_test::Record;

namespace {

template <typename T>
T* Child(QWidget& dialog, const char* name) {
  T* child = dialog.findChild<T*>(name);
  EXPECT_NE(child, nullptr) << name;
  return child;
}

void SetDate(CMarkRecordDlg& dialog, const char* prefix, int year, int month, int day) {
  std::string p = prefix;
  Child<QSpinBox>(dialog, (p + "Year").c_str())->setValue(year);
  Child<QSpinBox>(dialog, (p + "Month").c_str())->setValue(month);
  Child<QSpinBox>(dialog, (p + "Day").c_str())->setValue(day);
}

std::vector<QStringList> Lines(CMarkRecordDlg& dialog) {
  std::vector<QStringList> lines;
  auto* list = Child<QTreeWidget>(dialog, "resultList");
  for (int i = 0; i < list->topLevelItemCount(); ++i) {
    QStringList line;
    for (int c = 0; c < list->columnCount(); ++c) line << list->topLevelItem(i)->text(c);
    lines.push_back(line);
  }
  return lines;
}

class MarkRecordDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = FreshFolder();
    location_ = MarkDatabaseLocation::Embedded(folder_);
    prompt_ = std::make_shared<platform::ScriptedPrompt>();
    platform::SetPrompt(prompt_);
    CMarkDatabase db(location_);
    ASSERT_TRUE(db.Open());
    ASSERT_TRUE(db.Insert(Record("VIN-A", "O'Neil", "S1", "QR1", "20251130")));
    ASSERT_TRUE(db.Insert(Record("VIN-B", "缺省", "S2", "QR2", "20251201")));
    ASSERT_TRUE(db.Insert(Record("VIN-C", "缺省", "S3", "QR3", "20260115")));
  }
  void TearDown() override { platform::SetPrompt(std::make_shared<platform::ScriptedPrompt>()); }

  std::string folder_;
  MarkDatabaseLocation location_;
  std::shared_ptr<platform::ScriptedPrompt> prompt_;
};

}  // namespace

TEST_F(MarkRecordDialog, OpensOnTheLastThirteenMonthsWithTheDateRangeMode) {
  CMarkRecordDlg dialog(nullptr, location_, folder_);
  const MarkTime now = MarkTime::Now();
  MarkRecordQuery query = dialog.CurrentQuery();
  EXPECT_EQ(query.mode, kQueryDateRange);
  EXPECT_TRUE(query.fuzzy);
  EXPECT_EQ(query.toYear, now.year);
  EXPECT_EQ(query.toMonth, now.month);
  EXPECT_EQ(query.toDay, now.day);
  EXPECT_EQ(query.fromYear, now.year - 1);
  EXPECT_EQ(query.fromMonth, now.month == 1 ? 12 : now.month - 1);
  EXPECT_EQ(query.fromDay, now.day);
  auto* list = Child<QTreeWidget>(dialog, "resultList");
  QStringList headers;
  for (int c = 0; c < list->columnCount(); ++c) headers << list->headerItem()->text(c);
  EXPECT_EQ(headers, (QStringList{"序号", "主关键字", "次关键字", "流水号", "二维码", "日期"}));
  // A key's edit is usable only while its check is on.
  auto* edit = Child<QLineEdit>(dialog, "serialEdit");
  EXPECT_FALSE(edit->isEnabled());
  Child<QCheckBox>(dialog, "serialCheck")->setChecked(true);
  EXPECT_TRUE(edit->isEnabled());
}

TEST_F(MarkRecordDialog, QueryListsTheFoundRecordsWithTheirTimes) {
  CMarkRecordDlg dialog(nullptr, location_, folder_);
  SetDate(dialog, "from", 2025, 12, 1);
  SetDate(dialog, "to", 2026, 1, 31);
  Child<QPushButton>(dialog, "queryButton")->click();
  const QString time = QString::fromUtf8("2026年12月08日20时05分");
  EXPECT_EQ(Lines(dialog), (std::vector<QStringList>{{"1", "VIN-B", "缺省", "S2", "QR2", time},
                                                     {"2", "VIN-C", "缺省", "S3", "QR3", time}}));
  EXPECT_EQ(Child<QLabel>(dialog, "recordCount")->text(), "2");

  // Any key with no key chosen finds nothing.
  Child<QRadioButton>(dialog, "mode1")->setChecked(true);
  dialog.OnQuery();
  EXPECT_TRUE(Lines(dialog).empty());
  EXPECT_EQ(Child<QLabel>(dialog, "recordCount")->text(), "0");

  Child<QRadioButton>(dialog, "mode3")->setChecked(true);
  dialog.OnQuery();
  EXPECT_EQ(Lines(dialog).size(), 3u);
  EXPECT_TRUE(prompt_->Requests().empty());
}

TEST_F(MarkRecordDialog, ExportWritesTheListedRecordsWithTheDateInTheDateColumn) {
  CMarkRecordDlg dialog(nullptr, location_, folder_ + "/exports");
  std::filesystem::create_directories(folder_ + "/exports");
  // Nothing listed: nothing written.
  EXPECT_EQ(dialog.OnExport(), "");
  EXPECT_TRUE(std::filesystem::is_empty(folder_ + "/exports"));

  Child<QRadioButton>(dialog, "mode3")->setChecked(true);
  dialog.OnQuery();
  const std::string path = dialog.OnExport();
  ASSERT_FALSE(path.empty());
  EXPECT_EQ(std::filesystem::path(path).parent_path(), folder_ + "/exports");
  EXPECT_EQ(std::filesystem::path(path).filename().string().rfind("Info", 0), 0u);
  const std::string strings = ReadZipEntry(path, "xl/sharedStrings.xml");
  for (const char* date : {"20251130", "20251201", "20260115"}) EXPECT_NE(strings.find(date), std::string::npos);
  EXPECT_TRUE(prompt_->Requests().empty());
}

TEST_F(MarkRecordDialog, AnExportThatCannotBeWrittenSaysSo) {
  // The export folder is missing: the file cannot be written.
  CMarkRecordDlg dialog(nullptr, location_, folder_ + "/missing");
  Child<QRadioButton>(dialog, "mode3")->setChecked(true);
  dialog.OnQuery();
  EXPECT_EQ(dialog.OnExport(), "");
  EXPECT_EQ(prompt_->Texts(), std::vector<std::string>{"No install Excel driver!"});
}
