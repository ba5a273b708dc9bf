// The layout view's widget under real mouse and key events on the offscreen
// platform at 4 pixels per mm: a new user draws, undoes, saves and reopens.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <filesystem>

#include "app/views/CVendrikView.h"
#include "document/doc/CVendrikDoc.h"
#include "document/objects/CObjArc.h"
#include "document/objects/CObjElement.h"
#include "platform/InstallDir.h"
#include "platform/Prompt.h"
#include "platform/SettingsStore.h"
#include "values/ShellValues.h"

namespace {

void EnsureQtApplication() {
  static int argc = 1;
  static char name[] = "test_view_mouse";
  static char* argv[] = {name, nullptr};
  static QApplication* app = new QApplication(argc, argv);  // never destroyed
  (void)app;
}

class ViewMouseWidgetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureQtApplication();
    RegisterObjTypeOps(ObjClassId::Arc, &ArcTypeOps());
    auto settings = platform::MakeMemorySettingsStore();
    settings->CreateKey(platform::kRegistryKey);
    platform::SetSettingsStore(settings);
    folder_ = platform::DefaultDataFolder() + "/" + ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    g_installDir = folder_;
    g_softType = SOFT_TYPE_USB;
    g_pxPerMmX = 4;
    g_pxPerMmY = 4;
    g_machineSet.rangeX = 100;
    g_machineSet.rangeY = 80;
    view_ = std::make_unique<CVendrikView>();
    view_->resize(500, 400);
    view_->SetDocument(&document_);
    view_->OnInitialUpdate();
    view_->show();
  }
  void TearDown() override {
    view_.reset();
    RegisterObjTypeOps(ObjClassId::Arc, nullptr);
  }

  QPoint Px(double x, double y) const {
    const platform::DcPoint p = view_->Model().MmToPixel(x, y);
    return {p.x, p.y};
  }
  void Send(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons) {
    QMouseEvent event(type, QPointF(at), QPointF(view_->viewport()->mapToGlobal(at)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(view_->viewport(), &event);
  }
  void Press(QPoint at) { Send(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton); }
  void Release(QPoint at) { Send(QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton); }
  void Move(QPoint at, bool left) {
    Send(QEvent::MouseMove, at, Qt::NoButton, left ? Qt::LeftButton : Qt::NoButton);
  }
  void DrawTwoPoint(int command, QPoint a, QPoint b) {
    ASSERT_TRUE(view_->OnCmdMsg(command, true));
    Press(a);
    Release(a);
    Move(b, false);
    Press(b);
    Release(b);
  }
  int Count() const { return document_.Objects().GetSize(); }

  std::string folder_;
  CVendrikDoc document_;
  std::unique_ptr<CVendrikView> view_;
};

TEST_F(ViewMouseWidgetTest, DrawUndoSaveAndReopen) {
  DrawTwoPoint(32873, Px(-10, -10), Px(10, 10));
  DrawTwoPoint(32774, Px(-20, 5), Px(-5, 15));
  DrawTwoPoint(32775, Px(20, -10), Px(25, -5));
  ASSERT_EQ(Count(), 4);
  EXPECT_EQ(document_.Objects().GetAt(1)->name, "line-1");
  EXPECT_EQ(document_.Objects().GetAt(2)->name, "rectangle-1");
  EXPECT_EQ(document_.Objects().GetAt(3)->name, "arc-1");
  EXPECT_EQ(view_->Model().m_toolCode, 0);

  ASSERT_TRUE(view_->OnCmdMsg(57643, true));
  ASSERT_EQ(Count(), 3);
  const std::string path = folder_ + "/drawn.mrk";
  ASSERT_TRUE(document_.OnSaveDocument(path));

  CVendrikDoc reopened;
  CVendrikView second;
  second.resize(500, 400);
  second.SetDocument(&reopened);
  second.OnInitialUpdate();
  ASSERT_TRUE(second.OnLoadMrkFile(path));
  ASSERT_EQ(reopened.Objects().GetSize(), 3);
  EXPECT_EQ(reopened.Objects().GetAt(1)->type, OBJ_LINE);
  EXPECT_EQ(reopened.Objects().GetAt(2)->type, OBJ_RECTANGLE);
  EXPECT_EQ(reopened.GetPathName(), path);
}

TEST_F(ViewMouseWidgetTest, BandSelectsAndDeleteKeyRemoves) {
  DrawTwoPoint(32873, Px(-10, -10), Px(10, 10));
  DrawTwoPoint(32873, Px(15, 0), Px(20, 0));
  Move(Px(-15, 15), false);
  Press(Px(-15, 15));
  Move(Px(12, -12), true);
  Release(Px(12, -12));
  ASSERT_EQ(view_->Model().m_selection.size(), 1u);
  EXPECT_EQ(view_->Model().m_selection[0]->name, "line-1");
  QTest::keyClick(view_.get(), Qt::Key_Delete);
  ASSERT_EQ(Count(), 2);
  EXPECT_EQ(document_.Objects().GetAt(1)->name, "line-2");
}

TEST_F(ViewMouseWidgetTest, DraggingTheSelectionMovesItAndShowsTheMoveCursor) {
  DrawTwoPoint(32873, Px(0, 0), Px(10, 0));
  CObjElement* line = document_.Objects().GetAt(1);
  Press(Px(5, 0));
  Release(Px(5, 0));
  ASSERT_EQ(view_->Model().m_selection.size(), 1u);
  Move(Px(5, 0), false);
  EXPECT_EQ(view_->viewport()->cursor().shape(), Qt::SizeAllCursor);
  Press(Px(5, 0));
  Move(Px(10, 0), true);
  Release(Px(10, 0));
  // Pixels come back as millimetres through the zoom's float.
  EXPECT_NEAR(line->boundRect.left, 5.0, 1e-6);
}

}  // namespace
