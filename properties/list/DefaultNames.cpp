#include "properties/list/DefaultNames.h"

namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string LowerText(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = Lower(c);
  return out;
}

constexpr int kLastType = 23;
// Numbers of more digits than this never come up (no list holds that many items).
constexpr std::size_t kMaxDigits = 9;

}  // namespace

const char* DefaultNamePrefix(int type) {
  switch (type) {
    case 0: return "Object[Barcode]";
    case 1: return "line-";
    case 2: return "text-";
    case 3: return "rectangle-";
    case 4: return "ellipse-";
    case 5: return "Dot image-";
    case 6: return "arc-";
    case 7: return "polyline-";
    case 8: return "multiborder-";
    case 9: return "PLT file-";
    case 10: return "Barcode-";
    case 11: return "DXF file-";
    case 14: return "Combine-";
    case 15: return "system date-";
    case 16: return "auto-";
    case 17: return "VIN-";
    case 19: return "Barcode-";
    case 21: return "Picture-";
    case 22: return "Ruler-";
    case 23: return "spline-";
    default: return nullptr;
  }
}

bool IsWholeDefaultName(int type) { return type == 0; }

bool BeginsWithNoCase(std::string_view name, std::string_view prefix) {
  if (name.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i)
    if (Lower(name[i]) != Lower(prefix[i])) return false;
  return true;
}

DefaultNameIndex::DefaultNameIndex() {
  for (int type = 1; type <= kLastType; ++type)
    if (const char* prefix = DefaultNamePrefix(type)) prefixes_[LowerText(prefix)];
}

void DefaultNameIndex::Clear() {
  for (auto& [prefix, numbers] : prefixes_) numbers = Numbers{};
}

void DefaultNameIndex::Add(std::string_view name) { Count(name, +1); }
void DefaultNameIndex::Remove(std::string_view name) { Count(name, -1); }

void DefaultNameIndex::Count(std::string_view name, int delta) {
  for (auto& [prefix, numbers] : prefixes_) {
    if (!BeginsWithNoCase(name, prefix)) continue;
    // prefix + "123..." blocks 1, 12, 123 and so on (numbers never start with 0).
    std::size_t value = 0;
    for (std::size_t i = prefix.size(); i < name.size() && i - prefix.size() < kMaxDigits; ++i) {
      const char c = name[i];
      if (c < '0' || c > '9' || (i == prefix.size() && c == '0')) break;
      value = value * 10 + static_cast<std::size_t>(c - '0');
      int& blocked = numbers.blockedBy[value];
      blocked += delta;
      if (blocked <= 0) {
        numbers.blockedBy.erase(value);
        if (value < numbers.firstCandidate) numbers.firstCandidate = value;
      }
    }
  }
}

std::string DefaultNameIndex::NextName(std::string_view prefix) {
  auto it = prefixes_.find(LowerText(prefix));
  if (it == prefixes_.end()) return std::string(prefix) + "1";
  Numbers& numbers = it->second;
  while (numbers.blockedBy.count(numbers.firstCandidate) != 0) ++numbers.firstCandidate;
  return std::string(prefix) + std::to_string(numbers.firstCandidate);
}
