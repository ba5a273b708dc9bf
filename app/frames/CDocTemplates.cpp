#include "app/frames/CDocTemplates.h"

#include <QMdiArea>
#include <filesystem>

#include "app/core/ShellMessages.h"
#include "app/frames/CChildFrame.h"
#include "app/frames/CDisMarkFrame.h"
#include "app/frames/CMainFrame.h"
#include "app/views/CVendrikView.h"

CChildFrame* CMultiDocTemplate::OpenDocumentFile(const std::string& path, bool makeVisible) {
  if (mainFrame_ == nullptr) return nullptr;
  auto document = std::make_shared<ShellDocument>();
  if (path.empty()) {
    document->title = DocStringLine(kDocString129, 1) + std::to_string(++untitled_);
  } else {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return nullptr;
    document->path = path;
    document->title = std::filesystem::path(path).filename().string();
  }
  auto* frame = new CChildFrame(mainFrame_, document);
  const int clientWidth = mainFrame_->MdiArea()->viewport()->width();
  if (!frame->OnCreate() || !frame->OnCreateClient(clientWidth)) {
    delete frame;
    return nullptr;
  }
  mainFrame_->MdiArea()->addSubWindow(frame);
  frames_.erase(std::remove_if(frames_.begin(), frames_.end(), [](const auto& f) { return f.isNull(); }),
                frames_.end());
  frames_.emplace_back(frame);
  frame->InitialUpdateFrame();
  if (!document->path.empty()) {
    // The layout view reads the file when it gets the path.
    frame->LayoutView()->Target().PostMessage(WM_LOAD_MRK_FILE, 0, 0,
                                              std::make_shared<std::string>(document->path));
  }
  if (makeVisible) frame->ActivateFrame();
  return frame;
}

std::vector<CChildFrame*> CMultiDocTemplate::Frames() const {
  std::vector<CChildFrame*> out;
  for (const auto& f : frames_) {
    if (!f.isNull()) out.push_back(f.data());
  }
  return out;
}

CDisMarkFrame* CSingleDocTemplate::CreateFrame(std::shared_ptr<ShellDocument> document, QWidget* parent) {
  auto* frame = new CDisMarkFrame(std::move(document), parent);
  if (!frame->LoadFrame(kDocString129)) {
    delete frame;
    return nullptr;
  }
  return frame;
}
