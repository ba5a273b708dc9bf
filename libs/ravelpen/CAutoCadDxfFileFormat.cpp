#include "libs/ravelpen/CAutoCadDxfFileFormat.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/InstallDir.h"
#include "platform/Prompt.h"

namespace ravelpen {
namespace {

constexpr char kUnifontSignature[] = "AutoCAD-86 unifont 1.0\r\n\x1A";  // 25 bytes
constexpr char kShapesSignature[] = "AutoCAD-86 shapes 1.0\r\n\x1A";    // 24 bytes
constexpr double kDeg = 0.017453292222222222;
// Font files larger than this are not fonts.
constexpr std::uintmax_t kFontFileMax = 64u * 1024 * 1024;

// Unit steps of the sixteen vector directions.
constexpr float kDirections[16][2] = {{1, 0},   {1, 0.5f},   {1, 1},   {0.5f, 1},  {0, 1},    {-0.5f, 1},
                                      {-1, 1},  {-1, 0.5f},  {-1, 0},  {-1, -0.5f}, {-1, -1}, {-0.5f, -1},
                                      {0, -1},  {0.5f, -1},  {1, -1},  {1, -0.5f}};

// Operand bytes of the arc codes, which are read past, not drawn.
std::size_t SkipArc(const std::vector<std::uint8_t>& b, std::size_t i, int code) {
  switch (code) {
    case 10: return i + 2;
    case 11: return i + 5;
    case 12: return i + 3;
    case 13:
      // Bulge arcs until the (0, 0) pair.
      while (i + 1 < b.size()) {
        if (b[i] == 0 && b[i + 1] == 0) return i + 2;
        i += 3;
      }
      return b.size();
    default: return i;
  }
}

}  // namespace

CAutoCadDxfFileFormat::CAutoCadDxfFileFormat(std::vector<TextPoint>* output) : output_(output) {}

CAutoCadDxfFileFormat::~CAutoCadDxfFileFormat() {
  CloseFontFile(0);
  CloseFontFile(1);
}

int CAutoCadDxfFileFormat::OpenFontFile(const std::string& path, int big) {
  FontFile& font = Font(big);
  CloseFontFile(big);
  std::error_code ec;
  const std::uintmax_t size = std::filesystem::file_size(path, ec);
  if (ec || size > kFontFileMax) return 0;
  std::ifstream in(path, std::ios::binary);
  if (!in) return 0;
  font.bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  font.open = true;
  return 1;
}

void CAutoCadDxfFileFormat::OpenFontBytes(std::vector<std::uint8_t> bytes, int big) {
  FontFile& font = Font(big);
  CloseFontFile(big);
  font.bytes = std::move(bytes);
  font.open = true;
}

void CAutoCadDxfFileFormat::CloseFontFile(int big) {
  FontFile& font = Font(big);
  font.bytes.clear();
  font.bytes.shrink_to_fit();
  font.open = false;
  font.loaded = false;
}

bool CAutoCadDxfFileFormat::Read16(const FontFile& font, std::size_t at, std::uint16_t& value) const {
  if (at > font.bytes.size() || font.bytes.size() - at < 2) return false;
  value = static_cast<std::uint16_t>(font.bytes[at] | (font.bytes[at + 1] << 8));
  return true;
}

bool CAutoCadDxfFileFormat::Read32(const FontFile& font, std::size_t at, std::uint32_t& value) const {
  std::uint16_t low = 0;
  std::uint16_t high = 0;
  if (!Read16(font, at, low) || !Read16(font, at + 2, high)) return false;
  value = low | (static_cast<std::uint32_t>(high) << 16);
  return true;
}

int CAutoCadDxfFileFormat::ReadFontHeader(int big) {
  FontFile& font = Font(big);
  if (!font.open) return 0;
  font.loaded = big ? ReadBigHeader() : ReadTextHeader();
  return font.loaded ? 1 : 0;
}

bool CAutoCadDxfFileFormat::ReadTextHeader() {
  const std::vector<std::uint8_t>& b = textFont_.bytes;
  if (b.size() < 25) return false;
  if (std::memcmp(b.data(), kUnifontSignature, 25) == 0) {
    textKind_ = TextKind::Unifont;
    std::uint32_t count = 0;
    std::uint16_t length = 0;
    if (!Read32(textFont_, 25, count) || (count >> 16) != 0 || !Read16(textFont_, 29, length)) return false;
    if (length > kInfoRecordMax || 31u + length > b.size()) return false;
    const std::uint8_t* record = b.data() + 31;
    const void* nul = std::memchr(record, 0, length);
    if (nul == nullptr) return false;
    const std::size_t after = static_cast<const std::uint8_t*>(nul) - record + 1;
    if (after + 3 > length) return false;
    above_ = static_cast<std::int8_t>(record[after]);
    below_ = static_cast<std::int8_t>(record[after + 1]);
    modes_ = static_cast<std::int8_t>(record[after + 2]);
    if (above_ <= 0) return false;  // the scale divides by it
    unifontRecords_ = 31u + length;
    return true;
  }
  if (std::memcmp(b.data(), kShapesSignature, 24) != 0) return false;
  textKind_ = TextKind::Shapes;
  std::uint16_t firstCode = 0;
  std::uint16_t firstLength = 0;
  if (!Read16(textFont_, 30, firstCode) || !Read16(textFont_, 32, firstLength)) return false;
  if ((firstCode & 0xFF) != 0 && (firstCode >> 8) != 0) return false;
  std::size_t at = 30;
  for (;;) {
    std::uint16_t code = 0;
    if (!Read16(textFont_, at, code)) return false;
    at += 4;
    if (code == 255) break;
  }
  shapesIndexEnd_ = at + 3 * 4;
  if (firstLength > kInfoRecordMax) return false;
  shapesRecords_ = shapesIndexEnd_ + firstLength + 4;
  if (shapesRecords_ > b.size()) return false;
  above_ = 28;
  return true;
}

bool CAutoCadDxfFileFormat::ReadBigHeader() {
  const FontFile& f = bigFont_;
  std::uint16_t eight = 0;
  std::uint16_t count = 0;
  std::uint16_t ranges = 0;
  if (!Read16(f, 25, eight) || eight != 8 || !Read16(f, 27, count) || count == 0 || !Read16(f, 29, ranges) ||
      ranges == 0)
    return false;
  const std::size_t index = 31 + 4u * ranges;
  std::uint16_t code = 1;
  std::uint16_t length = 0;
  std::uint32_t offset = 0;
  if (!Read16(f, index, code) || code != 0 || !Read16(f, index + 2, length) || !Read32(f, index + 4, offset))
    return false;
  if (length > kInfoRecordMax || offset > f.bytes.size() || f.bytes.size() - offset < length) return false;
  const std::uint8_t* record = f.bytes.data() + offset;
  const void* nul = std::memchr(record, 0, length);
  if (nul == nullptr) return false;
  const std::size_t after = static_cast<const std::uint8_t*>(nul) - record + 1;
  if (after + 4 > length) return false;
  bigHeight_ = record[after];
  bigModes_ = record[after + 2];
  bigWidth_ = record[after + 3];
  if (bigHeight_ == 0) return false;  // the scale divides by it
  bigShapeCount_ = count;
  bigIndexAfterFirst_ = index + 8;
  return true;
}

void CAutoCadDxfFileFormat::UpdateFontScale(int big) {
  if (big)
    bigScale_ = 11.0 / bigHeight_;
  else
    textScale_ = textKind_ == TextKind::Unifont ? 10.0 / above_ : 10.0 / 28.0;
}

void CAutoCadDxfFileFormat::SetTextFrame(double height, double angle, double widthFactor) {
  height_ = height;
  angle_ = angle;
  widthFactor_ = widthFactor;
}

void CAutoCadDxfFileFormat::SetStartPoint(double x, double y) {
  origin_ = {x, y};
  current_ = {x, y};
  if (output_) output_->push_back({0, x, y});
}

int CAutoCadDxfFileFormat::FindShape(std::vector<std::uint8_t>& record, std::uint8_t c0, std::uint8_t c1,
                                     std::size_t limit) {
  auto take = [&](const FontFile& font, std::size_t at, std::size_t length) {
    if (length > limit || at > font.bytes.size() || font.bytes.size() - at < length) return 0;
    record.assign(font.bytes.begin() + static_cast<std::ptrdiff_t>(at),
                  font.bytes.begin() + static_cast<std::ptrdiff_t>(at + length));
    return 1;
  };
  if (c0 >= 1 && c0 <= 127) {
    if (!textFont_.loaded) return 0;
    if (textKind_ == TextKind::Unifont) {
      std::size_t at = unifontRecords_;
      std::uint16_t code = 0;
      std::uint16_t length = 0;
      while (Read16(textFont_, at, code) && Read16(textFont_, at + 2, length)) {
        if ((code >> 8) == 0 && (code & 0xFF) == c0) return take(textFont_, at + 4, length);
        at += 4u + length;
      }
      return 0;
    }
    std::size_t position = shapesRecords_;
    for (std::size_t entry = 30 + 2 * 4; entry < shapesIndexEnd_; entry += 4) {
      std::uint16_t code = 0;
      std::uint16_t length = 0;
      if (!Read16(textFont_, entry, code) || !Read16(textFont_, entry + 2, length)) return 0;
      if ((code >> 8) == 0 && (code & 0xFF) == c0) return take(textFont_, position, length);
      position += length;
    }
    return 0;
  }
  if (!bigFont_.loaded) return 0;
  std::size_t at = bigIndexAfterFirst_;
  for (int read = 0; read <= bigShapeCount_; ++read, at += 8) {
    std::uint16_t code = 0;
    std::uint16_t length = 0;
    std::uint32_t offset = 0;
    if (!Read16(bigFont_, at, code) || !Read16(bigFont_, at + 2, length) || !Read32(bigFont_, at + 4, offset))
      return 0;
    if ((code >> 8) == c0 && (code & 0xFF) == c1) return take(bigFont_, offset, length);
  }
  return 0;
}

int CAutoCadDxfFileFormat::RenderString(const char* text) {
  if (text == nullptr) return 1;
  const auto* p = reinterpret_cast<const unsigned char*>(text);
  std::vector<std::uint8_t> record;
  textStart_ = output_ ? output_->size() : 0;
  while (*p != 0) {
    const unsigned char b = *p;
    if (b < 32) {
      ++p;
      continue;
    }
    if (b >= 0x80) {
      if (p[1] == 0) break;  // a lead byte right before the end
      if (bigFont_.loaded) {
        scale_ = 1.0;
        record.clear();
        if (FindShape(record, b, p[1])) {
          fontScale_ = bigScale_;
          if (!BuildTextPath(record, 1, 0)) return 0;
        }
      }
      p += 2;
      continue;
    }
    if (textFont_.loaded) {
      scale_ = 1.0;
      record.clear();
      if (FindShape(record, b, 0)) {
        fontScale_ = textScale_;
        if (!BuildTextPath(record, 0, 0)) return 0;
      }
    }
    ++p;
  }
  return 1;
}

int CAutoCadDxfFileFormat::Displace(double dx, double dy) {
  const Position next{current_.x + dx, current_.y + dy};
  const double a = angle_ * kDeg;
  const double u = next.x - origin_.x;
  const double v = next.y - origin_.y;
  if (output_ && output_->size() >= textStart_ + kTextPointsMax) {
    if (!runaway_) platform::MessageBox("内存不够");
    runaway_ = true;
    return 0;
  }
  if (output_)
    output_->push_back({static_cast<std::uint8_t>(penDown_ ? kTextPenDown : 0),
                        u * std::cos(a) - v * std::sin(a) + origin_.x, u * std::sin(a) + v * std::cos(a) + origin_.y});
  current_ = next;
  if (current_.x > maxX_) maxX_ = current_.x;
  return 1;
}

int CAutoCadDxfFileFormat::BuildTextPath(const std::vector<std::uint8_t>& b, int big, int nested) {
  const float k = static_cast<float>(height_) * 0.1f;
  const float w = static_cast<float>(widthFactor_);
  penDown_ = false;
  bool skip = false;
  if (!nested) {
    x0_ = current_.x;
    y0_ = current_.y;
    maxX_ = x0_;
    subshapeCalls_ = 0;
    runaway_ = false;
  }
  std::size_t i = 0;
  if (big || textKind_ == TextKind::Unifont) {
    const auto nul = std::find(b.begin(), b.end(), 0);
    i = nul == b.end() ? b.size() : static_cast<std::size_t>(nul - b.begin()) + 1;
  }
  auto operand = [&](std::size_t at) -> int { return at < b.size() ? static_cast<std::int8_t>(b[at]) : 0; };
  auto displacement = [&](int dx, int dy) {
    const float sf = static_cast<float>(scale_) * static_cast<float>(fontScale_);
    return Displace(static_cast<float>(dx) * w * k * sf, static_cast<float>(dy) * k * sf);
  };
  while (i < b.size()) {
    if (runaway_) return 0;
    const int code = static_cast<std::int8_t>(b[i++]);
    if (code == 0) break;
    if (code == 1) {
      penDown_ = true;
      continue;
    }
    if (code == 2) {
      penDown_ = false;
      continue;
    }
    if (skip) {
      skip = false;
      if (code == 3 || code == 4 || code == 7) {
        i += 1;
      } else if (code == 8) {
        i += 2;
      } else if (code == 9) {
        while (i + 1 < b.size() && !(b[i] == 0 && b[i + 1] == 0)) i += 2;
        i += 2;
      } else if (code >= 10 && code <= 13) {
        i = SkipArc(b, i, code);
      }
      continue;
    }
    switch (code) {
      case 3:
      case 4: {
        const int n = operand(i++);
        if (n == 0) {
          platform::MessageBox("字体文件错误!!!");
          return 0;
        }
        scale_ = code == 3 ? scale_ / n : scale_ * n;
        break;
      }
      case 5:
        if (stack_.size() >= 4) {
          platform::MessageBox("栈上溢!!!");
          return 0;
        }
        stack_.push_back(current_);
        break;
      case 6:
        if (stack_.empty()) {
          platform::MessageBox("栈下溢!!!");
          return 0;
        }
        current_ = stack_.back();
        stack_.pop_back();
        break;
      case 7: {
        const std::uint8_t n = i < b.size() ? b[i] : 0;
        ++i;
        if (depth_ >= kSubshapeDepthMax || ++subshapeCalls_ > kSubshapeCallsMax) {
          platform::MessageBox("字型调用出错!!!");
          runaway_ = true;
          return 0;
        }
        std::vector<std::uint8_t> sub;
        if (!FindShape(sub, 0, n, kSubshapeRecordMax)) {
          platform::MessageBox("字型调用出错!!!");
          break;
        }
        ++depth_;
        const bool pen = penDown_;
        const int ok = BuildTextPath(sub, 1, 1);
        --depth_;
        penDown_ = pen;
        if (!ok) {
          if (!runaway_) platform::MessageBox("内存不够");
          return 0;
        }
        break;
      }
      case 8:
        displacement(operand(i), operand(i + 1));
        i += 2;
        break;
      case 9:
        while (i + 1 < b.size()) {
          const int dx = operand(i);
          const int dy = operand(i + 1);
          i += 2;
          if (dx == 0 && dy == 0) break;
          displacement(dx, dy);
        }
        break;
      case 10:
      case 11:
      case 12:
      case 13: i = SkipArc(b, i, code); break;
      case 14: skip = true; break;
      default: {
        const int byte = static_cast<std::uint8_t>(code);
        const int length = byte >> 4;
        const int direction = byte & 0x0F;
        const float sf = static_cast<float>(scale_) * static_cast<float>(fontScale_);
        Displace(length * sf * k * w * kDirections[direction][0], length * sf * k * kDirections[direction][1]);
        break;
      }
    }
  }
  if (!nested) {
    current_.y = y0_;
    if (big) current_.x = maxX_;
  }
  return 1;
}

std::string MarkFontsFolder() {
  const char* configured = std::getenv("VENDRIK_MARKFONTS_DIR");
  if (configured != nullptr && *configured != '\0') return configured;
  return (std::filesystem::path(platform::DefaultDataFolder()) / "MarkFonts").string();
}

std::string MarkFontPath(const std::string& folder, const std::string& name) {
  // Only the root folder "/" already ends in its separator.
  const std::string path = folder + (folder == "/" ? "Fonts/" : "/Fonts/") + name;
  std::error_code ec;
  if (std::filesystem::exists(path, ec)) return path;
  // Font files copied from elsewhere keep their own spelling of the name.
  const std::filesystem::path dir = std::filesystem::path(path).parent_path();
  for (const auto& entry : std::filesystem::directory_iterator(dir, ec)) {
    const std::string candidate = entry.path().filename().string();
    if (candidate.size() == name.size() &&
        std::equal(candidate.begin(), candidate.end(), name.begin(),
                   [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) ==
                                               std::tolower(static_cast<unsigned char>(b)); }))
      return entry.path().string();
  }
  return path;
}

int BuildTextMoves(std::vector<TextPoint>& output, double x, double y, double height, double angle,
                   double widthFactor, const char* text, int /*unused*/) {
  CAutoCadDxfFileFormat renderer(&output);
  const std::string folder = MarkFontsFolder();
  auto load = [&](const std::string& first, const std::string& second, int big) {
    for (const std::string& name : {first, second}) {
      if (renderer.OpenFontFile(MarkFontPath(folder, name), big) && renderer.ReadFontHeader(big)) {
        renderer.UpdateFontScale(big);
        return;
      }
      renderer.CloseFontFile(big);
    }
  };
  load("ROMANS.SHX", "ROMANS.SHX", 0);
  load("Hzfs.shx", "Hzfs.SHX", 1);
  if (!renderer.Loaded(0) && !renderer.Loaded(1)) return 0;
  renderer.SetTextFrame(height, angle, widthFactor);
  renderer.SetStartPoint(x, y);
  const int rendered = renderer.RenderString(text);
  renderer.CloseFontFile(0);
  renderer.CloseFontFile(1);
  return rendered;
}

}  // namespace ravelpen
