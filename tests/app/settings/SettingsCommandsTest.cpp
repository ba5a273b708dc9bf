#include <gtest/gtest.h>

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <functional>
#include <string>
#include <vector>

#include "app/core/MachineSetFile.h"
#include "app/core/StartupValues.h"
#include "app/settings/CPasswordDlg.h"
#include "app/settings/SettingsCommandHost.h"
#include "app/settings/SettingsCommands.h"
#include "document/geometry/SharedHelpers.h"
#include "document/geometry/SharedState.h"
#include "marking/records/CMarkDatabase.h"
#include "tests/app/start/TestFolder.h"
#include "values/ShellValues.h"

namespace {

// Records what the commands ask of the view; dialogs are worked by a
// per-test function instead of an operator.
class RecordingHost : public ISettingsCommandHost {
 public:
  void StopButtonWatch() override { calls.push_back("StopButtonWatch"); }
  void CloseUsbLink() override { calls.push_back("CloseUsbLink"); }
  void OpenUsbLink() override { calls.push_back("OpenUsbLink"); }
  void InitHardware(int mode) override { calls.push_back("InitHardware " + std::to_string(mode)); }
  void WaitMilliseconds(int ms) override { calls.push_back("Wait " + std::to_string(ms)); }
  void ReloadParameterRecord() override { calls.push_back("ReloadParameterRecord"); }
  void InvalidateView() override { calls.push_back("InvalidateView"); }
  const ComSettings* CurrentComSettings() override { return hasPropertyView ? &comSettings : nullptr; }
  std::string ComSettingsPath() override { return comPath; }
  bool ReopenRs232Port() override {
    calls.push_back("ReopenRs232Port");
    return reopenWorks;
  }
  int RunModal(QDialog& dialog) override {
    calls.push_back("RunModal " + dialog.windowTitle().toStdString());
    if (work) work(dialog);
    return dialog.result();
  }

  std::vector<std::string> calls;
  std::function<void(QDialog&)> work;
  bool hasPropertyView = true;
  bool reopenWorks = true;
  ComSettings comSettings;
  std::string comPath;
};

class SettingsCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = FreshFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
    g_installDir = folder_;
    prompt_ = FreshPrompt();
    settings_ = FreshSettings();
    g_softType = SOFT_TYPE_BIG_PORT_BOARD;
    g_machineSet = DefaultMachineSetRecord();
    SetPortAddresses(kDefaultPortBase);
    host_.comPath = folder_ + "/COMSET_EX.DAT";
  }
  void TearDown() override { platform::SetPrompt(nullptr); }

  std::string folder_;
  std::shared_ptr<platform::ScriptedPrompt> prompt_;
  std::shared_ptr<platform::SettingsStore> settings_;
  RecordingHost host_;
};

TEST_F(SettingsCommands, BoardTypeChoiceRunsTheSequenceAndStoresEverything) {
  SoftTypeChoice choice;
  choice.boardType = SOFT_TYPE_SMALL_PORT_BOARD;
  choice.checkPciBoard = 1;
  choice.addressText = "e800";
  choice.freeMode = 1;
  choice.boardOption = 7;
  ApplySoftTypeChoice(host_, choice);

  EXPECT_EQ(host_.calls, (std::vector<std::string>{"StopButtonWatch", "CloseUsbLink", "Wait 200", "InitHardware 0",
                                                   "OpenUsbLink", "ReloadParameterRecord"}));
  EXPECT_EQ(g_softType.load(), SOFT_TYPE_SMALL_PORT_BOARD);
  const auto zephyne = ReadBytes(ZephyneFilePath(folder_));
  ASSERT_EQ(zephyne.size(), 128u);
  for (std::size_t i = 0; i < zephyne.size(); ++i) EXPECT_EQ(zephyne[i], i == 64 ? 2 : 0) << i;
  int value = 0;
  ASSERT_EQ(ReadRegDword("CheckPCIBoard", value), 1);
  EXPECT_EQ(value, 1);
  ASSERT_EQ(ReadRegDword("PCI9865Base", value), 1);
  EXPECT_EQ(value, 0xE800);
  EXPECT_EQ(OutPortAddress.load(), 0xE800);

  MachineSetRecord saved;
  ASSERT_EQ(LoadMachineSetFile(MachineSetFilePath(folder_, SOFT_TYPE_SMALL_PORT_BOARD), saved), 1);
  EXPECT_EQ(saved.controlBit0Switch, 1);
  EXPECT_EQ(saved.boardOption, 7);
  EXPECT_TRUE(prompt_->Texts().empty());
}

TEST_F(SettingsCommands, BadAddressFallsBackToTheDefaultBaseAndKeepsTheStoredOne) {
  WriteRegDword("PCI9865Base", 0x2000);
  for (const char* bad : {"", "XYZ", "12345"}) {
    prompt_->Clear();
    SoftTypeChoice choice;
    choice.addressText = bad;
    SetPortAddresses(0x1234);
    ApplySoftTypeChoice(host_, choice);
    EXPECT_EQ(OutPortAddress.load(), kDefaultPortBase) << bad;
    EXPECT_EQ(prompt_->Texts().size(), 1u) << bad;
    int stored = 0;
    ReadRegDword("PCI9865Base", stored);
    EXPECT_EQ(stored, 0x2000) << bad;
  }
}

TEST_F(SettingsCommands, UsbBoardLeavesTheCheckPciSwitchAlone) {
  WriteRegDword("CheckPCIBoard", 0);
  SoftTypeChoice choice;
  choice.boardType = SOFT_TYPE_USB;
  choice.checkPciBoard = 1;
  choice.addressText = "378";
  ApplySoftTypeChoice(host_, choice);
  int value = -1;
  ReadRegDword("CheckPCIBoard", value);
  EXPECT_EQ(value, 0);
  EXPECT_EQ(ReadBytes(ZephyneFilePath(folder_))[64], 1);
}

TEST_F(SettingsCommands, SerialSettingsAreWrittenWholeAndAFailedReopenIsToldOnce) {
  host_.comSettings.values = {2, 1, 4, 0, 1, 1, 9, 9, 9, 9, 9, 9, 9};
  host_.reopenWorks = false;
  host_.work = [](QDialog& dialog) { dialog.accept(); };
  EXPECT_TRUE(OnRs232SettingCommand(host_));
  const auto bytes = ReadBytes(host_.comPath);
  ASSERT_EQ(bytes.size(), 52u);
  EXPECT_EQ(bytes[0], 2);
  EXPECT_EQ(bytes[8], 4);
  EXPECT_EQ(bytes[20], 1);
  EXPECT_EQ(bytes[24], 9) << "the unused words are written back as they were";
  EXPECT_EQ(prompt_->Texts(), std::vector<std::string>{"Update data from rs232 err!"});

  host_.hasPropertyView = false;
  host_.calls.clear();
  EXPECT_FALSE(OnRs232SettingCommand(host_));
  EXPECT_TRUE(host_.calls.empty());
}

TEST_F(SettingsCommands, ClearingNeedsThePasswordAndAYesAndKeepsABackup) {
  const marking::MarkDatabaseLocation location = marking::MarkDatabaseLocation::Embedded(folder_);
  {
    marking::CMarkDatabase db(location);
    ASSERT_TRUE(db.Open());
    marking::MarkRecord record;
    record.keys[0] = "VIN1";
    record.time = "t";
    record.date = "20261209";
    ASSERT_TRUE(db.Insert(record));
  }
  auto count = [&] {
    marking::CMarkDatabase db(location);
    if (!db.Open()) return -2LL;
    return db.Count().value_or(-1);
  };
  const marking::MarkTime now{2026, 12, 9, 8, 7, 6};

  // Closing the password dialog, or a wrong code, leaves everything.
  host_.work = [](QDialog& dialog) { dialog.reject(); };
  EXPECT_FALSE(OnClearDatabaseCommand(host_, location, now));
  EXPECT_EQ(count(), 1);

  auto typeCode = [](QDialog& dialog) {
    auto& password = static_cast<CPasswordDlg&>(dialog);
    qobject_cast<QLineEdit*>(password.GetDlgItem(CPasswordDlg::IDC_PASSWORD))->setText("quenmart");
    qobject_cast<QPushButton*>(password.GetDlgItem(CPasswordDlg::IDOK_BUTTON))->click();
  };
  host_.work = typeCode;
  prompt_->QueueAnswer(IDNO);
  EXPECT_FALSE(OnClearDatabaseCommand(host_, location, now));
  EXPECT_EQ(count(), 1);

  prompt_->Clear();
  prompt_->QueueAnswer(IDYES);
  EXPECT_TRUE(OnClearDatabaseCommand(host_, location, now));
  EXPECT_EQ(count(), 0);
  EXPECT_EQ(prompt_->Texts(), (std::vector<std::string>{"Are clear all database ?", "Database had been cleared!"}));
  bool backup = false;
  for (const auto& entry : std::filesystem::directory_iterator(folder_))
    backup |= entry.path().filename().string().rfind("MarkDataBase20261209080706", 0) == 0;
  EXPECT_TRUE(backup);
}

TEST_F(SettingsCommands, PrintRecordIsWrittenOnlyOnOk) {
  const std::string path = folder_ + "/PaperPrintSet.DAT";
  PaperPrintSet record = LoadPaperPrintSet(folder_);
  host_.work = [](QDialog& dialog) { dialog.reject(); };
  EXPECT_FALSE(OnPrintEdgeSettingCommand(host_, record, folder_));
  EXPECT_FALSE(std::filesystem::exists(path));
  host_.work = [](QDialog& dialog) {
    qobject_cast<QComboBox*>(dialog.findChild<QComboBox*>("scaleList"))->setCurrentIndex(1);
    dialog.accept();
  };
  EXPECT_TRUE(OnPrintEdgeSettingCommand(host_, record, folder_));
  EXPECT_EQ(record.scaleMode, 1);
  EXPECT_EQ(LoadPaperPrintSet(folder_).scaleMode, 1);
}

TEST_F(SettingsCommands, ScreenSizeRepaintsTheView) {
  host_.work = [](QDialog& dialog) {
    dialog.findChild<QLineEdit*>("widthEdit")->setText("30");
    dialog.findChild<QLineEdit*>("heightEdit")->setText("200");
    dialog.accept();
  };
  EXPECT_TRUE(OnScreenSizeCommand(host_, 1000, 1000));
  EXPECT_DOUBLE_EQ(g_physScreenWidthMm, 50.0);
  EXPECT_DOUBLE_EQ(g_pxPerMmY, 5.0);
  EXPECT_EQ(host_.calls.back(), "InvalidateView");
}

}  // namespace
