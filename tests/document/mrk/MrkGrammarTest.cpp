#include <gtest/gtest.h>

#include <climits>
#include <limits>
#include <string>

#include "document/mrk/MrkKeys.h"
#include "document/mrk/MrkLineReader.h"
#include "document/mrk/MrkLineWriter.h"

TEST(MrkLineReader, CutsLinesAtSemicolonAndSkipsLeadingBlanksAndCarriageReturns) {
  const std::string text = "  160;\xb6\xd4\xcf\xf3\r\n12;5\r\n\r\nlast";
  MrkLineReader reader(text);
  std::string line;
  ASSERT_TRUE(reader.ReadMrkLine(line));
  EXPECT_EQ(line, "160");
  ASSERT_TRUE(reader.ReadMrkValueLine(line));
  EXPECT_EQ(line, "12");
  ASSERT_TRUE(reader.ReadMrkLine(line));
  EXPECT_EQ(line, "");
  ASSERT_TRUE(reader.ReadMrkLine(line));  // no line end before the end of the text
  EXPECT_EQ(line, "last");
  EXPECT_FALSE(reader.ReadMrkLine(line));
  EXPECT_EQ(line, "");
}

TEST(MrkLineReader, LongValueLineKeepsLaterPairsInStep) {
  const std::string longText(1000, 'A');
  std::string file;
  MrkLineWriter writer(file);
  writer.WritePair("230;text", longText);
  writer.WriteInt("161;delay", 7);
  MrkLineReader reader(file);
  int key = 0;
  std::string value;
  ASSERT_TRUE(reader.ReadPair(key, value));
  EXPECT_EQ(key, 230);
  EXPECT_EQ(value, longText);
  ASSERT_TRUE(reader.ReadPair(key, value));
  EXPECT_EQ(key, 161);
  EXPECT_EQ(value, "7");
  EXPECT_FALSE(reader.ReadPair(key, value));
}

TEST(MrkLineReader, KeysWithoutValueLineConsumeOnlyTheKeyLine) {
  const std::string text = "5;nothing\n300;nothing either\n40;range\n120.5\n";
  MrkLineReader reader(text);
  int key = -1;
  std::string value;
  ASSERT_TRUE(reader.ReadPair(key, value));
  EXPECT_EQ(key, 5);
  ASSERT_TRUE(reader.ReadPair(key, value));
  EXPECT_EQ(key, 300);
  ASSERT_TRUE(reader.ReadPair(key, value));
  EXPECT_EQ(key, 40);
  EXPECT_EQ(value, "120.5");
  // A key line whose value line is missing fails.
  MrkLineReader truncated("41;range\n");
  EXPECT_FALSE(truncated.ReadPair(key, value));
}

TEST(MrkKeys, KeyRangesAndParsing) {
  EXPECT_EQ(MrkKeyKindOf(9), MrkKeyKind::None);
  EXPECT_EQ(MrkKeyKindOf(10), MrkKeyKind::Double);
  EXPECT_EQ(MrkKeyKindOf(59), MrkKeyKind::Double);
  EXPECT_EQ(MrkKeyKindOf(60), MrkKeyKind::Float);
  EXPECT_EQ(MrkKeyKindOf(100), MrkKeyKind::Int);
  EXPECT_EQ(MrkKeyKindOf(189), MrkKeyKind::Int);
  EXPECT_EQ(MrkKeyKindOf(190), MrkKeyKind::Byte);
  EXPECT_EQ(MrkKeyKindOf(200), MrkKeyKind::Text);
  EXPECT_EQ(MrkKeyKindOf(250), MrkKeyKind::Text);
  EXPECT_EQ(MrkKeyKindOf(251), MrkKeyKind::None);
  EXPECT_EQ(MrkKeyKindOf(320), MrkKeyKind::Binary);
  EXPECT_EQ(MrkKeyKindOf(351), MrkKeyKind::None);

  EXPECT_EQ(ParseMrkKey("160;\xc7\xfd"), 160);
  EXPECT_EQ(ParseMrkKey("no number"), 0);
  EXPECT_EQ(ParseMrkKey("-7;x"), -7);

  EXPECT_EQ(MrkValue::Parse(190, "300").b, 44);  // the low byte
  EXPECT_EQ(MrkValue::Parse(160, "99999999999").i, INT_MAX);
  EXPECT_EQ(MrkValue::Parse(160, "-99999999999").i, INT_MIN);
  EXPECT_EQ(MrkValue::Parse(160, "12abc").i, 12);
  EXPECT_DOUBLE_EQ(MrkValue::Parse(45, "abc").d, 0.0);
  EXPECT_DOUBLE_EQ(MrkValue::Parse(45, "-3.2500").d, -3.25);
  EXPECT_FLOAT_EQ(MrkValue::Parse(61, "1.5e1").f, 15.0f);
  const MrkValue text = MrkValue::Parse(201, "Line-1");
  EXPECT_EQ(text.kind, MrkKeyKind::Text);
  EXPECT_EQ(text.text, "Line-1");
}

TEST(MrkLineWriter, FormatsPairsWithCrLfAndFixedDecimals) {
  std::string out;
  MrkLineWriter w(out);
  w.WriteInt("163;n", -2);
  w.WriteDouble("40;x", 120.0);
  w.WriteDouble("46;c", 48.0, 6);
  w.WriteDouble("63;es", 1.23456, 3);
  w.WriteDouble("41;y", std::numeric_limits<double>::infinity());
  w.WriteClassBegin("CObjLine");
  w.WriteClassEnd();
  EXPECT_EQ(out,
            "163;n\r\n-2\r\n40;x\r\n120.0000\r\n46;c\r\n48.000000\r\n63;es\r\n1.235\r\n41;y\r\n0.0000\r\n"
            "202;\xb6\xd4\xcf\xf3\xb5\xc4\xc0\xe0\xc3\xfb\r\nCObjLine\r\n"
            "202;\xb6\xd4\xcf\xf3\xbd\xe1\xca\xf8\r\nCLASS_END\r\n");
}
