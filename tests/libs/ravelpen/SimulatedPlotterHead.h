#pragma once
// A plotter head on a simulated parallel port: step and direction edges on
// the data register move the axes, the pen bit lowers the pen, and the zero
// sensors answer on the status register from the head's position. Strokes
// are the positions the head passed with the pen down.
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "platform/PortIo.h"

struct HeadPoint {
  long long x;
  long long y;
};

class SimulatedPlotterHead : public platform::PortSpace {
 public:
  // Sensors at the zero corner of origin corner 0: X at the negative end,
  // Y at the positive end; the head starts `startX`, `startY` steps from it.
  SimulatedPlotterHead(long long startX, long long startY);

  // The data register as the head last saw it (the library's shadow).
  void SetLastWritten(std::uint8_t value) { last_ = value; }
  bool Initialize() override { return true; }
  void Shutdown() override {}
  bool Read(WORD port, DWORD& value, BYTE size) override;
  bool Write(WORD port, DWORD value, BYTE size) override;

  // Position in steps from the zero corner (x grows away from the X sensor,
  // y grows toward negative machine Y).
  HeadPoint Position() const;
  std::vector<std::vector<HeadPoint>> Strokes() const;
  // Step edges in order: 'X', 'Y' or 'Z'.
  std::string StepOrder() const;
  int HomeArrivals() const;  // times both sensors were reached together
  long long ZSteps() const;
  bool PenDown() const;
  void SetSensorsDead(bool dead);  // sensors that never answer
  void SetReadFails(bool fails);
  void ClearRecords();

 private:
  mutable std::mutex mutex_;
  long long x_;
  long long y_;
  long long z_ = 0;
  std::uint8_t last_ = 0;
  bool pen_ = false;
  bool sensorsDead_ = false;
  bool readFails_ = false;
  bool wasHome_ = false;
  int homeArrivals_ = 0;
  std::string order_;
  std::vector<std::vector<HeadPoint>> strokes_;
};
