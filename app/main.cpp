#include <QApplication>

#include "app/frames/CVendrikApp.h"
#include "app/frames/QtFileDialog.h"
#include "platform/ColorDialog.h"
#include "platform/FileDialog.h"
#include "platform/KeyboardLocks.h"
#include "platform_qt/QtColorDialog.h"
#include "platform_qt/QtFontDialog.h"
#include "platform_qt/QtPictureDecoder.h"
#include "platform_qt/QtPrompt.h"
#include "platform_qt/QtPumpHook.h"
#include "platform_qt/XkbKeyboardLocks.h"

int main(int argc, char** argv) {
  QApplication qtApp(argc, argv);
  QApplication::setApplicationName("Vendrik");
  QApplication::setApplicationVersion("2011");
  platform::SetPrompt(std::make_shared<platform_qt::QtPrompt>());
  platform::SetFileDialog(std::make_shared<QtFileDialog>());
  platform::SetColorDialog(std::make_shared<platform_qt::QtColorDialog>());
  platform::SetFontDialog(std::make_shared<platform_qt::QtFontDialog>());
  platform::SetKeyboardLocks(std::make_shared<platform_qt::XkbKeyboardLocks>());
  platform_qt::InstallQtPumpHook();
  platform_qt::InstallQtPictureDecoder();
  QStringList arguments = QApplication::arguments();
  arguments.removeFirst();
  CVendrikApp app;
  if (!app.InitInstance(arguments)) return 1;
  return QApplication::exec();
}
