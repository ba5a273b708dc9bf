// Object element: ownership, dispatch by type code, transforms with their
// bound updates, copies and the plug-in of classes built elsewhere.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <utility>

#include "document/mrk/MrkKeys.h"
#include "document/mrk/MrkLineReader.h"
#include "document/mrk/MrkLineWriter.h"
#include "document/objects/CObjElement.h"
#include "document/objects/CObjLine.h"
#include "document/objects/CObjPolyLine.h"
#include "document/objects/HandleResize.h"
#include "document/objects/MarkedBounds.h"
#include "document/params/CDrawProperity.h"
#include "document/path/StepNodes.h"
#include "platform/DeviceContext.h"

namespace {

struct Counted : CObjBase {
  explicit Counted(int& deaths) : deaths_(deaths) {}
  ~Counted() override { ++deaths_; }
  int& deaths_;
};

CObjElement* LineElement(CDoublePoint a, CDoublePoint b) {
  auto* line = new CObjLine(a, b);
  auto* e = new CObjElement(CObjCreateRecord{"Line-1", OBJ_LINE, line, static_cast<int>(sizeof(CObjLine)), {}});
  e->UpdateBoundRect();
  return e;
}

CObjElement* SquareElement(int type) {
  CPointList list;
  for (auto p : {CDoublePoint(0, 0, 0), CDoublePoint(4, 0, 1), CDoublePoint(4, 4, 1), CDoublePoint(0, 4, 1)}) list.Add(p);
  auto* poly = new CObjPolyLine(list, 1, 0);
  auto* e = new CObjElement(CObjCreateRecord{"Poly-1", type, poly, static_cast<int>(sizeof(CObjPolyLine)), {}});
  e->RefreshTypeObject();
  e->UpdateBoundRect();
  return e;
}

TEST(ElementOwnership, OwnedObjectsOfEveryCodeAreFreedAndBorrowedOnesAreNot) {
  int deaths = 0;
  for (int code : {4, 10, 12, 13, 14, 18, 20, 99, 1}) {
    CObjElement e(CObjCreateRecord{"x", code, new Counted(deaths), 8, {}});
    // No class handles a Counted: every dispatch is a quiet no-op.
    e.MoveBy(1, 1);
    e.Rotate(CDoublePoint(), 1.0);
    e.MirrorX(0);
    e.RefreshTypeObject();
    CPointList dots;
    e.CollectDots(dots);
    EXPECT_EQ(dots.GetSize(), 0);
    EXPECT_EQ(e.GetBoundRect(), CDoubleRect());
  }
  EXPECT_EQ(deaths, 9);

  Counted borrowed(deaths);
  { CObjElement e(CObjCreateRecord{"x", 4, &borrowed, 0, {}}); }
  EXPECT_EQ(deaths, 9);

  // Attaching replaces (and frees) an owned object.
  CObjElement e;
  e.AttachObject(new Counted(deaths), 8, {});
  e.AttachObject(new CObjLine, static_cast<int>(sizeof(CObjLine)), {});
  EXPECT_EQ(deaths, 10);
}

TEST(ElementDispatch, ElementZeroHoldsTheParameterRecordWithoutGeometry) {
  auto* record = new CDrawProperity;
  CObjElement e(CObjCreateRecord{"", OBJ_PROPERITY, record, static_cast<int>(sizeof(CDrawProperity)), {}});
  e.MoveBy(3, 3);
  e.Rotate(CDoublePoint(), 1);
  e.UpdateBoundRect();
  EXPECT_EQ(e.GetPath(), nullptr);
  EXPECT_EQ(e.boundRect, CDoubleRect());
  std::string text;
  MrkLineWriter out(text);
  e.WriteClassBlock(out);
  EXPECT_EQ(text.find("CDrawProperity\r\n"), text.find('\n') + 1);

  CObjElement copy;
  copy.CopyFrom(e);
  ASSERT_NE(copy.GetObjectAs<CDrawProperity>(), nullptr);
  EXPECT_NE(copy.GetObjectAs<CDrawProperity>(), record);
}

TEST(ElementDispatch, TypeCodesReachTheirClassAndMismatchesDoNothing) {
  EXPECT_EQ(ObjClassOfType(OBJ_LINE), ObjClassId::Line);
  for (int code : {3, 7, 9, 11}) EXPECT_EQ(ObjClassOfType(code), ObjClassId::PolyLine) << code;
  for (int code : {-1, 4, 10, 12, 13, 14, 18, 20, 24}) EXPECT_EQ(FindObjTypeOps(code), nullptr) << code;
  EXPECT_STREQ(FindObjTypeOps(OBJ_DXF)->className, "CObjPolyLine");

  for (int code : {3, 7, 9, 11}) {
    std::unique_ptr<CObjElement> e(SquareElement(code));
    e->MoveBy(10, 0);
    EXPECT_EQ(e->boundRect, CDoubleRect(10, 4, 14, 0)) << code;
  }

  // A line object under a polyline code (or the reverse) is never cast.
  CObjElement wrong(CObjCreateRecord{"x", OBJ_POLYLINE, new CObjLine(CDoublePoint(0, 0), CDoublePoint(1, 1, 1)),
                                     static_cast<int>(sizeof(CObjLine)), CDoubleRect(0, 1, 1, 0)});
  wrong.MoveBy(5, 5);
  wrong.Resize(CDoubleRect(0, 9, 9, 0), CDoubleRect(0, 1, 1, 0), 4);
  EXPECT_EQ(wrong.GetPath(), nullptr);
  EXPECT_EQ(wrong.boundRect, CDoubleRect(0, 1, 1, 0));
  EXPECT_EQ(wrong.GetObjectAs<CObjPolyLine>(), nullptr);
}

TEST(ElementDispatch, ClassesRegisteredLaterPlugIntoTheirCodes) {
  struct FakeArc : CObjBase {
    CPathData path;
    int offsets = 0;
  };
  static CObjTypeOps ops;
  ops.className = "CObjArc";
  ops.objectSize = sizeof(FakeArc);
  ops.isInstance = &IsExactly<FakeArc>;
  ops.path = [](CObjBase& o) -> CPathData* { return &static_cast<FakeArc&>(o).path; };
  ops.offset = [](CObjBase& o, double dx, double dy) {
    static_cast<FakeArc&>(o).offsets++;
    static_cast<FakeArc&>(o).path.Offset(dx, dy);
  };
  auto* arc = new FakeArc;
  arc->path.points.Add(CDoublePoint(1, 1));
  CObjElement e(CObjCreateRecord{"Arc-1", OBJ_ARC, arc, sizeof(FakeArc), {}});
  e.MoveBy(1, 0);
  EXPECT_EQ(arc->offsets, 0);  // no arc class yet: nothing happens

  RegisterObjTypeOps(ObjClassId::Arc, &ops);
  e.BindPathOwner();
  EXPECT_EQ(arc->path.GetOwner(), &e);
  e.MoveBy(1, 0);
  EXPECT_EQ(arc->offsets, 1);
  EXPECT_EQ(e.boundRect, CDoubleRect(2, 1, 2, 1));
  e.MirrorX(0);  // no mirror entry: only the bounds refresh
  EXPECT_EQ(arc->path.points[0].x, 2);
  RegisterObjTypeOps(ObjClassId::Arc, nullptr);
}

// A stand-in for classes built elsewhere: counts what the element asks of it.
struct FakeShape : CObjBase {
  CPathData path;
  int resizes = 0, offsets = 0, rotates = 0, mirrors = 0;
};

CObjTypeOps FakeShapeOps() {
  CObjTypeOps t;
  t.objectSize = sizeof(FakeShape);
  t.isInstance = &IsExactly<FakeShape>;
  t.path = [](CObjBase& o) -> CPathData* { return &static_cast<FakeShape&>(o).path; };
  t.resize = [](CObjBase& o, CDoubleRect&, CDoubleRect&, int) { static_cast<FakeShape&>(o).resizes++; };
  t.offset = [](CObjBase& o, double, double) { static_cast<FakeShape&>(o).offsets++; };
  t.rotate = [](CObjElement&, CObjBase& o, const CDoublePoint&, double) { static_cast<FakeShape&>(o).rotates++; };
  t.mirrorX = [](CObjBase& o, double) { static_cast<FakeShape&>(o).mirrors++; };
  t.mirrorY = [](CObjBase& o, double) { static_cast<FakeShape&>(o).mirrors++; };
  return t;
}

TEST(ElementDispatch, PerCodeRulesHoldWhateverTheClassTableOffers) {
  static const CObjTypeOps ops = FakeShapeOps();
  const ObjClassId ids[] = {ObjClassId::BarCode, ObjClassId::DotCollect, ObjClassId::Image, ObjClassId::Arc};
  for (ObjClassId id : ids) RegisterObjTypeOps(id, &ops);
  auto make = [](int code, FakeShape*& shape) {
    shape = new FakeShape;
    shape->path.points.Add(CDoublePoint(1, 1));
    return std::make_unique<CObjElement>(CObjCreateRecord{"x", code, shape, sizeof(FakeShape), {}});
  };
  const CDoubleRect small(0, 1, 1, 0), big(0, 5, 5, 0);
  FakeShape* s = nullptr;

  // Barcodes follow only a plain move, never a handle drag, and have no mirror.
  auto barcode = make(OBJ_BARCODE, s);
  for (int handle = 0; handle < 8; ++handle) barcode->Resize(big, small, handle);
  EXPECT_EQ(s->resizes, 0);
  barcode->Resize(big, small, HANDLE_MOVE_ONLY);
  EXPECT_EQ(s->resizes, 1);
  barcode->MirrorX(0);
  barcode->MirrorY(0);
  EXPECT_EQ(s->mirrors, 0);
  barcode->Rotate(CDoublePoint(), 1);
  EXPECT_EQ(s->rotates, 1);

  // The dot image gets its offset call after every resize; it is not rotated.
  auto dots = make(OBJ_DOTIMAGE, s);
  dots->Resize(big, small, 4);
  EXPECT_EQ(s->resizes, 1);
  EXPECT_EQ(s->offsets, 1);
  dots->Rotate(CDoublePoint(), 1);
  EXPECT_EQ(s->rotates, 0);
  dots->MirrorY(0);
  EXPECT_EQ(s->mirrors, 1);

  // Pictures neither rotate nor mirror; other classes do both.
  auto picture = make(OBJ_PICTURE, s);
  picture->Rotate(CDoublePoint(), 1);
  picture->MirrorX(0);
  EXPECT_EQ(s->rotates + s->mirrors, 0);
  auto arc = make(OBJ_ARC, s);
  arc->Rotate(CDoublePoint(), 1);
  arc->MirrorX(0);
  arc->Resize(big, small, 4);
  EXPECT_EQ(s->rotates + s->mirrors + s->resizes, 3);
  EXPECT_EQ(s->offsets, 0);

  for (ObjClassId id : ids) RegisterObjTypeOps(id, nullptr);
}

TEST(ElementDispatch, ReaderHooksBuildAndAttachObjectsByClass) {
  // What the project reader does with a polyline block of an old file.
  const CObjTypeOps* ops = FindObjClassOps(ObjClassOfType(OBJ_RECTANGLE));
  ASSERT_NE(ops, nullptr);
  CObjElement e;
  e.SetByKey(160, MrkValue::OfInt(OBJ_RECTANGLE));
  e.SetByKey(61, MrkValue::OfFloat(0));
  e.SetByKey(190, MrkValue::OfByte(ATTR_MARK | ATTR_FILL));
  std::unique_ptr<CObjBase> obj = ops->create();
  ops->setField(*obj, 100, MrkValue::OfInt(1));
  ops->setField(*obj, 160, MrkValue::OfInt(3));
  for (auto [x, y] : {std::pair{0.0, 0.0}, {6.0, 0.0}, {6.0, 6.0}}) {
    ops->setField(*obj, 10, MrkValue::OfDouble(x));
    ops->setField(*obj, 20, MrkValue::OfDouble(y));
    ops->setField(*obj, 102, MrkValue::OfInt(x == 0 ? 0 : 1));
  }
  ops->finishRead(e, std::move(obj), 1);
  auto* poly = e.GetObjectAs<CObjPolyLine>();
  ASSERT_NE(poly, nullptr);
  EXPECT_EQ(poly->GetVertexCount(), 4);  // closing vertex added for the old format
  EXPECT_EQ(poly->GetPathData().GetOwner(), &e);
  EXPECT_EQ(e.boundRect, CDoubleRect(0, 6, 6, 0));
  EXPECT_GT(poly->GetPathData().GetGroupAt(0)->fill.GetSize(), 0);  // fill rebuilt with the owner

  const CObjTypeOps* lineOps = FindObjTypeOps(OBJ_LINE);
  CObjElement le;
  le.type = OBJ_LINE;
  std::unique_ptr<CObjBase> line = lineOps->create();
  lineOps->setField(*line, 11, MrkValue::OfDouble(8));
  lineOps->finishRead(le, std::move(line), 2);
  EXPECT_EQ(le.boundRect, CDoubleRect(0, 0, 8, 0));
  EXPECT_EQ(le.GetPath()->GetGroupCount(), 1);
}

TEST(ElementTransforms, LockZeroMovesRotationWrapAndDegreeField) {
  std::unique_ptr<CObjElement> e(LineElement(CDoublePoint(0, 0, 0), CDoublePoint(10, 0, 1)));
  e->lock = 1;
  e->MoveBy(5, 5);
  EXPECT_EQ(e->boundRect, CDoubleRect(0, 0, 10, 0));
  e->MirrorY(1);  // locked elements still mirror and rotate
  EXPECT_EQ(e->boundRect, CDoubleRect(0, 2, 10, 2));
  e->lock = 0;
  e->boundRect = CDoubleRect(-1, -1, -1, -1);
  e->MoveBy(0, 0);  // nothing at all, not even the cached bounds
  EXPECT_EQ(e->boundRect, CDoubleRect(-1, -1, -1, -1));

  std::unique_ptr<CObjElement> a(LineElement(CDoublePoint(0, 0, 0), CDoublePoint(10, 0, 1)));
  std::unique_ptr<CObjElement> b(LineElement(CDoublePoint(0, 0, 0), CDoublePoint(10, 0, 1)));
  a->Rotate(CDoublePoint(), 7.0);
  b->Rotate(CDoublePoint(), 7.0 - 6.2831852);
  const CPointList& pa = a->GetPath()->points;
  const CPointList& pb = b->GetPath()->points;
  EXPECT_EQ(pa[1].x, pb[1].x);
  EXPECT_EQ(pa[1].y, pb[1].y);
  EXPECT_EQ(a->boundRect, a->GetPath()->GetBoundRect());

  std::unique_ptr<CObjElement> sq(SquareElement(OBJ_RECTANGLE));
  auto* poly = sq->GetObjectAs<CObjPolyLine>();
  for (int i = 0; i < 50; ++i) {
    sq->Rotate(CDoublePoint(2, 2), (i % 2 ? -1 : 1) * 5.9);
    EXPECT_GE(poly->GetRotationAngle(), 0);
    EXPECT_LE(poly->GetRotationAngle(), 360);
  }
  // A huge or non-finite angle never spreads NaN (nor spins for ever).
  sq->Rotate(CDoublePoint(2, 2), 1e300);
  sq->Rotate(CDoublePoint(2, 2), NAN);
  EXPECT_TRUE(std::isfinite(poly->GetPathData().points[0].x));
  EXPECT_LE(poly->GetRotationAngle(), 360);
}

TEST(ElementTransforms, ResizeTakesTheNewRectangleFirst) {
  // Dragging the right-bottom corner of the 4 mm square out to 8 mm: the
  // left-top corner stays, both sides double. Swapped rectangles would halve it.
  std::unique_ptr<CObjElement> sq(SquareElement(OBJ_RECTANGLE));
  ASSERT_EQ(sq->boundRect, CDoubleRect(0, 4, 4, 0));
  sq->Resize(CDoubleRect(0, 4, 8, -4), CDoubleRect(0, 4, 4, 0), 4);
  EXPECT_EQ(sq->boundRect, CDoubleRect(0, 4, 8, -4));
  const CPointList& v = sq->GetPath()->points;
  EXPECT_EQ(v[1].x, 8);  // (4, 0) moves away from the anchor (0, 4)
  EXPECT_EQ(v[1].y, -4);
}

TEST(ElementQueries, BoundsToleranceAttributeBitsAndTextTypes) {
  CObjElement e;
  EXPECT_EQ(e.type, OBJ_NONE);
  EXPECT_EQ(e.attribute, ATTR_MARK);
  EXPECT_FLOAT_EQ(e.fillSpacing, 0.2f);
  e.boundRect = CDoubleRect(0, 10, 10, 0);
  EXPECT_TRUE(e.PtInBoundRect(CDoublePoint(-2, 12)));
  EXPECT_FALSE(e.PtInBoundRect(CDoublePoint(-2.01, 5)));
  EXPECT_FALSE(e.PtInBoundRect(CDoublePoint(5, 12.01)));

  e.attribute = 0xE2;  // meaningless bits are kept
  EXPECT_EQ(e.SetFillOn(1), 0xEA);
  EXPECT_EQ(e.SetDiscardBorder(1), 0xFA);

  e.type = OBJ_SERIAL;
  e.dataSource = 1;
  EXPECT_TRUE(e.IsTextType(1));
  e.dataSource = 2;
  EXPECT_FALSE(e.IsTextType(1));
  EXPECT_TRUE(e.IsTextType(0));
  e.type = OBJ_DATE;
  EXPECT_FALSE(e.IsTextType(0));
  EXPECT_EQ(e.GetText(), "");
  EXPECT_FALSE(e.HasTextArc());
}

TEST(ElementQueries, MarkedBoundsLeaveOutPicturesAndUnmarkedObjects) {
  std::unique_ptr<CObjElement> a(LineElement({0, 0, 0}, {10, 5, 1}));
  std::unique_ptr<CObjElement> b(LineElement({-20, -3, 0}, {-10, 2, 1}));
  std::unique_ptr<CObjElement> off(LineElement({100, 100, 0}, {110, 110, 1}));
  off->SetMarkEnabled(0);
  std::unique_ptr<CObjElement> picture(LineElement({-100, -100, 0}, {-90, -90, 1}));
  picture->type = OBJ_PICTURE;
  const BoundsUnion bounds = MarkedBounds({a.get(), b.get(), off.get(), picture.get()});
  ASSERT_TRUE(bounds.Found());
  EXPECT_EQ(bounds.Rect(), CDoubleRect(-20, 5, 10, -3));
  EXPECT_FALSE(MarkedBounds({off.get(), picture.get()}).Found());
}

TEST(ElementCopy, DeepCopyKeepsOwnLockAndDataSourceAndReplacesOldObject) {
  std::unique_ptr<CObjElement> src(SquareElement(OBJ_POLYLINE));
  src->layer = 2;
  src->lock = 1;
  src->dataSource = 3;
  src->markCount = 4;
  src->SetFillOn(1);
  src->RefreshTypeObject();

  int deaths = 0;
  CObjElement dst;
  dst.AttachObject(new Counted(deaths), 8, {});
  dst.type = 4;
  dst.CopyFrom(*src);
  EXPECT_EQ(deaths, 1);
  EXPECT_EQ(dst.type, OBJ_POLYLINE);
  EXPECT_EQ(dst.layer, 2);
  EXPECT_EQ(dst.markCount, 4);
  EXPECT_EQ(dst.lock, 0);
  EXPECT_EQ(dst.dataSource, 0);
  EXPECT_EQ(dst.name, "Poly-1");
  auto* copy = dst.GetObjectAs<CObjPolyLine>();
  ASSERT_NE(copy, nullptr);
  EXPECT_NE(copy, src->GetObjectAs<CObjPolyLine>());
  EXPECT_EQ(copy->GetPathData().GetOwner(), &dst);
  EXPECT_EQ(copy->GetVertexCount(), 5);
  EXPECT_EQ(dst.boundRect, src->boundRect);

  dst.MoveBy(1, 0);  // the copy is independent
  EXPECT_EQ(src->GetObjectAs<CObjPolyLine>()->GetPathData().points[0].x, 0);
  // The copy is rebuilt by its owner's settings when refreshed.
  dst.RefreshTypeObject();
  EXPECT_GT(copy->GetPathData().GetGroupAt(0)->fill.GetSize(), 0);
}

// Reads one element block the way the project reader does: element keys
// until the class head, class keys until the class end, then the end marker.
std::unique_ptr<CObjElement> ReadBlock(const std::string& text, int version) {
  MrkLineReader in(text);
  auto e = std::make_unique<CObjElement>();
  std::unique_ptr<CObjBase> obj;
  const CObjTypeOps* ops = nullptr;
  int key = 0;
  std::string value;
  while (in.ReadPair(key, value)) {
    const MrkValue v = MrkValue::Parse(key, value);
    if (key == 202 && !obj && !ops) {
      ops = FindObjTypeOps(e->type);
      if (ops) obj = ops->create();
    } else if (key >= 200) {
      if (value == "\xb6\xd4\xcf\xf3\xbd\xe1\xca\xf8:" && ops) ops->finishRead(*e, std::move(obj), version);
      if (key == 201) e->SetByKey(key, v);
    } else if (obj) {
      ops->setField(*obj, key, v);
    } else {
      e->SetByKey(key, v);
    }
  }
  return e;
}

TEST(ElementFileBlock, ElementAndObjectKeysSurviveAWriteAndReadBack) {
  std::unique_ptr<CObjElement> src(SquareElement(OBJ_DXF));
  src->name = "DXF\r\n-1";  // a line break must not shift the pairs
  src->attribute = 0x9B;
  src->layer = 3;
  src->queryKey = 2;
  src->dataSource = 1;
  src->excelColumn = 25;
  src->id = 2;
  src->lock = 1;
  src->penDownDelay = 11;
  src->penChangeDelay = 12;
  src->objectEndDelay = 13;
  src->markCount = 3;
  src->color = 0x123456;
  src->rotation = 12.5f;
  src->fillAngle = -45;
  src->fillSpacing = 0.125f;
  src->emptySpeed = 1.5f;
  src->lineSpeed = 2.25f;
  std::string text;
  MrkLineWriter out(text);
  src->WriteToMrk(out);
  EXPECT_EQ(text.rfind("200;\xd2\xbb\xb8\xf6\xb6\xd4\xcf\xf3\xb5\xc4\xbf\xaa\xca\xbc\r\n\xb6\xd4\xcf\xf3\xbf\xaa\xca\xbc:\r\n", 0),
            0u);
  EXPECT_NE(text.find("165;Color\r\n1193046\r\n"), std::string::npos);
  EXPECT_NE(text.find("63;ES\r\n1.500\r\n"), std::string::npos);

  std::unique_ptr<CObjElement> back = ReadBlock(text, 2);
  EXPECT_EQ(back->name, "DXF  -1");
  EXPECT_EQ(back->color, 0x123456);
  EXPECT_EQ(back->fillSpacing, 0.125f);
  auto* poly = back->GetObjectAs<CObjPolyLine>();
  ASSERT_NE(poly, nullptr);
  EXPECT_EQ(poly->GetVertexCount(), 5);
  EXPECT_EQ(back->boundRect, src->boundRect);

  // Written again, the block is the same bytes: every field came back.
  std::string again;
  MrkLineWriter out2(again);
  back->WriteToMrk(out2);
  EXPECT_EQ(again, text);

  // Pictures leave out the query key.
  std::string special;
  MrkLineWriter out3(special);
  src->WriteSpecialToMrk(out3, "/tmp/x.mrk");
  EXPECT_EQ(special.find("111;"), std::string::npos);
  EXPECT_EQ(special.size() + 2 + 1 + 2 + std::string("111;\xb2\xe9\xd1\xaf\xb9\xd8\xbc\xfc").size(), text.size());
}

TEST(ElementStepNodes, LinePathBecomesOneToolUpAndOneToolDownMove) {
  // 4 micrometre steps: 1 mm is 250 steps.
  std::unique_ptr<CObjElement> e(LineElement(CDoublePoint(1, 1, 0), CDoublePoint(3, 1, 1)));
  CDrawProperity prop;
  StepNode* head = nullptr;
  CDoublePoint current;
  int count = 0;
  bool first = false;
  e->BuildStepNodes(head, prop, current, count, first, 1);
  ASSERT_EQ(count, 2);
  ASSERT_NE(head, nullptr);
  ASSERT_NE(head->next, nullptr);
  EXPECT_EQ(head->stepsX, 1000 / prop.GetStepLengthX() * 1);
  EXPECT_EQ(head->flags & SN_TOOL_DOWN, 0);
  EXPECT_EQ(head->next->flags & SN_TOOL_DOWN, SN_TOOL_DOWN);
  EXPECT_EQ(current.x, 3);
  FreeStepNodes(head);

  CObjElement none;  // no object: no nodes
  head = nullptr;
  none.BuildStepNodes(head, prop, current, count, first, 1);
  EXPECT_EQ(head, nullptr);
}

TEST(ElementDraw, PenFollowsTheMarkBitAndIsRestored) {
  std::unique_ptr<CObjElement> e(LineElement(CDoublePoint(0, 0, 0), CDoublePoint(10, 0, 1)));
  platform::RecordingDeviceContext dc;
  const platform::DcPen marked{platform::PS_SOLID, 1, 0x0000FF};
  const platform::DcPen unmarked{platform::PS_DOT, 1, 0x808080};
  const platform::DcPen before = dc.CurrentPen();
  e->Draw(dc, 100, 100, 1.0, marked, unmarked, CDoublePoint());
  ASSERT_GE(dc.Ops().size(), 4u);
  EXPECT_EQ(dc.Ops()[0].kind, platform::DcOp::SelectPen);
  EXPECT_EQ(dc.Ops()[0].pen, marked);
  EXPECT_EQ(dc.Ops()[1].kind, platform::DcOp::MoveTo);
  EXPECT_EQ(dc.Ops()[2].kind, platform::DcOp::LineTo);
  EXPECT_EQ(dc.CurrentPen(), before);
  EXPECT_EQ(e->GetEndPoint().x, 10);

  dc.Clear();
  e->SetMarkEnabled(0);
  e->Draw(dc, 0, 0, 1.0, marked, unmarked, CDoublePoint());
  EXPECT_EQ(dc.Ops()[0].pen, unmarked);

  dc.Clear();  // the divide-page preview draws imported drawings only
  e->DrawMarkPath(dc, 0, 0, 1.0, marked, unmarked, marked, 0, 0);
  EXPECT_TRUE(dc.Ops().empty());
}

}  // namespace
