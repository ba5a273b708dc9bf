// The layout view's tools as an operator uses them in the started program:
// the special picture from the drawing library, the needle brought to clicks
// and taken along by drags, Shift let go over another window, the reference
// arc taught, painted, selected, dragged and nudged while the layout's edits
// leave it alone, a text laid along the arc and back, a 2-D code stood on the
// arc and back, the spline's curve shown while it is drawn and reshaped, the
// marking order switch, the jog window at start, objects of two colours
// painted over one segment and the large display of a VIN.
#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QImage>
#include <QLineEdit>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <numbers>
#include <optional>

#include "app/core/CommandIds.h"
#include "app/core/MachineSetFile.h"
#include "app/dialogs/CPltLibraryDlg.h"
#include "app/frames/CChildFrame.h"
#include "app/frames/CMainFrame.h"
#include "app/frames/CVendrikApp.h"
#include "app/views/CProperityPane.h"
#include "app/views/CViewMarkDialogs.h"
#include "app/views/CVendrikView.h"
#include "app/views/model/ViewMarkDialogs.h"
#include "app/views/model/ViewSettingsFiles.h"
#include "document/doc/CObjPtrArray.h"
#include "document/doc/CVendrikDoc.h"
#include "document/mrk/MrkFile.h"
#include "document/objects/CObjBSpline.h"
#include "document/objects/CObjElement.h"
#include "document/objects/CObjPolyLine.h"
#include "marking/controller/CMarkControlWnd.h"
#include "marking/handtools/CJogPositionDlg.h"
#include "platform/SettingsStore.h"
#include "properties/link/CProperityView.h"
#include "properties/list/CObjectListBox.h"
#include "properties/sheet/CObjProperitySheet.h"
#include "tests/app/frames/LayoutWindowFixture.h"
#include "text/exchange/hpgl_ui/CFileListCtrl.h"
#include "document/path/CStrokeGroup.h"
#include "document/path/PathListHelpers.h"
#include "text/objects/CObjBarCode.h"
#include "text/objects/CObjText.h"
#include "text/objects/CObjTextVin.h"
#include "values/ShellValues.h"

namespace {

constexpr int ID_MOUSE_POSITION = 32881;
constexpr int ID_NEEDLE_DRAG = 32882;
constexpr int ID_LOCK_ARC_POINT1 = 32733;
constexpr int ID_LOCK_ARC_POINT2 = 32734;
constexpr int ID_TWO_POINT_ARC = 32887;
constexpr int ID_SELECT_REFER_ARC = 32889;
constexpr int ID_MIRROR_X = 32843;
constexpr char kOutOfArea[] = "The point out of the work area!";
constexpr char kNeedleOutOfArea[] = "Needle out of work area";
constexpr QRgb kLookArcColour = qRgb(128, 0, 255);

// The view as the operator sees it.
QImage Picture(CVendrikView* view) {
  return view->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

int PixelsOf(const QImage& picture, QRgb colour) {
  int count = 0;
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x) count += picture.pixel(x, y) == colour ? 1 : 0;
  return count;
}

// Whether a pixel of the colour (or, without one, a black one) lies within
// `radius` pixels of the point.
bool PixelNear(const QImage& picture, QPoint at, int radius, std::optional<QRgb> colour = std::nullopt) {
  for (int y = at.y() - radius; y <= at.y() + radius; ++y) {
    for (int x = at.x() - radius; x <= at.x() + radius; ++x) {
      if (!picture.valid(x, y)) continue;
      const QRgb p = picture.pixel(x, y);
      if (colour ? p == *colour : qRed(p) < 64 && qGreen(p) < 64 && qBlue(p) < 64) return true;
    }
  }
  return false;
}

double DistanceToSegment(const CDoublePoint& p, const CDoublePoint& a, const CDoublePoint& b) {
  const double dx = b.x - a.x;
  const double dy = b.y - a.y;
  const double length2 = dx * dx + dy * dy;
  const double t = length2 > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / length2, 0.0, 1.0) : 0;
  return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

// The distance from p to the nearest of the lines joining the points.
double DistanceToPolyline(const CDoublePoint& p, const CPointList& points) {
  double nearest = points.GetSize() > 0 ? std::hypot(p.x - points[0].x, p.y - points[0].y) : 1e9;
  for (int i = 1; i < points.GetSize(); ++i) nearest = std::min(nearest, DistanceToSegment(p, points[i - 1], points[i]));
  return nearest;
}

// Acts on the next modal dialog of this kind once its own loop runs (the
// press that opened it does not return before it closes).
template <class Dialog>
class WhenModal {
 public:
  explicit WhenModal(std::function<void(Dialog*)> act) : act_(std::move(act)) {
    timer_.setInterval(0);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      auto* dialog = dynamic_cast<Dialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr) {
        // Generously many rounds of the event loop, none of them timed.
        if (++rounds_ > 100000) timer_.stop();
        return;
      }
      timer_.stop();
      answered_ = true;
      act_(dialog);
    });
    timer_.start();
  }
  bool Answered() const { return answered_; }

 private:
  std::function<void(Dialog*)> act_;
  QTimer timer_;
  int rounds_ = 0;
  bool answered_ = false;
};

void PressButton(QDialogButtonBox* box, QDialogButtonBox::StandardButton which) {
  ASSERT_NE(box, nullptr);
  QTest::mouseClick(box->button(which), Qt::LeftButton);
}

}  // namespace

class LayoutToolsTest : public LayoutWindowTest {
 protected:
  void TearDown() override {
    g_jogWindowOpen = 0;
    LayoutWindowTest::TearDown();
  }
  CMarkControlWnd* Control() const { return app_->MainFrame()->MarkControl(); }
  // The head stands at its work position, the needle at (x, y).
  void AtWork(double x, double y) {
    Control()->atWorkPosition = 1;
    Control()->workPosition = CDoublePoint(x, y, 0);
  }
  CDoublePoint Needle() const { return Control()->workPosition; }
  // One pixel of the view, in mm: what a click can miss a point by.
  double PixelMm() const { return 1.0 / (Model().m_zoom * g_pxPerMmX) + 1e-9; }
  bool Checked(int id) {
    app_->MainFrame()->UpdateCommandUI();
    return Action(id)->isChecked();
  }
  // The command as the operator gives it from its menu: nothing when greyed.
  void Give(int id) {
    app_->MainFrame()->UpdateCommandUI();
    Action(id)->trigger();
    Settle();
  }
  // The view shows the curve through the points: it is drawn (in black)
  // where it lies farthest from the lines joining the points and from what
  // the layout showed already (`shown`).
  void ExpectCurveShown(const CPointList& points, const CPointList& shown) {
    CPointList curve;
    CObjBSpline::CurveThrough(points, curve);
    ASSERT_GT(curve.GetSize(), 2);
    int farthest = 0;
    double distance = 0;
    for (int i = 0; i < curve.GetSize(); ++i) {
      double d = DistanceToPolyline(curve[i], points);
      if (shown.GetSize() > 0) d = std::min(d, DistanceToPolyline(curve[i], shown));
      if (d > distance) {
        distance = d;
        farthest = i;
      }
    }
    ASSERT_GT(distance, 2) << "the curve leaves the lines by more than a few pixels";
    EXPECT_TRUE(PixelNear(Picture(View()), Px(curve[farthest].x, curve[farthest].y), 3))
        << curve[farthest].x << ", " << curve[farthest].y;
  }
};

// --- The special picture from the drawing library ---

enum class LibraryAnswer { DrawingAndOk, Cancel, OkWithoutDrawing };

class SpecialPictureTest : public LayoutToolsTest, public ::testing::WithParamInterface<LibraryAnswer> {};

// Placed after a line: one Undo takes the drawing away and keeps the line,
// and a library left without a drawing leaves no step to undo.
TEST_P(SpecialPictureTest, TheChosenDrawingIsPlacedCentredInTheFrameAtItsOwnSize) {
  // The library folder, with one drawing written for the test.
  std::filesystem::create_directories(folder_ + "/PltFiles");
  std::filesystem::copy_file(std::string(VENDRIK_TEST_DATA_DIR) + "/plt/square-r14.plt",
                             folder_ + "/PltFiles/square.plt");
  StartWithNewLayout();
  // The change before: a line, which Undo after the picture must keep.
  DrawTwoPoint(cmd::ID_ADD_LINE, Px(-30, -20), Px(-10, -20));
  ASSERT_NE(Named("line-1"), nullptr);
  CDoubleRect libraryBounds;
  int drawingsShown = 0;
  WhenModal<CPltLibraryDlg> answer([&](CPltLibraryDlg* dialog) {
    CFileListCtrl* list = dialog->List();
    drawingsShown = list->GetDrawingCount();
    if (drawingsShown > 0) libraryBounds = list->GetDrawing(0)->GetBoundRect();
    if (GetParam() == LibraryAnswer::DrawingAndOk && drawingsShown > 0) {
      QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
    }
    PressButton(dialog->findChild<QDialogButtonBox*>(),
          GetParam() == LibraryAnswer::Cancel ? QDialogButtonBox::Cancel : QDialogButtonBox::Ok);
  });
  DrawTwoPoint(cmd::ID_ADD_SPECIAL_PICTURE, Px(10, 5), Px(30, 25));
  ASSERT_TRUE(answer.Answered()) << "the second press opens the library";
  EXPECT_EQ(drawingsShown, 1);
  EXPECT_EQ(Model().m_toolCode, 0);
  if (GetParam() != LibraryAnswer::DrawingAndOk) {
    EXPECT_EQ(Count(), 2) << "nothing is placed";
    // Nor is a snapshot taken: one Undo takes the line away.
    Command(cmd::ID_EDIT_UNDO);
    EXPECT_EQ(Count(), 1);
    return;
  }
  ASSERT_EQ(Count(), 3);
  CObjElement* placed = Named("PLT file-1");
  ASSERT_NE(placed, nullptr);
  EXPECT_EQ(placed->type, OBJ_HPGL);
  const CDoubleRect bounds = placed->GetBoundRect();
  EXPECT_NEAR(bounds.CenterX(), 20, 2 * PixelMm());
  EXPECT_NEAR(bounds.CenterY(), 15, 2 * PixelMm());
  EXPECT_NEAR(bounds.Width(), libraryBounds.Width(), 1e-6);
  EXPECT_NEAR(bounds.Height(), libraryBounds.Height(), 1e-6);
  EXPECT_EQ(SelectedNames(), std::vector<std::string>{"PLT file-1"});

  // One Undo takes the picture away alone.
  Command(cmd::ID_EDIT_UNDO);
  EXPECT_EQ(Count(), 2);
  EXPECT_EQ(Named("PLT file-1"), nullptr);
  EXPECT_NE(Named("line-1"), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Answers, SpecialPictureTest,
                         ::testing::Values(LibraryAnswer::DrawingAndOk, LibraryAnswer::Cancel,
                                           LibraryAnswer::OkWithoutDrawing));

// --- The needle ---

TEST_F(LayoutToolsTest, ShiftClicksAndMousePositionClicksBringTheNeedle) {
  StartWithNewLayout();
  AtWork(0, 0);
  QTest::keyPress(View(), Qt::Key_Shift, Qt::ShiftModifier);
  Click(Px(10, 5));
  QTest::keyRelease(View(), Qt::Key_Shift);
  // The needle's tip lies 0.1 mm right of and below the pointer's.
  EXPECT_NEAR(Needle().x, 10.1, PixelMm());
  EXPECT_NEAR(Needle().y, 4.9, PixelMm());
  EXPECT_EQ(Count(), 1);

  Command(ID_MOUSE_POSITION);
  EXPECT_TRUE(Checked(ID_MOUSE_POSITION));
  Click(Px(-12, -8));
  EXPECT_NEAR(Needle().x, -11.9, PixelMm());
  EXPECT_NEAR(Needle().y, -8.1, PixelMm());

  // Beyond the work area less half a millimetre the needle stays.
  const CDoublePoint before = Needle();
  Click(Px(g_machineSet.rangeX / 2 + 1, 0));
  EXPECT_EQ(prompt_->Texts(), std::vector<std::string>{kOutOfArea});
  EXPECT_EQ(Needle().x, before.x);
  EXPECT_EQ(Needle().y, before.y);
}

// Shift went down over the layout and came up over the object list, which
// the layout view never hears of.
TEST_F(LayoutToolsTest, AShiftLetGoOverAnotherWindowLeavesLaterClicksPlain) {
  StartWithNewLayout();
  DrawTwoPoint(cmd::ID_ADD_RECTANGLE, Px(0, 0), Px(10, 10));
  AtWork(-20, -20);
  QTest::keyPress(View(), Qt::Key_Shift, Qt::ShiftModifier);
  Click(Px(g_machineSet.rangeX / 2 + 1, 0));
  EXPECT_EQ(prompt_->Texts(), std::vector<std::string>{kOutOfArea});
  QTest::keyRelease(List(), Qt::Key_Shift);
  View()->setFocus();
  Click(Px(5, 5));
  EXPECT_EQ(SelectedNames(), std::vector<std::string>{"rectangle-1"});
  EXPECT_EQ(Needle().x, -20);
  EXPECT_EQ(Needle().y, -20);
}

TEST_F(LayoutToolsTest, InNeedleDragModeTheNeedleGoesAlongWithTheObjectItStandsOn) {
  StartWithNewLayout();
  DrawTwoPoint(cmd::ID_ADD_RECTANGLE, Px(0, 0), Px(10, 10));
  CObjElement* box = Named("rectangle-1");
  ASSERT_NE(box, nullptr);
  AtWork(5, 5);
  Click(Px(5, 5));
  ASSERT_EQ(SelectedNames(), std::vector<std::string>{"rectangle-1"});
  Command(ID_NEEDLE_DRAG);
  EXPECT_TRUE(Checked(ID_NEEDLE_DRAG));

  CDoublePoint centre = box->GetBoundRect().CenterPoint();
  Drag(Px(5, 5), Px(15, 2));
  CDoublePoint moved = box->GetBoundRect().CenterPoint();
  ASSERT_GT(moved.x - centre.x, 5) << "the rectangle was dragged";
  EXPECT_NEAR(Needle().x, 5 + moved.x - centre.x, 1e-6);
  EXPECT_NEAR(Needle().y, 5 + moved.y - centre.y, 1e-6);

  // A drag that would take the needle out of the work area leaves it.
  const CDoublePoint needle = Needle();
  centre = moved;
  Drag(Px(needle.x, needle.y), Px(needle.x + g_machineSet.rangeX / 2, needle.y));
  EXPECT_EQ(prompt_->Texts(), std::vector<std::string>{kNeedleOutOfArea});
  EXPECT_EQ(Needle().x, needle.x);
  EXPECT_GT(box->GetBoundRect().CenterX(), centre.x) << "the object itself moves";
}

// --- The reference arc ---

TEST_F(LayoutToolsTest, SelectReferArcMakesTheArcTheSelectionAndADragShiftsItsRecord) {
  TeachReferenceArc();
  StartWithNewLayout();
  ASSERT_NE(Model().m_lookArc, nullptr);
  AtWork(-15, 0);
  Command(ID_SELECT_REFER_ARC);
  EXPECT_TRUE(Checked(ID_SELECT_REFER_ARC));
  ASSERT_TRUE(Model().IsReferenceArcSelected());
  Command(ID_NEEDLE_DRAG);

  Drag(Px(0, -20), Px(6, -16));
  const ArcPointedInfo stored = LoadArcPointedInfo(folder_);
  const double dx = stored.centreX - 0;
  const double dy = stored.centreY - (-20);
  EXPECT_NEAR(dx, 6, 2 * PixelMm());
  EXPECT_NEAR(dy, 4, 2 * PixelMm());
  EXPECT_NEAR(stored.point1X, -15 + dx, 1e-4);
  EXPECT_NEAR(stored.point2Y, -5 + dy, 1e-4);
  EXPECT_FLOAT_EQ(stored.radius, 25);
  EXPECT_NEAR(Model().m_lookArc->GetBoundRect().CenterX(), dx, 1e-3);
  // The needle stayed on its point of the arc; the layout did not change.
  EXPECT_NEAR(Needle().x, -15 + dx, 1e-4);
  EXPECT_NEAR(Needle().y, 0 + dy, 1e-4);
  EXPECT_EQ(Count(), 1);
  EXPECT_FALSE(Doc().IsModified());

  // Selecting anything else (here: nothing) ends the mode.
  Click(Px(0, 40));
  EXPECT_TRUE(Model().m_selection.empty());
  EXPECT_FALSE(Checked(ID_SELECT_REFER_ARC));
}

TEST_F(LayoutToolsTest, AnArcTaughtFromTwoNeedlePositionsIsPaintedInItsColour) {
  StartWithNewLayout();
  AtWork(-15, 0);
  EXPECT_EQ(PixelsOf(Picture(View()), kLookArcColour), 0);
  Command(ID_TWO_POINT_ARC);
  Command(ID_MOUSE_POSITION);
  Command(ID_LOCK_ARC_POINT1);
  Click(Px(20, -5));  // the needle goes to the second point
  AnswerNextDialog();
  Command(ID_LOCK_ARC_POINT2);
  ASSERT_EQ(DialogsAnswered(), 1);
  const ArcPointedInfo stored = LoadArcPointedInfo(folder_);
  ASSERT_EQ(stored.arcOn, 1);
  ASSERT_EQ(stored.arcBuilt, 1);

  const QImage picture = Picture(View());
  EXPECT_GT(PixelsOf(picture, kLookArcColour), 100);
  // On the circle through both points, a little way round from the first.
  const double start = std::atan2(stored.point1Y - stored.centreY, stored.point1X - stored.centreX);
  for (const double turn : {0.4, -0.4}) {
    const double x = stored.centreX + stored.radius * std::cos(start + turn);
    const double y = stored.centreY + stored.radius * std::sin(start + turn);
    EXPECT_TRUE(PixelNear(picture, Px(x, y), 2, kLookArcColour)) << x << ", " << y;
  }
}

// A taught arc through (5, 0) and (15, 10) of radius 10; a radius of 5 typed
// in the dialog is below half the chord. The operator is told so and asked
// again; until a radius that fits is given, the record keeps the arc drawn,
// and then holds the arc drawn anew.
TEST_F(LayoutToolsTest, ARadiusBelowHalfTheChordIsRefusedBeforeTheArcIsStored) {
  ArcPointedInfo taught;
  taught.point1X = 5;
  taught.point2X = 15;
  taught.point2Y = 10;
  taught.centreX = 15;
  taught.radius = 10;
  taught.arcOn = 1;
  taught.arcBuilt = 1;
  ASSERT_TRUE(SaveArcPointedInfo(folder_, taught));
  StartWithNewLayout();
  ASSERT_NE(Model().m_lookArc, nullptr);
  Command(ID_TWO_POINT_ARC);  // off
  ArcPointedInfo whileAsked;
  QString askedAgainWith;
  AnswerNextDialog([&](QDialog& first) {
    TypeIntoDialog(first, "edit1077", "5");
    AnswerNextDialog([&](QDialog& again) {
      // Nothing was stored meanwhile.
      whileAsked = LoadArcPointedInfo(folder_);
      if (auto* radius = again.findChild<QLineEdit*>("edit1077")) askedAgainWith = radius->text();
      TypeIntoDialog(again, "edit1077", "12");
    });
  });
  Command(ID_TWO_POINT_ARC);  // on: the dialog
  ASSERT_EQ(DialogsAnswered(), 2);
  EXPECT_EQ(prompt_->Texts(), std::vector<std::string>{"The radius must be greater than the min radius 7.071 (half the "
                                                       "distance of the two points)!"});
  EXPECT_EQ(askedAgainWith, "5");
  EXPECT_FLOAT_EQ(whileAsked.radius, 10);
  EXPECT_FLOAT_EQ(whileAsked.centreX, 15);
  EXPECT_FLOAT_EQ(whileAsked.centreY, 0);

  const ArcPointedInfo stored = LoadArcPointedInfo(folder_);
  EXPECT_EQ(stored.arcOn, 1);
  EXPECT_FLOAT_EQ(stored.radius, 12);
  for (const auto& [x, y] : {std::pair{5.0, 0.0}, {15.0, 10.0}})
    EXPECT_NEAR(std::hypot(x - stored.centreX, y - stored.centreY), 12, 1e-4) << x << ", " << y;
  // The arc drawn is the one stored.
  const CDoubleRect drawn = Model().m_lookArc->GetBoundRect();
  EXPECT_NEAR(drawn.CenterX(), stored.centreX, 1e-3);
  EXPECT_NEAR(drawn.CenterY(), stored.centreY, 1e-3);
  EXPECT_NEAR(drawn.Width(), 24, 1e-3);
  EXPECT_NEAR(drawn.Height(), 24, 1e-3);
}

// What each edit does with the reference arc as the selection, in a layout
// just opened; `shift` is how far the edit takes the arc to the right.
class ArcEditTest;
struct ArcEdit {
  const char* name;
  void (*edit)(ArcEditTest&);
  double shift = 0;
};

void PrintTo(const ArcEdit& edit, std::ostream* out) { *out << edit.name; }

class ArcEditTest : public LayoutToolsTest, public ::testing::WithParamInterface<ArcEdit> {
 public:
  using LayoutToolsTest::Give;
  using LayoutToolsTest::Key;
};

TEST_P(ArcEditTest, OnlyNudgesAndDragsMoveTheReferenceArcAndNoneChangesTheLayout) {
  TeachReferenceArc();
  StartWithNewLayout({QString::fromStdString(CopyLayoutFixture("a.mrk"))});
  const int count = Count();
  ASSERT_FALSE(Doc().IsModified());
  Command(ID_SELECT_REFER_ARC);
  ASSERT_TRUE(Model().IsReferenceArcSelected());

  GetParam().edit(*this);
  EXPECT_TRUE(prompt_->Texts().empty()) << prompt_->Texts().front();
  EXPECT_EQ(Count(), count);
  EXPECT_EQ(Named("LookArc"), nullptr);
  EXPECT_FALSE(Doc().IsModified());
  EXPECT_FALSE(Model().CanUndo()) << "no undo snapshot";
  // The saved record and the arc the view shows agree.
  const double shift = GetParam().shift;
  const ArcPointedInfo stored = LoadArcPointedInfo(folder_);
  EXPECT_NEAR(stored.centreX, shift, 1e-4);
  EXPECT_NEAR(stored.centreY, -20, 1e-4);
  EXPECT_NEAR(stored.point1X, -15 + shift, 1e-4);
  EXPECT_NEAR(stored.point2X, 20 + shift, 1e-4);
  EXPECT_FLOAT_EQ(stored.radius, 25);
  ASSERT_NE(Model().m_lookArc, nullptr);
  EXPECT_NEAR(Model().m_lookArc->GetBoundRect().CenterX(), shift, 1e-3);
  EXPECT_NEAR(Model().m_lookArc->GetBoundRect().CenterY(), -20, 1e-3);
  EXPECT_EQ(Model().m_lookArc->lock, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Edits, ArcEditTest,
    ::testing::Values(ArcEdit{"DeleteKey", [](ArcEditTest& t) { t.Key(Qt::Key_Delete); }},
                      ArcEdit{"DeleteCommand", [](ArcEditTest& t) { t.Key(Qt::Key_D, Qt::ControlModifier); }},
                      ArcEdit{"Cut", [](ArcEditTest& t) { t.Key(Qt::Key_X, Qt::ControlModifier); }},
                      ArcEdit{"CopyAndPaste",
                              [](ArcEditTest& t) {
                                t.Key(Qt::Key_C, Qt::ControlModifier);
                                t.Key(Qt::Key_V, Qt::ControlModifier);
                              }},
                      ArcEdit{"MirrorX", [](ArcEditTest& t) { t.Give(ID_MIRROR_X); }},
                      ArcEdit{"AlignCenter", [](ArcEditTest& t) { t.Give(cmd::ID_ALIGN_CENTER); }},
                      ArcEdit{"PermitMark", [](ArcEditTest& t) { t.Give(cmd::ID_PERMIT_MARK); }},
                      ArcEdit{"Lock", [](ArcEditTest& t) { t.Give(cmd::ID_LOCK); }},
                      ArcEdit{"TenEndNudges",
                              [](ArcEditTest& t) {
                                for (int i = 0; i < 10; ++i) t.Key(Qt::Key_End);
                              },
                              10}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LayoutToolsTest, AnArcDragTheNeedleCannotFollowPutsTheRecordBack) {
  TeachReferenceArc();
  StartWithNewLayout();
  AtWork(-15, 0);
  Command(ID_SELECT_REFER_ARC);
  Command(ID_NEEDLE_DRAG);
  Drag(Px(0, -20), Px(-g_machineSet.rangeX / 2, -20));
  EXPECT_EQ(prompt_->Texts(), std::vector<std::string>{kNeedleOutOfArea});
  const ArcPointedInfo stored = LoadArcPointedInfo(folder_);
  EXPECT_FLOAT_EQ(stored.centreX, 0);
  EXPECT_FLOAT_EQ(stored.point1X, -15);
  EXPECT_NEAR(Model().m_lookArc->GetBoundRect().CenterX(), 0, 1e-3);
  EXPECT_EQ(Needle().x, -15);
}

struct ArcTextCase {
  double x, y;      // where the text tool is clicked
  bool aboveCentre;  // where the text then lies on the arc
};

class ReferArcAlignTest : public LayoutToolsTest, public ::testing::WithParamInterface<ArcTextCase> {};

TEST_P(ReferArcAlignTest, TheTextStandsOnTheArcFromItsCornerAndAlignLinePutsItBack) {
  TeachReferenceArc();
  StartWithNewLayout();
  Command(cmd::ID_ADD_TEXT);
  Click(Px(GetParam().x, GetParam().y));
  CObjElement* element = Named("text-1");
  ASSERT_NE(element, nullptr);
  auto* text = element->GetObjectAs<CObjText>();
  ASSERT_GT(text->GetPathData().points.GetSize(), 0) << "the text has strokes";
  ASSERT_EQ(SelectedNames(), std::vector<std::string>{"text-1"});

  Command(cmd::ID_REFER_ARC_ALIGN);
  EXPECT_FLOAT_EQ(text->Settings().arcRadius, 25);
  EXPECT_NEAR(text->Settings().position.x, 0, 1e-6);
  EXPECT_NEAR(text->Settings().position.y, -20, 1e-6);
  const CPointList& onArc = text->GetPathData().points;
  ASSERT_GT(onArc.GetSize(), 0);
  for (int i = 0; i < onArc.GetSize(); ++i) {
    const double d = std::hypot(onArc[i].x, onArc[i].y + 20);
    EXPECT_GE(d, 25 - 0.5) << i;
    EXPECT_LE(d, 25 + text->Settings().charHeight + 1) << i;
    EXPECT_EQ(onArc[i].y > -20, GetParam().aboveCentre) << i;
  }
  EXPECT_TRUE(Doc().IsModified());

  const CDoubleRect arcBounds = text->GetPathData().GetBoundRect();
  Command(cmd::ID_ALIGN_LINE);
  EXPECT_EQ(text->Settings().arcRadius, 0);
  const CDoubleRect straight = text->GetPathData().GetBoundRect();
  EXPECT_LE(straight.Height(), text->Settings().charHeight + 0.5);
  EXPECT_NEAR(straight.left, arcBounds.left, 1e-6);
  EXPECT_NEAR(straight.bottom, arcBounds.bottom, 1e-6);
}

INSTANTIATE_TEST_SUITE_P(Sides, ReferArcAlignTest,
                         ::testing::Values(ArcTextCase{-5, 10, true},
                                           // Below the centre the start angle is below it too.
                                           ArcTextCase{-5, -35, false}),
                         [](const auto& info) { return info.param.aboveCentre ? "AboveTheCentre" : "BelowTheCentre"; });

namespace {

struct ArcCodeCase {
  const char* name;
  double x, y;    // where the code tool is clicked
  bool withText;  // its content written beside it
};

void PrintTo(const ArcCodeCase& c, std::ostream* out) { *out << c.name; }

// Degrees from 0 to 360 counter-clockwise.
double DirectionDeg(double dx, double dy) {
  const double a = std::atan2(dy, dx) * 180 / std::numbers::pi;
  return a < 0 ? a + 360 : a;
}

// The difference of two angles in degrees, from -180 to 180.
double TurnDeg(double to, double from) {
  double d = std::fmod(to - from, 360.0);
  if (d > 180) d -= 360;
  if (d <= -180) d += 360;
  return d;
}

CPointList Dots(const CObjBarCode& code) { return code.GetPathData().second; }

CDoubleRect DotBounds(const CObjBarCode& code) {
  CDoubleRect r;
  EXPECT_TRUE(code.GetPathData().GetKind2BoundRect(r));
  return r;
}

// Within what a snapshot's three decimals leave.
void ExpectSameBounds(const CDoubleRect& a, const CDoubleRect& b) {
  EXPECT_NEAR(a.left, b.left, 2e-3);
  EXPECT_NEAR(a.bottom, b.bottom, 2e-3);
  EXPECT_NEAR(a.right, b.right, 2e-3);
  EXPECT_NEAR(a.top, b.top, 2e-3);
}

// The code as it stands in its own upright frame: the dots turned back by
// its angle about the origin, their bounds, and that bounds' centre turned
// forward again.
struct OwnFrame {
  double width, height;
  CDoublePoint centre;
};

OwnFrame OwnFrameOf(const CPointList& dots, double turnDeg) {
  const double a = turnDeg * std::numbers::pi / 180;
  CDoubleRect r;
  r.left = r.bottom = 1e9;
  r.right = r.top = -1e9;
  for (int i = 0; i < dots.GetSize(); ++i) {
    const double x = std::cos(-a) * dots[i].x - std::sin(-a) * dots[i].y;
    const double y = std::sin(-a) * dots[i].x + std::cos(-a) * dots[i].y;
    r.left = std::min(r.left, x);
    r.right = std::max(r.right, x);
    r.bottom = std::min(r.bottom, y);
    r.top = std::max(r.top, y);
  }
  const double cx = (r.left + r.right) / 2;
  const double cy = (r.top + r.bottom) / 2;
  return {r.right - r.left, r.top - r.bottom,
          CDoublePoint(std::cos(a) * cx - std::sin(a) * cy, std::sin(a) * cx + std::cos(a) * cy, 0)};
}

// The bounds of the human-readable text; false when it has none.
bool TextBounds(const CObjBarCode& code, CDoubleRect& bounds) {
  const CStrokeGroupArray& groups = code.GetPathData().GetGroupArray();
  BoundsUnion text;
  for (int i = 0; i < groups.GetSize(); ++i)
    if (groups.GetAt(i)->kind != GROUP_KIND_HIDDEN) text.Add(groups.GetAt(i)->GetBoundRect());
  bounds = text.Rect();
  return text.Found();
}

class ReferArcAlignCodeTest : public LayoutToolsTest, public ::testing::WithParamInterface<ArcCodeCase> {
 protected:
  CObjBarCode* Code() const {
    CObjElement* element = Named("Barcode-1");
    return element != nullptr ? element->GetObjectAs<CObjBarCode>() : nullptr;
  }
  void SelectCode() {
    Click(Px(DotBounds(*Code()).CenterX(), DotBounds(*Code()).CenterY()));
    ASSERT_EQ(SelectedNames(), std::vector<std::string>{"Barcode-1"});
  }
};

}  // namespace

TEST_P(ReferArcAlignCodeTest, TheCodeFacesTheCentreOnTheArcUndoPutsItBackAndAlignLineStraightensIt) {
  const ArcCodeCase& c = GetParam();
  TeachReferenceArc();
  const CDoublePoint centre(0, -20, 0);
  const double radius = 25;
  StartWithNewLayout();
  Command(cmd::ID_ADD_BARCODE);
  Click(Px(c.x, c.y));
  ASSERT_NE(Code(), nullptr);
  ASSERT_GT(Code()->GetDotCount(), 0);
  if (c.withText) {
    OpenPage("Barcode");
    QWidget* page = Child()->PropertyPane()->View()->GetSheet()->currentWidget();
    auto* out = page != nullptr ? page->findChild<QCheckBox*>("check1015") : nullptr;
    ASSERT_NE(out, nullptr);
    QTest::mouseClick(out, Qt::LeftButton, {}, QPoint(out->height() / 2, out->height() / 2));
    Settle();
    ASSERT_NE(Code()->Code().showText, 0);
  }
  SelectCode();
  CDoubleRect text;
  ASSERT_EQ(TextBounds(*Code(), text), c.withText);

  const CPointList upright = Dots(*Code());
  const CDoubleRect uprightBounds = DotBounds(*Code());
  const OwnFrame own = OwnFrameOf(upright, 0);
  const CDoubleRect whole = Named("Barcode-1")->GetBoundRect();
  const double facing = DirectionDeg(whole.CenterX() - centre.x, whole.bottom - centre.y);
  const CDoublePoint textAt = Code()->Code().textPosition;

  Command(cmd::ID_REFER_ARC_ALIGN);
  CObjBarCode* code = Code();
  EXPECT_NEAR(TurnDeg(code->Code().angle, facing - 90), 0, 1e-4);
  const CPointList turned = Dots(*code);
  ASSERT_EQ(turned.GetSize(), upright.GetSize());
  // Turned as one piece, by the angle: the first and the last dot say so.
  const int last = turned.GetSize() - 1;
  const double before = DirectionDeg(upright[last].x - upright[0].x, upright[last].y - upright[0].y);
  const double after = DirectionDeg(turned[last].x - turned[0].x, turned[last].y - turned[0].y);
  EXPECT_NEAR(TurnDeg(after, before), TurnDeg(facing - 90, 0), 0.01);
  // It faces the centre: its own middle lies on the ray of that direction,
  // its lower edge on the circle.
  // (The code turns its dots with a short degree factor: that leaves up to
  // a thousandth of a millimetre over its width.)
  const OwnFrame onArc = OwnFrameOf(turned, facing - 90);
  EXPECT_NEAR(onArc.width, own.width, 1e-3);
  EXPECT_NEAR(onArc.height, own.height, 1e-3);
  EXPECT_NEAR(TurnDeg(DirectionDeg(onArc.centre.x - centre.x, onArc.centre.y - centre.y), facing), 0, 0.01);
  EXPECT_NEAR(std::hypot(onArc.centre.x - centre.x, onArc.centre.y - centre.y), radius + own.height / 2, 1e-3);
  for (int i = 0; i < turned.GetSize(); ++i)
    EXPECT_GE(std::hypot(turned[i].x - centre.x, turned[i].y - centre.y), radius - 1e-3) << i;
  // Its text came along, straight, where it stood beside the code.
  EXPECT_NEAR(code->Code().textPosition.x - textAt.x, onArc.centre.x - own.centre.x, 1e-4);
  EXPECT_NEAR(code->Code().textPosition.y - textAt.y, onArc.centre.y - own.centre.y, 1e-4);
  if (c.withText) {
    ASSERT_TRUE(TextBounds(*code, text));
    EXPECT_LE(text.Height(), code->Settings().charHeight + 0.5) << "not bent on an arc";
    EXPECT_LE(std::hypot(text.CenterX() - onArc.centre.x, text.CenterY() - onArc.centre.y),
              std::hypot(own.width, own.height) + 3 * code->Settings().charHeight);
  }
  EXPECT_EQ(code->Settings().arcRadius, 0) << "no arc of its own";
  EXPECT_TRUE(Doc().IsModified());
  const CDoubleRect onArcBounds = DotBounds(*code);

  // Undo puts the code back as it was drawn, Redo turns it again.
  Command(cmd::ID_EDIT_UNDO);
  ASSERT_NE(Code(), nullptr);
  EXPECT_EQ(Code()->Code().angle, 0);
  ExpectSameBounds(DotBounds(*Code()), uprightBounds);
  Command(cmd::ID_EDIT_REDO);
  ASSERT_NE(Code(), nullptr);
  const CDoubleRect turnedBounds = DotBounds(*Code());
  ExpectSameBounds(turnedBounds, onArcBounds);

  // Align line stands it upright again from where the turned code began.
  SelectCode();
  const OwnFrame again = OwnFrameOf(Dots(*Code()), Code()->Code().angle);
  const CDoublePoint textBefore = Code()->Code().textPosition;
  Command(cmd::ID_ALIGN_LINE);
  code = Code();
  EXPECT_EQ(code->Code().angle, 0);
  const CDoubleRect straight = DotBounds(*code);
  EXPECT_NEAR(straight.left, turnedBounds.left, 1e-6);
  EXPECT_NEAR(straight.bottom, turnedBounds.bottom, 1e-6);
  EXPECT_NEAR(straight.Width(), uprightBounds.Width(), 1e-4);
  EXPECT_NEAR(straight.Height(), uprightBounds.Height(), 1e-4);
  // The same pattern as drawn, moved.
  const CPointList moved = Dots(*code);
  ASSERT_EQ(moved.GetSize(), upright.GetSize());
  for (int i = 0; i < moved.GetSize(); ++i) {
    EXPECT_NEAR(moved[i].x - upright[i].x, straight.left - uprightBounds.left, 1e-4) << i;
    EXPECT_NEAR(moved[i].y - upright[i].y, straight.bottom - uprightBounds.bottom, 1e-4) << i;
  }
  // The text went along with the code's middle.
  const CDoublePoint middle = OwnFrameOf(moved, 0).centre;
  EXPECT_NEAR(code->Code().textPosition.x - textBefore.x, middle.x - again.centre.x, 1e-3);
  EXPECT_NEAR(code->Code().textPosition.y - textBefore.y, middle.y - again.centre.y, 1e-3);
}

INSTANTIATE_TEST_SUITE_P(Sides, ReferArcAlignCodeTest,
                         ::testing::Values(ArcCodeCase{"AboveTheCentreWithItsText", -5, 10, true},
                                           // Facing a little below the x axis: turned by nearly -90.
                                           ArcCodeCase{"RightOfTheCentre", 30, -24, false},
                                           // Upside down, beneath the centre.
                                           ArcCodeCase{"BelowTheCentreWithItsText", -5, -48, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// --- The spline ---

TEST_F(LayoutToolsTest, ASplineShowsItsCurveWhileItIsDrawnAndWhileAPointIsDragged) {
  StartWithNewLayout();
  CPointList points;
  points.Add(CDoublePoint(-20, 0, 0));
  points.Add(CDoublePoint(0, 20, 0));
  Command(cmd::ID_ADD_SPLINE);
  for (int i = 0; i < points.GetSize(); ++i) {
    MoveTo(Px(points[i].x, points[i].y));
    Press(Px(points[i].x, points[i].y));
    Release(Px(points[i].x, points[i].y));
  }
  const QPoint last = Px(20, 0);
  MoveTo(last);
  points.Add(CDoublePoint(20, 0, 0));
  ExpectCurveShown(points, {});
  Press(last);
  Release(last);
  RightClick(last);
  CObjElement* element = Named("spline-1");
  ASSERT_NE(element, nullptr);
  ASSERT_EQ(SelectedNames(), std::vector<std::string>{"spline-1"});
  auto* spline = element->GetObjectAs<CObjBSpline>();
  CPointList drawn;
  CObjBSpline::CurveThrough(spline->GetPathData().points, drawn);

  // The middle control point dragged aside: the curve follows before the release.
  const QPoint from = Px(0, 20);
  const QPoint to = Px(15, 25);
  MoveTo(from);
  Press(from);
  MoveTo(to, true);
  CPointList moved(points);
  moved[1] = CDoublePoint(15, 25, 0);
  ExpectCurveShown(moved, drawn);
  Release(to);
  Settle();
  EXPECT_NEAR(spline->GetPathData().points[1].x, 15, 2 * PixelMm());
  EXPECT_NEAR(spline->GetPathData().points[1].y, 25, 2 * PixelMm());
}

// --- Machine settings and switches ---

TEST_F(LayoutToolsTest, ApplyOptimizeSpeedTogglesItsCheckMarkAndTheRegistryValue) {
  StartWithNewLayout();
  for (const bool on : {true, false}) {
    Command(cmd::ID_APPLY_OPTIMIZE_SPEED);
    EXPECT_EQ(Checked(cmd::ID_APPLY_OPTIMIZE_SPEED), on);
    DWORD stored = 99;
    ASSERT_TRUE(settings_->ReadDword(platform::kRegistryKey, "OptimizeSpeed", stored));
    EXPECT_EQ(stored, on ? 1u : 0u);
  }
}

class StartJogTest : public LayoutToolsTest, public ::testing::WithParamInterface<int> {};

TEST_P(StartJogTest, TheJogWindowOpensAtStartWhenByte202IsSet) {
  MachineSetRecord record{};
  LoadMachineSetFile(MachineSetFilePath(folder_, 0), record);
  record.openJogAtStart = static_cast<std::uint8_t>(GetParam());
  ASSERT_TRUE(SaveMachineSetFile(MachineSetFilePath(folder_, 0), record));
  StartWithNewLayout();
  CJogPositionDlg* jog = View()->MarkDialogs()->JogWindow();
  const bool shown = jog != nullptr && jog->isVisible();
  EXPECT_EQ(shown, GetParam() != 0);
  EXPECT_EQ(Checked(cmd::ID_ORIGIN_BY_HAND), GetParam() != 0);
  if (!shown) return;
  // "Orign by hand" closes what the start opened.
  Command(cmd::ID_ORIGIN_BY_HAND);
  EXPECT_FALSE(jog->isVisible());
  EXPECT_FALSE(Checked(cmd::ID_ORIGIN_BY_HAND));
}

INSTANTIATE_TEST_SUITE_P(Byte202, StartJogTest, ::testing::Values(0, 1));

// --- Painting ---

// A red polyline ends on the segment (-20, 10)-(20, 10) mm and a blue one
// starts on it: the blue one, painted later, covers the segment.
TEST_F(LayoutToolsTest, AnObjectStartingOnTheSegmentTheOneBeforeEndedOnIsPaintedInItsOwnColour) {
  CObjPtrArray written;
  const auto polyline = [&written](const char* name, COLORREF colour, std::vector<std::pair<double, double>> at) {
    CPointList points;
    for (const auto& [x, y] : at) points.Add(CDoublePoint(x, y, points.GetSize() == 0 ? 0 : PT_JOINED));
    auto element = std::make_unique<CObjElement>(
        CObjCreateRecord{name, OBJ_POLYLINE, new CObjPolyLine(points, 0, 0), sizeof(CObjPolyLine), {}});
    element->color = static_cast<int>(colour);
    written.Add(std::move(element));
  };
  polyline("red", RGB(255, 0, 0), {{-20, 0}, {-20, 10}, {20, 10}});
  polyline("blue", RGB(0, 0, 255), {{-20, 10}, {20, 10}, {20, 20}});
  const std::string path = folder_ + "/meeting.mrk";
  ASSERT_EQ(WriteMrkFile(path, written), 1);
  StartWithNewLayout({QString::fromStdString(path)});
  ASSERT_EQ(Count(), 3);

  const QImage picture = Picture(View());
  const QPoint from = Px(-20, 10);
  const QPoint to = Px(20, 10);
  ASSERT_GT(to.x() - from.x(), 100);
  int red = 0;
  int blue = 0;
  for (int x = from.x(); x <= to.x(); ++x) {
    red += picture.pixel(x, from.y()) == qRgb(255, 0, 0) ? 1 : 0;
    blue += picture.pixel(x, from.y()) == qRgb(0, 0, 255) ? 1 : 0;
  }
  EXPECT_EQ(red, 0);
  EXPECT_GE(blue, to.x() - from.x());
}

// --- The large VIN display ---

namespace {

constexpr QRgb kCheckDigitColor = qRgb(255, 0, 128);

// Rows of the view's picture that hold the check digit's colour.
std::vector<int> CheckDigitRows(CVendrikView* view) {
  const QImage picture = view->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  std::vector<int> rows;
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) {
      if (picture.pixel(x, y) == kCheckDigitColor) {
        rows.push_back(y);
        break;
      }
    }
  }
  return rows;
}

}  // namespace

TEST_F(LayoutToolsTest, AVinWithZoomInOnShowsItsCheckDigitLargeAcrossTheView) {
  StartWithNewLayout();
  Command(cmd::ID_ADD_VIN);
  Click(Px(-30, 30));
  ASSERT_NE(Named("VIN-1"), nullptr);
  EXPECT_TRUE(CheckDigitRows(View()).empty());

  OpenPage("VIN code(seventeen chars)");
  QWidget* page = Child()->PropertyPane()->View()->GetSheet()->currentWidget();
  ASSERT_NE(page, nullptr);
  auto* zoom = page->findChild<QCheckBox*>("check1102");
  ASSERT_NE(zoom, nullptr);
  ASSERT_TRUE(zoom->isVisible());
  // On its box: the row is wider than the box and its text.
  QTest::mouseClick(zoom, Qt::LeftButton, {}, QPoint(zoom->height() / 2, zoom->height() / 2));
  Settle();
  ASSERT_NE(Named("VIN-1")->GetObjectAs<CObjTextVin>()->GetEnlarged(), 0);
  const std::vector<int> rows = CheckDigitRows(View());
  ASSERT_FALSE(rows.empty());
  // Above the middle of the view, within a text height of it.
  const int middle = View()->viewport()->height() / 2;
  EXPECT_LT(rows.back(), middle);
  EXPECT_GT(rows.front(), middle - 100);
}

TEST_F(LayoutToolsTest, PrintSetupKeepsTheChosenPageForThePrintCommands) {
  StartWithNewLayout();
  WhenModal<QPageSetupDialog> answer([](QPageSetupDialog* dialog) {
    auto* landscape = dialog->findChild<QRadioButton*>("landscape");
    ASSERT_NE(landscape, nullptr);
    QTest::mouseClick(landscape, Qt::LeftButton, {}, QPoint(landscape->height() / 2, landscape->height() / 2));
    PressButton(dialog->findChild<QDialogButtonBox*>(), QDialogButtonBox::Ok);
  });
  Command(cmd::ID_FILE_PRINT_SETUP);
  ASSERT_TRUE(answer.Answered());
  EXPECT_EQ(app_->Printer().pageLayout().orientation(), QPageLayout::Landscape);
  // Print and the direct print go to the same printer.
  EXPECT_EQ(&View()->ProgramPrinter(), &app_->Printer());
}
