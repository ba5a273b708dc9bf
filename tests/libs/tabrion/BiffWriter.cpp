#include "tests/libs/tabrion/BiffWriter.h"

#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-stdio.h>
#include <gsf/gsf-utils.h>

#include <QString>
#include <cmath>
#include <cstring>
#include <stdexcept>

namespace tabrion_test {

void Put16(Bytes& b, unsigned v) {
  b.push_back(v & 0xFF);
  b.push_back((v >> 8) & 0xFF);
}
void Put32(Bytes& b, std::uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}
void PutRecord(Bytes& b, unsigned type, const Bytes& body) {
  Put16(b, type);
  Put16(b, static_cast<unsigned>(body.size()));
  b.insert(b.end(), body.begin(), body.end());
}

namespace {

std::u16string Utf16(const std::string& utf8) { return QString::fromUtf8(utf8.c_str()).toStdU16String(); }
bool Narrow(const std::u16string& s) {
  for (char16_t c : s)
    if (c > 0xFF) return false;
  return true;
}
void PutDouble(Bytes& b, double v) {
  std::uint64_t bits;
  std::memcpy(&bits, &v, 8);
  Put32(b, static_cast<std::uint32_t>(bits));
  Put32(b, static_cast<std::uint32_t>(bits >> 32));
}
Bytes Cell(int row, int col, int style) {
  Bytes r;
  Put16(r, static_cast<unsigned>(row));
  Put16(r, static_cast<unsigned>(col));
  Put16(r, static_cast<unsigned>(style));
  return r;
}
Bytes Bof(unsigned kind) {
  Bytes r;
  Put16(r, 0x0600);
  Put16(r, kind);
  Put16(r, 0x0DBB);
  Put16(r, 0x07CC);
  Put32(r, 0);
  Put32(r, 0x06);
  return r;
}

}  // namespace

void PutString16(Bytes& b, const std::string& utf8) {
  std::u16string s = Utf16(utf8);
  bool narrow = Narrow(s);
  Put16(b, static_cast<unsigned>(s.size()));
  b.push_back(narrow ? 0 : 1);
  for (char16_t c : s) narrow ? b.push_back(static_cast<std::uint8_t>(c)) : Put16(b, c);
}

int BiffWriter::Style(int id, const std::string& code) {
  if (!code.empty()) formats_.emplace_back(id, code);
  styles_.push_back(id);
  return static_cast<int>(styles_.size());  // style 0 is the General one written first
}

void BiffWriter::Number(int row, int col, int style, double v) {
  Bytes r = Cell(row, col, style);
  if (v == std::floor(v) && std::fabs(v) < (1 << 29)) {
    Put32(r, static_cast<std::uint32_t>(static_cast<std::int32_t>(v)) << 2 | 0x02);
    PutRecord(cells_, 0x027E, r);
  } else if (double h = v * 100; h == std::floor(h) && std::fabs(h) < (1 << 29)) {
    Put32(r, static_cast<std::uint32_t>(static_cast<std::int32_t>(h)) << 2 | 0x03);
    PutRecord(cells_, 0x027E, r);
  } else {
    PutDouble(r, v);
    PutRecord(cells_, 0x0203, r);
  }
}

void BiffWriter::MulRk(int row, int col, int style, const std::vector<std::int32_t>& integers) {
  Bytes r;
  Put16(r, static_cast<unsigned>(row));
  Put16(r, static_cast<unsigned>(col));
  for (std::int32_t v : integers) {
    Put16(r, static_cast<unsigned>(style));
    Put32(r, static_cast<std::uint32_t>(v) << 2 | 0x02);
  }
  Put16(r, static_cast<unsigned>(col + static_cast<int>(integers.size()) - 1));
  PutRecord(cells_, 0x00BD, r);
}

void BiffWriter::Blank(int row, int col, int style) { PutRecord(cells_, 0x0201, Cell(row, col, style)); }

void BiffWriter::SharedText(int row, int col, int style, const std::string& utf8) {
  Bytes r = Cell(row, col, style);
  Put32(r, static_cast<std::uint32_t>(strings_.size()));
  strings_.push_back(utf8);
  PutRecord(cells_, 0x00FD, r);
}

void BiffWriter::Label(int row, int col, int style, const std::string& utf8) {
  Bytes r = Cell(row, col, style);
  PutString16(r, utf8);
  PutRecord(cells_, 0x0204, r);
}

void BiffWriter::Boolean(int row, int col, bool v) {
  Bytes r = Cell(row, col, 0);
  r.push_back(v ? 1 : 0);
  r.push_back(0);
  PutRecord(cells_, 0x0205, r);
}

void BiffWriter::Error(int row, int col, std::uint8_t code) {
  Bytes r = Cell(row, col, 0);
  r.push_back(code);
  r.push_back(1);
  PutRecord(cells_, 0x0205, r);
}

namespace {
// FORMULA with the result bytes given and "=1" as its formula.
Bytes Formula(int row, int col, int style, const Bytes& result) {
  Bytes r = Cell(row, col, style);
  r.insert(r.end(), result.begin(), result.end());
  Put16(r, 0);     // options
  Put32(r, 0);
  Put16(r, 3);     // formula length
  r.push_back(0x1E);  // ptgInt 1
  Put16(r, 1);
  return r;
}
}  // namespace

void BiffWriter::FormulaNumber(int row, int col, int style, double v) {
  Bytes result;
  PutDouble(result, v);
  PutRecord(cells_, 0x0006, Formula(row, col, style, result));
}

void BiffWriter::FormulaText(int row, int col, int style, const std::string& utf8) {
  PutRecord(cells_, 0x0006, Formula(row, col, style, {0, 0, 0, 0, 0, 0, 0xFF, 0xFF}));
  Bytes s;
  PutString16(s, utf8);
  PutRecord(cells_, 0x0207, s);
}

void BiffWriter::FormulaBoolean(int row, int col, bool v) {
  PutRecord(cells_, 0x0006, Formula(row, col, 0, {1, 0, static_cast<std::uint8_t>(v), 0, 0, 0, 0xFF, 0xFF}));
}

void BiffWriter::Raw(std::uint16_t type, const Bytes& data) { PutRecord(cells_, type, data); }

Bytes BiffWriter::Stream() const {
  Bytes b;
  PutRecord(b, 0x0809, Bof(0x0005));
  if (date1904_) PutRecord(b, 0x0022, Bytes{1, 0});
  for (const auto& [id, code] : formats_) {
    Bytes r;
    Put16(r, static_cast<unsigned>(id));
    PutString16(r, code);
    PutRecord(b, 0x041E, r);
  }
  auto xf = [&](int id) {
    Bytes r(20, 0);
    r[2] = static_cast<std::uint8_t>(id);
    r[3] = static_cast<std::uint8_t>(id >> 8);
    PutRecord(b, 0x00E0, r);
  };
  xf(0);
  for (int id : styles_) xf(id);
  std::size_t sheetOffsetAt = b.size() + 4;
  Bytes sheet;
  Put32(sheet, 0);
  Put16(sheet, 0);
  sheet.push_back(5);
  sheet.push_back(0);
  sheet.insert(sheet.end(), {'S', 'h', 'e', 'e', 't'});
  PutRecord(b, 0x0085, sheet);

  // Shared strings: a string's header stays in one record; its characters
  // may go on in a CONTINUE that starts with the option byte again.
  std::vector<Bytes> records(1);
  Put32(records[0], static_cast<std::uint32_t>(strings_.size()));
  Put32(records[0], static_cast<std::uint32_t>(strings_.size()));
  for (const std::string& text : strings_) {
    std::u16string s = Utf16(text);
    bool narrow = Narrow(s);
    if (records.back().size() + 3 + (s.empty() ? 0 : 1) > limit_) records.emplace_back();
    Put16(records.back(), static_cast<unsigned>(s.size()));
    records.back().push_back(narrow ? 0 : 1);
    std::size_t width = narrow ? 1 : 2;
    for (char16_t c : s) {
      if (records.back().size() + width > limit_) {
        records.emplace_back();
        records.back().push_back(narrow ? 0 : 1);
      }
      narrow ? records.back().push_back(static_cast<std::uint8_t>(c)) : Put16(records.back(), c);
    }
  }
  PutRecord(b, 0x00FC, records[0]);
  for (std::size_t i = 1; i < records.size(); ++i) PutRecord(b, 0x003C, records[i]);
  PutRecord(b, 0x000A, {});

  std::uint32_t at = static_cast<std::uint32_t>(b.size());
  for (int i = 0; i < 4; ++i) b[sheetOffsetAt + i] = static_cast<std::uint8_t>(at >> (8 * i));
  PutRecord(b, 0x0809, Bof(0x0010));
  b.insert(b.end(), cells_.begin(), cells_.end());
  PutRecord(b, 0x000A, {});
  return b;
}

void BiffWriter::WriteCompoundFile(const std::string& path, const Bytes& stream) {
  gsf_init();
  GError* error = nullptr;
  GsfOutput* file = gsf_output_stdio_new(path.c_str(), &error);
  if (!file) throw std::runtime_error("cannot write " + path);
  GsfOutfile* ole = gsf_outfile_msole_new(file);
  GsfOutput* child = gsf_outfile_new_child(ole, "Workbook", FALSE);
  gsf_output_write(child, stream.size(), stream.data());
  gsf_output_close(child);
  g_object_unref(child);
  gsf_output_close(GSF_OUTPUT(ole));  // closes the file under it too
  g_object_unref(ole);
  g_object_unref(file);
}

}  // namespace tabrion_test
