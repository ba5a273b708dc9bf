// The layout view's model: coordinates, scroll extents, mark bounds, the
// marking controller's call-backs, the settings it reads and the print fit.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

#include "app/views/model/CVendrikViewModel.h"
#include "document/geometry/SharedHelpers.h"
#include "document/objects/CObjDotCollect.h"
#include "document/objects/CObjElement.h"
#include "marking/link/LinkMessages.h"
#include "platform/InstallDir.h"
#include "tests/app/views/ViewModelFixture.h"
#include "values/ShellValues.h"

namespace {

struct ZoomScroll {
  float zoom;
  platform::DcPoint scroll;
};

class CoordinatesTest : public ViewModelTest, public ::testing::WithParamInterface<ZoomScroll> {};

void WriteFile(const std::string& path, const void* data, std::size_t size) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fwrite(data, 1, size, f);
  std::fclose(f);
}

}  // namespace

TEST_P(CoordinatesTest, MillimetresToPixelsAndBack) {
  model_->m_zoom = GetParam().zoom;
  window_.scroll = GetParam().scroll;
  const platform::DcPoint origin{350, 300};
  for (const auto& [x, y] : {std::pair{0.0, 0.0}, {12.5, -7.25}, {-40.0, 30.0}, {49.75, -39.5}}) {
    const platform::DcPoint p = model_->MmToScreen(x, y, origin);
    // Hand-worked: pixels = z x 4 x mm about the origin, y up.
    EXPECT_EQ(p.x, static_cast<int>(GetParam().zoom * 4 * x + 350));
    EXPECT_EQ(p.y, 300 - static_cast<int>(GetParam().zoom * 4 * y));
    // The client point of that scroll-area pixel maps back within a pixel.
    const CDoublePoint back = model_->ScreenToMm(p.x - window_.scroll.x, p.y - window_.scroll.y, origin);
    const double pixelMm = 1.0 / (GetParam().zoom * 4);
    EXPECT_NEAR(back.x, x, pixelMm) << x;
    EXPECT_NEAR(back.y, y, pixelMm) << y;
    EXPECT_EQ(back.flag, 0);
  }
}

INSTANTIATE_TEST_SUITE_P(ZoomsAndScrolls, CoordinatesTest,
                         ::testing::Values(ZoomScroll{1.0f, {0, 0}}, ZoomScroll{0.25f, {10, 20}},
                                           ZoomScroll{2.5f, {300, 150}}, ZoomScroll{16.0f, {5000, 4000}}));

TEST_F(ViewModelTest, AddPointToolSnapsToTheDotPitch) {
  model_->m_toolCode = 1;
  model_->m_dotPitchX = 2;
  model_->m_dotPitchY = 2;
  const CDoublePoint p = model_->ScreenToMm(350 + 13, 300 - 13, {350, 300});  // (3.25, 3.25) mm
  EXPECT_DOUBLE_EQ(p.x, 3);
  EXPECT_DOUBLE_EQ(p.y, 3);
}

TEST_F(ViewModelTest, ScrollExtentIsTheAreaPlus50OrTheClientPlus100) {
  // 100 mm at 4 px/mm, zoom 1.
  EXPECT_EQ(CVendrikViewModel::ScrollExtent(100, 4, 1, 300), 450);
  EXPECT_EQ(CVendrikViewModel::ScrollExtent(100, 4, 1, 500), 600);
  EXPECT_EQ(CVendrikViewModel::ScrollExtent(100, 4, 2, 500), 850);
  // A damaged range gives the client's extent, not an overflow.
  EXPECT_EQ(CVendrikViewModel::ScrollExtent(std::nan(""), 4, 1, 500), 600);
  EXPECT_EQ(CVendrikViewModel::ScrollExtent(1e30, 4, 1, 500), 1000000050);
}

TEST_F(ViewModelTest, ScrollExtentsAreSetAndCentred) {
  window_.width = 300;
  window_.height = 200;
  model_->UpdateScrollExtents();
  EXPECT_EQ(window_.extentW, 450);
  EXPECT_EQ(window_.extentH, 370);
  EXPECT_EQ(window_.scroll, (platform::DcPoint{450 / 2 - 150, 370 / 2 - 100}));
  EXPECT_EQ(model_->Origin(), (platform::DcPoint{225, 185}));
}

TEST_F(ViewModelTest, SelectionBoundsAreTheUnionOrTwoMillimetresAboutZero) {
  CDoubleRect bounds;
  model_->GetSelectionBounds(bounds);
  EXPECT_EQ(bounds, CDoubleRect(-2, 2, 2, -2));
  model_->m_selection.Set({AddLine({0, 0, 0}, {10, 5, 1}, 0), AddLine({-20, -3, 0}, {-10, 2, 1}, 0)});
  model_->GetSelectionBounds(bounds);
  EXPECT_EQ(bounds, CDoubleRect(-20, 5, 10, -3));
}

TEST_F(ViewModelTest, CountdownShowsTheSecondsLeftAndRepaintsItsRectangle) {
  model_->StartCountdown(5);
  EXPECT_EQ(model_->m_bCountdown.load(), 1);
  EXPECT_EQ(model_->CountdownText(), "\xE5\x89\xA9 5 \xE7\xA7\x92");
  EXPECT_EQ(window_.invalidates, 1);
  model_->UpdateCountdown(4);
  ASSERT_EQ(window_.rects.size(), 1u);
  EXPECT_EQ(window_.rects[0], model_->CountdownRect());
  EXPECT_EQ(model_->CountdownText(), "\xE5\x89\xA9 4 \xE7\xA7\x92");
  model_->EndCountdown();
  EXPECT_EQ(model_->m_bCountdown.load(), 0);
}

TEST_F(ViewModelTest, RefreshPointedWithAFlagClearsSelectionAndTool) {
  CObjElement* a = AddLine({0, 0, 0}, {10, 5, 1}, 0);
  a->selected = 1;
  model_->m_selection.Set({a});
  model_->m_toolCode = 4;
  model_->RefreshPointed(0);
  EXPECT_EQ(model_->m_selection.size(), 1u);
  model_->RefreshPointed(1);
  EXPECT_TRUE(model_->m_selection.empty());
  EXPECT_EQ(a->selected, 0);
  EXPECT_EQ(model_->m_toolCode, 0);
  EXPECT_EQ(window_.rects.size(), 2u);
}

TEST_F(ViewModelTest, StartButtonMessageAsksForTheStartMarkCommand) {
  platform::QueueMessageTarget target;
  model_->SetTarget(&target);
  EXPECT_TRUE(model_->OnMessage(platform::Message{WM_HARD_START, 0, 0, {}}));
  const auto posted = target.Drain();
  ASSERT_EQ(posted.size(), 1u);
  EXPECT_EQ(posted[0].msg, WM_COMMAND);
  EXPECT_EQ(posted[0].wParam, 32822u);
}

TEST_F(ViewModelTest, RegistryValuesAreReadAtConstructionAndWrittenBack) {
  WriteRegFloat("DistanceVer", 2.5f);
  WriteRegFloat("DistanceHor", 0.5f);
  WriteRegDword("AutoLinkExcel", 1);
  WriteRegDword("ExcelRowIndex", 7);
  {
    CVendrikViewModel model;
    EXPECT_FLOAT_EQ(g_distanceVer, 2.5f);
    EXPECT_FLOAT_EQ(g_distanceHor, 0.5f);
    // The one spacing: new dot images take it as their cell.
    EXPECT_DOUBLE_EQ(CObjDotCollect().GetCellWidth(), 0.5);
    EXPECT_DOUBLE_EQ(CObjDotCollect().GetCellHeight(), 2.5);
    EXPECT_EQ(model.m_autoLinkExcel, 1);
    EXPECT_EQ(model.m_excelRowIndex, 7);
    EXPECT_EQ(model.m_paperPrinter, 0);
    model.m_excelRowIndex = 9;
    model.m_paperPrinter = 1;
  }
  int row = 0;
  int printer = 0;
  ReadRegDword("ExcelRowIndex", row);
  ReadRegDword("PaperPrinter", printer);
  EXPECT_EQ(row, 9);
  EXPECT_EQ(printer, 1);
}

TEST_F(ViewModelTest, MissingSpreadsheetRecordSwitchesTheLinkOff) {
  model_->m_autoLinkExcel = 1;
  model_->LoadSettingsFiles();
  EXPECT_EQ(model_->m_autoLinkExcel, 0);
  _EXCEL_FILE_PARA para;
  para.sheetIndex = 2;
  std::strcpy(para.filePath, "/data/rows.xlsx");
  WriteFile(platform::JoinInstallPath(folder_, "ExcelMarkPara.dat"), &para, sizeof para);
  model_->m_autoLinkExcel = 1;
  model_->LoadSettingsFiles();
  EXPECT_EQ(model_->m_autoLinkExcel, 1);
  EXPECT_EQ(model_->m_excelPara.sheetIndex, 2);
  EXPECT_STREQ(model_->m_excelPara.filePath, "/data/rows.xlsx");
}

TEST_F(ViewModelTest, PaperPrintSettingsAreCorrectedWhenRead) {
  PaperPrintSet missing = LoadPaperPrintSet(folder_);
  EXPECT_EQ(missing.dpi, 300);
  EXPECT_FLOAT_EQ(missing.edgeX, 0.5f);
  EXPECT_FLOAT_EQ(missing.customScale, 100.0f);
  PaperPrintSet stored;
  stored.dpi = 0;
  stored.lineWidthIndex = -3;
  stored.scaleMode = 2;
  stored.edgeX = 0;
  stored.edgeY = 4;
  stored.customScale = 5000;
  stored.reserved12[0] = 0x5A;
  WriteFile(platform::JoinInstallPath(folder_, "PaperPrintSet.DAT"), &stored, sizeof stored);
  const PaperPrintSet read = LoadPaperPrintSet(folder_);
  EXPECT_EQ(read.dpi, 300);
  EXPECT_EQ(read.lineWidthIndex, 0);
  EXPECT_EQ(read.scaleMode, 2);
  EXPECT_FLOAT_EQ(read.edgeX, 0.5f);
  EXPECT_FLOAT_EQ(read.edgeY, 4.0f);
  EXPECT_FLOAT_EQ(read.customScale, 1000.0f);
  EXPECT_EQ(read.reserved12[0], 0x5A);
}

TEST_F(ViewModelTest, ReferenceArcWithCoincidentPointsIsOff) {
  ArcPointedInfo info;
  info.point1X = info.point2X = 3;
  info.point1Y = 1;
  info.point2Y = 1.005f;
  info.arcOn = info.arcBuilt = 1;
  WriteFile(platform::JoinInstallPath(folder_, "ArcPointedInfo.DAT"), &info, sizeof info);
  ArcPointedInfo read = LoadArcPointedInfo(folder_);
  EXPECT_EQ(read.arcOn, 0);
  EXPECT_EQ(read.arcBuilt, 0);
  info.point2Y = 5;
  WriteFile(platform::JoinInstallPath(folder_, "ArcPointedInfo.DAT"), &info, sizeof info);
  read = LoadArcPointedInfo(folder_);
  EXPECT_EQ(read.arcOn, 1);
  EXPECT_FLOAT_EQ(read.point2Y, 5);
  // A short file is not taken half.
  WriteFile(platform::JoinInstallPath(folder_, "ArcPointedInfo.DAT"), &info, 100);
  EXPECT_EQ(LoadArcPointedInfo(folder_).point1X, 0);
}

TEST_F(ViewModelTest, InitialUpdateMakesTheParameterRecordAndTheExtents) {
  window_.width = 300;
  window_.height = 200;
  model_->OnInitialUpdate();
  ASSERT_EQ(document_.Objects().GetSize(), 1);
  EXPECT_EQ(document_.Objects().GetAt(0)->type, OBJ_PROPERITY);
  EXPECT_EQ(window_.extentW, 450);
  EXPECT_GT(window_.invalidates, 0);
}

struct PrintCase {
  const char* name;
  int scaleMode;
  float customScale;
  CDoubleRect drawing;
  double fit;  // millimetres of paper per millimetre of layout
};

class PrintScaleTest : public ViewModelTest, public ::testing::WithParamInterface<PrintCase> {};

// A4 at 300 dpi: 2480 x 3508 dots, 0.5 mm margins leave 208.97 x 296.01 mm.
TEST_P(PrintScaleTest, FitsTheDrawingToThePaper) {
  const PrintCase& c = GetParam();
  model_->m_paperPrintSet = PaperPrintSet{};
  CorrectPaperPrintSet(model_->m_paperPrintSet);
  model_->m_paperPrintSet.scaleMode = c.scaleMode;
  model_->m_paperPrintSet.customScale = c.customScale;
  const double zoom = model_->PrintScale(PrintPage{2480, 3508, 300}, c.drawing);
  // Draw multiplies by 4 px/mm; the printer has 300 / 25.4 dots per mm.
  EXPECT_NEAR(zoom * 4 / (300 / 25.4), c.fit, 1e-3) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Modes, PrintScaleTest,
    ::testing::Values(PrintCase{"auto", 0, 100, CDoubleRect(-50, 25, 50, -25), 2480 / 300.0 * 25.4 / 100 - 0.01},
                      PrintCase{"actual size at most", 1, 100, CDoubleRect(-50, 25, 50, -25), 1.0},
                      PrintCase{"custom", 2, 50, CDoubleRect(-50, 25, 50, -25), 0.5},
                      PrintCase{"too big", 0, 100, CDoubleRect(0, 2960.1, 1, 0), 0.1},
                      PrintCase{"a point", 0, 100, CDoubleRect(3, 3, 3, 3), 1.0}),
    [](const auto& info) {
      std::string name = info.param.name;
      for (char& ch : name) if (ch == ' ') ch = '_';
      return name;
    });

TEST_F(ViewModelTest, PrintPenWidthFollowsTheWidthStep) {
  for (const auto& [step, width] : {std::pair{0, 1}, {9, 10}, {10, 13}, {14, 25}}) {
    model_->m_paperPrintSet.lineWidthIndex = step;
    EXPECT_EQ(model_->PrintPenWidth(), width) << step;
  }
}

// A damaged record's index past the dialog's list is read as its last
// choice, so the print's pen stays the widest the dialog offers.
class DamagedLineWidthTest : public ViewModelTest, public ::testing::WithParamInterface<std::int32_t> {};

TEST_P(DamagedLineWidthTest, IsClampedToTheDialogsListWhenRead) {
  PaperPrintSet stored;
  stored.lineWidthIndex = GetParam();
  WriteFile(platform::JoinInstallPath(folder_, "PaperPrintSet.DAT"), &stored, sizeof stored);
  model_->OnInitialUpdate();
  EXPECT_EQ(model_->m_paperPrintSet.lineWidthIndex, 14);
  EXPECT_EQ(model_->PrintPenWidth(), 25);
}

INSTANTIATE_TEST_SUITE_P(Indexes, DamagedLineWidthTest,
                         ::testing::Values(14, 15, 715827890, std::numeric_limits<std::int32_t>::max()));

namespace {

// Records the calls the view makes on the property pane.
class RecordingPropView : public CProperityViewCalls {
 public:
  int AddObject(CObjElement* object, int notify) override {
    calls.push_back("AddObject " + std::to_string(notify));
    added.push_back(object);
    return 0;
  }
  void SelectListIndex(int index) override { calls.push_back("SelectListIndex " + std::to_string(index)); }
  void ShowObject(CObjElement*) override { calls.push_back("ShowObject"); }
  void SetObjectName(const std::string& name) override { calls.push_back("SetObjectName " + name); }
  bool HitTest(const CDoublePoint&, CObjElement*& object, int& index) override {
    object = nullptr;
    index = 0;
    return false;
  }
  void SelectObject(CObjElement*, int) override { calls.push_back("SelectObject"); }
  void RefreshSheet(CObjElement*, int) override { calls.push_back("RefreshSheet"); }
  void ReloadPages(CObjElement*) override { calls.push_back("ReloadPages"); }
  void FillObjectList(const CObjPtrArray& objects) override {
    calls.push_back("FillObjectList " + std::to_string(objects.GetSize()));
  }
  void RemoveObject(CObjElement*) override { calls.push_back("RemoveObject"); }

  std::vector<std::string> calls;
  std::vector<CObjElement*> added;
};

}  // namespace

TEST_F(ViewModelTest, InitialUpdateListsTheParameterRecord) {
  RecordingPropView list;
  model_->SetPropertyView(&list);
  model_->OnInitialUpdate();
  EXPECT_EQ(list.calls, (std::vector<std::string>{"AddObject 0", "FillObjectList 1"}));
  ASSERT_EQ(list.added.size(), 1u);
  EXPECT_EQ(list.added[0], document_.Objects().GetAt(0));
  // Without a pane the calls go nowhere.
  model_->SetPropertyView(nullptr);
  EXPECT_EQ(model_->m_pPropView->AddObject(nullptr, 1), 0);
}

TEST_F(ViewModelTest, LoadingAProjectFillsTheListAndARefusedOneKeepsTheRecord) {
  RecordingPropView list;
  model_->SetPropertyView(&list);
  AddLine({0, 0, 0}, {1, 1, 1}, 0);
  model_->m_selection.Set({document_.Objects().GetAt(0)});
  const std::string refused = folder_ + "/notes.mrk";
  WriteFile(refused, "not a project\r\n", 15);
  EXPECT_FALSE(model_->OnLoadMrkFile(refused));
  // A refused file changes nothing.
  ASSERT_EQ(document_.Objects().GetSize(), 1);
  EXPECT_EQ(document_.Objects().GetAt(0)->type, OBJ_LINE);
  EXPECT_TRUE(document_.GetPathName().empty());

  const std::string good = std::string(VENDRIK_TEST_DATA_DIR) + "/mrk/layout2008.mrk";
  EXPECT_TRUE(model_->OnLoadMrkFile(good));
  EXPECT_GT(document_.Objects().GetSize(), 1);
  EXPECT_EQ(document_.GetPathName(), good);
  EXPECT_TRUE(model_->m_selection.empty());
  ASSERT_GE(list.calls.size(), 2u);
  EXPECT_EQ(list.calls[list.calls.size() - 2], "FillObjectList " + std::to_string(document_.Objects().GetSize()));
  EXPECT_EQ(list.calls.back(), "SelectListIndex 0");
}
