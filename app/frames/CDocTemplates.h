#pragma once
// The two document templates: layouts open in child frames of the main
// window (multi-document), and the marking display is a frame of its own on
// an open layout (single-document).
#include <QPointer>
#include <memory>
#include <string>
#include <vector>

#include "app/frames/DocStrings.h"

class CVendrikDoc;

class CChildFrame;
class CDisMarkFrame;
class CMainFrame;
class QWidget;

class CMultiDocTemplate {
 public:
  void SetMainFrame(CMainFrame* frame) { mainFrame_ = frame; }
  // A new layout for an empty path, else the layout of the file (its layout
  // view reads it when the document's load request arrives). Returns the
  // child frame; null when none could be made or the file cannot be read.
  CChildFrame* OpenDocumentFile(const std::string& path, bool makeVisible = true);
  // Child frames of the open layouts, oldest first.
  std::vector<CChildFrame*> Frames() const;

 private:
  CMainFrame* mainFrame_ = nullptr;
  int untitled_ = 0;
  std::vector<QPointer<CChildFrame>> frames_;
};

class CSingleDocTemplate {
 public:
  // A display frame on the document, created and initially updated, hidden.
  CDisMarkFrame* CreateFrame(std::shared_ptr<CVendrikDoc> document, QWidget* parent);
};
