// The operator is told once what could not be drawn: a drawing imported
// through the main frame's Import action whose text's font is not installed
// or whose entities the import leaves out, and a project whose text's font
// is not installed.
#include <QAction>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/frames/CChildFrame.h"
#include "app/frames/CMainFrame.h"
#include "document/doc/CVendrikDoc.h"
#include "platform/FileDialog.h"
#include "tests/app/frames/FramesFixture.h"

namespace {

constexpr int ID_FILE_OPEN = 57601;
constexpr int ID_IMPORT_FILE = 32782;

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

}  // namespace

// File > Import file, answering its file dialog with the drawing.
class ImportNoticeTest : public FramesTest {
 protected:
  void ImportThroughMenu(platform::ScriptedFileDialog& dialog, const std::string& path) {
    dialog.QueuePath(path);
    app_->MainFrame()->UpdateCommandUI();
    QAction* import = app_->MainFrame()->Action(ID_IMPORT_FILE);
    ASSERT_NE(import, nullptr);
    ASSERT_TRUE(import->isEnabled());
    import->trigger();
    PumpQt();
  }
};

TEST_F(ImportNoticeTest, AnImportedDrawingNamesTheFontItsTextsMissOnce) {
  auto dialog = std::make_shared<platform::ScriptedFileDialog>();
  platform::SetFileDialog(dialog);
  ASSERT_TRUE(Start());
  const std::string path = folder_ + "/drawing.dxf";
  WriteFile(path,
            "  0\nSECTION\n  2\nTABLES\n  0\nSTYLE\n100\nAcDbTextStyleTableRecord\n  2\nSTANDARD\n  3\nromans\n"
            "  4\n\n  0\nENDSEC\n  0\nSECTION\n  2\nENTITIES\n"
            "  0\nTEXT\n100\nAcDbText\n 10\n0\n 20\n0\n 40\n5\n  1\nAB\n100\nAcDbText\n"
            "  0\nTEXT\n100\nAcDbText\n 10\n0\n 20\n9\n 40\n5\n  1\nCD\n100\nAcDbText\n"
            "  0\nLINE\n 10\n0\n 20\n0\n 30\n0\n 11\n10\n 21\n0\n 31\n0\n  0\nENDSEC\n  0\nEOF\n");
  ImportThroughMenu(*dialog, path);
  ASSERT_EQ(dialog->Requests().size(), 1u);
  EXPECT_EQ(prompt_->Texts(),
            std::vector<std::string>{"Font not found: romans.shx\nFonts folder: " + folder_ + "/Fonts"});
  // The line is imported all the same.
  EXPECT_EQ(app_->MainFrame()->ActiveChildFrame()->Document()->Objects().GetSize(), 2);
  platform::SetFileDialog(std::make_shared<platform::ScriptedFileDialog>());
}

TEST_F(ImportNoticeTest, AnImportedDrawingNamesWhatItLeftOutOnce) {
  auto dialog = std::make_shared<platform::ScriptedFileDialog>();
  platform::SetFileDialog(dialog);
  ASSERT_TRUE(Start());
  const std::string fitSpline =
      "  0\nSPLINE\n100\nAcDbEntity\n100\nAcDbSpline\n 70\n8\n 71\n3\n 72\n0\n 73\n0\n 74\n3\n"
      " 11\n0\n 21\n0\n 31\n0\n 11\n5\n 21\n5\n 31\n0\n 11\n10\n 21\n0\n 31\n0\n";
  const std::string path = folder_ + "/splines.dxf";
  WriteFile(path, "  0\nSECTION\n  2\nENTITIES\n" + fitSpline + fitSpline +
                      "  0\nHATCH\n100\nAcDbEntity\n 10\n0\n 20\n0\n"
                      "  0\nLINE\n 10\n0\n 20\n0\n 30\n0\n 11\n10\n 21\n0\n 31\n0\n  0\nENDSEC\n  0\nEOF\n");
  ImportThroughMenu(*dialog, path);
  ASSERT_EQ(dialog->Requests().size(), 1u);
  EXPECT_EQ(prompt_->Texts(),
            std::vector<std::string>{"Left out of the drawing: 2 SPLINE (fit points only), 1 HATCH"});
  // The line is imported all the same.
  EXPECT_EQ(app_->MainFrame()->ActiveChildFrame()->Document()->Objects().GetSize(), 2);
  platform::SetFileDialog(std::make_shared<platform::ScriptedFileDialog>());
}

TEST_F(FramesTest, AProjectWhoseTextFontIsMissingSaysSoOnce) {
  auto dialog = std::make_shared<platform::ScriptedFileDialog>();
  platform::SetFileDialog(dialog);
  ASSERT_TRUE(Start());
  // The fixture's text, with fonts this installation lacks and a text to draw.
  std::ifstream in(std::string(VENDRIK_TEST_DATA_DIR) + "/mrk/layout2008.mrk", std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::string fonts = "230;text\r\nABC\r\n";
  ASSERT_NE(bytes.find(fonts), std::string::npos);
  bytes.replace(bytes.find(fonts), fonts.size(), "230;text\r\nGOLDEN+Xc18\r\n235;t\r\nAB\r\n");
  const std::string path = folder_ + "/gold.mrk";
  WriteFile(path, bytes);
  for (int open = 0; open < 2; ++open) {
    dialog->QueuePath(path);
    EXPECT_TRUE(app_->OnCmdMsg(ID_FILE_OPEN, true));
    PumpQt();
    app_->MainFrame()->ActiveChildFrame()->grab();  // painted, too
    PumpQt();
  }
  EXPECT_EQ(dialog->Requests().size(), 2u);
  EXPECT_EQ(prompt_->Texts(),
            std::vector<std::string>{"Font not found: GOLDEN.shx\nFonts folder: " + folder_ + "/Fonts"});
  platform::SetFileDialog(std::make_shared<platform::ScriptedFileDialog>());
}
