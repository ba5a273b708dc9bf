// The layout document: saving with its dialogs and failures, the framework's
// save hook, the load request to the layout view and the .pts dot export.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstring>
#include <memory>
#include <string>

#include "values/ShellMessages.h"
#include "document/doc/CVendrikDoc.h"
#include "document/mrk/MrkFile.h"
#include "document/objects/CObjPolyLine.h"
#include "document/params/CDrawProperity.h"
#include "platform/FileDialog.h"
#include "tests/document/mrk/MrkTestSupport.h"

namespace {

class DocTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetFileDialog(dialog);
    doc.Objects().Add(new CObjElement(
        CObjCreateRecord{"", OBJ_PROPERITY, new CDrawProperity(), static_cast<int>(sizeof(CDrawProperity)), {}}));
  }
  void AddPolyline() {
    CPointList list;
    for (const auto& p : {CDoublePoint(0, 0, 0), CDoublePoint(2, 0, 1), CDoublePoint(2, 3, 1)}) list.Add(p);
    auto* e = new CObjElement(
        CObjCreateRecord{"Poly-1", OBJ_POLYLINE, new CObjPolyLine(list, 0, 0), static_cast<int>(sizeof(CObjPolyLine)), {}});
    e->RefreshTypeObject();
    doc.Objects().Add(e);
    doc.SetSavedState(1);
  }

  TempFolder dir;
  std::shared_ptr<platform::ScriptedFileDialog> dialog = std::make_shared<platform::ScriptedFileDialog>();
  std::shared_ptr<platform::ScriptedPrompt> prompt = RecordPrompts();
  CVendrikDoc doc;
};

TEST_F(DocTest, SaveOfANewLayoutAsksForThePathAndCancelSavesNothing) {
  EXPECT_FALSE(doc.OnCommand(CVendrikDoc::ID_FILE_SAVE));  // only the record: disabled
  AddPolyline();
  dialog->QueueCancel();
  EXPECT_TRUE(doc.OnCommand(CVendrikDoc::ID_FILE_SAVE));
  ASSERT_EQ(dialog->Requests().size(), 1u);
  const auto request = dialog->Requests()[0];
  EXPECT_EQ(request.defaultExt, "*.mrk");
  EXPECT_EQ(request.filter, "标记项目文件 (*.mrk)|*.mrk||");
  EXPECT_EQ(request.flags, platform::OFN_HIDEREADONLY | platform::OFN_OVERWRITEPROMPT);
  EXPECT_EQ(doc.GetSaveCompleted(), 0);
  EXPECT_TRUE(doc.IsModified());

  const std::string path = dir / "Layout One.mrk";
  dialog->QueuePath(path);
  doc.OnFileSave();
  EXPECT_EQ(doc.GetSaveCompleted(), 1);
  EXPECT_EQ(doc.GetTitle(), path);
  EXPECT_FALSE(doc.IsModified());
  EXPECT_EQ(ReadBytes(path), FormatMrkFile(doc.Objects(), path));
  // Named now: saved again without asking.
  EXPECT_EQ(doc.SaveIfNamed(1), 1);
  EXPECT_EQ(dialog->Requests().size(), 2u);
  EXPECT_TRUE(prompt->Texts().empty());
}

TEST_F(DocTest, SaveIfNamedLeavesUnnamedLayoutsAlone) {
  AddPolyline();
  doc.SetFilePath("a.mr");  // 4 characters count as no name
  EXPECT_EQ(doc.SaveIfNamed(1), 0);
  EXPECT_TRUE(dialog->Requests().empty());
  EXPECT_EQ(doc.SaveIfNamed(0), 0);  // asks; a cancel is no save
  EXPECT_EQ(dialog->Requests().size(), 1u);
  EXPECT_TRUE(prompt->Texts().empty());
}

TEST_F(DocTest, AFailedWriteIsReportedAndNeverCountsAsSaved) {
  AddPolyline();
  WriteBytes(dir / "file", "old");
  doc.SetFilePath(dir / "file/cannot.mrk");
  EXPECT_EQ(doc.SaveIfNamed(1), 0);
  EXPECT_EQ(doc.GetSaveCompleted(), 1);
  EXPECT_TRUE(doc.IsModified());
  const auto requests = prompt->Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].text, "Save file error,the file is forbid to write?");
  EXPECT_EQ(requests[0].type & MB_ICONERROR, MB_ICONERROR);
  EXPECT_FALSE(doc.OnSaveDocument(dir / "file/other"));
  dialog->QueuePath(dir / "file/third.mrk");
  doc.OnFileSaveAs();
  EXPECT_EQ(prompt->Texts().size(), 3u);
  EXPECT_EQ(ReadBytes(dir / "file"), "old");
}

TEST_F(DocTest, SaveHookKeepsThePathsCaseAndAddsTheExtensionOnce) {
  AddPolyline();
  std::filesystem::create_directory(dir / "a.mrk.d");
  const struct {
    std::string given;
    std::string stored;
  } cases[] = {{dir / "LAYOUT", dir / "LAYOUT.mrk"},
               {dir / "Second.MRK", dir / "Second.MRK"},
               {dir / "a.mrk.d/x", dir / "a.mrk.d/x.mrk"}};
  for (const auto& c : cases) {
    EXPECT_TRUE(doc.OnSaveDocument(c.given));
    EXPECT_EQ(doc.GetPathName(), c.stored);
    EXPECT_TRUE(std::filesystem::exists(c.stored));
  }
}

TEST_F(DocTest, LoadRequestGoesToTheFirstLayoutViewWithItsOwnCopyOfThePath) {
  platform::QueueMessageTarget display;
  platform::QueueMessageTarget layout;
  platform::QueueMessageTarget second;
  std::shared_ptr<void> payload;
  const std::string path = "/Data/Case Sensitive/" + std::string(300, 'p') + ".mrk";
  {
    CVendrikDoc local;
    local.Serialize(true, "/nowhere/a.mrk");  // no view yet: nothing is posted
    local.AddView(&display, false);
    local.AddView(&layout, true);
    local.AddView(&second, true);
    local.Serialize(false, "/x/stored.mrk");  // storing does nothing
    local.Serialize(true, path);
    EXPECT_EQ(display.Size() + second.Size(), 0u);
    const auto message = layout.TryTake();
    ASSERT_TRUE(message.has_value());
    EXPECT_EQ(message->msg, 1254u);
    EXPECT_EQ(message->msg, WM_LOAD_MRK_FILE);
    payload = message->payload;
    local.DeleteAllObjects();
    EXPECT_EQ(local.GetLoadPath(), path);
  }
  // The document is gone; the view's copy lives on.
  EXPECT_EQ(*static_cast<std::string*>(payload.get()), path);
  EXPECT_EQ(layout.Size(), 0u);
}

TEST_F(DocTest, PointsImageHoldsEveryDotOfTheDrawingObjects) {
  const std::string path = dir / "dots.pts";
  dialog->QueuePath(path);
  EXPECT_FALSE(doc.OnExportPointsImage());  // no dots: no file
  EXPECT_FALSE(std::filesystem::exists(path));
  AddPolyline();
  dialog->QueuePath(path);
  ASSERT_TRUE(doc.OnExportPointsImage());
  EXPECT_EQ(dialog->Requests()[1].filter, "点阵图形文件 (*.pts)|*.pts||");
  EXPECT_EQ(dialog->Requests()[1].defaultExt, "*.pts");

  const std::string bytes = ReadBytes(path);
  ASSERT_EQ(bytes.size(), 1352u);  // 256 + 3 x 24 + 1024
  EXPECT_EQ(bytes.substr(0, 8), std::string("\xdb\x69\x32\x01\x03\x00\x00\x00", 8));
  EXPECT_EQ(bytes.substr(8, 248), std::string(248, '\0'));
  double x = 0;
  double y = 0;
  std::memcpy(&x, bytes.data() + 256 + 24, 8);
  std::memcpy(&y, bytes.data() + 256 + 48 + 8, 8);
  EXPECT_DOUBLE_EQ(x, 2);
  EXPECT_DOUBLE_EQ(y, 3);
  EXPECT_EQ(bytes[256 + 24 + 16], 1);  // the flag byte
  EXPECT_EQ(bytes.find_first_not_of('\0', 256 + 72), std::string::npos);

  EXPECT_TRUE(prompt->Texts().empty());
  dialog->QueuePath(dir / "missing/x.pts");  // cannot be created: told as a failed save
  EXPECT_FALSE(doc.OnExportPointsImage());
  ASSERT_EQ(::chmod(path.c_str(), 0444), 0);  // write-protected: left as it is
  dialog->QueuePath(path);
  EXPECT_FALSE(doc.OnExportPointsImage());
  EXPECT_EQ(ReadBytes(path).size(), 1352u);
  EXPECT_EQ(prompt->Texts(), std::vector<std::string>(2, "Save file error,the file is forbid to write?"));
}

}  // namespace
