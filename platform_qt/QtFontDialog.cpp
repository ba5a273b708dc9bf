#include "platform_qt/QtFontDialog.h"

#include <QApplication>
#include <QFontDialog>
#include <cstdlib>

namespace platform_qt {

std::optional<platform::FontChoice> QtFontDialog::Ask(const platform::FontChoice& initial) {
  QFont font(QString::fromStdString(initial.faceName));
  if (initial.height != 0) font.setPixelSize(std::abs(initial.height));
  font.setWeight(static_cast<QFont::Weight>(initial.weight >= 1 && initial.weight <= 1000 ? initial.weight : 400));
  font.setItalic(initial.italic);
  QFontDialog dialog(font, QApplication::activeWindow());
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QFont chosen = dialog.selectedFont();
  platform::FontChoice out;
  out.faceName = chosen.family().toStdString();
  const int pixels = chosen.pixelSize() > 0 ? chosen.pixelSize() : chosen.pointSize();
  out.height = -pixels;
  out.weight = static_cast<int>(chosen.weight());
  out.italic = chosen.italic();
  return out;
}

}  // namespace platform_qt
