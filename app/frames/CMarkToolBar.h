#pragma once
// The record-number bar ("Excel data"): an edit with the number of the
// spreadsheet record to mark next. A confirmed number is posted to the main
// frame as WM_NEXT_RECORD, which passes it on to the layout view.
#include <QToolBar>

#include "platform/Messages.h"

class CNotifyEdit;

constexpr int ID_MARK_TOOLBAR = 184;
constexpr int ID_RECORD_EDIT = 1179;

class CMarkToolBar : public QToolBar {
 public:
  explicit CMarkToolBar(QWidget* parent = nullptr);
  // Builds the bar with its record edit; requests go to `parentTarget`.
  bool Create(QWidget* parent, platform::MessageTarget* parentTarget, unsigned style, int id);

  CNotifyEdit* Edit() const { return edit_; }
  int CurrentRecord() const { return record_; }
  // EDITN_KEY from the record edit (which key does not matter).
  void OnEditKey(int key);
  void SetRecordText(int n);
  void EnableRecordEdit(bool enable);

 private:
  CNotifyEdit* edit_ = nullptr;
  platform::MessageTarget* parentTarget_ = nullptr;
  int record_ = 1;
};
