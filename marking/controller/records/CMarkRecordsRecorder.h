#pragma once
// The marking-record database as a job uses it: opened at job start (with
// the duplicate question when asked), one record per good pass, closed at the
// end. Made on the main thread; every other call comes from the thread that
// runs the job, which closes the connection before it ends.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "marking/controller/MarkInterfaces.h"
#include "marking/records/MarkDatabaseLocation.h"
#include "marking/records/MarkRecords.h"

namespace marking {
class CMarkDatabase;
}

class CMarkRecordsRecorder : public IMarkRecorder {
 public:
  // The element's text as the records take it (code page 936 bytes).
  using TextOf = std::function<std::string(const CObjElement&)>;

  // textOf: what was marked (default CObjElement::GetText); currentTextOf:
  // what is about to be marked, looked up before a job (default: textOf).
  explicit CMarkRecordsRecorder(marking::MarkDatabaseLocation location = marking::MarkDatabaseLocation::FromSettings(),
                                TextOf textOf = {}, TextOf currentTextOf = {});
  ~CMarkRecordsRecorder() override;

  int Open(IMarkDocument& document, bool airOn, bool checkMarked) override;
  bool IsOpen() const override;
  void Insert(IMarkDocument& document) override;
  void Close() override;

  // The items of a document (elements from index 1) as the records see them;
  // with lookUp also the texts about to be marked. Those are read at job
  // start only: while the job runs the window thread steps them on.
  std::vector<marking::MarkRecordItem> Items(IMarkDocument& document, bool lookUp) const;
  const marking::MarkDatabaseLocation& Location() const { return location_; }

 private:
  marking::MarkDatabaseLocation location_;
  TextOf textOf_;
  TextOf currentTextOf_;
  std::unique_ptr<marking::CMarkDatabase> db_;
};
