#include <cstring>
#include <memory>
#include <optional>

#include <gtest/gtest.h>

#include "LinkTestSupport.h"
#include "marking/link/CComLink.h"
#include "marking/link/LinkMessages.h"
#include "marking/link/WireProtocol.h"
#include "platform/Prompt.h"
#include "tests/support/WaitFor.h"

using namespace std::chrono_literals;
using Bytes = std::vector<BYTE>;

class ComLinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    prompt_ = std::make_shared<platform::ScriptedPrompt>();
    platform::SetPrompt(prompt_);
    ASSERT_EQ(link_.Open(3), 1);
  }

  // Prepares the shared request and hands it to the link; waits for the write.
  void Send(int type, Bytes bytes = Bytes(8, 0)) {
    request_.Prepare(type, bytes.data(), static_cast<int>(bytes.size()), &replies_, WM_COM_REQUEST, 0);
    link_.Submit(&request_);
    ASSERT_TRUE(control_.WaitWrites(++writes_));
  }
  std::optional<Bytes> Reply(std::chrono::milliseconds wait = kEventBound) {
    auto m = replies_.WaitTake(wait);
    if (!m) return std::nullopt;
    EXPECT_EQ(m->msg, WM_COM_REQUEST);
    EXPECT_EQ(RequestOf(*m), &request_);
    const ComReply* r = ReplyOf(*m);
    EXPECT_NE(r, nullptr);
    lastOverflow_ = r && r->overflow;
    return r ? r->bytes : Bytes{};
  }

  std::shared_ptr<platform::ScriptedPrompt> prompt_;
  FakeControl control_;
  CComRequest request_;
  platform::QueueMessageTarget replies_;
  CComLink link_{&control_};  // last: its threads stop before the request goes
  std::size_t writes_ = 0;
  bool lastOverflow_ = false;
};

TEST_F(ComLinkTest, OpensWithTheLineSettingsAndSendsTheRequestBytes) {
  EXPECT_TRUE(link_.IsOpen());
  EXPECT_EQ(control_.GetCommPort(), 3);
  EXPECT_EQ(control_.settings_, "19200,n,8,1");
  EXPECT_EQ(link_.Open(4), 0) << "refused while the threads of the last opening run";
  Bytes hello(8);
  BuildLetterCommand(hello.data(), 'H');
  Send(COM_HELLO, hello);
  EXPECT_EQ(control_.Writes().back(), hello);
  EXPECT_EQ(link_.Close(), 1);
  EXPECT_FALSE(link_.IsOpen());
  EXPECT_EQ(link_.Close(), 1) << "closing a closed link";

  // A command handed over while the link is closed is not sent by the next opening.
  Bytes stale(8);
  BuildLetterCommand(stale.data(), 'T');
  request_.Prepare(COM_VERSION, stale.data(), 8, &replies_, WM_COM_VERSION_REPLY, 0);
  link_.Submit(&request_);
  EXPECT_EQ(link_.Open(5), 1) << "and it opens again";
  Send(COM_HELLO, hello);
  EXPECT_TRUE(link_.WaitSent(kEventBound));
  EXPECT_EQ(control_.Writes(), (std::vector<Bytes>{hello, hello}));
}

TEST_F(ComLinkTest, FramedRepliesChunkedSplitNoisyAndShort) {
  Send(COM_PARAMETERS);
  control_.Receive({0x0B, 0x0C, 'P'});
  control_.Receive({'A', 'R'});
  control_.Receive({'A', 0xFD});
  EXPECT_FALSE(Reply(50ms)) << "not complete before 0xFD 0xFE";
  control_.Receive({0xFE});
  EXPECT_EQ(Reply(), (Bytes{'P', 'A', 'R', 'A'}));

  Send(COM_HELLO);
  control_.Receive({0x0B, 0x0C, 0xFD, 0xFE});
  EXPECT_FALSE(Reply(50ms)) << "four bytes are no reply";

  Send(COM_HELLO);  // a new send clears what was left
  control_.Receive({0x33, 0x0B, 0x0C, 'H', 'H', 0xFD, 0xFE});
  EXPECT_FALSE(Reply(50ms)) << "noise before the frame start: never taken";

  Send(COM_HELLO);
  control_.Receive({0x0B, 0x0C, 'H', 'H', 0xFD, 0xFE});
  EXPECT_EQ(Reply(), (Bytes{'H', 'H'}));
}

TEST_F(ComLinkTest, StreamRepliesTakeOnlyTheLastBytes) {
  Send(COM_STREAM, Bytes(5, 1));
  control_.Receive({0x11, 0x13, 0xAA});
  EXPECT_EQ(Reply(), (Bytes{0xAA})) << "plain: the last byte of the burst";

  link_.SetProtocol(PROTOCOL_FRAMED);
  Send(COM_STREAM, Bytes(6, 1));
  control_.Receive({0x01, 0xDD, 0xDD});
  EXPECT_FALSE(Reply(50ms)) << "framed: four bytes are needed";
  control_.Receive({0xDD, 0xDD});
  EXPECT_EQ(Reply(), (Bytes{0xDD, 0xDD, 0xDD, 0xDD}));

  // A hand-key frame during a stream command is the stream's reply.
  Send(COM_STREAM, Bytes(6, 1));
  control_.Receive({0x0B, 0x0C, 'H', 'K', 'E', 'Y', 0xFD, 0xFE});
  EXPECT_EQ(Reply(), (Bytes{'E', 'Y', 0xFD, 0xFE}));
}

TEST_F(ComLinkTest, HandKeyReportsAreDebouncedAndAnswerNoCommand) {
  std::atomic<std::uint32_t> now{50000};
  link_.SetTickSource([&] { return now.load(); });
  platform::QueueMessageTarget view;
  link_.SetNotifyWindow(&view);
  const Bytes handKey{0x0B, 0x0C, 'H', 'K', 'E', 'Y', 0xFD, 0xFE};

  Send(COM_HELLO);
  now += 1000;
  control_.Receive(handKey);
  auto start = view.WaitTake(kEventBound);
  ASSERT_TRUE(start);
  EXPECT_EQ(start->msg, WM_HARD_START);
  now += 999;
  control_.Receive(handKey);
  EXPECT_FALSE(view.WaitTake(100ms)) << "999 ms after the last: one start only";
  now += 1;  // 1000 ms after the one that counted
  control_.Receive(handKey);
  EXPECT_TRUE(view.WaitTake(kEventBound));
  EXPECT_FALSE(Reply(50ms)) << "the waiting command is not answered by the key";
  control_.Receive({0x0B, 0x0C, 'H', 'H', 0xFD, 0xFE});
  EXPECT_EQ(Reply(), (Bytes{'H', 'H'})) << "and still gets its own reply";

  link_.SetNotifyWindow(nullptr);
  now += 5000;
  control_.Receive(handKey);  // no notify window: dropped quietly
  EXPECT_FALSE(view.WaitTake(50ms));
}

TEST_F(ComLinkTest, NoCurrentRequestMeansNothingSentAndNothingRouted) {
  link_.Submit(nullptr);
  std::this_thread::sleep_for(30ms);
  EXPECT_TRUE(control_.Writes().empty());
  control_.Receive({0x0B, 0x0C, 'H', 'H', 0xFD, 0xFE});
  EXPECT_FALSE(replies_.WaitTake(50ms));
}

TEST_F(ComLinkTest, ABurstOverTheBufferIsCutAndJudgedBad) {
  Send(COM_PARAMETERS);
  Bytes burst(300, 0x41);
  burst[0] = 0x0B;
  burst[1] = 0x0C;
  control_.Receive(burst);
  auto reply = Reply();
  ASSERT_TRUE(reply);
  EXPECT_TRUE(lastOverflow_);
  EXPECT_LE(reply->size(), 256u);
  EXPECT_TRUE(request_.ReplyOverflowed());

  // The link works on afterwards.
  Send(COM_PARAMETERS);
  control_.Receive({0x0B, 0x0C, 'P', 'A', 'R', 'A', 0xFD, 0xFE});
  EXPECT_EQ(Reply(), (Bytes{'P', 'A', 'R', 'A'}));
  EXPECT_FALSE(lastOverflow_);
}

TEST_F(ComLinkTest, LateRepliesNeverAnswerTheNextCommand) {
  // The reply arrives after the sender gave up and prepared its next command.
  Send(COM_HELLO);
  Bytes next(8);
  BuildLetterCommand(next.data(), 'M');
  request_.Prepare(COM_MARK_BEGIN, next.data(), 8, &replies_, WM_COM_REQUEST, 0);
  control_.Receive({0x0B, 0x0C, 'H', 'H', 0xFD, 0xFE});
  EXPECT_FALSE(replies_.WaitTake(100ms)) << "the late reply is dropped";
  EXPECT_EQ(request_.GetReplyLength(), 0);

  // A reply already posted when the request is prepared again cannot signal it.
  Send(COM_HELLO);
  control_.Receive({0x0B, 0x0C, 'H', 'H', 0xFD, 0xFE});
  auto posted = replies_.WaitTake(kEventBound);
  ASSERT_TRUE(posted);
  request_.Prepare(COM_MARK_BEGIN, next.data(), 8, &replies_, WM_COM_REQUEST, 0);
  EXPECT_FALSE(request_.SignalReply(*posted, 1));
  EXPECT_FALSE(request_.IsSuccessSet());
}

TEST_F(ComLinkTest, AReplacedCommandIsNeverSentAndItsReplyAnswersNothing) {
  // The set-up frame is prepared and handed over, but the UI thread is slow to
  // pass it on: the parameter block is prepared before the writer sees it.
  Bytes setUp(33, 0), parameters(33, 0);
  setUp[1] = ';';
  parameters[1] = 0xA3;
  request_.Prepare(COM_SETUP, setUp.data(), 33, &replies_, WM_COM_VERSION_REPLY, 0);
  auto first = request_.MakeSubmitMessage(WM_COM_REQUEST);
  request_.Prepare(COM_PARAMETERS, parameters.data(), 33, &replies_, WM_COM_REQUEST, 0);
  auto second = request_.MakeSubmitMessage(WM_COM_REQUEST);

  link_.Submit(RequestOf(first), CommandOf(first));
  ASSERT_TRUE(link_.WaitSent(kEventBound));
  EXPECT_TRUE(control_.Writes().empty()) << "the replaced set-up frame stays unsent";
  control_.Receive({0x0B, 0x0C, 0xDD, 0xDD, 0xDD, 0xDD, 0xFD, 0xFE});
  EXPECT_FALSE(replies_.WaitTake(100ms)) << "a reply before the parameters went out is not theirs";
  EXPECT_EQ(request_.GetReplyLength(), 0);

  link_.Submit(RequestOf(second), CommandOf(second));
  ASSERT_TRUE(control_.WaitWrites(1));
  EXPECT_EQ(control_.Writes(), (std::vector<Bytes>{parameters}));
  control_.Receive({0x0B, 0x0C, 0xDD, 0xDD, 0xDD, 0xDD, 0xFD, 0xFE});
  auto reply = replies_.WaitTake(kEventBound);
  ASSERT_TRUE(reply);
  ASSERT_NE(ReplyOf(*reply), nullptr);
  EXPECT_EQ(ReplyOf(*reply)->type, COM_PARAMETERS);
  EXPECT_EQ(ReplyOf(*reply)->serial, request_.GetSerial());
}

TEST_F(ComLinkTest, RepliesGoNowhereOnceTheirWindowIsGone) {
  auto window = std::make_unique<platform::QueueMessageTarget>();
  request_.Prepare(COM_HELLO, Bytes(8, 0).data(), 8, window.get(), WM_COM_REQUEST, 0);
  link_.Submit(&request_);
  ASSERT_TRUE(control_.WaitWrites(1));
  window.reset();
  control_.Receive({0x0B, 0x0C, 'H', 'H', 0xFD, 0xFE});
  // The reader stores the reply and finds only a closed handle to post to.
  EXPECT_TRUE(WaitUntil([&] { return request_.GetReplyLength() == 2; }));
}

TEST(ComRequest, CopiesItsBytesAndWakesAnAbandonedWaiter) {
  CComRequest request;
  BYTE bytes[3] = {1, 2, 3};
  request.Prepare(5, bytes, 3, nullptr, WM_COM_REQUEST, 7);
  bytes[0] = 9;
  EXPECT_EQ(request.GetData()[0], 1);
  EXPECT_EQ(request.GetLength(), 3);
  EXPECT_EQ(request.GetExtra(), 7);
  EXPECT_EQ(request.WaitEither(10ms), -1);
  request.Signal(0);
  EXPECT_EQ(request.WaitEither(10ms), 0);
  request.Signal(1);
  EXPECT_EQ(request.WaitEither(10ms), 1) << "success is looked at first";

  request.Prepare(5, bytes, 3, nullptr, WM_COM_REQUEST, 0);
  const auto serial = request.GetSerial();
  std::thread other([&] {
    std::this_thread::sleep_for(20ms);
    request.Prepare(6, bytes, 3, nullptr, WM_COM_REQUEST, 0);
  });
  // Woken (0), not timed out (-1).
  EXPECT_EQ(request.WaitEither(kEventBound, serial), 0) << "prepared again: the waiter's command is gone";
  other.join();

  // Bytes past the 256-byte reply buffer are not stored.
  std::vector<BYTE> big(200, 0x41);
  EXPECT_TRUE(request.AppendReply(request.GetSerial(), big.data(), 200));
  EXPECT_TRUE(request.AppendReply(request.GetSerial(), big.data(), 200));
  EXPECT_EQ(request.GetReplyLength(), 256);
  EXPECT_TRUE(request.ReplyOverflowed());
  EXPECT_FALSE(request.AppendReply(serial, big.data(), 1)) << "an old serial stores nothing";
}

TEST(ComLinkOpen, ReportsAPortThatCannotBeOpened) {
  auto prompt = std::make_shared<platform::ScriptedPrompt>();
  platform::SetPrompt(prompt);
  FakeControl control;
  control.refuseOpen_ = true;
  CComLink link(&control);
  EXPECT_EQ(link.Open(2), 0);
  EXPECT_FALSE(link.IsOpen());
  ASSERT_EQ(prompt->Texts().size(), 1u);
  EXPECT_EQ(prompt->Texts()[0], "Cannot open the serial port COM2: refused");
}
