#include "marking/controller/records/CMarkRecordsRecorder.h"

#include "document/objects/CObjElement.h"
#include "marking/records/CMarkDatabase.h"

CMarkRecordsRecorder::CMarkRecordsRecorder(marking::MarkDatabaseLocation location, TextOf textOf, TextOf currentTextOf)
    : location_(std::move(location)), textOf_(std::move(textOf)), currentTextOf_(std::move(currentTextOf)) {
  marking::PrepareMarkDatabases(location_);
}

CMarkRecordsRecorder::~CMarkRecordsRecorder() { Close(); }

std::vector<marking::MarkRecordItem> CMarkRecordsRecorder::Items(IMarkDocument& document, bool lookUp) const {
  std::vector<marking::MarkRecordItem> items;
  for (int i = 1; i < document.GetElementCount(); ++i) {
    const CObjElement* e = document.GetElement(i);
    if (!e) continue;
    marking::MarkRecordItem item;
    item.type = e->type;
    item.queryKey = e->queryKey;
    item.markEnabled = e->IsMarkEnabled() != 0;
    item.pathSkipped = e->GetFlag2() != 0;
    item.markedText = textOf_ ? textOf_(*e) : e->GetText();
    if (lookUp) item.currentText = currentTextOf_ ? currentTextOf_(*e) : item.markedText;
    items.push_back(std::move(item));
  }
  return items;
}

int CMarkRecordsRecorder::Open(IMarkDocument& document, bool airOn, bool checkMarked) {
  Close();
  if (!airOn) return 1;
  // The connection belongs to the thread that opens it: make it here.
  db_ = std::make_unique<marking::CMarkDatabase>(location_);
  marking::MarkRecordJobOptions options;
  options.airOn = airOn;
  options.checkMarked = checkMarked;
  const int goOn = marking::OpenMarkDatabase(Items(document, true), *db_, options);
  if (!goOn || !db_->IsOpen()) db_.reset();
  return goOn;
}

bool CMarkRecordsRecorder::IsOpen() const { return db_ && db_->IsOpen(); }

void CMarkRecordsRecorder::Insert(IMarkDocument& document) {
  if (IsOpen()) marking::InsertMarkRecord(*db_, Items(document, false));
}

void CMarkRecordsRecorder::Close() {
  if (db_) db_->Close();
  db_.reset();
}
