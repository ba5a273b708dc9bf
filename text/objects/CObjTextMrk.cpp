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

// The common keys in file order with the setting each holds: the writer
// writes them in this order and the reader finds a key's setting here. The
// saved bounds are written for older readers only; a file's are not taken.
template <class Settings, class Bounds, class Visit>
void VisitCommonKeys(Settings& s, Bounds* savedBounds, Visit&& key) {
  key(kKeyX, s.position.x);
  key(kKeyY, s.position.y);
  key(kKeyAspect, s.aspectRatio);
  key(kKeyHeightRatio, s.heightRatio);
  if (savedBounds != nullptr) {
    key(kKeyLeft, savedBounds->left);
    key(kKeyTop, savedBounds->top);
    key(kKeyRight, savedBounds->right);
    key(kKeyBottom, savedBounds->bottom);
  }
  key(kKeyFixedCorner, s.fixedCorner);
  key(kKeyAlignment, s.alignment);
  key(kKeyStar, s.starMode);
  key(kKeyArcArrangement, s.arcArrangement);
  key(kKeyDotKind, s.dotKind);
  key(kKeyLineSpacing, s.lineSpacing);
  key(kKeyCharSpacing, s.charSpacing);
  key(kKeyArcRadius, s.arcRadius);
  key(kKeyCharHeight, s.charHeight);
  key(kKeySlant, s.slant);
  key(kKeyRotation, s.rotation);
  key(kKeyDeflection, s.deflection);
  key(kKeyOffsetX2, s.offsetX2);
  key(kKeyOffsetY2, s.offsetY2);
  key(kKeyFixedWidth, s.fixedCharWidth);
  key(kKeyArcSize, s.arcSize);
  key(kKeyStrokeFonts, s.strokeFontPair, kTextFontNameMax);
  key(kKeyDotFont, s.dotFontFile, kTextFontNameMax);
  key(kKeyLfHeight, s.font.height);
  key(kKeyLfWidth, s.font.width);
  key(kKeyLfEscapement, s.font.escapement);
  key(kKeyLfOrientation, s.font.orientation);
  key(kKeyLfWeight, s.font.weight);
  key(kKeyFlags, s.flags);
  key(kKeyLfItalic, s.font.italic);
  key(kKeyLfUnderline, s.font.underline);
  key(kKeyLfStrikeOut, s.font.strikeOut);
  key(kKeyLfCharSet, s.font.charSet);
  key(kKeyLfOutPrecision, s.font.outPrecision);
  key(kKeyLfClipPrecision, s.font.clipPrecision);
  key(kKeyLfQuality, s.font.quality);
  key(kKeyLfPitchAndFamily, s.font.pitchAndFamily);
  key(kKeyFaceName, s.font.faceName, kTextFaceNameMax);
}

// Writes a setting by its type: real numbers with six decimals.
struct KeyWriter {
  MrkLineWriter& out;
  void operator()(const char* line, double v) const { out.WriteDouble(line, v, 6); }
  void operator()(const char* line, float v) const { out.WriteDouble(line, v, 6); }
  void operator()(const char* line, int v) const { out.WriteInt(line, v); }
  void operator()(const char* line, std::uint8_t v) const { out.WriteInt(line, v); }
  void operator()(const char* line, const std::string& v, std::size_t) const { out.WriteText(line, v); }
};

// Takes the value of one key into its setting: a number from SetProperty, a
// name from SetStringProperty. Values that are not numbers would poison every
// point of the text.
struct KeyReader {
  int key;
  const MrkValue* value;
  const std::string* name;

  bool Is(const char* line) const { return ParseMrkKey(line) == key; }
  void operator()(const char* line, double& field) const {
    if (value != nullptr && Is(line) && std::isfinite(value->d)) field = value->d;
  }
  void operator()(const char* line, float& field) const {
    if (value != nullptr && Is(line) && std::isfinite(value->f)) field = value->f;
  }
  void operator()(const char* line, int& field) const {
    if (value != nullptr && Is(line)) field = value->i;
  }
  void operator()(const char* line, std::uint8_t& field) const {
    if (value != nullptr && Is(line)) field = value->b;
  }
  void operator()(const char* line, std::string& field, std::size_t most) const {
    if (name != nullptr && Is(line)) field = CutName(*name, most);
  }
};

}  // namespace

void CObjText::WriteCommonKeys(MrkLineWriter& out) const {
  const CDoubleRect bounds = GetSavedBounds();
  VisitCommonKeys(s_, &bounds, KeyWriter{out});
}

void CObjText::Write(MrkLineWriter& out) const {
  out.WriteClassBegin("CObjText");
  WriteCommonKeys(out);
  out.WriteCountedText(kKeyLength, kKeyText, s_.text);
  out.WriteClassEnd();
}

void CObjText::SetProperty(int key, const MrkValue& v) {
  VisitCommonKeys(s_, static_cast<CDoubleRect*>(nullptr), KeyReader{key, &v, nullptr});
}

void CObjText::SetStringProperty(int key, const std::string& value) {
  if (key == ParseMrkKey(kKeyText)) s_.text = value;
  else VisitCommonKeys(s_, static_cast<CDoubleRect*>(nullptr), KeyReader{key, nullptr, &value});
}
