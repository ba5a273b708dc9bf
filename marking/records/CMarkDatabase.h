#pragma once
// The marking-record database: the table 标记信息 with its six text columns,
// in an embedded SQLite file or on a server (MarkDatabaseLocation).
//
// One object holds one connection. Open, use and close it on one thread (the
// marking worker, or the UI thread for the history dialog), and close it
// before that thread ends; two objects may work on the same database from
// different threads at once.
#include <QSqlDatabase>
#include <optional>
#include <string>
#include <vector>

#include "marking/records/MarkDatabaseLocation.h"
#include "marking/records/MarkRecord.h"
#include "marking/records/MarkRecordQuery.h"
#include "marking/records/MarkTime.h"

namespace marking {

// The statement that makes the table (names as the records have always had).
inline constexpr const char* kCreateMarkTable =
    "CREATE TABLE 标记信息 (主关键字 Varchar(255),次关键字 Varchar(255),流水号 Varchar(255),二维码 Varchar(255),"
    "时间 Varchar(24),日期 Varchar(16))";

struct MarkClearResult {
  bool cleared = false;    // the records are gone and the empty table is there
  std::string backupPath;  // the copy of the records made before, when made
  std::string error;       // why not, when not
};

// Qt's SQL module keeps what it makes on first use (the empty connection's
// driver, the driver plugin) until the process ends, as objects of the thread
// that first used it, and a process without an application object takes the
// first thread that makes a Qt object for its main thread. Made on a worker
// that ends before the program, they are freed after their thread at exit.
// Call this on the main thread before a worker opens the records.
void PrepareMarkDatabases(const MarkDatabaseLocation& location);

class CMarkDatabase {
 public:
  explicit CMarkDatabase(MarkDatabaseLocation location);
  ~CMarkDatabase();
  CMarkDatabase(const CMarkDatabase&) = delete;
  CMarkDatabase& operator=(const CMarkDatabase&) = delete;

  // Connects (creating the embedded file) and makes the table when it is
  // missing. False with LastError() on failure; the object stays closed then.
  bool Open();
  void Close();
  bool IsOpen() const { return open_; }
  const std::string& LastError() const { return lastError_; }
  const MarkDatabaseLocation& Location() const { return location_; }

  bool Insert(const MarkRecord& record);
  // True when a record holds `value` (UTF-8) in the column as its whole text
  // or as one of the texts joined there with "%%". Case and every character
  // count; a text is never found inside a longer one. False on errors.
  bool Contains(MarkColumn column, const std::string& value);
  // Rows of a history look-up in table order; nullopt on a database error.
  std::optional<std::vector<MarkRecord>> Query(const MarkRecordQuery& query);
  std::optional<long long> Count();

  // Copies every record into a new backup file named after the time
  // ("MarkDataBase20261208200501.db", never overwriting an older backup) in
  // the location's backup folder, then empties the table. When the copy
  // cannot be made and checked, nothing is deleted.
  MarkClearResult ClearWithBackup(const MarkTime& time);

 private:
  bool Fail(const std::string& what, const std::string& detail);

  MarkDatabaseLocation location_;
  std::string connectionName_;
  QSqlDatabase db_;  // the connection while open
  bool open_ = false;
  std::string lastError_;
};

}  // namespace marking
