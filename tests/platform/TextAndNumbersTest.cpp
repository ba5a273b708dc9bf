#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "platform/Cp936.h"
#include "platform/NumberText.h"

namespace {

// Switches the process to a German locale (comma as decimal separator) for one
// test. Builds the locale into a private folder when the system lacks it.
class GermanLocale {
 public:
  GermanLocale() {
    if (std::setlocale(LC_ALL, "de_DE.UTF-8")) {
      active_ = true;
      return;
    }
    const std::string dir = std::filesystem::temp_directory_path().string() + "/vendrik-locales";
    std::filesystem::create_directories(dir);
    const std::string cmd = "localedef -i de_DE -f UTF-8 " + dir + "/de_DE.UTF-8 >/dev/null 2>&1";
    if (std::system(cmd.c_str()) == 0 || std::filesystem::exists(dir + "/de_DE.UTF-8")) {
      setenv("LOCPATH", dir.c_str(), 1);
      active_ = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
    }
  }
  ~GermanLocale() { std::setlocale(LC_ALL, "C"); }
  bool active() const { return active_; }

 private:
  bool active_ = false;
};

TEST(NumberText, FormatsAndParsesWithPointUnderCommaLocale) {
  GermanLocale german;
  if (!german.active()) GTEST_SKIP() << "no German locale on this machine";
  char native[32];
  std::snprintf(native, sizeof native, "%.1f", 1.5);
  ASSERT_STREQ(native, "1,5") << "the locale switch did not take effect";

  EXPECT_EQ(platform::FormatC("%.3f", 12.3456), "12.346");
  EXPECT_EQ(platform::FormatC("%f", 0.5), "0.500000");
  EXPECT_EQ(platform::FormatC("x:%.2f,y=%.2f", 1.0, -2.25), "x:1.00,y=-2.25");
  bool ok = false;
  EXPECT_DOUBLE_EQ(platform::ParseDoubleC("3.75", &ok), 3.75);
  EXPECT_TRUE(ok);
  // A comma ends the number, as in the C locale.
  EXPECT_DOUBLE_EQ(platform::ParseDoubleC("3,75"), 3.0);
  // Other threads format in the C locale too.
  std::string fromThread;
  std::thread([&] { fromThread = platform::FormatC("%.2f", 2.5); }).join();
  EXPECT_EQ(fromThread, "2.50");
  // The process locale is left as it was.
  std::snprintf(native, sizeof native, "%.1f", 1.5);
  EXPECT_STREQ(native, "1,5");
}

TEST(NumberText, ParsingStopsLikeAtofAndReportsDigits) {
  bool ok = true;
  EXPECT_DOUBLE_EQ(platform::ParseDoubleC("  -12.5mm", &ok), -12.5);
  EXPECT_TRUE(ok);
  EXPECT_DOUBLE_EQ(platform::ParseDoubleC("abc", &ok), 0.0);
  EXPECT_FALSE(ok);
  EXPECT_DOUBLE_EQ(platform::ParseDoubleC("", &ok), 0.0);
  EXPECT_FALSE(ok);
  // Not terminated at the view's end: the following bytes must not be read.
  const std::string text = "12.5999";
  EXPECT_DOUBLE_EQ(platform::ParseDoubleC(std::string_view(text).substr(0, 4)), 12.5);
  EXPECT_EQ(platform::ParseIntC(" 42,7", &ok), 42);
  EXPECT_TRUE(ok);
  EXPECT_EQ(platform::ParseIntC("-", &ok), 0);
  EXPECT_FALSE(ok);
}

TEST(NumberText, LongOutputIsNotCut) {
  const std::string padded = platform::FormatC("%400.2f|", 1.0);
  EXPECT_EQ(padded.size(), 401u);
  EXPECT_EQ(padded.substr(padded.size() - 5), "1.00|");
}

TEST(Cp936, ChineseLabelsRoundTripAsGbkBytes) {
  const std::string utf8 = "标记属性";
  const std::string gbk = platform::Utf8ToCp936(utf8);
  EXPECT_EQ(gbk, "\xB1\xEA\xBC\xC7\xCA\xF4\xD0\xD4");
  EXPECT_EQ(platform::Cp936ToUtf8(gbk), utf8);
  const std::string mixed = "%d/%d次 Total:";
  EXPECT_EQ(platform::Cp936ToUtf8(platform::Utf8ToCp936(mixed)), mixed);
  EXPECT_EQ(platform::Utf8ToCp936(""), "");
}

TEST(Cp936, BytesThatDoNotConvertBecomeQuestionMarks) {
  // A lone lead byte at the end, and an invalid pair in the middle.
  EXPECT_EQ(platform::Cp936ToUtf8("ab\xB1"), "ab?");
  EXPECT_EQ(platform::Cp936ToUtf8("\xFF" "A"), "?A");
  // A character GBK has no code for: one '?' for the whole sequence.
  EXPECT_EQ(platform::Utf8ToCp936("a\xF0\x9F\x98\x80" "b"), "a?b");
  // Broken UTF-8 input.
  EXPECT_EQ(platform::Utf8ToCp936("x\xC3"), "x?");
  EXPECT_EQ(platform::Utf8ToCp936("\x80y"), "?y");
}

TEST(Cp936, ConvertsFromSeveralThreadsAtOnce) {
  std::vector<std::thread> threads;
  std::vector<int> failures(4, 0);
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&failures, t] {
      for (int i = 0; i < 200; ++i)
        if (platform::Cp936ToUtf8(platform::Utf8ToCp936("标记属性" + std::to_string(i))) != "标记属性" + std::to_string(i))
          ++failures[t];
    });
  }
  for (auto& th : threads) th.join();
  for (int f : failures) EXPECT_EQ(f, 0);
}

}  // namespace
