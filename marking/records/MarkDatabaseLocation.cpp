#include "marking/records/MarkDatabaseLocation.h"

#include <algorithm>
#include <cctype>

#include "platform/InstallDir.h"
#include "platform/NumberText.h"
#include "platform/SettingsStore.h"

namespace marking {

namespace {

std::string Trim(const std::string& text) {
  auto begin = text.find_first_not_of(" \t\r\n");
  if (begin == std::string::npos) return {};
  auto end = text.find_last_not_of(" \t\r\n");
  return text.substr(begin, end - begin + 1);
}

std::string Upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
  return text;
}

bool Fail(std::string* error, std::string reason) {
  if (error) *error = std::move(reason);
  return false;
}

}  // namespace

std::string MarkDatabaseLocation::BackupFolder() const {
  if (!backupFolder.empty()) return backupFolder;
  if (IsEmbedded()) {
    auto slash = databaseName.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : databaseName.substr(0, slash);
  }
  return platform::DefaultDataFolder();
}

MarkDatabaseLocation MarkDatabaseLocation::Embedded(const std::string& folder) {
  MarkDatabaseLocation location;
  location.databaseName = platform::JoinInstallPath(folder, kMarkDatabaseFileName);
  // Another job or the history dialog may hold the file for a moment.
  location.options = "QSQLITE_BUSY_TIMEOUT=5000";
  return location;
}

std::optional<MarkDatabaseLocation> MarkDatabaseLocation::Parse(const std::string& connection, std::string* error) {
  MarkDatabaseLocation location;
  location.driver.clear();
  std::size_t pos = 0;
  auto fail = [&](std::string reason) -> std::optional<MarkDatabaseLocation> {
    Fail(error, std::move(reason));
    return std::nullopt;
  };
  while (pos < connection.size()) {
    auto end = connection.find(';', pos);
    std::string item = connection.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
    pos = end == std::string::npos ? connection.size() : end + 1;
    if (Trim(item).empty()) continue;
    auto eq = item.find('=');
    if (eq == std::string::npos) return fail(std::string("Connection string item without '=': ").append(Trim(item)));
    std::string key = Upper(Trim(item.substr(0, eq)));
    std::string value = Trim(item.substr(eq + 1));
    if (key == "OPTIONS") {
      // The rest of the string belongs to the driver options.
      std::string rest = item.substr(eq + 1);
      if (end != std::string::npos) rest += ";" + connection.substr(pos);
      location.options = Trim(rest);
      break;
    }
    if (key == "DRIVER") {
      location.driver = value;
    } else if (key == "DATABASE") {
      location.databaseName = value;
    } else if (key == "HOST") {
      location.hostName = value;
    } else if (key == "PORT") {
      bool ok = false;
      long long port = platform::ParseIntC(value, &ok);
      if (!ok || port <= 0 || port > 65535 || value.find_first_not_of("0123456789") != std::string::npos)
        return fail("Bad port in connection string: " + value);
      location.port = static_cast<int>(port);
    } else if (key == "USER") {
      location.userName = value;
    } else if (key == "PASSWORD") {
      location.password = value;
    } else {
      return fail(std::string("Unknown key in connection string: ").append(Trim(item.substr(0, eq))));
    }
  }
  if (location.driver.empty()) return fail("Connection string names no DRIVER");
  if (location.databaseName.empty()) return fail("Connection string names no DATABASE");
  return location;
}

MarkDatabaseLocation MarkDatabaseLocation::FromSettings(const std::string& folder, std::string* error) {
  std::string connection;
  if (platform::Settings().ReadString(platform::kRegistryKey, kMarkDatabaseConnectValue, connection) &&
      !Trim(connection).empty()) {
    if (auto parsed = Parse(connection, error)) return *parsed;
  }
  return Embedded(folder.empty() ? platform::DefaultDataFolder() : folder);
}

}  // namespace marking
