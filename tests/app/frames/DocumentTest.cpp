// Layout windows on the real document: new layouts, opening project files
// through the frame, saving through the document, and painting what was read.
// Also the file choosers: where they open and which files they show.
#include <QAction>
#include <QDialog>
#include <QDir>
#include <QImageReader>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QImage>
#include <QMdiArea>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>

#include "app/core/CommandIds.h"
#include "app/core/StatusTexts.h"
#include "app/frames/CChildFrame.h"
#include "app/frames/CMainFrame.h"
#include "app/frames/QtFileDialog.h"
#include "values/ShellValues.h"
#include "app/views/CVendrikView.h"
#include "document/doc/CVendrikDoc.h"
#include "document/mrk/MrkFile.h"
#include "document/objects/CObjElement.h"
#include "document/objects/CObjPolyLine.h"
#include "document/path/CPathData.h"
#include "document/path/CStrokeGroup.h"
#include "document/params/CDrawProperity.h"
#include "text/objects/CObjTextRuler.h"
#include "platform/FileDialog.h"
#include "platform/PictureLoader.h"
#include "platform_qt/QtPictureDecoder.h"
#include "tests/app/frames/FramesFixture.h"
#include "tests/app/frames/LayoutWindowFixture.h"
#include "tests/document/hatch/CombOutline.h"

namespace {

CChildFrame* ActiveChild(CVendrikApp& app) { return app.MainFrame()->ActiveChildFrame(); }

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

bool IsParameterRecord(const CObjElement* e) {
  return e != nullptr && e->type == OBJ_PROPERITY && e->GetObjectAs<CDrawProperity>() != nullptr;
}

}  // namespace

TEST_F(FramesTest, NewLayoutHoldsOnlyItsParameterRecordAndOffersNoSave) {
  ASSERT_TRUE(Start());
  CChildFrame* child = ActiveChild(*app_);
  ASSERT_NE(child, nullptr);
  CVendrikDoc* doc = child->Document();
  ASSERT_NE(doc, nullptr);
  EXPECT_EQ(child->LayoutView()->GetDocument(), doc);
  ASSERT_EQ(doc->Objects().GetSize(), 1);
  EXPECT_TRUE(IsParameterRecord(doc->Objects()[0]));
  EXPECT_EQ(doc->Objects()[0]->name, "");
  // The defaults of a fresh install: the standard work area.
  EXPECT_DOUBLE_EQ(doc->Objects()[0]->GetObjectAs<CDrawProperity>()->GetRangeX(), 120.0);

  // Nothing to save or export without a drawing object.
  for (int id : {57603, 57604, 32743}) EXPECT_FALSE(app_->OnCmdMsg(id, false)) << id;
  app_->MainFrame()->UpdateCommandUI();
  EXPECT_FALSE(app_->MainFrame()->Action(57603)->isEnabled());
  // File New starts the active layout afresh, without asking: nothing changed.
  EXPECT_TRUE(app_->OnCmdMsg(57600, true));
  ASSERT_EQ(app_->MainFrame()->MdiArea()->subWindowList().size(), 1);
  EXPECT_EQ(ActiveChild(*app_)->Document(), doc);
  EXPECT_EQ(doc->Objects().GetSize(), 1);
  EXPECT_EQ(doc->GetTitle(), "NoneName");
  EXPECT_TRUE(IsParameterRecord(doc->Objects()[0]));
}

TEST_F(FramesTest, NewLayoutsTakeOverTheMachineSettingsWithTheirCorrections) {
  // A fresh install: the record's own defaults (transmission constant 30,
  // motor diameter 10), the same as once its file exists.
  ASSERT_TRUE(Start());
  const auto* fresh = ActiveChild(*app_)->Document()->Objects()[0]->GetObjectAs<CDrawProperity>();
  ASSERT_NE(fresh, nullptr);
  EXPECT_DOUBLE_EQ(fresh->GetTransmissionConstant(), 30.0);
  EXPECT_DOUBLE_EQ(fresh->GetMotorDiameter(), 10.0);
  Stop();

  MachineSetRecord stored = DefaultMachineSetRecord();
  stored.rangeX = 5000;
  stored.rangeY = 2;
  stored.transmissionConstant = 900;
  std::ofstream(folder_ + "/MachineSet.DAT", std::ios::binary)
      .write(reinterpret_cast<const char*>(&stored), sizeof stored);
  ASSERT_TRUE(Start());
  const auto* record = ActiveChild(*app_)->Document()->Objects()[0]->GetObjectAs<CDrawProperity>();
  EXPECT_DOUBLE_EQ(record->GetRangeX(), 3000.0);
  EXPECT_DOUBLE_EQ(record->GetRangeY(), 10.0);
  EXPECT_DOUBLE_EQ(record->GetTransmissionConstant(), 48.0);
  // The corrections reach the program-wide record, which the work area is drawn from.
  EXPECT_DOUBLE_EQ(ActiveChild(*app_)->LayoutView()->WorkAreaWidthMm(), 3000.0);
  EXPECT_DOUBLE_EQ(ActiveChild(*app_)->LayoutView()->WorkAreaHeightMm(), 10.0);
}

TEST_F(FramesTest, ProjectOpenedThroughTheFrameIsReadIntoItsDocumentAndSavesBackTheSame) {
  const std::string path = CopyLayoutFixture("layout.mrk");
  ASSERT_TRUE(Start({QString::fromStdString(path)}));
  // Read under the same machine settings (the record takes some values over).
  CObjPtrArray expected;
  ASSERT_EQ(ReadMrkFile(path, expected), 1);
  ASSERT_GT(expected.GetSize(), 2);
  CChildFrame* child = ActiveChild(*app_);
  ASSERT_NE(child, nullptr);
  CVendrikDoc* doc = child->Document();
  // Read on the load request, after the initial update's parameter record.
  ASSERT_EQ(doc->Objects().GetSize(), expected.GetSize());
  EXPECT_TRUE(IsParameterRecord(doc->Objects()[0]));
  EXPECT_EQ(FormatMrkFile(doc->Objects(), path), FormatMrkFile(expected, path));
  EXPECT_EQ(doc->GetPathName(), path);
  EXPECT_EQ(doc->GetSavedState(), 0);
  EXPECT_EQ(child->windowTitle().toStdString(), path);
  // The file's continuous count (2), none of it done yet.
  EXPECT_EQ(app_->MainFrame()->PaneText(ID_PANE_MARK_COUNT).toStdString(), "0/2\xE6\xAC\xA1");
  EXPECT_TRUE(prompt_->Texts().empty());

  // Save As goes through the document and its dialog.
  auto dialog = std::make_shared<platform::ScriptedFileDialog>();
  platform::SetFileDialog(dialog);
  const std::string copy = folder_ + "/copy.mrk";
  dialog->QueuePath(copy);
  EXPECT_TRUE(app_->OnCmdMsg(57604, true));
  ASSERT_EQ(dialog->Requests().size(), 1u);
  EXPECT_EQ(dialog->Requests()[0].defaultExt, "*.mrk");
  EXPECT_EQ(doc->GetPathName(), copy);
  EXPECT_EQ(child->windowTitle().toStdString(), copy);
  CObjPtrArray reread;
  ASSERT_EQ(ReadMrkFile(copy, reread), 1);
  EXPECT_EQ(FormatMrkFile(reread, copy), FormatMrkFile(doc->Objects(), copy));

  // Save writes the named file again without asking.
  std::filesystem::remove(copy);
  EXPECT_TRUE(app_->OnCmdMsg(57603, true));
  EXPECT_EQ(dialog->Requests().size(), 1u);
  EXPECT_EQ(ReadAll(copy), FormatMrkFile(doc->Objects(), copy));
  platform::SetFileDialog(std::make_shared<platform::ScriptedFileDialog>());
}

TEST_F(FramesTest, RefusedProjectLeavesAnUnnamedLayoutWithItsParameterRecord) {
  const std::string path = folder_ + "/broken.mrk";
  std::ofstream(path) << "not a project\n";
  ASSERT_TRUE(Start({QString::fromStdString(path)}));
  CVendrikDoc* doc = ActiveChild(*app_)->Document();
  EXPECT_EQ(prompt_->Texts(), std::vector<std::string>{kMrkNotProjectText});
  ASSERT_EQ(doc->Objects().GetSize(), 1);
  EXPECT_TRUE(IsParameterRecord(doc->Objects()[0]));
  EXPECT_EQ(doc->GetPathName(), "");  // a later Save asks for a name
}

TEST_F(FramesTest, OpenCommandReadsAProjectIntoTheActiveLayout) {
  const std::string path = CopyLayoutFixture("asked.mrk");
  auto dialog = std::make_shared<platform::ScriptedFileDialog>();
  platform::SetFileDialog(dialog);
  ASSERT_TRUE(Start());
  dialog->QueueCancel();
  EXPECT_TRUE(app_->OnCmdMsg(57601, true));
  const std::string title = ActiveChild(*app_)->Document()->GetTitle();
  // A file that is not a project changes nothing.
  const std::string notes = std::filesystem::path(path).parent_path().string() + "/notes.mrk";
  std::ofstream(notes, std::ios::binary) << "not a project\r\n";
  dialog->QueuePath(notes);
  EXPECT_TRUE(app_->OnCmdMsg(57601, true));
  EXPECT_EQ(ActiveChild(*app_)->Document()->GetTitle(), title);
  EXPECT_EQ(ActiveChild(*app_)->Document()->Objects().GetSize(), 1);
  dialog->QueuePath(path);
  EXPECT_TRUE(app_->OnCmdMsg(57601, true));
  PumpQt();
  ASSERT_EQ(dialog->Requests().size(), 3u);
  EXPECT_FALSE(dialog->Requests()[0].save);
  EXPECT_EQ(dialog->Requests()[0].filter, kMrkFilter);
  ASSERT_EQ(app_->MainFrame()->MdiArea()->subWindowList().size(), 1);
  EXPECT_EQ(ActiveChild(*app_)->Document()->GetPathName(), path);
  EXPECT_GT(ActiveChild(*app_)->Document()->Objects().GetSize(), 1);
  platform::SetFileDialog(std::make_shared<platform::ScriptedFileDialog>());
}

// A 53 KB project of one comb, 200 teeth filled at 0.03 mm, once made 1.3
// million fill strokes while it opened. Its fill is left out, and the
// operator is told which object lost it.
TEST_F(FramesTest, OpeningAProjectWhoseFillIsTooBigToMarkTellsTheOperator) {
  CObjPtrArray written;
  CPointList outline = CombOutline(200);
  auto comb = std::make_unique<CObjElement>(
      CObjCreateRecord{"comb", OBJ_POLYLINE, new CObjPolyLine(outline, 1, 0), static_cast<int>(sizeof(CObjPolyLine)), {}});
  comb->SetFillOn(1);
  comb->fillSpacing = 0.03f;
  written.Add(std::move(comb));
  const std::string path = folder_ + "/comb.mrk";
  ASSERT_EQ(WriteMrkFile(path, written), 1);
  auto dialog = std::make_shared<platform::ScriptedFileDialog>();
  platform::SetFileDialog(dialog);
  ASSERT_TRUE(Start());
  dialog->QueuePath(path);
  EXPECT_TRUE(app_->OnCmdMsg(57601, true));
  PumpQt();
  EXPECT_EQ(prompt_->Texts(), std::vector<std::string>{"The fill of \"comb\" needs more strokes than can be marked and "
                                                       "is left out: choose a wider fill spacing."});
  const CObjPtrArray& objects = ActiveChild(*app_)->Document()->Objects();
  ASSERT_EQ(objects.GetSize(), 2);
  const CPathData* combPath = objects[1]->GetPath();
  ASSERT_NE(combPath, nullptr);
  ASSERT_GT(combPath->GetGroupCount(), 0);
  EXPECT_EQ(combPath->GetGroupAt(0)->GetFillList().GetSize(), 0);
  EXPECT_GT(combPath->GetGroupAt(0)->GetCount(), 0) << "the outline itself stays";
  platform::SetFileDialog(std::make_shared<platform::ScriptedFileDialog>());
}

// Six rulers of 99000 ticks each, then a square filled with 20000 strokes:
// five rulers take what all objects of a project may hold together, so the
// sixth is left without its ticks and the square without its strokes (its
// corners stay, to be saved and filled again when it is changed). The
// operator is told which.
TEST_F(FramesTest, OpeningAProjectThatNeedsMoreThanAProjectMayHoldLeavesTheRestEmpty) {
  auto dialog = std::make_shared<platform::ScriptedFileDialog>();
  platform::SetFileDialog(dialog);
  ASSERT_TRUE(Start());  // the ruler's class is the program's
  CObjPtrArray written;
  for (int i = 1; i <= 6; ++i) {
    auto* ruler = new CObjTextRuler(CDoublePoint(0, 0));
    ruler->Ruler().units = 99000;
    ruler->Ruler().textMode = 0;
    ruler->Ruler().lineW = 0.01f;
    written.Add(std::make_unique<CObjElement>(CObjCreateRecord{"ruler-" + std::to_string(i), OBJ_RULER, ruler,
                                                               static_cast<int>(sizeof(CObjTextRuler)), {}}));
  }
  CPointList outline;
  for (auto [x, y] : {std::pair{0, 0}, {600, 0}, {600, 600}, {0, 600}, {0, 0}})
    outline.Add(CDoublePoint(x, y, outline.GetSize() == 0 ? 0 : PT_JOINED));
  auto square = std::make_unique<CObjElement>(
      CObjCreateRecord{"square", OBJ_POLYLINE, new CObjPolyLine(outline, 1, 0), sizeof(CObjPolyLine), {}});
  square->SetFillOn(1);
  square->fillSpacing = 0.03f;
  const int corners = square->GetPath()->points.GetSize();
  written.Add(std::move(square));
  const std::string path = folder_ + "/rulers.mrk";
  ASSERT_EQ(WriteMrkFile(path, written), 1);
  dialog->QueuePath(path);
  EXPECT_TRUE(app_->OnCmdMsg(57601, true));
  PumpQt();
  EXPECT_EQ(prompt_->Texts(),
            std::vector<std::string>{"The project needs more strokes or picture memory than can be held together; "
                                     "these objects are left empty: \"ruler-6\", \"square\"."});
  const CObjPtrArray& objects = ActiveChild(*app_)->Document()->Objects();
  ASSERT_EQ(objects.GetSize(), 8);
  for (int i = 1; i <= 5; ++i) EXPECT_GT(objects[i]->GetPath()->points.GetSize(), 198000) << i;
  EXPECT_EQ(objects[6]->GetPath()->points.GetSize(), 0);
  EXPECT_EQ(objects[6]->GetPath()->GetGroupCount(), 0) << "nothing drawn or marked";
  EXPECT_EQ(objects[7]->GetPath()->GetGroupCount(), 0);
  EXPECT_EQ(objects[7]->GetPath()->points.GetSize(), corners) << "the square's corners stay";
  platform::SetFileDialog(std::make_shared<platform::ScriptedFileDialog>());
}

TEST_F(FramesTest, LayoutViewPaintsTheObjectsItRead) {
  ASSERT_TRUE(Start());
  CVendrikView* view = ActiveChild(*app_)->LayoutView();
  view->resize(800, 600);
  const QImage empty = view->grab().toImage();
  ASSERT_TRUE(view->OnLoadMrkFile(CopyLayoutFixture("painted.mrk")));
  const QImage painted = view->grab().toImage();
  ASSERT_EQ(painted.size(), empty.size());
  // The fixture's line is red (colour 255).
  int red = 0;
  for (int y = 0; y < painted.height(); ++y) {
    for (int x = 0; x < painted.width(); ++x) {
      const QRgb c = painted.pixel(x, y);
      if (c != empty.pixel(x, y) && qRed(c) > 200 && qGreen(c) < 60 && qBlue(c) < 60) ++red;
    }
  }
  EXPECT_GT(red, 10);
}

// Each kind of file's dialog opens in the folder its last file was chosen
// in (Open and Save As share theirs), kept from one run to the next; before
// that, and once that folder is gone, in the data folder's "Projects" when
// there is one, else in the home folder.
TEST_F(FramesTest, FileDialogsOpenWhereTheirKindOfFileWasLastChosen) {
  constexpr int kImportFile = 32782;
  auto dialog = std::make_shared<platform::ScriptedFileDialog>();
  platform::SetFileDialog(dialog);
  auto command = [this](int id) {
    CMainFrame* frame = app_->MainFrame();
    frame->UpdateCommandUI();
    ASSERT_TRUE(frame->Action(id)->isEnabled()) << id;
    frame->Action(id)->trigger();
    PumpQt();
  };
  auto lastFolder = [&dialog] { return dialog->Requests().back().folder; };
  ASSERT_TRUE(Start());
  command(cmd::ID_FILE_OPEN);
  const char* home = std::getenv("HOME");
  EXPECT_EQ(lastFolder(), home != nullptr ? home : "");

  const std::string projects = folder_ + "/Projects";
  const std::string work = folder_ + "/work";
  const std::string saved = folder_ + "/saved";
  for (const std::string& f : {projects, work, saved}) std::filesystem::create_directories(f);
  const std::string project = work + "/asked.mrk";
  std::filesystem::rename(CopyLayoutFixture("asked.mrk"), project);
  dialog->QueuePath(project);
  command(cmd::ID_FILE_OPEN);
  EXPECT_EQ(lastFolder(), projects);
  ASSERT_EQ(ActiveChild(*app_)->Document()->GetPathName(), project);
  command(kImportFile);
  EXPECT_EQ(lastFolder(), projects) << "a drawing is another kind of file";
  dialog->QueuePath(saved + "/copy.mrk");
  command(cmd::ID_FILE_SAVE_AS);
  EXPECT_EQ(lastFolder(), work);

  Stop();
  ASSERT_TRUE(Start());
  command(cmd::ID_FILE_OPEN);
  EXPECT_EQ(lastFolder(), saved);
  std::filesystem::remove_all(saved);
  command(cmd::ID_FILE_OPEN);
  EXPECT_EQ(lastFolder(), projects);
  platform::SetFileDialog(std::make_shared<platform::ScriptedFileDialog>());
}

TEST(QtFileDialogFilters, PairsBecomeQtNameFilters) {
  EXPECT_EQ(ToQtNameFilters("\xE6\xA0\x87\xE8\xAE\xB0\xE9\xA1\xB9\xE7\x9B\xAE\xE6\x96\x87\xE4\xBB\xB6 (*.mrk)|*.mrk||"),
            QStringList{QString::fromUtf8("标记项目文件 (*.mrk)")});
  EXPECT_EQ(ToQtNameFilters("Pictures|*.bmp;*.jpg|All (*)|*||"),
            (QStringList{"Pictures (*.bmp *.jpg)", "All (*)"}));
  // Qt splits a label's patterns at blanks only.
  EXPECT_EQ(ToQtNameFilters("Excel (*.xls;*.xlsx)|*.xls;*.xlsx|Bmp file|*.bmp; *.dib||"),
            (QStringList{"Excel (*.xls *.xlsx)", "Bmp file (*.bmp *.dib)"}));
  EXPECT_TRUE(ToQtNameFilters("").isEmpty());
}

namespace {

// The entries of a chooser's filter that show the file in Qt's dialog,
// which takes an entry's patterns from its parentheses, split at blanks.
QStringList EntriesShowing(const platform::FileDialogRequest& request, const std::string& file) {
  static const QRegularExpression kPatterns("^(.*)\\(([^()]*)\\)$");
  QStringList entries;
  for (const QString& entry : ToQtNameFilters(request.filter)) {
    const QStringList patterns = kPatterns.match(entry).captured(2).split(' ', Qt::SkipEmptyParts);
    if (QDir::match(patterns, QString::fromStdString(file))) entries << entry;
  }
  return entries;
}

}  // namespace

// The picture and spreadsheet choosers show every file their readers take:
// the pictures' first entry every format of the picture reader (PNG with an
// entry of its own), the spreadsheet link's the binary and the XML workbooks.
TEST_F(LayoutWindowTest, FileChoosersShowEveryFormatTheirReadersTake) {
  constexpr int kImportPicture = 32857;
  auto files = std::make_shared<platform::ScriptedFileDialog>();
  platform::SetFileDialog(files);
  platform_qt::InstallQtPictureDecoder();
  StartWithNewLayout();
  Command(kImportPicture);
  ASSERT_EQ(files->Requests().size(), 1u);
  const platform::FileDialogRequest pictures = files->Requests().back();
  const QString allPictures = ToQtNameFilters(pictures.filter).value(0);
  std::vector<std::string> read = {"pcx", "dib", "jpe"};
  for (const QByteArray& format : QImageReader::supportedImageFormats()) read.push_back(format.toStdString());
  for (const std::string& suffix : read) {
    const QStringList entries = EntriesShowing(pictures, "picture." + suffix);
    EXPECT_TRUE(entries.contains(allPictures)) << suffix;
  }
  EXPECT_TRUE(EntriesShowing(pictures, "picture.png").contains(QString::fromUtf8("PNG文件 (*.png)")));
  for (const char* kind : {"picture.bmp", "picture.dib", "picture.jpeg", "picture.tiff"})
    EXPECT_EQ(EntriesShowing(pictures, kind).size(), 3) << kind << ": the first, its own and all files";

  AnswerNextDialog([](QDialog& dialog) {
    QTest::mouseClick(dialog.findChild<QPushButton*>("button1047"), Qt::LeftButton);
  });
  Command(cmd::ID_CONFIG_EXCEL);
  EXPECT_EQ(DialogsAnswered(), 1);
  ASSERT_EQ(files->Requests().size(), 2u);
  for (const char* book : {"rows.xls", "rows.xlsx", "rows.xlsm"})
    EXPECT_FALSE(EntriesShowing(files->Requests().back(), book).isEmpty()) << book;
  EXPECT_TRUE(prompt_->Texts().empty());
  platform::SetPictureDecoder(nullptr);
  platform::SetFileDialog(nullptr);
}
