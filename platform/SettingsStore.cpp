#include "platform/SettingsStore.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>
#include <string_view>

#include "platform/InstallDir.h"
#include "platform/ReplaceableInstance.h"

namespace platform {
namespace {

// Registry keys and value names compare without regard to ASCII case.
struct NoCaseLess {
  bool operator()(const std::string& a, const std::string& b) const {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
      const int ca = Lower(a[i]);
      const int cb = Lower(b[i]);
      if (ca != cb) return ca < cb;
    }
    return a.size() < b.size();
  }
  static int Lower(char c) {
    const unsigned char u = static_cast<unsigned char>(c);
    return (u >= 'A' && u <= 'Z') ? u + 32 : u;
  }
};

enum class Kind { Dword, Binary, String };

struct Value {
  Kind kind = Kind::Dword;
  DWORD dword = 0;
  std::string bytes;  // binary or string contents
};

using ValueMap = std::map<std::string, Value, NoCaseLess>;
using KeyMap = std::map<std::string, ValueMap, NoCaseLess>;

// The settings file: "[key]" lines open a key, then "name=dword:XXXXXXXX",
// "name=hex:0a1b..." or "name=str:text" lines. Names, keys and strings are
// written with %XX escapes for '%', '=', brackets, the comment marks '#' and
// ';' and control bytes, so no name can turn its line into a comment. An
// empty name is the key's default value. Lines that do not parse are skipped.
std::string Escape(std::string_view text) {
  std::string out;
  for (char c : text) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F || c == '%' || c == '=' || c == '[' || c == ']' || c == '#' || c == ';') {
      char hex[4];
      std::snprintf(hex, sizeof hex, "%%%02X", u);
      out += hex;
    } else {
      out.push_back(c);
    }
  }
  return out;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool Unescape(std::string_view text, std::string& out) {
  out.clear();
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      out.push_back(text[i]);
      continue;
    }
    if (i + 2 >= text.size()) return false;
    const int hi = HexDigit(text[i + 1]);
    const int lo = HexDigit(text[i + 2]);
    if (hi < 0 || lo < 0) return false;
    out.push_back(static_cast<char>(hi * 16 + lo));
    i += 2;
  }
  return true;
}

bool ParseHexBytes(std::string_view text, std::string& out) {
  if (text.size() % 2 != 0) return false;
  out.clear();
  for (std::size_t i = 0; i < text.size(); i += 2) {
    const int hi = HexDigit(text[i]);
    const int lo = HexDigit(text[i + 1]);
    if (hi < 0 || lo < 0) return false;
    out.push_back(static_cast<char>(hi * 16 + lo));
  }
  return true;
}

bool ParseValue(std::string_view text, Value& value) {
  const auto starts = [&](std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; };
  if (starts("dword:")) {
    const std::string_view digits = text.substr(6);
    if (digits.empty() || digits.size() > 8) return false;
    DWORD v = 0;
    for (char c : digits) {
      const int d = HexDigit(c);
      if (d < 0) return false;
      v = v * 16 + static_cast<DWORD>(d);
    }
    value.kind = Kind::Dword;
    value.dword = v;
    return true;
  }
  if (starts("hex:")) {
    value.kind = Kind::Binary;
    return ParseHexBytes(text.substr(4), value.bytes);
  }
  if (starts("str:")) {
    value.kind = Kind::String;
    return Unescape(text.substr(4), value.bytes);
  }
  return false;
}

std::string Serialize(const KeyMap& keys) {
  std::string out = "# Vendrik settings\n";
  for (const auto& [key, values] : keys) {
    out += "[" + Escape(key) + "]\n";
    for (const auto& [name, value] : values) {
      out += Escape(name) + "=";
      switch (value.kind) {
        case Kind::Dword: {
          char hex[16];
          std::snprintf(hex, sizeof hex, "dword:%08X", static_cast<unsigned>(value.dword));
          out += hex;
          break;
        }
        case Kind::Binary: {
          out += "hex:";
          static const char digits[] = "0123456789abcdef";
          for (char c : value.bytes) {
            const unsigned char u = static_cast<unsigned char>(c);
            out.push_back(digits[u >> 4]);
            out.push_back(digits[u & 15]);
          }
          break;
        }
        case Kind::String:
          out += "str:" + Escape(value.bytes);
          break;
      }
      out += "\n";
    }
  }
  return out;
}

KeyMap Parse(const std::string& text) {
  KeyMap keys;
  ValueMap* current = nullptr;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#' || line[0] == ';') continue;
    if (line[0] == '[') {
      std::string key;
      current = nullptr;
      if (line.back() == ']' && line.size() >= 2 && Unescape(std::string_view(line).substr(1, line.size() - 2), key))
        current = &keys[key];
      continue;  // values under a bad key line are dropped with it
    }
    if (!current) continue;
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    std::string name;
    Value value;
    if (!Unescape(std::string_view(line).substr(0, eq), name)) continue;
    if (!ParseValue(std::string_view(line).substr(eq + 1), value)) continue;
    (*current)[name] = std::move(value);
  }
  return keys;
}

// The map-backed store; a file store saves after every change and keeps the
// change only when the file was written.
class MapSettingsStore : public SettingsStore {
 public:
  explicit MapSettingsStore(std::string path = {}) : path_(std::move(path)) {
    if (path_.empty()) return;
    std::ifstream in(path_, std::ios::binary);
    if (!in) return;
    std::ostringstream text;
    text << in.rdbuf();
    keys_ = Parse(text.str());
  }

  bool KeyExists(const std::string& key) override {
    std::lock_guard lock(mutex_);
    return keys_.count(key) != 0;
  }

  bool CreateKey(const std::string& key) override {
    std::lock_guard lock(mutex_);
    if (keys_.count(key)) return true;
    return Change([&](KeyMap& keys) { keys[key]; });
  }

  bool ReadDword(const std::string& key, const std::string& name, DWORD& value) override {
    std::lock_guard lock(mutex_);
    const Value* v = Find(key, name, Kind::Dword);
    if (!v) return false;
    value = v->dword;
    return true;
  }

  bool WriteDword(const std::string& key, const std::string& name, DWORD value) override {
    Value v;
    v.kind = Kind::Dword;
    v.dword = value;
    return Store(key, name, std::move(v));
  }

  bool ReadBinary(const std::string& key, const std::string& name, std::vector<BYTE>& value) override {
    std::lock_guard lock(mutex_);
    const Value* v = Find(key, name, Kind::Binary);
    if (!v) return false;
    value.assign(v->bytes.begin(), v->bytes.end());
    return true;
  }

  bool WriteBinary(const std::string& key, const std::string& name, const std::vector<BYTE>& value) override {
    Value v;
    v.kind = Kind::Binary;
    v.bytes.assign(value.begin(), value.end());
    return Store(key, name, std::move(v));
  }

  bool ReadString(const std::string& key, const std::string& name, std::string& value) override {
    std::lock_guard lock(mutex_);
    const Value* v = Find(key, name, Kind::String);
    if (!v) return false;
    value = v->bytes;
    return true;
  }

  bool WriteString(const std::string& key, const std::string& name, const std::string& value) override {
    Value v;
    v.kind = Kind::String;
    v.bytes = value;
    return Store(key, name, std::move(v));
  }

 private:
  const Value* Find(const std::string& key, const std::string& name, Kind kind) const {
    const auto k = keys_.find(key);
    if (k == keys_.end()) return nullptr;
    const auto v = k->second.find(name);
    if (v == k->second.end() || v->second.kind != kind) return nullptr;
    return &v->second;
  }

  bool Store(const std::string& key, const std::string& name, Value value) {
    std::lock_guard lock(mutex_);
    if (!keys_.count(key)) return false;  // writes never create the key
    return Change([&](KeyMap& keys) { keys[key][name] = std::move(value); });
  }

  template <typename Fn>
  bool Change(Fn fn) {
    if (path_.empty()) {
      fn(keys_);
      return true;
    }
    KeyMap next = keys_;
    fn(next);
    const std::string text = Serialize(next);
    if (!WriteFileAtomic(path_, text.data(), text.size())) return false;
    keys_ = std::move(next);
    return true;
  }

  std::mutex mutex_;
  std::string path_;
  KeyMap keys_;
};

ReplaceableInstance<SettingsStore> g_store;

}  // namespace

std::shared_ptr<SettingsStore> MakeMemorySettingsStore() { return std::make_shared<MapSettingsStore>(); }

std::shared_ptr<SettingsStore> MakeFileSettingsStore(const std::string& path) {
  return std::make_shared<MapSettingsStore>(path);
}

SettingsStore& Settings() {
  return g_store.Get([] { return MakeFileSettingsStore(DefaultConfigFolder() + "/settings.ini"); });
}

void SetSettingsStore(std::shared_ptr<SettingsStore> store) {
  g_store.Set(std::move(store));
}

}  // namespace platform
