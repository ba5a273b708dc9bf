#pragma once
// The installation folder: a writable data folder that holds the settings
// files, "Fonts", "HistoryOp" and the marking-record database.
#include <string>

namespace platform {

// Joins a name to a folder the way the system always has: with a '/' between
// them only when the folder text is longer than 3 characters (a short folder
// text is a root that already ends in its separator).
std::string JoinInstallPath(const std::string& folder, const std::string& name);

// Default data folder: $VENDRIK_DATA_DIR, else $XDG_DATA_HOME/vendrik, else
// ~/.local/share/vendrik. Created when missing.
std::string DefaultDataFolder();

// Default configuration folder: $VENDRIK_CONFIG_DIR, else $XDG_CONFIG_HOME/vendrik,
// else ~/.config/vendrik. Created when missing.
std::string DefaultConfigFolder();

// Writes bytes to path atomically: a temporary file beside it, flushed, then
// renamed over the target. Returns false (and leaves the target as it was) on
// any error.
bool WriteFileAtomic(const std::string& path, const void* data, std::size_t size);

}  // namespace platform
