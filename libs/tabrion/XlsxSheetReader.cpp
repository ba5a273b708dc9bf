// .xlsx (Office Open XML) worksheets through libzip and QXmlStreamReader.
#include <zip.h>

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QXmlStreamReader>
#include <algorithm>
#include <optional>
#include <vector>

#include "libs/tabrion/XlsxSheetReader.h"

#include "libs/tabrion/ColumnWidths.h"
#include "libs/tabrion/FormatTable.h"
#include "libs/tabrion/LoadedSheet.h"
#include "platform/Cp936.h"
#include "platform/NumberText.h"

namespace tabrion {
namespace {

// Parts larger than this when unpacked are refused (a packed bomb would
// otherwise fill the memory).
constexpr zip_uint64_t kMaxPartSize = 256u * 1024u * 1024u;

struct ZipArchive {
  zip_t* zip = nullptr;
  ~ZipArchive() {
    if (zip) zip_discard(zip);
  }
};

// The unpacked bytes of one part, or nothing when it is missing or too large.
std::optional<QByteArray> ReadZipPart(zip_t* zip, const std::string& name) {
  zip_int64_t index = zip_name_locate(zip, name.c_str(), ZIP_FL_NOCASE);
  if (index < 0) return std::nullopt;
  // The size the archive declares: a part declared too large is refused
  // before anything is unpacked, and a plausible one is given its room at
  // once. The declaration may lie, so the reading below is bounded as well.
  zip_stat_t stat;
  zip_stat_init(&stat);
  QByteArray bytes;
  if (zip_stat_index(zip, static_cast<zip_uint64_t>(index), 0, &stat) == 0 && (stat.valid & ZIP_STAT_SIZE)) {
    if (stat.size > kMaxPartSize) return std::nullopt;
    bytes.reserve(static_cast<qsizetype>(stat.size));
  }
  zip_file_t* file = zip_fopen_index(zip, static_cast<zip_uint64_t>(index), 0);
  if (!file) return std::nullopt;
  char buffer[65536];
  bool ok = true;
  for (;;) {
    zip_int64_t n = zip_fread(file, buffer, sizeof buffer);
    if (n < 0) {
      ok = false;
      break;
    }
    if (n == 0) break;
    if (static_cast<zip_uint64_t>(bytes.size()) + static_cast<zip_uint64_t>(n) > kMaxPartSize) {
      ok = false;
      break;
    }
    // Room grows by doubling: a reserved array would otherwise be copied
    // whole at every read once the declared size is passed.
    const qsizetype needed = bytes.size() + static_cast<qsizetype>(n);
    if (needed > bytes.capacity()) bytes.reserve(std::max(needed, 2 * bytes.capacity()));
    bytes.append(buffer, static_cast<qsizetype>(n));
  }
  zip_fclose(file);
  if (!ok) return std::nullopt;
  return bytes;
}

int HexDigit(QChar c) {
  char16_t u = c.unicode();
  if (u >= u'0' && u <= u'9') return u - u'0';
  if (u >= u'A' && u <= u'F') return u - u'A' + 10;
  if (u >= u'a' && u <= u'f') return u - u'a' + 10;
  return -1;
}

// The workbook's texts write "_xHHHH_" for the UTF-16 unit HHHH, so that
// characters XML cannot carry survive; "_x005F_" is an underscore that keeps a
// text looking like an escape as it was typed.
QString DecodeEscapes(const QString& text) {
  if (!text.contains(u"_x")) return text;
  QString out;
  out.reserve(text.size());
  for (qsizetype i = 0; i < text.size();) {
    if (text[i] == u'_' && i + 7 <= text.size() && text[i + 1] == u'x' && text[i + 6] == u'_') {
      int code = 0;
      for (qsizetype k = i + 2; k < i + 6 && code >= 0; ++k) {
        int digit = HexDigit(text[k]);
        code = digit < 0 ? -1 : code * 16 + digit;
      }
      if (code >= 0) {
        out += QChar(static_cast<char16_t>(code));
        i += 7;
        continue;
      }
    }
    out += text[i++];
  }
  return out;
}

// Text of a string item: its runs' <t> texts, without phonetic hints.
QString ReadStringItem(QXmlStreamReader& xml) {
  const QString end = xml.name().toString();
  QString text;
  int phonetic = 0;
  while (!xml.atEnd()) {
    auto token = xml.readNext();
    if (token == QXmlStreamReader::StartElement) {
      if (xml.name() == u"rPh") ++phonetic;
      else if (xml.name() == u"t" && phonetic == 0)
        text += DecodeEscapes(xml.readElementText(QXmlStreamReader::IncludeChildElements));
    } else if (token == QXmlStreamReader::EndElement) {
      if (xml.name() == u"rPh") --phonetic;
      else if (xml.name() == end) break;
    }
  }
  return text;
}

// UTF-8 texts of the shared string table.
std::vector<std::string> ReadSharedStrings(const QByteArray& bytes) {
  std::vector<std::string> strings;
  QXmlStreamReader xml(bytes);
  while (!xml.atEnd()) {
    if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"si")
      strings.push_back(ReadStringItem(xml).toStdString());
  }
  return strings;
}

int IntAttribute(const QXmlStreamAttributes& a, QLatin1String name, int otherwise) {
  bool ok = false;
  int v = a.value(name).toInt(&ok);
  return ok ? v : otherwise;
}

// Number format codes and the format id of each cell style.
void ReadStyles(const QByteArray& bytes, FormatTable& formats) {
  QXmlStreamReader xml(bytes);
  bool inCellStyles = false;
  while (!xml.atEnd()) {
    auto token = xml.readNext();
    if (token == QXmlStreamReader::EndElement && xml.name() == u"cellXfs") inCellStyles = false;
    if (token != QXmlStreamReader::StartElement) continue;
    auto a = xml.attributes();
    if (xml.name() == u"numFmt") {
      int id = IntAttribute(a, QLatin1String("numFmtId"), -1);
      if (id >= 0) formats.SetFormatCode(id, a.value(QLatin1String("formatCode")).toString().toStdString());
    } else if (xml.name() == u"cellXfs") {
      inCellStyles = true;
    } else if (xml.name() == u"xf" && inCellStyles) {
      formats.AddStyle(IntAttribute(a, QLatin1String("numFmtId"), 0));
      xml.skipCurrentElement();
    }
  }
}

// "worksheets/sheet1.xml" relative to the workbook's folder, or "/xl/..." from the root.
std::string PartName(const QString& target) {
  std::string t = target.toStdString();
  if (!t.empty() && t.front() == '/') return t.substr(1);
  return "xl/" + t;
}

struct WorkbookParts {
  std::vector<std::string> sheets;  // worksheet part names in workbook order
  std::string sharedStrings = "xl/sharedStrings.xml";
  std::string styles = "xl/styles.xml";
  bool date1904 = false;
};

// Relationship types of sheets that are not worksheets: a spreadsheet does not
// count them among its worksheets (the .xls path skips them the same way).
bool IsOtherSheetType(QStringView type) {
  return type.endsWith(u"/chartsheet") || type.endsWith(u"/dialogsheet") || type.endsWith(u"/xlMacrosheet");
}

bool ReadWorkbook(const XlsxParts& zip, WorkbookParts& parts) {
  auto workbook = zip.Read("xl/workbook.xml");
  auto rels = zip.Read("xl/_rels/workbook.xml.rels");
  if (!workbook || !rels) return false;
  struct Target {
    std::string part;
    bool worksheet = true;
  };
  QHash<QString, Target> targets;  // by relationship id
  QXmlStreamReader relXml(*rels);
  while (!relXml.atEnd()) {
    if (relXml.readNext() != QXmlStreamReader::StartElement || relXml.name() != u"Relationship") continue;
    auto a = relXml.attributes();
    QString target = a.value(QLatin1String("Target")).toString();
    QStringView type = a.value(QLatin1String("Type"));
    if (type.endsWith(u"/sharedStrings")) parts.sharedStrings = PartName(target);
    if (type.endsWith(u"/styles")) parts.styles = PartName(target);
    targets.insert(a.value(QLatin1String("Id")).toString(), Target{PartName(target), !IsOtherSheetType(type)});
  }
  QXmlStreamReader xml(*workbook);
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    if (xml.name() == u"workbookPr") {
      auto v = xml.attributes().value(QLatin1String("date1904"));
      parts.date1904 = v == u"1" || v == u"true";
    }
    if (xml.name() != u"sheet") continue;
    QString id;
    for (const auto& a : xml.attributes())
      if (a.name() == u"id") id = a.value().toString();  // r:id
    auto it = targets.constFind(id);
    if (it == targets.constEnd()) parts.sheets.emplace_back();  // no part: cannot be read
    else if (it->worksheet) parts.sheets.push_back(it->part);
  }
  return !relXml.hasError() && !xml.hasError();
}

// "B7" into row 7, column 2; false for anything else.
bool ParseCellReference(QStringView ref, long& row, int& column) {
  qsizetype i = 0;
  long c = 0;
  while (i < ref.size() && ref[i] >= u'A' && ref[i] <= u'Z' && i < 3) c = c * 26 + (ref[i++].unicode() - 'A' + 1);
  if (c == 0 || c > kMaxColumn) return false;
  long r = 0;
  if (i == ref.size()) return false;
  for (; i < ref.size(); ++i) {
    if (ref[i] < u'0' || ref[i] > u'9') return false;
    r = r * 10 + (ref[i].unicode() - '0');
    if (r > kMaxRow) return false;
  }
  if (r < 1) return false;
  row = r;
  column = static_cast<int>(c);
  return true;
}

std::string BooleanText(const QString& v) { return v.trimmed() == u"1" ? "TRUE" : "FALSE"; }

// Reads one <c> element (the reader stands on its start) into its displayed text, UTF-8.
std::string ReadCell(QXmlStreamReader& xml, const QString& type, int style, int textPixels,
                     const std::vector<std::string>& shared, const FormatTable& formats) {
  QString value;
  QString inlineText;
  bool haveInline = false;
  while (!xml.atEnd()) {
    auto token = xml.readNext();
    if (token == QXmlStreamReader::StartElement) {
      if (xml.name() == u"v") value = xml.readElementText(QXmlStreamReader::IncludeChildElements);
      else if (xml.name() == u"is") {
        inlineText = ReadStringItem(xml);
        haveInline = true;
      } else xml.skipCurrentElement();
    } else if (token == QXmlStreamReader::EndElement && xml.name() == u"c") {
      break;
    }
  }
  if (type == u"s") {
    bool ok = false;
    qulonglong index = value.trimmed().toULongLong(&ok);
    return ok && index < shared.size() ? formats.TextText(style, shared[index]) : std::string();
  }
  if (type == u"inlineStr") return haveInline ? formats.TextText(style, inlineText.toStdString()) : std::string();
  if (type == u"str") return formats.TextText(style, DecodeEscapes(value).toStdString());
  if (type == u"b") return value.isEmpty() ? std::string() : BooleanText(value);
  if (type == u"e" || type == u"d") return value.toStdString();
  if (value.trimmed().isEmpty()) return {};
  bool ok = false;
  double number = platform::ParseDoubleC(value.trimmed().toStdString(), &ok);
  return ok ? formats.NumberText(style, number, textPixels) : value.toStdString();
}

bool ReadSheetCells(const QByteArray& bytes, const std::vector<std::string>& shared, const FormatTable& formats,
                    LoadedSheet& out) {
  QXmlStreamReader xml(bytes);
  long row = 0;     // current row; rows and cells without a reference follow the previous one
  int column = 0;
  ColumnWidths widths;  // the sheet gives them before its cells
  bool inColumns = false;
  while (!xml.atEnd()) {
    auto token = xml.readNext();
    if (token == QXmlStreamReader::EndElement && xml.name() == u"cols") inColumns = false;
    if (token != QXmlStreamReader::StartElement) continue;
    if (xml.name() == u"sheetFormatPr") {
      auto a = xml.attributes();
      bool ok = false;
      double base = a.value(QLatin1String("baseColWidth")).toDouble(&ok);
      if (ok) widths.SetBaseWidth(base);
      double stored = a.value(QLatin1String("defaultColWidth")).toDouble(&ok);
      if (ok) widths.SetDefaultWidth(stored);
    } else if (xml.name() == u"cols") {
      inColumns = true;
    } else if (xml.name() == u"col" && inColumns) {
      auto a = xml.attributes();
      bool ok = false;
      double stored = a.value(QLatin1String("width")).toDouble(&ok);
      long first = a.value(QLatin1String("min")).toLong();
      long last = a.value(QLatin1String("max")).toLong();
      if (ok) widths.SetWidth(first, last, stored);
    } else if (xml.name() == u"row") {
      bool ok = false;
      long r = xml.attributes().value(QLatin1String("r")).toLong(&ok);
      row = ok && r >= 1 && r <= kMaxRow ? r : row + 1;
      column = 0;
    } else if (xml.name() == u"c") {
      auto a = xml.attributes();
      QString type = a.value(QLatin1String("t")).toString();
      long r = 0;
      int c = 0;
      QStringView ref = a.value(QLatin1String("r"));
      if (ParseCellReference(ref, r, c)) {
        row = r;
        column = c;
      } else if (ref.isEmpty()) {
        ++column;
        if (row < 1) row = 1;
      } else {
        xml.skipCurrentElement();  // a reference outside any sheet names no cell
        continue;
      }
      int style = IntAttribute(a, QLatin1String("s"), 0);
      std::string text = ReadCell(xml, type, style, widths.TextPixels(column), shared, formats);
      out.AddCell(row, column, platform::Utf8ToCp936(text));
    }
  }
  return !xml.hasError();
}

class ZipParts : public XlsxParts {
 public:
  explicit ZipParts(zip_t* zip) : zip_(zip) {}
  bool Has(const std::string& name) const override { return zip_name_locate(zip_, name.c_str(), ZIP_FL_NOCASE) >= 0; }
  std::optional<QByteArray> Read(const std::string& name) const override { return ReadZipPart(zip_, name); }

 private:
  zip_t* zip_;
};

}  // namespace

ReadResult ReadXlsxParts(const XlsxParts& zip, int sheetNumber, LoadedSheet& out) {
  WorkbookParts parts;
  if (!ReadWorkbook(zip, parts)) return ReadResult::cannotRead;
  if (sheetNumber < 1 || static_cast<std::size_t>(sheetNumber) > parts.sheets.size()) return ReadResult::noSheet;
  const std::string& sheetPart = parts.sheets[static_cast<std::size_t>(sheetNumber - 1)];
  auto sheet = sheetPart.empty() ? std::nullopt : zip.Read(sheetPart);
  if (!sheet) return ReadResult::cannotRead;
  std::vector<std::string> shared;
  if (zip.Has(parts.sharedStrings)) {
    auto strings = zip.Read(parts.sharedStrings);
    if (!strings) return ReadResult::cannotRead;
    shared = ReadSharedStrings(*strings);
  }
  FormatTable formats;
  formats.SetDate1904(parts.date1904);
  if (zip.Has(parts.styles)) {
    auto styles = zip.Read(parts.styles);
    if (!styles) return ReadResult::cannotRead;
    ReadStyles(*styles, formats);
  }
  return ReadSheetCells(*sheet, shared, formats, out) ? ReadResult::ok : ReadResult::cannotRead;
}

ReadResult ReadXlsxSheet(const std::string& path, int sheetNumber, LoadedSheet& out) {
  ZipArchive archive;
  int error = 0;
  archive.zip = zip_open(path.c_str(), ZIP_RDONLY, &error);
  if (!archive.zip) return ReadResult::cannotRead;
  return ReadXlsxParts(ZipParts(archive.zip), sheetNumber, out);
}

ReadResult ReadXlsxBytes(const void* data, std::size_t size, int sheetNumber, LoadedSheet& out) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* source = zip_source_buffer_create(data, size, 0, &error);
  zip_error_fini(&error);
  if (!source) return ReadResult::cannotRead;
  ZipArchive archive;
  archive.zip = zip_open_from_source(source, ZIP_RDONLY, nullptr);
  if (!archive.zip) {
    zip_source_free(source);
    return ReadResult::cannotRead;
  }
  return ReadXlsxParts(ZipParts(archive.zip), sheetNumber, out);
}

}  // namespace tabrion
