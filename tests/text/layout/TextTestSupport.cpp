#include "tests/text/layout/TextTestSupport.h"

#include <fstream>

#include "document/objects/ObjTypeOps.h"
#include "text/objects/CObjTextAutoUpdate.h"
#include "text/objects/CObjTextDate.h"
#include "values/ShellValues.h"

Bytes MillimetreStrokeFont() {
  return Shapes86Font({{'L', {2, 0x44, 1, 0x4C, 0x30, 2, 0x10, 0}},
                       {'I', {2, 0x44, 1, 0x4C, 2, 0}},
                       {' ', {2, 0x20, 0}}});
}

std::uint8_t DotByte(int column, int row) { return static_cast<std::uint8_t>(128 + column * 16 + row); }

Bytes DotFontBytes(const std::vector<DotRecord>& records) {
  Bytes out(296, 0);
  for (const DotRecord& r : records) {
    const std::size_t at = out.size();
    out.resize(at + 12, 0);
    out[at + 3] = r.code;
    PutU32(out, at + 4, static_cast<std::uint32_t>(r.dots.size()));
    for (auto [c, row] : r.dots) out.push_back(DotByte(c, row));
  }
  return out;
}

void WriteHzkFile(const std::string& path, int bytesPerGlyph,
                  const std::vector<std::pair<std::uint16_t, std::vector<std::uint8_t>>>& glyphs) {
  std::vector<char> bytes;
  for (const auto& [code, glyph] : glyphs) {
    const long offset = (static_cast<long>((code >> 8) - 0xA1) * 94 + ((code & 0xFF) - 0xA1)) * bytesPerGlyph;
    if (bytes.size() < static_cast<std::size_t>(offset + bytesPerGlyph)) {
      bytes.resize(static_cast<std::size_t>(offset + bytesPerGlyph), 0);
    }
    for (std::size_t k = 0; k < glyph.size(); ++k) bytes[static_cast<std::size_t>(offset) + k] = static_cast<char>(glyph[k]);
  }
  std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

TextRig::TextRig(TextRigKind kind) : oldInstall_(InstallFolder) {
  InstallFolder = folder_.Path();
  RegisterObjTypeOps(ObjClassId::Text, &TextTypeOps());
  RegisterObjTypeOps(ObjClassId::TextAutoUpdate, &TextAutoUpdateTypeOps());
  RegisterObjTypeOps(ObjClassId::TextDate, &TextDateTypeOps());
  folder_.AddFont("mm.shx", MillimetreStrokeFont());
  const CDoublePoint at(10, 50);
  CObjText* text = nullptr;
  CObjCreateRecord record;
  switch (kind) {
    case TextRigKind::Plain:
      text = new CObjText(TextCreateRecord{at, ""});
      record = CObjCreateRecord{"Text", OBJ_TEXT, text, static_cast<int>(sizeof(CObjText)), {}};
      break;
    case TextRigKind::Serial:
      text = new CObjTextAutoUpdate(at, "LIL", "", "");
      record = CObjCreateRecord{"Serial", OBJ_SERIAL, text, static_cast<int>(sizeof(CObjTextAutoUpdate)), {}};
      break;
    case TextRigKind::Date:
      text = new CObjTextDate(TextCreateRecord{at, ""}, 10);
      record = CObjCreateRecord{"Date", OBJ_DATE, text, static_cast<int>(sizeof(CObjTextDate)), {}};
      break;
  }
  text->Settings().strokeFontPair = "mm+nobig";
  text->Settings().charHeight = 28;
  element_ = std::make_unique<CObjElement>(record);
  text_ = text;
}

TextRig::~TextRig() {
  element_.reset();
  RegisterObjTypeOps(ObjClassId::Text, nullptr);
  RegisterObjTypeOps(ObjClassId::TextAutoUpdate, nullptr);
  RegisterObjTypeOps(ObjClassId::TextDate, nullptr);
  InstallFolder = oldInstall_;
}

void TextRig::Layout(const std::string& text) {
  text_->SetText(text, S().position, false);
  text_->RecalcPath();
  element_->UpdateBoundRect();
}
