// The text's class block of the project file: its common keys (shared with
// the special texts) in a fixed order, then its length and its text.
#include <cmath>

#include "document/mrk/MrkKeys.h"
#include "document/mrk/MrkLineWriter.h"
#include "text/objects/CObjText.h"

namespace {

// Key lines, labels in code page 936.
constexpr char kKeyX[] = "10;ltx";
constexpr char kKeyY[] = "20;lty";
constexpr char kKeyAspect[] = "50;\xbf\xed\xb8\xdf\xb1\xc8";                            // 宽高比
constexpr char kKeyHeightRatio[] = "51;\xb8\xdf\xb6\xc8\xb1\xc8\xc0\xfd";              // 高度比例
constexpr char kKeyLeft[] = "55;left";
constexpr char kKeyTop[] = "56;top";
constexpr char kKeyRight[] = "57;right";
constexpr char kKeyBottom[] = "58;bottom";
constexpr char kKeyFixedCorner[] = "100;\xc4\xc7\xd2\xbb\xb8\xf6\xce\xbb\xd6\xc3\xb9\xcc\xb6\xa8";  // 那一个位置固定
constexpr char kKeyAlignment[] = "101;\xce\xc4\xd7\xd6\xb6\xd4\xc6\xeb\xb7\xbd\xca\xbd";           // 文字对齐方式
constexpr char kKeyStar[] = "102;\xb1\xea\xbc\xc7\xd0\xc7\xba\xc5";                                 // 标记星号
constexpr char kKeyArcArrangement[] = "103;\xb6\xa8\xd4\xb2\xbb\xa1\xc5\xc5\xc1\xd0";             // 定圆弧排列
constexpr char kKeyDotKind[] = "104;\xb5\xe3\xc4\xa3\xca\xbd";                                      // 点模式
constexpr char kKeyLineSpacing[] = "60;\xd0\xd0\xbe\xe0";                                           // 行距
constexpr char kKeyCharSpacing[] = "61;\xd7\xd6\xb7\xfb\xbc\xe4\xbe\xe0";                           // 字符间距
constexpr char kKeyArcRadius[] =
    "62;\xd7\xd6\xb7\xfb\xc7\xfa\xcf\xdf\xc5\xc5\xc1\xd0\xca\xb1\xb5\xc4\xb0\xeb\xbe\xb6";          // 字符曲线排列时的半径
constexpr char kKeyCharHeight[] = "63;\xd7\xd6\xb8\xdf";                                            // 字高
constexpr char kKeySlant[] = "64;\xc7\xe3\xd0\xb1\xbd\xc7\xb6\xc8";                                 // 倾斜角度
constexpr char kKeyRotation[] = "65;\xd0\xfd\xd7\xaa\xbd\xc7\xb6\xc8";                              // 旋转角度
constexpr char kKeyDeflection[] = "66;\xc6\xab\xd7\xaa\xbd\xc7\xb6\xc8";                            // 偏转角度
constexpr char kKeyOffsetX2[] = "67;OffsetX2";
constexpr char kKeyOffsetY2[] = "68;OffsetY2";
constexpr char kKeyFixedWidth[] = "69;W";
constexpr char kKeyArcSize[] = "70;arcsize";
constexpr char kKeyStrokeFonts[] = "230;shx\xce\xc4\xbc\xfe\xc3\xfb\xb3\xc6";                      // shx文件名称
constexpr char kKeyDotFont[] = "232;dot\xce\xc4\xbc\xfe\xc3\xfb\xb3\xc6";                           // dot文件名称
constexpr char kKeyLfHeight[] = "170;lfHeight";
constexpr char kKeyLfWidth[] = "171;lfWidth";
constexpr char kKeyLfEscapement[] = "172;lfEscapement";
constexpr char kKeyLfOrientation[] = "173;lfOrientation";
constexpr char kKeyLfWeight[] = "174;lfWeight";
constexpr char kKeyFlags[] = "190;\xd7\xd6\xcc\xe5\xb1\xea\xd6\xbe\xd7\xd6\xb7\xfb";               // 字体标志字符
constexpr char kKeyLfItalic[] = "191;lfItalic";
constexpr char kKeyLfUnderline[] = "192;lfUnderline";
constexpr char kKeyLfStrikeOut[] = "193;lfStrikeOut";
constexpr char kKeyLfCharSet[] = "194;lfCharSet";
constexpr char kKeyLfOutPrecision[] = "195;lfOutPrecision";
constexpr char kKeyLfClipPrecision[] = "196;lfClipPrecision";
constexpr char kKeyLfQuality[] = "197;lfQuality";
constexpr char kKeyLfPitchAndFamily[] = "198;lfPitchAndFamily";
constexpr char kKeyFaceName[] = "231;lfFaceName";
constexpr char kKeyLength[] = "180;\xd7\xd6\xb7\xfb\xb8\xf6\xca\xfd";                               // 字符个数
constexpr char kKeyText[] = "235;\xb1\xea\xbc\xc7\xd7\xd6\xb7\xfb\xca\xfd\xbe\xdd";                 // 标记字符数据

// A name field held a fixed number of bytes: a longer name from a file is
// cut, on a character boundary.
std::string CutName(const std::string& value, std::size_t most) {
  std::size_t i = 0;
  while (i < value.size()) {
    const auto c = static_cast<unsigned char>(value[i]);
    const std::size_t width = c >= 0x81 && c <= 0xFE && i + 1 < value.size() ? 2 : 1;
    if (i + width > most) break;
    i += width;
  }
  return value.substr(0, i);
}

}  // namespace

void CObjText::WriteCommonKeys(MrkLineWriter& out) const {
  const CDoubleRect r = GetSavedBounds();
  out.WriteDouble(kKeyX, s_.position.x, 6);
  out.WriteDouble(kKeyY, s_.position.y, 6);
  out.WriteDouble(kKeyAspect, s_.aspectRatio, 6);
  out.WriteDouble(kKeyHeightRatio, s_.heightRatio, 6);
  out.WriteDouble(kKeyLeft, r.left, 6);
  out.WriteDouble(kKeyTop, r.top, 6);
  out.WriteDouble(kKeyRight, r.right, 6);
  out.WriteDouble(kKeyBottom, r.bottom, 6);
  out.WriteInt(kKeyFixedCorner, s_.fixedCorner);
  out.WriteInt(kKeyAlignment, s_.alignment);
  out.WriteInt(kKeyStar, s_.starMode);
  out.WriteInt(kKeyArcArrangement, s_.arcArrangement);
  out.WriteInt(kKeyDotKind, s_.dotKind);
  out.WriteDouble(kKeyLineSpacing, s_.lineSpacing, 6);
  out.WriteDouble(kKeyCharSpacing, s_.charSpacing, 6);
  out.WriteDouble(kKeyArcRadius, s_.arcRadius, 6);
  out.WriteDouble(kKeyCharHeight, s_.charHeight, 6);
  out.WriteDouble(kKeySlant, s_.slant, 6);
  out.WriteDouble(kKeyRotation, s_.rotation, 6);
  out.WriteDouble(kKeyDeflection, s_.deflection, 6);
  out.WriteDouble(kKeyOffsetX2, s_.offsetX2, 6);
  out.WriteDouble(kKeyOffsetY2, s_.offsetY2, 6);
  out.WriteDouble(kKeyFixedWidth, s_.fixedCharWidth, 6);
  out.WriteDouble(kKeyArcSize, s_.arcSize, 6);
  out.WriteText(kKeyStrokeFonts, s_.strokeFontPair);
  out.WriteText(kKeyDotFont, s_.dotFontFile);
  out.WriteInt(kKeyLfHeight, s_.font.height);
  out.WriteInt(kKeyLfWidth, s_.font.width);
  out.WriteInt(kKeyLfEscapement, s_.font.escapement);
  out.WriteInt(kKeyLfOrientation, s_.font.orientation);
  out.WriteInt(kKeyLfWeight, s_.font.weight);
  out.WriteInt(kKeyFlags, s_.flags);
  out.WriteInt(kKeyLfItalic, s_.font.italic);
  out.WriteInt(kKeyLfUnderline, s_.font.underline);
  out.WriteInt(kKeyLfStrikeOut, s_.font.strikeOut);
  out.WriteInt(kKeyLfCharSet, s_.font.charSet);
  out.WriteInt(kKeyLfOutPrecision, s_.font.outPrecision);
  out.WriteInt(kKeyLfClipPrecision, s_.font.clipPrecision);
  out.WriteInt(kKeyLfQuality, s_.font.quality);
  out.WriteInt(kKeyLfPitchAndFamily, s_.font.pitchAndFamily);
  out.WriteText(kKeyFaceName, s_.font.faceName);
}

void CObjText::Write(MrkLineWriter& out) const {
  out.WriteClassBegin("CObjText");
  WriteCommonKeys(out);
  out.WriteCountedText(kKeyLength, kKeyText, s_.text);
  out.WriteClassEnd();
}

void CObjText::SetProperty(int key, const MrkValue& v) {
  // Values that are not numbers would poison every point of the text.
  const bool d = std::isfinite(v.d);
  const bool f = std::isfinite(v.f);
  switch (key) {
    case 10: if (d) s_.position.x = v.d; break;
    case 20: if (d) s_.position.y = v.d; break;
    case 50: if (d) s_.aspectRatio = v.d; break;
    case 51: if (d) s_.heightRatio = v.d; break;
    case 60: if (f) s_.lineSpacing = v.f; break;
    case 61: if (f) s_.charSpacing = v.f; break;
    case 62: if (f) s_.arcRadius = v.f; break;
    case 63: if (f) s_.charHeight = v.f; break;
    case 64: if (f) s_.slant = v.f; break;
    case 65: if (f) s_.rotation = v.f; break;
    case 66: if (f) s_.deflection = v.f; break;
    case 67: if (f) s_.offsetX2 = v.f; break;
    case 68: if (f) s_.offsetY2 = v.f; break;
    case 69: if (f) s_.fixedCharWidth = v.f; break;
    case 70: if (f) s_.arcSize = v.f; break;
    case 100: s_.fixedCorner = v.i; break;
    case 101: s_.alignment = v.i; break;
    case 102: s_.starMode = v.i; break;
    case 103: s_.arcArrangement = v.i; break;
    case 104: s_.dotKind = v.i; break;
    case 170: s_.font.height = v.i; break;
    case 171: s_.font.width = v.i; break;
    case 172: s_.font.escapement = v.i; break;
    case 173: s_.font.orientation = v.i; break;
    case 174: s_.font.weight = v.i; break;
    case 190: s_.flags = v.b; break;
    case 191: s_.font.italic = v.b; break;
    case 192: s_.font.underline = v.b; break;
    case 193: s_.font.strikeOut = v.b; break;
    case 194: s_.font.charSet = v.b; break;
    case 195: s_.font.outPrecision = v.b; break;
    case 196: s_.font.clipPrecision = v.b; break;
    case 197: s_.font.quality = v.b; break;
    case 198: s_.font.pitchAndFamily = v.b; break;
    default: break;
  }
}

void CObjText::SetStringProperty(int key, const std::string& value) {
  switch (key) {
    case 230: s_.strokeFontPair = CutName(value, kTextFontNameMax); break;
    case 231: s_.font.faceName = CutName(value, kTextFaceNameMax); break;
    case 232: s_.dotFontFile = CutName(value, kTextFontNameMax); break;
    case 235: s_.text = value; break;
    default: break;
  }
}
