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
#include "document/objects/CObjElement.h"
#include "document/objects/CObjLine.h"
#include "document/objects/CObjPolyLine.h"
#include "document/params/CDrawProperity.h"
#include "tests/document/mrk/MrkTestSupport.h"

namespace {

constexpr char kNotProject[] = "Open file error，Data is destroyed!\nOperation is terminated!";

const CObjPolyLine* PolyOf(const CObjElement* e) { return e ? e->GetObjectAs<CObjPolyLine>() : nullptr; }
const CObjLine* LineOf(const CObjElement* e) { return e ? e->GetObjectAs<CObjLine>() : nullptr; }

std::unique_ptr<CObjElement> MakeRecordElement() {
  auto* record = new CDrawProperity();
  return std::make_unique<CObjElement>(
      CObjCreateRecord{"", OBJ_PROPERITY, record, static_cast<int>(sizeof(CDrawProperity)), {}});
}

std::unique_ptr<CObjElement> MakePolyElement(const std::string& name, int type, int n, int closed, int imported) {
  CPointList list;
  for (int i = 0; i < n; ++i) list.Add(CDoublePoint(i * 0.5, (i % 7) * 1.25, i % 5 == 0 ? 0 : 1));
  auto* poly = new CObjPolyLine(list, closed, imported);
  auto e = std::make_unique<CObjElement>(
      CObjCreateRecord{name, type, poly, static_cast<int>(sizeof(CObjPolyLine)), {}});
  e->RefreshTypeObject();
  e->UpdateBoundRect();
  return e;
}

// A layout of every built class with fields off their defaults.
void BuildLayout(CObjPtrArray& objects) {
  objects.Add(MakeRecordElement());
  auto line = std::make_unique<CObjElement>(CObjCreateRecord{
      "\xd6\xb1\xcf\xdf-1", OBJ_LINE, new CObjLine(CDoublePoint(1, 2, 0), CDoublePoint(-3.25, 4.5, 1)),
      static_cast<int>(sizeof(CObjLine)), {}});
  line->layer = 3;
  line->lock = 1;
  line->id = 17;
  line->queryKey = 2;
  line->dataSource = 1;
  line->excelColumn = 5;
  line->penDownDelay = 11;
  line->penChangeDelay = 12;
  line->objectEndDelay = 13;
  line->markCount = 4;
  line->color = 0x00FF00;
  line->attribute = 0xE5;  // meaningless bits kept as read
  line->rotation = 12.5f;
  line->emptySpeed = 1.125f;
  line->lineSpeed = 2.5f;
  line->UpdateBoundRect();
  objects.Add(std::move(line));
  auto poly = MakePolyElement("Poly-1", OBJ_POLYLINE, 9, 1, 0);
  poly->fillAngle = 45;
  poly->fillSpacing = 0.5f;
  poly->SetFillOn(1);
  objects.Add(std::move(poly));
  objects.Add(MakePolyElement("Rect-1", OBJ_RECTANGLE, 4, 1, 0));
  objects.Add(MakePolyElement("DXF-1", OBJ_DXF, 20, 0, 1));
}

TEST(MrkFile, Version2008FixtureLoadsEveryKeyedField) {
  auto prompt = RecordPrompts();
  CObjPtrArray objects;
  ASSERT_EQ(ReadMrkFile(FixturePath("layout2008.mrk"), objects), 1);
  EXPECT_TRUE(prompt->Texts().empty());
  // The element after the file end marker is not read.
  ASSERT_EQ(objects.GetSize(), 7);

  const auto* record = objects[0]->GetObjectAs<CDrawProperity>();
  ASSERT_NE(record, nullptr);
  EXPECT_DOUBLE_EQ(record->GetRangeX(), 150);
  EXPECT_DOUBLE_EQ(record->GetRangeY(), 90);
  EXPECT_DOUBLE_EQ(record->GetStepLengthX(), 4.5);
  EXPECT_DOUBLE_EQ(record->GetStepLengthY(), 5.0);
  EXPECT_DOUBLE_EQ(record->GetTransmissionCorrection(), 0.25);
  EXPECT_DOUBLE_EQ(record->GetResetPath(1).y, 8);
  EXPECT_EQ(record->GetMicrostepExponent(), 5);
  EXPECT_EQ(record->GetAcceleration(), 600);
  // Speeds come from the machine, not from the file; pen-up 2 is raised to pen-up.
  EXPECT_DOUBLE_EQ(record->GetPenUpSpeed(), 32);
  EXPECT_DOUBLE_EQ(record->GetPenUpSpeed2(), 100);

  const CObjElement* line = objects[1];
  EXPECT_EQ(line->name, "\xd6\xb1\xcf\xdf-1");
  EXPECT_EQ(line->type, OBJ_LINE);
  EXPECT_EQ(line->color, 255);
  EXPECT_EQ(line->layer, 2);
  EXPECT_EQ(line->lock, 1);
  EXPECT_EQ(line->markCount, 3);
  EXPECT_EQ(line->objectEndDelay, 7);
  ASSERT_NE(LineOf(line), nullptr);
  EXPECT_EQ(line->boundRect, CDoubleRect(1, 2, 31, 2));
  EXPECT_EQ(LineOf(line)->GetPathData().points[1].flag, 1);

  const CObjElement* poly = objects[2];
  ASSERT_NE(PolyOf(poly), nullptr);
  EXPECT_EQ(PolyOf(poly)->GetVertexCount(), 4);  // the closing vertex is stored, not added again
  EXPECT_TRUE(poly->IsFillOn());
  EXPECT_FLOAT_EQ(poly->fillAngle, 45);
  EXPECT_FLOAT_EQ(poly->rotation, 30);
  EXPECT_GT(PolyOf(poly)->GetPathData().GetGroupCount(), 0);

  const CObjPolyLine* hpgl = PolyOf(objects[3]);
  ASSERT_NE(hpgl, nullptr);
  EXPECT_TRUE(hpgl->IsImported());
  EXPECT_EQ(hpgl->GetPathData().GetGroupCount(), 1);

  // A reserved type code has no class: the element comes without object
  // and does not swallow the elements after it.
  EXPECT_EQ(objects[4]->type, 4);
  EXPECT_EQ(objects[4]->GetObject(), nullptr);

  // A text (its class is not part of this build): kept without object, its
  // layout rectangle taken, its class keys never landing on the element.
  const CObjElement* text = objects[5];
  EXPECT_EQ(text->type, OBJ_TEXT);
  EXPECT_EQ(text->GetObject(), nullptr);
  EXPECT_EQ(text->boundRect, CDoubleRect(1.5, 9.0, 20.5, 3.0));
  EXPECT_EQ(text->dataSource, 1);
  EXPECT_EQ(text->excelColumn, 4);
  EXPECT_EQ(text->attribute, 1);
  EXPECT_FLOAT_EQ(text->rotation, 0);

  EXPECT_EQ(objects[6]->name, "Line-2");  // English markers
  EXPECT_NE(LineOf(objects[6]), nullptr);
}

TEST(MrkFile, Version2004FixtureGetsTheOldFileCorrections) {
  CObjPtrArray objects;
  ASSERT_EQ(ReadMrkFile(FixturePath("layout2004.mrk"), objects), 1);
  ASSERT_EQ(objects.GetSize(), 4);
  // Colour switched: 0 gives 1, anything else 0.
  EXPECT_EQ(objects[0]->color, 1);
  EXPECT_EQ(objects[1]->color, 0);
  EXPECT_EQ(objects[3]->color, 0);

  // Old lines have no flags of their own: whatever came before the
  // coordinates, the start is a pen-up and the end joins it.
  const CObjLine* line = LineOf(objects[1]);
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(line->GetPathData().points[0].flag, 0);
  EXPECT_EQ(line->GetPathData().points[1].flag, 1);
  EXPECT_DOUBLE_EQ(line->GetPathData().points[1].y, 4);

  // The closing vertex old files lacked is added; the first vertex is a pen-up.
  const CObjPolyLine* poly = PolyOf(objects[2]);
  ASSERT_NE(poly, nullptr);
  ASSERT_EQ(poly->GetVertexCount(), 4);
  const CPointList& v = poly->GetPathData().points;
  EXPECT_EQ(v[0].flag, 0);
  EXPECT_EQ(v[1].flag, 1);
  EXPECT_DOUBLE_EQ(v[3].x, v[0].x);
  EXPECT_DOUBLE_EQ(v[3].y, v[0].y);
  EXPECT_EQ(v[3].flag & 1, 1);

  // Imported drawings get no closing vertex, but the pen-up all the same.
  const CObjPolyLine* hpgl = PolyOf(objects[3]);
  ASSERT_NE(hpgl, nullptr);
  EXPECT_EQ(hpgl->GetVertexCount(), 4);
  EXPECT_EQ(hpgl->GetPathData().points[0].flag, 0);

  // Written again, the layout is a Ver2008 file whose flags need no correction.
  const std::string again = FormatMrkFile(objects, "");
  CObjPtrArray reread;
  ASSERT_EQ(ReadMrkBytes(again, reread), 1);
  EXPECT_EQ(FormatMrkFile(reread, ""), again);
  EXPECT_EQ(PolyOf(reread[2])->GetVertexCount(), 4);
  EXPECT_EQ(reread[1]->color, 0);
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
  EXPECT_EQ(first, FormatMrkFile(objects, path));

  CObjPtrArray reread;
  ASSERT_EQ(ReadMrkFile(path, reread), 1);
  ASSERT_EQ(reread.GetSize(), objects.GetSize());
  for (int i = 0; i < objects.GetSize(); ++i) {
    EXPECT_EQ(reread[i]->type, objects[i]->type);
    EXPECT_EQ(reread[i]->name, objects[i]->name);
    EXPECT_EQ(reread[i]->boundRect, objects[i]->boundRect) << i;
  }
  EXPECT_EQ(reread[1]->attribute, 0xE5);
  EXPECT_EQ(reread[1]->queryKey, 2);
  EXPECT_FLOAT_EQ(reread[1]->lineSpeed, 2.5f);
  EXPECT_EQ(PolyOf(reread[2])->GetVertexCount(), 10);

  const std::string path2 = dir / "second.mrk";
  ASSERT_EQ(WriteMrkFile(path2, reread), 1);
  EXPECT_EQ(ReadBytes(path2), first);

  // Lines end in CR LF, every one of them; the header names the version we write.
  std::size_t lf = 0;
  for (std::size_t i = 0; i < first.size(); ++i) {
    if (first[i] == '\n') {
      ++lf;
      ASSERT_TRUE(i > 0 && first[i - 1] == '\r') << "bare LF at " << i;
    }
  }
  EXPECT_GT(lf, 100u);
  EXPECT_EQ(first.rfind("200;\xb1\xea\xcc\xe2\r\n", 0), 0u);
  EXPECT_NE(first.find("200;\xce\xc4\xbc\xfe\xb0\xe6\xb1\xbe\xba\xc5\r\nVer2008\r\n"), std::string::npos);
  EXPECT_TRUE(first.ends_with("250;\xce\xc4\xbc\xfe\xbd\xe1\xca\xf8\xb1\xea\xd6\xbe\r\n\xce\xc4\xbc\xfe\xbd\xe1\xca\xf8:\r\n"));
  // No temporary file is left beside the project.
  int entries = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.Path())) ++entries;
  EXPECT_EQ(entries, 2);  // the folder and second.mrk
}

TEST(MrkFile, ReadOnlyFilesLoadAndLfOnlyFilesReadAlike) {
  TempFolder dir;
  CObjPtrArray objects;
  BuildLayout(objects);
  const std::string text = FormatMrkFile(objects, "");
  const std::string path = dir / "locked.mrk";
  WriteBytes(path, text);
  ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
  CObjPtrArray reread;
  ASSERT_EQ(ReadMrkFile(path, reread), 1);
  EXPECT_EQ(reread.GetSize(), objects.GetSize());

  std::string lfOnly;
  for (char c : text) {
    if (c != '\r') lfOnly += c;
  }
  CObjPtrArray fromLf;
  ASSERT_EQ(ReadMrkBytes(lfOnly, fromLf), 1);
  EXPECT_EQ(FormatMrkFile(fromLf, ""), text);
}

TEST(MrkFile, WriteErrorsAreReportedAndLeaveTheOldFileWhole) {
  TempFolder dir;
  CObjPtrArray objects;
  BuildLayout(objects);
  const std::string blocker = dir / "plain-file";
  WriteBytes(blocker, "x");
  EXPECT_EQ(WriteMrkFile(blocker + "/inside.mrk", objects), 0);
  EXPECT_EQ(WriteMrkFile(dir / "missing/folder.mrk", objects), 0);
  EXPECT_EQ(WriteMrkFile("", objects), 0);
  // A folder in the way of the target: the write fails and the folder stays.
  const std::string folder = dir / "taken.mrk";
  std::filesystem::create_directory(folder);
  EXPECT_EQ(WriteMrkFile(folder, objects), 0);
  EXPECT_TRUE(std::filesystem::is_directory(folder));
  EXPECT_EQ(ReadBytes(blocker), "x");
}

TEST(MrkFile, ForeignFilesAreRefusedWithTheMessage) {
  TempFolder dir;
  const struct {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"empty", ""},
      {"key199", "199;\xb1\xea\xcc\xe2\r\nx\r\n200;a\r\nVer2008\r\n"},
      {"binary", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)},
      {"text", "hello\nworld\n"},
  };
  for (const auto& c : cases) {
    auto prompt = RecordPrompts();
    const std::string path = dir / c.name;
    WriteBytes(path, c.bytes);
    CObjPtrArray objects;
    EXPECT_EQ(ReadMrkFile(path, objects), 0) << c.name;
    EXPECT_EQ(objects.GetSize(), 0);
    const auto requests = prompt->Requests();
    ASSERT_EQ(requests.size(), 1u) << c.name;
    EXPECT_EQ(requests[0].text, kNotProject);
    EXPECT_EQ(requests[0].type & MB_ICONERROR, MB_ICONERROR);
  }
  // Missing files and files without a version pair give nothing, quietly.
  auto prompt = RecordPrompts();
  CObjPtrArray objects;
  EXPECT_EQ(ReadMrkFile(dir / "does-not-exist.mrk", objects), 1);
  EXPECT_EQ(ReadMrkFile(dir.Path().string(), objects), 1);
  EXPECT_EQ(ReadMrkBytes("200;t\r\nno version\r\n200;a\r\nb\r\n200;x\r\n\xb6\xd4\xcf\xf3\xbf\xaa\xca\xbc:\r\n", objects), 1);
  EXPECT_EQ(objects.GetSize(), 0);
  EXPECT_TRUE(prompt->Texts().empty());
}

TEST(MrkFile, FilesCutShortKeepOnlyCompleteElements) {
  CObjPtrArray objects;
  BuildLayout(objects);
  const std::string text = FormatMrkFile(objects, "");
  // Every cut length: the reader never reads past the bytes (the sanitizer
  // watches) and appends whole elements only, each sound enough to write.
  std::size_t lastCount = 0;
  for (std::size_t cut = 12; cut < text.size(); cut += 7) {
    CObjPtrArray part;
    ASSERT_EQ(ReadMrkBytes(std::string_view(text).substr(0, cut), part), 1);
    ASSERT_LE(part.GetSize(), objects.GetSize());
    ASSERT_GE(static_cast<std::size_t>(part.GetSize()), lastCount);
    lastCount = static_cast<std::size_t>(part.GetSize());
    for (int i = 0; i < part.GetSize(); ++i) ASSERT_EQ(part[i]->type, objects[i]->type);
    (void)FormatMrkFile(part, "");
  }
  EXPECT_EQ(lastCount, static_cast<std::size_t>(objects.GetSize()));
}

std::string PolyFile(const std::string& count, int triples) {
  std::string body = "200;h\r\nVer2008\r\n200;s\r\n\xb6\xd4\xcf\xf3\xbf\xaa\xca\xbc:\r\n160;t\r\n7\r\n202;c\r\nCObjPolyLine\r\n";
  body += "160;n\r\n" + count + "\r\n";
  for (int i = 0; i < triples; ++i) {
    body += "10;x\r\n" + std::to_string(i) + ".5\r\n20;y\r\n1e308\r\n102;f\r\n1\r\n";
  }
  body += "202;e\r\nCLASS_END\r\n200;e\r\n\xb6\xd4\xcf\xf3\xbd\xe1\xca\xf8:\r\n";
  return body;
}

TEST(MrkFile, HostileVertexCountsAllocateNothingAndReadOnlyWhatIsThere) {
  struct {
    const char* count;
    int triples;
    int expected;
  } cases[] = {
      {"-5", 3, 0},                    // refused: no vertex taken
      {"2147483647", 3, 3},            // huge: only the vertices present
      {"99999999999999999999", 2, 2},  // beyond int
      {"4294967295", 1, 1},            // -1 as unsigned
      {"2", 5, 2},                     // more vertices than announced
      {"abc", 2, 0},                   // not a number: 0
  };
  for (const auto& c : cases) {
    CObjPtrArray objects;
    ASSERT_EQ(ReadMrkBytes(PolyFile(c.count, c.triples), objects), 1);
    ASSERT_EQ(objects.GetSize(), 1) << c.count;
    const CObjPolyLine* poly = PolyOf(objects[0]);
    ASSERT_NE(poly, nullptr);
    EXPECT_EQ(poly->GetVertexCount(), c.expected) << c.count;
  }
  // The same with the file cut in the middle of the vertices.
  const std::string cut = PolyFile("1000000000", 50).substr(0, 900);
  CObjPtrArray objects;
  EXPECT_EQ(ReadMrkBytes(cut, objects), 1);
  EXPECT_EQ(objects.GetSize(), 0);
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
      const std::size_t n = p.size > 0 ? static_cast<std::size_t>(p.size) : 0;
      p.bytes.assign(content.substr(pos, n));
      return n;
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
  // Bytes that look like line ends, key lines and markers must pass untouched.
  const std::string payload = std::string("\r\n202;x\r\nCLASS_END\n\0;\xff\xd8", 24) + "\xb6\xd4\xcf\xf3\xbd\xe1\xca\xf8:";
  CObjPtrArray objects;
  objects.Add(MakeRecordElement());
  auto* picture = new FakePicture;
  picture->bytes = payload;
  objects.Add(std::make_unique<CObjElement>(
      CObjCreateRecord{"Picture-1", OBJ_PICTURE, picture, static_cast<int>(sizeof(FakePicture)), {}}));
  objects[1]->queryKey = 3;
  objects.Add(MakePolyElement("after", OBJ_POLYLINE, 3, 0, 0));
  const std::string text = FormatMrkFile(objects, "/some/project.mrk");
  // Pictures do not write the query key.
  int queryKeys = 0;
  for (std::size_t at = text.find("\n111;"); at != std::string::npos; at = text.find("\n111;", at + 1)) ++queryKeys;
  EXPECT_EQ(queryKeys, 2);

  CObjPtrArray reread;
  ASSERT_EQ(ReadMrkBytes(text, reread), 1);
  ASSERT_EQ(reread.GetSize(), 3);
  const auto* back = reread[1]->GetObjectAs<FakePicture>();
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->bytes, payload);
  EXPECT_EQ(reread[1]->queryKey, 0);
  EXPECT_EQ(PolyOf(reread[2])->GetVertexCount(), 3);
  EXPECT_EQ(FormatMrkFile(reread, "/some/project.mrk"), text);

  // A size larger than the file: the picture gets what is there and the
  // reading ends cleanly.
  std::string bigger = text;
  bigger.replace(text.find("160;size\r\n") + 10, std::to_string(payload.size()).size(), "99999");
  CObjPtrArray cut;
  EXPECT_EQ(ReadMrkBytes(bigger, cut), 1);
  EXPECT_EQ(cut.GetSize(), 1);
  // The data key elsewhere is a plain unknown line.
  CObjPtrArray stray;
  std::string strayText = text;
  strayText.insert(text.find("201;"), "330;raw\r\n");
  ASSERT_EQ(ReadMrkBytes(strayText, stray), 1);
  EXPECT_EQ(stray.GetSize(), 3);
}

}  // namespace
