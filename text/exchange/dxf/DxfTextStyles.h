#pragma once
// Text styles of a DXF drawing's style table and the stroke-font files a text
// of a style is drawn with.
#include <string>
#include <unordered_map>
#include <vector>

struct DxfTextStyle {
  std::string name;
  double fixedHeight = 0;   // 40
  double widthFactor = 0;   // 41
  double obliqueAngle = 0;  // 50
  double lastHeight = 0;    // 42
  int generationFlags = 0;  // 71
  std::string fontFile;     // 3
  std::string bigFontFile;  // 4
};

class DxfTextStyles {
 public:
  void Append(const DxfTextStyle& style);
  // The first style whose name equals name, both compared in upper case;
  // looked up by its name, whatever the table holds.
  const DxfTextStyle* Find(const std::string& name) const;
  int Count() const { return static_cast<int>(styles_.size()); }

 private:
  std::vector<DxfTextStyle> styles_;
  std::unordered_map<std::string, std::size_t> firstByName_;  // upper-case name -> index
};

// The font file in lower case, with ".shx" appended when it holds none.
std::string DxfMainFontFile(const DxfTextStyle& style);
// The big font file treated the same, or "XC18.shx" when the style has none.
std::string DxfBigFontFile(const DxfTextStyle& style);
// Text height: the text's own when not 0, else the style's last height used,
// else its fixed height, else 5.
double DxfTextHeight(double textHeight, const DxfTextStyle& style);
