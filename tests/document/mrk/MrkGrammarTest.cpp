#include <gtest/gtest.h>

#include <climits>
#include <limits>
#include <string>

#include "document/mrk/MrkKeys.h"
#include "document/mrk/MrkLineReader.h"
#include "document/mrk/MrkLineWriter.h"

TEST(MrkLines, ReaderCutsAtSemicolonSkipsBlanksAndKeepsPairsInStep) {
  const std::string longText(1000, 'A');
  std::string file = "  160;\xb6\xd4\xcf\xf3\r\n12;5\r\n";
  MrkLineWriter writer(file);
  writer.WritePair("230;text", longText);  // far beyond the old 255-character pieces
  file += "5;no value line\n300;none either\n41;range\n120.5";
  MrkLineReader reader(file);
  int key = 0;
  std::string value;
  ASSERT_TRUE(reader.ReadPair(key, value));
  EXPECT_EQ(key, 160);
  EXPECT_EQ(value, "12");
  ASSERT_TRUE(reader.ReadPair(key, value));
  EXPECT_EQ(value, longText);
  ASSERT_TRUE(reader.ReadPair(key, value));
  EXPECT_EQ(key, 5);  // keys outside every range consume no value line
  ASSERT_TRUE(reader.ReadPair(key, value));
  EXPECT_EQ(key, 300);
  ASSERT_TRUE(reader.ReadPair(key, value));
  EXPECT_EQ(key, 41);
  EXPECT_EQ(value, "120.5");  // last line without a line end
  EXPECT_FALSE(reader.ReadMrkLine(value));
  EXPECT_EQ(value, "");
  MrkLineReader truncated("41;range\n");
  EXPECT_FALSE(truncated.ReadPair(key, value));
}

TEST(MrkLines, KeyRangesDecideHowValuesParse) {
  EXPECT_EQ(MrkKeyKindOf(9), MrkKeyKind::None);
  EXPECT_EQ(MrkKeyKindOf(59), MrkKeyKind::Double);
  EXPECT_EQ(MrkKeyKindOf(60), MrkKeyKind::Float);
  EXPECT_EQ(MrkKeyKindOf(189), MrkKeyKind::Int);
  EXPECT_EQ(MrkKeyKindOf(190), MrkKeyKind::Byte);
  EXPECT_EQ(MrkKeyKindOf(250), MrkKeyKind::Text);
  EXPECT_EQ(MrkKeyKindOf(251), MrkKeyKind::None);
  EXPECT_EQ(MrkKeyKindOf(320), MrkKeyKind::Binary);
  EXPECT_EQ(ParseMrkKey("no number"), 0);
  EXPECT_EQ(MrkValue::Parse(190, "300").b, 44);  // the low byte
  EXPECT_EQ(MrkValue::Parse(160, "99999999999").i, INT_MAX);
  EXPECT_EQ(MrkValue::Parse(160, "-99999999999").i, INT_MIN);
  EXPECT_EQ(MrkValue::Parse(160, "12abc").i, 12);
  EXPECT_DOUBLE_EQ(MrkValue::Parse(45, "abc").d, 0.0);
  EXPECT_FLOAT_EQ(MrkValue::Parse(61, "1.5e1").f, 15.0f);
}

TEST(MrkLines, WriterFormatsWithCrLfAndFixedDecimals) {
  std::string out;
  MrkLineWriter w(out);
  w.WriteInt("163;n", -2);
  w.WriteDouble("46;c", 48.0, 6);
  w.WriteDouble("63;es", 1.23456, 3);
  w.WriteDouble("41;y", std::numeric_limits<double>::infinity());
  w.WriteClassBegin("CObjLine");
  w.WriteClassEnd();
  EXPECT_EQ(out,
            "163;n\r\n-2\r\n46;c\r\n48.000000\r\n63;es\r\n1.235\r\n41;y\r\n0.0000\r\n"
            "202;\xb6\xd4\xcf\xf3\xb5\xc4\xc0\xe0\xc3\xfb\r\nCObjLine\r\n"
            "202;\xb6\xd4\xcf\xf3\xbd\xe1\xca\xf8\r\nCLASS_END\r\n");

  // Text values stay on one line short enough for readers that take 255
  // characters a line, and a double-byte character is never cut in half.
  std::string gbk;
  for (int i = 0; i < 200; ++i) gbk += "\xd6\xb1";
  const struct {
    std::string text;
    std::string written;
  } texts[] = {
      {"a\r\nb", "a  b"},
      {std::string(300, 'x'), std::string(kMrkMaxTextValue, 'x')},
      {gbk, gbk.substr(0, 254)},
      {"a" + gbk, "a" + gbk.substr(0, 252)},
  };
  for (const auto& t : texts) {
    std::string text;
    MrkLineWriter(text).WriteText("201;n", t.text);
    EXPECT_EQ(text, "201;n\r\n" + t.written + "\r\n");
  }
}
