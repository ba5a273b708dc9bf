#include "tests/text/fonts/shx/ShxTestFonts.h"

#include <atomic>
#include <cstring>
#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "platform/InstallDir.h"
#include "text/fonts/shx/ShxTextToStrokes.h"

namespace {

void Append(Bytes& out, const void* data, std::size_t count) {
  const auto* p = static_cast<const std::uint8_t*>(data);
  out.insert(out.end(), p, p + count);
}
void AppendU16(Bytes& out, std::uint16_t v) {
  out.push_back(v & 0xFF);
  out.push_back(v >> 8);
}
void AppendU32(Bytes& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back((v >> (8 * i)) & 0xFF);
}
void AppendSignature(Bytes& out, const char* text) {
  Append(out, text, std::strlen(text));
  Append(out, "\r\n\x1A", 3);
  out.resize(25, 0);
}
Bytes Named(const char* name, const Bytes& shape) {
  Bytes out;
  Append(out, name, std::strlen(name) + 1);
  out.insert(out.end(), shape.begin(), shape.end());
  return out;
}

}  // namespace

void PutU16(Bytes& out, std::size_t at, std::uint16_t value) {
  out[at] = value & 0xFF;
  out[at + 1] = value >> 8;
}
void PutU32(Bytes& out, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out[at + i] = (value >> (8 * i)) & 0xFF;
}

Bytes Shapes86Font(const std::vector<TestGlyph>& glyphs) {
  Bytes out;
  AppendSignature(out, "AutoCAD-86 shapes 1.0");
  out.resize(30, 0);
  const std::uint16_t infoLength = 4;
  AppendU16(out, 0);  // information entry: its length is skipped after the index
  AppendU16(out, infoLength);
  AppendU16(out, 0);
  AppendU16(out, 0);
  for (const auto& g : glyphs) {  // from offset 38
    AppendU16(out, g.code);
    AppendU16(out, static_cast<std::uint16_t>(g.shape.size()));
  }
  AppendU16(out, 0x00FF);
  AppendU16(out, 0);
  out.resize(out.size() + 12 + infoLength + 4, 0);
  for (const auto& g : glyphs) out.insert(out.end(), g.shape.begin(), g.shape.end());
  return out;
}

Bytes Shapes88Font(const std::vector<TestGlyph>& glyphs, const char* signature) {
  Bytes out;
  AppendSignature(out, signature);
  out.resize(28, 0);
  AppendU16(out, static_cast<std::uint16_t>(glyphs.size()));
  for (const auto& g : glyphs) {
    AppendU16(out, g.code);
    AppendU16(out, static_cast<std::uint16_t>(g.shape.size() + 2));
  }
  for (const auto& g : glyphs) {
    AppendU16(out, g.code);
    out.insert(out.end(), g.shape.begin(), g.shape.end());
  }
  return out;
}

Bytes UnifontFont(const std::vector<TestGlyph>& glyphs, std::uint8_t heightAboveBase) {
  Bytes out;
  AppendSignature(out, "AutoCAD-86 unifont 1.0");
  out.resize(27, 0);
  Bytes info = Named("Test unifont", {heightAboveBase, 0, 2, 0});
  AppendU16(out, 0);
  AppendU16(out, static_cast<std::uint16_t>(info.size()));
  out.insert(out.end(), info.begin(), info.end());
  for (const auto& g : glyphs) {
    const Bytes def = Named("g", g.shape);
    AppendU16(out, g.code);
    AppendU16(out, static_cast<std::uint16_t>(def.size()));
    out.insert(out.end(), def.begin(), def.end());
  }
  return out;
}

Bytes BigFont(const std::vector<TestGlyph>& glyphs, std::uint8_t height) {
  Bytes out;
  AppendSignature(out, "AutoCAD-86 bigfont 1.0");
  AppendU16(out, 8);
  AppendU16(out, static_cast<std::uint16_t>(glyphs.size() + 1));
  AppendU16(out, 1);          // one escape range
  AppendU16(out, 0x81);
  AppendU16(out, 0xFE);
  const Bytes info = Named("Test bigfont", {height, 0, 0, 0});
  std::vector<Bytes> defs;
  for (const auto& g : glyphs) defs.push_back(Named("b", g.shape));
  std::uint32_t offset = static_cast<std::uint32_t>(out.size() + 8 * (glyphs.size() + 1));
  AppendU16(out, 0);
  AppendU16(out, static_cast<std::uint16_t>(info.size()));
  AppendU32(out, offset);
  offset += static_cast<std::uint32_t>(info.size());
  for (std::size_t i = 0; i < glyphs.size(); ++i) {
    AppendU16(out, glyphs[i].code);
    AppendU16(out, static_cast<std::uint16_t>(defs[i].size()));
    AppendU32(out, offset);
    offset += static_cast<std::uint32_t>(defs[i].size());
  }
  out.insert(out.end(), info.begin(), info.end());
  for (const auto& d : defs) out.insert(out.end(), d.begin(), d.end());
  return out;
}

Bytes PointListFont(const std::vector<ListGlyph>& glyphs) {
  Bytes out(9352, 0);
  PutU32(out, 4, static_cast<std::uint32_t>(glyphs.size()));
  for (std::size_t i = 0; i < glyphs.size(); ++i) {
    const std::size_t entry = 136 + 8 * i;
    out[entry] = glyphs[i].character;
    PutU32(out, entry + 4, static_cast<std::uint32_t>(out.size()));
    AppendU32(out, static_cast<std::uint32_t>(glyphs[i].points.size()));
    for (const auto& p : glyphs[i].points) {
      Append(out, &p.x, 8);
      Append(out, &p.y, 8);
      out.push_back(p.flag);
      out.resize(out.size() + 7, 0);
    }
  }
  return out;
}

TestInstallFolder::TestInstallFolder() {
  static std::atomic<int> next{0};
  path_ = platform::DefaultDataFolder() + "/shx-install-" + std::to_string(getpid()) + "-" + std::to_string(next++);
  std::filesystem::remove_all(path_);
  std::filesystem::create_directories(path_ + "/Fonts");
}

TestInstallFolder::~TestInstallFolder() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

void TestInstallFolder::AddFont(const std::string& name, const Bytes& bytes) const {
  std::ofstream file(path_ + "/Fonts/" + name, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

ShxRun RunShx(const TestInstallFolder& folder, const std::string& text, const std::string& mainFont,
              const std::string& bigFont, const ShxParams& p, int capacity) {
  ShxRun run;
  ShxTextToStrokes(text, folder.Path(), mainFont, bigFont, p.originX, p.originY, p.height, p.rotation, p.slant,
                   p.mainWidth, p.spacing, p.bigWidth, p.spacing, nullptr, nullptr, &run.counted, &run.countStatus);
  int cap = capacity < 0 ? run.counted : capacity;
  constexpr double kCanary = -12345.5;
  constexpr std::uint8_t kFlagCanary = 0xEE;
  constexpr int kSlack = 10;
  std::vector<double> xy(static_cast<std::size_t>(cap + kSlack), kCanary);
  std::vector<std::uint8_t> flags(static_cast<std::size_t>(cap + kSlack) / 2 + 1, kFlagCanary);
  run.returned = ShxTextToStrokes(text, folder.Path(), mainFont, bigFont, p.originX, p.originY, p.height, p.rotation,
                                  p.slant, p.mainWidth, p.spacing, p.bigWidth, p.spacing, xy.data(), flags.data(), &cap,
                                  &run.status);
  const int written = std::max(run.returned, 0);
  for (std::size_t i = static_cast<std::size_t>(cap); i < xy.size(); ++i) {
    if (xy[i] != kCanary) run.canariesIntact = false;
  }
  for (std::size_t i = static_cast<std::size_t>(cap) / 2; i < flags.size(); ++i) {
    if (flags[i] != kFlagCanary) run.canariesIntact = false;
  }
  run.xy.assign(xy.begin(), xy.begin() + written);
  run.flags.assign(flags.begin(), flags.begin() + written / 2);
  return run;
}

