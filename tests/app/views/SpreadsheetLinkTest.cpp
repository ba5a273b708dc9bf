// The spreadsheet link of the layout view against workbooks written here:
// switching the link, dialog 183's record, stepping through the rows and the
// texts that take the cells of the current row.
#include <xlsxwriter.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "app/core/CommandIds.h"
#include "app/views/model/CVendrikViewModel.h"
#include "platform/InstallDir.h"
#include "platform/Prompt.h"
#include "tests/app/views/ViewModelFixture.h"
#include "tests/libs/tabrion/BiffWriter.h"
#include "tests/text/layout/TextTestSupport.h"
#include "values/ShellMessages.h"
#include "values/ShellValues.h"

namespace {

class RecordingMainFrame : public IViewMainFrame {
 public:
  platform::MessageTarget* GetFrameTarget() override { return nullptr; }
  std::unique_ptr<IProgressBar> CreatePaneControl(int, int) override { return nullptr; }
  void ShowCursorPos(double, double) override {}
  void SetRecordText(int n) override { shown.push_back(n); }
  std::vector<int> shown;
};

// Rows 1..3 of columns A and C; row 2 has no cell in column C.
const char* const kCells[3][2] = {{"LA", "IL"}, {"LL", nullptr}, {"IA", "LIL"}};

enum class Kind { Xlsx, Xls };

class SpreadsheetLinkTest : public ViewModelTest, public ::testing::WithParamInterface<Kind> {
 protected:
  void SetUp() override {
    ViewModelTest::SetUp();
    prompt_ = std::make_shared<platform::ScriptedPrompt>();
    platform::SetPrompt(prompt_);
    rig_ = std::make_unique<TextRig>();
    model_->SetMainFrame(&frame_);
    AddLine({0, 0}, {1, 1}, 0);  // index 0
    columnA_ = AddText(0, "I");
    columnC_ = AddText(2, "II");
    own_ = AddText(0, "L");
    own_->dataSource = 0;
    path_ = GetParam() == Kind::Xlsx ? WriteXlsx() : WriteXls();
    StoreExcelPath(model_->m_excelPara, path_);
  }
  void TearDown() override {
    model_.reset();
    document_.DeleteAllObjects();
    rig_.reset();
    ViewModelTest::TearDown();
  }

  CObjElement* AddText(int column, const std::string& text) {
    auto* object = new CObjText(TextCreateRecord{CDoublePoint(10, 50), ""});
    object->Settings().strokeFontPair = "mm+nobig";
    object->Settings().charHeight = 28;
    auto element = std::make_unique<CObjElement>(
        CObjCreateRecord{"Text", OBJ_TEXT, object, static_cast<int>(sizeof(CObjText)), {}});
    object->GetPathData().SetOwner(element.get());
    object->SetText(text, object->Settings().position, false);
    object->RecalcPath();
    element->UpdateBoundRect();
    element->dataSource = 1;
    element->excelColumn = column;
    CObjElement* raw = element.get();
    document_.Objects().Add(std::move(element));
    return raw;
  }
  static std::string TextOf(const CObjElement* e) { return e->GetObjectAs<CObjText>()->GetText(); }

  std::string WriteXlsx() {
    const std::string path = folder_ + "/rows.xlsx";
    lxw_workbook* book = workbook_new(path.c_str());
    lxw_worksheet* sheet = workbook_add_worksheet(book, "Rows");
    for (int r = 0; r < 3; ++r)
      for (int c = 0; c < 2; ++c)
        if (kCells[r][c]) worksheet_write_string(sheet, static_cast<lxw_row_t>(r), static_cast<lxw_col_t>(c * 2), kCells[r][c], nullptr);
    EXPECT_EQ(workbook_close(book), LXW_NO_ERROR);
    return path;
  }
  std::string WriteXls() {
    const std::string path = folder_ + "/rows.xls";
    tabrion_test::BiffWriter xls;
    const int style = xls.Style(0);
    for (int r = 0; r < 3; ++r)
      for (int c = 0; c < 2; ++c)
        if (kCells[r][c]) xls.SharedText(r, c * 2, style, kCells[r][c]);
    tabrion_test::BiffWriter::WriteCompoundFile(path, xls.Stream());
    return path;
  }
  void LinkOn() {
    model_->RunCommand(cmd::ID_BAND_EXCEL, true);
    ASSERT_TRUE(model_->IsSheetOpen()) << path_;
  }

  std::shared_ptr<platform::ScriptedPrompt> prompt_;
  std::unique_ptr<TextRig> rig_;
  RecordingMainFrame frame_;
  CObjElement* columnA_ = nullptr;
  CObjElement* columnC_ = nullptr;
  CObjElement* own_ = nullptr;
  std::string path_;
};

}  // namespace

TEST_P(SpreadsheetLinkTest, LinkOnFillsTheTextsFromTheCurrentRow) {
  model_->m_excelRowIndex = 1;
  LinkOn();
  EXPECT_EQ(TextOf(columnA_), "LA");
  EXPECT_EQ(TextOf(columnC_), "IL");  // column 2 takes "C"
  EXPECT_EQ(TextOf(own_), "L");       // its own text, not the sheet's
  EXPECT_TRUE(model_->IsCommandChecked(cmd::ID_BAND_EXCEL));
  EXPECT_TRUE(prompt_->Texts().empty());
  // The layout shows the new texts: bounds follow the new geometry.
  EXPECT_GT(columnA_->boundRect.Width(), 0);
}

TEST_P(SpreadsheetLinkTest, NextRecordStepsToTheLastRowAndAnEmptyCellKeepsTheText) {
  model_->m_excelRowIndex = 1;
  LinkOn();
  model_->RunCommand(cmd::ID_NEXT_RECORD, true);
  EXPECT_EQ(model_->m_excelRowIndex, 2);
  EXPECT_EQ(TextOf(columnA_), "LL");
  EXPECT_EQ(TextOf(columnC_), "IL");  // row 2 has nothing in C
  model_->RunCommand(cmd::ID_NEXT_RECORD, true);
  model_->RunCommand(cmd::ID_NEXT_RECORD, true);
  EXPECT_EQ(model_->m_excelRowIndex, 3);
  EXPECT_EQ(TextOf(columnC_), "LIL");
  EXPECT_EQ(frame_.shown.back(), 3);
  model_->RunCommand(cmd::ID_PRE_RECORD, true);
  model_->RunCommand(cmd::ID_PRE_RECORD, true);
  model_->RunCommand(cmd::ID_PRE_RECORD, true);
  EXPECT_EQ(model_->m_excelRowIndex, 1);
  EXPECT_EQ(TextOf(columnA_), "LA");
}

TEST_P(SpreadsheetLinkTest, FixedRowStaysWhereItIs) {
  model_->m_excelRowIndex = 2;
  model_->m_excelPara.fixedRow = 1;
  LinkOn();
  model_->RunCommand(cmd::ID_NEXT_RECORD, true);
  model_->RunCommand(cmd::ID_PRE_RECORD, true);
  EXPECT_EQ(model_->m_excelRowIndex, 2);
}

TEST_P(SpreadsheetLinkTest, TypedRecordOutsideTheSheetIsRefused) {
  model_->m_excelRowIndex = 1;
  LinkOn();
  for (WPARAM row : {WPARAM{0}, WPARAM{4}, WPARAM{1000000}, ~WPARAM{0}}) {
    EXPECT_TRUE(model_->OnMessage(platform::Message{WM_NEXT_RECORD, row, 0, nullptr}));
    EXPECT_EQ(model_->m_excelRowIndex, 1) << row;
    EXPECT_EQ(frame_.shown.back(), 1);
  }
  EXPECT_TRUE(model_->OnMessage(platform::Message{WM_NEXT_RECORD, 3, 0, nullptr}));
  EXPECT_EQ(model_->m_excelRowIndex, 3);
  EXPECT_EQ(TextOf(columnA_), "IA");
}

TEST_P(SpreadsheetLinkTest, LinkOffClosesTheSheetAndDisablesTheRecordButtons) {
  LinkOn();
  EXPECT_TRUE(model_->RunCommand(cmd::ID_NEXT_RECORD, false));
  model_->RunCommand(cmd::ID_BAND_EXCEL, true);
  EXPECT_FALSE(model_->IsSheetOpen());
  EXPECT_FALSE(model_->RunCommand(cmd::ID_NEXT_RECORD, false));
  EXPECT_FALSE(model_->IsCommandChecked(cmd::ID_BAND_EXCEL));
}

TEST_P(SpreadsheetLinkTest, OnlyVisibilityChangedKeepsTheOpenSheetAndWritesTheRecord) {
  LinkOn();
  // Were the sheet reopened, the missing file would be reported.
  std::filesystem::remove(path_);
  model_->m_editExcelSource = [](ExcelSourceValues& v) {
    v.visible = 1;
    v.userControl = 1;
    return true;
  };
  model_->RunCommand(cmd::ID_CONFIG_EXCEL, true);
  EXPECT_TRUE(model_->IsSheetOpen());
  EXPECT_TRUE(prompt_->Texts().empty());
  EXPECT_EQ(model_->m_excelPara.visible, 1);
  EXPECT_TRUE(std::filesystem::exists(platform::JoinInstallPath(g_installDir, "ExcelMarkPara.dat")));
}

TEST_P(SpreadsheetLinkTest, MissingFileIsReportedWithItsPath) {
  StoreExcelPath(model_->m_excelPara, folder_ + "/none.xlsx");
  model_->RunCommand(cmd::ID_BAND_EXCEL, true);
  ASSERT_EQ(prompt_->Texts().size(), 1u);
  EXPECT_EQ(prompt_->Texts()[0], folder_ + "/none.xlsx File can not open!");
}

INSTANTIATE_TEST_SUITE_P(Workbooks, SpreadsheetLinkTest, ::testing::Values(Kind::Xlsx, Kind::Xls),
                         [](const auto& info) { return info.param == Kind::Xlsx ? "xlsx" : "xls"; });

// Dialog 183's values as the model applies them.
class ExcelConfigTest : public ViewModelTest {
 protected:
  void SetUp() override {
    ViewModelTest::SetUp();
    prompt_ = std::make_shared<platform::ScriptedPrompt>();
    platform::SetPrompt(prompt_);
    model_->m_editExcelSource = [this](ExcelSourceValues& v) {
      ++asked_;
      if (!answer_) return false;
      v = *answer_;
      return true;
    };
  }
  _EXCEL_FILE_PARA Stored() {
    _EXCEL_FILE_PARA para{};
    std::ifstream in(folder_ + "/ExcelMarkPara.dat", std::ios::binary);
    in.read(reinterpret_cast<char*>(&para), sizeof para);
    EXPECT_EQ(in.gcount(), static_cast<std::streamsize>(sizeof para));
    return para;
  }
  std::shared_ptr<platform::ScriptedPrompt> prompt_;
  std::optional<ExcelSourceValues> answer_;
  int asked_ = 0;
};

TEST_F(ExcelConfigTest, OkWritesTheWholeRecordKeepingItsReservedBytes) {
  model_->m_excelPara.reserved1 = 0x11223344;
  model_->m_excelPara.reserved2[27] = 0x5A;
  answer_ = ExcelSourceValues{3, 1, 1, 1, "/data/parts.xls"};
  model_->RunCommand(cmd::ID_CONFIG_EXCEL, true);
  const _EXCEL_FILE_PARA stored = Stored();
  EXPECT_EQ(stored.sheetIndex, 3);
  EXPECT_EQ(stored.visible, 1);
  EXPECT_EQ(stored.userControl, 1);
  EXPECT_EQ(stored.fixedRow, 1);
  EXPECT_STREQ(stored.filePath, "/data/parts.xls");
  EXPECT_EQ(stored.reserved1, 0x11223344);
  EXPECT_EQ(stored.reserved2[27], 0x5A);
}

TEST_F(ExcelConfigTest, PathLongerThanTheRecordIsRefusedAndNothingChanges) {
  StoreExcelPath(model_->m_excelPara, "/data/old.xls");
  answer_ = ExcelSourceValues{1, 0, 0, 0, "/" + std::string(kExcelPathMax, 'p')};
  model_->RunCommand(cmd::ID_CONFIG_EXCEL, true);
  ASSERT_EQ(prompt_->Texts().size(), 1u);
  EXPECT_EQ(prompt_->Texts()[0], kExcelPathTooLong);
  EXPECT_STREQ(model_->m_excelPara.filePath, "/data/old.xls");
  EXPECT_EQ(model_->m_excelPara.sheetIndex, 0);
  EXPECT_FALSE(std::filesystem::exists(folder_ + "/ExcelMarkPara.dat"));
  // The longest path that fits is taken whole.
  answer_->path = "/" + std::string(kExcelPathMax - 1, 'p');
  model_->RunCommand(cmd::ID_CONFIG_EXCEL, true);
  EXPECT_EQ(std::string(Stored().filePath), answer_->path);
}

TEST_F(ExcelConfigTest, CancelChangesNothing) {
  model_->RunCommand(cmd::ID_CONFIG_EXCEL, true);
  EXPECT_EQ(asked_, 1);
  EXPECT_FALSE(std::filesystem::exists(folder_ + "/ExcelMarkPara.dat"));
}
