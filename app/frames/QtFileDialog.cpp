#include "app/frames/QtFileDialog.h"

#include <QApplication>
#include <QFileDialog>

QStringList ToQtNameFilters(const std::string& filter) {
  const QStringList parts = QString::fromUtf8(filter.c_str()).split('|');
  QStringList out;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    const QString label = parts[i].trimmed();
    QString pattern = parts[i + 1].trimmed();
    if (label.isEmpty() && pattern.isEmpty()) break;  // the closing "||"
    pattern.replace(';', ' ');
    // Qt takes the patterns from the parentheses of the label and splits
    // them at blanks only: "(*.bmp;*.dib)" would be one pattern that names no file.
    const qsizetype open = label.lastIndexOf('(');
    if (open < 0) {
      out << QString("%1 (%2)").arg(label, pattern.simplified());
      continue;
    }
    QString inner = label.mid(open);
    inner.replace(';', ' ');
    out << label.left(open) + inner.simplified().replace("( ", "(").replace(" )", ")");
  }
  return out;
}

std::optional<std::string> QtFileDialog::Ask(const platform::FileDialogRequest& request) {
  QFileDialog dialog(QApplication::activeWindow());
  dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  const QStringList filters = ToQtNameFilters(request.filter);
  if (!filters.isEmpty()) dialog.setNameFilters(filters);
  QString suffix = QString::fromStdString(request.defaultExt);
  if (suffix.startsWith("*.")) suffix.remove(0, 2);
  if (suffix.startsWith('.')) suffix.remove(0, 1);
  if (!suffix.isEmpty()) dialog.setDefaultSuffix(suffix);
  if (!request.folder.empty()) dialog.setDirectory(QString::fromStdString(request.folder));
  // A full path as the file name opens in its own folder instead.
  if (!request.fileName.empty()) dialog.selectFile(QString::fromStdString(request.fileName));
  if (request.save && (request.flags & platform::OFN_OVERWRITEPROMPT) == 0) {
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().first().toStdString();
}
