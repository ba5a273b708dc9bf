// VINs and codes that take their content from the spreadsheet row: a VIN
// goes through its check, a code is re-encoded where its modules stand.
#include <xlsxwriter.h>

#include "app/core/CommandIds.h"
#include "app/views/model/CVendrikViewModel.h"
#include "platform/Prompt.h"
#include "tests/app/views/ViewModelFixture.h"
#include "tests/text/layout/TextTestSupport.h"
#include "text/objects/CObjBarCode.h"
#include "text/objects/CObjTextVin.h"
#include "values/ShellValues.h"

namespace {

class NullMainFrame : public IViewMainFrame {
 public:
  platform::MessageTarget* GetFrameTarget() override { return nullptr; }
  std::unique_ptr<IProgressBar> CreatePaneControl(int, int) override { return nullptr; }
  void ShowCursorPos(double, double) override {}
  void SetRecordText(int) override {}
};

// Column A the VIN, column B the code's text; row 2 has no code text.
const char* const kCells[3][2] = {
    {"LSVAB2BN0CM123456", "HELLO42"}, {"LSVAB2BN0CM12345O", nullptr}, {"LSV123", "X"}};

class SpreadsheetCodeFillTest : public ViewModelTest {
 protected:
  void SetUp() override {
    ViewModelTest::SetUp();
    prompt_ = std::make_shared<platform::ScriptedPrompt>();
    platform::SetPrompt(prompt_);
    rig_ = std::make_unique<TextRig>();
    RegisterObjTypeOps(ObjClassId::TextVin, &TextVinTypeOps());
    RegisterObjTypeOps(ObjClassId::BarCode, &BarCodeTypeOps());
    model_->SetMainFrame(&frame_);
    AddLine({0, 0}, {1, 1}, 0);  // index 0
    vin_ = AddVin();
    code_ = AddCode();
    const std::string path = folder_ + "/codes.xlsx";
    lxw_workbook* book = workbook_new(path.c_str());
    lxw_worksheet* sheet = workbook_add_worksheet(book, "Rows");
    for (int r = 0; r < 3; ++r)
      for (int c = 0; c < 2; ++c)
        if (kCells[r][c])
          worksheet_write_string(sheet, static_cast<lxw_row_t>(r), static_cast<lxw_col_t>(c), kCells[r][c], nullptr);
    ASSERT_EQ(workbook_close(book), LXW_NO_ERROR);
    StoreExcelPath(model_->m_excelPara, path);
  }
  void TearDown() override {
    model_.reset();
    document_.DeleteAllObjects();
    RegisterObjTypeOps(ObjClassId::TextVin, nullptr);
    RegisterObjTypeOps(ObjClassId::BarCode, nullptr);
    rig_.reset();
    platform::SetPrompt(std::make_shared<platform::ScriptedPrompt>());
    ViewModelTest::TearDown();
  }
  CObjElement* Adopt(int type, CObjText* object, int column) {
    object->Settings().strokeFontPair = "mm+nobig";
    object->Settings().charHeight = 28;
    auto element = std::make_unique<CObjElement>(CObjCreateRecord{"obj", type, object, 64, {}});
    object->GetPathData().SetOwner(element.get());
    element->dataSource = 1;
    element->excelColumn = column;
    CObjElement* raw = element.get();
    document_.Objects().Add(std::move(element));
    return raw;
  }
  CObjElement* AddVin() {
    auto* vin = new CObjTextVin();
    CObjElement* e = Adopt(OBJ_VIN, vin, 0);
    vin->Settings().text = "LSVAB2BN0CM000001";
    vin->SetVinText(CDoublePoint(10, 50), vin->GetText());
    e->UpdateBoundRect();
    return e;
  }
  CObjElement* AddCode() {
    auto* code = new CObjBarCode(CDoublePoint(10, 80), "A", "1", "");
    CObjElement* e = Adopt(OBJ_BARCODE, code, 1);
    code->SetCodeText(CDoublePoint(10, 80), code->ComposeText(), 0, 0);
    e->UpdateBoundRect();
    return e;
  }
  CObjTextVin& Vin() const { return *vin_->GetObjectAs<CObjTextVin>(); }
  CObjBarCode& Code() const { return *code_->GetObjectAs<CObjBarCode>(); }

  std::shared_ptr<platform::ScriptedPrompt> prompt_;
  std::unique_ptr<TextRig> rig_;
  NullMainFrame frame_;
  CObjElement* vin_ = nullptr;
  CObjElement* code_ = nullptr;
};

}  // namespace

TEST_F(SpreadsheetCodeFillTest, RowsFillTheVinThroughItsCheckAndReencodeTheCode) {
  CDoubleRect modulesBefore;
  ASSERT_TRUE(Code().GetPathData().GetKind2BoundRect(modulesBefore));
  const CDoublePoint heldBefore = Code().GetFixedPoint(modulesBefore);

  model_->m_excelRowIndex = 1;
  model_->RunCommand(cmd::ID_BAND_EXCEL, true);
  ASSERT_TRUE(model_->IsSheetOpen());
  // The check character takes the place of the ninth.
  std::string expected = kCells[0][0];
  expected[8] = CObjTextVin::CheckCharOf(expected);
  EXPECT_EQ(Vin().GetText(), expected);
  EXPECT_EQ(Code().GetText(), "HELLO42");
  EXPECT_GT(Code().GetDotCount(), 0);
  CDoubleRect modulesAfter;
  ASSERT_TRUE(Code().GetPathData().GetKind2BoundRect(modulesAfter));
  EXPECT_NEAR(Code().GetFixedPoint(modulesAfter).x, heldBefore.x, 1e-6);
  EXPECT_NEAR(Code().GetFixedPoint(modulesAfter).y, heldBefore.y, 1e-6);
  EXPECT_TRUE(prompt_->Texts().empty());

  // A VIN with the letter O is refused and the object keeps its number and
  // its strokes; the empty cell leaves the code as it was.
  const int strokes = Vin().GetPathData().points.GetSize();
  ASSERT_GT(strokes, 0);
  model_->RunCommand(cmd::ID_NEXT_RECORD, true);
  ASSERT_EQ(prompt_->Texts().size(), 1u);
  EXPECT_EQ(prompt_->Texts().back(), kVinStyleError);
  EXPECT_EQ(Vin().GetText(), expected);
  EXPECT_EQ(Vin().GetPathData().points.GetSize(), strokes);
  EXPECT_EQ(Code().GetText(), "HELLO42");

  // A cell of the wrong length is refused with the same message and keeps
  // the number too.
  model_->RunCommand(cmd::ID_NEXT_RECORD, true);
  ASSERT_EQ(prompt_->Texts().size(), 2u);
  EXPECT_EQ(prompt_->Texts().back(), kVinStyleError);
  EXPECT_EQ(Vin().GetText(), expected);
  EXPECT_EQ(Vin().GetPathData().points.GetSize(), strokes);
  EXPECT_EQ(Code().GetText(), "X");
}
