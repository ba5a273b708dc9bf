#include "libs/tabrion/BiffWorkbookReader.h"

#include <cstring>
#include <string>
#include <vector>

#include "libs/tabrion/BiffContinuedData.h"
#include "libs/tabrion/CodePageText.h"
#include "libs/tabrion/ColumnWidths.h"
#include "libs/tabrion/FormatTable.h"
#include "platform/Cp936.h"

namespace tabrion {
namespace {

enum : std::uint16_t {
  kBof = 0x0809,
  kEof = 0x000A,
  kFilePass = 0x002F,
  kDateMode = 0x0022,
  kFormat = 0x041E,
  kXf = 0x00E0,
  kBoundSheet = 0x0085,
  kSst = 0x00FC,
  kBlank = 0x0201,
  kMulBlank = 0x00BE,
  kNumber = 0x0203,
  kRk = 0x027E,
  kMulRk = 0x00BD,
  kLabelSst = 0x00FD,
  kLabel = 0x0204,
  kRString = 0x00D6,
  kBoolErr = 0x0205,
  kFormula = 0x0006,
  kString = 0x0207,
  kShrFmla = 0x04BC,
  kArray = 0x0221,
  kTable = 0x0236,
  kDefColWidth = 0x0055,
  kStandardWidth = 0x0099,
  kColInfo = 0x007D,
};

constexpr std::uint16_t kBiff8 = 0x0600;
constexpr std::uint16_t kBiff5 = 0x0500;  // Excel 5 and 95: 8-bit strings in the workbook's code page
constexpr std::uint16_t kCodePage = 0x0042;
constexpr std::uint16_t kGlobals = 0x0005;
constexpr std::uint16_t kWorksheet = 0x0010;

struct Globals {
  std::uint16_t version = kBiff8;
  int codePage = 1252;  // of Excel 5/95 strings
  FormatTable formats;
  std::vector<std::string> strings;    // shared strings, UTF-8
  std::vector<std::uint32_t> sheets;   // stream offsets of the worksheets' BOF records
};

double RkValue(std::uint32_t rk) {
  double v;
  if (rk & 0x02) {
    v = static_cast<double>(static_cast<std::int32_t>(rk) >> 2);
  } else {
    std::uint64_t bits = static_cast<std::uint64_t>(rk & 0xFFFFFFFCu) << 32;
    std::memcpy(&v, &bits, sizeof v);
  }
  return rk & 0x01 ? v / 100 : v;
}

double DoubleAt(ByteSpan d, std::size_t at) {
  std::uint64_t bits = U32At(d, at) | static_cast<std::uint64_t>(U32At(d, at + 4)) << 32;
  double v;
  std::memcpy(&v, &bits, sizeof v);
  return v;
}

const char* ErrorText(std::uint8_t code) {
  switch (code) {
    case 0x00: return "#NULL!";
    case 0x07: return "#DIV/0!";
    case 0x0F: return "#VALUE!";
    case 0x17: return "#REF!";
    case 0x1D: return "#NAME?";
    case 0x24: return "#NUM!";
    case 0x2A: return "#N/A";
    case 0x2B: return "#GETTING_DATA";
    default: return "#N/A";
  }
}

bool IsBof(BiffRecordReader& records, std::uint16_t version, std::uint16_t kind) {
  ByteSpan d = records.Data();
  return records.Type() == kBof && d.size() >= 4 && U16At(d, 0) == version && U16At(d, 2) == kind;
}

// A string as the workbook's version writes it, as UTF-8.
bool ReadText(BiffContinuedData& data, int lengthBytes, const Globals& g, std::string& utf8) {
  if (g.version == kBiff8) return data.UnicodeString(lengthBytes, utf8);
  std::string bytes;
  if (!data.ByteString(lengthBytes, bytes)) return false;
  utf8 = CodePageToUtf8(bytes, g.codePage);
  return true;
}

void ReadSharedStrings(BiffRecordReader& records, std::vector<std::string>& strings) {
  BiffContinuedData data(records.WithContinues());
  std::uint32_t total = 0, unique = 0;
  if (!data.U32(total) || !data.U32(unique)) return;
  strings.reserve(std::min<std::size_t>(unique, records.Data().size()));
  for (std::uint32_t i = 0; i < unique; ++i) {
    std::string text;
    if (!data.UnicodeString(2, text)) return;
    strings.push_back(std::move(text));
  }
}

// The workbook globals: from the first BOF to its EOF.
ReadResult ReadGlobals(ByteSpan stream, Globals& globals) {
  BiffRecordReader records(stream);
  if (!records.Next()) return ReadResult::cannotRead;
  if (IsBof(records, kBiff5, kGlobals)) globals.version = kBiff5;
  else if (!IsBof(records, kBiff8, kGlobals)) return ReadResult::cannotRead;
  while (records.Next()) {
    ByteSpan d = records.Data();
    switch (records.Type()) {
      case kEof:
        return ReadResult::ok;
      case kFilePass:
        return ReadResult::cannotRead;  // encrypted: no password to read it with
      case kCodePage:
        if (d.size() >= 2) globals.codePage = U16At(d, 0);
        break;
      case kDateMode:
        if (d.size() >= 2) globals.formats.SetDate1904(U16At(d, 0) == 1);
        break;
      case kFormat:
        if (d.size() >= 2) {
          std::string code;
          BiffContinuedData data(d.subspan(2));
          if (ReadText(data, globals.version == kBiff8 ? 2 : 1, globals, code))
            globals.formats.SetFormatCode(U16At(d, 0), std::move(code));
        }
        break;
      case kXf:
        if (d.size() >= 4) globals.formats.AddStyle(U16At(d, 2));
        break;
      case kBoundSheet:
        if (d.size() >= 6 && d[5] == 0x00) globals.sheets.push_back(U32At(d, 0));
        break;
      case kSst:
        ReadSharedStrings(records, globals.strings);
        break;
      default:
        break;
    }
  }
  return ReadResult::cannotRead;  // the globals never ended
}

class SheetCells {
 public:
  SheetCells(const Globals& globals, LoadedSheet& out) : g_(globals), out_(out) {}

  void Number(ByteSpan d, std::size_t at, std::uint16_t xf, double v) {
    int column = static_cast<int>(U16At(d, 2)) + 1 + static_cast<int>(at);
    Add(d, at, g_.formats.NumberText(xf, v, widths_.TextPixels(column)));
  }
  void Text(ByteSpan d, std::uint16_t xf, const std::string& utf8) { Add(d, 0, g_.formats.TextText(xf, utf8)); }
  // Row and column at the start of d; at > 0 gives the column of a MULRK or MULBLANK entry.
  void Add(ByteSpan d, std::size_t columnOffset, const std::string& utf8) {
    long row = static_cast<long>(U16At(d, 0)) + 1;
    int column = static_cast<int>(U16At(d, 2)) + 1 + static_cast<int>(columnOffset);
    out_.AddCell(row, column, utf8.empty() ? std::string() : platform::Utf8ToCp936(utf8));
  }

  void Record(BiffRecordReader& records) {
    ByteSpan d = records.Data();
    switch (records.Type()) {
      // The widths come before the cells, as the file format orders the records.
      case kDefColWidth:
        if (d.size() >= 2) widths_.SetBaseWidth(U16At(d, 0));
        break;
      case kStandardWidth:
        if (d.size() >= 2) widths_.SetDefaultWidth(U16At(d, 0) / 256.0);
        break;
      case kColInfo:
        if (d.size() >= 6) widths_.SetWidth(U16At(d, 0) + 1L, U16At(d, 2) + 1L, U16At(d, 4) / 256.0);
        break;
      case kBlank:
        if (d.size() >= 6) Add(d, 0, {});
        break;
      case kMulBlank:
        if (d.size() >= 6)
          for (std::size_t i = 0; 4 + 2 * i + 2 <= d.size() - 2; ++i) Add(d, i, {});
        break;
      case kNumber:
        if (d.size() >= 14) Number(d, 0, U16At(d, 4), DoubleAt(d, 6));
        break;
      case kRk:
        if (d.size() >= 10) Number(d, 0, U16At(d, 4), RkValue(U32At(d, 6)));
        break;
      case kMulRk:
        if (d.size() >= 6)
          for (std::size_t i = 0; 4 + 6 * i + 6 <= d.size() - 2; ++i)
            Number(d, i, U16At(d, 4 + 6 * i), RkValue(U32At(d, 4 + 6 * i + 2)));
        break;
      case kLabelSst:
        if (d.size() >= 10) {
          std::uint32_t index = U32At(d, 6);
          Text(d, U16At(d, 4), index < g_.strings.size() ? g_.strings[index] : std::string());
        }
        break;
      case kLabel:
      case kRString:
        if (d.size() >= 6) {
          std::string text;
          BiffContinuedData data(d.subspan(6));
          ReadText(data, 2, g_, text);
          Text(d, U16At(d, 4), text);
        }
        break;
      case kBoolErr:
        if (d.size() >= 8) Add(d, 0, d[7] ? ErrorText(d[6]) : d[6] ? "TRUE" : "FALSE");
        break;
      case kFormula:
        if (d.size() >= 14) Formula(records, d);
        break;
      default:
        break;
    }
  }

 private:
  // The last result of a formula; a text result is in the STRING record that follows.
  void Formula(BiffRecordReader& records, ByteSpan d) {
    std::uint16_t xf = U16At(d, 4);
    if (U16At(d, 12) != 0xFFFF) {
      Number(d, 0, xf, DoubleAt(d, 6));
      return;
    }
    switch (d[6]) {
      case 0: {  // text
        std::string text;
        // A record cut short ends the walk: it cannot be stepped over.
        while ((records.PeekType() == kShrFmla || records.PeekType() == kArray || records.PeekType() == kTable) &&
               records.Next()) {
        }
        if (records.PeekType() == kString && records.Next()) {
          BiffContinuedData data(records.WithContinues());
          ReadText(data, 2, g_, text);
        }
        Text(d, xf, text);
        break;
      }
      case 1: Add(d, 0, d[8] ? "TRUE" : "FALSE"); break;
      case 2: Add(d, 0, ErrorText(d[8])); break;
      default: Add(d, 0, {}); break;  // empty text
    }
  }

  const Globals& g_;
  LoadedSheet& out_;
  ColumnWidths widths_;
};

}  // namespace

ReadResult ReadBiffSheet(ByteSpan stream, int sheetNumber, LoadedSheet& out) {
  Globals globals;
  if (ReadResult r = ReadGlobals(stream, globals); r != ReadResult::ok) return r;
  if (sheetNumber < 1 || static_cast<std::size_t>(sheetNumber) > globals.sheets.size()) return ReadResult::noSheet;
  BiffRecordReader records(stream, globals.sheets[static_cast<std::size_t>(sheetNumber - 1)]);
  if (!records.Next() || !IsBof(records, globals.version, kWorksheet)) return ReadResult::cannotRead;
  SheetCells cells(globals, out);
  // Charts drawn on the sheet are substreams of their own, from BOF to EOF.
  int depth = 1;
  while (records.Next()) {
    if (records.Type() == kBof) ++depth;
    else if (records.Type() == kEof && --depth == 0) return ReadResult::ok;
    else if (depth == 1) cells.Record(records);
  }
  return ReadResult::cannotRead;  // a sheet cut short is damaged: its rows are not all there
}

}  // namespace tabrion
