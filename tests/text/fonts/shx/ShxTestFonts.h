#pragma once
// Small stroke-font files built byte by byte for the tests, and a private
// installation folder with a "Fonts" folder to put them in.
#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

struct TestGlyph {
  std::uint16_t code;
  Bytes shape;  // shape bytes only: names and prefixes are added by the builders
};

// "AutoCAD-86 shapes 1.0": index of (code, length), definitions from byte 0.
Bytes Shapes86Font(const std::vector<TestGlyph>& glyphs);
// "AutoCAD-88/-89/-90 shapes 1.0": entry count, index, definitions after two code bytes.
Bytes Shapes88Font(const std::vector<TestGlyph>& glyphs, const char* signature = "AutoCAD-88 shapes 1.0");
// "AutoCAD-86 unifont 1.0": records of (code, length, name, shape).
Bytes UnifontFont(const std::vector<TestGlyph>& glyphs, std::uint8_t heightAboveBase);
// "AutoCAD-86 bigfont 1.0": information record first, then 8-byte index entries.
Bytes BigFont(const std::vector<TestGlyph>& glyphs, std::uint8_t height);

struct ListPoint {
  double x;
  double y;
  std::uint8_t flag;
};
struct ListGlyph {
  std::uint8_t character;
  std::vector<ListPoint> points;
};
// A point-list (".fnt") font: glyph table, then each glyph's points.
Bytes PointListFont(const std::vector<ListGlyph>& glyphs);

void PutU16(Bytes& out, std::size_t at, std::uint16_t value);
void PutU32(Bytes& out, std::size_t at, std::uint32_t value);

// A fresh installation folder with an empty "Fonts" folder, removed at the end;
// its name is unique across the processes that share the data folder.
class TestInstallFolder {
 public:
  TestInstallFolder();
  TestInstallFolder(const TestInstallFolder&) = delete;
  TestInstallFolder& operator=(const TestInstallFolder&) = delete;
  ~TestInstallFolder();
  const std::string& Path() const { return path_; }
  void AddFont(const std::string& name, const Bytes& bytes) const;

 private:
  std::string path_;
};

// Both passes of one text call: count, then write into arrays of the counted
// size guarded by canaries.
struct ShxRun {
  int counted = 0;        // doubles counted by the first pass
  int countStatus = 0;
  int returned = 0;       // doubles the writing pass returned
  int status = 0;
  std::vector<double> xy;           // what the writing pass wrote
  std::vector<std::uint8_t> flags;
  bool canariesIntact = true;

  int Points() const { return static_cast<int>(xy.size() / 2); }
  double X(int i) const { return xy[2 * i]; }
  double Y(int i) const { return xy[2 * i + 1]; }
};

struct ShxParams {
  double originX = 0;
  double originY = 0;
  double height = 28;  // one unit of an "AutoCAD-86 shapes" font is then 1 mm
  double rotation = 0;
  double slant = 0;
  double mainWidth = 1;
  double spacing = 0;
  double bigWidth = 1;
};

// capacity < 0: as counted.
ShxRun RunShx(const TestInstallFolder& folder, const std::string& text, const std::string& mainFont,
              const std::string& bigFont, const ShxParams& params = {}, int capacity = -1);
