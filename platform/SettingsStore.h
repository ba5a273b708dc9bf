#pragma once
// In place of the registry: named values under one key, "Software\BrontavelV20",
// kept in a file in the user's configuration folder. DWORDs are kept as such and
// binary values as bytes (floats are "%f" text in a 64-byte binary value, which
// the callers format).
#include <memory>
#include <string>
#include <vector>

#include "platform/WinTypes.h"

namespace platform {

inline constexpr const char* kRegistryKey = "Software\\BrontavelV20";

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  // The key opens only when it exists; the shell creates it at start-up.
  virtual bool KeyExists(const std::string& key) = 0;
  virtual bool CreateKey(const std::string& key) = 0;
  // Each returns false when the key does not exist or the value is missing or
  // of another kind; the output is then left untouched.
  virtual bool ReadDword(const std::string& key, const std::string& name, DWORD& value) = 0;
  virtual bool WriteDword(const std::string& key, const std::string& name, DWORD value) = 0;
  virtual bool ReadBinary(const std::string& key, const std::string& name, std::vector<BYTE>& value) = 0;
  virtual bool WriteBinary(const std::string& key, const std::string& name, const std::vector<BYTE>& value) = 0;
  virtual bool ReadString(const std::string& key, const std::string& name, std::string& value) = 0;
  virtual bool WriteString(const std::string& key, const std::string& name, const std::string& value) = 0;
};

// In memory only: the test double.
std::shared_ptr<SettingsStore> MakeMemorySettingsStore();
// Backed by a file, written atomically after every change.
std::shared_ptr<SettingsStore> MakeFileSettingsStore(const std::string& path);

// The process-wide store. Until one is set, a file store at
// DefaultConfigFolder() + "/settings.ini" is made on first use.
SettingsStore& Settings();
void SetSettingsStore(std::shared_ptr<SettingsStore> store);

}  // namespace platform
