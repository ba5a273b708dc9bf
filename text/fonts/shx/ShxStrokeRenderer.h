#pragma once
// The state of one stroke-font text call: fonts opened, headers read, the
// text rendered point by point into the caller's arrays, fonts closed.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "text/fonts/shx/ShxFontCache.h"

struct ShxLayout {
  double originX = 0;
  double originY = 0;
  double height = 0;      // mm
  double rotation = 0;    // degrees, about the origin
  double slant = 0;       // degrees, from the origin's base line
  double mainWidth = 1;   // width factor of the main font
  double spacing = 0;     // mm added after every character
  double bigWidth = 1;    // width factor of the big font
};

class ShxStrokeRenderer {
 public:
  ShxStrokeRenderer(const ShxLayout& layout, double* coords, std::uint8_t* flags, int* capacity, int* status);
  ShxStrokeRenderer(const ShxStrokeRenderer&) = delete;
  ShxStrokeRenderer& operator=(const ShxStrokeRenderer&) = delete;

  // Opens the fonts for this call alone.
  void OpenFonts(const std::string& installFolder, const std::string& mainFontName, const std::string& bigFontName);
  // Takes the fonts from a cache that outlives the call.
  void OpenFonts(ShxFontCache& fonts, const std::string& mainFontName, const std::string& bigFontName);
  // A glyph that fails is left out, its points taken back, and the text goes
  // on after it (instead of being abandoned); the status still reports it.
  void SkipFailedGlyphs(bool on) { skipFailed_ = on; }
  // Renders the text; the doubles written, or 0 when counting or abandoned.
  int Render(const std::string& text);
  // Whether the text had characters that went undrawn because the main font,
  // or the big font, did not open (not merely that a font did not open).
  bool MainFontLacking() const { return mainLacking_; }
  bool BigFontLacking() const { return bigLacking_; }

 private:
  struct Point {
    double x;
    double y;
  };

  // Character loop pieces; each false when the glyph failed.
  bool DrawShapeGlyph(const std::vector<std::uint8_t>& definition, std::size_t start, bool bigMode);
  bool DrawDiameterSign();
  bool DrawStar();
  bool DrawPointListGlyph(std::uint8_t character);
  void MarkCharacterStart(int fromDouble);

  // What a failed glyph is rolled back to.
  struct Snapshot {
    int written, produced, capacity, stackCount, skipNext;
    double curX, curY, nextX, nextY, charStartX, charStartY, rightmostX, scale;
    Point lastOut;
  };
  Snapshot Save() const;
  void Restore(const Snapshot& s);

  // Shape interpreter over one definition; false when the glyph fails.
  bool RunShape(const std::vector<std::uint8_t>& definition, std::size_t start, bool bigMode, bool subshape);
  bool CallSubshape(std::uint8_t number);
  bool MoveBy(double dx, double dy, bool pen);
  bool Arc(const Point& start, const Point& middle, const Point& end, std::uint8_t firstFlag);
  bool OctantArc(double unit, std::uint8_t radius, std::uint8_t octants);
  bool FractionalArc(double unit, const std::uint8_t* operands);
  bool BulgeArc(double unit, double width, std::int8_t dx, std::int8_t dy, std::int8_t bulge, std::uint8_t firstFlag);
  bool Advance(bool bigMode, bool pen);

  Point Transform(double x, double y) const;
  // Writes (or counts) a point in text coordinates / already transformed.
  bool Emit(double x, double y, std::uint8_t flag);
  bool EmitTransformed(double x, double y, std::uint8_t flag);
  // Counts one point against the bounds (and the capacity counter when counting).
  bool Produce();
  bool Writing() const { return coords_ && flags_ && capacity_; }

  ShxLayout layout_;
  double cosRotation_;
  double sinRotation_;
  double tanSlant_;
  double charStartX_ = 0;
  double charStartY_ = 0;
  double rightmostX_ = 0;
  double scale_ = 1.0;
  double curX_ = 0;
  double curY_ = 0;
  double nextX_ = 0;
  double nextY_ = 0;
  Point lastOut_{0, 0};

  std::unique_ptr<ShxFontCache> ownFonts_;  // when the caller keeps none
  ShxFontCache::Font* main_ = nullptr;
  ShxFontCache::Font* big_ = nullptr;
  bool mainLacking_ = false;
  bool bigLacking_ = false;
  int fntMode_ = 0;
  double mainScale_ = 0;
  double bigScale_ = 0;
  double glyphScale_ = 0;

  double* coords_;
  std::uint8_t* flags_;
  int* capacity_;
  int* status_;
  int written_ = 0;   // doubles written
  int produced_ = 0;  // doubles produced, written or not
  int skipNext_ = 0;

  // Two saved positions of four doubles each: untransformed x, y and the
  // transformed point last written.
  std::array<double, 8> stack_{};
  int stackCount_ = 0;

  bool skipFailed_ = false;
  int subshapeDepth_ = 0;
  int subshapeCalls_ = 0;
  std::array<std::optional<std::vector<std::uint8_t>>, 256> subshapes_;  // read once per call
  std::array<bool, 256> subshapeLooked_{};
};
