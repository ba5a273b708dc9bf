#include "app/frames/CDocTemplates.h"

#include <QMdiArea>
#include <filesystem>
#include <fstream>

#include "values/ShellMessages.h"
#include "app/frames/CChildFrame.h"
#include "app/frames/CDisMarkFrame.h"
#include "app/frames/CMainFrame.h"
#include "app/frames/CVendrikApp.h"
#include "app/views/CVendrikView.h"
#include "document/doc/CVendrikDoc.h"
#include "platform_qt/UiThreadPost.h"

CChildFrame* CMultiDocTemplate::OpenDocumentFile(const std::string& path, bool makeVisible) {
  if (mainFrame_ == nullptr) return nullptr;
  auto document = std::make_shared<CVendrikDoc>();
  // Every file stored goes first in the recent files, on the window thread.
  document->SetSavedListener([](const std::string& stored) {
    platform_qt::PostToUiThread([stored] {
      if (CVendrikApp* app = CVendrikApp::Instance()) app->AddRecentFile(stored);
    });
  });
  if (path.empty()) {
    document->SetTitle(DocStringLine(kDocString129, 1) + std::to_string(++untitled_));
  } else {
    // The file must be there and readable before a window is made for it.
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec) || !std::ifstream(path, std::ios::binary)) return nullptr;
    document->SetTitle(std::filesystem::path(path).filename().string());
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
  // The document hands the path to its layout view; the request is posted,
  // so it is read after the initial update below has set the view up.
  if (!path.empty()) document->Serialize(true, path);
  frame->InitialUpdateFrame();
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

CDisMarkFrame* CSingleDocTemplate::CreateFrame(std::shared_ptr<CVendrikDoc> document, QWidget* parent) {
  auto* frame = new CDisMarkFrame(std::move(document), parent);
  if (!frame->LoadFrame(kDocString129)) {
    delete frame;
    return nullptr;
  }
  return frame;
}
