#include "marking/records/MarkRecords.h"

#include "platform/Cp936.h"
#include "platform/Prompt.h"

namespace marking {

namespace {

constexpr int kTypeSerialNumber = 16;
constexpr int kTypeVin = 17;
constexpr int kTypeBarcode = 19;
constexpr std::size_t kVinLength = 17;

void Join(std::string& column, const std::string& gbkText) {
  if (gbkText.empty()) return;
  if (!column.empty()) column += kMarkJoin;
  column += platform::Cp936ToUtf8(gbkText);
}

}  // namespace

int OpenMarkDatabase(const std::vector<MarkRecordItem>& items, CMarkDatabase& db, const MarkRecordJobOptions& options) {
  if (!options.airOn) return 1;
  if (!db.Open()) return 1;
  if (options.checkMarked && FindMarkRecord(db, items)) {
    int answer = platform::MessageBox(kAlreadyMarkedQuestion, "Vendrik", MB_YESNO | MB_ICONQUESTION);
    if (answer == IDYES) {
      db.Close();
      if (options.onOperatorStop) options.onOperatorStop();
      return 0;
    }
  }
  return 1;
}

bool FindMarkRecord(CMarkDatabase& db, const std::vector<MarkRecordItem>& items) {
  for (const MarkRecordItem& item : items) {
    if (item.pathSkipped || !item.markEnabled) continue;
    const std::string& text = item.currentText;
    switch (item.type) {
      case kTypeVin:
        if (text.size() == kVinLength && db.Contains(MarkColumn::MainKey, platform::Cp936ToUtf8(text))) return true;
        break;
      case kTypeSerialNumber:
        if (!text.empty() && db.Contains(MarkColumn::Serial, platform::Cp936ToUtf8(text))) return true;
        break;
      case kTypeBarcode:
        if (!text.empty() && db.Contains(MarkColumn::Code, platform::Cp936ToUtf8(text))) return true;
        break;
      default:
        break;
    }
  }
  return false;
}

std::optional<MarkRecord> BuildMarkRecord(const std::vector<MarkRecordItem>& items, const MarkTime& time) {
  MarkRecord record;
  for (const MarkRecordItem& item : items) {
    if (!item.markEnabled) continue;
    if (item.queryKey == 1 || item.type == kTypeVin)
      Join(record.Key(MarkColumn::MainKey), item.markedText);
    else if (item.queryKey == 2)
      Join(record.Key(MarkColumn::SecondKey), item.markedText);
    if (item.type == kTypeSerialNumber) Join(record.Key(MarkColumn::Serial), item.markedText);
    if (item.type == kTypeBarcode) Join(record.Key(MarkColumn::Code), item.markedText);
  }
  bool any = false;
  for (std::string& column : record.keys) {
    if (column.empty())
      column = kMarkEmptyColumn;
    else
      any = true;
  }
  if (!any) return std::nullopt;
  record.time = time.TimeText();
  record.date = time.DateText();
  return record;
}

bool InsertMarkRecord(CMarkDatabase& db, const std::vector<MarkRecordItem>& items, const MarkTime& time) {
  if (!db.IsOpen()) return false;
  std::optional<MarkRecord> record = BuildMarkRecord(items, time);
  return record && db.Insert(*record);
}

}  // namespace marking
