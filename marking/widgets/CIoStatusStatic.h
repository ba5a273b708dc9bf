#pragma once
// The lamp panel of the hardware test: three coloured lines on black telling
// whether the X and Y axes stand at their origin and whether the light test
// runs. Green means at origin (or light test stopped), red the opposite.
#include <QColor>
#include <QString>
#include <QWidget>
#include <array>

#include "marking/widgets/IoStatusSource.h"

class CIoStatusStatic : public QWidget {
 public:
  struct LampLine {
    int y = 0;
    QColor color;
    QString text;
  };

  explicit CIoStatusStatic(QWidget* parent = nullptr);
  ~CIoStatusStatic() override;

  // Not owned; without a source both axes show as not at their origin.
  void SetSource(IoStatusSource* source) { source_ = source; }
  int LightTest() const { return lightTest_; }
  void SetLightTest(int on) { lightTest_ = on; }
  // The needle button of the hardware test flips it.
  void ToggleLightTest() { lightTest_ = !lightTest_; }

  // Reads the machine and gives the three lines as the next paint draws them
  // (X at y 40, light test at 80, Y at 120). Zeroes the hardware test's step
  // counters and stores the input byte like the paint does.
  std::array<LampLine, 3> ReadLines();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  IoStatusSource* source_ = nullptr;
  int lightTest_ = 0;
};
