#pragma once
// Renders one line of text in SHX stroke fonts into points with pen flags:
// single-byte characters from a text font (unifont or shapes kind), double-
// byte characters (GBK lead byte and the byte after it) from a big font. The
// text runs along a base line turned by the text angle; only straight
// strokes are drawn.
#include <cstdint>
#include <string>
#include <vector>

namespace ravelpen {

struct TextPoint {
  std::uint8_t flags = 0;  // kTextPenDown: the pen is down on the way here
  double x = 0.0;
  double y = 0.0;
};
constexpr std::uint8_t kTextPenDown = 0x80;

class CAutoCadDxfFileFormat {
 public:
  // Records longer than these are refused (a damaged or foreign font).
  static constexpr std::size_t kInfoRecordMax = 1024;
  static constexpr std::size_t kShapeRecordMax = 10240;
  static constexpr std::size_t kSubshapeRecordMax = 1000;
  // A glyph whose subshapes call each other deeper or more often than these,
  // or a text that would draw more points, comes from a damaged font: the
  // glyph fails, told once, rather than the rendering running on for ever.
  static constexpr int kSubshapeDepthMax = 16;
  static constexpr int kSubshapeCallsMax = 1000;
  static constexpr std::size_t kTextPointsMax = 2000000;

  explicit CAutoCadDxfFileFormat(std::vector<TextPoint>* output = nullptr);
  ~CAutoCadDxfFileFormat();

  int OpenFontFile(const std::string& path, int big);
  // A font already in memory, as if opened from a file.
  void OpenFontBytes(std::vector<std::uint8_t> bytes, int big);
  void CloseFontFile(int big);
  int ReadFontHeader(int big);
  void UpdateFontScale(int big);
  void SetTextFrame(double height, double angle, double widthFactor);
  void SetStartPoint(double x, double y);
  // 1 and the record's bytes when the shape is there.
  int FindShape(std::vector<std::uint8_t>& record, std::uint8_t c0, std::uint8_t c1, std::size_t limit = kShapeRecordMax);
  int RenderString(const char* text);
  int BuildTextPath(const std::vector<std::uint8_t>& bytes, int big, int nested);

  bool Loaded(int big) const { return (big ? bigFont_ : textFont_).loaded; }

 private:
  enum class TextKind { Unifont, Shapes };
  struct FontFile {
    std::vector<std::uint8_t> bytes;
    bool open = false;
    bool loaded = false;
  };
  struct Position {
    double x;
    double y;
  };

  FontFile& Font(int big) { return big ? bigFont_ : textFont_; }
  // Little-endian reads inside the file; false past its end.
  bool Read16(const FontFile& font, std::size_t at, std::uint16_t& value) const;
  bool Read32(const FontFile& font, std::size_t at, std::uint32_t& value) const;
  bool ReadTextHeader();
  bool ReadBigHeader();
  int Displace(double dx, double dy);

  std::vector<TextPoint>* output_;
  FontFile textFont_;
  FontFile bigFont_;
  TextKind textKind_ = TextKind::Shapes;
  // Text font header.
  int above_ = 0;
  int below_ = 0;
  int modes_ = 0;
  std::size_t unifontRecords_ = 0;
  std::size_t shapesIndexEnd_ = 0;
  std::size_t shapesRecords_ = 0;
  // Big font header.
  int bigShapeCount_ = 0;
  int bigHeight_ = 0;
  int bigModes_ = 0;
  int bigWidth_ = 0;
  std::size_t bigIndexAfterFirst_ = 0;
  double bigScale_ = 1.0;
  double textScale_ = 1.0;
  double fontScale_ = 1.0;
  double height_ = 5.0;
  double angle_ = 0.0;
  double widthFactor_ = 1.0;
  Position origin_{0, 0};
  Position current_{0, 0};
  double x0_ = 0.0;
  double y0_ = 0.0;
  double maxX_ = 0.0;
  double scale_ = 1.0;  // S, changed by codes 3 and 4
  bool penDown_ = false;
  int depth_ = 0;
  int subshapeCalls_ = 0;  // in the glyph being drawn
  bool runaway_ = false;   // the glyph went past a bound above, and the operator was told
  std::size_t textStart_ = 0;  // points the output held before this text
  std::vector<Position> stack_;
};

// The font folder: $VENDRIK_MARKFONTS_DIR, else "MarkFonts" in the data
// folder; font files lie in its "Fonts" folder.
std::string MarkFontsFolder();
std::string MarkFontPath(const std::string& folder, const std::string& name);

// Opens the fonts ("ROMANS.SHX" and the big font "Hzfs.shx"), renders the
// text from (x, y) and appends its points; 1 when rendered.
int BuildTextMoves(std::vector<TextPoint>& output, double x, double y, double height, double angle,
                   double widthFactor, const char* text, int unused);

}  // namespace ravelpen
