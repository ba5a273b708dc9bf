#include "marking/records/CMarkDatabase.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>
#include <atomic>
#include <filesystem>
#include <system_error>

namespace marking {

namespace {

QString Q(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }
std::string S(const QString& text) { return text.toStdString(); }

std::string NewConnectionName(const char* kind) {
  static std::atomic<unsigned> counter{0};
  return std::string("vendrik-marks-") + kind + "-" + std::to_string(++counter);
}

const std::string kInsert = std::string("INSERT INTO ") + kMarkTable +
                            " (主关键字,次关键字,流水号,二维码,时间,日期) VALUES (?,?,?,?,?,?)";
const std::string kSelectAll = std::string("SELECT 主关键字,次关键字,流水号,二维码,时间,日期 FROM ") + kMarkTable;

std::string ErrorText(const QSqlError& error) {
  std::string text = S(error.text());
  return text.empty() ? "unknown database error" : text;
}

bool TableExists(const QSqlDatabase& db) {
  const QString name = Q(kMarkTable);
  for (const QString& table : db.tables(QSql::Tables))
    if (table.compare(name, Qt::CaseInsensitive) == 0) return true;
  return false;
}

// Makes the table in an open connection when it is missing.
bool EnsureTable(QSqlDatabase& db, std::string& error) {
  if (TableExists(db)) return true;
  QSqlQuery create(db);
  if (create.exec(Q(kCreateMarkTable))) return true;
  // Another connection may have made it meanwhile.
  if (TableExists(db)) return true;
  error = ErrorText(create.lastError());
  return false;
}

void ApplyLocation(QSqlDatabase& db, const MarkDatabaseLocation& location) {
  db.setDatabaseName(Q(location.databaseName));
  if (!location.hostName.empty()) db.setHostName(Q(location.hostName));
  if (location.port > 0) db.setPort(location.port);
  if (!location.userName.empty()) db.setUserName(Q(location.userName));
  if (!location.password.empty()) db.setPassword(Q(location.password));
  if (!location.options.empty()) db.setConnectOptions(Q(location.options));
}

MarkRecord ReadRow(const QSqlQuery& query) {
  MarkRecord record;
  for (int i = 0; i < kMarkKeyColumns; ++i) record.keys[i] = S(query.value(i).toString());
  record.time = S(query.value(4).toString());
  record.date = S(query.value(5).toString());
  return record;
}

bool BindAndExec(QSqlQuery& query, const std::string& sql, const std::vector<std::string>& values) {
  query.setForwardOnly(true);
  if (!query.prepare(Q(sql))) return false;
  for (const std::string& value : values) query.addBindValue(Q(value));
  return query.exec();
}

// A name in `folder` that no file has yet: base + ext, else base-2 + ext ...
std::filesystem::path FreeName(const std::filesystem::path& folder, const std::string& base, const std::string& ext) {
  std::error_code ec;
  std::filesystem::path candidate = folder / (base + ext);
  for (int n = 2; std::filesystem::exists(candidate, ec) || std::filesystem::exists(candidate.string() + ".tmp", ec);
       ++n)
    candidate = folder / (base + "-" + std::to_string(n) + ext);
  return candidate;
}

// The backup copy: a fresh SQLite file filled from the open source query.
class BackupWriter {
 public:
  explicit BackupWriter(std::string path) : path_(std::move(path)), name_(NewConnectionName("backup")) {}
  ~BackupWriter() { Drop(); }

  bool Begin(std::string& error) {
    std::error_code ec;
    std::filesystem::remove(path_, ec);
    {
      QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", Q(name_));
      db.setDatabaseName(Q(path_));
      if (!db.open()) {
        error = ErrorText(db.lastError());
        return false;
      }
      if (!EnsureTable(db, error)) return false;
      if (!db.transaction()) {
        error = ErrorText(db.lastError());
        return false;
      }
    }
    insert_.emplace(QSqlDatabase::database(Q(name_), false));
    if (!insert_->prepare(Q(kInsert))) {
      error = ErrorText(insert_->lastError());
      return false;
    }
    return true;
  }

  bool Add(const QSqlQuery& row, std::string& error) {
    for (int i = 0; i < 6; ++i) insert_->bindValue(i, row.value(i).isNull() ? QVariant(QString()) : row.value(i));
    if (insert_->exec()) {
      ++rows_;
      return true;
    }
    error = ErrorText(insert_->lastError());
    return false;
  }

  // Commits, counts again and closes; false when the file does not hold
  // exactly `expected` records.
  bool Finish(long long expected, std::string& error) {
    insert_.reset();
    QSqlDatabase db = QSqlDatabase::database(Q(name_), false);
    if (!db.commit()) {
      error = ErrorText(db.lastError());
      return false;
    }
    QSqlQuery count(db);
    if (!count.exec(Q(std::string("SELECT COUNT(*) FROM ") + kMarkTable)) || !count.next()) {
      error = ErrorText(count.lastError());
      return false;
    }
    if (count.value(0).toLongLong() != expected || rows_ != expected) {
      error = "the backup holds " + std::to_string(count.value(0).toLongLong()) + " of " + std::to_string(expected) +
              " records";
      return false;
    }
    return true;
  }

  // Closes the connection; keeps the file only when asked.
  void Drop(bool keepFile = false) {
    if (name_.empty()) return;
    insert_.reset();
    {
      QSqlDatabase db = QSqlDatabase::database(Q(name_), false);
      if (db.isValid()) db.close();
    }
    QSqlDatabase::removeDatabase(Q(name_));
    name_.clear();
    if (!keepFile) {
      std::error_code ec;
      std::filesystem::remove(path_, ec);
    }
  }

 private:
  std::string path_;
  std::string name_;
  std::optional<QSqlQuery> insert_;
  long long rows_ = 0;
};

}  // namespace

void PrepareMarkDatabases(const MarkDatabaseLocation& location) {
  const QSqlDatabase empty;  // the shared empty connection and its driver
  const QString name = Q(NewConnectionName("prepare"));
  {
    // Loads the driver plugin; nothing is opened.
    const QSqlDatabase driver = QSqlDatabase::addDatabase(Q(location.driver), name);
  }
  QSqlDatabase::removeDatabase(name);
}

CMarkDatabase::CMarkDatabase(MarkDatabaseLocation location)
    : location_(std::move(location)), connectionName_(NewConnectionName("db")) {}

CMarkDatabase::~CMarkDatabase() { Close(); }

bool CMarkDatabase::Fail(const std::string& what, const std::string& detail) {
  lastError_ = what + ": " + detail;
  return false;
}

bool CMarkDatabase::Open() {
  if (open_) return true;
  lastError_.clear();
  std::string error;
  bool ok = false;
  {
    if (location_.IsEmbedded()) {
      // The data folder may not be there yet on a fresh installation.
      std::error_code ec;
      std::filesystem::path folder = std::filesystem::path(location_.databaseName).parent_path();
      if (!folder.empty()) std::filesystem::create_directories(folder, ec);
    }
    db_ = QSqlDatabase::addDatabase(Q(location_.driver), Q(connectionName_));
    QSqlDatabase& db = db_;
    if (!db.isValid()) {
      error = "database driver " + location_.driver + " is not available";
    } else {
      ApplyLocation(db, location_);
      if (!db.open()) {
        error = ErrorText(db.lastError());
      } else {
        if (location_.IsEmbedded()) {
          // Write-ahead logging: the history dialog reading never holds up a
          // job writing its record, nor the other way round.
          QSqlQuery wal(db);
          wal.exec("PRAGMA journal_mode=WAL");
        }
        ok = EnsureTable(db, error);
      }
      if (!ok) db.close();
    }
  }
  if (!ok) {
    db_ = QSqlDatabase();
    QSqlDatabase::removeDatabase(Q(connectionName_));
    return Fail("Cannot open the marking records", error);
  }
  open_ = true;
  return true;
}

void CMarkDatabase::Close() {
  if (!open_) return;
  db_.close();
  db_ = QSqlDatabase();
  QSqlDatabase::removeDatabase(Q(connectionName_));
  open_ = false;
}

bool CMarkDatabase::Insert(const MarkRecord& record) {
  if (!open_) return Fail("Cannot add the marking record", "the database is not open");
  QSqlQuery insert(db_);
  std::vector<std::string> values(record.keys.begin(), record.keys.end());
  values.push_back(record.time);
  values.push_back(record.date);
  if (!BindAndExec(insert, kInsert, values)) return Fail("Cannot add the marking record", ErrorText(insert.lastError()));
  return true;
}

bool CMarkDatabase::Contains(MarkColumn column, const std::string& value) {
  if (!open_ || value.empty()) return false;
  const std::string name = kMarkColumnNames[static_cast<int>(column)];
  // The LIKE narrows the rows down; the whole-text test below decides.
  QSqlQuery find(db_);
  if (!BindAndExec(find, "SELECT " + name + " FROM " + kMarkTable + " WHERE " + name + " LIKE ? ESCAPE '!'",
                   {LikeContains(value)})) {
    Fail("Cannot look up the marking records", ErrorText(find.lastError()));
    return false;
  }
  const QString wanted = Q(value);
  const QString join = Q(kMarkJoin);
  while (find.next()) {
    const QString stored = find.value(0).toString();
    if (stored == wanted) return true;
    for (const QString& part : stored.split(join))
      if (part == wanted) return true;
  }
  return false;
}

std::optional<std::vector<MarkRecord>> CMarkDatabase::Query(const MarkRecordQuery& request) {
  if (!open_) {
    Fail("Cannot query the marking records", "the database is not open");
    return std::nullopt;
  }
  std::vector<MarkRecord> rows;
  MarkStatement statement = BuildMarkQuery(request);
  if (!statement.valid) return rows;
  QSqlQuery query(db_);
  if (!BindAndExec(query, statement.sql, statement.values)) {
    Fail("Cannot query the marking records", ErrorText(query.lastError()));
    return std::nullopt;
  }
  while (query.next()) rows.push_back(ReadRow(query));
  return rows;
}

std::optional<long long> CMarkDatabase::Count() {
  if (!open_) return std::nullopt;
  QSqlQuery count(db_);
  if (!count.exec(Q(std::string("SELECT COUNT(*) FROM ") + kMarkTable)) || !count.next()) {
    Fail("Cannot count the marking records", ErrorText(count.lastError()));
    return std::nullopt;
  }
  return count.value(0).toLongLong();
}

MarkClearResult CMarkDatabase::ClearWithBackup(const MarkTime& time) {
  MarkClearResult result;
  if (!Open()) {
    result.error = lastError_;
    return result;
  }
  const std::filesystem::path folder = location_.BackupFolder();
  const std::filesystem::path target = FreeName(folder, "MarkDataBase" + time.StampText(), ".db");
  const std::string temporary = target.string() + ".tmp";

  QSqlDatabase& db = db_;
  // One transaction from the copy to the delete, so no record added meanwhile
  // is deleted without being in the backup.
  // SQLite: take the write lock at once, so the copy and the delete see the
  // same records and no writer slips in between.
  const bool embedded = location_.IsEmbedded();
  auto run = [&](const char* statement) {
    QSqlQuery control(db);
    if (control.exec(statement)) return true;
    result.error = std::string("Cannot clear the marking records: ").append(ErrorText(control.lastError()));
    return false;
  };
  if (embedded ? !run("BEGIN IMMEDIATE") : !db.transaction()) {
    if (!embedded) result.error = std::string("Cannot clear the marking records: ").append(ErrorText(db.lastError()));
    lastError_ = result.error;
    return result;
  }
  auto abandon = [&](const std::string& why) {
    if (embedded)
      run("ROLLBACK");
    else
      db.rollback();
    result.error = "Cannot clear the marking records, nothing was deleted: " + why;
    lastError_ = result.error;
    return result;
  };

  std::string error;
  BackupWriter backup(temporary);
  if (!backup.Begin(error)) return abandon("backup " + temporary + ": " + error);
  long long copied = 0;
  {
    QSqlQuery rows(db);
    if (!BindAndExec(rows, kSelectAll, {})) return abandon(ErrorText(rows.lastError()));
    while (rows.next()) {
      if (!backup.Add(rows, error)) return abandon("backup " + temporary + ": " + error);
      ++copied;
    }
  }
  if (!backup.Finish(copied, error)) return abandon("backup " + temporary + ": " + error);
  backup.Drop(true);
  std::error_code ec;
  std::filesystem::rename(temporary, target, ec);
  if (ec) {
    std::filesystem::remove(temporary, ec);
    return abandon("backup " + target.string() + ": " + ec.message());
  }

  {
    QSqlQuery remove(db);
    if (!remove.exec(Q(std::string("DELETE FROM ") + kMarkTable))) {
      result.backupPath = target.string();
      abandon(ErrorText(remove.lastError()));
      return result;
    }
  }
  if (embedded ? !run("COMMIT") : !db.commit()) {
    result.backupPath = target.string();
    abandon(embedded ? result.error : ErrorText(db.lastError()));
    return result;
  }
  result.cleared = true;
  result.backupPath = target.string();
  return result;
}

}  // namespace marking
