#include "properties/list/DefaultNames.h"

#include <unordered_set>

namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

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

std::string FirstFreeName(std::string_view prefix, const std::vector<std::string_view>& names) {
  // A name prefix + "123..." blocks every number whose digits begin its digit
  // run: 1, 12, 123 and so on (numbers never start with 0). Only numbers up to
  // the count of names + 1 can be needed, which bounds the run looked at.
  const std::size_t limit = names.size() + 1;
  std::unordered_set<std::size_t> blocked;
  for (std::string_view name : names) {
    if (!BeginsWithNoCase(name, prefix)) continue;
    std::size_t value = 0;
    for (std::size_t i = prefix.size(); i < name.size(); ++i) {
      const char c = name[i];
      if (c < '0' || c > '9' || (i == prefix.size() && c == '0')) break;
      value = value * 10 + static_cast<std::size_t>(c - '0');
      if (value > limit) break;
      blocked.insert(value);
    }
  }
  std::size_t n = 1;
  while (blocked.count(n) != 0) ++n;
  return std::string(prefix) + std::to_string(n);
}
