#include "tests/app/frames/FramesFixture.h"

#include <QCoreApplication>
#include <cstdlib>
#include <filesystem>

#include "platform/Clock.h"
#include "platform/InstallDir.h"
#include "platform/PortIo.h"
#include "tests/support/WaitFor.h"
#include "text/layout/MissingFontNotices.h"

namespace {

class LoggingBoard : public platform::SimulatedPortSpace {
 public:
  explicit LoggingBoard(std::vector<std::string>& log) : log_(log) {}
  bool Initialize() override {
    log_.push_back("port");
    return SimulatedPortSpace::Initialize();
  }

 private:
  std::vector<std::string>& log_;
};

std::string TestName() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  return std::string(info->test_suite_name()) + "." + info->name();
}

}  // namespace

void EnsureQtApplication() {
  static int argc = 1;
  static char name[] = "test_app_frames";
  static char* argv[] = {name, nullptr};
  // Never destroyed: tearing Qt down in the exit handlers crashes.
  static QApplication* app = new QApplication(argc, argv);
  (void)app;
}

void PumpQt() {
  QCoreApplication::sendPostedEvents();
  QCoreApplication::processEvents();
}

bool PumpQtUntil(const std::function<bool()>& done, std::chrono::seconds bound) {
  return WaitUntil(
      [&] {
        if (done()) return true;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return done();
      },
      bound);
}

void FramesTest::SetUp() {
  EnsureQtApplication();
  // Own configuration and data folders, so tests running side by side never
  // share the frame's profile or settings files.
  const std::string base = platform::DefaultDataFolder() + "/" + TestName();
  std::filesystem::remove_all(base);
  folder_ = base + "/install";
  std::filesystem::create_directories(folder_);
  // The default stroke and dot fonts, where the run script installs them.
  std::error_code ec;
  for (const char* font :
       {"KelTxt2.shx", "GOLD.shx", "Xc18.shx", "Dot5x7Font.dot", "HZK12", "HZK16", "HZK24F", "HZK24Z"}) {
    const std::filesystem::path built = std::filesystem::path(VENDRIK_BINARY_DIR) / "fonts" / font;
    if (!std::filesystem::exists(built, ec)) continue;
    std::filesystem::create_directories(folder_ + "/Fonts", ec);
    std::filesystem::copy_file(built, folder_ + "/Fonts/" + font, ec);
  }
  ::setenv("VENDRIK_CONFIG_DIR", (base + "/config").c_str(), 1);
  ::unsetenv("VENDRIK_SERIAL_DEVICE");  // no board link in these tests
  settings_ = platform::MakeMemorySettingsStore();
  settings_->CreateKey(platform::kRegistryKey);
  settings_->WriteString(platform::kRegistryKey, "FontPath", folder_);
  platform::SetSettingsStore(settings_);
  prompt_ = std::make_shared<platform::ScriptedPrompt>();
  platform::SetPrompt(prompt_);
  locks_ = std::make_shared<platform::ScriptedKeyboardLocks>();
  platform::SetKeyboardLocks(locks_);
  platform::SetClock(std::make_shared<platform::SteadyClock>());
  processes_ = std::make_unique<LoggingProcessTable>(log_);
  // Fonts found missing in an earlier test are told again in this one.
  SetFontNotices(std::make_shared<MissingFontNotices>());
}

void FramesTest::TearDown() {
  Stop();
  PumpQt();
}

AppEnvironment FramesTest::Environment() {
  AppEnvironment env;
  env.processes = processes_.get();
  env.ownExePath = "/opt/vendrik/bin/vendrik";
  env.ownPid = 1000;
  env.portBoard = [this] { return std::make_shared<LoggingBoard>(log_); };
  env.screen = ScreenMetrics{1600, 1200, 400.0, 300.0};
  env.runner = [this](const std::vector<std::string>& argv) {
    xdgCalls_.push_back(argv);
    log_.push_back(argv.empty() ? std::string() : argv[0]);
    return 0;
  };
  env.show = true;
  return env;
}

bool FramesTest::Start(const QStringList& arguments) {
  app_ = std::make_unique<CVendrikApp>(Environment());
  const bool ok = app_->InitInstance(arguments);
  PumpQt();
  return ok;
}

void FramesTest::Stop() { app_.reset(); }

std::string FramesTest::CopyLayoutFixture(const std::string& name) {
  const std::string path = folder_ + "/" + name;
  std::filesystem::copy_file(std::string(VENDRIK_TEST_DATA_DIR) + "/mrk/layout2008.mrk", path,
                             std::filesystem::copy_options::overwrite_existing);
  return path;
}
