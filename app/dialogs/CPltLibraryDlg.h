#pragma once
// Dialog 208, the drawing library of the special-picture tool: every plot
// file of the installation's "PltFiles" folder previewed in list 1062; on
// OK the chosen drawing's points are handed over.
#include <QDialog>
#include <string>

#include "document/geometry/CPointList.h"

class CFileListCtrl;

class CPltLibraryDlg : public QDialog {
 public:
  explicit CPltLibraryDlg(const std::string& installFolder, QWidget* parent = nullptr);
  // The chosen drawing's points; false when nothing is chosen or the file
  // gave no points.
  bool GetSelectedPoints(CPointList& list) const;
  CFileListCtrl* List() const { return list_; }

 private:
  CFileListCtrl* list_;
};
