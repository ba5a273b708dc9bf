// The layout view's marking and machine commands on the model alone: the
// start gate and its status bits, the option toggles, the done and received
// text messages, jog requests, the one-byte machine command and its replies.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

#include "app/core/CommandIds.h"
#include "document/geometry/SharedState.h"
#include "document/objects/CObjElement.h"
#include "document/objects/CObjLine.h"
#include "marking/controller/CMarkControlWnd.h"
#include "marking/controller/ControllerMessages.h"
#include "marking/handtools/JogRequest.h"
#include "marking/link/ILinkHost.h"
#include "marking/link/LinkMessages.h"
#include "marking/link/WireProtocol.h"
#include "marking/textport/Rs232Text.h"
#include "platform/Clock.h"
#include "platform/Prompt.h"
#include "tests/app/views/ViewModelFixture.h"
#include "text/objects/CObjBarCode.h"
#include "text/objects/CObjText.h"
#include "text/objects/CObjTextAutoUpdate.h"
#include "text/objects/CObjTextDate.h"
#include "text/objects/CObjTextVin.h"
#include "values/ShellValues.h"

namespace {

class FakeMarkDialogs : public IViewMarkDialogs {
 public:
  bool HasJogWindow() override { return jogShown; }
  void CreateJogWindow() override {
    jogShown = true;
    ++created;
  }
  void EndJog(int keep) override {
    jogShown = false;
    endKeep = keep;
  }
  void SaveJogSelection() override { ++selectionsSaved; }
  void RunMotorTest() override {
    ++motorTests;
    g_headStepsChanged = 1;
  }
  bool EditDithering(DitheringValues& values) override {
    seenDithering = values;
    values = dithering;
    return accept;
  }
  bool EditOriginCorner(int& corner) override {
    seenCorner = corner;
    corner = newCorner;
    return accept;
  }

  bool accept = true;
  bool jogShown = false;
  int created = 0;
  int endKeep = -1;
  int selectionsSaved = 0;
  int motorTests = 0;
  DitheringValues dithering{250, 1, 2.5f};
  DitheringValues seenDithering;
  int newCorner = 3;
  int seenCorner = -1;
};

// The property view's link as the view's one-byte command sees it.
class FakeLinkHost : public ILinkHost {
 public:
  bool IsLinkOpen() override { return true; }
  CComRequest* GetComRequest() override { return &request; }
  platform::MessageTarget* GetRequestTarget() override { return &submitted; }
  int GetProtocolVariant() override { return protocol; }
  void ResetComRequest() override {}

  CComRequest request;
  platform::QueueMessageTarget submitted;
  int protocol = PROTOCOL_PLAIN;
};

platform::Message Reply(int type, int extra, std::vector<BYTE> bytes) {
  auto reply = std::make_shared<ComReply>();
  reply->type = type;
  reply->extra = extra;
  reply->bytes = std::move(bytes);
  return platform::Message{WM_COM_REQUEST, 0, 0, std::shared_ptr<void>(reply, reply.get())};
}

// A variable text as the marking dispatch sees it: each advance counts and
// reports a change.
// The variable texts' own objects (the view reads their settings), with
// dispatch entries that only count the advances.
int g_advances = 0;
const CObjTypeOps& FakeVariableTextOps() {
  static const CObjTypeOps ops = [] {
    CObjTypeOps o;
    o.className = "FakeVariableText";
    o.objectSize = sizeof(CObjBarCode);
    o.isInstance = [](const CObjBase& obj) { return dynamic_cast<const CObjText*>(&obj) != nullptr; };
    o.ownBounds = [](const CObjBase&) { return CDoubleRect(0, 5, 10, 0); };
    o.advanceAfterMark = [](CObjElement&, CObjBase&) {
      ++g_advances;
      return true;
    };
    return o;
  }();
  return ops;
}

class RecordingPropertyView : public NullProperityViewCalls {
 public:
  void ReloadPages(CObjElement*) override { ++reloads; }
  int reloads = 0;
};

class ViewMarkingTest : public ViewModelTest {
 protected:
  void SetUp() override {
    ViewModelTest::SetUp();
    RegisterObjTypeOps(ObjClassId::Text, &TextTypeOps());
    prompt_ = std::make_shared<platform::ScriptedPrompt>();
    platform::SetPrompt(prompt_);
    MarkStatusWord = 0;
    g_jogWindowOpen = 0;
    g_headStepsChanged = 0;
    model_->SetTarget(&posted_);
    model_->SetMarkDialogs(&dialogs_);
    model_->SetLinkHostSource([this]() -> ILinkHost* { return link_.get(); });
    model_->EnsureParameterRecord();
  }
  void TearDown() override {
    model_.reset();
    MarkStatusWord = 0;
    g_jogWindowOpen = 0;
    platform::SetPrompt(nullptr);
    ViewModelTest::TearDown();
  }
  // A controller without a frame: it takes the mode, then refuses to run
  // (no progress bars) and clears the running bit itself.
  CMarkControlWnd& Controller() {
    if (!control_) {
      control_ = std::make_unique<CMarkControlWnd>();
      model_->SetMarkControl(control_.get());
    }
    return *control_;
  }
  CObjElement* AddText(const std::string& text, int dataSource) {
    auto element = std::make_unique<CObjElement>(CObjCreateRecord{
        "text", OBJ_TEXT, new CObjText(TextCreateRecord{{0, 0}, text}), static_cast<int>(sizeof(CObjText)), {}});
    element->dataSource = dataSource;
    element->UpdateBoundRect();
    CObjElement* raw = element.get();
    document_.Objects().Add(std::move(element));
    return raw;
  }
  std::shared_ptr<platform::Event> Jog(int code) {
    auto done = std::make_shared<platform::Event>(true, false);
    model_->OnMessage(platform::Message{WM_JOG_REQUEST, static_cast<WPARAM>(code), 0,
                                        std::make_shared<JogRequest>(JogRequest{code, done})});
    return done;
  }

  std::shared_ptr<platform::ScriptedPrompt> prompt_;
  platform::QueueMessageTarget posted_;
  FakeMarkDialogs dialogs_;
  std::unique_ptr<FakeLinkHost> link_;
  std::unique_ptr<CMarkControlWnd> control_;
};

}  // namespace

TEST_F(ViewMarkingTest, StartWithOnlyTheParameterRecordLeavesTheStatusWordAlone) {
  Controller();
  MarkStatusWord = MSW_INVERT_DIR;
  EXPECT_FALSE(model_->RunCommand(cmd::ID_START_MARK, true)) << "disabled without a drawing object";
  model_->StartMarking(MARK_MODE_MARK, 1);
  EXPECT_EQ(MarkStatusWord.load(), MSW_INVERT_DIR);
}

TEST_F(ViewMarkingTest, EachStartCommandGivesItsModeAndAirValve) {
  AddLine({0, 0}, {10, 0}, 0);
  struct Case {
    int id;
    int mode;
    bool air;
  };
  const Case cases[] = {{cmd::ID_START_MARK, MARK_MODE_MARK, true},         {cmd::ID_MARK_NO_GAS, MARK_MODE_MARK, false},
                        {cmd::ID_DEMO_OBJECT_BORDER, MARK_MODE_BORDER, false}, {cmd::ID_DEMO_OBJECT_ORBIT, MARK_MODE_ORBIT, false},
                        {cmd::ID_DEMO_MAX_BORDER, MARK_MODE_MAX_BORDER, false}, {cmd::ID_MARK_BORDER, MARK_MODE_BORDER, true},
                        {cmd::ID_MARK_ORBIT, MARK_MODE_ORBIT, true},        {cmd::ID_MARK_MAX_BORDER, MARK_MODE_MAX_BORDER, true}};
  CMarkControlWnd& control = Controller();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    control.markMode = -1;
    MarkStatusWord = c.air ? 0 : MSW_AIR_ON;
    ASSERT_TRUE(model_->RunCommand(c.id, true));
    EXPECT_EQ(control.markMode.load(), c.mode);
    EXPECT_EQ((MarkStatusWord.load() & MSW_AIR_ON) != 0, c.air);
    EXPECT_EQ(MarkStatusWord.load() & MSW_MARKING, 0u) << "the controller without a frame refused the job";
  }
}

TEST_F(ViewMarkingTest, AStartWhileMarkingIsIgnoredAndWithoutControllerNothingRuns) {
  AddLine({0, 0}, {10, 0}, 0);
  MarkStatusWord = MSW_MARKING | MSW_AIR_ON;
  model_->StartMarking(MARK_MODE_BORDER, 0);
  EXPECT_EQ(MarkStatusWord.load(), MSW_MARKING | MSW_AIR_ON);

  MarkStatusWord = 0;
  g_jogWindowOpen = 1;
  dialogs_.jogShown = true;
  model_->StartMarking(MARK_MODE_MARK, 1);
  EXPECT_EQ(MarkStatusWord.load(), MSW_AIR_ON) << "no controller: the running bit stays clear";
  EXPECT_EQ(dialogs_.selectionsSaved, 1) << "the open jog window keeps its choices";
}

TEST_F(ViewMarkingTest, StartCommandsShowTheirCheckByTheStatusBits) {
  AddLine({0, 0}, {10, 0}, 0);
  const std::tuple<std::uint32_t, bool, bool> cases[] = {{0, false, false},
                                                         {MSW_MARKING, false, true},
                                                         {MSW_MARKING | MSW_AIR_ON, true, false},
                                                         {MSW_AIR_ON, false, false}};
  for (const auto& [bits, withAir, withoutAir] : cases) {
    MarkStatusWord = bits;
    EXPECT_EQ(model_->IsCommandChecked(cmd::ID_START_MARK), withAir) << bits;
    EXPECT_EQ(model_->IsCommandChecked(cmd::ID_MARK_NO_GAS), withoutAir) << bits;
  }
}

TEST_F(ViewMarkingTest, PauseAndJumpWaitingSetTheirBitsOnly) {
  MarkStatusWord = MSW_MARKING | MSW_INVERT_DIR;
  model_->RunCommand(cmd::ID_PAUSE_MARK, true);
  EXPECT_EQ(MarkStatusWord.load(), MSW_MARKING | MSW_INVERT_DIR | MSW_STOP_REQUEST);
  model_->RunCommand(cmd::ID_JUMP_WAITING, true);
  EXPECT_EQ(MarkStatusWord.load(), MSW_MARKING | MSW_INVERT_DIR | MSW_STOP_REQUEST | MSW_END_PAUSE);
}

TEST_F(ViewMarkingTest, StopKeysAreTakenOnlyWhileMarking) {
  for (int key : {13, 27, 32}) {
    MarkStatusWord = MSW_MARKING;
    EXPECT_TRUE(model_->OnMarkingKey(key));
    EXPECT_EQ(MarkStatusWord.load(), MSW_MARKING | MSW_STOP_REQUEST) << key;
  }
  MarkStatusWord = 0;
  EXPECT_FALSE(model_->OnMarkingKey(27));
  EXPECT_TRUE(model_->OnMarkingKey(13)) << "Enter is the start command";
  EXPECT_EQ(MarkStatusWord.load(), 0u);
}

TEST_F(ViewMarkingTest, OptionTogglesFlipTheControllerFlagsAndShowThem) {
  model_->RunCommand(cmd::ID_OPEN_MARK_WINDOW, true);  // no controller: nothing
  EXPECT_FALSE(model_->IsCommandChecked(cmd::ID_OPEN_MARK_WINDOW));
  CMarkControlWnd& control = Controller();
  const std::pair<int, std::atomic<int> CMarkControlWnd::*> toggles[] = {
      {cmd::ID_MARK_INFO_DATABASE, &CMarkControlWnd::dbOption},
      {cmd::ID_OPEN_MARK_WINDOW, &CMarkControlWnd::showPreview},
      {cmd::ID_CHECK_VIN_MARKED, &CMarkControlWnd::checkMarked}};
  for (const auto& [id, flag] : toggles) {
    (control.*flag) = 0;
    model_->RunCommand(id, true);
    EXPECT_EQ((control.*flag).load(), 1) << id;
    EXPECT_TRUE(model_->IsCommandChecked(id));
    model_->RunCommand(id, true);
    EXPECT_EQ((control.*flag).load(), 0) << id;
    EXPECT_FALSE(model_->IsCommandChecked(id));
  }
  EXPECT_FALSE(model_->RunCommand(cmd::ID_HAND_SCROLL_TO_ORIGIN, false)) << "no rotary start point yet";
  control.startPointKnown = 1;
  EXPECT_TRUE(model_->RunCommand(cmd::ID_HAND_SCROLL_TO_ORIGIN, false));
}

TEST_F(ViewMarkingTest, PaperPrintTogglesAndTheControllersPrintGoesToTheMainWindow) {
  const int before = model_->m_paperPrinter;
  model_->RunCommand(cmd::ID_SYNC_PAPER_PRINT, true);
  EXPECT_NE(model_->m_paperPrinter, before);
  EXPECT_EQ(model_->IsCommandChecked(cmd::ID_SYNC_PAPER_PRINT), model_->m_paperPrinter != 0);
  EXPECT_TRUE(model_->OnMessage(platform::Message{WM_COMMAND, ID_PRINT_LAYOUT_DIRECT, 0, {}}))
      << "without a main window the command is taken and dropped";
}

TEST_F(ViewMarkingTest, PermitMarkFlipsTheSelectedObjectsStillInTheLayout) {
  CObjElement* a = AddLine({0, 0}, {10, 0}, 0);
  CObjElement* b = AddLine({0, 5}, {10, 5}, 0);
  CObjElement stray;
  stray.attribute = ATTR_MARK;
  model_->m_selection.Set({a, &stray});
  model_->RunCommand(cmd::ID_PERMIT_MARK, true);
  EXPECT_EQ(a->IsMarkEnabled(), 0);
  EXPECT_EQ(b->IsMarkEnabled(), 1);
  EXPECT_EQ(stray.IsMarkEnabled(), 1) << "an object no longer in the layout is not touched";
  model_->m_selection.Clear();
}

TEST_F(ViewMarkingTest, ObjectDoneReleasesTheObjectOnlyWhileItIsInTheLayout) {
  CObjElement* line = AddLine({0, 0}, {10, 0}, 0);
  CObjElement* serialText = AddLine({0, 5}, {10, 5}, 0);
  serialText->dataSource = 2;
  auto removed = std::make_unique<CObjElement>();
  for (CObjElement* e : {line, serialText, removed.get()}) {
    e->flag = 1;
    model_->OnMessage(platform::Message{WM_MARK_OBJECT_DONE, reinterpret_cast<WPARAM>(e), 0, {}});
  }
  EXPECT_EQ(line->flag, 0);
  EXPECT_EQ(serialText->flag, 0);
  EXPECT_EQ(removed->flag, 1) << "deleted meanwhile: not touched";
}

TEST_F(ViewMarkingTest, ReceivedTextGoesToTheFirstTextOfASerialSource) {
  CObjElement* notText = AddLine({0, 0}, {10, 0}, 0);
  notText->dataSource = 3;
  CObjElement* ownText = AddText("own", 0);
  CObjElement* target = AddText("old", 3);
  auto text = std::make_shared<std::string>("A123");
  model_->OnMessage(platform::Message{WM_RS232_TEXT, 0, 0, text});
  EXPECT_EQ(target->GetText(), "A123");
  EXPECT_EQ(ownText->GetText(), "own");
  ASSERT_EQ(model_->m_selection.size(), 1u);
  EXPECT_EQ(model_->m_selection[0], target);
  EXPECT_TRUE(document_.IsModified());
  const auto posts = posted_.Drain();
  ASSERT_EQ(posts.size(), 1u);
  EXPECT_EQ(posts[0].msg, WM_HARD_START) << "source 3 marks at once";
}

TEST_F(ViewMarkingTest, ReceivedTextWithoutATextOfASerialSourceIsDropped) {
  CObjElement* line = AddLine({0, 0}, {10, 0}, 0);
  line->dataSource = 2;
  CObjElement* text = AddText("keep", 1);
  model_->OnMessage(platform::Message{WM_RS232_TEXT, 0, 0, std::make_shared<std::string>("X")});
  EXPECT_EQ(text->GetText(), "keep");
  EXPECT_FALSE(document_.IsModified());
  EXPECT_TRUE(posted_.Drain().empty());
}

TEST_F(ViewMarkingTest, JogRequestsAreReleasedWhileMarkingAndOnClosing) {
  MarkStatusWord = MSW_MARKING;
  EXPECT_TRUE(Jog(JOG_X_PLUS)->IsSet());
  MarkStatusWord = 0;
  g_jogWindowOpen = 1;
  EXPECT_TRUE(Jog(JOG_CLOSING)->IsSet());
  EXPECT_EQ(g_jogWindowOpen.load(), 0);
  EXPECT_FALSE(model_->IsCommandChecked(cmd::ID_ORIGIN_BY_HAND));
}

TEST_F(ViewMarkingTest, AJogWhileAMachineCommandWaitsIsDroppedUntilItsReplyOrItsTimeOut) {
  auto clock = std::make_shared<platform::SimulatedClock>();
  platform::SetClock(clock);
  model_->m_pendingCommand = 12;
  model_->m_pendingSinceMicros = clock->NowMicros();
  EXPECT_FALSE(Jog(JOG_X_PLUS)->IsSet());
  model_->OnMessage(Reply(12, 0, {}));
  EXPECT_EQ(model_->m_pendingCommand, 0);
  EXPECT_TRUE(Jog(JOG_X_PLUS)->IsSet());

  model_->m_pendingCommand = 12;
  model_->m_pendingSinceMicros = clock->NowMicros();
  clock->Advance(3000000);
  EXPECT_FALSE(Jog(JOG_Y_MINUS)->IsSet()) << "three seconds are its time";
  clock->Advance(1);
  EXPECT_TRUE(Jog(JOG_Y_MINUS)->IsSet()) << "a reply that never came does not hold the head";
  platform::SetClock(nullptr);
}

TEST_F(ViewMarkingTest, MachineByteIsSentPlainOrAsAChecksummedFrame) {
  for (int protocol : {PROTOCOL_PLAIN, PROTOCOL_FRAMED}) {
    SCOPED_TRACE(protocol);
    link_ = std::make_unique<FakeLinkHost>();
    link_->protocol = protocol;
    const BYTE command = '7';
    model_->SendMachineByte(12, &command, 1);
    EXPECT_EQ(model_->m_pendingCommand, 12);
    ASSERT_EQ(link_->submitted.Drain().size(), 1u);
    const BYTE* data = link_->request.GetData();
    if (protocol == PROTOCOL_PLAIN) {
      ASSERT_EQ(link_->request.GetLength(), 1);
      EXPECT_EQ(data[0], '7');
    } else {
      ASSERT_EQ(link_->request.GetLength(), kFrameSize);
      EXPECT_EQ(data[0], 0xFF);
      EXPECT_EQ(data[1], '7');
      EXPECT_EQ(data[32], '7') << "the sum of the bytes before it";
    }
    model_->m_pendingCommand = 0;
  }
  MarkStatusWord = MSW_MARKING;
  const BYTE command = '8';
  model_->SendMachineByte(12, &command, 1);
  EXPECT_EQ(model_->m_pendingCommand, 0) << "nothing is sent while marking";
}

TEST_F(ViewMarkingTest, StatusReplyOfTheJogWindowSwitchesTheNeedle) {
  link_ = std::make_unique<FakeLinkHost>();
  model_->OnMessage(Reply(COM_STATUS, 1000, {'T', 'T', 0, 0, 0, 0, 0x5A}));
  EXPECT_EQ(g_machineInputByte.load(), 0x5A);
  EXPECT_EQ(model_->m_pendingCommand, 12);
  ASSERT_EQ(link_->request.GetLength(), 1);

  model_->m_pendingCommand = 0;
  model_->OnMessage(Reply(COM_STATUS, 1000, {'X', 'T'}));
  EXPECT_EQ(model_->m_pendingCommand, 0) << "not a status reply";
  EXPECT_TRUE(prompt_->Texts().empty());
  model_->OnMessage(Reply(7, 0, {}));
  EXPECT_EQ(prompt_->Texts(), std::vector<std::string>{"Unknown message"});
}

TEST_F(ViewMarkingTest, HardwareTestRunsOnPortBoardsAndNotOverAClosedLink) {
  model_->RunCommand(cmd::ID_TEST_HARDWARE, true);
  EXPECT_EQ(dialogs_.motorTests, 0) << "USB board without a link";
  g_softType = SOFT_TYPE_BIG_PORT_BOARD;
  model_->RunCommand(cmd::ID_TEST_HARDWARE, true);
  EXPECT_EQ(dialogs_.motorTests, 1);
  EXPECT_EQ(g_headStepsChanged.load(), 0) << "the view has taken the test's moves";
}

TEST_F(ViewMarkingTest, OriginCornerAndDitheringAreStoredOnOkOnly) {
  g_machineSet.originCorner = 1;
  dialogs_.accept = false;
  model_->RunCommand(cmd::ID_CONFIG_MACHINE_ORIGIN, true);
  EXPECT_EQ(g_machineSet.originCorner, 1);
  dialogs_.accept = true;
  model_->RunCommand(cmd::ID_CONFIG_MACHINE_ORIGIN, true);
  EXPECT_EQ(dialogs_.seenCorner, 1);
  EXPECT_EQ(g_machineSet.originCorner, 3);

  g_machineSet.ditherStableTime = 10;
  model_->RunCommand(cmd::ID_DITHERING_SET, true);
  EXPECT_EQ(dialogs_.seenDithering.stableTime, 10);
  EXPECT_EQ(g_machineSet.ditherStableTime, 250);
  EXPECT_EQ(g_machineSet.applyDithering, 1);
  EXPECT_FLOAT_EQ(g_machineSet.ditherRotateFactor, 2.5f);
}

TEST_F(ViewMarkingTest, OriginByHandOpensAndEndsTheJogWindow) {
  model_->RunCommand(cmd::ID_ORIGIN_BY_HAND, true);
  EXPECT_EQ(g_jogWindowOpen.load(), 1);
  EXPECT_EQ(dialogs_.created, 1);
  EXPECT_TRUE(model_->IsCommandChecked(cmd::ID_ORIGIN_BY_HAND));
  model_->RunCommand(cmd::ID_ORIGIN_BY_HAND, true);
  EXPECT_EQ(g_jogWindowOpen.load(), 0);
  EXPECT_EQ(dialogs_.endKeep, 0);
  model_->RunCommand(cmd::ID_ORIGIN_BY_HAND, true);
  model_->RunCommand(cmd::ID_SELECT_POINTED_POSITION, true);
  EXPECT_EQ(g_jogWindowOpen.load(), 0) << "going to the pointed position closes the jog window";
  EXPECT_FALSE(dialogs_.jogShown);
}

TEST_F(ViewMarkingTest, MarkedVariableTextsAdvanceByTheirOwnSettingsUnlessTheirTextComesFromOutside) {
  for (ObjClassId id : {ObjClassId::TextAutoUpdate, ObjClassId::TextDate, ObjClassId::TextVin, ObjClassId::BarCode}) {
    RegisterObjTypeOps(id, &FakeVariableTextOps());
  }
  RecordingPropertyView pages;
  model_->SetPropertyView(&pages);
  // step: the serial step (0: no increment); input: the code's input mode
  // (nonzero: a fixed text); format: the date's format (12: the time of day).
  struct Case {
    int type;
    int dataSource;
    int spreadsheetLink;
    int advances;
    int reloads;
    int step = 1;
    int input = 0;
    int format = 10;
  };
  const Case cases[] = {
      {OBJ_SERIAL, 0, 0, 1, 1}, {OBJ_BARCODE, 0, 0, 1, 1}, {OBJ_VIN, 0, 0, 1, 1}, {OBJ_DATE, 0, 0, 1, 0},
      {OBJ_SERIAL, 2, 0, 0, 0}, {OBJ_VIN, 3, 0, 0, 0},     {OBJ_SERIAL, 1, 1, 0, 0}, {OBJ_SERIAL, 1, 0, 1, 1},
      {OBJ_SERIAL, 0, 0, 0, 1, 0},  {OBJ_BARCODE, 0, 0, 0, 1, 0}, {OBJ_BARCODE, 0, 0, 0, 1, 1, 1},
      {OBJ_DATE, 0, 0, 0, 0, 1, 0, 12},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.type << " source " << c.dataSource << " link " << c.spreadsheetLink
                                      << " step " << c.step << " input " << c.input << " format " << c.format);
    CObjBase* object = nullptr;
    const CDoublePoint at(0, 0, 0);
    if (c.type == OBJ_SERIAL || c.type == OBJ_BARCODE) {
      auto* number = c.type == OBJ_SERIAL ? new CObjTextAutoUpdate(at, "A", "1", "B") : new CObjBarCode(at, "A", "1", "B");
      number->Serial().step = c.step;
      if (auto* code = dynamic_cast<CObjBarCode*>(number)) code->Code().inputMode = c.input;
      object = number;
    } else if (c.type == OBJ_DATE) {
      object = new CObjTextDate(TextCreateRecord{at, "x"}, c.format);
    } else {
      object = new CObjTextVin(TextCreateRecord{at, "LM13KTNM720923456"});
    }
    auto element = std::make_unique<CObjElement>(CObjCreateRecord{"", c.type, object, 64, {}});
    element->dataSource = c.dataSource;
    element->flag = 1;
    CObjElement* raw = element.get();
    document_.Objects().Add(std::move(element));
    model_->m_autoLinkExcel = c.spreadsheetLink;
    g_advances = 0;
    pages.reloads = 0;
    model_->OnMessage(platform::Message{WM_MARK_OBJECT_DONE, reinterpret_cast<WPARAM>(raw), 0, {}});
    EXPECT_EQ(g_advances, c.advances);
    EXPECT_EQ(pages.reloads, c.reloads);
    EXPECT_EQ(raw->flag, 0) << "the controller may mark it again";
  }
  model_->SetPropertyView(nullptr);
}
