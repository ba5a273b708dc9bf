#pragma once
// The colour chooser on Qt's colour dialog.
#include "platform/ColorDialog.h"

namespace platform_qt {

class QtColorDialog : public platform::ColorDialog {
 public:
  std::optional<COLORREF> Ask(const platform::ColorDialogRequest& request) override;
};

}  // namespace platform_qt
