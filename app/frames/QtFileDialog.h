#pragma once
// The open and save dialogs of the program on Qt's file dialog.
#include <QStringList>
#include <string>

#include "platform/FileDialog.h"

class QtFileDialog : public platform::FileDialog {
 public:
  std::optional<std::string> Ask(const platform::FileDialogRequest& request) override;
};

// "label|pattern|label|pattern||" as Qt's name filters ("label (pattern)",
// patterns separated by blanks, also where the label names them with ';').
QStringList ToQtNameFilters(const std::string& filter);
