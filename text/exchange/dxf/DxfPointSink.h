#pragma once
// Output of the DXF import: counts the values produced and, when filling,
// stores points in the caller's arrays as long as they fit the room. Once a
// point did not fit nothing later is stored, so the stored points are always
// a leading run of the drawing.
#include <cstdint>

class DxfPointSink {
 public:
  // Counting sink; it is done once it counted more than countStop values.
  explicit DxfPointSink(long long countStop) : countStop_(countStop) {}
  // Filling sink with room for `room` doubles and room / 2 flags.
  DxfPointSink(double* values, std::uint8_t* flags, int room);

  bool Filling() const { return values_ != nullptr; }
  // A counting sink past its stop: nothing later changes the caller's answer.
  bool CountPassed() const { return !Filling() && produced_ > countStop_; }
  void Add(double x, double y, std::uint8_t flag);
  // Room left for a block of `count` values written straight into the arrays
  // at Position(); false when the block does not fit (it is then only counted).
  bool BlockFits(long long count) const;
  // Books a block of `count` values; `written` of them were stored at Position().
  void AddBlock(long long count, int written);

  double* Values() const { return values_; }
  std::uint8_t* Flags() const { return flags_; }
  int Position() const { return stored_; }
  int Stored() const { return stored_; }
  // Values produced, clamped to the int range.
  int Produced() const;

 private:
  double* values_ = nullptr;
  std::uint8_t* flags_ = nullptr;
  int room_ = 0;
  int stored_ = 0;
  long long produced_ = 0;
  long long countStop_ = 0;
  bool full_ = false;
};
