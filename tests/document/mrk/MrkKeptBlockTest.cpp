// Class blocks of classes this build has no table for (texts, arcs, pictures,
// old B-splines) survive reading and saving a project, in place and in order.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "document/doc/CObjPtrArray.h"
#include "document/mrk/MrkFile.h"
#include "document/mrk/MrkKeys.h"
#include "document/mrk/MrkLineWriter.h"
#include "document/objects/CObjPolyLine.h"
#include "tests/document/mrk/MrkTestSupport.h"

const CObjTypeOps& PolyLineTypeOps();

namespace {

constexpr char kNameKey[] = "201;\xb6\xd4\xcf\xf3\xc3\xfb\xb3\xc6";  // 201;对象名称

// The bytes from an element's class name key line up to its end marker.
std::string ClassBlockOf(const std::string& file, const std::string& name, const std::string& eol = "\r\n") {
  const std::size_t at = file.find(std::string(kNameKey) + eol + name + eol);
  if (at == std::string::npos) return "<no element " + name + ">";
  const std::size_t begin = file.find(kMrkClassName, at);
  const std::size_t end = file.find(kMrkObjectEnd, at);
  if (begin == std::string::npos || end == std::string::npos || begin > end) return "<no class block>";
  return file.substr(begin, end - begin);
}

std::string WithCrLf(const std::string& lf) {
  std::string out;
  for (char c : lf) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

std::vector<std::string> NamesOf(const CObjPtrArray& objects) {
  std::vector<std::string> names;
  for (const CObjElement* e : objects) names.push_back(e->name);
  return names;
}

const std::string kTextName = "\xce\xc4\xb1\xbe-1";  // 文本-1

TEST(KeptBlocks, UnbuiltClassesComeBackByteForByteInTheirPlace) {
  const std::string fixture = ReadBytes(FixturePath("unbuilt2008.mrk"));
  CObjPtrArray objects;
  ASSERT_EQ(ReadMrkBytes(fixture, objects), 1);
  ASSERT_EQ(NamesOf(objects), (std::vector<std::string>{"Line-1", kTextName, "Arc-1", "Picture-1", "Poly-1"}));

  // Built classes are parsed and keep nothing; the others keep their block.
  EXPECT_NE(objects[0]->GetObject(), nullptr);
  EXPECT_TRUE(objects[0]->keptClassBlock.empty());
  EXPECT_NE(objects[4]->GetObjectAs<CObjPolyLine>(), nullptr);
  for (int i : {1, 2, 3}) {
    EXPECT_EQ(objects[i]->GetObject(), nullptr) << i;
    EXPECT_EQ(objects[i]->keptClassBlock, ClassBlockOf(fixture, objects[i]->name)) << i;
  }
  // The text's rectangle still reaches the element; its class keys do not.
  EXPECT_EQ(objects[1]->boundRect, CDoubleRect(1.5, 9.0, 20.5, 3.0));
  EXPECT_EQ(objects[1]->attribute, 1);
  EXPECT_EQ(objects[2]->attribute, 1);
  EXPECT_FLOAT_EQ(objects[2]->rotation, 0);

  // Saved, the blocks stand where they stood, the picture's bytes included
  // (they hold line ends and an end marker of their own); saved again after
  // reading, nothing moves.
  const std::string saved = FormatMrkFile(objects, "/p/layout.mrk");
  for (const char* name : {"Arc-1", "Picture-1"}) EXPECT_EQ(ClassBlockOf(saved, name), ClassBlockOf(fixture, name));
  EXPECT_EQ(ClassBlockOf(saved, kTextName), ClassBlockOf(fixture, kTextName));
  EXPECT_LT(saved.find("CObjText"), saved.find("CObjArc"));
  EXPECT_LT(saved.find("CObjArc"), saved.find("CObjImage"));
  CObjPtrArray reread;
  ASSERT_EQ(ReadMrkBytes(saved, reread), 1);
  EXPECT_EQ(NamesOf(reread), NamesOf(objects));
  EXPECT_EQ(FormatMrkFile(reread, "/p/layout.mrk"), saved);

  // An undo snapshot is the same round trip; a duplicate takes the block too.
  CObjElement copy;
  copy.CopyFrom(*objects[2]);
  std::string block;
  MrkLineWriter out(block);
  copy.WriteClassBlock(out);
  EXPECT_EQ(block, ClassBlockOf(fixture, "Arc-1"));
}

TEST(KeptBlocks, OldFileBlocksComeBackWithCrLfAndOldSplinesInTodaysForm) {
  const std::string fixture = ReadBytes(FixturePath("unbuilt2004.mrk"));  // LF line ends only
  ASSERT_EQ(fixture.find('\r'), std::string::npos);
  CObjPtrArray objects;
  ASSERT_EQ(ReadMrkBytes(fixture, objects), 1);
  ASSERT_EQ(NamesOf(objects), (std::vector<std::string>{"Text-old", "Spline-old", "Line-old"}));
  const std::string saved = FormatMrkFile(objects, "");
  EXPECT_EQ(ClassBlockOf(saved, "Text-old"), WithCrLf(ClassBlockOf(fixture, "Text-old", "\n")));
  EXPECT_NE(saved.find("Ver2008"), std::string::npos);

  // Under the new version mark the B-spline must not need the old-file
  // corrections: its first vertex is a pen-up and its closing vertex is stored.
  RegisterObjTypeOps(ObjClassId::BSpline, &PolyLineTypeOps());
  CObjPtrArray parsed;
  ASSERT_EQ(ReadMrkBytes(saved, parsed), 1);
  RegisterObjTypeOps(ObjClassId::BSpline, nullptr);
  ASSERT_EQ(parsed.GetSize(), 3);
  const auto* spline = parsed[1]->GetObjectAs<CObjPolyLine>();
  ASSERT_NE(spline, nullptr);
  EXPECT_TRUE(parsed[1]->keptClassBlock.empty());  // a table, when there is one, reads the block
  const CPointList& v = spline->GetPathData().points;
  ASSERT_EQ(v.GetSize(), 4);
  EXPECT_EQ(v[0].flag, 0);
  EXPECT_EQ(v[1].flag, 1);
  EXPECT_TRUE(v[3].x == 0 && v[3].y == 0 && v[3].flag == 1);
  EXPECT_EQ(v[2].x, 4);
  EXPECT_NE(ClassBlockOf(saved, "Spline-old").find("CObjBSpline"), std::string::npos);

  // Without the table the saved file reads back to the same bytes.
  CObjPtrArray again;
  ASSERT_EQ(ReadMrkBytes(saved, again), 1);
  EXPECT_EQ(FormatMrkFile(again, ""), saved);
}

TEST(KeptBlocks, DamagedFilesKeepOnlyWholeElementsAndNeverReadPastTheEnd) {
  const std::string fixture = ReadBytes(FixturePath("unbuilt2008.mrk"));
  // Cut anywhere, the reader keeps whole elements only (the sanitizer
  // watches every kept byte) and what it keeps can be written.
  int last = 0;
  for (std::size_t cut = 0; cut < fixture.size(); cut += 5) {
    CObjPtrArray part;
    ReadMrkBytes(std::string_view(fixture).substr(0, cut), part);
    ASSERT_GE(part.GetSize(), last) << cut;
    last = part.GetSize();
    (void)FormatMrkFile(part, "");
  }
  EXPECT_EQ(last, 5);

  // A picture size beyond the file: the element is not complete and the
  // reading ends with the elements before it.
  const std::string sizeKey = "\xce\xc4\xbc\xfe\xb4\xf3\xd0\xa1\r\n";  // 文件大小
  const std::size_t at = fixture.find(sizeKey) + sizeKey.size();
  const std::size_t digits = fixture.find('\r', at) - at;
  std::string bigger = fixture;
  bigger.replace(at, digits, "999999");
  CObjPtrArray cut;
  EXPECT_EQ(ReadMrkBytes(bigger, cut), 1);
  EXPECT_EQ(cut.GetSize(), 3);

  // A negative size takes no bytes: the data is read as lines and the
  // elements after the picture still come.
  std::string negative = fixture;
  negative.replace(at, digits, "-1");
  CObjPtrArray rest;
  EXPECT_EQ(ReadMrkBytes(negative, rest), 1);
  ASSERT_GE(rest.GetSize(), 3);
  EXPECT_EQ(rest[rest.GetSize() - 1]->name, "Poly-1");
}

// A stand-in arc class that records the keys it is given.
struct FakeArc : CObjBase {
  std::vector<int> keys;
};

TEST(KeptBlocks, ARegisteredClassReadsItsBlockInsteadOfKeepingIt) {
  static const CObjTypeOps ops = [] {
    CObjTypeOps t;
    t.className = "CObjArc";
    t.objectSize = static_cast<int>(sizeof(FakeArc));
    t.isInstance = &IsExactly<FakeArc>;
    t.create = []() -> std::unique_ptr<CObjBase> { return std::make_unique<FakeArc>(); };
    t.setField = [](CObjBase& o, int key, const MrkValue&) { static_cast<FakeArc&>(o).keys.push_back(key); };
    t.finishRead = [](CObjElement& element, std::unique_ptr<CObjBase> o, int) {
      element.AttachObject(o.release(), static_cast<int>(sizeof(FakeArc)), CDoubleRect());
    };
    return t;
  }();
  RegisterObjTypeOps(ObjClassId::Arc, &ops);
  CObjPtrArray objects;
  const int result = ReadMrkBytes(ReadBytes(FixturePath("unbuilt2008.mrk")), objects);
  RegisterObjTypeOps(ObjClassId::Arc, nullptr);
  ASSERT_EQ(result, 1);
  ASSERT_EQ(objects.GetSize(), 5);
  const auto* arc = objects[2]->GetObjectAs<FakeArc>();
  ASSERT_NE(arc, nullptr);
  EXPECT_EQ(arc->keys, (std::vector<int>{10, 20, 40, 50, 60, 61, 62, 100, 190}));
  EXPECT_TRUE(objects[2]->keptClassBlock.empty());
  EXPECT_FALSE(objects[1]->keptClassBlock.empty());
}

}  // namespace
