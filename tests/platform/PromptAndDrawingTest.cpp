#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "platform/DeviceContext.h"
#include "platform/Prompt.h"

namespace {

TEST(ScriptedPrompt, AnswersFromScriptThenFallbackAndRecordsTexts) {
  auto prompt = std::make_shared<platform::ScriptedPrompt>();
  platform::SetPrompt(prompt);
  prompt->QueueAnswer(IDYES);
  const UINT question = MB_YESNO | MB_ICONQUESTION;
  EXPECT_EQ(platform::MessageBox("Data comunicate error,are you want retry?", "Vendrik", question), IDYES);
  EXPECT_EQ(platform::MessageBox("Stop marking?", "Vendrik", question), IDNO) << "fallback";
  EXPECT_EQ(platform::MessageBox("Update data from rs232 err!"), IDOK) << "an OK box answers OK";
  // The fallback is fitted to the buttons of the box.
  EXPECT_EQ(platform::MessageBox("Save?", "Vendrik", MB_OKCANCEL), IDCANCEL);
  prompt->SetFallbackAnswer(IDYES);
  EXPECT_EQ(platform::MessageBox("Save?", "Vendrik", MB_OKCANCEL), IDOK);
  EXPECT_EQ(platform::MessageBox("Save?", "Vendrik", MB_YESNOCANCEL), IDYES);
  prompt->SetFallbackAnswer(IDOK);
  EXPECT_EQ(platform::MessageBox("Stop?", "Vendrik", MB_YESNO), IDYES);

  const auto texts = prompt->Texts();
  ASSERT_EQ(texts.size(), 7u);
  EXPECT_EQ(texts[0], "Data comunicate error,are you want retry?");
  EXPECT_EQ(texts[2], "Update data from rs232 err!");
  EXPECT_EQ(prompt->Requests()[0].type, question);
  EXPECT_EQ(prompt->Requests()[1].caption, "Vendrik");
  prompt->Clear();
  EXPECT_TRUE(prompt->Texts().empty());
}

TEST(ScriptedPrompt, AsksFromManyThreadsAndStaysAliveWhenReplaced) {
  auto prompt = std::make_shared<platform::ScriptedPrompt>();
  platform::SetPrompt(prompt);
  platform::Prompt& held = platform::CurrentPrompt();
  platform::SetPrompt(std::make_shared<platform::ScriptedPrompt>());
  prompt.reset();
  // The replaced prompt is still usable through the old reference.
  EXPECT_EQ(held.Ask({"still here", "Vendrik", MB_OK}), IDOK);

  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([] {
      for (int i = 0; i < 50; ++i) platform::MessageBox("x");
    });
  for (auto& t : threads) t.join();
  auto* current = dynamic_cast<platform::ScriptedPrompt*>(&platform::CurrentPrompt());
  ASSERT_NE(current, nullptr);
  EXPECT_EQ(current->Texts().size(), 200u);
}

TEST(RecordingDeviceContext, RecordsCallsWithThePenAndBrushInForce) {
  platform::RecordingDeviceContext dc;
  const platform::DcPen red{platform::PS_SOLID, 2, RGB(255, 0, 0)};
  const platform::DcBrush hollow{true, 0};
  EXPECT_EQ(dc.SelectPen(red), platform::DcPen{});
  EXPECT_EQ(dc.SelectBrush(hollow), platform::DcBrush{});
  EXPECT_EQ(dc.MoveTo(10, 20), (platform::DcPoint{0, 0}));
  dc.LineTo(30, 40);
  EXPECT_EQ(dc.GetCurrentPosition(), (platform::DcPoint{30, 40}));
  dc.Ellipse(1, 2, 11, 12);
  dc.Arc(0, 0, 10, 10, 10, 5, 10, 5);
  EXPECT_EQ(dc.GetCurrentPosition(), (platform::DcPoint{30, 40})) << "an arc does not move the position";
  dc.FloodFill(5, 6, RGB(0, 0, 0));
  dc.SetPixel(3, 4, RGB(0, 0, 255));
  dc.FillSolidRect(0, 0, 5, 6, RGB(1, 2, 3));
  dc.TextOut(7, 8, "标记");
  EXPECT_EQ(dc.SelectPen(platform::DcPen{}), red);
  EXPECT_EQ(dc.CurrentPen(), platform::DcPen{});
  EXPECT_EQ(dc.CurrentBrush(), hollow);

  const auto& ops = dc.Ops();
  ASSERT_EQ(ops.size(), 11u);
  EXPECT_EQ(ops[2].kind, platform::DcOp::MoveTo);
  EXPECT_EQ(ops[3].kind, platform::DcOp::LineTo);
  EXPECT_EQ(ops[3].args, (std::vector<int>{30, 40}));
  EXPECT_EQ(ops[3].pen, red);
  EXPECT_EQ(ops[4].brush, hollow);
  EXPECT_EQ(ops[5].args, (std::vector<int>{0, 0, 10, 10, 10, 5, 10, 5}));
  EXPECT_EQ(ops[6].kind, platform::DcOp::FloodFill);
  EXPECT_EQ(ops[6].color, RGB(0, 0, 0));
  EXPECT_EQ(ops[7].color, RGB(0, 0, 255));
  EXPECT_EQ(ops[8].args, (std::vector<int>{0, 0, 5, 6}));
  EXPECT_EQ(ops[9].text, "标记");
  EXPECT_EQ(ops[10].kind, platform::DcOp::SelectPen);
  EXPECT_EQ(ops[10].pen, platform::DcPen{});
  dc.Clear();
  EXPECT_TRUE(dc.Ops().empty());
}

}  // namespace
