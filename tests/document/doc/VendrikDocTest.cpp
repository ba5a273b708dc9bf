// The layout document: save and save-as with their dialogs and failures, the
// framework's save hook, the load request to the layout view, the element
// array's ownership and the .pts dot export.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "app/core/ShellMessages.h"
#include "document/doc/CObjPtrArray.h"
#include "document/doc/CVendrikDoc.h"
#include "document/doc/PointsImage.h"
#include "document/mrk/MrkFile.h"
#include "document/objects/CObjLine.h"
#include "document/objects/CObjPolyLine.h"
#include "document/params/CDrawProperity.h"
#include "platform/FileDialog.h"
#include "tests/document/mrk/MrkTestSupport.h"

namespace {

constexpr char kSaveError[] = "Save file error,the file is forbid to write?";

std::unique_ptr<CObjElement> RecordElement() {
  return std::make_unique<CObjElement>(
      CObjCreateRecord{"", OBJ_PROPERITY, new CDrawProperity(), static_cast<int>(sizeof(CDrawProperity)), {}});
}

std::unique_ptr<CObjElement> OpenPolyline(std::initializer_list<CDoublePoint> points) {
  CPointList list;
  for (const auto& p : points) list.Add(p);
  auto e = std::make_unique<CObjElement>(
      CObjCreateRecord{"Poly-1", OBJ_POLYLINE, new CObjPolyLine(list, 0, 0), static_cast<int>(sizeof(CObjPolyLine)), {}});
  e->RefreshTypeObject();
  e->UpdateBoundRect();
  return e;
}

class DocTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dialog = std::make_shared<platform::ScriptedFileDialog>();
    platform::SetFileDialog(dialog);
    prompt = RecordPrompts();
  }
  void FillLayout() {
    doc.Objects().Add(RecordElement());
    doc.Objects().Add(OpenPolyline({CDoublePoint(0, 0, 0), CDoublePoint(2, 0, 1), CDoublePoint(2, 3, 1)}));
    doc.SetModifiedFlag(true);
  }

  TempFolder dir;
  std::shared_ptr<platform::ScriptedFileDialog> dialog;
  std::shared_ptr<platform::ScriptedPrompt> prompt;
  CVendrikDoc doc;
};

TEST_F(DocTest, SaveOfANewLayoutAsksForThePathAndCancelSavesNothing) {
  FillLayout();
  dialog->QueueCancel();
  doc.OnFileSave();
  ASSERT_EQ(dialog->Requests().size(), 1u);
  const auto request = dialog->Requests()[0];
  EXPECT_TRUE(request.save);
  EXPECT_EQ(request.defaultExt, "*.mrk");
  EXPECT_EQ(request.filter, "标记项目文件 (*.mrk)|*.mrk||");
  EXPECT_EQ(request.flags, platform::OFN_HIDEREADONLY | platform::OFN_OVERWRITEPROMPT);
  EXPECT_EQ(doc.GetSaveCompleted(), 0);
  EXPECT_TRUE(doc.IsModified());
  EXPECT_EQ(doc.GetPathName(), "");

  const std::string path = dir / "Layout One.mrk";
  dialog->QueuePath(path);
  doc.OnFileSave();
  EXPECT_EQ(doc.GetSaveCompleted(), 1);
  EXPECT_EQ(doc.GetPathName(), path);
  EXPECT_EQ(doc.GetTitle(), path);
  EXPECT_FALSE(doc.IsModified());
  EXPECT_EQ(ReadBytes(path), FormatMrkFile(doc.Objects(), path));

  // Named now: saved again without a dialog.
  doc.SetModifiedFlag(true);
  EXPECT_EQ(doc.SaveIfNamed(1), 1);
  EXPECT_EQ(dialog->Requests().size(), 2u);
  EXPECT_FALSE(doc.IsModified());
  EXPECT_TRUE(prompt->Texts().empty());
}

TEST_F(DocTest, SaveIfNamedLeavesUnnamedLayoutsAlone) {
  FillLayout();
  doc.SetFilePath("a.mr");  // 4 characters count as no name
  EXPECT_EQ(doc.SaveIfNamed(1), 0);
  EXPECT_TRUE(dialog->Requests().empty());
  EXPECT_TRUE(prompt->Texts().empty());
  // Without the flag it asks, and a cancel is no save.
  EXPECT_EQ(doc.SaveIfNamed(0), 0);
  EXPECT_EQ(dialog->Requests().size(), 1u);
  EXPECT_EQ(doc.GetSaveCompleted(), 0);
}

TEST_F(DocTest, AFailedWriteIsReportedAndNeverCountsAsSaved) {
  FillLayout();
  WriteBytes(dir / "file", "old");
  doc.SetFilePath(dir / "file/cannot.mrk");
  EXPECT_EQ(doc.SaveIfNamed(1), 0);
  EXPECT_EQ(doc.GetSaveCompleted(), 1);
  EXPECT_TRUE(doc.IsModified());
  const auto requests = prompt->Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].text, kSaveError);
  EXPECT_EQ(requests[0].type & MB_ICONERROR, MB_ICONERROR);
  EXPECT_FALSE(doc.OnSaveDocument(dir / "file/other"));

  // Save As to a folder that is in the way: reported, the folder untouched.
  const std::string folder = dir / "folder.mrk";
  std::filesystem::create_directory(folder);
  dialog->QueuePath(folder);
  doc.OnFileSaveAs();
  EXPECT_EQ(prompt->Texts().size(), 3u);
  EXPECT_TRUE(std::filesystem::is_directory(folder));
  EXPECT_EQ(ReadBytes(dir / "file"), "old");
}

TEST_F(DocTest, SaveHookKeepsThePathsCaseAndAddsTheExtensionOnce) {
  FillLayout();
  std::filesystem::create_directory(dir / "Work");
  EXPECT_TRUE(doc.OnSaveDocument(dir / "Work/LAYOUT"));
  EXPECT_EQ(doc.GetPathName(), dir / "Work/LAYOUT.mrk");
  EXPECT_TRUE(std::filesystem::exists(dir / "Work/LAYOUT.mrk"));
  EXPECT_TRUE(doc.OnSaveDocument(dir / "Work/Second.MRK"));
  EXPECT_EQ(doc.GetPathName(), dir / "Work/Second.MRK");
  // A path with ".mrk" in a folder name still gets its extension.
  std::filesystem::create_directory(dir / "a.mrk.d");
  EXPECT_TRUE(doc.OnSaveDocument(dir / "a.mrk.d/x"));
  EXPECT_EQ(doc.GetPathName(), dir / "a.mrk.d/x.mrk");
  // A long path is no problem.
  const std::string deep = dir / (std::string(250, 'd') + "/" + std::string(120, 'n'));
  std::filesystem::create_directory(dir / std::string(250, 'd'));
  EXPECT_TRUE(doc.OnSaveDocument(deep));
  CObjPtrArray back;
  EXPECT_EQ(ReadMrkFile(deep + ".mrk", back), 1);
  EXPECT_EQ(back.GetSize(), 2);
}

TEST_F(DocTest, SaveAsTakesTheChosenPathOnlyOnOk) {
  FillLayout();
  doc.SetFilePath(dir / "kept.mrk");
  dialog->QueueCancel();
  doc.OnFileSaveAs();
  EXPECT_EQ(doc.GetPathName(), dir / "kept.mrk");
  EXPECT_EQ(dialog->Requests()[0].fileName, "");
  dialog->QueuePath(dir / "as.mrk");
  doc.OnFileSaveAs();
  EXPECT_EQ(doc.GetPathName(), dir / "as.mrk");
  EXPECT_TRUE(std::filesystem::exists(dir / "as.mrk"));
  EXPECT_FALSE(std::filesystem::exists(dir / "kept.mrk"));
  EXPECT_EQ(doc.GetSaveCompleted(), 0);  // Save As leaves the flag alone
}

TEST_F(DocTest, CommandsNeedADrawingObject) {
  doc.Objects().Add(RecordElement());
  for (UINT id : {CVendrikDoc::ID_FILE_SAVE, CVendrikDoc::ID_FILE_SAVE_AS, CVendrikDoc::ID_EXPORT_POINTS_IMAGE}) {
    EXPECT_FALSE(doc.IsCommandEnabled(id));
    EXPECT_FALSE(doc.OnCommand(id));
  }
  EXPECT_TRUE(dialog->Requests().empty());
  doc.Objects().Add(OpenPolyline({CDoublePoint(0, 0, 0), CDoublePoint(1, 1, 1)}));
  EXPECT_TRUE(doc.IsCommandEnabled(CVendrikDoc::ID_FILE_SAVE));
  EXPECT_TRUE(doc.OnCommand(CVendrikDoc::ID_EXPORT_POINTS_IMAGE));
  EXPECT_FALSE(doc.OnCommand(57601));
}

TEST_F(DocTest, LoadRequestGoesToTheFirstLayoutViewWithItsOwnCopyOfThePath) {
  platform::QueueMessageTarget display;
  platform::QueueMessageTarget layout;
  platform::QueueMessageTarget second;
  std::shared_ptr<void> payload;
  {
    CVendrikDoc local;
    local.Serialize(true, "/nowhere/a.mrk");  // no view: nothing happens
    EXPECT_EQ(local.GetLoadPath(), "/nowhere/a.mrk");
    local.AddView(&display, false);
    local.AddView(&layout, true);
    local.AddView(&second, true);
    local.Serialize(false, "/x/ignored.mrk");
    const std::string path = "/Data/Case Sensitive/" + std::string(300, 'p') + ".mrk";
    local.Serialize(true, path);
    EXPECT_EQ(display.Size(), 0u);
    EXPECT_EQ(second.Size(), 0u);
    const auto message = layout.TryTake();
    ASSERT_TRUE(message.has_value());
    EXPECT_EQ(message->msg, WM_LOAD_MRK_FILE);
    EXPECT_EQ(message->msg, 1254u);
    EXPECT_EQ(message->wParam, 0u);
    EXPECT_EQ(message->lParam, 0);
    payload = message->payload;
    EXPECT_EQ(*static_cast<std::string*>(payload.get()), path);
    EXPECT_EQ(local.GetLoadPath(), path);
  }
  // The document is gone; the view's copy lives on.
  EXPECT_EQ(static_cast<std::string*>(payload.get())->size(), 21u + 300u + 4u);
  EXPECT_EQ(layout.Size(), 0u);
}

TEST_F(DocTest, DeleteAllObjectsKeepsTheLoadPath) {
  FillLayout();
  doc.SetFilePath("/a/b.mrk");
  doc.Serialize(true, "/a/load.mrk");
  doc.DeleteAllObjects();
  EXPECT_EQ(doc.Objects().GetSize(), 0);
  EXPECT_EQ(doc.GetPathName(), "");
  EXPECT_EQ(doc.GetLoadPath(), "/a/load.mrk");
  doc.SetSavedState(5);
  EXPECT_EQ(doc.GetSavedState(), 5);
  EXPECT_FALSE(doc.IsModified());
}

struct Counted : CObjBase {
  explicit Counted(int& deaths) : deaths(deaths) {}
  ~Counted() override { ++deaths; }
  int& deaths;
};

TEST(ObjPtrArray, OwnsWhatItHoldsAndHandsBackWhatIsRemoved) {
  int deaths = 0;
  auto element = [&deaths] {
    return std::make_unique<CObjElement>(CObjCreateRecord{"x", 99, new Counted(deaths), 8, {}});
  };
  std::unique_ptr<CObjElement> taken;
  {
    CObjPtrArray a;
    a.Add(element());
    a.Add(static_cast<CObjElement*>(nullptr));  // null entries are allowed and skipped
    a.InsertAt(0, element());
    a.InsertAt(100, element());
    EXPECT_EQ(a.GetSize(), 4);
    EXPECT_EQ(a[1 + 1], nullptr);
    EXPECT_EQ(a[-1], nullptr);
    EXPECT_EQ(a[4], nullptr);
    taken = a.RemoveAt(0);
    EXPECT_EQ(a.RemoveAt(7), nullptr);
    a.SetAt(0, element());  // the one replaced is deleted
    EXPECT_EQ(deaths, 1);
    CObjPtrArray moved(std::move(a));
    EXPECT_EQ(a.GetSize(), 0);
    EXPECT_EQ(moved.GetSize(), 3);
  }
  EXPECT_EQ(deaths, 3);
  taken.reset();
  EXPECT_EQ(deaths, 4);
}

TEST_F(DocTest, PointsImageHoldsEveryDotOfTheDrawingObjects) {
  FillLayout();
  const std::string path = dir / "dots.pts";
  dialog->QueuePath(path);
  ASSERT_TRUE(doc.OnExportPointsImage());
  const auto request = dialog->Requests()[0];
  EXPECT_EQ(request.defaultExt, "*.pts");
  EXPECT_EQ(request.fileName, "");
  EXPECT_EQ(request.filter, "点阵图形文件 (*.pts)|*.pts||");

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
  EXPECT_EQ(bytes[256 + 16], 0);       // first dot: pen-up
  EXPECT_EQ(bytes[256 + 24 + 16], 1);  // then joined
  EXPECT_EQ(bytes.find_first_not_of('\0', 256 + 72), std::string::npos);
  EXPECT_TRUE(prompt->Texts().empty());
}

TEST_F(DocTest, PointsImageIsNotWrittenWithoutDotsOrAPlace) {
  doc.Objects().Add(RecordElement());
  dialog->QueuePath(dir / "none.pts");
  EXPECT_FALSE(doc.OnExportPointsImage());
  EXPECT_FALSE(std::filesystem::exists(dir / "none.pts"));
  FillLayout();
  dialog->QueueCancel();
  EXPECT_FALSE(doc.OnExportPointsImage());
  dialog->QueuePath(dir / "missing/x.pts");
  EXPECT_FALSE(doc.OnExportPointsImage());
  EXPECT_TRUE(prompt->Texts().empty());
  EXPECT_EQ(BuildPointsImage(CPointList()).size(), 1280u);
}

}  // namespace
