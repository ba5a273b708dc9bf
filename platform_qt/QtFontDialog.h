#pragma once
// The font chooser on Qt's font dialog, which lists the system's fonts.
#include "platform/FontDialog.h"

namespace platform_qt {

class QtFontDialog : public platform::FontDialog {
 public:
  std::optional<platform::FontChoice> Ask(const platform::FontChoice& initial) override;
};

}  // namespace platform_qt
