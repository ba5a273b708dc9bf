#pragma once
// Where the marking records live: by default an embedded SQLite file in the
// data folder; a connection string in the settings value "MarkDataBaseConnect"
// points the same code at a database server instead, e.g.
//   DRIVER=QPSQL;HOST=db.plant;PORT=5432;DATABASE=marks;USER=vendrik;PASSWORD=secret
//   DRIVER=QODBC;DATABASE=MarkRecordsDsn
// Keys are case-insensitive; OPTIONS, when given, takes the rest of the string
// (driver options are themselves separated by ';').
#include <optional>
#include <string>

namespace marking {

inline constexpr const char* kMarkDatabaseFileName = "MarkDataBaseV2.db";
inline constexpr const char* kMarkDatabaseConnectValue = "MarkDataBaseConnect";

struct MarkDatabaseLocation {
  std::string driver = "QSQLITE";  // Qt SQL driver name
  std::string databaseName;        // file path for QSQLITE, database or DSN otherwise
  std::string hostName;
  int port = -1;
  std::string userName;
  std::string password;
  std::string options;  // Qt connect options
  // Backups of server databases go to this folder (default: the data folder).
  std::string backupFolder;

  bool IsEmbedded() const { return driver == "QSQLITE"; }
  // Folder for backup files: the database file's folder when embedded.
  std::string BackupFolder() const;

  // The embedded file in the given folder.
  static MarkDatabaseLocation Embedded(const std::string& folder);
  // Parses a connection string; nullopt and a reason on bad input.
  static std::optional<MarkDatabaseLocation> Parse(const std::string& connection, std::string* error = nullptr);
  // The connection string from the settings when one is set, else the
  // embedded file in `folder` (the data folder when empty). A connection
  // string that does not parse keeps the records in the embedded file and
  // says why in `error`.
  static MarkDatabaseLocation FromSettings(const std::string& folder = {}, std::string* error = nullptr);
};

}  // namespace marking
