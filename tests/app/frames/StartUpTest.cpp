#include <QAction>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStatusBar>
#include <QToolBar>
#include <filesystem>
#include <fstream>

#include <xlsxwriter.h>

#include "values/ShellMessages.h"
#include "app/frames/CChildFrame.h"
#include "app/frames/CMainFrame.h"
#include "document/doc/CVendrikDoc.h"
#include "app/frames/CMarkToolBar.h"
#include "app/core/CommandIds.h"
#include "app/views/CProperityPane.h"
#include "app/views/model/ExcelLinkRecord.h"
#include "marking/controller/records/CMarkRecordsRecorder.h"
#include "properties/link/CProperityView.h"
#include "values/ShellValues.h"
#include "app/views/CVendrikView.h"
#include "document/geometry/SharedHelpers.h"
#include "marking/controller/CMarkControlWnd.h"
#include "platform/Clock.h"
#include "platform/FileDialog.h"
#include "tests/app/frames/FramesFixture.h"
#include "widgets/CNotifyEdit.h"

namespace {
class NoCounterClock : public platform::SteadyClock {
 public:
  std::int64_t CounterFrequency() override { return 0; }
};
}  // namespace

TEST_F(FramesTest, StartUpRunsInOrderAndOpensOneEmptyLayout) {
  processes_->processes = {{1000, "/opt/vendrik/bin/vendrik"},
                           {77, "/opt/vendrik/bin/vendrik"},
                           {78, "/opt/vendrik/bin/vendrik-boardsim"},
                           {79, "/usr/bin/ctest"}};
  ASSERT_TRUE(Start());
  EXPECT_EQ(log_, (std::vector<std::string>{"processes", "end 77", "port", "xdg-mime", "xdg-desktop-menu", "xdg-mime"}));
  EXPECT_TRUE(prompt_->Texts().empty());

  EXPECT_EQ(g_installDir, folder_);
  EXPECT_DOUBLE_EQ(g_pxPerMmX, 4.0);
  EXPECT_DOUBLE_EQ(g_pxPerMmY, 4.0);

  CMainFrame* frame = app_->MainFrame();
  ASSERT_NE(frame, nullptr);
  EXPECT_TRUE(frame->isVisible());
  EXPECT_EQ(frame->windowTitle().toStdString(), "Vendrik Control SystemV2011 - [Vendrik1]");
  ASSERT_EQ(frame->MdiArea()->subWindowList().size(), 1);
  auto* child = dynamic_cast<CChildFrame*>(frame->MdiArea()->subWindowList().first());
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(child->windowTitle(), QString("Vendrik1"));
  EXPECT_TRUE(child->isMaximized());

  // A fresh install shows the standard work area, not a 0 mm one.
  ASSERT_NE(app_->FindFirstLayoutView(), nullptr);
  EXPECT_DOUBLE_EQ(app_->FindFirstLayoutView()->WorkAreaWidthMm(), 120.0);
  EXPECT_DOUBLE_EQ(app_->FindFirstLayoutView()->WorkAreaHeightMm(), 100.0);

  for (int id : {ID_MAIN_TOOLBAR, ID_EDIT_TOOLBAR, ID_ALIGN_TOOLBAR, ID_MARK_TOOLBAR}) {
    EXPECT_NE(frame->ToolBar(id), nullptr) << id;
  }
  EXPECT_EQ(frame->RecordBar()->windowTitle(), QString("Excel data"));
  ASSERT_NE(frame->MarkControl(), nullptr);
  EXPECT_TRUE(frame->MarkControl()->IsCreated());
  EXPECT_EQ(frame->MarkControl()->Id(), 1119);
  EXPECT_EQ(frame->MarkControl()->ParentFrame(), &frame->Target());

  int hot = 0;
  ASSERT_TRUE(ReadRegDword("MarkHotFile", hot));
  EXPECT_EQ(hot, 1);
}

TEST_F(FramesTest, AssociationIsNotWrittenAgainOnTheNextStart) {
  ASSERT_TRUE(Start());
  EXPECT_EQ(xdgCalls_.size(), 3u);
  Stop();
  ASSERT_TRUE(Start());
  EXPECT_EQ(xdgCalls_.size(), 3u);
}

TEST_F(FramesTest, NoCounterEndsStartUpBeforeAnyWindow) {
  platform::SetClock(std::make_shared<NoCounterClock>());
  EXPECT_FALSE(Start());
  EXPECT_EQ(app_->MainFrame(), nullptr);
  EXPECT_EQ(prompt_->Texts(), std::vector<std::string>{"System don't support high frequent counter!"});
  EXPECT_TRUE(xdgCalls_.empty());
}

TEST_F(FramesTest, LayoutNamedOnTheCommandLineIsOpened) {
  const std::string path = CopyLayoutFixture("part.mrk");
  MessageLog views;
  app_ = std::make_unique<CVendrikApp>(Environment());
  ASSERT_TRUE(app_->InitInstance({QString::fromStdString(path)}));
  ASSERT_NE(app_->FindFirstLayoutView(), nullptr);
  app_->FindFirstLayoutView()->SetMessageHandler(views.Handler());
  PumpQt();
  EXPECT_EQ(app_->MainFrame()->MdiArea()->subWindowList().size(), 1);
  // Once read, the layout window carries the full path.
  EXPECT_EQ(app_->MainFrame()->windowTitle().toStdString(), "Vendrik Control SystemV2011 - [" + path + "]");
  // The load request, then the object list's choice of the parameter record.
  ASSERT_GE(views.messages.size(), 1u);
  EXPECT_EQ(views.messages[0].msg, WM_LOAD_MRK_FILE);
  ASSERT_TRUE(views.messages[0].payload);
  EXPECT_EQ(*std::static_pointer_cast<std::string>(views.messages[0].payload), path);
}

TEST_F(FramesTest, MissingLayoutOnTheCommandLineEndsStartUp) {
  EXPECT_FALSE(Start({QString::fromStdString(folder_ + "/nothing.mrk")}));
  EXPECT_EQ(prompt_->Texts(), std::vector<std::string>{"Failed to open document."});
  EXPECT_EQ(app_->MainFrame(), nullptr);
}

TEST_F(FramesTest, UnreachablePortBoardStillStarts) {
  class Unreachable : public platform::SimulatedPortSpace {
   public:
    bool Initialize() override { return false; }
  };
  app_ = std::make_unique<CVendrikApp>([this] {
    AppEnvironment env = Environment();
    env.portBoard = [] { return std::make_shared<Unreachable>(); };
    return env;
  }());
  ASSERT_TRUE(app_->InitInstance({}));
  EXPECT_EQ(prompt_->Texts(), std::vector<std::string>{"Initial port error!"});
  EXPECT_NE(app_->MainFrame(), nullptr);
}

TEST_F(FramesTest, CommandsRouteToTheirHandlersAndUnhandledOnesAreDisabled) {
  ASSERT_TRUE(Start());
  CMainFrame* frame = app_->MainFrame();
  EXPECT_TRUE(app_->OnCmdMsg(57600, true));  // the active layout starts afresh
  EXPECT_TRUE(app_->OnCmdMsg(1221, true));
  PumpQt();
  ASSERT_EQ(frame->MdiArea()->subWindowList().size(), 2);
  EXPECT_EQ(frame->MdiArea()->subWindowList().last()->windowTitle(), QString("Vendrik2"));
  EXPECT_FALSE(app_->OnCmdMsg(4242, true));
  EXPECT_TRUE(app_->OnCmdMsg(32833, false));  // the active layout window's

  frame->UpdateCommandUI();
  EXPECT_TRUE(frame->Action(57600)->isEnabled());
  EXPECT_TRUE(frame->Action(57664)->isEnabled());
  EXPECT_TRUE(frame->Action(57606)->isEnabled());  // print setup: the application's

  // Without a layout window its commands are off.
  frame->MdiArea()->closeAllSubWindows();
  PumpQt();
  EXPECT_FALSE(app_->OnCmdMsg(32833, false));
}

TEST_F(FramesTest, RecentFilesAreListedKeptAndPrunedWhenGone) {
  const std::string a = CopyLayoutFixture("a.mrk");
  const std::string b = CopyLayoutFixture("b.mrk");
  ASSERT_TRUE(Start({QString::fromStdString(a)}));
  ASSERT_NE(app_->OpenDocumentFile(b), nullptr);
  app_->MainFrame()->UpdateCommandUI();
  EXPECT_TRUE(app_->MainFrame()->Action(57616)->isVisible());
  EXPECT_EQ(app_->MainFrame()->Action(57616)->text().toStdString(), "&1 " + b);
  EXPECT_EQ(app_->MainFrame()->Action(57617)->text().toStdString(), "&2 " + a);
  EXPECT_FALSE(app_->MainFrame()->Action(57618)->isVisible());
  EXPECT_FALSE(app_->OnCmdMsg(57618, false));
  Stop();

  std::filesystem::remove(b);
  ASSERT_TRUE(Start());
  EXPECT_EQ(app_->RecentFiles().Entries(), (std::vector<std::string>{b, a}));
  EXPECT_TRUE(app_->OnCmdMsg(57617, true));  // a.mrk opens in the layout window
  EXPECT_EQ(app_->MainFrame()->MdiArea()->subWindowList().size(), 1);
  EXPECT_EQ(app_->MainFrame()->ActiveChildFrame()->Document()->GetPathName(), a);
  EXPECT_EQ(app_->RecentFiles().Entries(), (std::vector<std::string>{a, b}));
  EXPECT_TRUE(app_->OnCmdMsg(57617, true));  // b.mrk is gone
  EXPECT_EQ(prompt_->Texts(), std::vector<std::string>{"Failed to open document."});
  EXPECT_EQ(app_->RecentFiles().Entries(), std::vector<std::string>{a});
}

TEST_F(FramesTest, RecentFileThatIsNoLongerAProjectOpensNoWindow) {
  const std::string a = CopyLayoutFixture("a.mrk");
  ASSERT_TRUE(Start({QString::fromStdString(a)}));
  std::ofstream(a, std::ios::binary | std::ios::trunc) << "not a project\r\n";
  EXPECT_TRUE(app_->OnCmdMsg(57616, true));
  PumpQt();
  EXPECT_EQ(app_->MainFrame()->MdiArea()->subWindowList().size(), 1);
  EXPECT_TRUE(app_->RecentFiles().Entries().empty());
  EXPECT_EQ(prompt_->Texts().back(), "Failed to open document.");
}

// File > Open and File > Save As put their file first in the File menu's
// recent files, at once and for the next start.
TEST_F(FramesTest, RecentFilesFollowEveryOpenAndSave) {
  const std::string a = CopyLayoutFixture("a.mrk");
  const std::string copy = folder_ + "/copy.mrk";
  auto dialog = std::make_shared<platform::ScriptedFileDialog>();
  platform::SetFileDialog(dialog);
  ASSERT_TRUE(Start());
  CMainFrame* frame = app_->MainFrame();
  auto recentShown = [frame] {
    frame->UpdateCommandUI();  // as opening the File menu does
    std::vector<std::string> shown;
    for (int id = 57616; id <= 57619; ++id)
      if (frame->Action(id)->isVisible()) shown.push_back(frame->Action(id)->text().toStdString());
    return shown;
  };
  EXPECT_TRUE(recentShown().empty());
  dialog->QueuePath(a);
  frame->Action(57601)->trigger();  // Open
  PumpQt();
  EXPECT_EQ(recentShown(), std::vector<std::string>{"&1 " + a});
  dialog->QueuePath(copy);
  frame->Action(57604)->trigger();  // Save as
  PumpQt();
  ASSERT_TRUE(std::filesystem::exists(copy));
  EXPECT_EQ(recentShown(), (std::vector<std::string>{"&1 " + copy, "&2 " + a}));
  Stop();
  ASSERT_TRUE(Start());
  EXPECT_EQ(app_->RecentFiles().Entries(), (std::vector<std::string>{copy, a}));
  platform::SetFileDialog(std::make_shared<platform::ScriptedFileDialog>());
}

// The program as it starts, with a spreadsheet link left on: every part that
// start-up connects is connected in the running program, not only in tests.
// The workbook is read while the start-button thread is starting up.
TEST_F(FramesTest, StartUpConnectsEveryCollaborator) {
  const std::string book = folder_ + "/rows.xlsx";
  auto writeBook = [&book](std::vector<const char*> firstRow) {
    lxw_workbook* workbook = workbook_new(book.c_str());
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, "Rows");
    for (std::size_t column = 0; column < firstRow.size(); ++column)
      worksheet_write_string(sheet, 0, static_cast<lxw_col_t>(column), firstRow[column], nullptr);
    return workbook_close(workbook);
  };
  _EXCEL_FILE_PARA para{};
  ASSERT_TRUE(StoreExcelPath(para, book));
  ASSERT_TRUE(SaveExcelMarkPara(folder_, para));
  settings_->WriteDword(platform::kRegistryKey, "AutoLinkExcel", 1);

  // A sheet of one cell holds no records: the operator is told, the link stays closed.
  ASSERT_EQ(writeBook({"A1"}), LXW_NO_ERROR);
  ASSERT_TRUE(Start());
  EXPECT_EQ(prompt_->Texts(), std::vector<std::string>{book + " no data!"});
  ASSERT_NE(app_->FindFirstLayoutView(), nullptr);
  EXPECT_FALSE(app_->FindFirstLayoutView()->Model().IsSheetOpen());
  Stop();
  prompt_->Clear();

  ASSERT_EQ(writeBook({"A1", "B1"}), LXW_NO_ERROR);
  ASSERT_TRUE(Start());
  EXPECT_EQ(prompt_->Texts(), std::vector<std::string>{});
  CMainFrame* frame = app_->MainFrame();
  CChildFrame* child = frame->ActiveChildFrame();
  ASSERT_NE(child, nullptr);
  CVendrikView* view = child->LayoutView();
  CMarkControlWnd* control = frame->MarkControl();

  // The marking controller: its frame, the record keeper of the database
  // the history dialog reads, and the layout view that drives it.
  EXPECT_EQ(control->Frame(), static_cast<IMarkFrame*>(frame));
  auto* records = dynamic_cast<CMarkRecordsRecorder*>(control->Recorder());
  ASSERT_NE(records, nullptr);
  EXPECT_EQ(records->Location().databaseName, marking::MarkDatabaseLocation::FromSettings(g_installDir).databaseName);
  EXPECT_EQ(view->Model().m_pMarkControl, control);
  // Its machine link: the property pane's view holds the link and knows the
  // layout view; the layout view hands it to the controller.
  CProperityView* pane = child->PropertyPane()->View();
  EXPECT_EQ(CProperityView::LinkOwner(), pane);
  EXPECT_EQ(pane->GetLayoutView(), &view->Target());
  EXPECT_EQ(view->Model().GetPropertyView(), static_cast<ILinkHost*>(pane));
  // The spreadsheet link's reader has the workbook open at its first row.
  EXPECT_TRUE(view->Model().IsSheetOpen());
  EXPECT_TRUE(frame->RecordBar()->Edit()->isEnabled());
  EXPECT_TRUE(frame->Action(cmd::ID_BAND_EXCEL)->isChecked());
}
