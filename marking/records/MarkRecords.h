#pragma once
// What the marking job does with the records: open the database at job start
// and refuse items already marked, and append one record per good pass.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "marking/records/CMarkDatabase.h"
#include "marking/records/MarkRecord.h"
#include "marking/records/MarkTime.h"

namespace marking {

// One drawing element (index 1 on) as the records see it. Texts are the
// document's code page 936 bytes.
struct MarkRecordItem {
  int type = 0;              // ObjectType code
  int queryKey = 0;          // database role (element key 111): 1 main key, 2 second key
  bool markEnabled = true;   // attribute bit 0
  bool pathSkipped = false;  // attribute bit 2
  // CObjElement::GetText: what was last marked (the text for plain texts and dates).
  std::string markedText;
  // The text about to be marked, looked up before the job: the 17 characters
  // of a vehicle identification number (type 17), the full composed text of
  // a serial number (type 16), the code text of a barcode (type 19).
  std::string currentText;
};

inline constexpr const char* kAlreadyMarkedQuestion =
    "Current information:\n(1)VINCode or\n(2)Auto number or\n(3)Barcode\nhad marked!\nAre you terminate the working?";

struct MarkRecordJobOptions {
  bool airOn = false;        // MarkStatusWord bit 0x40 for this job
  bool checkMarked = false;  // CheckMarkVin: refuse items already recorded
  // Called when the operator stops the job at the duplicate question, after
  // the database was closed: hide the marking display, post WM_MARK_FINISHED (0).
  std::function<void()> onOperatorStop;
};

// At job start. Without air the database stays closed. Otherwise it is
// opened (a failure leaves it closed and the job runs without records); with
// the check on, an item already recorded asks the operator whether to stop.
// Returns 1 to go on, 0 when the operator stopped the job.
int OpenMarkDatabase(const std::vector<MarkRecordItem>& items, CMarkDatabase& db, const MarkRecordJobOptions& options);

// True when one of the items' current codes is already recorded, as a whole
// text: the VIN in 主关键字, the serial number in 流水号, the code in 二维码.
bool FindMarkRecord(CMarkDatabase& db, const std::vector<MarkRecordItem>& items);

// The record of the items just marked; nullopt when no key, serial-number or
// code text is there (all four columns would be "缺省").
std::optional<MarkRecord> BuildMarkRecord(const std::vector<MarkRecordItem>& items, const MarkTime& time);

// Appends the record of the items just marked when there is one and the
// database is open. Errors are not shown; returns whether a row was written.
bool InsertMarkRecord(CMarkDatabase& db, const std::vector<MarkRecordItem>& items,
                      const MarkTime& time = MarkTime::Now());

}  // namespace marking
