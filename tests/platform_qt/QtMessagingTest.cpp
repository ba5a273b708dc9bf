#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QMessageBox>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "platform/Clock.h"
#include "platform_qt/QtMessageTarget.h"
#include "platform_qt/QtPrompt.h"
#include "platform_qt/QtPumpHook.h"
#include "platform_qt/UiThreadPost.h"
#include "tests/platform_qt/TestApp.h"

using platform::Message;
using platform_qt::QtMessageTarget;

namespace {

TEST(QtMessageTarget, DeliversOnTheUiThreadInEachSendersOrder) {
  TestApp();
  std::vector<Message> got;
  bool offThread = false;
  QtMessageTarget target([&](const Message& m) {
    if (QThread::currentThread() != TestApp().thread()) offThread = true;
    got.push_back(m);
  });
  constexpr int kThreads = 4;
  constexpr int kEach = 300;
  auto handle = target.Handle();
  std::vector<std::thread> senders;
  for (int t = 0; t < kThreads; ++t)
    senders.emplace_back([&, t] {
      for (int i = 0; i < kEach; ++i) handle->PostMessage(1121, static_cast<WPARAM>(t), i, std::make_shared<int>(i));
    });
  for (auto& s : senders) s.join();
  // Posting on the UI thread is not a direct call.
  EXPECT_TRUE(target.PostMessage(1123, 99));
  EXPECT_LT(got.size(), 1u * kThreads * kEach + 1);
  ASSERT_TRUE(PumpUntil([&] { return got.size() == kThreads * kEach + 1; }));
  EXPECT_FALSE(offThread);
  std::map<WPARAM, LPARAM> next;
  for (std::size_t i = 0; i + 1 < got.size(); ++i) {
    EXPECT_EQ(got[i].lParam, next[got[i].wParam]++);
    EXPECT_EQ(*std::static_pointer_cast<int>(got[i].payload), got[i].lParam);
  }
  EXPECT_EQ(got.back().msg, 1123u);
}

TEST(QtMessageTarget, HandlePostsFailAfterTheTargetIsGoneAndPendingOnesAreDropped) {
  TestApp();
  int handled = 0;
  auto target = std::make_unique<QtMessageTarget>([&](const Message&) { ++handled; });
  auto handle = target->Handle();
  EXPECT_TRUE(handle->PostMessage(1120));
  target.reset();  // the pending message dies with the object
  EXPECT_FALSE(handle->PostMessage(1120));
  // A worker posting while the target goes away never reaches freed memory.
  auto racing = std::make_unique<QtMessageTarget>([&](const Message&) { ++handled; });
  auto racingHandle = racing->Handle();
  std::atomic<bool> stop{false};
  std::thread poster([&] {
    while (!stop) racingHandle->PostMessage(1120);
  });
  QCoreApplication::processEvents();
  racing.reset();
  stop = true;
  poster.join();
  const int before = handled;
  QCoreApplication::processEvents();
  EXPECT_EQ(handled, before);
  EXPECT_FALSE(racingHandle->PostMessage(1120));
}

// What the marking worker does at a job's end: a call for the window (hide
// the display), then the end message to the frame. The call runs on the UI
// thread, before the message, and reads what the worker wrote plainly (under
// the race checker a hand-over it cannot see is a reported race).
TEST(PostToUiThread, RunsOnTheUiThreadAheadOfLaterMessagesWithWhatTheWorkerWrote) {
  TestApp();
  std::vector<std::string> order;
  bool offThread = false;
  QtMessageTarget frame([&](const Message& m) { order.push_back("end " + std::to_string(m.wParam)); });
  auto frameHandle = frame.Handle();
  constexpr int kJobs = 200;
  std::thread worker([&] {
    for (int job = 0; job < kJobs; ++job) {
      auto text = std::make_shared<std::string>("hide " + std::to_string(job));
      EXPECT_TRUE(platform_qt::PostToUiThread([&, text] {
        if (QThread::currentThread() != TestApp().thread()) offThread = true;
        order.push_back(*text);
      }));
      frameHandle->PostMessage(1124, static_cast<WPARAM>(job));
    }
  });
  ASSERT_TRUE(PumpUntil([&] { return order.size() == 2 * kJobs; }));
  worker.join();
  EXPECT_FALSE(offThread);
  for (int job = 0; job < kJobs; ++job) {
    EXPECT_EQ(order[2 * job], "hide " + std::to_string(job));
    EXPECT_EQ(order[2 * job + 1], "end " + std::to_string(job));
  }
}

TEST(QtPumpHook, BusyWaitOnTheUiThreadDeliversMessages) {
  TestApp();
  ASSERT_TRUE(platform_qt::InstallQtPumpHook(std::chrono::milliseconds(1)));
  std::atomic<int> handled{0};
  QtMessageTarget target([&](const Message&) { ++handled; });
  target.PostMessage(1124);
  // A worker's wait runs the hook too, but must not process the UI's events.
  // Each thread's first wait is due for the hook: on a simulated clock, however
  // busy the machine is.
  std::thread([] { platform::SimulatedClock().BusyWaitMicros(5000); }).join();
  EXPECT_EQ(handled.load(), 0);
  platform::SimulatedClock().BusyWaitMicros(5000);
  EXPECT_EQ(handled.load(), 1);
  platform::SetPumpHook(nullptr);
}

// Answers the next modal message box with the given button and notes what it showed.
struct BoxSeen {
  QString title, text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
  bool shown = false;
};

void AnswerNextBox(BoxSeen& seen, QMessageBox::StandardButton answer) {
  auto* timer = new QTimer(&TestApp());
  QObject::connect(timer, &QTimer::timeout, timer, [timer, &seen, answer] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    seen = {box->windowTitle(), box->text(), box->icon(), box->standardButtons(), true};
    timer->stop();
    timer->deleteLater();
    box->button(answer)->click();
  });
  timer->start(5);
}

TEST(QtPrompt, ShowsTheRequestedBoxOnTheUiThread) {
  TestApp();
  platform_qt::QtPrompt prompt;
  BoxSeen seen;
  AnswerNextBox(seen, QMessageBox::Yes);
  const int answer = prompt.Ask({"Data comunicate error,are you want retry?", "Vendrik", MB_YESNO | MB_ICONQUESTION});
  EXPECT_EQ(answer, IDYES);
  ASSERT_TRUE(seen.shown);
  EXPECT_EQ(seen.text, "Data comunicate error,are you want retry?");
  EXPECT_EQ(seen.title, "Vendrik");
  EXPECT_EQ(seen.icon, QMessageBox::Question);
  EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No);
}

TEST(QtPrompt, AskedFromAWorkerIsMarshalledAndTheWorkerGetsTheAnswer) {
  TestApp();
  platform_qt::QtPrompt prompt;
  BoxSeen seen;
  AnswerNextBox(seen, QMessageBox::Cancel);
  std::atomic<int> answer{0};
  std::thread worker([&] { answer = prompt.Ask({"标记属性", "提示", MB_YESNOCANCEL | MB_ICONWARNING}); });
  ASSERT_TRUE(PumpUntil([&] { return answer.load() != 0; }));
  worker.join();
  EXPECT_EQ(answer.load(), IDCANCEL);
  EXPECT_EQ(seen.text, QString::fromUtf8("标记属性"));
  EXPECT_EQ(seen.title, QString::fromUtf8("提示"));
  EXPECT_EQ(seen.icon, QMessageBox::Warning);
  EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
}

TEST(QtPrompt, ButtonsAndAnswersFollowTheBoxType) {
  TestApp();
  QMessageBox box;
  platform_qt::ConfigureMessageBox(box, {"t", "c", MB_OKCANCEL | MB_ICONERROR});
  EXPECT_EQ(box.standardButtons(), QMessageBox::Ok | QMessageBox::Cancel);
  EXPECT_EQ(box.icon(), QMessageBox::Critical);
  platform_qt::ConfigureMessageBox(box, {"t", "c", MB_OK | MB_ICONINFORMATION});
  EXPECT_EQ(box.standardButtons(), QMessageBox::Ok);
  EXPECT_EQ(box.icon(), QMessageBox::Information);
  EXPECT_EQ(platform_qt::AnswerFromButton(QMessageBox::No, MB_YESNO), IDNO);
  EXPECT_EQ(platform_qt::AnswerFromButton(QMessageBox::Ok, MB_OK), IDOK);
  // A box closed some other way gives the safe answer of its kind.
  EXPECT_EQ(platform_qt::AnswerFromButton(QMessageBox::NoButton, MB_YESNO), IDNO);
  EXPECT_EQ(platform_qt::AnswerFromButton(QMessageBox::NoButton, MB_OKCANCEL), IDCANCEL);
}

}  // namespace
