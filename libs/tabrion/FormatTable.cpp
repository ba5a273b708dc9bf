#include "libs/tabrion/FormatTable.h"

#include "libs/tabrion/BuiltInFormats.h"

namespace tabrion {
namespace {
// Styles beyond the sheet's limit are not kept (a damaged file could list millions).
constexpr std::size_t kMaxStyles = 65536;
}  // namespace

void FormatTable::SetFormatCode(int id, std::string code) {
  codes_[id] = std::move(code);
  parsed_.erase(id);
}

void FormatTable::AddStyle(int formatId) {
  if (styles_.size() < kMaxStyles) styles_.push_back(formatId);
}

const NumberFormat& FormatTable::FormatOfStyle(int style) const {
  int id = style >= 0 && static_cast<std::size_t>(style) < styles_.size() ? styles_[static_cast<std::size_t>(style)] : 0;
  auto& slot = parsed_[id];
  if (!slot) {
    auto code = codes_.find(id);
    slot = std::make_unique<NumberFormat>(code != codes_.end() ? code->second : BuiltInFormatCode(id));
  }
  return *slot;
}

std::string FormatTable::NumberText(int style, double value, int textPixels) const {
  return FormatOfStyle(style).Format(value, date1904_, textPixels);
}

std::string FormatTable::TextText(int style, std::string_view text) const { return FormatOfStyle(style).FormatText(text); }

}  // namespace tabrion
