#include "document/curves/CArcFitter.h"

#include <cmath>
#include <utility>

#include "document/curves/CDxfSegment.h"
#include "platform/InstallDir.h"

namespace {

constexpr double kMaxDeviation = 0.005;
constexpr double kMinCornerAngle = 150;

void Line(std::FILE* f, const char* text) { std::fprintf(f, "%s\n", text); }

double DistanceToCircle(const CDoublePoint& p, const CDxfSegment& s) {
  return std::fabs(PointDistance(p, s.centre) - s.radius);
}

// Whether p lies on the arc as written (counter-clockwise from its start
// angle to its end angle).
bool ArcPasses(const CDxfSegment& arc, const CDoublePoint& p) {
  double rel = DirectionAngle(arc.centre, p) - arc.startAngle;
  while (rel < 0) rel += 360;
  while (rel >= 360) rel -= 360;
  return rel <= arc.endAngle - arc.startAngle;
}

}  // namespace

std::string CArcFitter::DefaultPath() { return platform::JoinInstallPath(platform::DefaultDataFolder(), "test.dxf"); }

CArcFitter::CArcFitter() : path_(DefaultPath()) {}

CArcFitter::CArcFitter(std::string path) : path_(std::move(path)) {}

CArcFitter::~CArcFitter() { CloseFile(); }

void CArcFitter::OpenFile() {
  if (!notOpened_) return;
  if (file_) std::fclose(file_);
  file_ = std::fopen(path_.c_str(), "w");
  notOpened_ = 0;
  if (!file_) return;
  Line(file_, "0");
  Line(file_, "SECTION");
  Line(file_, "2");
  Line(file_, "ENTITIES");
}

void CArcFitter::CloseFile() {
  if (notOpened_ || !file_) return;
  Line(file_, "0");
  Line(file_, "ENDSEC");
  Line(file_, "0");
  Line(file_, "EOF");
  std::fclose(file_);
  file_ = nullptr;
}

void CArcFitter::WriteSegment(const CDxfSegment& segment) {
  OpenFile();
  segment.WriteDxf(file_);
}

void CArcFitter::WriteRunAsArc(const CPointList& points, RunMarker& run) {
  OpenFile();
  const int n = points.GetSize();
  if (run.first >= 0 && run.last >= run.first && run.last < n) {
    run.middle = (run.first + run.last) / 2;
    CDxfSegment segment;
    segment.FromThreePoints(points[run.first], points[run.middle], points[run.last], 0, false);
    segment.WriteDxf(file_);
  }
  run = RunMarker();
}

double MaxRelativeDeviation(int end, const CPointList& points, const RunMarker& run, const CDxfSegment& segment) {
  double worst = 0;
  for (int i = run.first; i < end; ++i) {
    const CDoublePoint mid((points[i].x + points[i + 1].x) / 2, (points[i].y + points[i + 1].y) / 2);
    worst = std::max(worst, DistanceToCircle(mid, segment));
    if (i != run.first && i != run.middle) worst = std::max(worst, DistanceToCircle(points[i], segment));
  }
  worst = std::max(worst, DistanceToCircle(points[end], segment));
  return worst / segment.radius;
}

// Greedy scan: from the start of a run, the run grows point by point while it
// stays one straight stretch, or one arc within the deviation that turns one
// way and stays below half a turn, and it never takes a corner of 150 degrees
// or less. The run's end
// starts the next run.
void CArcFitter::FitArcs(const CPointList& points) {
  const int n = points.GetSize();
  int s = 0;
  while (s < n - 1) {
    enum { Undecided, Straight, Arc } mode = Undecided;
    int e = s + 1;
    double length = PointDistance(points[s], points[s + 1]);
    for (int j = s + 2; j < n; ++j) {
      if (CornerAngle(points[j - 2], points[j - 1], points[j]) <= kMinCornerAngle) break;
      const double runLength = length + PointDistance(points[j - 1], points[j]);
      if (mode == Straight) {
        CDxfSegment probe;
        if (probe.FromThreePointsSimple(points[s], points[j - 1], points[j]) != 1) break;
      } else {
        const int mid = (s + j) / 2;
        CDxfSegment arc;
        const bool isArc = arc.FromThreePoints(points[s], points[mid], points[j], runLength, true) == 1;
        if (mode == Undecided && !isArc) {
          mode = Straight;
        } else {
          if (!isArc) break;
          RunMarker run;
          run.first = s;
          run.middle = mid;
          if (MaxRelativeDeviation(j, points, run, arc) > kMaxDeviation) break;
          if (j >= s + 3 && !TurnsAgree(points[j - 3], points[j - 2], points[j - 1], points[j])) break;
          // An arc entity always takes the shorter way between its ends, so a
          // run may not reach half a turn: the written arc would miss it.
          if (!ArcPasses(arc, points[mid])) break;
          mode = Arc;
        }
      }
      e = j;
      length = runLength;
    }
    if (mode == Arc) {
      RunMarker run;
      run.first = s;
      run.last = e;
      run.kind = 2;
      WriteRunAsArc(points, run);
    } else {
      CDxfSegment line;
      line.SetLine(points[s], points[e]);
      WriteSegment(line);
    }
    s = e;
  }
}
