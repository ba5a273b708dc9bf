#include <gtest/gtest.h>

#include "app/core/MrkAssociation.h"
#include "document/geometry/SharedHelpers.h"
#include "tests/app/start/TestFolder.h"

namespace {

struct RecordingRunner {
  std::vector<std::vector<std::string>> calls;
  int result = 0;
  CommandRunner Runner() {
    return [this](const std::vector<std::string>& argv) {
      calls.push_back(argv);
      return result;
    };
  }
};

std::string ReadText(const std::string& path) {
  const auto bytes = ReadBytes(path);
  return std::string(bytes.begin(), bytes.end());
}

}  // namespace

TEST(MrkAssociation, RegisteredOnceUntilMarkHotFileIsCleared) {
  FreshSettings();
  const std::string dir = FreshFolder("assoc");
  RecordingRunner runner;
  MrkAssociation association(runner.Runner(), "/opt/vendrik/bin/vendrik", dir);

  EXPECT_TRUE(association.RegisterOnce());
  ASSERT_EQ(runner.calls.size(), 3u);
  EXPECT_EQ(runner.calls[0], (std::vector<std::string>{"xdg-mime", "install", "--mode", "user", "--novendor",
                                                       dir + "/vendrik-mrk.xml"}));
  EXPECT_EQ(runner.calls[1], (std::vector<std::string>{"xdg-desktop-menu", "install", "--mode", "user",
                                                       "--novendor", dir + "/vendrik.desktop"}));
  EXPECT_EQ(runner.calls[2],
            (std::vector<std::string>{"xdg-mime", "default", "vendrik.desktop", "application/x-vendrik-mrk"}));
  int hot = 0;
  ASSERT_TRUE(ReadRegDword("MarkHotFile", hot));
  EXPECT_EQ(hot, 1);
  EXPECT_NE(ReadText(dir + "/vendrik-mrk.xml").find("<glob pattern=\"*.mrk\"/>"), std::string::npos);
  EXPECT_NE(ReadText(dir + "/vendrik.desktop").find("Exec=/opt/vendrik/bin/vendrik %f\n"), std::string::npos);

  // The next start leaves it alone.
  EXPECT_FALSE(association.RegisterOnce());
  EXPECT_EQ(runner.calls.size(), 3u);

  // Cleared by hand: written again.
  WriteRegDword("MarkHotFile", 0);
  EXPECT_TRUE(association.RegisterOnce());
  EXPECT_EQ(runner.calls.size(), 6u);
}

TEST(MrkAssociation, FailedToolsAreTriedAgainNextStart) {
  FreshSettings();
  const std::string dir = FreshFolder("assoc-fail");
  RecordingRunner runner;
  runner.result = -1;  // xdg tools not installed
  MrkAssociation association(runner.Runner(), "/usr/bin/vendrik", dir);
  EXPECT_FALSE(association.RegisterOnce());
  EXPECT_EQ(runner.calls.size(), 1u);
  int hot = 0;
  EXPECT_FALSE(ReadRegDword("MarkHotFile", hot));

  runner.result = 0;
  EXPECT_TRUE(association.RegisterOnce());
  ASSERT_TRUE(ReadRegDword("MarkHotFile", hot));
  EXPECT_EQ(hot, 1);
}

TEST(MrkAssociation, ExecLineQuotesPathsThatNeedIt) {
  EXPECT_EQ(QuoteDesktopExecArg("/usr/bin/vendrik"), "/usr/bin/vendrik");
  EXPECT_EQ(QuoteDesktopExecArg("/home/op/My Programs/vendrik"), "\"/home/op/My Programs/vendrik\"");
  EXPECT_EQ(QuoteDesktopExecArg("/opt/a\"b$c/vendrik"), "\"/opt/a\\\\\"b\\\\$c/vendrik\"");
  EXPECT_EQ(QuoteDesktopExecArg("/opt/100%/vendrik"), "\"/opt/100%%/vendrik\"");
}
