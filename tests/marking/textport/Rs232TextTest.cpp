#include <string>

#include <gtest/gtest.h>

#include "marking/textport/Rs232Text.h"

namespace {

// Feeds the bytes one by one as the property view does; returns the texts found.
std::vector<std::string> Feed(Rs232TextBuffer& buffer, const std::string& bytes) {
  std::vector<std::string> texts;
  for (unsigned char b : bytes) {
    EXPECT_TRUE(buffer.Append(b));
    std::string text;
    if (buffer.Extract(text)) texts.push_back(text);
  }
  return texts;
}

TEST(Rs232TextFraming, TextsBetweenTheMarkers) {
  Rs232TextBuffer buffer;
  EXPECT_EQ(Feed(buffer, "$$AB##"), std::vector<std::string>{"AB"});
  EXPECT_EQ(buffer.Count(), 0);
  // The start marker nearest to the end marker counts; noise before it is dropped.
  EXPECT_EQ(Feed(buffer, "xx$$12$$34##"), std::vector<std::string>{"34"});
  // Three markers in a row: the text begins after the last pair.
  EXPECT_EQ(Feed(buffer, "$$$XY##"), std::vector<std::string>{"XY"});
  // GBK bytes pass untouched.
  EXPECT_EQ(Feed(buffer, "$$\xB1\xEA\xBC\xC7##"), std::vector<std::string>{"\xB1\xEA\xBC\xC7"});
}

TEST(Rs232TextFraming, ShortTextsStayUntilTheBufferFills) {
  Rs232TextBuffer buffer;
  EXPECT_TRUE(Feed(buffer, "$$A##").empty());
  EXPECT_TRUE(Feed(buffer, "$$##").empty());
  EXPECT_EQ(buffer.Count(), 9);
  // A later complete text is still found after them.
  EXPECT_EQ(Feed(buffer, "$$OK##"), std::vector<std::string>{"OK"});

  EXPECT_TRUE(Feed(buffer, "$$A##").empty());
  EXPECT_TRUE(Feed(buffer, std::string(Rs232TextBuffer::kDropAt - 6, 'z')).empty());
  EXPECT_EQ(buffer.Count(), Rs232TextBuffer::kDropAt - 1);
  EXPECT_TRUE(Feed(buffer, "z").empty());
  EXPECT_EQ(buffer.Count(), 0);
}

TEST(Rs232TextFraming, OverlongFrameIsDroppedAndTheNextOneTaken) {
  Rs232TextBuffer buffer;
  const std::string longFrame = "$$" + std::string(3000, 'x') + "##";
  EXPECT_TRUE(Feed(buffer, longFrame).empty());
  EXPECT_LT(buffer.Count(), Rs232TextBuffer::kDropAt);
  EXPECT_EQ(Feed(buffer, "$$NEXT##"), std::vector<std::string>{"NEXT"});
  // The longest text that fits is taken whole.
  const std::string body(Rs232TextBuffer::kDropAt - 5, 'y');
  EXPECT_EQ(Feed(buffer, "$$" + body + "##"), std::vector<std::string>{body});
}

TEST(Rs232TextFraming, AppendNeverWritesPastTheBuffer) {
  Rs232TextBuffer buffer;
  for (int i = 0; i < Rs232TextBuffer::kSize; ++i) EXPECT_TRUE(buffer.Append('a'));
  EXPECT_FALSE(buffer.Append('a'));
  EXPECT_EQ(buffer.Count(), Rs232TextBuffer::kSize);
  std::string text = "kept";
  EXPECT_FALSE(buffer.Extract(text));
  EXPECT_EQ(text, "kept");
  EXPECT_EQ(buffer.Count(), 0);
}

TEST(Rs232LineSettings, SettingsIndexesTranslate) {
  const int bauds[] = {1200, 2400, 4800, 9600, 19200, 38400, 9600, 9600, 9600};
  for (int i = 0; i < 9; ++i) EXPECT_EQ(TranslateRs232Settings(i, 0, 0, 0).baud, bauds[i]) << i;
  EXPECT_EQ(TranslateRs232Settings(-1, 0, 0, 0).baud, 9600);
  EXPECT_EQ(TranslateRs232Settings(3, 0, 0, 0).parity, 'N');
  EXPECT_EQ(TranslateRs232Settings(3, 1, 0, 0).parity, 'O');
  EXPECT_EQ(TranslateRs232Settings(3, 2, 0, 0).parity, 'E');
  EXPECT_EQ(TranslateRs232Settings(3, 3, 0, 0).parity, 'N');
  EXPECT_EQ(TranslateRs232Settings(3, 0, 1, 0).dataBits, 7);
  EXPECT_EQ(TranslateRs232Settings(3, 0, 2, 0).dataBits, 8);  // the dialog's 6 bits
  EXPECT_EQ(TranslateRs232Settings(3, 0, 0, 0).dataBits, 8);
  EXPECT_EQ(TranslateRs232Settings(3, 0, 0, 1).stopBits, 2);
  EXPECT_EQ(TranslateRs232Settings(3, 0, 0, 0).stopBits, 1);
  EXPECT_EQ(TranslateRs232Settings(3, 0, 0, 2).stopBits, 1);
}

}  // namespace
