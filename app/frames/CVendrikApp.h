#pragma once
// The application object: runs the start-up, holds the two document
// templates and the main frame, and handles About and New.
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/core/CommandRunner.h"
#include "app/core/RecentFileList.h"
#include "app/core/StartupSteps.h"
#include "app/frames/CDocTemplates.h"
#include "app/frames/CommandMap.h"

class QPrinter;
class CChildFrame;
class CMainFrame;
class CVendrikView;
class ProcessTable;

// What the start-up takes from the machine; tests replace each part.
struct AppEnvironment {
  ProcessTable* processes = nullptr;  // null: the system's process table
  std::string ownExePath;             // empty: this process's executable
  int ownPid = 0;                     // 0: this process
  // The configured port board; unset: taken from $VENDRIK_PORT_BACKEND.
  std::optional<std::function<std::shared_ptr<platform::PortSpace>()>> portBoard;
  std::optional<ScreenMetrics> screen;  // unset: the primary screen
  CommandRunner runner;                 // null: run the xdg tools
  bool show = true;                     // false: the main window stays hidden
};

class CVendrikApp {
 public:
  explicit CVendrikApp(AppEnvironment environment = {});
  ~CVendrikApp();
  CVendrikApp(const CVendrikApp&) = delete;
  CVendrikApp& operator=(const CVendrikApp&) = delete;

  // The start-up sequence; true when the main window is up. Arguments
  // without the program name (a ".mrk" path opens that layout).
  bool InitInstance(const QStringList& arguments);

  static CVendrikApp* Instance();
  CMainFrame* MainFrame() const { return mainFrame_.get(); }
  CSingleDocTemplate& DisplayTemplate() { return displayTemplate_; }
  // The layout view of the first open layout, or null.
  CVendrikView* FindFirstLayoutView() const;

  // Opens a layout (a new one for an empty path) and puts a file into the
  // recent-file list; null when it cannot be opened.
  CChildFrame* OpenDocumentFile(const std::string& path);
  const CRecentFileList& RecentFiles() const { return recent_; }
  // A file opened or saved: first in the recent-file list, which is saved.
  void AddRecentFile(const std::string& path);
  void OnOpenRecentFile(int index);

  void OnAppAbout();
  // "Print setup": the page setup dialog on the program's printer.
  void OnFilePrintSetup();
  // The printer every print of the program goes to, with the settings the
  // operator chose in "Print setup" (made on first use).
  QPrinter& Printer();
  void OnFileNew();
  void OnFileOpen();

  // Routes a command: active layout window (view, then frame), main frame,
  // application. With execute false only tells whether someone handles it.
  bool OnCmdMsg(int id, bool execute);
  // Whether anyone on that route has a handler for the command, whatever
  // its state (a command without one would be dead).
  bool HasCommandHandler(int id) const;

 private:
  ScreenMetrics PrimaryScreen() const;
  bool ProcessShellCommand(const QStringList& arguments);
  void LoadStdProfileSettings();
  void SaveRecentFiles() const;

  AppEnvironment env_;
  CMultiDocTemplate layoutTemplate_;
  CSingleDocTemplate displayTemplate_;
  std::unique_ptr<CMainFrame> mainFrame_;
  CommandMap commands_;
  CRecentFileList recent_{4};
  std::unique_ptr<QPrinter> printer_;
};
