// Project files: the hand-made fixtures of both versions, byte-exact round
// trips, embedded picture bytes, and files that are cut short, foreign or
// hostile.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <memory>
#include <string>

#include "document/doc/CObjPtrArray.h"
#include "document/mrk/MrkFile.h"
#include "document/mrk/MrkKeys.h"
#include "document/mrk/MrkLineWriter.h"
#include "document/objects/CObjLine.h"
#include "document/objects/CObjPolyLine.h"
#include "document/params/CDrawProperity.h"
#include "tests/document/mrk/MrkTestSupport.h"

namespace {

const CObjPolyLine* PolyOf(const CObjElement* e) { return e ? e->GetObjectAs<CObjPolyLine>() : nullptr; }
const CObjLine* LineOf(const CObjElement* e) { return e ? e->GetObjectAs<CObjLine>() : nullptr; }

std::unique_ptr<CObjElement> Element(const std::string& name, int type, CObjBase* object, int size) {
  auto e = std::make_unique<CObjElement>(CObjCreateRecord{name, type, object, size, {}});
  e->RefreshTypeObject();
  e->UpdateBoundRect();
  return e;
}

std::unique_ptr<CObjElement> Poly(const std::string& name, int type, int n, int closed, int imported) {
  CPointList list;
  for (int i = 0; i < n; ++i) list.Add(CDoublePoint(i * 0.5, (i % 7) * 1.25, i % 5 == 0 ? 0 : 1));
  return Element(name, type, new CObjPolyLine(list, closed, imported), static_cast<int>(sizeof(CObjPolyLine)));
}

// A layout of every built class with fields off their defaults.
void BuildLayout(CObjPtrArray& objects) {
  objects.Add(Element("", OBJ_PROPERITY, new CDrawProperity(), static_cast<int>(sizeof(CDrawProperity))));
  auto line = Element("\xd6\xb1\xcf\xdf-1", OBJ_LINE, new CObjLine(CDoublePoint(1, 2, 0), CDoublePoint(-3.25, 4.5, 1)),
                      static_cast<int>(sizeof(CObjLine)));
  line->queryKey = 2;
  line->attribute = 0xE5;  // meaningless bits kept as read
  line->lineSpeed = 2.5f;
  objects.Add(std::move(line));
  auto poly = Poly("Poly-1", OBJ_POLYLINE, 9, 1, 0);
  poly->SetFillOn(1);
  objects.Add(std::move(poly));
  objects.Add(Poly("DXF-1", OBJ_DXF, 20, 0, 1));
}

TEST(MrkFile, Version2008FixtureLoads) {
  auto prompt = RecordPrompts();
  CObjPtrArray objects;
  ASSERT_EQ(ReadMrkFile(FixturePath("layout2008.mrk"), objects), 1);
  EXPECT_TRUE(prompt->Texts().empty());
  ASSERT_EQ(objects.GetSize(), 7);  // nothing after the file end marker

  const auto* record = objects[0]->GetObjectAs<CDrawProperity>();
  ASSERT_NE(record, nullptr);
  EXPECT_DOUBLE_EQ(record->GetRangeX(), 150);
  EXPECT_DOUBLE_EQ(record->GetResetPath(1).y, 8);
  EXPECT_EQ(record->GetAcceleration(), 600);
  EXPECT_DOUBLE_EQ(record->GetPenUpSpeed(), 32);  // speeds stay the machine's

  EXPECT_EQ(objects[1]->name, "\xd6\xb1\xcf\xdf-1");
  EXPECT_EQ(objects[1]->color, 255);
  EXPECT_EQ(objects[1]->boundRect, CDoubleRect(1, 2, 31, 2));
  ASSERT_NE(PolyOf(objects[2]), nullptr);
  EXPECT_EQ(PolyOf(objects[2])->GetVertexCount(), 4);  // stored closing vertex, none added
  EXPECT_FLOAT_EQ(objects[2]->fillAngle, 45);
  EXPECT_EQ(PolyOf(objects[3])->GetPathData().GetGroupCount(), 1);

  // A reserved type code: no object, and the elements after it still come.
  EXPECT_EQ(objects[4]->type, 4);
  EXPECT_EQ(objects[4]->GetObject(), nullptr);
  // A text, whose class is not in this build: its rectangle is taken and its
  // class keys (160, 190, 60 among them) never land on the element.
  const CObjElement* text = objects[5];
  EXPECT_EQ(text->type, OBJ_TEXT);
  EXPECT_EQ(text->boundRect, CDoubleRect(1.5, 9.0, 20.5, 3.0));
  EXPECT_EQ(text->attribute, 1);
  EXPECT_FLOAT_EQ(text->rotation, 0);
  EXPECT_NE(LineOf(objects[6]), nullptr);  // English markers
}

TEST(MrkFile, Version2004FixtureGetsTheOldFileCorrections) {
  CObjPtrArray objects;
  ASSERT_EQ(ReadMrkFile(FixturePath("layout2004.mrk"), objects), 1);
  ASSERT_EQ(objects.GetSize(), 4);
  EXPECT_EQ(objects[0]->color, 1);  // colour switched: 0 gives 1, others 0
  EXPECT_EQ(objects[1]->color, 0);
  // Old lines have no flags of their own: whatever came before the
  // coordinates, the start is a pen-up and the end joins it.
  ASSERT_NE(LineOf(objects[1]), nullptr);
  EXPECT_EQ(LineOf(objects[1])->GetPathData().points[0].flag, 0);
  EXPECT_EQ(LineOf(objects[1])->GetPathData().points[1].flag, 1);
  // The closing vertex old files lacked is added; the first vertex is a pen-up.
  ASSERT_NE(PolyOf(objects[2]), nullptr);
  const CPointList& v = PolyOf(objects[2])->GetPathData().points;
  ASSERT_EQ(v.GetSize(), 4);
  EXPECT_EQ(v[0].flag, 0);
  EXPECT_EQ(v[1].flag, 1);
  EXPECT_TRUE(v[3].x == v[0].x && v[3].y == v[0].y && v[3].flag == 1);
  // Imported drawings get the pen-up but no closing vertex.
  EXPECT_EQ(PolyOf(objects[3])->GetVertexCount(), 4);
  EXPECT_EQ(PolyOf(objects[3])->GetPathData().points[0].flag, 0);

  // Written again it is a Ver2008 file that reads back unchanged.
  const std::string again = FormatMrkFile(objects, "");
  CObjPtrArray reread;
  ASSERT_EQ(ReadMrkBytes(again, reread), 1);
  EXPECT_EQ(FormatMrkFile(reread, ""), again);
}

TEST(MrkFile, FilesWeWriteReadBackByteForByte) {
  TempFolder dir;
  CObjPtrArray objects;
  BuildLayout(objects);
  // Paths are taken as they are: capitals kept, no 255-character limit.
  std::filesystem::create_directory(dir / std::string(200, 'D'));
  const std::string path = dir / (std::string(200, 'D') + "/" + std::string(100, 'L') + ".MRK");
  ASSERT_EQ(WriteMrkFile(path, objects), 1);
  const std::string first = ReadBytes(path);
  ASSERT_EQ(::chmod(path.c_str(), 0444), 0);  // read-only files load
  CObjPtrArray reread;
  ASSERT_EQ(ReadMrkFile(path, reread), 1);
  ASSERT_EQ(reread.GetSize(), objects.GetSize());
  for (int i = 0; i < objects.GetSize(); ++i) EXPECT_EQ(reread[i]->boundRect, objects[i]->boundRect) << i;
  EXPECT_EQ(reread[1]->attribute, 0xE5);
  EXPECT_EQ(reread[1]->queryKey, 2);
  EXPECT_EQ(FormatMrkFile(reread, ""), first);

  // Every line ends in CR LF; files with LF alone read the same.
  std::string lfOnly;
  for (std::size_t i = 0; i < first.size(); ++i) {
    if (first[i] == '\n') { ASSERT_EQ(first[i - 1], '\r') << "bare LF at " << i; }
    if (first[i] != '\r') lfOnly += first[i];
  }
  CObjPtrArray fromLf;
  ASSERT_EQ(ReadMrkBytes(lfOnly, fromLf), 1);
  EXPECT_EQ(FormatMrkFile(fromLf, ""), first);
  EXPECT_EQ(first.rfind("200;\xb1\xea\xcc\xe2\r\n", 0), 0u);
  EXPECT_NE(first.find("\xba\xc5\r\nVer2008\r\n"), std::string::npos);
  EXPECT_TRUE(first.ends_with("\xb1\xea\xd6\xbe\r\n\xce\xc4\xbc\xfe\xbd\xe1\xca\xf8:\r\n"));
}

TEST(MrkFile, WriteErrorsAreReportedAndLeaveWhatWasThere) {
  TempFolder dir;
  CObjPtrArray objects;
  BuildLayout(objects);
  WriteBytes(dir / "plain", "x");
  std::filesystem::create_directory(dir / "taken.mrk");
  for (const std::string& path : {dir / "plain/inside.mrk", dir / "missing/x.mrk", std::string(), dir / "taken.mrk"}) {
    EXPECT_EQ(WriteMrkFile(path, objects), 0) << path;
  }
  EXPECT_TRUE(std::filesystem::is_directory(dir / "taken.mrk"));
  EXPECT_EQ(ReadBytes(dir / "plain"), "x");

  // A write-protected project stays as it was; a link keeps pointing at the
  // file it names, which takes the new layout.
  WriteBytes(dir / "locked.mrk", "old");
  ASSERT_EQ(::chmod((dir / "locked.mrk").c_str(), 0444), 0);
  EXPECT_EQ(WriteMrkFile(dir / "locked.mrk", objects), 0);
  EXPECT_EQ(ReadBytes(dir / "locked.mrk"), "old");
  WriteBytes(dir / "real.mrk", "old");
  std::filesystem::create_symlink(dir / "real.mrk", dir / "link.mrk");
  EXPECT_EQ(WriteMrkFile(dir / "link.mrk", objects), 1);
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.mrk"));
  EXPECT_EQ(ReadBytes(dir / "real.mrk"), FormatMrkFile(objects, dir / "link.mrk"));

  int entries = 0;  // and no temporary file is left behind
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.Path())) ++entries;
  EXPECT_EQ(entries, 5);
}

TEST(MrkFile, ForeignFilesAreRefusedWithTheMessage) {
  for (const std::string& bytes : {std::string(), std::string("199;\xb1\xea\r\nx\r\n200;a\r\nVer2008\r\n"),
                                   std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), std::string("hello\n")}) {
    auto prompt = RecordPrompts();
    CObjPtrArray objects;
    EXPECT_EQ(ReadMrkBytes(bytes, objects), 0);
    EXPECT_EQ(objects.GetSize(), 0);
    const auto requests = prompt->Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].text, "Open file error，Data is destroyed!\nOperation is terminated!");
    EXPECT_EQ(requests[0].type & MB_ICONERROR, MB_ICONERROR);
  }
  // Files that cannot be opened and files without a version pair give
  // nothing, quietly.
  TempFolder dir;
  auto prompt = RecordPrompts();
  CObjPtrArray objects;
  EXPECT_EQ(ReadMrkFile(dir / "does-not-exist.mrk", objects), 1);
  EXPECT_EQ(ReadMrkFile(dir.Path().string(), objects), 1);
  EXPECT_EQ(ReadMrkBytes("200;t\r\nno version\r\n200;x\r\n\xb6\xd4\xcf\xf3\xbf\xaa\xca\xbc:\r\n", objects), 1);
  EXPECT_EQ(objects.GetSize(), 0);
  EXPECT_TRUE(prompt->Texts().empty());
}

TEST(MrkFile, FilesCutShortKeepOnlyCompleteElements) {
  CObjPtrArray objects;
  BuildLayout(objects);
  const std::string text = FormatMrkFile(objects, "");
  // At every cut the reader stays inside the bytes (the sanitizer watches)
  // and appends whole elements only, each sound enough to be written.
  int last = 0;
  for (std::size_t cut = 12; cut < text.size(); cut += 7) {
    CObjPtrArray part;
    ASSERT_EQ(ReadMrkBytes(std::string_view(text).substr(0, cut), part), 1);
    ASSERT_GE(part.GetSize(), last);
    last = part.GetSize();
    for (int i = 0; i < part.GetSize(); ++i) ASSERT_EQ(part[i]->type, objects[i]->type);
    (void)FormatMrkFile(part, "");
  }
  EXPECT_EQ(last, objects.GetSize());
}

std::string PolyFile(const std::string& count, int triples) {
  std::string body = "200;h\r\nVer2008\r\n200;s\r\n\xb6\xd4\xcf\xf3\xbf\xaa\xca\xbc:\r\n160;t\r\n7\r\n202;c\r\nCObjPolyLine\r\n";
  body += "160;n\r\n" + count + "\r\n";
  for (int i = 0; i < triples; ++i) body += "10;x\r\n" + std::to_string(i) + ".5\r\n20;y\r\n1e308\r\n102;f\r\n1\r\n";
  return body + "202;e\r\nCLASS_END\r\n200;e\r\n\xb6\xd4\xcf\xf3\xbd\xe1\xca\xf8:\r\n";
}

TEST(MrkFile, HostileVertexCountsAllocateNothingAndReadOnlyWhatIsThere) {
  const struct {
    const char* count;
    int triples;
    int expected;
  } cases[] = {{"-5", 3, 0}, {"2147483647", 3, 3}, {"99999999999999999999", 2, 2},
               {"4294967295", 1, 1}, {"2", 5, 2}, {"abc", 2, 0}};
  for (const auto& c : cases) {
    CObjPtrArray objects;
    ASSERT_EQ(ReadMrkBytes(PolyFile(c.count, c.triples), objects), 1);
    ASSERT_NE(PolyOf(objects[0]), nullptr) << c.count;
    EXPECT_EQ(PolyOf(objects[0])->GetVertexCount(), c.expected) << c.count;
  }
}

// A stand-in picture class: a size key and that many raw bytes after the
// data key line.
struct FakePicture : CObjBase {
  long long size = 0;
  std::string bytes;
};

const CObjTypeOps& FakePictureOps() {
  static const CObjTypeOps ops = [] {
    CObjTypeOps t;
    t.className = "CObjImage";
    t.objectSize = static_cast<int>(sizeof(FakePicture));
    t.isInstance = &IsExactly<FakePicture>;
    t.create = []() -> std::unique_ptr<CObjBase> { return std::make_unique<FakePicture>(); };
    t.write = [](const CObjElement&, const CObjBase& o, MrkLineWriter& out, const std::string&) {
      const auto& p = static_cast<const FakePicture&>(o);
      out.WriteClassBegin("CObjImage");
      out.WriteInt("160;size", static_cast<long long>(p.bytes.size()));
      out.WriteMrkLine("320;data");
      out.WriteRaw(p.bytes);
      out.WriteClassEnd();
    };
    t.setField = [](CObjBase& o, int key, const MrkValue& v) {
      if (key == 160) static_cast<FakePicture&>(o).size = v.i;
    };
    t.readEmbedded = [](CObjBase& o, int, std::string_view content, std::size_t pos) -> std::size_t {
      auto& p = static_cast<FakePicture&>(o);
      p.bytes.assign(content.substr(pos, static_cast<std::size_t>(p.size)));
      return static_cast<std::size_t>(p.size);
    };
    t.finishRead = [](CObjElement& element, std::unique_ptr<CObjBase> o, int) {
      element.AttachObject(o.release(), static_cast<int>(sizeof(FakePicture)), CDoubleRect());
    };
    return t;
  }();
  return ops;
}

class EmbeddedBytes : public ::testing::Test {
 protected:
  void SetUp() override { RegisterObjTypeOps(ObjClassId::Image, &FakePictureOps()); }
  void TearDown() override { RegisterObjTypeOps(ObjClassId::Image, nullptr); }
};

TEST_F(EmbeddedBytes, PictureBytesSurviveARoundTripAndNeverReadPastTheFile) {
  // Bytes that look like line ends, key lines and markers pass untouched.
  const std::string payload = std::string("\r\n202;x\r\nCLASS_END\n\0;\xff\xd8", 24) + "\xb6\xd4\xcf\xf3\xbd\xe1\xca\xf8:";
  CObjPtrArray objects;
  objects.Add(Poly("before", OBJ_POLYLINE, 3, 0, 0));
  auto* picture = new FakePicture;
  picture->bytes = payload;
  objects.Add(Element("Picture-1", OBJ_PICTURE, picture, static_cast<int>(sizeof(FakePicture))));
  objects[1]->queryKey = 3;  // pictures do not store it
  objects.Add(Poly("after", OBJ_POLYLINE, 3, 0, 0));
  const std::string text = FormatMrkFile(objects, "/some/project.mrk");

  CObjPtrArray reread;
  ASSERT_EQ(ReadMrkBytes(text, reread), 1);
  ASSERT_EQ(reread.GetSize(), 3);
  ASSERT_NE(reread[1]->GetObjectAs<FakePicture>(), nullptr);
  EXPECT_EQ(reread[1]->GetObjectAs<FakePicture>()->bytes, payload);
  EXPECT_EQ(reread[1]->queryKey, 0);
  EXPECT_EQ(FormatMrkFile(reread, "/some/project.mrk"), text);

  // A size larger than the file: the picture gets what is there and the
  // reading ends cleanly with the elements before it.
  std::string bigger = text;
  bigger.replace(text.find("160;size\r\n") + 10, std::to_string(payload.size()).size(), "99999");
  CObjPtrArray cut;
  EXPECT_EQ(ReadMrkBytes(bigger, cut), 1);
  EXPECT_EQ(cut.GetSize(), 1);
}

}  // namespace
