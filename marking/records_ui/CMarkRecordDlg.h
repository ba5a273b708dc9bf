#pragma once
// The history of marked items: look records up by date range and keys, list
// them, and export the listed records to a new dated spreadsheet file.
#include <QDialog>
#include <array>
#include <string>
#include <vector>

#include "marking/records/MarkDatabaseLocation.h"
#include "marking/records/MarkRecord.h"
#include "marking/records/MarkRecordQuery.h"

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTreeWidget;

class CMarkRecordDlg : public QDialog {
 public:
  // The records come from `location`; exports go to `exportFolder` (the data
  // folder when empty).
  explicit CMarkRecordDlg(QWidget* parent = nullptr,
                          marking::MarkDatabaseLocation location = marking::MarkDatabaseLocation::FromSettings(),
                          std::string exportFolder = {});
  ~CMarkRecordDlg() override;

  // The look-up the dialog's controls describe now.
  marking::MarkRecordQuery CurrentQuery() const;
  // Clears the list and fills it with the records found. A database error
  // leaves the list empty without a message.
  void OnQuery();
  // Writes the listed records to a new file; "No install Excel driver!" when
  // that fails. Returns the file written, or empty.
  std::string OnExport();

  const std::vector<marking::MarkRecord>& ListedRecords() const { return listed_; }

 private:
  void BuildControls();
  void SetOpeningDates();

  marking::MarkDatabaseLocation location_;
  std::string exportFolder_;
  std::vector<marking::MarkRecord> listed_;

  std::array<QSpinBox*, 3> fromDate_{};  // year, month, day
  std::array<QSpinBox*, 3> toDate_{};
  std::array<QCheckBox*, marking::kMarkKeyColumns> keyChecks_{};
  std::array<QLineEdit*, marking::kMarkKeyColumns> keyEdits_{};
  QCheckBox* fuzzy_ = nullptr;
  QButtonGroup* mode_ = nullptr;
  QLabel* count_ = nullptr;
  QTreeWidget* list_ = nullptr;
  QPushButton* query_ = nullptr;
  QPushButton* export_ = nullptr;
};
