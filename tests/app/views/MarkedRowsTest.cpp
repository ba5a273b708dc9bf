// Three pieces marked on the simulated USB board, the layout's text linked to
// a spreadsheet: each piece carries the text of the next row, because the
// job's "next record" after each piece steps the view to it.
#include <xlsxwriter.h>

#include <chrono>
#include <thread>

#include <gtest/gtest.h>

#include "app/core/CommandIds.h"
#include "app/views/model/CVendrikViewModel.h"
#include "document/doc/CVendrikDoc.h"
#include "marking/controller/CMarkControlWnd.h"
#include "platform/InstallDir.h"
#include "platform/SettingsStore.h"
#include "properties/link/CProperityView.h"
#include "tests/marking/controller/ControllerTestSupport.h"
#include "tests/marking/controller/JobTestSupport.h"
#include "tests/marking/link/LinkTestSupport.h"
#include "tests/marking/link/SimulatedBoardView.h"
#include "tests/text/layout/TextTestSupport.h"
#include "tools/boardsim/BoardSimRunner.h"
#include "tools/boardsim/BoardSimulator.h"
#include "values/ShellValues.h"

using namespace std::chrono_literals;

namespace {

// The view's document as the marking job sees it.
class DocumentAdapter : public IMarkDocument {
 public:
  explicit DocumentAdapter(CVendrikDoc& doc) : doc_(doc) {}
  int GetElementCount() const override { return doc_.Objects().GetSize(); }
  CObjElement* GetElement(int i) const override { return doc_.Objects().GetAt(i); }
  bool SaveIfNamed() override { return false; }

 private:
  CVendrikDoc& doc_;
};

class MainFrameDouble : public IViewMainFrame {
 public:
  platform::MessageTarget* GetFrameTarget() override { return nullptr; }
  std::unique_ptr<IProgressBar> CreatePaneControl(int, int) override { return nullptr; }
  void ShowCursorPos(double, double) override {}
  void SetRecordText(int) override {}
};

}  // namespace

TEST(MarkedRows, ThreePiecesCarryTheTextsOfThreeRows) {
  PortBench bench;
  TextRig rig;  // the fonts folder and the text class
  SoftType = SOFT_TYPE_USB;
  MachineSettings = DefaultMachineSetRecord();
  auto settings = platform::MakeMemorySettingsStore();
  settings->CreateKey(platform::kRegistryKey);
  platform::SetSettingsStore(settings);

  // One, two and three "L"s: each piece puts its row's count of strokes down.
  const std::string book = rig.Folder().Path() + "/rows.xlsx";
  lxw_workbook* workbook = workbook_new(book.c_str());
  lxw_worksheet* sheet = workbook_add_worksheet(workbook, "Rows");
  const char* rows[] = {"L", "LL", "LLL"};
  for (int r = 0; r < 3; ++r) worksheet_write_string(sheet, static_cast<lxw_row_t>(r), 0, rows[r], nullptr);
  ASSERT_EQ(workbook_close(workbook), LXW_NO_ERROR);

  CVendrikDoc doc;
  doc.Objects().Add(std::make_unique<CObjElement>(
      CObjCreateRecord{"", OBJ_PROPERITY, new CDrawProperity(DefaultRecord()), static_cast<int>(sizeof(CDrawProperity)), {}}));
  auto* object = new CObjText(TextCreateRecord{CDoublePoint(-20, 10), ""});
  object->Settings().strokeFontPair = "mm+nobig";
  object->Settings().charHeight = 28;
  auto element =
      std::make_unique<CObjElement>(CObjCreateRecord{"Text", OBJ_TEXT, object, static_cast<int>(sizeof(CObjText)), {}});
  object->GetPathData().SetOwner(element.get());
  object->SetText("I", object->Settings().position, false);
  object->RecalcPath();
  element->UpdateBoundRect();
  element->dataSource = 1;
  element->excelColumn = 0;
  doc.Objects().Add(std::move(element));

  MainFrameDouble mainFrame;
  CVendrikViewModel model;
  model.SetDocument(&doc);
  model.SetMainFrame(&mainFrame);
  StoreExcelPath(model.m_excelPara, book);
  model.m_excelRowIndex = 1;
  model.m_autoLinkExcel = 0;
  model.RunCommand(cmd::ID_BAND_EXCEL, true);
  ASSERT_TRUE(model.IsSheetOpen());
  ASSERT_EQ(doc.Objects().GetAt(1)->GetText(), "L");

  boardsim::BoardSimulator board(boardsim::BoardConfig{boardsim::Variant::Plain});
  boardsim::BoardSimRunner runner(board);
  ASSERT_TRUE(runner.Start({}, false)) << runner.LastError();
  UiThread ui;
  UiThread::Window viewWindow{ui, nullptr};
  UiThread::Window controllerWindow{ui, nullptr};
  UiThread::Window layoutWindow{ui, nullptr};
  auto propertyView = std::make_unique<CProperityView>(SimulatedBoardViewOptions(runner.DevicePath()));
  propertyView->SetSelfTarget(&viewWindow);
  viewWindow.SetHandler([&](const platform::Message& m) { propertyView->HandleMessage(m); });
  layoutWindow.SetHandler([](const platform::Message&) {});
  ui.Invoke([&] { propertyView->OnInitialUpdate(&layoutWindow); });
  ASSERT_TRUE(WaitForProtocolVariant(*propertyView, ui));

  TestFrame frame;
  TestDisplay display;
  TestView view;
  view.linkHost = propertyView.get();
  auto ctl = std::make_unique<CMarkControlWnd>(bench.clock.get());
  ctl->Create(&frame.queue, 1119);
  ctl->SetSelfTarget(&controllerWindow);
  controllerWindow.SetHandler([&](const platform::Message& m) { ctl->HandleMessage(m); });
  ctl->SetFrame(&frame);
  ctl->SetPump([] { std::this_thread::sleep_for(1ms); });
  DocumentAdapter marked(doc);

  std::vector<int> strokesDown;
  std::size_t ends = 0;
  for (int piece = 0; piece < 3; ++piece) {
    board.ClearRecords();
    MarkStatusWord = MSW_MARKING | MSW_AIR_ON;
    ctl->StartMarking(&marked, &display, &view);
    const auto deadline = std::chrono::steady_clock::now() + 60s;
    while (frame.Finished().size() <= ends) {
      ASSERT_LT(std::chrono::steady_clock::now(), deadline);
      std::this_thread::sleep_for(2ms);
    }
    ctl->EndMarking(static_cast<int>(frame.Finished()[ends++]));
    ctl->WaitForJob();
    int down = 0;
    for (const auto& m : board.Moves())
      if (m.flags & SN_TOOL_DOWN) ++down;
    strokesDown.push_back(down);
    // The view runs the job's "next record" as the layout view's command route does.
    ASSERT_EQ(view.Count(WM_COMMAND, cmd::ID_NEXT_RECORD), piece + 1);
    model.RunCommand(cmd::ID_NEXT_RECORD, true);
  }
  ASSERT_EQ(strokesDown.size(), 3u);
  EXPECT_GT(strokesDown[0], 0);
  EXPECT_EQ(strokesDown[1], 2 * strokesDown[0]);
  EXPECT_EQ(strokesDown[2], 3 * strokesDown[0]);
  EXPECT_EQ(model.m_excelRowIndex, 3) << "the last row stays";

  ctl.reset();
  ui.Invoke([&] { propertyView->OnDestroy(); });
  ui.Stop();
  runner.Stop();
  SoftType = 0;
}
