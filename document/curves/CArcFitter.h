#pragma once
// Finds stretches of a point list that lie on one circular arc (within a
// relative deviation of 0.005) or on one straight line, and writes each as a
// LINE or ARC entity to a diagnostic drawing file. It produces no geometry for
// its callers: the file is its only output. The file is opened with the
// first entity (a fitter that writes nothing leaves no file) and at most once
// per fitter; when it cannot be created, writing is skipped.
#include <cstdio>
#include <string>

#include "document/geometry/CPointList.h"

class CDxfSegment;

// A run of points being fitted: first, middle and last index (last -2 while
// the run has none) and its kind (0 none, 2 arc candidate).
struct RunMarker {
  int first = -1;
  int middle = -1;
  int last = -2;
  int kind = 0;
};

class CArcFitter {
 public:
  // The diagnostic file "test.dxf" in the data folder.
  CArcFitter();
  explicit CArcFitter(std::string path);
  CArcFitter(const CArcFitter&) = delete;
  CArcFitter& operator=(const CArcFitter&) = delete;
  virtual ~CArcFitter();

  void OpenFile();
  void CloseFile();
  void FitArcs(const CPointList& points);
  // Writes the run as one arc through its first, middle and last point and
  // empties the marker.
  void WriteRunAsArc(const CPointList& points, RunMarker& run);
  void WriteSegment(const CDxfSegment& segment);

  const std::string& GetPath() const { return path_; }
  static std::string DefaultPath();

 private:
  std::string path_;
  std::FILE* file_ = nullptr;
  int notOpened_ = 1;
};

// Largest distance from the circle (centre, radius of the segment) of the
// points first .. end of the run and of the midpoints between them, divided
// by the radius.
double MaxRelativeDeviation(int end, const CPointList& points, const RunMarker& run, const CDxfSegment& segment);
