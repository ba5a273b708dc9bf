// Fuzz target: the XML parts of an .xlsx workbook without the archive around
// them (whose checksums would stop most changed inputs). The input holds, split
// at NUL bytes: the sheet, the shared strings, the styles, the workbook and its
// relationships; parts left out are sound defaults.
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include <QList>

#include "libs/tabrion/XlsxSheetReader.h"

namespace {

const char* kWorkbook =
    R"(<workbook xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"><workbookPr/>)"
    R"(<sheets><sheet name="A" sheetId="1" r:id="rId1"/></sheets></workbook>)";
const char* kRels =
    R"(<Relationships><Relationship Id="rId1" Type="x/worksheet" Target="worksheets/sheet1.xml"/>)"
    R"(<Relationship Id="rId2" Type="x/sharedStrings" Target="sharedStrings.xml"/>)"
    R"(<Relationship Id="rId3" Type="x/styles" Target="styles.xml"/></Relationships>)";

class MapParts : public tabrion::XlsxParts {
 public:
  std::map<std::string, QByteArray> parts;
  bool Has(const std::string& name) const override { return parts.count(name) != 0; }
  std::optional<QByteArray> Read(const std::string& name) const override {
    auto it = parts.find(name);
    if (it == parts.end()) return std::nullopt;
    return it->second;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<QByteArray> pieces;
  QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  for (const QByteArray& piece : input.split('\0')) pieces.push_back(piece);
  const char* names[] = {"xl/worksheets/sheet1.xml", "xl/sharedStrings.xml", "xl/styles.xml", "xl/workbook.xml",
                         "xl/_rels/workbook.xml.rels"};
  MapParts parts;
  parts.parts["xl/workbook.xml"] = kWorkbook;
  parts.parts["xl/_rels/workbook.xml.rels"] = kRels;
  for (std::size_t i = 0; i < pieces.size() && i < 5; ++i) parts.parts[names[i]] = pieces[i];
  tabrion::LoadedSheet out;
  tabrion::ReadXlsxParts(parts, 1, out);
  return 0;
}
