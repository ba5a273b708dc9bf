#include "libs/tabrion/SheetMessage.h"

#include <cstdint>
#include <cstring>

namespace tabrion {
namespace {

constexpr char kMagic[4] = {'T', 'B', 'R', '1'};

void Put32(std::string& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

class Input {
 public:
  explicit Input(std::string_view bytes) : bytes_(bytes) {}
  bool U32(std::uint32_t& v) {
    if (bytes_.size() - at_ < 4) return false;
    v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes_[at_ + i])) << (8 * i);
    at_ += 4;
    return true;
  }
  bool Text(std::size_t n, std::string& out) {
    if (bytes_.size() - at_ < n) return false;
    out.assign(bytes_.substr(at_, n));
    at_ += n;
    return true;
  }
  bool AtEnd() const { return at_ == bytes_.size(); }

 private:
  std::string_view bytes_;
  std::size_t at_ = 0;
};

}  // namespace

std::string EncodeSheet(ReadResult result, const LoadedSheet& sheet) {
  std::string out(kMagic, sizeof kMagic);
  Put32(out, static_cast<std::uint32_t>(result));
  Put32(out, sheet.Empty() ? 0 : 1);
  Put32(out, static_cast<std::uint32_t>(sheet.FirstRow()));
  Put32(out, static_cast<std::uint32_t>(sheet.FirstColumn()));
  Put32(out, static_cast<std::uint32_t>(sheet.LastRow()));
  Put32(out, static_cast<std::uint32_t>(sheet.LastColumn()));
  std::uint32_t count = 0;
  sheet.ForEachText([&](long, int, const std::string&) { ++count; });
  Put32(out, count);
  sheet.ForEachText([&](long row, int column, const std::string& text) {
    Put32(out, static_cast<std::uint32_t>(row));
    Put32(out, static_cast<std::uint32_t>(column));
    Put32(out, static_cast<std::uint32_t>(text.size()));
    out += text;
  });
  return out;
}

bool DecodeSheet(std::string_view bytes, ReadResult& result, LoadedSheet& sheet) {
  if (bytes.size() < sizeof kMagic || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0) return false;
  Input in(bytes.substr(sizeof kMagic));
  std::uint32_t r = 0, any = 0, firstRow = 0, firstColumn = 0, lastRow = 0, lastColumn = 0, count = 0;
  if (!in.U32(r) || !in.U32(any) || !in.U32(firstRow) || !in.U32(firstColumn) || !in.U32(lastRow) ||
      !in.U32(lastColumn) || !in.U32(count))
    return false;
  if (r > static_cast<std::uint32_t>(ReadResult::noSheet)) return false;
  LoadedSheet read;
  if (any) {
    // The corners set the used range; the texts come after.
    read.AddCell(firstRow, static_cast<int>(firstColumn), {});
    read.AddCell(lastRow, static_cast<int>(lastColumn), {});
    if (read.Empty()) return false;
  }
  // Each text takes at least 12 bytes: a count beyond that is a lie.
  if (count > bytes.size() / 12) return false;
  read.Reserve(count);
  for (std::uint32_t i = 0; i < count; ++i) {
    std::uint32_t row = 0, column = 0, length = 0;
    std::string text;
    if (!in.U32(row) || !in.U32(column) || !in.U32(length) || !in.Text(length, text)) return false;
    if (!any || row < firstRow || row > lastRow || column < firstColumn || column > lastColumn) return false;
    read.AddCell(row, static_cast<int>(column), std::move(text));
  }
  if (!in.AtEnd()) return false;
  result = static_cast<ReadResult>(r);
  sheet = std::move(read);
  return true;
}

}  // namespace tabrion
