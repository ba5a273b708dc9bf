#include "app/frames/CVendrikApp.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QScreen>
#include <QSettings>
#include <QVBoxLayout>
#include <filesystem>

#include "app/core/CProcessKiller.h"
#include "app/core/CommandIds.h"
#include "app/core/MrkAssociation.h"
#include "app/frames/CChildFrame.h"
#include "app/frames/CMainFrame.h"
#include "app/frames/FrameProfile.h"
#include "app/frames/DocStrings.h"
#include "app/views/CVendrikView.h"
#include "values/ShellValues.h"
#include "libs/vendrikdll/CVendrikDll.h"
#include "document/doc/CVendrikDoc.h"
#include "document/mrk/MrkFile.h"
#include "platform/FileDialog.h"
#include "platform/Prompt.h"
#include "text/objects/ObjectClasses.h"

namespace {

CVendrikApp* g_app = nullptr;

// The port board library's object, kept for the whole run; its destruction
// at exit closes bridge device 0.
CVendrikDll g_vendrikDll;

// The About box (dialog 100): title, version and OK.
void ShowAboutDialog(QWidget* parent) {
  QDialog dialog(parent);
  dialog.setWindowTitle("About Vendrik");
  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(new QLabel(QString::fromUtf8(kMainTitle130), &dialog));
  layout->addWidget(new QLabel(QString("Version %1").arg(QApplication::applicationVersion()), &dialog));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  layout->addWidget(buttons);
  dialog.exec();
}

}  // namespace

CVendrikApp::CVendrikApp(AppEnvironment environment) : env_(std::move(environment)) {
  g_app = this;
  commands_.On(cmd::ID_APP_ABOUT, [this] { OnAppAbout(); });
  commands_.On(cmd::ID_FILE_NEW, [this] { OnFileNew(); });
  commands_.On(cmd::ID_NEW_LAYOUT, [this] { OnFileNew(); });
  commands_.On(cmd::ID_FILE_OPEN, [this] { OnFileOpen(); });
  commands_.On(cmd::ID_FILE_PRINT_SETUP, [this] { OnFilePrintSetup(); });
  for (int i = 0; i <= cmd::ID_FILE_MRU_FILE4 - cmd::ID_FILE_MRU_FILE1; ++i) {
    commands_.On(cmd::ID_FILE_MRU_FILE1 + i, [this, i] { OnOpenRecentFile(i); });
  }
}

CVendrikApp::~CVendrikApp() {
  mainFrame_.reset();
  if (g_app == this) g_app = nullptr;
}

CVendrikApp* CVendrikApp::Instance() { return g_app; }

QPrinter& CVendrikApp::Printer() {
  if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  return *printer_;
}

void CVendrikApp::OnFilePrintSetup() {
  // The dialog changes the printer only when the operator confirms it.
  QPageSetupDialog dialog(&Printer(), mainFrame_.get());
  dialog.setWindowTitle("Print setup");
  dialog.exec();
}

ScreenMetrics CVendrikApp::PrimaryScreen() const {
  ScreenMetrics m;
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect geometry = screen->geometry();
    const QSizeF size = screen->physicalSize();
    m.horzRes = geometry.width();
    m.vertRes = geometry.height();
    m.horzSizeMm = size.width();
    m.vertSizeMm = size.height();
  }
  return m;
}

bool CVendrikApp::InitInstance(const QStringList& arguments) {
  // 1. One running copy.
  ProcProcessTable systemTable;
  ProcessTable& table = env_.processes != nullptr ? *env_.processes : systemTable;
  EndOtherCopies(table, env_.ownPid != 0 ? env_.ownPid : OwnProcessId(),
                 env_.ownExePath.empty() ? OwnExecutablePath() : env_.ownExePath);

  // 2.-5. Port access, port base, installation folder, counter.
  const auto board = env_.portBoard ? (*env_.portBoard)() : ConfiguredPortBoard();
  if (!OpenPortAccess(board)) return false;
  ReadPortBase();
  ReadInstallFolder();
  if (!CalibrateCounter()) return false;

  // 7. Millimetres to screen pixels.
  SetScreenScale(env_.screen ? *env_.screen : PrimaryScreen());

  // 8. The frame's profile with its recent-file list.
  LoadStdProfileSettings();

  // 9.-10. Templates and the main frame.
  RegisterObjectClasses();
  mainFrame_ = std::make_unique<CMainFrame>(this);
  layoutTemplate_.SetMainFrame(mainFrame_.get());
  if (!mainFrame_->LoadFrame()) {
    mainFrame_.reset();
    return false;
  }

  // 11.-13. Command line, title, maximised window.
  if (!ProcessShellCommand(arguments)) {
    mainFrame_.reset();
    return false;
  }
  mainFrame_->UpdateFrameTitle();
  if (env_.show) mainFrame_->ActivateFrame();

  // 14. The ".mrk" association, once.
  MrkAssociation association(env_.runner ? env_.runner : CommandRunner(RunCommand),
                             env_.ownExePath.empty() ? OwnExecutablePath() : env_.ownExePath, g_installDir);
  association.RegisterOnce();
  return true;
}

bool CVendrikApp::ProcessShellCommand(const QStringList& arguments) {
  for (const QString& arg : arguments) {
    if (arg.startsWith('-')) continue;  // options of the toolkit
    if (OpenDocumentFile(arg.toStdString()) == nullptr) {
      platform::MessageBox("Failed to open document.");
      return false;
    }
    return true;
  }
  return layoutTemplate_.OpenDocumentFile(std::string()) != nullptr;
}

CVendrikView* CVendrikApp::FindFirstLayoutView() const {
  for (CChildFrame* frame : layoutTemplate_.Frames()) {
    if (frame->LayoutView() != nullptr) return frame->LayoutView();
  }
  return nullptr;
}

void CVendrikApp::OnAppAbout() { ShowAboutDialog(mainFrame_.get()); }

void CVendrikApp::OnFileNew() { OpenDocumentFile(std::string()); }

CChildFrame* CVendrikApp::OpenDocumentFile(const std::string& path) {
  CChildFrame* frame = layoutTemplate_.OpenDocumentFile(path);
  if (frame != nullptr) AddRecentFile(path);
  return frame;
}

void CVendrikApp::AddRecentFile(const std::string& path) {
  if (path.empty() || (!recent_.Entries().empty() && recent_.Entries().front() == path)) return;
  recent_.Add(path);
  SaveRecentFiles();
}

namespace {

// A file that is gone, or that the project reader refuses (it says why),
// gets no window and no recent entry.
bool ReaderTakes(const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return false;
  CObjPtrArray probe;
  return ReadMrkFile(path, probe) != 0;
}

}  // namespace

void CVendrikApp::OnOpenRecentFile(int index) {
  if (index < 0 || index >= static_cast<int>(recent_.Entries().size())) return;
  const std::string path = recent_.Entries()[static_cast<std::size_t>(index)];
  if (!ReaderTakes(path)) {
    platform::MessageBox("Failed to open document.");
    recent_.Remove(index);
    SaveRecentFiles();
    return;
  }
  // Like File Open, the active layout reads it, once the operator was asked
  // about its changes; without a layout window it opens in a new one.
  CChildFrame* child = mainFrame_ != nullptr ? mainFrame_->ActiveChildFrame() : nullptr;
  if (child != nullptr && child->LayoutView() != nullptr) {
    child->LayoutView()->Model().OpenProjectFile(path);  // the view lists what it read
    return;
  }
  if (OpenDocumentFile(path) == nullptr) {
    platform::MessageBox("Failed to open document.");
    recent_.Remove(index);
    SaveRecentFiles();
  }
}

void CVendrikApp::LoadStdProfileSettings() {
  QSettings profile(FrameProfilePath(), QSettings::IniFormat);
  profile.beginGroup(kRecentFileSection);
  std::vector<std::string> entries;
  for (int i = 1; i <= recent_.Size(); ++i) {
    const QString path = profile.value(QString("File%1").arg(i)).toString();
    if (!path.isEmpty()) entries.push_back(path.toStdString());
  }
  recent_.SetEntries(entries);
}

void CVendrikApp::SaveRecentFiles() const {
  QSettings profile(FrameProfilePath(), QSettings::IniFormat);
  profile.remove(kRecentFileSection);
  profile.beginGroup(kRecentFileSection);
  int i = 1;
  for (const std::string& path : recent_.Entries()) profile.setValue(QString("File%1").arg(i++), QString::fromStdString(path));
  profile.endGroup();
}

void CVendrikApp::OnFileOpen() {
  // Without a layout window: the project opens in a new one. (With one, the
  // active layout view reads it.)
  platform::FileDialogRequest request;
  request.save = false;
  request.defaultExt = "*.mrk";
  request.filter = kMrkFilter;
  request.flags = platform::OFN_HIDEREADONLY | platform::OFN_OVERWRITEPROMPT;
  const std::optional<std::string> path = platform::AskFile(request);
  if (!path || !ReaderTakes(*path)) return;
  if (OpenDocumentFile(*path) == nullptr) platform::MessageBox("Failed to open document.");
}

bool CVendrikApp::HasCommandHandler(int id) const {
  if (mainFrame_) {
    if (const CChildFrame* child = mainFrame_->ActiveChildFrame(); child != nullptr && child->HasCommandHandler(id)) {
      return true;
    }
    if (mainFrame_->HasCommandHandler(id)) return true;
  }
  return commands_.Has(id);
}

bool CVendrikApp::OnCmdMsg(int id, bool execute) {
  if (mainFrame_) {
    if (CChildFrame* child = mainFrame_->ActiveChildFrame(); child != nullptr && child->OnCmdMsg(id, execute)) {
      return true;
    }
    if (mainFrame_->OnCmdMsg(id, execute)) return true;
  }
  if (id >= cmd::ID_FILE_MRU_FILE1 && id <= cmd::ID_FILE_MRU_FILE4 &&
      id - cmd::ID_FILE_MRU_FILE1 >= static_cast<int>(recent_.Entries().size())) {
    return false;
  }
  if (!commands_.Has(id)) return false;
  return execute ? commands_.Run(id) : true;
}
