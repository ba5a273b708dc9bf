// The view's side of the property pages: every control id writes its field,
// the settings record's bytes and file, and takes one undo snapshot.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include "app/core/MachineSetFile.h"
#include "app/views/model/CutFillNotice.h"
#include "app/views/model/MachineParamRules.h"
#include "document/objects/CObjArc.h"
#include "document/objects/CObjDotCollect.h"
#include "document/objects/CObjElement.h"
#include "document/objects/CObjImage.h"
#include "document/objects/CObjLine.h"
#include "document/objects/CObjMultiBorder.h"
#include "document/objects/CObjPolyLine.h"
#include "document/path/CPathData.h"
#include "document/geometry/SharedHelpers.h"
#include "document/params/CDrawProperity.h"
#include "marking/controller/CMarkControlWnd.h"
#include "platform/PictureLoader.h"
#include "platform/Prompt.h"
#include "properties/framework/PropChange.h"
#include "tests/app/views/ViewModelFixture.h"
#include "tests/document/hatch/CombOutline.h"
#include "values/PropertyMessages.h"
#include "values/ShellMessages.h"
#include "values/ShellValues.h"

namespace {

using Getter = std::function<double(const CDrawProperity&)>;

struct ParamCase {
  UINT msg;
  int id;
  PropValue value;
  int offset;  // the settings record's byte offset, -1: not kept there
  SettingWidth width;
  Getter field;
  double expected;  // the record field after the change
};

std::ostream& operator<<(std::ostream& os, const ParamCase& c) { return os << c.msg << "/" << c.id; }

double Bit(const CDrawProperity& p, std::uint8_t bit) { return (p.GetOptionByte() & bit) ? 1 : 0; }

const ParamCase kParamCases[] = {
    {WM_UPDATE_DRAWSIZE, 1010, 150.5, 0x28, SettingWidth::Float, [](auto& p) { return p.GetRangeX(); }, 150.5},
    {WM_UPDATE_DRAWSIZE, 1011, 90.25, 0x2C, SettingWidth::Float, [](auto& p) { return p.GetRangeY(); }, 90.25},
    {WM_UPDATE_PRINTPARAMETER, 1003, 700, 0xB0, SettingWidth::Int32, [](auto& p) { return p.GetAcceleration(); }, 700},
    {WM_UPDATE_PRINTPARAMETER, 1004, 12, 0xB4, SettingWidth::Int32, [](auto& p) { return p.GetLaserValue(); }, 12},
    {WM_UPDATE_PRINTPARAMETER, 1014, 60.5, 0x20, SettingWidth::Float, [](auto& p) { return p.GetResetSpeed(); }, 60.5},
    {WM_UPDATE_PRINTPARAMETER, 1015, 40.0, 0x1C, SettingWidth::Float, [](auto& p) { return p.GetPenUpSpeed(); }, 40},
    {WM_UPDATE_PRINTPARAMETER, 1016, 30.0, 0x18, SettingWidth::Float, [](auto& p) { return p.GetPenDownSpeed(); }, 30},
    {WM_UPDATE_PRINTPARAMETER, 1017, 5u, 0x10, SettingWidth::Int32, [](auto& p) { return p.GetStartDelay(); }, 5},
    {WM_UPDATE_PRINTPARAMETER, 1018, 6u, 0x08, SettingWidth::Int32, [](auto& p) { return p.GetNormalDelay(); }, 6},
    {WM_UPDATE_PRINTPARAMETER, 1028, 7u, 0x0C, SettingWidth::Int32, [](auto& p) { return p.GetStrokeEndDelay(); }, 7},
    {WM_UPDATE_PRINTPARAMETER, 1019, 4.5, 0x24, SettingWidth::Float, [](auto& p) { return p.GetStepLengthX(); }, 4.5},
    {WM_UPDATE_PRINTPARAMETER, 1033, 4.125, 0x88, SettingWidth::Double, [](auto& p) { return p.GetStepLengthY(); }, 4.125},
    {WM_UPDATE_PRINTPARAMETER, 1022, 0.3, 0x58, SettingWidth::Double,
     [](auto& p) { return p.GetTransmissionCorrection(); }, 0.3},
    {WM_UPDATE_PRINTPARAMETER, 1023, 50.0, 0x48, SettingWidth::Float,
     [](auto& p) { return p.GetTransmissionConstant(); }, 50},
    {WM_UPDATE_PRINTPARAMETER, 1024, 18.0, 0x4C, SettingWidth::Float, [](auto& p) { return p.GetMotorDiameter(); }, 18},
    {WM_UPDATE_PRINTPARAMETER, 1025, 8, 0x44, SettingWidth::Int32, [](auto& p) { return p.GetMicrostepExponent(); }, 8},
    {WM_UPDATE_PRINTPARAMETER, 1027, 0.9, 0x50, SettingWidth::Float, [](auto& p) { return p.GetStepAngle(); }, 0.9},
    {WM_UPDATE_PRINTPARAMETER, 1035, 9u, 0x98, SettingWidth::Int32, [](auto& p) { return p.GetDotTime(); }, 9},
    {WM_UPDATE_PRINTPARAMETER, 1038, 110.0, 0xA8, SettingWidth::Double, [](auto& p) { return p.GetPenUpSpeed2(); }, 110},
    {WM_UPDATE_PRINTPARAMETER, 1041, 11, 0xB8, SettingWidth::Int32,
     [](auto& p) { return p.GetNeedleDelayBefore(); }, 11},
    {WM_UPDATE_PRINTPARAMETER, 1042, 13, 0xBC, SettingWidth::Int32, [](auto& p) { return p.GetNeedleDelayAfter(); }, 13},
    {WM_UPDATE_PRINTPARAMETER, 1043, 14, 0xDC, SettingWidth::Int32, [](auto& p) { return p.GetObjectEndDelay(); }, 14},
    {WM_UPDATE_PRINTPARAMETER, 1114, 2, 0xC0, SettingWidth::Int32, [](auto& p) { return p.GetMachineType(); }, 2},
    {WM_UPDATE_PRINTSETUP, 1015, 3u, -1, SettingWidth::None, [](auto& p) { return p.GetRestTime(); }, 3},
    {WM_UPDATE_PRINTSETUP, 1016, 2u, -1, SettingWidth::None, [](auto& p) { return p.GetResetAfterN(); }, 2},
    {WM_UPDATE_PRINTSETUP, 1017, 11.5, 0x60, SettingWidth::Float, [](auto& p) { return p.GetStartPath(0).x; }, 11.5},
    {WM_UPDATE_PRINTSETUP, 1018, 12.5, 0x64, SettingWidth::Float, [](auto& p) { return p.GetStartPath(0).y; }, 12.5},
    {WM_UPDATE_PRINTSETUP, 1019, 13.5, 0x68, SettingWidth::Float, [](auto& p) { return p.GetStartPath(1).x; }, 13.5},
    {WM_UPDATE_PRINTSETUP, 1020, 14.5, 0x6C, SettingWidth::Float, [](auto& p) { return p.GetStartPath(1).y; }, 14.5},
    {WM_UPDATE_PRINTSETUP, 1021, 15.5, 0x70, SettingWidth::Float, [](auto& p) { return p.GetResetPath(0).x; }, 15.5},
    {WM_UPDATE_PRINTSETUP, 1022, 16.5, 0x74, SettingWidth::Float, [](auto& p) { return p.GetResetPath(0).y; }, 16.5},
    {WM_UPDATE_PRINTSETUP, 1023, 17.5, 0x78, SettingWidth::Float, [](auto& p) { return p.GetResetPath(1).x; }, 17.5},
    {WM_UPDATE_PRINTSETUP, 1024, 18.5, 0x7C, SettingWidth::Float, [](auto& p) { return p.GetResetPath(1).y; }, 18.5},
    {WM_UPDATE_PRINTSETUP, 1025, 4, 0xC4, SettingWidth::Int32, [](auto& p) { return p.GetRepeatLimit(); }, 4},
    {WM_UPDATE_PRINTSETUP, 1038, 1, 0x40, SettingWidth::Byte, [](auto& p) { return Bit(p, OPT_PAUSE_AT_START); }, 1},
    {WM_UPDATE_PRINTSETUP, 1039, 0, 0x40, SettingWidth::Byte, [](auto& p) { return Bit(p, OPT_PAUSE_AT_START); }, 0},
    {WM_UPDATE_PRINTSETUP, 1040, 1, 0x40, SettingWidth::Byte, [](auto& p) { return Bit(p, OPT_START_BACK_ROAD); }, 1},
    {WM_UPDATE_PRINTSETUP, 1163, 3, 0x30, SettingWidth::Int32, [](auto& p) { return p.GetClassPause(); }, 3},
    {WM_UPDATE_ROATESET, 1014, 30.0, 0x54, SettingWidth::Float, [](auto& p) { return p.GetWorkDiameter(); }, 30},
    {WM_UPDATE_ROATESET, 1015, 45.5, 0x84, SettingWidth::Float, [](auto& p) { return p.GetMachineDouble1(); }, 45.5},
    {WM_UPDATE_ROATESET, 1016, 25.0f, 0x90, SettingWidth::Float, [](auto& p) { return p.GetAuxSpeed(); }, 25},
    {WM_UPDATE_ROATESET, 1042, 1, 0x40, SettingWidth::Byte, [](auto& p) { return Bit(p, OPT_ROTATE_MARK); }, 1},
    {WM_UPDATE_ROATESET, 1043, 0, 0x40, SettingWidth::Byte, [](auto& p) { return Bit(p, OPT_THREE_AXIS_ROTATE); }, 1},
    {WM_UPDATE_ROATESET, 1044, 1, 0x40, SettingWidth::Byte, [](auto& p) { return Bit(p, OPT_THREE_AXIS_ROTATE); }, 0},
    {WM_UPDATE_ROATESET, 1045, 0, 0x40, SettingWidth::Byte, [](auto& p) { return Bit(p, OPT_Y_REPLACES_Z); }, 1},
    {WM_UPDATE_ROATESET, 1046, 1, 0x40, SettingWidth::Byte, [](auto& p) { return Bit(p, OPT_Y_REPLACES_Z); }, 0},
    {WM_UPDATE_ROATESET, 1160, 1, 0x40, SettingWidth::Byte, [](auto& p) { return Bit(p, OPT_BACK_Z_TO_ORIGIN); }, 1},
    {WM_UPDATE_ROATESET, 1161, 1, 0x40, SettingWidth::Byte, [](auto& p) { return Bit(p, OPT_NO_SEEK_ORIGIN_XY); }, 1},
    {WM_UPDATE_ROATESET, 1179, 1, 0x94, SettingWidth::Int32, [](auto& p) { return p.GetAuxSpeedSwitch(); }, 1},
    {WM_UPDATE_ROATESET, 1181, 1, 0x40, SettingWidth::Byte, [](auto& p) { return Bit(p, OPT_ROTATE_FOR_LINE); }, 1},
};

// The settings record's value at an offset, by width.
double SettingAt(const unsigned char* bytes, int offset, SettingWidth width) {
  switch (width) {
    case SettingWidth::Int32: {
      std::int32_t v;
      std::memcpy(&v, bytes + offset, sizeof v);
      return v;
    }
    case SettingWidth::Float: {
      float v;
      std::memcpy(&v, bytes + offset, sizeof v);
      return v;
    }
    case SettingWidth::Double: {
      double v;
      std::memcpy(&v, bytes + offset, sizeof v);
      return v;
    }
    case SettingWidth::Byte: return bytes[offset];
    case SettingWidth::None: break;
  }
  return 0;
}

class ApplyChangesTest : public ViewModelTest {
 protected:
  void SetUp() override {
    ViewModelTest::SetUp();
    prompt_ = std::make_shared<platform::ScriptedPrompt>();
    platform::SetPrompt(prompt_);
    model_->EnsureParameterRecord();
    model_->m_changeSnapshotHook = [this] { ++snapshots_; };
  }
  void TearDown() override {
    platform::SetPrompt(nullptr);
    ViewModelTest::TearDown();
  }
  CObjElement* Record() { return document_.Objects()[0]; }
  CDrawProperity& Prop() { return *Record()->GetObjectAs<CDrawProperity>(); }
  // Posts a change as the property view does; the record goes with the message.
  void Send(UINT msg, int id, PropValue value, CObjElement* object) {
    auto record = std::make_shared<PROPCHANGE>();
    record->id = id;
    record->value = std::move(value);
    record->object = object;
    weak_ = record;
    const WPARAM address = reinterpret_cast<WPARAM>(record.get());
    ASSERT_TRUE(model_->OnMessage(platform::Message{msg, address, 0, std::move(record)}));
  }
  std::string SettingsFile() {
    std::ifstream in(MachineSetFilePath(g_installDir, g_softType.load()), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  template <class T>
  CObjElement* AddObject(int type, T* object) {
    auto element = std::make_unique<CObjElement>(
        CObjCreateRecord{"obj", type, object, static_cast<int>(sizeof(T)), {}});
    element->RefreshTypeObject();
    element->UpdateBoundRect();
    CObjElement* raw = element.get();
    document_.Objects().Add(std::move(element));
    return raw;
  }

  std::shared_ptr<platform::ScriptedPrompt> prompt_;
  std::weak_ptr<PROPCHANGE> weak_;
  int snapshots_ = 0;
};

class RecordingFrame : public IViewMainFrame {
 public:
  platform::MessageTarget* GetFrameTarget() override { return &posted; }
  std::unique_ptr<IProgressBar> CreatePaneControl(int, int) override { return nullptr; }
  void ShowCursorPos(double, double) override {}
  void SetRecordText(int) override {}
  platform::QueueMessageTarget posted;
};

class ParameterChangeTest : public ApplyChangesTest, public ::testing::WithParamInterface<ParamCase> {};

TEST_P(ParameterChangeTest, WritesFieldSettingsBytesAndFileWithoutUndoSnapshot) {
  const ParamCase& c = GetParam();
  AddLine({0, 0}, {1, 1}, 0);  // a drawing object: the change marks the document
  const std::string before = SettingsFile();
  Send(c.msg, c.id, c.value, Record());
  EXPECT_NEAR(c.field(Prop()), c.expected, 1e-6);
  EXPECT_EQ(snapshots_, 0) << "machine parameters are no part of the undo history";
  EXPECT_TRUE(weak_.expired()) << "the record is freed with its message";
  EXPECT_EQ(document_.GetSavedState(), 1);
  if (c.offset < 0) {
    EXPECT_EQ(SettingsFile(), before) << "not kept in the settings file";
    return;
  }
  const auto* bytes = reinterpret_cast<const unsigned char*>(&g_machineSet);
  const double stored = SettingAt(bytes, c.offset, c.width);
  const double wanted = c.width == SettingWidth::Byte ? Prop().GetOptionByte()
                        : c.width == SettingWidth::Float ? static_cast<float>(c.expected)
                                                          : c.expected;
  EXPECT_EQ(stored, wanted);
  const std::string file = SettingsFile();
  ASSERT_EQ(file.size(), sizeof(MachineSetRecord));
  EXPECT_EQ(std::memcmp(file.data(), bytes, file.size()), 0) << "the file holds the whole record";
}

INSTANTIATE_TEST_SUITE_P(EveryControl, ParameterChangeTest, ::testing::ValuesIn(kParamCases));

// One name per offset: every control id of the tables maps to the offset its
// page and the settings file agree on.
TEST(MachineParamRulesTest, EveryControlIdMapsToItsSettingsOffset) {
  auto tableOf = [](UINT msg) -> const std::vector<MachineParamRule>& {
    switch (msg) {
      case WM_UPDATE_DRAWSIZE: return DrawSizeRules();
      case WM_UPDATE_PRINTPARAMETER: return PrintParameterRules();
      case WM_UPDATE_PRINTSETUP: return PrintSetupRules();
      default: return RoateSetRules();
    }
  };
  std::size_t rules = 0;
  for (UINT msg : {WM_UPDATE_DRAWSIZE, WM_UPDATE_PRINTPARAMETER, WM_UPDATE_PRINTSETUP, WM_UPDATE_ROATESET}) {
    rules += tableOf(msg).size();
    for (const MachineParamRule& rule : tableOf(msg)) {
      const ParamCase* found = nullptr;
      for (const ParamCase& c : kParamCases)
        if (c.msg == msg && c.id == rule.id) found = &c;
      // The continuous count is checked on its own (it posts to the frame).
      if (msg == WM_UPDATE_PRINTSETUP && rule.id == 1014) continue;
      ASSERT_NE(found, nullptr) << msg << "/" << rule.id;
      EXPECT_EQ(rule.offset, found->offset) << msg << "/" << rule.id;
      EXPECT_EQ(rule.width, found->width) << msg << "/" << rule.id;
    }
  }
  EXPECT_EQ(rules, std::size(kParamCases) + 1);
}

TEST_F(ApplyChangesTest, UnlistedIdsAndDrawingObjectsWriteNothing) {
  CObjElement* line = AddLine({0, 0}, {1, 1}, 0);
  const MachineSetRecord before = g_machineSet;
  Send(WM_UPDATE_PRINTPARAMETER, 1020, std::string("quenmart"), Record());  // the password
  Send(WM_UPDATE_PRINTPARAMETER, 1044, 5u, Record());                       // "On stable delay"
  Send(WM_UPDATE_PRINTPARAMETER, 1003, 900, line);                          // not the work area
  EXPECT_EQ(Prop().GetAcceleration(), 500);
  EXPECT_EQ(snapshots_, 0);
  EXPECT_EQ(std::memcmp(&before, &g_machineSet, sizeof before), 0);
  EXPECT_EQ(document_.GetSavedState(), 1);
}

TEST_F(ApplyChangesTest, OnlyTheParameterRecordLeavesTheDocumentUnchangedMarked) {
  Send(WM_UPDATE_PRINTPARAMETER, 1003, 900, Record());
  EXPECT_EQ(Prop().GetAcceleration(), 900);
  EXPECT_EQ(document_.GetSavedState(), 0);
}

TEST_F(ApplyChangesTest, GridSpacingFollowsTheWorkAreaPage) {
  Send(WM_UPDATE_DRAWSIZE, 1040, 2.5f, Record());
  Send(WM_UPDATE_DRAWSIZE, 1016, 3.5f, Record());
  EXPECT_EQ(g_distanceHor, 2.5f);
  EXPECT_EQ(g_distanceVer, 3.5f);
  EXPECT_EQ(model_->m_dotPitchX, 2.5f);
  EXPECT_EQ(model_->m_dotPitchY, 3.5f);
  EXPECT_EQ(snapshots_, 0);
  EXPECT_EQ(window_.invalidates, 2);
  // New dot images take the same spacing as their cell.
  EXPECT_EQ(CObjDotCollect().GetCellWidth(), 2.5);
  EXPECT_EQ(CObjDotCollect().GetCellHeight(), 3.5);
}

TEST_F(ApplyChangesTest, DefaultGridOfADotImageBecomesTheProgramsSpacing) {
  auto* dots = new CObjDotCollect();
  CObjElement* element = AddObject(OBJ_DOTIMAGE, dots);
  Send(WM_UPDATE_DOTMATRIX, 1041, FloatPair{0.5f, 0.25f}, element);
  EXPECT_EQ(g_distanceHor, 0.5f);
  EXPECT_EQ(g_distanceVer, 0.25f);
  EXPECT_EQ(CObjDotCollect().GetCellWidth(), 0.5);
  EXPECT_EQ(CObjDotCollect().GetCellHeight(), 0.25);
  EXPECT_EQ(dots->GetCellWidth(), 10.0) << "the dot image itself keeps its cells";
}

TEST_F(ApplyChangesTest, ClearCounterAsksAndOnlyYesClears) {
  prompt_->QueueAnswer(IDNO);
  Send(WM_UPDATE_PRINTSETUP, 1169, {}, Record());
  ASSERT_EQ(prompt_->Texts().size(), 1u);
  EXPECT_EQ(prompt_->Texts()[0], "Are you clear the current marked counter?");
  EXPECT_EQ(snapshots_, 0);
}

TEST_F(ApplyChangesTest, ClearCounterOnYesZeroesTheCounterAndShowsIt) {
  CMarkControlWnd control;
  control.successCount = 42;
  RecordingFrame frame;
  model_->SetMainFrame(&frame);
  model_->SetMarkControl(&control);
  prompt_->QueueAnswer(IDYES);
  Send(WM_UPDATE_PRINTSETUP, 1169, {}, Record());
  EXPECT_EQ(control.successCount.load(), 0);
  int stored = -1;
  EXPECT_TRUE(ReadRegDword("SuccessedNum", stored));
  EXPECT_EQ(stored, 0);
  const auto messages = frame.posted.Drain();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].msg, WM_SHOW_MARK_COUNT);
  EXPECT_EQ(messages[0].wParam, 0u);
  model_->SetMarkControl(nullptr);
  model_->SetMainFrame(nullptr);
}

TEST_F(ApplyChangesTest, MotherLineTestIsRefusedOnTheUsbBoard) {
  g_softType = SOFT_TYPE_USB;
  Send(WM_UPDATE_ROATESET, 1182, {}, Record());
  ASSERT_EQ(prompt_->Texts().size(), 1u);
  EXPECT_EQ(prompt_->Texts()[0], "USB mode can not support this function!");
}

TEST_F(ApplyChangesTest, ContinueTimesShowsTheNewTotalWithoutSaving) {
  RecordingFrame frame;
  model_->SetMainFrame(&frame);
  const std::string before = SettingsFile();
  Send(WM_UPDATE_PRINTSETUP, 1014, 7u, Record());
  EXPECT_EQ(Prop().GetContinuousCount(), 7);
  EXPECT_EQ(SettingsFile(), before);
  EXPECT_EQ(snapshots_, 0);
  const auto messages = frame.posted.Drain();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].msg, WM_SHOW_MARK_STATUS);
  EXPECT_EQ(messages[0].wParam, 7u);
  EXPECT_EQ(messages[0].lParam, 0);
  model_->SetMainFrame(nullptr);
}

// Shapes.

TEST_F(ApplyChangesTest, LineEndpointsByControlId) {
  CObjElement* line = AddLine({0, 0}, {10, 0}, 0);
  const struct {
    int id;
    double value;
    int point;
    bool isX;
  } cases[] = {{1001, 1.5, 0, true}, {1002, 2.5, 0, false}, {1003, 20.5, 1, true}, {1004, -3.5, 1, false}};
  for (const auto& c : cases) {
    snapshots_ = 0;
    Send(WM_UPDATE_OBJLINE, c.id, c.value, line);
    const CDoublePoint& p = line->GetObjectAs<CObjLine>()->GetPathData().points[c.point];
    EXPECT_EQ(c.isX ? p.x : p.y, c.value) << c.id;
    EXPECT_EQ(snapshots_, 1) << c.id;
  }
  EXPECT_DOUBLE_EQ(line->GetObjectAs<CObjLine>()->GetLength(), std::hypot(19.0, -6.0));
}

TEST_F(ApplyChangesTest, PolylineVertexOutsideTheCountIsRefused) {
  CPointList list;
  for (CDoublePoint p : {CDoublePoint(0, 0), CDoublePoint(10, 0), CDoublePoint(10, 10)}) list.Add(p);
  auto* poly = new CObjPolyLine(list, 1, 0);
  CObjElement* element = AddObject(OBJ_POLYLINE, poly);
  const int count = poly->GetVertexCount();
  ASSERT_EQ(count, 4);  // the closing copy
  for (int number : {0, -1, count + 1}) {
    poly->SetCurrentVertex(number);
    Send(WM_UPDATE_POLYLINE, 1014, 99.0, element);
  }
  EXPECT_EQ(snapshots_, 0);
  for (int i = 0; i < count; ++i) EXPECT_NE(poly->GetPathData().points[i].x, 99.0);
  poly->SetCurrentVertex(2);
  Send(WM_UPDATE_POLYLINE, 1016, 0, element);
  EXPECT_EQ(poly->GetCurrentVertex(), 2);
  Send(WM_UPDATE_POLYLINE, 1016, 3, element);
  EXPECT_EQ(poly->GetCurrentVertex(), 3);
}

TEST_F(ApplyChangesTest, ClosedPolylineKeepsItsClosingCopyInStep) {
  CPointList list;
  for (CDoublePoint p : {CDoublePoint(0, 0), CDoublePoint(10, 0), CDoublePoint(10, 10)}) list.Add(p);
  auto* poly = new CObjPolyLine(list, 1, 0);
  CObjElement* element = AddObject(OBJ_POLYLINE, poly);
  poly->SetCurrentVertex(1);
  Send(WM_UPDATE_POLYLINE, 1014, -5.0, element);
  Send(WM_UPDATE_POLYLINE, 1015, 7.0, element);
  const CPointList& v = poly->GetPathData().points;
  EXPECT_EQ(v[0].x, -5.0);
  EXPECT_EQ(v[3].x, -5.0);
  EXPECT_EQ(v[3].y, 7.0);
  EXPECT_EQ(snapshots_, 2);
}

CObjPolyLine* Rectangle(double l, double t, double r, double b) {
  CPointList list;
  for (CDoublePoint p : {CDoublePoint(l, t), CDoublePoint(r, t), CDoublePoint(r, b), CDoublePoint(l, b)}) list.Add(p);
  return new CObjPolyLine(list, 1, 0);
}

TEST_F(ApplyChangesTest, RectangleSidesMoveTheirVerticesAndTheClosingOne) {
  auto* rect = Rectangle(0, 10, 20, 0);
  CObjElement* element = AddObject(OBJ_RECTANGLE, rect);
  Send(WM_UPDATE_OBJRECT, 1014, -4.0, element);
  Send(WM_UPDATE_OBJRECT, 1015, 30.0, element);
  Send(WM_UPDATE_OBJRECT, 1016, 12.0, element);
  Send(WM_UPDATE_OBJRECT, 1017, -2.0, element);
  const CPointList& v = rect->GetPathData().points;
  ASSERT_EQ(v.GetSize(), 5);
  EXPECT_EQ(v[0].x, -4.0);
  EXPECT_EQ(v[3].x, -4.0);
  EXPECT_EQ(v[1].x, 30.0);
  EXPECT_EQ(v[2].x, 30.0);
  EXPECT_EQ(v[0].y, 12.0);
  EXPECT_EQ(v[1].y, 12.0);
  EXPECT_EQ(v[2].y, -2.0);
  EXPECT_EQ(v[3].y, -2.0);
  EXPECT_EQ(v[4].x, -4.0);
  EXPECT_EQ(v[4].y, 12.0);
  EXPECT_EQ(snapshots_, 4);
  EXPECT_EQ(element->boundRect.left, -4.0);
}

TEST_F(ApplyChangesTest, MultiBorderCountIsClampedAndSetsTheStartAngle) {
  MultiBorderDialogRecord record;
  auto* border = new CObjMultiBorder(record);
  CObjElement* element = AddObject(OBJ_MULTIBORDER, border);
  const struct {
    int sides;
    int stored;
    double angle;
  } cases[] = {{2, 3, 90}, {4, 4, 90}, {6, 6, 60}, {5, 5, 90}, {361, 360, 1}};
  for (const auto& c : cases) {
    Send(WM_UPDATE_MBORDER, 1018, c.sides, element);
    EXPECT_EQ(border->GetSides(), c.stored) << c.sides;
    EXPECT_DOUBLE_EQ(border->GetStartAngle(), c.angle) << c.sides;
  }
  Send(WM_UPDATE_MBORDER, 1017, 25.0, element);
  Send(WM_UPDATE_MBORDER, 1014, 3.0, element);
  EXPECT_EQ(border->GetRadius(), 25.0);
  EXPECT_EQ(border->GetCentre().x, 3.0);
  EXPECT_EQ(snapshots_, 7);
}

TEST_F(ApplyChangesTest, ArcValuesAndRadiiOfNoSize) {
  ArcDialogRecord record;
  auto* arc = new CObjArc(record);
  CObjElement* element = AddObject(OBJ_ARC, arc);
  Send(WM_UPDATE_OBJARC, 1014, 5.0, element);
  Send(WM_UPDATE_OBJARC, 1015, 6.0, element);
  Send(WM_UPDATE_OBJARC, 1016, 12.0, element);
  Send(WM_UPDATE_OBJARC, 1019, 0.0, element);
  Send(WM_UPDATE_OBJARC, 1017, 30.0f, element);
  Send(WM_UPDATE_OBJARC, 1018, 120.0f, element);
  EXPECT_EQ(arc->GetCentre().x, 5.0);
  EXPECT_EQ(arc->GetCentre().y, 6.0);
  EXPECT_EQ(arc->GetXRadius(), 12.0);
  EXPECT_GT(arc->GetYRadius(), 0.0) << "a radius of 0 never reaches the path";
  EXPECT_EQ(arc->GetStartAngle(), 30.0f);
  EXPECT_EQ(arc->GetEndAngle(), 120.0f);
  EXPECT_EQ(snapshots_, 6);
}

// A decoder that hands out a white 10 x 10 picture with three black pixels.
class DotPictureDecoder : public platform::PictureDecoder {
 public:
  bool Decode(std::string_view, platform::PictureBitmap& out) override {
    out = platform::PictureBitmap::Make(10, 10, 24);
    std::fill(out.bits.begin(), out.bits.end(), 0xFF);
    for (auto [x, row] : {std::pair{2, 2}, std::pair{7, 2}, std::pair{2, 7}})
      for (int k = 0; k < 3; ++k) out.bits[static_cast<std::size_t>(row * out.bytesPerRow + 3 * x + k)] = 0;
    return true;
  }
};

TEST_F(ApplyChangesTest, PicturePageSizesAndConversionToDots) {
  platform::SetPictureDecoder(std::make_shared<DotPictureDecoder>());
  auto* image = new CObjImage();
  ASSERT_TRUE(image->LoadFromBytes("picture"));
  CObjElement* element = AddObject(OBJ_PICTURE, image);
  const double width = image->GetWidthMM();
  Send(WM_UPDATE_OBJIMAGESIZE, 1167, 0.0f, element);
  Send(WM_UPDATE_OBJIMAGESIZE, 1168, -1.0f, element);
  EXPECT_DOUBLE_EQ(image->GetWidthMM(), width) << "a size of no extent is refused";
  Send(WM_UPDATE_OBJIMAGESIZE, 1167, 20.0f, element);
  Send(WM_UPDATE_OBJIMAGESIZE, 1168, 20.0f, element);
  EXPECT_NEAR(image->GetWidthMM(), 20.0, 1e-9);
  EXPECT_NEAR(image->GetHeightMM(), 20.0, 1e-9);
  Send(WM_UPDATE_OBJIMAGESIZE, 1165, -10.0f, element);
  Send(WM_UPDATE_OBJIMAGESIZE, 1166, 10.0f, element);
  EXPECT_EQ(image->GetPosition().x, -10.0);
  EXPECT_EQ(image->GetPosition().y, 10.0);
  Send(WM_UPDATE_OBJIMAGESIZE, 1169, 0.0f, element);
  Send(WM_UPDATE_OBJIMAGESIZE, 1170, 2.0f, element);
  EXPECT_GT(image->GetDotWidth(), 0.0f) << "a dot of no size is refused";
  EXPECT_EQ(image->GetDotHeight(), 2.0f);
  snapshots_ = 0;
  const int before = document_.Objects().GetSize();
  Send(WM_UPDATE_OBJIMAGESIZE, 1007, {}, element);
  ASSERT_EQ(document_.Objects().GetSize(), before + 1) << "a new dot image beside the picture";
  CObjElement* made = document_.Objects()[before];
  EXPECT_EQ(made->type, OBJ_DOTIMAGE);
  ASSERT_NE(made->GetObjectAs<CObjDotCollect>(), nullptr);
  EXPECT_EQ(made->GetObjectAs<CObjDotCollect>()->GetDotCount(), 3);
  EXPECT_EQ(snapshots_, 1);
  ASSERT_EQ(model_->m_selection.size(), 1u);
  EXPECT_EQ(model_->m_selection[0], made);
  EXPECT_EQ(element->type, OBJ_PICTURE) << "the picture stays";
  platform::SetPictureDecoder(nullptr);
}

TEST_F(ApplyChangesTest, MarkPropertiesAndDefaultColourSparePictures) {
  CObjElement* line = AddLine({0, 0}, {1, 1}, 0);
  auto* image = new CObjImage();
  CObjElement* picture = AddObject(OBJ_PICTURE, image);
  picture->color = 5;
  const struct {
    int id;
    PropValue value;
    std::function<double()> field;
    double expected;
  } cases[] = {
      {1014, 100u, [&] { return line->penDownDelay; }, 100},
      {1015, 50u, [&] { return line->penChangeDelay; }, 50},
      {1016, 3u, [&] { return line->markCount; }, 3},
      {1017, 12.5f, [&] { return line->emptySpeed; }, 12.5},
      {1018, 7.5f, [&] { return line->lineSpeed; }, 7.5},
      {1048, 0, [&] { return line->IsMarkEnabled(); }, 0},
      {1116, 2, [&] { return line->id; }, 2},
      {1162, 3, [&] { return line->layer; }, 3},
      {1166, 1, [&] { return line->queryKey; }, 1},
      {1172, 0x123456, [&] { return line->color; }, 0x123456},
  };
  for (const auto& c : cases) {
    snapshots_ = 0;
    Send(WM_UPDATE_PRINTPROPERITY, c.id, c.value, line);
    EXPECT_EQ(c.field(), c.expected) << c.id;
    EXPECT_EQ(snapshots_, 1) << c.id;
  }
  Send(WM_UPDATE_PRINTPROPERITY, 1173, 0x00FF00, line);
  EXPECT_EQ(line->color, 0x00FF00);
  EXPECT_EQ(picture->color, 5);
  EXPECT_EQ(CurrentDefaultColor, 0x00FF00);
}

TEST_F(ApplyChangesTest, FillPageWritesTheElement) {
  auto* rect = Rectangle(0, 10, 20, 0);
  CObjElement* element = AddObject(OBJ_RECTANGLE, rect);
  Send(WM_UPDATE_FILLOBJ, 1014, 45.0f, element);
  Send(WM_UPDATE_FILLOBJ, 1015, 0.5f, element);
  Send(WM_UPDATE_FILLOBJ, 1114, 1, element);
  Send(WM_UPDATE_FILLOBJ, 1115, 1, element);
  EXPECT_EQ(element->fillAngle, 45.0f);
  EXPECT_EQ(element->fillSpacing, 0.5f);
  EXPECT_EQ(element->IsFillOn(), 1);
  EXPECT_EQ(element->IsDiscardBorder(), 1);
  EXPECT_EQ(snapshots_, 4);
}

// Spacing a comb's fill down to 0.03 mm asks for 1.3 million strokes: the
// fill is left out and the operator told, once per change that cuts it.
TEST_F(ApplyChangesTest, AFillSpacingTooFineForTheShapeTellsTheOperator) {
  CPointList outline = CombOutline(200);
  CObjElement* element = AddObject(OBJ_POLYLINE, new CObjPolyLine(outline, 1, 0));
  element->name = "comb";
  Send(WM_UPDATE_FILLOBJ, 1015, 0.5f, element);
  Send(WM_UPDATE_FILLOBJ, 1114, 1, element);
  EXPECT_TRUE(prompt_->Texts().empty()) << "80 000 strokes are filled";
  EXPECT_GT(element->GetPath()->GetGroupAt(0)->GetFillList().GetSize(), 0);
  Send(WM_UPDATE_FILLOBJ, 1015, 0.03f, element);
  EXPECT_EQ(prompt_->Texts(), std::vector<std::string>{"The fill of \"comb\" needs more strokes than can be marked and "
                                                       "is left out: choose a wider fill spacing."});
  EXPECT_EQ(element->GetPath()->GetGroupAt(0)->GetFillList().GetSize(), 0);
}

// A project past its budget may leave thousands of objects empty: the notice
// names the first twenty and counts the rest, so its box still fits a screen.
TEST(LeftEmptyNoticeTest, NamesTwentyAndCountsTheRest) {
  std::vector<std::string> names;
  std::string shown;
  for (int i = 1; i <= 23; ++i) {
    names.push_back("t" + std::to_string(i));
    if (i <= 20) shown += (i > 1 ? ", \"t" : "\"t") + std::to_string(i) + "\"";
  }
  const std::string lead =
      "The project needs more strokes or picture memory than can be held together; these objects are left empty: ";
  EXPECT_EQ(LeftEmptyNotice(names), lead + shown + " and 3 more.");
  names.resize(20);
  EXPECT_EQ(LeftEmptyNotice(names), lead + shown + ".");
}

TEST_F(ApplyChangesTest, RenameAndListSelection) {
  CObjElement* line = AddLine({0, 0}, {10, 5}, 0);
  Send(WM_UPDATE_OBJNAME, 1001, std::string("outline"), line);
  EXPECT_EQ(line->name, "outline");
  EXPECT_EQ(snapshots_, 1);
  Send(WM_LIST_SELECTED, -1, {}, line);
  ASSERT_EQ(model_->m_selection.size(), 1u);
  EXPECT_EQ(line->selected, 1);
  EXPECT_EQ(model_->m_selBounds.right, line->boundRect.right);
  Send(WM_LIST_SELECTED, -1, {}, Record());
  EXPECT_TRUE(model_->m_selection.empty()) << "the work area is never selected";
}

}  // namespace

// Undo and Redo never take the machine parameters back: the settings file was
// written when they changed, and the layout's record stays with it.
TEST_F(ApplyChangesTest, UndoOverAParameterChangeKeepsTheRecordWithTheSettingsFile) {
  CObjElement* line = AddLine({0, 0}, {1, 1}, 0);
  Send(WM_UPDATE_OBJLINE, 1003, 5.0, line);  // an undoable change before
  Send(WM_UPDATE_DRAWSIZE, 1010, 250.0, Record());
  const std::string written = SettingsFile();
  ASSERT_TRUE(model_->CanUndo());
  model_->RunCommand(CVendrikViewModel::ID_EDIT_UNDO, true);
  EXPECT_DOUBLE_EQ(Prop().GetRangeX(), 250.0);
  EXPECT_FLOAT_EQ(g_machineSet.rangeX, 250.0f);
  EXPECT_EQ(SettingsFile(), written);
  // The line's change was undone.
  ASSERT_EQ(document_.Objects().GetSize(), 2);
  EXPECT_NEAR(document_.Objects()[1]->boundRect.right, 1.0, 1e-6);
  model_->RunCommand(CVendrikViewModel::ID_EDIT_REDO, true);
  EXPECT_DOUBLE_EQ(Prop().GetRangeX(), 250.0);
  EXPECT_NEAR(document_.Objects()[1]->boundRect.right, 5.0, 1e-6);
}
