#pragma once
// What the shell knows of an open layout until the document model takes
// over: its path and the title its windows show.
#include <string>

struct ShellDocument {
  std::string path;   // empty for a new layout
  std::string title;  // "Vendrik1", ... or the file name
};

// The templates' document string: "\nVendrik\n\n\n\nVendrik.mrk\nVendrik documet".
inline constexpr const char* kDocString129 = "\nVendrik\n\n\n\nVendrik.mrk\nVendrik documet";
inline constexpr const char* kMainTitle130 = "Vendrik Control SystemV2011";

// Line `index` of a "\n"-separated resource string (empty past the end).
std::string DocStringLine(const std::string& text, int index);
