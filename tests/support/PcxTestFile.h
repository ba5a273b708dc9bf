#pragma once
// Writes PCX files for tests: a picture given as palette indices or
// 0xRRGGBB colours (top line first) in one of the layouts the decoder reads,
// run-length coded as the usual writers do it.
#include <cstdint>
#include <string>
#include <vector>

enum class PcxKind {
  Mono,        // 1 bit, one plane
  Planes8,     // 3 planes of 1 bit, header palette
  Planes16,    // 4 planes of 1 bit, header palette
  Packed16,    // 4 bits in one plane, header palette
  Palette256,  // 8 bits, palette at the end
  Rgb,         // three 8-bit planes
};

struct PcxPicture {
  PcxKind kind = PcxKind::Mono;
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;   // index, or 0xRRGGBB for Rgb; width x height, top line first
  std::vector<std::uint32_t> palette;  // 0xRRGGBB entries (16 or 256)
  bool runsAcrossLines = false;        // one run may go on into the next line
};

inline std::string EncodePcx(const PcxPicture& p) {
  int bits = 1;
  int planes = 1;
  switch (p.kind) {
    case PcxKind::Mono: break;
    case PcxKind::Planes8: planes = 3; break;
    case PcxKind::Planes16: planes = 4; break;
    case PcxKind::Packed16: bits = 4; break;
    case PcxKind::Palette256: bits = 8; break;
    case PcxKind::Rgb:
      bits = 8;
      planes = 3;
      break;
  }
  const int bytesPerLine = ((p.width * bits + 7) / 8 + 1) / 2 * 2;  // even, as the format asks
  std::string out(128, '\0');
  auto word = [&out](int at, int v) {
    out[static_cast<std::size_t>(at)] = static_cast<char>(v & 0xFF);
    out[static_cast<std::size_t>(at) + 1] = static_cast<char>((v >> 8) & 0xFF);
  };
  out[0] = 0x0A;
  out[1] = 5;
  out[2] = 1;
  out[3] = static_cast<char>(bits);
  word(8, p.width - 1);
  word(10, p.height - 1);
  word(12, 300);
  word(14, 300);
  if (p.kind == PcxKind::Planes8 || p.kind == PcxKind::Planes16 || p.kind == PcxKind::Packed16) {
    for (std::size_t i = 0; i < 16 && i < p.palette.size(); ++i) {
      for (int c = 0; c < 3; ++c) out[16 + 3 * i + static_cast<std::size_t>(c)] = static_cast<char>(p.palette[i] >> (16 - 8 * c));
    }
  }
  out[65] = static_cast<char>(planes);
  word(66, bytesPerLine);
  word(68, 1);

  std::vector<std::uint8_t> lines;
  for (int y = 0; y < p.height; ++y) {
    for (int plane = 0; plane < planes; ++plane) {
      std::vector<std::uint8_t> line(static_cast<std::size_t>(bytesPerLine), 0);
      for (int x = 0; x < p.width; ++x) {
        const std::uint32_t v = p.pixels[static_cast<std::size_t>(y * p.width + x)];
        switch (p.kind) {
          case PcxKind::Mono:
          case PcxKind::Planes8:
          case PcxKind::Planes16:
            if ((v >> plane) & 1) line[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
            break;
          case PcxKind::Packed16: line[static_cast<std::size_t>(x / 2)] |= static_cast<std::uint8_t>(x % 2 == 0 ? v << 4 : v & 0x0F); break;
          case PcxKind::Palette256: line[static_cast<std::size_t>(x)] = static_cast<std::uint8_t>(v); break;
          case PcxKind::Rgb: line[static_cast<std::size_t>(x)] = static_cast<std::uint8_t>(v >> (16 - 8 * plane)); break;
        }
      }
      lines.insert(lines.end(), line.begin(), line.end());
    }
  }
  const std::size_t lineLength = static_cast<std::size_t>(bytesPerLine * planes);
  std::size_t i = 0;
  while (i < lines.size()) {
    const std::size_t lineEnd = p.runsAcrossLines ? lines.size() : (i / lineLength + 1) * lineLength;
    std::size_t n = 1;
    while (i + n < lineEnd && n < 63 && lines[i + n] == lines[i]) ++n;
    if (n > 1 || lines[i] >= 0xC0) out += static_cast<char>(0xC0 | n);
    out += static_cast<char>(lines[i]);
    i += n;
  }
  if (p.kind == PcxKind::Palette256) {
    out += '\x0C';
    for (std::size_t k = 0; k < 256; ++k) {
      const std::uint32_t c = k < p.palette.size() ? p.palette[k] : 0;
      for (int s = 16; s >= 0; s -= 8) out += static_cast<char>((c >> s) & 0xFF);
    }
  }
  return out;
}
