#pragma once
// The parts (files) of an .xlsx package by name, as the workbook reader asks
// for them: from the zip archive, or from memory in the fuzz target.
#include <QByteArray>
#include <optional>
#include <string>

namespace tabrion {

class XlsxParts {
 public:
  virtual ~XlsxParts() = default;
  virtual bool Has(const std::string& name) const = 0;
  // The unpacked bytes; nothing when the part is missing, damaged or too large.
  virtual std::optional<QByteArray> Read(const std::string& name) const = 0;
};

}  // namespace tabrion
