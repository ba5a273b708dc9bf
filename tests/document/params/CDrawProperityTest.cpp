#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "values/MachineSetRecord.h"
#include "document/mrk/MrkKeys.h"
#include "document/mrk/MrkLineReader.h"
#include "document/mrk/MrkLineWriter.h"
#include "document/params/CDrawProperity.h"

namespace {

MachineSetRecord SaneRecord() {
  MachineSetRecord r;
  std::memset(&r, 0, sizeof r);
  r.rangeX = 200;
  r.rangeY = 150;
  r.auxiliarySpeed = 30;
  r.stepX = 5;
  r.stepY = 6;
  r.workpieceDiameter = 30;
  r.motorDiameter = 20;
  r.transmissionConstant = 50;
  r.microstepExponent = 4;
  r.optionByte = 0x85;
  r.secondOptionByte = 3;
  r.machineDouble1 = 12.5f;
  return r;
}

const double kStepAngleAsFloat = static_cast<double>(1.8f);

std::string WriteBlock(const CDrawProperity& p) {
  std::string out;
  MrkLineWriter w(out);
  p.WriteToMrk(w);
  return out;
}

// Feeds every value pair to the record's setter, as the project reader does.
void ReadBlock(const std::string& text, CDrawProperity& p) {
  MrkLineReader reader(text);
  int key = 0;
  std::string value;
  while (reader.ReadPair(key, value))
    if (key < 200) p.SetByKey(key, MrkValue::Parse(key, value));
}

}  // namespace

TEST(CDrawProperity, WithoutLoadedSettingsOnlyThePulseValuesAreClamped) {
  MachineSetRecord r = SaneRecord();
  r.pulseFrequency = 0;
  r.pulseDuty = 150;
  CDrawProperity p(r, false);
  EXPECT_EQ(p.GetOptionByte(), 0x18);
  EXPECT_EQ(p.GetRangeX(), 120);
  EXPECT_EQ(p.GetMachineDouble1(), 50);
  EXPECT_EQ(p.GetStepAngle(), kStepAngleAsFloat);
  EXPECT_EQ(p.GetClassPause() + p.GetRepeatLimit() + p.GetMachineType() + p.GetObjectEndDelay(), 0);
  EXPECT_NEAR(p.GetRotaryFactor(), 12.2231, 1e-4);
  EXPECT_EQ(r.pulseFrequency, 1);
  EXPECT_EQ(r.pulseDuty, 100.0);
  EXPECT_EQ(r.rangeX, 200.0f);
}

TEST(CDrawProperity, TakeOverClampsIntoTheRecordWithInclusiveLimits) {
  MachineSetRecord r = SaneRecord();
  r.rangeX = 5;
  r.rangeY = 3000.5f;
  r.auxiliarySpeed = 0.5f;
  r.microstepExponent = -1;
  r.motorDiameter = 0;
  r.transmissionConstant = 800.5f;
  r.transmissionCorrection = -100.5;
  r.needleDelayBefore = 10001;
  r.needleDelayAfter = -1;
  r.objectEndDelay = 60001;
  r.stepAngle = 0.9f;
  r.pulseFrequency = 900;
  CDrawProperity p(r, true);
  EXPECT_EQ(p.GetRangeX(), 10);
  EXPECT_EQ(r.rangeX, 10.0f);
  EXPECT_EQ(p.GetRangeY(), 3000);
  EXPECT_EQ(r.rangeY, 3000.0f);
  EXPECT_EQ(r.auxiliarySpeed, 1.0f);
  EXPECT_EQ(r.microstepExponent, 6);
  EXPECT_EQ(r.motorDiameter, 16.0f);
  EXPECT_EQ(p.GetTransmissionConstant(), 48);
  EXPECT_EQ(p.GetTransmissionCorrection(), 0);
  EXPECT_EQ(r.needleDelayBefore + r.needleDelayAfter + r.objectEndDelay, 0);
  EXPECT_EQ(p.GetStepAngle(), kStepAngleAsFloat);  // whatever the record holds
  EXPECT_EQ(r.pulseFrequency, 500);
  EXPECT_EQ(p.GetOptionByte(), 0x85);
  EXPECT_EQ(p.GetSecondOptionByte(), 3);
  EXPECT_EQ(p.GetStepLengthY(), 6);
  EXPECT_EQ(p.GetMachineDouble1(), 12.5);

  MachineSetRecord edge = SaneRecord();
  edge.rangeX = 3000;
  edge.motorDiameter = 800;
  edge.transmissionCorrection = 100;
  edge.microstepExponent = 8;
  edge.objectEndDelay = 60000;
  CDrawProperity q(edge, true);
  EXPECT_EQ(q.GetRangeX(), 3000);
  EXPECT_EQ(q.GetMotorDiameter(), 800);
  EXPECT_EQ(q.GetTransmissionCorrection(), 100);
  EXPECT_EQ(q.GetMicrostepExponent(), 8);
  EXPECT_EQ(q.GetObjectEndDelay(), 60000);
}

TEST(CDrawProperity, TakeOverReplacesValuesThatWouldDivideByZeroOrAreNotFinite) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  MachineSetRecord r = SaneRecord();
  r.rangeX = nan;
  r.stepX = 0;
  r.stepY = -4;
  r.workpieceDiameter = nan;
  r.motorDiameter = std::numeric_limits<float>::infinity();
  r.penUpSpeed = nan;
  r.startPath[0] = nan;
  CDrawProperity p(r, true);
  EXPECT_EQ(p.GetRangeX(), 10);
  EXPECT_EQ(p.GetStepLengthX(), 4);
  EXPECT_EQ(r.stepX, 4.0f);
  EXPECT_EQ(p.GetStepLengthY(), 4);
  EXPECT_EQ(p.GetWorkDiameter(), 20);
  EXPECT_EQ(p.GetMotorDiameter(), 16);
  EXPECT_EQ(p.GetPenUpSpeed(), 32);
  EXPECT_EQ(p.GetStartPath(0).x, -60);
}

TEST(CDrawProperity, ClassBlockKeysOrderAndFormats) {
  MachineSetRecord r = SaneRecord();
  CDrawProperity p(r, false);
  const std::string block = WriteBlock(p);
  MrkLineReader reader(block);
  std::vector<int> keys;
  std::vector<std::string> values;
  int key = 0;
  std::string value;
  while (reader.ReadPair(key, value)) {
    keys.push_back(key);
    values.push_back(value);
  }
  const std::vector<int> expected = {202, 190, 191, 39, 40, 41, 42, 43, 38, 44, 45, 46, 47, 48, 49, 50, 51,
                                     52, 53, 54, 55, 56, 57, 58, 160, 161, 162, 163, 164, 165, 166, 167, 168, 202};
  EXPECT_EQ(keys, expected);
  ASSERT_EQ(values.size(), expected.size());
  EXPECT_EQ(values[0], "CDrawProperity");
  EXPECT_EQ(values[1], "24");
  EXPECT_EQ(values[11], "48.000000");  // key 46 with six decimals
  EXPECT_EQ(values[14], "1.8000");
  EXPECT_EQ(values.back(), "CLASS_END");
  EXPECT_NE(block.find("40;X\xb7\xbd\xcf\xf2\xb5\xc4\xb1\xea\xbc\xc7\xb7\xb6\xce\xa7\r\n120.0000\r\n"), std::string::npos);
}

TEST(CDrawProperity, ReadBackRestoresKeyedFieldsButNotSpeedsOrOptions) {
  MachineSetRecord r = SaneRecord();
  CDrawProperity saved(r, false);
  saved.SetStepLengthX(2.5);
  saved.SetWorkDiameter(33.3333);
  saved.SetTransmissionConstant(51.123456);
  saved.SetStartPath(1, 12.5, -7.25);
  saved.SetMicrostepExponent(3);
  saved.SetLaserValue(4);
  saved.SetPenUpSpeed(90);
  saved.SetOptionByte(0x04);
  CDrawProperity loaded(r, false);
  ReadBlock(WriteBlock(saved), loaded);
  EXPECT_EQ(loaded.GetStepLengthX(), 2.5);
  EXPECT_EQ(loaded.GetWorkDiameter(), 33.3333);
  EXPECT_EQ(loaded.GetTransmissionConstant(), 51.123456);
  EXPECT_EQ(loaded.GetStartPath(1).y, -7.25);
  EXPECT_EQ(loaded.GetMicrostepExponent(), 3);
  EXPECT_EQ(loaded.GetLaserValue(), 4);
  EXPECT_EQ(loaded.GetPenUpSpeed(), 32);    // written, never applied
  EXPECT_EQ(loaded.GetOptionByte(), 0x18);  // likewise
}

TEST(CDrawProperity, FileValuesThatWouldBreakTheStepMathsAreRefused) {
  MachineSetRecord r = SaneRecord();
  CDrawProperity p(r, false);
  ReadBlock("45;x\n0\n39;y\n-2\n50;d\nnan\n47;m\n0\n49;a\ninf\n46;t\n0\n51;p\n1e999\n40;r\n0\n41;r\nnan\n", p);
  EXPECT_EQ(p.GetStepLengthX(), 4);
  EXPECT_EQ(p.GetStepLengthY(), 4);
  EXPECT_EQ(p.GetWorkDiameter(), 20);
  EXPECT_EQ(p.GetMotorDiameter(), 16);
  EXPECT_EQ(p.GetStepAngle(), kStepAngleAsFloat);
  EXPECT_EQ(p.GetTransmissionConstant(), 48);
  EXPECT_EQ(p.GetStartPath(0).x, -60);
  EXPECT_EQ(p.GetRangeX(), 120);
  EXPECT_EQ(p.GetRangeY(), 100);
  p.SetByKey(45, MrkValue::OfInt(7));  // wrong kind for the key
  EXPECT_EQ(p.GetStepLengthX(), 4);

  // Exponents outside 0..10 count as 64 micro-steps.
  const double at6 = p.GetRotaryFactor();
  p.SetByKey(160, MrkValue::OfInt(12));
  EXPECT_DOUBLE_EQ(p.GetRotaryFactor(), at6);
  p.SetMicrostepExponent(10);
  EXPECT_DOUBLE_EQ(p.GetRotaryFactor(), at6 * 16);
}

// A project's ranges are copied as stored, whatever the machine limits, so a
// project saved with a 5 mm range opens and saves back unchanged.
TEST(CDrawProperity, ProjectRangesKeepTheStoredValueAndRefuseOnlyNonPositiveOrNonFinite) {
  struct Case {
    const char* text;
    double expected;
  };
  const Case cases[] = {{"5", 5}, {"3500.5", 3500.5}, {"0.25", 0.25}, {"0", 120}, {"-4", 120}, {"nan", 120}, {"inf", 120}};
  for (const Case& c : cases) {
    MachineSetRecord r = SaneRecord();
    CDrawProperity p(r, false);
    ReadBlock(std::string("40;r\n") + c.text + "\n41;r\n" + c.text + "\n", p);
    EXPECT_EQ(p.GetRangeX(), c.expected) << c.text;
    EXPECT_EQ(p.GetRangeY(), c.expected == 120 ? 100 : c.expected) << c.text;
  }
  MachineSetRecord r = SaneRecord();
  CDrawProperity p(r, false);
  ReadBlock("40;r\n5\n41;r\n7.5\n", p);
  CDrawProperity again(r, false);
  ReadBlock(WriteBlock(p), again);
  EXPECT_EQ(WriteBlock(again), WriteBlock(p));
  EXPECT_EQ(again.GetRangeX(), 5);
  EXPECT_EQ(again.GetRangeY(), 7.5);
}

TEST(CDrawProperity, OptionSwitchesMapToTheirBits) {
  MachineSetRecord r = SaneRecord();
  CDrawProperity p(r, false);
  EXPECT_TRUE(p.IsThreeAxisRotate() && p.IsYReplacesZ());  // the default 0x18
  EXPECT_FALSE(p.IsXReplacesZ());
  p.SetOptionByte(0);
  using Setter = void (CDrawProperity::*)(int);
  using Getter = int (CDrawProperity::*)() const;
  const struct {
    Setter set;
    Getter get;
  } bits[8] = {{&CDrawProperity::SetStartBackRoad, &CDrawProperity::IsStartBackRoad},
               {&CDrawProperity::SetPauseAtStart, &CDrawProperity::IsPauseAtStart},
               {&CDrawProperity::SetRotateMark, &CDrawProperity::IsRotateMark},
               {&CDrawProperity::SetThreeAxisRotate, &CDrawProperity::IsThreeAxisRotate},
               {&CDrawProperity::SetYReplacesZ, &CDrawProperity::IsYReplacesZ},
               {&CDrawProperity::SetBackZToOrigin, &CDrawProperity::IsBackZToOrigin},
               {&CDrawProperity::SetNoSeekOriginXY, &CDrawProperity::IsNoSeekOriginXY},
               {&CDrawProperity::SetRotateForLine, &CDrawProperity::IsRotateForLine}};
  for (int b = 0; b < 8; ++b) {
    (p.*bits[b].set)(1);
    EXPECT_EQ(p.GetOptionByte(), 1 << b) << b;
    EXPECT_EQ((p.*bits[b].get)(), 1) << b;
    EXPECT_EQ(p.IsXReplacesZ(), b == 4 ? 0 : 1) << b;
    (p.*bits[b].set)(0);
    EXPECT_EQ(p.GetOptionByte(), 0) << b;
  }

  // After a file is read, pen-up speed 2 is raised to the pen-up speed, never lowered.
  p.SetPenUpSpeed(120);
  p.SetPenUpSpeed2(100);
  p.RaisePenUpSpeed2();
  EXPECT_EQ(p.GetPenUpSpeed2(), 120);
  p.SetPenUpSpeed(10);
  p.RaisePenUpSpeed2();
  EXPECT_EQ(p.GetPenUpSpeed2(), 120);
}
