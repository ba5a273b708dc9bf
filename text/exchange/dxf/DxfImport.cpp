#include "text/exchange/dxf/DxfImport.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

#include "document/curves/CArcFitter.h"
#include "document/curves/SplineToPolyline.h"
#include "document/geometry/CDoublePoint.h"
#include "platform/Cp936.h"
#include "platform/InstallDir.h"
#include "platform/NumberText.h"
#include "text/exchange/dxf/DxfCurves.h"
#include "text/exchange/dxf/DxfLineReader.h"
#include "text/exchange/dxf/DxfPointSink.h"
#include "text/exchange/dxf/DxfTextStyles.h"
#include "text/fonts/shx/ShxTextToStrokes.h"
#include "values/ShellValues.h"

namespace {

enum class Section { None = 0, Header = 1, Classes = 2, Tables = 3, Blocks = 4, Entities = 5 };
enum class Entity { None, Line, LwPolyline, Circle, Arc, Ellipse, Point, Text, Spline, Style };

// Vertices reserved ahead for a lightweight polyline, whatever count it claims.
constexpr int kReserveVertices = 4096;

struct LineRecord {
  double x = 0, y = 0;
  CDoublePoint start, end;
  // Groups 10, 20, 11, 21 on their own, for a line written without its Z groups.
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  int seen = 0;  // bits of kLineStartX ... kLineEndY
  bool emitted = false;
};
constexpr int kLineStartX = 1, kLineStartY = 2, kLineEndX = 4, kLineEndY = 8, kLineWhole = 15;

struct LwPolylineRecord {
  int expected = 0;
  bool counted = false;  // group 90 seen
  bool emitted = false;
  bool closed = false;
  double x = 0;
  std::vector<CDoublePoint> vertices;
  std::vector<double> bulges;  // per vertex: the arc to the next one
};

struct CircleRecord {
  double cx = 0, cy = 0, radius = 0;
  double start = kDxfCircleAngle, end = kDxfCircleAngle;
  bool complete = false;  // radius (circle) or end angle (arc) read
  bool mirrored = false;  // extrusion (0, 0, -1)
};

struct EllipseRecord {
  double x = 0;
  double cx = 0, cy = 0, mx = 0, my = 0;
  double ratio = 0, start = 0, end = 0;
};

struct TextRecord {
  double x = 0, y = 0;
  double height = 0, rotation = 0, oblique = 0, widthFactor = 1.0;
  int generationFlags = 0;
  std::string value;
  std::string style = "STANDARD";
};

struct SplineState {
  double x = 0, y = 0;
  CSplineRecord record;
};

// The entity a group 0 began in the drawing, until the next one: whether it
// was drawn, and why not.
struct EntityInHand {
  std::string name;
  bool drawn = false;
  bool fitPoints = false;      // a spline that gave fit points
  bool styleMissing = false;   // a text whose style the file does not define
};

// Names of a group 0 in the drawing that begin or end blocks and sequences,
// or frame a view of it, rather than drawing anything themselves.
bool IsStructural(const std::string& name) {
  static const char* const kNames[] = {"SECTION", "ENDSEC", "EOF",    "BLOCK",
                                       "ENDBLK",  "SEQEND", "VERTEX", "VIEWPORT"};
  return std::find(std::begin(kNames), std::end(kNames), name) != std::end(kNames);
}

// The kinds the reader draws whenever their values are there.
bool IsAlwaysDrawn(const std::string& name) {
  static const char* const kNames[] = {"LINE", "LWPOLYLINE", "CIRCLE", "ARC", "ELLIPSE", "POINT"};
  return std::find(std::begin(kNames), std::end(kNames), name) != std::end(kNames);
}

bool LooksLikeEntityName(const std::string& name) {
  if (name.empty() || name.size() > 31) return false;
  return std::all_of(name.begin(), name.end(),
                     [](char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_'; });
}

constexpr std::size_t kMostLeftOutKinds = 16;
constexpr const char* kOtherEntities = "other entities";

class DxfImporter {
 public:
  DxfImporter(std::FILE* file, DxfPointSink& sink, const std::string& installFolder)
      : reader_(file), sink_(sink), fonts_(installFolder) {}

  void Run();
  const DxfImportReport& Report() const { return report_; }

 private:
  bool InDrawing() const { return section_ == Section::Blocks || section_ == Section::Entities; }
  void OnText(int group, const std::string& value);
  void OnKeyword(int group, const std::string& value);
  void OnReal(int group, double value);
  void OnInteger(int group, long long value);
  void OnSubclass(const std::string& value);
  void Begin(Entity entity);
  void FinishEntity();
  void CloseAll();
  void EmitLwPolyline();
  void RenderText();
  void NoteMissingFont(const std::string& name);
  void FlattenSpline();
  // The entity in hand is done: counted when it was left out.
  void EndEntityInHand();
  void NoteLeftOut(const std::string& what);

  DxfLineReader reader_;
  DxfPointSink& sink_;
  ShxFontCache fonts_;
  DxfImportReport report_;
  CArcFitter fitter_;
  bool stop_ = false;
  bool skipNextReal_ = false;
  bool sectionNameNext_ = false;  // the group 2 after "0 SECTION" names the section
  bool versionNext_ = false;      // the group 1 after "9 $ACADVER" is the version
  bool utf8Text_ = false;         // AC1021 (2007) and later write texts as UTF-8
  Section section_ = Section::None;
  Entity entity_ = Entity::None;

  DxfTextStyles styles_;
  std::unique_ptr<DxfTextStyle> style_;  // the style record being read
  LineRecord line_;
  LwPolylineRecord poly_;
  CircleRecord circle_;
  EllipseRecord ellipse_;
  double pointX_ = 0;
  std::unique_ptr<TextRecord> text_;
  std::unique_ptr<SplineState> spline_;
  std::unique_ptr<EntityInHand> inHand_;
};

void DxfImporter::Run() {
  std::string codeLine, value;
  while (!stop_ && !sink_.CountPassed()) {
    if (!reader_.ReadDxfLine(codeLine)) break;
    const int group = ParseDxfGroupCode(codeLine);
    if (!reader_.ReadDxfLine(value)) break;
    if (group >= 0 && group <= 9) {
      OnText(group, value);
    } else if (group >= 10 && group <= 59) {
      double number = 0;
      const bool ok = ParseDxfReal(value, number);
      if (skipNextReal_) {
        skipNextReal_ = false;
      } else if (ok && std::isfinite(number)) {
        OnReal(group, number);
      }
    } else if (group == 230) {
      // Extrusion Z: the only extrusion component the reader needs.
      double number = 0;
      if (ParseDxfReal(value, number) && std::isfinite(number)) OnReal(group, number);
    } else if ((group >= 60 && group <= 79) || (group >= 90 && group <= 99)) {
      bool ok = false;
      const long long number = platform::ParseIntC(value, &ok);
      if (ok) OnInteger(group, number);
    } else if (group == 100) {
      OnSubclass(value);
    }
  }
  CloseAll();
}

void DxfImporter::OnText(int group, const std::string& value) {
  if (entity_ == Entity::Style) {
    if (group == 2) {
      style_ = std::make_unique<DxfTextStyle>();
      style_->name = value;
      return;
    }
    if (group == 3 && style_) {
      style_->fontFile = value;
      return;
    }
    if (group == 4 && style_) {
      style_->bigFontFile = value;
      styles_.Append(*style_);
      style_.reset();
      return;
    }
  }
  if (entity_ == Entity::Text && text_) {
    if (group == 1) {
      text_->value = value;
      return;
    }
    if (group == 7) {
      text_->style = value;
      return;
    }
  }
  OnKeyword(group, value);
}

// Keywords count only under their own group codes (0 entities and section
// markers, 2 section names right after "0 SECTION", 9 header variables), so a
// layer, block or table entry named "LINE" or "OBJECTS" is just a name. A
// group 0 always ends the entity before it: values of entities not read here
// never reach the one before them.
void DxfImporter::OnKeyword(int group, const std::string& value) {
  const bool sectionName = sectionNameNext_;
  sectionNameNext_ = false;
  const bool version = versionNext_;
  versionNext_ = false;
  if (group == 0) {
    Begin(Entity::None);
    EndEntityInHand();
    if (InDrawing() && !IsStructural(value)) {
      inHand_ = std::make_unique<EntityInHand>();
      inHand_->name = value;
    }
    if (value == "SECTION") {
      sectionNameNext_ = true;
      return;
    }
    if (!InDrawing()) return;
    if (value == "LINE") Begin(Entity::Line);
    else if (value == "LWPOLYLINE") Begin(Entity::LwPolyline);
    else if (value == "CIRCLE") Begin(Entity::Circle);
    else if (value == "ARC") Begin(Entity::Arc);
    else if (value == "ELLIPSE") Begin(Entity::Ellipse);
    else if (value == "POINT") Begin(Entity::Point);
  } else if (group == 2 && sectionName) {
    if (value == "HEADER") section_ = Section::Header;
    else if (value == "CLASSES") section_ = Section::Classes;
    else if (value == "TABLES") section_ = Section::Tables;
    else if (value == "BLOCKS") section_ = Section::Blocks;
    else if (value == "ENTITIES") section_ = Section::Entities;
    else if (value == "OBJECTS") stop_ = true;
  } else if (group == 9) {
    if (value == "$TEXTSIZE" || value == "$TEXTSTYLE") skipNextReal_ = true;
    versionNext_ = value == "$ACADVER";
  } else if (group == 1 && version) {
    // "AC1021" and later; the number after "AC" grows with each release.
    utf8Text_ = value.size() >= 6 && value.compare(0, 2, "AC") == 0 && value.compare(2, 4, "1021") >= 0;
  }
}

void DxfImporter::Begin(Entity entity) {
  FinishEntity();
  // A text whose closing marker never came and a spline short of its control
  // points are dropped with their entity.
  text_.reset();
  spline_.reset();
  style_.reset();
  entity_ = entity;
  switch (entity) {
    case Entity::Line: line_ = LineRecord(); break;
    case Entity::LwPolyline: poly_ = LwPolylineRecord(); break;
    case Entity::Circle:
    case Entity::Arc: circle_ = CircleRecord(); break;
    case Entity::Ellipse: ellipse_ = EllipseRecord(); break;
    case Entity::Point: pointX_ = 0; break;
    default: break;
  }
}

void DxfImporter::OnReal(int group, double value) {
  switch (entity_) {
    case Entity::Style:
      if (!style_) break;
      if (group == 40) style_->fixedHeight = value;
      else if (group == 41) style_->widthFactor = value;
      else if (group == 42) style_->lastHeight = value;
      else if (group == 50) style_->obliqueAngle = value;
      break;
    case Entity::Line:
      switch (group) {
        case 10: line_.x = line_.x1 = value; line_.seen |= kLineStartX; break;
        case 20: line_.y = line_.y1 = value; line_.seen |= kLineStartY; break;
        case 11: line_.x = line_.x2 = value; line_.seen |= kLineEndX; break;
        case 21: line_.y = line_.y2 = value; line_.seen |= kLineEndY; break;
        case 30: line_.start = CDoublePoint(line_.x, line_.y); break;
        case 31:
          line_.end = CDoublePoint(line_.x, line_.y);
          line_.emitted = true;
          sink_.Add(line_.start.x, line_.start.y, kDxfPenUp);
          sink_.Add(line_.end.x, line_.end.y, kDxfPenDown);
          break;
        default: break;
      }
      break;
    case Entity::LwPolyline:
      if (group == 10) {
        poly_.x = value;
      } else if (group == 20 && poly_.counted && static_cast<int>(poly_.vertices.size()) < poly_.expected) {
        poly_.vertices.emplace_back(poly_.x, value);
        poly_.bulges.push_back(0);
      } else if (group == 42 && !poly_.bulges.empty()) {
        // Follows its vertex; the polyline is drawn at its end, once the last
        // vertex's bulge (the closing arc) is known.
        poly_.bulges.back() = value;
      }
      break;
    case Entity::Circle:
    case Entity::Arc:
      // Drawn at the end of the entity: the extrusion follows the radius.
      if (group == 10) circle_.cx = value;
      else if (group == 20) circle_.cy = value;
      else if (group == 40) {
        circle_.radius = value;
        if (entity_ == Entity::Circle) circle_.complete = true;
      } else if (entity_ == Entity::Arc && group == 50) {
        circle_.start = value;
      } else if (entity_ == Entity::Arc && group == 51) {
        circle_.end = value;
        circle_.complete = true;
      } else if (group == 230) {
        circle_.mirrored = value < 0;
      }
      break;
    case Entity::Ellipse:
      if (group == 10 || group == 11) ellipse_.x = value;
      else if (group == 20) {
        ellipse_.cx = ellipse_.x;
        ellipse_.cy = value;
      } else if (group == 21) {
        ellipse_.mx = ellipse_.x;
        ellipse_.my = value;
      } else if (group == 40) ellipse_.ratio = value;
      else if (group == 41) ellipse_.start = value;
      else if (group == 42) {
        ellipse_.end = value;
        EmitDxfEllipse(sink_, ellipse_.cx, ellipse_.cy, ellipse_.mx, ellipse_.my, ellipse_.ratio, ellipse_.start,
                       ellipse_.end);
      }
      break;
    case Entity::Point:
      if (group == 10) pointX_ = value;
      else if (group == 20) sink_.Add(pointX_, value, kDxfDot);
      break;
    case Entity::Text:
      if (!text_) break;
      if (group == 10) text_->x = value;
      else if (group == 20) text_->y = value;
      else if (group == 40) text_->height = value;
      else if (group == 41) text_->widthFactor = value;
      else if (group == 50) text_->rotation = value;
      else if (group == 51) text_->oblique = value;
      break;
    case Entity::Spline:
      if (!spline_) break;
      if (group == 10) spline_->x = value;
      else if (group == 20) spline_->y = value;
      else if (group == 30) {
        spline_->record.controlPoints.Add(CDoublePoint(spline_->x, spline_->y));
        if (spline_->record.controlPoints.GetSize() == spline_->record.controlCount) FlattenSpline();
      } else if (group == 40) {
        spline_->record.knots.push_back(value);
      }
      break;
    default:
      break;
  }
}

void DxfImporter::OnInteger(int group, long long value) {
  const int clamped = value > 0x7fffffff ? 0x7fffffff : (value < -0x7fffffff ? -0x7fffffff : static_cast<int>(value));
  switch (entity_) {
    case Entity::Style:
      if (style_ && group == 71) style_->generationFlags = clamped;
      break;
    case Entity::LwPolyline:
      if (group == 70) {
        poly_.closed = (clamped & 1) != 0;  // other bits: plinegen and the like
      } else if (group == 90 && !poly_.counted) {
        // Memory follows the vertices actually read, not the count a file claims.
        poly_.counted = true;
        poly_.expected = clamped;
        if (clamped > 0) poly_.vertices.reserve(clamped < kReserveVertices ? clamped : kReserveVertices);
      }
      break;
    case Entity::Text:
      if (text_ && group == 71) text_->generationFlags = clamped;
      break;
    case Entity::Spline:
      if (!spline_) break;
      if (group == 70) spline_->record.closed = clamped == 1 ? 1 : 0;
      else if (group == 71) spline_->record.degree = clamped;
      else if (group == 72) spline_->record.knotCount = clamped;
      else if (group == 73) spline_->record.controlCount = clamped;
      else if (group == 74 && clamped > 0 && inHand_) inHand_->fitPoints = true;
      break;
    default:
      break;
  }
}

void DxfImporter::OnSubclass(const std::string& value) {
  if (section_ == Section::Tables) {
    if (value == "AcDbTextStyleTableRecord") Begin(Entity::Style);
    return;
  }
  if (!InDrawing()) return;
  if (value == "AcDbSpline") {
    Begin(Entity::Spline);
    spline_ = std::make_unique<SplineState>();
  } else if (value == "AcDbText") {
    if (!text_) {
      Begin(Entity::Text);
      text_ = std::make_unique<TextRecord>();
    } else {
      RenderText();
      Begin(Entity::None);
    }
  }
}

void DxfImporter::FinishEntity() {
  switch (entity_) {
    case Entity::Line:
      if (!line_.emitted && line_.seen == kLineWhole) {
        line_.emitted = true;
        sink_.Add(line_.x1, line_.y1, kDxfPenUp);
        sink_.Add(line_.x2, line_.y2, kDxfPenDown);
      }
      break;
    case Entity::LwPolyline:
      if (poly_.counted && !poly_.emitted && poly_.expected > 0 &&
          static_cast<int>(poly_.vertices.size()) == poly_.expected)
        EmitLwPolyline();
      break;
    case Entity::Circle:
    case Entity::Arc:
      if (circle_.complete) {
        circle_.complete = false;
        EmitDxfArc(sink_, circle_.cx, circle_.cy, circle_.radius, circle_.start, circle_.end, circle_.mirrored);
      }
      break;
    default:
      break;
  }
}

void DxfImporter::EmitLwPolyline() {
  poly_.emitted = true;
  const std::vector<CDoublePoint>& v = poly_.vertices;
  sink_.Add(v[0].x, v[0].y, kDxfPenUp);
  for (std::size_t i = 1; i < v.size() && !sink_.CountPassed(); ++i)
    EmitDxfBulgeSegment(sink_, v[i - 1].x, v[i - 1].y, v[i].x, v[i].y, poly_.bulges[i - 1]);
  if (poly_.closed) EmitDxfBulgeSegment(sink_, v.back().x, v.back().y, v[0].x, v[0].y, poly_.bulges.back());
}

void DxfImporter::RenderText() {
  // A style the file does not define names no fonts: such a text is left out.
  const DxfTextStyle* style = styles_.Find(text_->style);
  if (inHand_) {
    inHand_->drawn = style != nullptr || text_->value.empty();
    inHand_->styleMissing = style == nullptr;
  }
  if (!style || text_->value.empty()) return;
  const std::string mainFont = DxfMainFontFile(*style);
  const std::string bigFont = DxfBigFontFile(*style);
  const double height = DxfTextHeight(text_->height, *style);
  TextRecord& t = *text_;
  if (utf8Text_) t.value = platform::Utf8ToCp936(t.value);
  const ShxLayout layout = ShxLayoutOf(t.x, t.y, height, t.rotation, t.oblique, t.widthFactor, 0, t.widthFactor);
  int count = 0;
  int shxStatus = 0;
  ShxFontsLacking lacking;
  ShxTextToStrokesWith(fonts_, t.value, mainFont, bigFont, layout, false, nullptr, nullptr, &count, &shxStatus,
                       &lacking);
  if (lacking.main) NoteMissingFont(mainFont);
  if (lacking.big) NoteMissingFont(bigFont);
  if (count <= 0) return;
  int written = 0;
  if (sink_.BlockFits(count)) {
    int room = count;
    written = ShxTextToStrokesWith(fonts_, t.value, mainFont, bigFont, layout, false,
                                   sink_.Values() + sink_.Position(), sink_.Flags() + sink_.Position() / 2, &room,
                                   &shxStatus);
    if (written < 0) written = 0;
    if (written > count) written = count;
  }
  sink_.AddBlock(count, written);
}

void DxfImporter::NoteMissingFont(const std::string& name) {
  std::vector<std::string>& names = report_.missingFonts;
  if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
}

void DxfImporter::FlattenSpline() {
  if (inHand_) inHand_->drawn = true;
  int position = sink_.Position();
  const int count = SplineToPolyline(spline_->record, nullptr, nullptr, position, nullptr, &fitter_);
  if (count > 0 && sink_.BlockFits(count)) {
    const int before = position;
    const int fill = 1;
    SplineToPolyline(spline_->record, sink_.Values(), sink_.Flags(), position, &fill, &fitter_);
    sink_.AddBlock(count, position - before);
  } else {
    sink_.AddBlock(count, 0);
  }
  spline_.reset();
}

void DxfImporter::EndEntityInHand() {
  std::unique_ptr<EntityInHand> entity = std::move(inHand_);
  if (!entity || entity->drawn || IsAlwaysDrawn(entity->name)) return;
  if (entity->name == "SPLINE") {
    NoteLeftOut(entity->fitPoints ? "SPLINE (fit points only)" : "SPLINE (incomplete)");
  } else if (entity->name == "TEXT") {
    NoteLeftOut(entity->styleMissing ? "TEXT (style not defined)" : "TEXT");
  } else {
    NoteLeftOut(LooksLikeEntityName(entity->name) ? entity->name : kOtherEntities);
  }
}

void DxfImporter::NoteLeftOut(const std::string& what) {
  std::vector<DxfLeftOut>& kinds = report_.leftOut;
  auto found = std::find_if(kinds.begin(), kinds.end(), [&](const DxfLeftOut& k) { return k.what == what; });
  if (found == kinds.end() && kinds.size() >= kMostLeftOutKinds && what != kOtherEntities) {
    NoteLeftOut(kOtherEntities);
    return;
  }
  if (found == kinds.end()) found = kinds.insert(kinds.end(), DxfLeftOut{what, 0});
  if (found->count < 0x7fffffff) ++found->count;
}

void DxfImporter::CloseAll() {
  FinishEntity();
  EndEntityInHand();
  entity_ = Entity::None;
  text_.reset();
  spline_.reset();
  style_.reset();
  fitter_.CloseFile();
}

}  // namespace

int ImportDxfFile(const std::string& path, double* values, std::uint8_t* flags, int* capacity, int* valueCount,
                  int* status, const std::string& installFolder, DxfImportReport* report) {
  if (status) *status = kDxfStatusNoFile;
  if (report) *report = DxfImportReport();
  int unusedCapacity = 0;
  if (!capacity) capacity = &unusedCapacity;
  const bool counting = !values || !flags || *capacity == 0;
  if (counting) *capacity = 0;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return kDxfResultNone;
  DxfPointSink sink = counting ? DxfPointSink(kDxfMaxValues) : DxfPointSink(values, flags, *capacity);
  {
    DxfImporter importer(file, sink, installFolder);
    importer.Run();
    if (report) *report = importer.Report();
  }
  std::fclose(file);
  if (status) *status = kDxfStatusRead;
  if (counting) {
    *capacity = sink.Produced();
    return kDxfResultNone;
  }
  const int room = *capacity;
  if (valueCount) *valueCount = sink.Stored();
  if (sink.Produced() > room) *capacity = sink.Produced();
  return room > 3 && sink.Stored() > 3 ? kDxfResultFilled : kDxfResultNone;
}

int ImportDxfFile(const std::string& path, double* values, std::uint8_t* flags, int* capacity, int* valueCount,
                  int* status) {
  return ImportDxfFile(path, values, flags, capacity, valueCount, status,
                       InstallFolder.empty() ? platform::DefaultDataFolder() : InstallFolder);
}
