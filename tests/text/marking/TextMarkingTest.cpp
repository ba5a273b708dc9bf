// A text marked end to end on the simulated controller board: the layout's
// strokes arrive as move records whose tool-down steps add up to the strokes.
#include <gtest/gtest.h>

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QThread>

#include <algorithm>
#include <chrono>
#include <thread>

#include "marking/controller/CMarkControlWnd.h"
#include "marking/controller/records/CMarkRecordsRecorder.h"
#include "marking/records/CMarkDatabase.h"
#include "marking/link/LinkMessages.h"
#include "properties/link/CProperityView.h"
#include "tests/marking/controller/ControllerTestSupport.h"
#include "tests/marking/controller/JobTestSupport.h"
#include "tests/marking/link/LinkTestSupport.h"
#include "tests/marking/link/SimulatedBoardView.h"
#include "tests/document/mrk/MrkTestSupport.h"
#include "tests/text/layout/TextTestSupport.h"
#include "text/objects/CObjBarCode.h"
#include "text/objects/CObjTextAutoUpdate.h"
#include "tools/boardsim/BoardSimRunner.h"
#include "tools/boardsim/BoardSimulator.h"
#include "values/ShellValues.h"

using namespace std::chrono_literals;

namespace {

// The controller, the property view's link and the board on a pseudo-terminal.
class BoardRig {
 public:
  BoardRig() : board(boardsim::BoardConfig{boardsim::Variant::Plain}), runner(board) {
    SoftType = SOFT_TYPE_USB;
    MachineSettings = DefaultMachineSetRecord();
    EXPECT_TRUE(runner.Start({}, false)) << runner.LastError();
    propertyView = std::make_unique<CProperityView>(SimulatedBoardViewOptions(runner.DevicePath()));
    propertyView->SetSelfTarget(&viewWindow);
    viewWindow.SetHandler([this](const platform::Message& m) { propertyView->HandleMessage(m); });
    layoutWindow.SetHandler([](const platform::Message&) {});
    ui.Invoke([this] { propertyView->OnInitialUpdate(&layoutWindow); });
    ctl = std::make_unique<CMarkControlWnd>(bench.clock.get());
    ctl->Create(&frame.queue, 1119);
    ctl->SetSelfTarget(&controllerWindow);
    controllerWindow.SetHandler([this](const platform::Message& m) { ctl->HandleMessage(m); });
    ctl->SetFrame(&frame);
    ctl->SetPump([] { std::this_thread::sleep_for(1ms); });
    view.linkHost = propertyView.get();
  }
  ~BoardRig() {
    ctl->WaitForJob();
    ctl.reset();
    ui.Invoke([this] { propertyView->OnDestroy(); });
    ui.Stop();
    runner.Stop();
    SoftType = 0;
  }
  int Mark() {
    // Only this job's end counts.
    frame.Take();
    frame.taken.clear();
    MarkStatusWord = MSW_MARKING | MSW_AIR_ON;
    ctl->StartMarking(&doc, &display, &view);
    const auto end = std::chrono::steady_clock::now() + 60s;
    for (;;) {
      const auto finished = frame.Finished();
      if (!finished.empty()) {
        const int result = static_cast<int>(finished[0]);
        ctl->EndMarking(result);
        return result;
      }
      if (std::chrono::steady_clock::now() > end) return -1;
      std::this_thread::sleep_for(2ms);
    }
  }

  PortBench bench;
  boardsim::BoardSimulator board;
  boardsim::BoardSimRunner runner;
  UiThread ui;
  UiThread::Window viewWindow{ui, nullptr};
  UiThread::Window controllerWindow{ui, nullptr};
  UiThread::Window layoutWindow{ui, nullptr};
  std::unique_ptr<CProperityView> propertyView;
  TestDocument doc;
  TestView view;
  TestFrame frame;
  TestDisplay display;
  std::unique_ptr<CMarkControlWnd> ctl;
};

TEST(TextMarking, StrokesOfATextArriveAsToolDownSteps) {
  TextRig text;  // "L": a 4 mm stem down to the base line and a 3 mm foot
  text.S().position = CDoublePoint(-20, 20);
  text.Layout("LL");
  BoardRig rig;
  ASSERT_TRUE(WaitForProtocolVariant(*rig.propertyView, rig.ui));
  rig.board.ClearRecords();
  CObjElement* element = new CObjElement();
  element->CopyFrom(text.Element());
  rig.doc.elements.emplace_back(element);
  ASSERT_EQ(rig.Mark(), 1);

  // 4 um a step: each stem is 1000 steps down, each foot 750 steps right.
  long long downX = 0;
  long long downY = 0;
  std::vector<std::pair<long long, long long>> down;
  long long x = 0;
  long long y = 0;
  for (const auto& m : rig.board.Moves()) {
    x += (m.flags & SN_X_NEGATIVE) ? -static_cast<long long>(m.x) : m.x;
    y += (m.flags & SN_Y_POSITIVE) ? m.y : -static_cast<long long>(m.y);
    if (m.flags & SN_TOOL_DOWN) {
      downX += m.x;
      downY += m.y;
      down.emplace_back(x, y);
    }
  }
  EXPECT_EQ(downX, 2 * 750);
  EXPECT_EQ(downY, 2 * 1000);
  // Where the pen comes down, from the left-top corner of the 120 x 100 mm area.
  auto steps = [](double xMm, double yMm) {
    return std::pair<long long, long long>{std::llround((xMm + 60) * 250), std::llround((yMm - 50) * 250)};
  };
  std::sort(down.begin(), down.end());
  const std::vector<std::pair<long long, long long>> expected = {steps(-20, -8), steps(-17, -8), steps(-16, -8),
                                                                 steps(-13, -8)};
  EXPECT_EQ(down, expected);
}

TEST(TextMarking, ADotTextArrivesAsOneNeedleDotPerDot) {
  TextRig text;
  text.Folder().AddFont("Dot5x7Font.dot", DotFontBytes({{'A', {{0, 0}, {0, 1}, {1, 2}, {2, 1}, {2, 0}}}}));
  text.S().flags = TEXT_DOT_FONT;
  text.S().dotKind = DOT_KIND_DOT_FONT;
  text.S().charHeight = 6;
  text.S().position = CDoublePoint(-20, 20);
  text.Layout("AA");
  ASSERT_EQ(text.Points().GetSize(), 10);
  BoardRig rig;
  ASSERT_TRUE(WaitForProtocolVariant(*rig.propertyView, rig.ui));
  rig.board.ClearRecords();
  CObjElement* element = new CObjElement();
  element->CopyFrom(text.Element());
  rig.doc.elements.emplace_back(element);
  ASSERT_EQ(rig.Mark(), 1);
  int needle = 0;
  for (const auto& m : rig.board.Moves()) needle += (m.flags & SN_NEEDLE_DOT) != 0;
  EXPECT_EQ(needle, 10);
}

// A serial number marked twice: the view advances it after the first pass,
// the second pass marks the next number, and the records hold both.
TEST(TextMarking, ASerialNumberMarkedTwiceAdvancesAndBothNumbersAreRecorded) {
  TextRig text;
  const Bytes glyph = {2, 0x44, 1, 0x4C, 0x30, 2, 0x10, 0};  // the "L" of the test font
  std::vector<TestGlyph> glyphs;
  for (char c : std::string("0123456789PS")) glyphs.push_back({static_cast<std::uint16_t>(c), glyph});
  text.Folder().AddFont("digits.shx", Shapes86Font(glyphs));
  RegisterObjTypeOps(ObjClassId::TextAutoUpdate, &TextAutoUpdateTypeOps());
  auto* serial = new CObjTextAutoUpdate(CDoublePoint(-20, 20), "P", "08", "S");
  serial->Settings().strokeFontPair = "digits+nobig";
  serial->Settings().charHeight = 28;
  auto* element = new CObjElement(
      CObjCreateRecord{"Serial", OBJ_SERIAL, serial, static_cast<int>(sizeof(CObjTextAutoUpdate)), {}});
  serial->SetSerial(CDoublePoint(-20, 20), "08");
  element->UpdateBoundRect();
  ASSERT_EQ(serial->GetText(), "P08S");

  TempFolder records;
  const auto location = marking::MarkDatabaseLocation::Embedded(records.Path().string());
  {
    BoardRig rig;
    rig.ctl->SetRecorder(std::make_shared<CMarkRecordsRecorder>(location));
    ASSERT_TRUE(WaitForProtocolVariant(*rig.propertyView, rig.ui));
    rig.doc.elements.emplace_back(element);
    auto toolDownSteps = [&rig] {
      long long steps = 0;
      for (const auto& m : rig.board.Moves())
        if (m.flags & SN_TOOL_DOWN) steps += m.x + m.y;
      return steps;
    };
    rig.board.ClearRecords();
    ASSERT_EQ(rig.Mark(), 1);
    const long long first = toolDownSteps();
    EXPECT_GT(first, 0);
    // What the view does for each marked object.
    EXPECT_EQ(serial->AdvanceAfterMark(CDoublePoint(-20, 20)), 1);
    element->UpdateBoundRect();
    EXPECT_EQ(serial->GetText(), "P09S");
    rig.board.ClearRecords();
    ASSERT_EQ(rig.Mark(), 1);
    EXPECT_EQ(toolDownSteps(), first);  // four characters again
    serial->AdvanceAfterMark(CDoublePoint(-20, 20));
    EXPECT_EQ(serial->GetText(), "P10S");
  }
  RegisterObjTypeOps(ObjClassId::TextAutoUpdate, nullptr);

  // The job's worker closed and removed its connection before it ended, and
  // what Qt's SQL module keeps for the whole process belongs to this thread.
  EXPECT_TRUE(QSqlDatabase::connectionNames().isEmpty());
  EXPECT_EQ(QSqlDatabase().driver()->thread(), QThread::currentThread());
  // Looked up from a thread of its own, as the history dialog's connection would be.
  std::thread lookUp([&] {
    marking::CMarkDatabase db(location);
    ASSERT_TRUE(db.Open()) << db.LastError();
    EXPECT_EQ(db.Count().value_or(-1), 2);
    EXPECT_TRUE(db.Contains(marking::MarkColumn::Serial, "P08S"));
    EXPECT_TRUE(db.Contains(marking::MarkColumn::Serial, "P09S"));
    EXPECT_FALSE(db.Contains(marking::MarkColumn::Serial, "P10S"));
    db.Close();
  });
  lookUp.join();
}

// A QR Code arrives as one needle dot per dark module; a code that could not
// be made stops the job with the reason instead of leaving a part uncoded.
TEST(TextMarking, ACodeIsMarkedDotByDotAndAnEmptyCodeStopsTheJob) {
  RegisterObjTypeOps(ObjClassId::BarCode, &BarCodeTypeOps());
  auto* code = new CObjBarCode(CDoublePoint(-20, 20), "VND-", "0001", "");
  code->Code().codeType = BARCODE_QR;
  auto* element =
      new CObjElement(CObjCreateRecord{"Code", OBJ_BARCODE, code, static_cast<int>(sizeof(CObjBarCode)), {}});
  code->Rebuild(CDoublePoint(-20, 20), 0, 1, 0);
  code->RecalcPath();
  element->UpdateBoundRect();
  const int dots = code->GetDotCount();
  ASSERT_GT(dots, 0);
  {
    BoardRig rig;
    auto& prompts = rig.bench.prompt;
    prompts->SetFallbackAnswer(IDYES);  // yes, end the job
    ASSERT_TRUE(WaitForProtocolVariant(*rig.propertyView, rig.ui));
    rig.doc.elements.emplace_back(element);
    rig.board.ClearRecords();
    ASSERT_EQ(rig.Mark(), 1);
    int needle = 0;
    for (const auto& m : rig.board.Moves()) needle += (m.flags & SN_NEEDLE_DOT) != 0;
    EXPECT_EQ(needle, dots);
    EXPECT_TRUE(prompts->Texts().empty());

    // Nothing to encode: no dots, and the job is not finished as if it were marked.
    code->Serial().prefix.clear();
    code->Serial().serial.clear();
    code->Rebuild(CDoublePoint(-20, 20), 0, 1, 0);
    code->RecalcPath();
    ASSERT_EQ(code->GetDotCount(), 0);
    EXPECT_EQ(rig.Mark(), 0);
    ASSERT_FALSE(prompts->Texts().empty());
    EXPECT_EQ(prompts->Texts()[0], kBarCodeEncodeError);
  }
  MarkStatusWord = 0;
  RegisterObjTypeOps(ObjClassId::BarCode, nullptr);
}

}  // namespace
