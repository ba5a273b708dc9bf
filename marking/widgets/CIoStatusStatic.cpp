#include "marking/widgets/CIoStatusStatic.h"

#include <QPainter>
#include <algorithm>

namespace {

constexpr int kBoardUsb = 1;
constexpr int kTextLeft = 30;
const QColor kRed(255, 0, 0);
const QColor kGreen(0, 255, 0);

}  // namespace

CIoStatusStatic::CIoStatusStatic(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }

CIoStatusStatic::~CIoStatusStatic() = default;

std::array<CIoStatusStatic::LampLine, 3> CIoStatusStatic::ReadLines() {
  std::array<LampLine, 3> lines;
  lines[1] = lightTest_ ? LampLine{80, kRed, QStringLiteral("现在出光测试")}
                        : LampLine{80, kGreen, QStringLiteral("现在停止出光测试")};
  if (!source_) {
    lines[0] = LampLine{40, kRed, QStringLiteral("X没到位")};
    lines[2] = LampLine{120, kRed, QStringLiteral("Y没到位")};
    return lines;
  }
  const BYTE levels = source_->OriginLevels();
  const int xLevel = levels & 0x01;
  const int yLevel = (levels >> 1) & 0x01;
  const bool usb = source_->BoardType() == kBoardUsb;
  int xBit;
  int yBit;
  if (usb) {
    const BYTE status = source_->BoardStatus();
    xBit = (status >> 2) & 0x01;
    yBit = (status >> 3) & 0x01;
  } else {
    // Two readings ANDed, so a bouncing origin switch does not light the lamp.
    const BYTE first = source_->ReadInputPort();
    const BYTE second = source_->ReadInputPort();
    const BYTE both = static_cast<BYTE>(first & second);
    source_->StoreLastInput(both);
    xBit = (both >> 7) & 0x01;
    yBit = (both >> 5) & 0x01;
  }
  if (xBit != xLevel) {
    lines[0] = LampLine{40, kRed, QStringLiteral("X没到位")};
  } else {
    lines[0] = LampLine{40, kGreen, QStringLiteral("X到位")};
    if (usb) source_->ZeroStepCounter(0);
  }
  if (yBit != yLevel) {
    lines[2] = LampLine{120, kRed, QStringLiteral("Y没到位")};
  } else {
    lines[2] = LampLine{120, kGreen, QStringLiteral("Y到位")};
    if (usb) source_->ZeroStepCounter(1);
  }
  return lines;
}

void CIoStatusStatic::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::black);
  painter.setBackgroundMode(Qt::TransparentMode);
  for (const LampLine& line : ReadLines()) {
    painter.setPen(line.color);
    painter.drawText(QRect(kTextLeft, line.y, std::max(0, width() - kTextLeft), fontMetrics().height()),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, line.text);
  }
}
