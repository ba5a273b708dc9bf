#include "app/dialogs/CPltLibraryDlg.h"

#include <QDialogButtonBox>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>
#include <vector>

#include "text/exchange/hpgl_ui/CFileListCtrl.h"

CPltLibraryDlg::CPltLibraryDlg(const std::string& installFolder, QWidget* parent) : QDialog(parent) {
  setWindowTitle("PLT library");
  auto* layout = new QVBoxLayout(this);
  list_ = new CFileListCtrl(this);
  list_->setObjectName("list1062");
  layout->addWidget(list_);
  auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  QObject::connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
  QObject::connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(box);

  std::error_code error;
  const std::filesystem::path folder = std::filesystem::path(installFolder) / "PltFiles";
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    const std::string name = entry.path().filename().string();
    std::string ext = entry.path().extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    if (name.empty() || name.front() == '.' || ext != ".plt" || !entry.is_regular_file(error)) continue;
    files.push_back(entry.path().string());
  }
  std::sort(files.begin(), files.end());
  for (const std::string& file : files) {
    const int before = list_->GetDrawingCount();
    list_->LoadPltFile(file);
    // A row shows the drawing; its tip names the file.
    if (list_->GetDrawingCount() > before) list_->item(before)->setToolTip(QString::fromStdString(file));
  }
  list_->AddEmptyRows();
  QObject::connect(list_, &QListWidget::itemSelectionChanged, this, [this] { list_->OnClick(); });
}

bool CPltLibraryDlg::GetSelectedPoints(CPointList& list) const { return list_->GetSelectedPoints(list); }
