#pragma once
// Reads .mrk lines from the bytes of a project file. A line is cut at its first
// ';' (key lines keep only their number, values never hold a ';'), leading
// spaces are skipped and a trailing CR is dropped, so files with CR LF or LF
// line ends read alike.
//
// Lines are read whole whatever their length. (Reading in pieces of 255
// characters, as the file format once did, split a long text value into
// several lines and shifted every later key/value pair.)
#include <cstddef>
#include <string>
#include <string_view>

class MrkLineReader {
 public:
  // The bytes must outlive the reader.
  explicit MrkLineReader(std::string_view content) : content_(content) {}

  // Reads the next line into out. Returns false with out empty at the end of
  // the text.
  bool ReadMrkLine(std::string& out);
  // Value lines are read by the same rule.
  bool ReadMrkValueLine(std::string& out) { return ReadMrkLine(out); }

  // Reads a key line and, when its key kind has one, its value line (value is
  // left empty for keys without). Returns false when a needed line is missing.
  bool ReadPair(int& key, std::string& value);

  bool AtEnd() const { return pos_ >= content_.size(); }
  // Byte position of the next line; embedded binary data (pictures) is read
  // from here and the reader moved past it with Seek.
  std::size_t Position() const { return pos_; }
  void Seek(std::size_t pos) { pos_ = pos < content_.size() ? pos : content_.size(); }
  std::string_view Content() const { return content_; }

 private:
  std::string_view content_;
  std::size_t pos_ = 0;
};
