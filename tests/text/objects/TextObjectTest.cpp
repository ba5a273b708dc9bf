// The text object: defaults, its project-file keys (the fixtures' texts come
// back byte for byte, with or without the fonts they name), duplication,
// rotation, resizing and the element's dispatch.
#include <gtest/gtest.h>

#include <cmath>

#include "document/doc/CObjPtrArray.h"
#include "document/mrk/MrkFile.h"
#include "document/mrk/MrkKeys.h"
#include "document/mrk/MrkLineWriter.h"
#include "tests/document/mrk/MrkTestSupport.h"
#include "tests/text/layout/TextTestSupport.h"

namespace {

constexpr char kNameKey[] = "201;\xb6\xd4\xcf\xf3\xc3\xfb\xb3\xc6";  // 201;对象名称

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

const CObjText* TextOf(const CObjElement* e) { return e ? e->GetObjectAs<CObjText>() : nullptr; }

struct Fixture {
  const char* file;
  const char* textName;
  bool lfOnly;
  bool drawnWithTestFont;  // its text and font pair are in the test font
};

class FixtureTexts : public ::testing::TestWithParam<Fixture> {};

// With no fonts, and with a stroke font that draws the text differently from
// the machine that saved it, the text's block is saved as it was read.
TEST_P(FixtureTexts, LoadIntoTextObjectsAndSaveBackTheSameBytes) {
  const Fixture& f = GetParam();
  const std::string fixture = ReadBytes(FixturePath(f.file));
  const std::string expected = f.lfOnly ? WithCrLf(ClassBlockOf(fixture, f.textName, "\n"))
                                        : ClassBlockOf(fixture, f.textName);
  for (bool withFont : {false, true}) {
    SCOPED_TRACE(withFont ? "with font" : "without font");
    TextRig rig;
    if (withFont) {
      const Bytes glyph = {2, 0x44, 1, 0x4C, 0x30, 2, 0x10, 0};
      std::vector<TestGlyph> glyphs;
      for (char c = 'A'; c <= 'Z'; ++c) glyphs.push_back({static_cast<std::uint16_t>(c), glyph});
      rig.Folder().AddFont("KELTXT2.SHX", Shapes86Font(glyphs));
    }
    CObjPtrArray objects;
    ASSERT_EQ(ReadMrkBytes(fixture, objects), 1);
    const CObjElement* element = nullptr;
    for (const CObjElement* e : objects) {
      if (e->name == f.textName) element = e;
    }
    ASSERT_NE(element, nullptr);
    const CObjText* text = TextOf(element);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(withFont && f.drawnWithTestFont, text->GetPathData().GetGroupCount() > 0);
    const std::string saved = FormatMrkFile(objects, "");
    EXPECT_EQ(ClassBlockOf(saved, f.textName), expected);
    CObjPtrArray reread;
    ASSERT_EQ(ReadMrkBytes(saved, reread), 1);
    EXPECT_EQ(FormatMrkFile(reread, ""), saved);
  }
}

INSTANTIATE_TEST_SUITE_P(Projects, FixtureTexts,
                         ::testing::Values(Fixture{"unbuilt2008.mrk", "\xce\xc4\xb1\xbe-1", false, true},
                                           Fixture{"layout2008.mrk", "\xce\xc4\xb1\xbe-1", false, false},
                                           Fixture{"unbuilt2004.mrk", "Text-old", true, false}));

// A project holding a text shows it: the element draws the text's strokes,
// and a dot text its dots.
TEST(TextObject, ALoadedTextDrawsThroughItsElement) {
  TextRig rig;
  platform::RecordingDeviceContext dc;
  const platform::DcPen marked{};
  auto linesDrawn = [&dc] {
    int lines = 0;
    for (const auto& op : dc.Ops()) lines += op.kind == platform::DcOp::LineTo;
    return lines;
  };
  for (bool withFont : {false, true}) {
    if (withFont) {
      const Bytes glyph = {2, 0x44, 1, 0x4C, 0x30, 2, 0x10, 0};
      rig.Folder().AddFont("KelTxt2.shx", Shapes86Font({{'A', glyph}, {'B', glyph}, {'C', glyph}}));
    }
    CObjPtrArray objects;
    ASSERT_EQ(ReadMrkFile(FixturePath("unbuilt2008.mrk"), objects), 1);
    dc.Clear();
    objects[1]->Draw(dc, 0, 0, 1.0, marked, marked, CDoublePoint());
    EXPECT_EQ(linesDrawn() > 0, withFont);
  }

  rig.Folder().AddFont("Dot5x7Font.dot", DotFontBytes({{'L', {{0, 0}, {0, 1}, {1, 0}}}}));
  rig.S().flags = TEXT_DOT_FONT;
  rig.S().dotKind = DOT_KIND_DOT_FONT;
  rig.Layout("L");
  dc.Clear();
  rig.Element().Draw(dc, 0, 0, 1.0, marked, marked, CDoublePoint());
  int dots = 0;
  for (const auto& op : dc.Ops()) dots += op.kind == platform::DcOp::Ellipse || op.kind == platform::DcOp::SetPixel;
  EXPECT_GT(dots, 0);
  EXPECT_EQ(linesDrawn(), 0);
}

TEST(TextObject, LoadedFieldsComeFromTheirKeys) {
  TextRig rig;
  CObjPtrArray objects;
  ASSERT_EQ(ReadMrkFile(FixturePath("unbuilt2008.mrk"), objects), 1);
  const CObjText* text = TextOf(objects[1]);
  ASSERT_NE(text, nullptr);
  const TextSettings& s = text->Settings();
  EXPECT_EQ(s.text, "ABC\xd6\xd0\xce\xc4");
  EXPECT_EQ(s.strokeFontPair, "KelTxt2+Xc18");
  EXPECT_EQ(s.dotFontFile, "Dot5x7Font.dot");
  EXPECT_EQ(s.font.faceName, "\xcb\xce\xcc\xe5");  // 宋体
  EXPECT_EQ(s.font.height, -20);
  EXPECT_EQ(s.font.charSet, 134);
  EXPECT_FLOAT_EQ(s.charSpacing, 0.5f);
  EXPECT_DOUBLE_EQ(s.position.x, 1.5);
  EXPECT_EQ(s.fixedCorner, 6);
  // Without fonts the element keeps the saved rectangle for selecting and drawing.
  EXPECT_EQ(objects[1]->boundRect, CDoubleRect(1.5, 9.0, 20.5, 3.0));
  // A setting changed is saved, with the rectangle it was read with.
  objects[1]->GetObjectAs<CObjText>()->Settings().charSpacing = 1.25f;
  const std::string saved = FormatMrkFile(objects, "");
  EXPECT_NE(saved.find("\r\n1.250000\r\n"), std::string::npos);
  EXPECT_NE(saved.find("57;right\r\n20.500000\r\n"), std::string::npos);

  // A text longer than any writer puts on a line (its layout would make
  // hundreds of points a byte) is taken as far as a written one goes, cut
  // between characters; the block itself is saved back as it was read.
  std::string damaged = ReadBytes(FixturePath("unbuilt2008.mrk"));
  std::string longText = "A";
  for (int i = 0; i < 20000; ++i) longText += "\xd6\xd0";  // 中
  damaged.replace(damaged.find("ABC\xd6\xd0\xce\xc4"), 7, longText);
  CObjPtrArray cut;
  ASSERT_EQ(ReadMrkBytes(damaged, cut), 1);
  ASSERT_NE(TextOf(cut[1]), nullptr);
  EXPECT_EQ(TextOf(cut[1])->Settings().text, longText.substr(0, 253));
  EXPECT_NE(FormatMrkFile(cut, "").find(longText), std::string::npos);
}

TEST(TextObject, NewTextsTakeTheDefaultFontsAndLoadedOnesWhatTheKeysSay) {
  const CObjText made(TextCreateRecord{CDoublePoint(3, 4), "A"});
  EXPECT_EQ(made.Settings().strokeFontPair, "KelTxt2+Xc18");
  EXPECT_EQ(made.Settings().dotFontFile, "Dot5x7Font.dot");
  EXPECT_FLOAT_EQ(made.Settings().charHeight, 5);
  EXPECT_FLOAT_EQ(made.Settings().lineSpacing, 5);
  EXPECT_EQ(made.Settings().fixedCorner, 6);
  EXPECT_EQ(made.Settings().dotKind, 1);
  EXPECT_EQ(made.Settings().font.faceName, "Arial");
  EXPECT_DOUBLE_EQ(made.Settings().anchor.x, 3);
  const CObjText loaded;
  EXPECT_TRUE(loaded.Settings().strokeFontPair.empty());
  EXPECT_TRUE(loaded.Settings().dotFontFile.empty());
}

// A block of a text with every field off its default, written, read and
// written again.
TEST(TextObject, KeysRoundTripAndTheLastOfARepeatedKeyWins) {
  TextRig rig;
  CObjText& t = rig.Text();
  TextSettings& s = rig.S();
  s.aspectRatio = 1.25;
  s.heightRatio = 0.75;
  s.fixedCorner = 3;
  s.alignment = 1;
  s.starMode = 2;
  s.arcArrangement = 1;
  s.dotKind = 4;
  s.lineSpacing = 2.5f;
  s.charSpacing = -0.25f;
  s.slant = 12;
  s.rotation = 30;
  s.deflection = 45;
  s.offsetX2 = 1;
  s.offsetY2 = -1;
  s.fixedCharWidth = 3;
  s.font.weight = 700;
  s.font.italic = 1;
  s.font.faceName = "DejaVu Sans";
  s.flags = TEXT_MIRROR_X;
  rig.Layout("LL");
  std::string block;
  MrkLineWriter out(block);
  t.Write(out);
  CObjText back;
  // Feed the block back the way the reader parses it.
  std::size_t at = block.find("\r\n") + 2;
  at = block.find("\r\n", at) + 2;  // past the class name pair
  while (at < block.size()) {
    const std::size_t keyEnd = block.find("\r\n", at);
    const std::size_t valueEnd = block.find("\r\n", keyEnd + 2);
    const std::string key = block.substr(at, keyEnd - at);
    const std::string value = block.substr(keyEnd + 2, valueEnd - keyEnd - 2);
    const int k = ParseMrkKey(key);
    if (MrkKeyKindOf(k) == MrkKeyKind::Text) {
      back.SetStringProperty(k, value);
    } else {
      back.SetProperty(k, MrkValue::Parse(k, value));
    }
    at = valueEnd + 2;
  }
  back.KeepSaved(t.GetSavedBounds());
  std::string again;
  MrkLineWriter out2(again);
  back.Write(out2);
  EXPECT_EQ(again, block);
  back.SetProperty(66, MrkValue::OfFloat(10));
  back.SetProperty(66, MrkValue::OfFloat(20));
  EXPECT_FLOAT_EQ(back.Settings().deflection, 20);
  // Names longer than their fields are cut, double-byte characters kept whole.
  back.SetStringProperty(231, std::string(30, 'x') + "\xcb\xce\xcc\xe5");
  EXPECT_EQ(back.Settings().font.faceName, std::string(30, 'x'));
}

TEST(TextObject, ADuplicateKeepsItsDotKindAndItsGeometry) {
  TextRig rig;
  rig.S().dotKind = 3;
  rig.Layout("LL");
  rig.Element().UpdateBoundRect();
  CObjElement copy;
  copy.CopyFrom(rig.Element());
  const CObjText* dup = TextOf(&copy);
  ASSERT_NE(dup, nullptr);
  EXPECT_EQ(dup->Settings().dotKind, 3);
  EXPECT_EQ(dup->GetPathData().GetGroupCount(), 2);
  EXPECT_EQ(copy.boundRect, rig.Element().boundRect);
}

TEST(TextObject, RotationStaysWithinOneTurn) {
  struct Case {
    float start;
    double turn;
    float expected;
  };
  for (const Case& c : {Case{350, 20, 10}, Case{-350, -20, -10}, Case{10, 30, 40}}) {
    TextRig rig;
    rig.S().rotation = c.start;
    rig.Layout("L");
    rig.Element().Rotate(CDoublePoint(0, 0), c.turn * 0.0174532);
    EXPECT_NEAR(rig.S().rotation, c.expected, 1e-3) << c.start;
  }
}

TEST(TextObject, RotatingKeepsTheFirstPointWhereTheTurnTakesIt) {
  TextRig rig;
  rig.Layout("LL");
  const CDoublePoint first = rig.Points()[0];
  rig.Element().Rotate(CDoublePoint(0, 0), 90 * 0.0174532);
  const double c = std::cos(90 * 0.0174532);
  const double s = std::sin(90 * 0.0174532);
  EXPECT_NEAR(rig.Points()[0].x, c * first.x - s * first.y, 1e-6);
  EXPECT_NEAR(rig.Points()[0].y, s * first.x + c * first.y, 1e-6);
}

TEST(TextObject, ResizeScalesTheTextOrOnlyMovesATinyOne) {
  TextRig rig;
  rig.Layout("LL");  // bounds 10..18 x 22..26
  CDoubleRect oldRect = rig.Text().GetPathData().GetBoundRect();
  CDoubleRect newRect(10, 30, 26, 22);  // right-top handle: twice as wide and tall
  rig.Text().ResizeToRect(oldRect, newRect, 2);
  EXPECT_FLOAT_EQ(rig.S().charHeight, 56);
  EXPECT_EQ(newRect, CDoubleRect(10, 30, 26, 22));
  EXPECT_DOUBLE_EQ(rig.S().resizeAlong, 2);

  TextRig tiny;
  tiny.Layout("I");  // no width: a side handle can only move it
  CDoubleRect o = tiny.Text().GetPathData().GetBoundRect();
  CDoubleRect n(o.left + 1, o.top, o.right + 3, o.bottom);
  tiny.Text().ResizeToRect(o, n, 3);
  EXPECT_FLOAT_EQ(tiny.S().charHeight, 28);
  EXPECT_NEAR(tiny.S().position.x, 12, 1e-9);

  TextRig empty;  // a fixed width and no text: nothing to share the width among
  empty.S().fixedCharWidth = 2;
  empty.Layout("");
  CDoubleRect eo(0, 1, 1, 0);
  CDoubleRect en(0, 2, 2, 0);
  empty.Text().ResizeToRect(eo, en, 2);
  EXPECT_FLOAT_EQ(empty.S().fixedCharWidth, 2);
}

TEST(TextObject, ResizingATextOnAnArcKeepsItsProportions) {
  struct Case {
    int handle;
    CDoubleRect to;  // from (0, 10, 10, 0)
    double radiusFactor;
    CDoubleRect corrected;
  };
  const Case cases[] = {
      {2, CDoubleRect(0, 20, 20, 0), 2, CDoubleRect(0, 20, 20, 0)},   // corner, even: both follow
      {2, CDoubleRect(0, 12, 20, 0), 2, CDoubleRect(0, 20, 20, 0)},   // wider: the height follows
      {6, CDoubleRect(8, 10, 10, -20), 3, CDoubleRect(-20, 10, 10, -20)},  // taller: the width follows
      {1, CDoubleRect(0, 15, 10, 0), 1.5, CDoubleRect(-5, 15, 10, 0)},
      {3, CDoubleRect(0, 10, 5, 0), 0.5, CDoubleRect(0, 5, 5, 0)},
  };
  for (const Case& c : cases) {
    TextRig rig;
    rig.S().arcRadius = 10;
    CDoubleRect oldRect(0, 10, 10, 0);
    CDoubleRect newRect = c.to;
    rig.Text().ResizeToRect(oldRect, newRect, c.handle);
    EXPECT_NEAR(rig.S().arcRadius, 10 * c.radiusFactor, 1e-5) << c.handle;
  }
}

TEST(TextObject, ChangingTheTextKeepsTheFixedCorner) {
  TextRig rig;
  rig.Layout("LL");
  const CDoubleRect before = rig.Text().GetPathData().GetBoundRect();
  rig.Text().SetText("L", rig.Text().GetFixedPoint(before), true);
  const CDoubleRect after = rig.Text().GetPathData().GetBoundRect();
  EXPECT_DOUBLE_EQ(after.left, before.left);
  EXPECT_DOUBLE_EQ(after.bottom, before.bottom);
  // Moved, it writes its own bounds again.
  rig.Element().MoveBy(1, 0);
  EXPECT_DOUBLE_EQ(rig.Text().GetSavedBounds().left, before.left + 1);
}

TEST(TextObject, ArcBorderClosesAroundTheText) {
  TextRig rig;
  rig.S().arcRadius = 20;
  rig.S().arcSize = 90;
  rig.S().deflection = 90;
  rig.S().charHeight = 5;
  CPointList border;
  rig.Text().GetArcBorderPath(border);
  ASSERT_GT(border.GetSize(), 4);
  EXPECT_EQ(border[0].flag, 0);
  const CDoublePoint last = border[border.GetSize() - 1];
  EXPECT_DOUBLE_EQ(last.x, border[0].x);
  EXPECT_DOUBLE_EQ(last.y, border[0].y);
  for (int i = 0; i < border.GetSize(); ++i) {
    const double r = std::hypot(border[i].x - 10, border[i].y - 50);
    EXPECT_TRUE(std::fabs(r - 20) < 1e-6 || std::fabs(r - 25) < 1e-6) << i;
  }
  // The marking controller asks the element for it.
  CPointList viaElement;
  rig.Element().GetTextArcBorder(viaElement);
  EXPECT_EQ(viaElement.GetSize(), border.GetSize());
  rig.S().arcRadius = 2;
  rig.Text().GetArcBorderPath(border);
  EXPECT_EQ(border.GetSize(), 0);
}

}  // namespace
