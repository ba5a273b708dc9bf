#include "platform_qt/QtColorDialog.h"

#include <QApplication>
#include <QColorDialog>

namespace platform_qt {

std::optional<COLORREF> QtColorDialog::Ask(const platform::ColorDialogRequest& request) {
  const COLORREF c = request.initial;
  QColorDialog dialog(QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF), QApplication::activeWindow());
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QColor chosen = dialog.selectedColor();
  return RGB(chosen.red(), chosen.green(), chosen.blue());
}

}  // namespace platform_qt
