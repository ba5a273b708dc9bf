// The text tools and the text pages as an operator uses them, in the started
// program: a tool bar button, a click in the layout, the pages' own fields,
// the menus and the tool bar's New. Fonts are written for the test: every
// printable character an "L" of 14 by 14 units.
#include <xlsxwriter.h>

#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QLabel>
#include <QScrollBar>
#include <QTabBar>
#include <QTest>
#include <QToolBar>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include "app/core/CommandIds.h"
#include "app/frames/CChildFrame.h"
#include "app/frames/CMainFrame.h"
#include "app/frames/CMarkToolBar.h"
#include "app/views/CProperityPane.h"
#include "app/views/CVendrikView.h"
#include "app/views/model/ExcelLinkRecord.h"
#include "document/doc/CVendrikDoc.h"
#include "document/objects/CObjElement.h"
#include "document/path/CStrokeGroup.h"
#include "platform/FileDialog.h"
#include "properties/link/CProperityView.h"
#include "properties/sheet/CObjProperitySheet.h"
#include "tests/app/frames/FramesFixture.h"
#include "tests/support/FocusTakingPrompt.h"
#include "tests/text/fonts/shx/ShxTestFonts.h"
#include "text/objects/CObjText.h"
#include "widgets/CNotifyEdit.h"

namespace {

constexpr char kSaveQuestion[] = "Mark data is repared !,Save data?";

// Posted messages travel from the page to the sheet, the property view and
// the layout view: a few rounds deliver them all.
void Pump() {
  for (int i = 0; i < 20; ++i) PumpQt();
}

Bytes BoxFont() {
  std::vector<TestGlyph> glyphs;
  for (std::uint16_t c = 33; c < 127; ++c) glyphs.push_back({c, {2, 0xE4, 1, 0xEC, 0xE0, 2, 0x40, 0}});
  glyphs.push_back({' ', {2, 0x80, 0}});
  return Shapes86Font(glyphs);
}

class TextToolsTest : public FramesTest {
 protected:
  void SetUp() override {
    FramesTest::SetUp();
    std::filesystem::create_directories(folder_ + "/Fonts");
    const Bytes font = BoxFont();
    // The main fonts of new texts and of new VINs.
    for (const char* name : {"KelTxt2.shx", "GOLD.shx"}) {
      std::ofstream out(folder_ + "/Fonts/" + name, std::ios::binary);
      out.write(reinterpret_cast<const char*>(font.data()), static_cast<std::streamsize>(font.size()));
    }
    files_ = std::make_shared<platform::ScriptedFileDialog>();
    platform::SetFileDialog(files_);
    prompt_->SetFallbackAnswer(IDCANCEL);
  }
  void TearDown() override {
    FramesTest::TearDown();
    platform::SetFileDialog(nullptr);
  }
  void StartLarge() {
    ASSERT_TRUE(Start());
    // Room for every tool bar button.
    Frame()->resize(1600, 1000);
    Pump();
  }

  CMainFrame* Frame() { return app_->MainFrame(); }
  CVendrikView* View() { return Frame()->ActiveChildFrame()->LayoutView(); }
  CVendrikDoc& Doc() { return *View()->GetDocument(); }
  CObjProperitySheet& Sheet() { return *Frame()->ActiveChildFrame()->PropertyPane()->View()->GetSheet(); }
  CObjElement* Last() { return Doc().Objects()[Doc().Objects().GetSize() - 1]; }

  void ClickToolBar(int toolBar, int command) {
    QWidget* button = Frame()->ToolBar(toolBar)->widgetForAction(Frame()->Action(command));
    ASSERT_NE(button, nullptr) << command;
    ASSERT_TRUE(button->isVisible()) << command;
    QTest::mouseClick(button, Qt::LeftButton);
    Pump();
  }
  void Tool(int command) { ClickToolBar(ID_DRAW_TOOLBAR, command); }
  // Opens the menu that holds the command and clicks its entry.
  void MenuCommand(int command) {
    QAction* action = Frame()->Action(command);
    for (QAction* top : Frame()->menuBar()->actions()) {
      QMenu* menu = top->menu();
      if (menu == nullptr || !menu->actions().contains(action)) continue;
      menu->popup(QPoint(0, 0));
      Pump();
      ASSERT_TRUE(action->isEnabled()) << command;
      QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
      Pump();
      return;
    }
    FAIL() << "no menu holds " << command;
  }
  QPoint Px(double x, double y) {
    const platform::DcPoint p = View()->Model().MmToPixel(x, y);
    return {p.x, p.y};
  }
  void ClickAt(double x, double y) {
    QTest::mouseClick(View()->viewport(), Qt::LeftButton, {}, Px(x, y));
    Pump();
  }
  // The program started, and a VIN made by its tool with a click at (x, y).
  void StartWithVinAt(double x, double y) {
    StartLarge();
    Tool(cmd::ID_ADD_VIN);
    ClickAt(x, y);
    ASSERT_EQ(Doc().Objects().GetSize(), 2);
  }
  // Brings the page to the front by its tab.
  QWidget* OpenPage(const char* caption) {
    for (int i = 0; i < Sheet().count(); ++i) {
      if (Sheet().tabText(i) != QString(caption)) continue;
      QTest::mouseClick(Sheet().tabBar(), Qt::LeftButton, {}, Sheet().tabBar()->tabRect(i).center());
      Pump();
      return Sheet().currentWidget();
    }
    ADD_FAILURE() << "no page " << caption;
    return nullptr;
  }
  std::vector<std::string> Tabs() {
    std::vector<std::string> tabs;
    for (int i = 0; i < Sheet().count(); ++i) tabs.push_back(Sheet().tabText(i).toStdString());
    return tabs;
  }
  QLineEdit* Edit(QWidget* page, const char* name) {
    auto* edit = page != nullptr ? page->findChild<QLineEdit*>(name) : nullptr;
    EXPECT_NE(edit, nullptr) << name;
    return edit;
  }
  // Clicks into the field and types over its text.
  void TypeOver(QLineEdit* edit, const QString& text) {
    QTest::mouseClick(edit, Qt::LeftButton);
    edit->selectAll();
    QTest::keyClicks(edit, text);
  }
  // Where the element is held: the point its fixed position names, of the
  // modules for a code.
  static CDoublePoint Anchor(const CObjElement& element) {
    const auto* text = element.GetObjectAs<CObjText>();
    CDoubleRect bounds = element.boundRect;
    if (element.type == OBJ_BARCODE) text->GetPathData().GetKind2BoundRect(bounds);
    return text->GetFixedPoint(bounds);
  }
  // Pixels of the picture that differ inside the element's bounds.
  int ChangedPixelsIn(const QImage& before, const QImage& after, const CDoubleRect& bounds) {
    const QRect area = QRect(Px(bounds.left, bounds.top), Px(bounds.right, bounds.bottom)).normalized();
    int changed = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
      for (int x = area.left(); x <= area.right(); ++x)
        if (before.valid(x, y) && before.pixel(x, y) != after.pixel(x, y)) ++changed;
    return changed;
  }
  QImage Picture() { return View()->viewport()->grab().toImage(); }
  // File > Save under a new name; the layout then counts as unchanged.
  void SaveAs(const std::string& name) {
    files_->QueuePath(folder_ + "/" + name);
    MenuCommand(cmd::ID_FILE_SAVE);
    ASSERT_EQ(Doc().GetSavedState(), 0);
  }

  std::shared_ptr<platform::ScriptedFileDialog> files_;
};

// Where the operator clicks, well inside the work area.
constexpr double kClickX = 12;
constexpr double kClickY = -8;

bool Near(const CDoublePoint& a, double x, double y, double tolerance) {
  return std::fabs(a.x - x) <= tolerance && std::fabs(a.y - y) <= tolerance;
}

struct ToolCase {
  const char* name;
  int command;
  int type;
};

void PrintTo(const ToolCase& c, std::ostream* out) { *out << c.name; }

class TextToolAtClickTest : public TextToolsTest, public ::testing::WithParamInterface<ToolCase> {};

}  // namespace

TEST_P(TextToolAtClickTest, ShowsItsTextAtTheClickAndReopensThere) {
  StartLarge();
  const QImage before = Picture();
  Tool(GetParam().command);
  ClickAt(kClickX, kClickY);
  ASSERT_EQ(Doc().Objects().GetSize(), 2);
  CObjElement* made = Last();
  ASSERT_EQ(made->type, GetParam().type);
  const CDoubleRect bounds = made->boundRect;
  EXPECT_GT(bounds.Width(), 1.0);
  EXPECT_GT(bounds.Height(), 0.5);
  // The click lands on the object's fixed point (within the pixel it names).
  const CDoublePoint anchor = Anchor(*made);
  EXPECT_TRUE(Near(anchor, kClickX, kClickY, 0.3)) << anchor.x << ", " << anchor.y;
  EXPECT_GT(ChangedPixelsIn(before, Picture(), bounds), 0) << "drawn where it stands";

  SaveAs("placed.mrk");
  files_->QueuePath(folder_ + "/placed.mrk");
  ClickToolBar(ID_MAIN_TOOLBAR, cmd::ID_FILE_OPEN);
  ASSERT_EQ(Doc().Objects().GetSize(), 2);
  const CDoublePoint reopened = Anchor(*Last());
  EXPECT_NEAR(reopened.x, anchor.x, 1e-3);
  EXPECT_NEAR(reopened.y, anchor.y, 1e-3);
  EXPECT_GT(Last()->boundRect.Width(), 1.0);
}

INSTANTIATE_TEST_SUITE_P(Tools, TextToolAtClickTest,
                         ::testing::Values(ToolCase{"Text", cmd::ID_ADD_TEXT, OBJ_TEXT},
                                           ToolCase{"AutoNumber", cmd::ID_ADD_AUTO_TEXT, OBJ_SERIAL},
                                           ToolCase{"SystemDate", cmd::ID_ADD_SYSTEM_DATE, OBJ_DATE},
                                           ToolCase{"Vin", cmd::ID_ADD_VIN, OBJ_VIN},
                                           ToolCase{"Ruler", cmd::ID_ADD_RULER, OBJ_RULER},
                                           ToolCase{"Barcode", cmd::ID_ADD_BARCODE, OBJ_BARCODE}),
                         [](const auto& info) { return std::string(info.param.name); });

namespace {

struct PageEdit {
  const char* name;
  int command;
  const char* page;
  const char* field;
  const char* typed;
};

void PrintTo(const PageEdit& e, std::ostream* out) { *out << e.name; }

class TextPageEditTest : public TextToolsTest, public ::testing::WithParamInterface<PageEdit> {};

}  // namespace

// An edit on the page keeps the object where the operator put it, and counts
// as a change: File > New then asks before it drops the layout.
TEST_P(TextPageEditTest, KeepsTheObjectInPlaceAndNewAsksToSave) {
  const PageEdit& edit = GetParam();
  StartLarge();
  Tool(edit.command);
  ClickAt(kClickX, kClickY);
  ASSERT_EQ(Doc().Objects().GetSize(), 2);
  CObjElement* made = Last();
  const CDoublePoint anchor = Anchor(*made);
  const CDoubleRect bounds = made->boundRect;
  const std::string text = made->GetObjectAs<CObjText>()->GetText();
  SaveAs("edited.mrk");

  QLineEdit* field = Edit(OpenPage(edit.page), edit.field);
  ASSERT_NE(field, nullptr);
  TypeOver(field, edit.typed);
  QTest::keyClick(field, Qt::Key_Return);
  Pump();
  EXPECT_TRUE(prompt_->Texts().empty());
  const bool changed = made->GetObjectAs<CObjText>()->GetText() != text || made->boundRect.Width() != bounds.Width() ||
                       made->boundRect.Height() != bounds.Height();
  EXPECT_TRUE(changed) << "the edit reached the object";
  const CDoublePoint after = Anchor(*made);
  EXPECT_NEAR(after.x, anchor.x, 1e-6);
  EXPECT_NEAR(after.y, anchor.y, 1e-6);
  EXPECT_TRUE(Near(after, kClickX, kClickY, 0.3));
  EXPECT_EQ(Doc().GetSavedState(), 1);

  prompt_->QueueAnswer(IDCANCEL);
  ClickToolBar(ID_MAIN_TOOLBAR, cmd::ID_FILE_NEW);
  EXPECT_EQ(prompt_->Texts(), std::vector<std::string>{kSaveQuestion});
  EXPECT_EQ(Doc().Objects().GetSize(), 2) << "Cancel keeps the layout";
}

INSTANTIATE_TEST_SUITE_P(
    Pages, TextPageEditTest,
    ::testing::Values(PageEdit{"TextString", cmd::ID_ADD_TEXT, "Text", "edit1014", "ABC-123"},
                      PageEdit{"TextHeight", cmd::ID_ADD_TEXT, "Font", "edit1014", "9"},
                      PageEdit{"SerialPrefix", cmd::ID_ADD_AUTO_TEXT, "Auto text", "edit1014", "PART-"},
                      PageEdit{"DateSpacing", cmd::ID_ADD_SYSTEM_DATE, "Font", "edit1019", "3"},
                      PageEdit{"VinMakeOrder", cmd::ID_ADD_VIN, "VIN code(seventeen chars)", "edit1022", "000111"},
                      PageEdit{"RulerGraduations", cmd::ID_ADD_RULER, "Ruler", "edit1035", "20"},
                      PageEdit{"BarcodePrefix", cmd::ID_ADD_BARCODE, "Barcode", "edit1011", "XYZ"}),
    [](const auto& info) { return std::string(info.param.name); });

namespace {

enum class Ending { DeleteKey, NewButton };

class TypedThenGoneTest : public TextToolsTest, public ::testing::WithParamInterface<Ending> {};

}  // namespace

// Text typed into the page and never confirmed is reported when the field
// loses the focus, which may be after its object was deleted: the report
// must find nothing to write into (run under the address sanitizer).
TEST_P(TypedThenGoneTest, TextTypedWithoutEnterChangesNothingOnceItsObjectIsGone) {
  StartLarge();
  Tool(cmd::ID_ADD_TEXT);
  ClickAt(kClickX, kClickY);
  ASSERT_EQ(Doc().Objects().GetSize(), 2);
  QLineEdit* field = Edit(OpenPage("Text"), "edit1014");
  ASSERT_NE(field, nullptr);
  TypeOver(field, "ABC-123");
  if (GetParam() == Ending::DeleteKey) {
    // A click on the text and Delete, quicker than the field's report.
    QTest::mouseClick(View()->viewport(), Qt::LeftButton, {}, Px(kClickX + 0.5, kClickY + 0.5));
    QTest::keyClick(View()->viewport(), Qt::Key_Delete);
  } else {
    prompt_->QueueAnswer(IDNO);
    QTest::mouseClick(Frame()->ToolBar(ID_MAIN_TOOLBAR)->widgetForAction(Frame()->Action(cmd::ID_FILE_NEW)),
                      Qt::LeftButton);
  }
  Pump();
  EXPECT_EQ(Doc().Objects().GetSize(), 1);
  // The layout goes on: a new text takes the tool's own text.
  Tool(cmd::ID_ADD_TEXT);
  ClickAt(kClickX, kClickY);
  ASSERT_EQ(Doc().Objects().GetSize(), 2);
  EXPECT_EQ(Last()->GetObjectAs<CObjText>()->GetText(), "TEXT");
}

INSTANTIATE_TEST_SUITE_P(Endings, TypedThenGoneTest, ::testing::Values(Ending::DeleteKey, Ending::NewButton),
                         [](const auto& info) { return std::string(info.param == Ending::DeleteKey ? "Delete" : "New"); });

// Choosing a drawing tool while a text field holds typed text: the text is
// taken, and the sheet turns to the work area's pages without a message.
TEST_F(TextToolsTest, ADrawingToolAfterTypingShowsTheWorkAreaPagesWithoutAMessage) {
  StartLarge();
  Tool(cmd::ID_ADD_TEXT);
  ClickAt(kClickX, kClickY);
  CObjElement* made = Last();
  QLineEdit* field = Edit(OpenPage("Text"), "edit1014");
  ASSERT_NE(field, nullptr);
  TypeOver(field, "ABC-123");
  Tool(cmd::ID_ADD_LINE);
  EXPECT_TRUE(prompt_->Texts().empty());
  EXPECT_EQ(Tabs(), (std::vector<std::string>{"Mark parameter", "Work style...", "Rotate setting", "Range"}));
  EXPECT_EQ(made->GetObjectAs<CObjText>()->GetText(), "ABC-123");
  EXPECT_TRUE(Near(Anchor(*made), kClickX, kClickY, 0.3));
}

// Chinese typed into a new text is drawn from the default big font the
// installation has: no font is missing, every character has its strokes, the
// Chinese ones in squares of the char height after the western ones, and the
// font page offers the big font.
TEST_F(TextToolsTest, ChineseTypedIntoANewTextIsDrawnFromTheDefaultBigFont) {
  ASSERT_TRUE(std::filesystem::exists(folder_ + "/Fonts/Xc18.shx")) << "the build makes it";
  StartLarge();
  MenuCommand(cmd::ID_ADD_TEXT);
  ClickAt(kClickX, kClickY);
  ASSERT_EQ(Doc().Objects().GetSize(), 2);
  CObjElement* made = Last();
  const QImage before = Picture();
  QLineEdit* field = Edit(OpenPage("Text"), "edit1014");
  ASSERT_NE(field, nullptr);
  TypeOver(field, "HELLO ");
  // Chinese comes from the input method, committed as a whole.
  QInputMethodEvent commit;
  commit.setCommitString(QString::fromUtf8("你好"));
  QCoreApplication::sendEvent(field, &commit);
  QTest::keyClick(field, Qt::Key_Return);
  Pump();
  EXPECT_TRUE(prompt_->Texts().empty()) << prompt_->Texts().front();
  const auto* text = made->GetObjectAs<CObjText>();
  EXPECT_EQ(text->GetText(), "HELLO \xC4\xE3\xBA\xC3");
  EXPECT_TRUE(text->GetLayoutReport().missingFonts.empty());

  // One group per character that has strokes: five western, two Chinese.
  const CPathData& path = text->GetPathData();
  ASSERT_EQ(path.GetGroupCount(), 7);
  const double height = text->Settings().charHeight;
  const double westernRight = path.GetGroupAt(4)->GetBoundRect().right;
  for (int i = 5; i < 7; ++i) {
    const CDoubleRect r = path.GetGroupAt(i)->GetBoundRect();
    EXPECT_GT(r.left, westernRight) << i;
    EXPECT_GT(r.right - r.left, 0.8 * height) << i;
    EXPECT_GT(r.top - r.bottom, 0.85 * height) << i;
    EXPECT_GT(ChangedPixelsIn(before, Picture(), r), 0) << "character " << i << " drawn";
  }

  auto* chinese = OpenPage("Font")->findChild<QComboBox*>("combo1073");
  ASSERT_NE(chinese, nullptr);
  EXPECT_GE(chinese->findText("xc18.shx"), 0);
}

// A new text switched to dot fonts on the font page draws its capitals from
// "Dot5x7Font.dot" and its Chinese character from the bitmap font of the dot
// kind chosen, as the build installs them: no font is missing and every
// character has its dots. Kind 1, the outline face, is passed over.
TEST_F(TextToolsTest, ANewTextInDotFontsHasDotsInEveryDotKind) {
  const auto made = [](const std::string& font) {
    return std::string(VENDRIK_DOT_FONTS_MADE).find("|" + font + "|") != std::string::npos;
  };
  if (!made("Dot5x7Font.dot")) GTEST_SKIP() << "Dot5x7Font.dot is not made: its source package is not installed";
  StartLarge();
  MenuCommand(cmd::ID_ADD_TEXT);
  ClickAt(kClickX, kClickY);
  ASSERT_EQ(Doc().Objects().GetSize(), 2);
  CObjElement* element = Last();
  const auto* text = element->GetObjectAs<CObjText>();
  QLineEdit* field = Edit(OpenPage("Text"), "edit1014");
  ASSERT_NE(field, nullptr);
  TypeOver(field, "AB");
  QInputMethodEvent commit;
  commit.setCommitString(QString::fromUtf8("你"));
  QCoreApplication::sendEvent(field, &commit);
  QTest::keyClick(field, Qt::Key_Return);
  Pump();
  QWidget* page = OpenPage("Font");
  ASSERT_NE(page, nullptr);
  auto* dotMode = page->findChild<QCheckBox*>("check1180");
  auto* kinds = page->findChild<QComboBox*>("combo1074");
  ASSERT_NE(dotMode, nullptr);
  ASSERT_NE(kinds, nullptr);
  QTest::mouseClick(dotMode, Qt::LeftButton, Qt::NoModifier, QPoint(6, 6));  // on the box
  Pump();
  ASSERT_TRUE(text->Settings().flags & TEXT_DOT_FONT);

  struct KindCase {
    int kind;
    const char* font;
    int characters;  // with dots
  };
  const KindCase cases[] = {{DOT_KIND_DOT_FONT, "Dot5x7Font.dot", 2},
                            {DOT_KIND_HZK12, "HZK12", 3},
                            {DOT_KIND_HZK16, "HZK16", 3},
                            {DOT_KIND_HZK24F, "HZK24F", 3},
                            {DOT_KIND_HZK24Z, "HZK24Z", 3}};
  for (const KindCase& c : cases) {
    SCOPED_TRACE(c.font);
    while (kinds->currentIndex() != c.kind) {
      QTest::keyClick(kinds, kinds->currentIndex() < c.kind ? Qt::Key_Down : Qt::Key_Up);
      Pump();
    }
    ASSERT_EQ(text->Settings().dotKind, c.kind);
    if (!made(c.font)) continue;
    EXPECT_TRUE(text->GetLayoutReport().missingFonts.empty());
    const CPathData& path = text->GetPathData();
    ASSERT_EQ(path.GetGroupCount(), c.characters);
    for (int i = 0; i < c.characters; ++i) EXPECT_EQ(path.GetGroupAt(i)->kind, GROUP_KIND_DOTS) << i;
  }
  for (const std::string& told : prompt_->Texts()) {
    EXPECT_EQ(told.find("Dot5x7Font.dot"), std::string::npos) << told;
    EXPECT_EQ(told.find("HZK"), std::string::npos) << told;
  }
}

namespace {

// Row 1 of a workbook: column A and column B.
std::string WriteRowsWorkbook(const std::string& path, const char* a1 = "CELL-A1", const char* b1 = "CELL-B1") {
  lxw_workbook* book = workbook_new(path.c_str());
  lxw_worksheet* sheet = workbook_add_worksheet(book, "Rows");
  worksheet_write_string(sheet, 0, 0, a1, nullptr);
  worksheet_write_string(sheet, 0, 1, b1, nullptr);
  EXPECT_EQ(workbook_close(book), LXW_NO_ERROR);
  return path;
}

}  // namespace

// "Data From" and "Excel col" on the mark properties page put the cell of the
// current row into the text at once, a date's too; the record edit is open
// only while the sheet is.
TEST_F(TextToolsTest, DataSourceAndColumnFillTheObjectFromTheCurrentRow) {
  _EXCEL_FILE_PARA para{};
  ASSERT_TRUE(StoreExcelPath(para, WriteRowsWorkbook(folder_ + "/rows.xlsx")));
  ASSERT_TRUE(SaveExcelMarkPara(folder_, para));
  StartLarge();
  QLineEdit* record = Frame()->RecordBar()->Edit();
  EXPECT_FALSE(record->isEnabled());
  MenuCommand(cmd::ID_BAND_EXCEL);
  ASSERT_TRUE(View()->Model().IsSheetOpen());
  EXPECT_TRUE(record->isEnabled());
  EXPECT_TRUE(Frame()->Action(cmd::ID_BAND_EXCEL)->isChecked()) << "the menu shows the link is on";

  for (int command : {cmd::ID_ADD_TEXT, cmd::ID_ADD_SYSTEM_DATE}) {
    SCOPED_TRACE(command);
    Tool(command);
    ClickAt(kClickX, kClickY);
    CObjElement* made = Last();
    QWidget* page = OpenPage("Mark properity");
    ASSERT_NE(page, nullptr);
    auto* source = page->findChild<QComboBox*>("combo1052");
    auto* column = page->findChild<QComboBox*>("combo1053");
    ASSERT_NE(source, nullptr);
    ASSERT_NE(column, nullptr);
    ASSERT_TRUE(source->isEnabled());
    QTest::keyClick(source, Qt::Key_Down);  // "Excel file"
    Pump();
    EXPECT_EQ(made->dataSource, 1);
    EXPECT_EQ(made->GetObjectAs<CObjText>()->GetText(), "CELL-A1");
    ASSERT_TRUE(column->isEnabled());
    QTest::keyClick(column, Qt::Key_Down);  // "B"
    Pump();
    EXPECT_EQ(made->excelColumn, 1);
    EXPECT_EQ(made->GetObjectAs<CObjText>()->GetText(), "CELL-B1");
    EXPECT_TRUE(Near(Anchor(*made), kClickX, kClickY, 0.3));
  }
  MenuCommand(cmd::ID_BAND_EXCEL);
  EXPECT_FALSE(record->isEnabled());
  EXPECT_FALSE(Frame()->Action(cmd::ID_BAND_EXCEL)->isChecked());
}

// "io" typed into the WMI: one message, and while it shows the WMI and the
// whole code already read as before; leaving the field later says nothing.
TEST_F(TextToolsTest, RefusedWmiIsToldOnceWithTheOldWmiBackAtOnce) {
  ASSERT_NO_FATAL_FAILURE(StartWithVinAt(kClickX, kClickY));
  CObjElement* vin = Last();
  const std::string code = vin->GetObjectAs<CObjText>()->GetText();
  QWidget* page = OpenPage("VIN code(seventeen chars)");
  QLineEdit* wmi = Edit(page, "edit1014");
  QLineEdit* whole = Edit(page, "edit1103");
  ASSERT_TRUE(wmi != nullptr && whole != nullptr);
  const std::string oldWmi = wmi->text().toStdString();
  ASSERT_EQ(whole->text().toStdString(), code);
  auto boxes = std::make_shared<FocusTakingPrompt>([wmi, whole] { return (wmi->text() + " " + whole->text()).toStdString(); });
  platform::SetPrompt(boxes);

  TypeOver(wmi, "io");
  QTest::keyClick(wmi, Qt::Key_Return);
  Pump();
  wmi->setFocus();
  QTest::keyClick(wmi, Qt::Key_Tab);
  Pump();
  platform::SetPrompt(prompt_);

  EXPECT_EQ(boxes->texts, std::vector<std::string>{"VIN code can't not contain:'O','o','I','i','Q','q' "});
  EXPECT_EQ(boxes->seen, std::vector<std::string>{oldWmi + " " + code});
  EXPECT_EQ(wmi->text().toStdString(), oldWmi);
  EXPECT_EQ(whole->text().toStdString(), code);
  EXPECT_EQ(vin->GetObjectAs<CObjText>()->GetText(), code);
}

// A whole code of another length than 17 is not taken: the page shows again
// the code the VIN keeps, draws and marks.
TEST_F(TextToolsTest, AWholeVinOfAnotherLengthLeavesThePageShowingTheKeptCode) {
  ASSERT_NO_FATAL_FAILURE(StartWithVinAt(kClickX, kClickY));
  CObjElement* vin = Last();
  const std::string code = vin->GetObjectAs<CObjText>()->GetText();
  QWidget* page = OpenPage("VIN code(seventeen chars)");
  QLineEdit* whole = Edit(page, "edit1103");
  ASSERT_NE(whole, nullptr);
  TypeOver(whole, "LM13KTNM52092345");
  QTest::keyClick(whole, Qt::Key_Return);
  Pump();
  EXPECT_EQ(vin->GetObjectAs<CObjText>()->GetText(), code);
  EXPECT_EQ(whole->text().toStdString(), code);
  // A code of the right length is taken as before.
  TypeOver(whole, "LM13KTNM520923457");
  QTest::keyClick(whole, Qt::Key_Return);
  Pump();
  const std::string taken = vin->GetObjectAs<CObjText>()->GetText();
  EXPECT_EQ(taken.substr(9), "20923457");
  EXPECT_EQ(whole->text().toStdString(), taken);
}

// The VIN tool's number carries the check character of its other sixteen at
// its ninth place from the start, as after every edit: the object, its page
// and the saved project have "LM13KTNM520923456".
TEST_F(TextToolsTest, ANewVinCarriesItsCheckCharacter) {
  ASSERT_NO_FATAL_FAILURE(StartWithVinAt(kClickX, kClickY));
  EXPECT_EQ(Last()->GetObjectAs<CObjText>()->GetText(), "LM13KTNM520923456");
  QWidget* page = OpenPage("VIN code(seventeen chars)");
  QLineEdit* check = Edit(page, "edit1101");
  QLineEdit* whole = Edit(page, "edit1103");
  ASSERT_TRUE(check != nullptr && whole != nullptr);
  EXPECT_EQ(check->text(), "5");
  EXPECT_EQ(whole->text(), "LM13KTNM520923456");
  SaveAs("vin.mrk");
  std::ifstream saved(folder_ + "/vin.mrk", std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(saved)), std::istreambuf_iterator<char>());
  EXPECT_NE(bytes.find("LM13KTNM520923456"), std::string::npos);
}

// A cell that is no valid VIN, too short or with a refused letter, is told
// and the VIN keeps the number and the strokes it had.
TEST_F(TextToolsTest, ARefusedVinCellLeavesTheVinAsItWas) {
  _EXCEL_FILE_PARA para{};
  ASSERT_TRUE(StoreExcelPath(para, WriteRowsWorkbook(folder_ + "/vins.xlsx", "LSV123", "LSVAB2BN0CM12345O")));
  ASSERT_TRUE(SaveExcelMarkPara(folder_, para));
  StartLarge();
  MenuCommand(cmd::ID_BAND_EXCEL);
  ASSERT_TRUE(View()->Model().IsSheetOpen());
  Tool(cmd::ID_ADD_VIN);
  ClickAt(kClickX, kClickY);
  ASSERT_EQ(Doc().Objects().GetSize(), 2);
  CObjElement* vin = Last();
  const auto* text = vin->GetObjectAs<CObjText>();
  const std::string number = text->GetText();
  const int strokes = text->GetPathData().points.GetSize();
  ASSERT_GT(strokes, 0);
  QWidget* page = OpenPage("Mark properity");
  ASSERT_NE(page, nullptr);
  auto* source = page->findChild<QComboBox*>("combo1052");
  auto* column = page->findChild<QComboBox*>("combo1053");
  ASSERT_TRUE(source != nullptr && column != nullptr);
  QTest::keyClick(source, Qt::Key_Down);  // "Excel file": column A, too short
  Pump();
  EXPECT_EQ(vin->dataSource, 1);
  QTest::keyClick(column, Qt::Key_Down);  // column B, with an O in it
  Pump();
  EXPECT_EQ(vin->excelColumn, 1);
  EXPECT_EQ(prompt_->Texts(), (std::vector<std::string>{"Vin style is error", "Vin style is error"}));
  EXPECT_EQ(text->GetText(), number);
  EXPECT_EQ(text->GetPathData().points.GetSize(), strokes);
  EXPECT_TRUE(Near(Anchor(*vin), kClickX, kClickY, 0.3));
}

// "Date value:" shows what the layout draws and marks, from the new date on
// and after every choice of "Date style:".
TEST_F(TextToolsTest, TheDatePageShowsTheDateTheLayoutDraws) {
  StartLarge();
  Tool(cmd::ID_ADD_SYSTEM_DATE);
  ClickAt(kClickX, kClickY);
  ASSERT_EQ(Doc().Objects().GetSize(), 2);
  const auto* date = Last()->GetObjectAs<CObjText>();
  QWidget* page = OpenPage("System date");
  ASSERT_NE(page, nullptr);
  auto* value = page->findChild<QLabel*>("label1086");
  auto* style = page->findChild<QComboBox*>("combo1083");
  ASSERT_TRUE(value != nullptr && style != nullptr);
  EXPECT_EQ(value->text().toStdString(), date->GetText());
  for (Qt::Key key : {Qt::Key_Up, Qt::Key_Up, Qt::Key_Down}) {
    const std::string before = date->GetText();
    QTest::keyClick(style, key);
    Pump();
    EXPECT_NE(date->GetText(), before) << "the style reached the date";
    EXPECT_EQ(value->text().toStdString(), date->GetText());
  }
}

namespace {

struct FixPositionCase {
  const char* name;
  int command;
  const char* page;
  const char* combo;
};

void PrintTo(const FixPositionCase& c, std::ostream* out) { *out << c.name; }

class FixPositionUndoTest : public TextToolsTest, public ::testing::WithParamInterface<FixPositionCase> {};

}  // namespace

// A new fixed position of a serial number or a VIN is one step of Undo.
TEST_P(FixPositionUndoTest, UndoGivesTheOldFixedPositionBack) {
  StartLarge();
  Tool(GetParam().command);
  ClickAt(kClickX, kClickY);
  ASSERT_EQ(Doc().Objects().GetSize(), 2);
  const int corner = Last()->GetObjectAs<CObjText>()->Settings().fixedCorner;
  QWidget* page = OpenPage(GetParam().page);
  ASSERT_NE(page, nullptr);
  auto* fix = page->findChild<QComboBox*>(GetParam().combo);
  ASSERT_NE(fix, nullptr);
  QTest::keyClick(fix, corner > 0 ? Qt::Key_Up : Qt::Key_Down);
  Pump();
  ASSERT_NE(Last()->GetObjectAs<CObjText>()->Settings().fixedCorner, corner);
  MenuCommand(cmd::ID_EDIT_UNDO);
  ASSERT_EQ(Doc().Objects().GetSize(), 2) << "the object is still there";
  EXPECT_EQ(Last()->GetObjectAs<CObjText>()->Settings().fixedCorner, corner);
}

INSTANTIATE_TEST_SUITE_P(
    Objects, FixPositionUndoTest,
    ::testing::Values(FixPositionCase{"Serial", cmd::ID_ADD_AUTO_TEXT, "Auto text", "combo1082"},
                      FixPositionCase{"Vin", cmd::ID_ADD_VIN, "VIN code(seventeen chars)", "combo1110"}),
    [](const auto& info) { return std::string(info.param.name); });

// On a 1600 by 1000 screen the marking parameters go on below the pane's
// bottom: the pane scrolls to the protected ones, which the operator opens.
TEST_F(TextToolsTest, TheMarkParameterPageScrollsToItsProtectedParameters) {
  StartLarge();
  QWidget* page = OpenPage("Mark parameter");
  ASSERT_NE(page, nullptr);
  CProperityPane* pane = Frame()->ActiveChildFrame()->PropertyPane();
  QScrollBar* bar = pane->verticalScrollBar();
  ASSERT_GT(bar->maximum(), 0) << "the pane scrolls";
  bar->setValue(bar->maximum());
  Pump();
  auto fullyShown = [](QWidget* w) { return w->isVisible() && w->visibleRegion().boundingRect().size() == w->size(); };
  for (const char* name : {"edit1019", "edit1033", "edit1020", "button1029", "edit1022", "edit1023", "edit1027",
                           "edit1024", "combo1025"}) {
    auto* control = page->findChild<QWidget*>(name);
    ASSERT_NE(control, nullptr) << name;
    EXPECT_TRUE(fullyShown(control)) << name;
  }
  // The rotary code opens the rotary constants and the lock button.
  QLineEdit* password = Edit(page, "edit1020");
  ASSERT_NE(password, nullptr);
  TypeOver(password, "quenmart");
  Pump();
  EXPECT_TRUE(page->findChild<QWidget*>("edit1022")->isEnabled());
  EXPECT_TRUE(page->findChild<QWidget*>("button1029")->isEnabled());
}
